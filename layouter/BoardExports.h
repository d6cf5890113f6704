// The workshop files of a cutting plan of the real boards: a drawing of each sheet (SVG), the outlines
// for a CNC router (DXF R12) and the cut list for a spreadsheet (CSV). Each is returned as text; the
// caller writes the file.
#pragma once

#include "boards/Boards.h"
#include "layouter/BestFit.h"

#include <string>
#include <vector>

namespace kelvra
{

// A board's hole where it lies on the sheet (cm from the sheet's top left corner).
struct SheetHole {
    std::string kind;
    SheetPoint center;
    double diameter = 0;
    std::vector<SheetPoint> outline; // a slot's corners
};
std::vector<SheetHole> holesOnSheet(const BoxBoards& boards, const BoardPlacement& placement);

// One sheet to scale in mm (a viewBox of the sheet's size in mm): the sheet, every board outline as it
// is cut, its name and l x b in cm, and the numbered cuts in the middle of their kerfs. `sheet` counts
// from 0.
std::string sheetSvg(const CutPlan& plan, const BoxBoards& boards, int sheet, char decimalSeparator,
                     Measure measure = Measure::Metric);

// Every sheet in one drawing, in mm, each sheet 100 mm to the right of the one before: the sheet edges
// on layer "SHEETS", each board's outline as a closed polyline on "OUTLINES", its name and size as text
// on "LABELS", its holes on "HOLES" (circles, and the slots' openings as closed polylines). y runs up
// from each sheet's lower edge, as CAD programs draw.
std::string planDxf(const CutPlan& plan, const BoxBoards& boards, Measure measure = Measure::Metric);
inline constexpr double kDxfSheetGapMm = 100;

// Two tables: one row per board piece (name, key, count, length, breadth, thickness, bevels, sheet,
// position, turned, nested with), a blank line, then one row per cut in the order of sawing. Numbers
// in the user's format; fields part by ';' where the decimal separator is ',', else by ','.
std::string cutListCsv(const CutPlan& plan, const BoxBoards& boards, char decimalSeparator,
                       Measure measure = Measure::Metric);

// The file of sheet `sheet` (from 0) of an SVG export: the path itself for the first sheet, "-2", "-3"
// ... before the extension for the others ("plan.svg", "plan-2.svg").
std::string sheetFileName(const std::string& path, int sheet);

} // namespace kelvra
