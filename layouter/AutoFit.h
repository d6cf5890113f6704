// The sheet the boards lie on, the saw, the hand rules of "Auto fit", the cut lines they draw and
// "Check lines". Everything in pixels at pxPerCm, single precision like the panel rectangles.
#pragma once

#include "layouter/PanelSet.h"
#include "layouter/Sheets.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace kelvra
{

// Sheet height and width in pixels; 0 by 0 until a sheet size is first chosen.
struct SheetSize {
    std::int16_t height = 0;
    std::int16_t width = 0;

    bool operator==(const SheetSize&) const = default;
};

inline constexpr int kSheetSizeCount = 6;
inline constexpr std::array<std::string_view, kSheetSizeCount> kSheetSizeCaptions = {
    "122x61", "122x244", "122x305", "4x8ft", "5x5ft", "Custom..."};
inline constexpr int kDefaultSheetSize = 1;
// The saw thickness numbers of the "Thickness" submenu: 2..4 mm, then 1/8" and 3/32" (kSawKerfs).
inline constexpr int kFirstSawThick = 2;
inline constexpr int kLastSawThick = 6;
inline constexpr int kDefaultSawThick = 2;

bool isSheetSizeIndex(int index);
bool isSawThick(int sawThick);
// The sheet of a menu index; 0 by 0 for an index that names no item.
SheetSize sheetSizeOf(int index, SheetCm custom = kDefaultCustomSheet);
// One saw cut in pixels: the kerf's number of mm times pxPerCm, to a whole pixel below.
std::int16_t kerfPixels(std::int16_t sawThick);

// A segment drawn on the sheet.
struct Segment {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;

    bool operator==(const Segment&) const = default;
};

// One line of the sheet's persistent drawing, which stays until the next "Auto fit" clears it.
struct Stroke {
    Segment line;
    float width = 1;
    bool dashed = false;
    Rgb colour;

    bool operator==(const Stroke&) const = default;
};

inline constexpr Rgb kSheetColour = {255, 224, 192};
inline constexpr Rgb kCutLineColour = {0, 0, 0};
inline constexpr Rgb kMiddleLineColour = {255, 0, 0};

// The layouter's window-level state, as long as its window lives.
struct LayoutView {
    PanelSet panels;
    ExtraPanels extras; // partition walls and the port's strip, after the seven
    SheetSize sheet;
    int sheetIndex = kDefaultSheetSize;        // the checked sheet-size item
    SheetCm customSheet = kDefaultCustomSheet; // the size of the custom item
    std::int16_t sawThick = kDefaultSawThick;  // the checked "Thickness" item
    bool linesOn = false;                      // "Lines"
    bool middleLineOn = true;                  // "&Middle line"
    std::vector<Stroke> drawing;               // cut lines and middle line, in drawing order
};

// A panel's width and height on the sheet.
struct PanelExtent {
    float width = 0;
    float height = 0;

    bool operator==(const PanelExtent&) const = default;
};

// The six panels that the hand rules place, front to right.
inline constexpr int kAutoFitPanelCount = 6;
using AutoFitExtents = std::array<PanelExtent, kAutoFitPanelCount>;

// What the hand rules of "Auto fit" read: the six panels as they lie, and as they lie once the top
// or the bottom has been turned and every panel sized again (the rules turn at most one of the two),
// the sheet's height and one kerf.
struct AutoFitInput {
    AutoFitExtents panels;
    AutoFitExtents afterTopTurn;
    AutoFitExtents afterBottomTurn;
    float sheetHeight = 0;
    float kerf = 0;
};

struct PanelPlacement {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;

    bool operator==(const PanelPlacement&) const = default;
};

// Where the hand rules put the six panels and with which size, whether they turned the top or the
// bottom, and every cut line beside the placed panels in drawing order (whether "Lines" is on or not).
struct AutoFitPlacements {
    std::array<PanelPlacement, kAutoFitPanelCount> panels;
    bool topTurned = false;
    bool bottomTurned = false;
    std::vector<Segment> cutLines;
};

// The hand rules: front in the top-left corner, then rear, top, bottom, left and right, each beside
// or below one placed before, one kerf apart, turning the top or the bottom when it does not fit.
AutoFitPlacements AutoFit(const AutoFitInput& input);

// Places front, rear, top, bottom, left and right by the hand rules, turning the top or bottom
// when it does not fit; draws the cut lines when "Lines" is on and the middle line when it is
// checked; shows or hides the port panel, which it never moves.
void AutoFit(LayoutView& view, const PanelModel& model, char decimalSeparator);

// The boards beyond the seven, in a column of their own right of the six placed boards, one kerf
// apart top to bottom, a new column where the sheet ends.
void PlaceExtraPanels(ExtraPanels& extras, const PanelSet& panels, float sheetHeight, float kerf);

// Only the cut lines of the view's drawing (black solid strokes), in drawing order.
std::vector<Segment> cutLinesOf(const LayoutView& view);

// The dashed red line down the middle of the sheet.
void DrawMiddleLine(LayoutView& view);
// "&Middle line": unchecking leaves a drawn line in place; checking draws it.
void ToggleMiddleLine(LayoutView& view);

// "Check lines": pulls panels within one kerf of the left or top edge, or past it, against that
// edge, and panels running past the lower edge up onto it. The right edge is not checked.
void CheckLines(PanelSet& panels, std::int16_t sawThick, float sheetHeight);
void CheckLines(LayoutView& view);

// Choosing a sheet size or a saw thickness; both lay the boards out again. False, and nothing
// changed, for an index that names no menu item.
bool ChooseSheetSize(LayoutView& view, int index, const PanelModel& model, char decimalSeparator);
bool ChooseSawThick(LayoutView& view, int sawThick, const PanelModel& model, char decimalSeparator);

// The settings file's "Thick" and "Size" texts as menu indexes; a text that is no number or names
// no item gives the default, so the window always opens on items that exist.
int sawThickSetting(std::string_view text, char decimalSeparator);
int sheetSizeSetting(std::string_view text, char decimalSeparator);

} // namespace kelvra
