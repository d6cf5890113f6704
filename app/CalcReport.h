// One run of the calculator for the command-line tool, and its reports.
#pragma once

#include "app/Json.h"
#include "calc/Recalculate.h"
#include "layouter/AutoFit.h"
#include "layouter/BestFit.h"
#include "layouter/BoardPlan.h"

#include <string>

namespace kelvra
{

struct CalcRun {
    ModelInputs inputs;
    char decimalSeparator = ',';
    bool simulationOn = true;
    Measure measure = Measure::Metric; // of the text outputs
    CalcState state;
    RecalcOutcome outcome;
};

// Starts as the window does (port items shown or hidden by the port count and type), switches
// simulation mode on and recalculates once.
CalcRun runDesign(const ModelInputs& inputs, char decimalSeparator, const TextTables& tables,
                  Measure measure = Measure::Metric);

json::Object jsonReport(const CalcRun& run);
std::string humanReport(const CalcRun& run);
// A message text on one line: its line breaks become blanks.
std::string oneLine(std::string text);

// Best fit of the real boards of this design, with the given saw thickness (mm).
BoardPlanResult bestFitOf(const CalcRun& run, int sawThick,
                          std::span<const BestFitSheet> sheets = kStandardSheets);
// The "bestFit" member: the plan in cm from each sheet's top-left corner, or {"error": text}. A board
// needed twice is placed as "key" and "key-2".
std::string bestFitJson(const BoardPlanResult& result);
std::string humanBestFit(const BoardPlanResult& result, char decimalSeparator,
                         Measure measure = Measure::Metric);
// "units" and "display": the outer and net volume and the boards' sizes as the text outputs show them.
void addDisplayJson(json::Object& report, const CalcRun& run, const BoardsResult& built);

} // namespace kelvra
