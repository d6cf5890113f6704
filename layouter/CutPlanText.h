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

// The words of the plan; %1, %2 ... stand for the figures. A window passes its language's words, the
// defaults are the English of kelvra-calc and the workshop files.
struct CutPlanWords {
    std::string cm = "%1 cm";
    std::string mm = "%1 mm";
    std::string size = "%1 x %2"; // width x height; in cm the unit follows once
    std::string sheet = "Sheet: %1, %2";
    std::string oneSheet = "%1 sheet";
    std::string sheets = "%1 sheets";
    std::string kerf = "Saw kerf: %1";
    std::string cutCount = "Cuts: %1, total length %2";
    std::string waste = "Waste: %1 % of the sheets";
    std::string largest = "Largest left-over: %1";
    std::string noLeftover = "Largest left-over: none";
    std::string cutHead = "%1. Sheet %2, piece %3";
    std::string straightDown = "cut %1 from the left edge, top to bottom, %2 long";
    std::string straightAcross = "cut %1 from the top edge, left to right, %2 long";
    std::string givesPiece = "gives piece %1, the rest goes in the kerf";
    std::string givesPieces = "gives pieces %1 and %2";
    std::string slanted =
        "slanted cut at %1\u00b0 to the %2 edges (%3\u00b0 off square), from %4 right and %5 down to "
        "%6 right and %7 down of the piece's top-left corner, %8 long";
    std::string topAndBottom = "top and bottom";
    std::string leftAndRight = "left and right";
    std::string parts = "parts %1 from %2";
    std::string trims = "trims %1 to its shape, the rest is waste";
    std::string boardPlace = "%1 (%2): sheet %3, %4";
    std::string where = "%1 from the left, %2 from the top";
    std::string turned = "turned";
    std::string nested = "nested head to tail with %1";
    std::string offcutPlace = "Piece %1 (%2): sheet %3, %4";
    std::string bevel = "%1. Bevel: %2, edge %3 (%4): %5";
    std::string bladeTilt = "blade tilted %1";
    std::string bladeTiltOnEdge = "blade tilted %1 with the board on its edge (%2 from square)";
    std::string outerLong = "the outer face long";
    std::string innerLong = "the inner face long";
};

// A length in cm with at most two decimals, in the user's number format ("36,4", "122").
std::string cutPlanNumber(double cm, char decimalSeparator);
// The sheet as the sheet-size menu names it: height "x" width ("122x244"; in inches 48x96").
std::string sheetCaption(const BestFitSheet& sheet, char decimalSeparator, Measure measure = Measure::Metric);

// `names` are the boards' names in the order of the plan's boards; a missing or empty name is
// replaced by the board's key. Lengths in cm, or in inches to 1/16".
CutPlanText describeCutPlan(const CutPlan& plan, const std::vector<std::string>& names, char decimalSeparator,
                            Measure measure = Measure::Metric, const CutPlanWords& words = {});

// The plan as an SVG drawing to scale, 3 pixels per cm as the layouter shows a sheet: the sheets one
// below the other, each board in its layouter colour with its key, every cut line in the middle of
// its kerf with its number.
std::string cutPlanSvg(const CutPlan& plan);

// Text made safe for an XML element or attribute value.
std::string xmlEscaped(std::string_view text);

} // namespace kelvra
