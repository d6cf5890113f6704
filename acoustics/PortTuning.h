// The port length that tunes the box it leaves behind. The port's air and boards take room from the
// volume that sets the tuning, so the length and the volume are solved together, through the exact
// net volume of the real boards.
#pragma once

#include "acoustics/Acoustics.h"
#include "calc/Model.h"

namespace kelvra
{

// The port length lp in cm (from the carrying panel's outer face to the port's inner end) with which
// the boards of the design, built with that length, tune to `targetFb` within 0.001 Hz. When the
// length needed is more than the box can hold, the length for the box as it stood at the last length
// it held (too long, which building the boards with it reports). Errors name "targetfb" (no length at
// all) or the port key that does not read.
Checked<double> designPortLengthFor(const ModelInputs& inputs, char decimalSeparator,
                                    EndCorrection endCorrection, double targetFb);

// The tuning of the design's boards with the port length `lengthCm`; error when they cannot be built.
Checked<double> designTuningWith(const ModelInputs& inputs, char decimalSeparator,
                                 EndCorrection endCorrection, double lengthCm);

} // namespace kelvra
