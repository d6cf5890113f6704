// The cut plan in words, for the "Cut plan" window, its printout and kelvra-calc.
#pragma once

#include "layouter/BestFit.h"
#include "units/Units.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

struct CutPlanText {
    std::vector<std::string> summary; // sheet, kerf, length of cut, waste, largest left-over
    std::vector<std::string> cuts;    // one line per cut, in the order of sawing
    std::vector<std::string> boards;  // where each board lies
    std::vector<std::string> offcuts; // the left-over rectangles, largest first
};

// A length in cm with at most two decimals, in the user's number format ("36,4", "122").
std::string cutPlanNumber(double cm, char decimalSeparator);
// The sheet as the sheet-size menu names it: height "x" width ("122x244"; in inches 48x96").
std::string sheetCaption(const BestFitSheet& sheet, char decimalSeparator, Measure measure = Measure::Metric);

// `names` are the boards' names in the order of the plan's boards; a missing or empty name is
// replaced by the board's key. Lengths in cm, or in inches to 1/16".
CutPlanText describeCutPlan(const CutPlan& plan, const std::vector<std::string>& names, char decimalSeparator,
                            Measure measure = Measure::Metric);

// The plan as an SVG drawing to scale, 3 pixels per cm as the layouter shows a sheet: the sheets one
// below the other, each board in its layouter colour with its key, every cut line in the middle of
// its kerf with its number.
std::string cutPlanSvg(const CutPlan& plan);

// Text made safe for an XML element or attribute value.
std::string xmlEscaped(std::string_view text);

} // namespace kelvra
