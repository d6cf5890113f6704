// One run of the calculator for the command-line tool, and its reports.
#pragma once

#include "Json.h"
#include "Recalculate.h"

#include <string>

namespace kelvra {

struct CalcRun {
    ModelInputs inputs;
    char decimalSeparator = ',';
    bool simulationOn = true;
    CalcState state;
    RecalcOutcome outcome;
};

// Starts as the window does (port items shown or hidden by the port count and type), switches
// simulation mode on and recalculates once.
CalcRun runDesign(const ModelInputs& inputs, char decimalSeparator, const TextTables& tables);

json::Object jsonReport(const CalcRun& run);
std::string humanReport(const CalcRun& run);

} // namespace kelvra
