#include "layouter/Sheets.h"

#include "layouter/BestFit.h"

#include <cctype>

namespace kelvra
{

namespace
{

std::string lowered(std::string_view text)
{
    std::string out;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool usable(SheetCm s)
{
    return s.length > 0 && s.breadth > 0 && s.length <= kMaxSheetCm && s.breadth <= kMaxSheetCm;
}

} // namespace

std::optional<SheetCm> sheetCmOf(int index, SheetCm custom)
{
    switch (index) {
    case 0:
        return SheetCm{61, 122};
    case 1:
        return SheetCm{244, 122};
    case 2:
        return SheetCm{305, 122};
    case kSheet4x8ft:
        return SheetCm{cmOfInches(96), cmOfInches(48)};
    case kSheet5x5ft:
        return SheetCm{cmOfInches(60), cmOfInches(60)};
    case kCustomSheet:
        return custom;
    default:
        return std::nullopt;
    }
}

std::optional<SheetCm> readSheetText(std::string_view text, Measure measure, char decimalSeparator)
{
    const std::string compact = lowered(text);
    if (compact == "4x8ft")
        return sheetCmOf(kSheet4x8ft, {});
    if (compact == "5x5ft")
        return sheetCmOf(kSheet5x5ft, {});
    const auto x = text.find_first_of("xX");
    if (x == std::string_view::npos || text.find_first_of("xX", x + 1) != std::string_view::npos)
        return std::nullopt;
    SheetCm sheet;
    for (auto [part, side] :
         {std::pair{text.substr(0, x), &sheet.length}, {text.substr(x + 1), &sheet.breadth}}) {
        const Result<std::string> cm = modelTextOfTyped(Quantity::Length, part, measure, decimalSeparator);
        const Result<double> v = cm ? toDouble(*cm, decimalSeparator) : Result<double>(cm.error());
        if (!v)
            return std::nullopt;
        *side = *v;
    }
    return usable(sheet) ? std::optional(sheet) : std::nullopt;
}

std::string sheetText(SheetCm sheet, Measure measure, char decimalSeparator)
{
    if (measure == Measure::Imperial)
        return inchFraction(inchesOfCm(sheet.length)) + "x" + inchFraction(inchesOfCm(sheet.breadth));
    return formatDouble(roundHalfEven(sheet.length, 4), decimalSeparator) + "x" +
           formatDouble(roundHalfEven(sheet.breadth, 4), decimalSeparator);
}

SheetCm customSheetSetting(std::string_view length, std::string_view breadth, char decimalSeparator)
{
    const Result<double> l = toDouble(length, decimalSeparator);
    const Result<double> b = toDouble(breadth, decimalSeparator);
    const SheetCm sheet{l ? *l : 0, b ? *b : 0};
    return usable(sheet) ? sheet : kDefaultCustomSheet;
}

std::string customSheetSideText(double cm, char decimalSeparator)
{
    return formatDouble(roundHalfEven(cm, 4), decimalSeparator);
}

std::vector<BestFitSheet> bestFitSheets(int index, SheetCm custom)
{
    const std::optional<SheetCm> chosen = index > 2 ? sheetCmOf(index, custom) : std::nullopt;
    if (!chosen)
        return {kStandardSheets.begin(), kStandardSheets.end()};
    return {BestFitSheet{chosen->length, chosen->breadth}};
}

double kerfMm(int sawThick)
{
    for (const SawKerf& k : kSawKerfs)
        if (k.sawThick == sawThick)
            return k.mm;
    return 0;
}

} // namespace kelvra
