// kelvra-calc's "acoustics": the port tuning, the port lengths for target tunings and, with a woofer,
// its alignment and the curve.
#pragma once

#include "acoustics/Acoustics.h"
#include "app/CalcReport.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvra
{

// The litres the woofer sees, for the acoustics: the exact net volume of the real boards (damping
// correction included); the error names what keeps the boards from being built.
Checked<double> boxVolumeForAcoustics(const CalcRun& run);

// What kelvra-calc was asked about the sound of a design.
struct AcousticsRequest {
    WooferTexts texts;                    // the project file's woofer section with the --set woofer keys
    std::vector<std::string> targetTexts; // after --target-fb, as typed
    bool wanted = false;                  // the "acoustics" object appears
};

struct AcousticsOutcome {
    std::string json;        // the "acoustics" object
    std::string human;       // the lines of the text report
    std::string csv;         // the curve, when there is one
    std::string inputError;  // a woofer value or target that does not read: nothing is shown
    std::string designError; // the design gives no figures (in the object as "error")
};

// Reads the texts with the run's separator and works out the figures for the run's design.
AcousticsOutcome acousticsOf(const CalcRun& run, const AcousticsRequest& request);

} // namespace kelvra
