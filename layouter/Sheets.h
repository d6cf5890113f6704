// The sheets and saw kerfs the layouter and Best fit offer: the three classic metric sheets, the 4 x 8 ft
// and 5 x 5 ft sheets and a sheet of the user's own size; kerfs of 2, 3 and 4 mm, 1/8" and 3/32".
#pragma once

#include "units/Units.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

struct BestFitSheet;

// A sheet in cm: its length across the screen and its breadth down.
struct SheetCm {
    double length = 0;
    double breadth = 0;

    bool operator==(const SheetCm&) const = default;
};

// The sheet-size menu: 0..2 the classic sheets, then these.
inline constexpr int kSheet4x8ft = 3;
inline constexpr int kSheet5x5ft = 4;
inline constexpr int kCustomSheet = 5;
inline constexpr SheetCm kDefaultCustomSheet = {244, 122};
// The largest custom sheet side; the sheet is drawn at 3 pixels per cm in 16-bit pixels.
inline constexpr double kMaxSheetCm = 1000;

// The sheet of a menu index in cm; `custom` for the custom item, nothing for no item.
std::optional<SheetCm> sheetCmOf(int index, SheetCm custom);

// "LxB" in the user's units ("244x122", "96 x 48", "96 1/2 x 48"), also "4x8ft" and "5x5ft"; nothing
// for a text that is no sheet or a side of 0 or below or above kMaxSheetCm.
std::optional<SheetCm> readSheetText(std::string_view text, Measure measure, char decimalSeparator);
// The sheet as "LxB" in the user's units, the way readSheetText reads it back.
std::string sheetText(SheetCm sheet, Measure measure, char decimalSeparator);

// The custom sheet as the settings file keeps it ("CustomLength", "CustomBreadth" of section "Layouter",
// cm in the user's format); texts that are no usable sheet give the default custom sheet.
SheetCm customSheetSetting(std::string_view length, std::string_view breadth, char decimalSeparator);
std::string customSheetSideText(double cm, char decimalSeparator);

// The sheets Best fit may choose from with the sheet-size item `index` checked: the three classic
// sheets for a classic item (the smallest that holds the boards), else only the chosen sheet.
std::vector<BestFitSheet> bestFitSheets(int index, SheetCm custom);

// The "Thickness" items: the number stored as "Thick" and its caption. 2..4 are mm.
struct SawKerf {
    int sawThick;
    std::string_view caption;
    double mm;
};
inline constexpr std::array<SawKerf, 5> kSawKerfs = {
    {{2, "2mm", 2}, {3, "3mm", 3}, {4, "4mm", 4}, {5, "1/8\"", 3.175}, {6, "3/32\"", 2.38125}}};

// The kerf of a saw thickness number in mm; 0 for no item.
double kerfMm(int sawThick);

} // namespace kelvra
