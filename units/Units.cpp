#include "units/Units.h"

#include <cctype>
#include <cmath>
#include <numeric>
#include <utility>

namespace kelvra
{

namespace
{

CalcError refused(std::string_view text, const std::string& why)
{
    return {kErrTypeMismatch, "\"" + std::string(text) + "\" " + why};
}

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front())))
        s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back())))
        s.remove_suffix(1);
    return s;
}

bool allDigits(std::string_view s)
{
    if (s.empty() || s.size() > 9)
        return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return false;
    return true;
}

long digitsValue(std::string_view s)
{
    long v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    return v;
}

// Drops a trailing inch mark: 12" or 12 in.
std::string_view withoutInchMark(std::string_view s)
{
    s = trimmed(s);
    if (!s.empty() && s.back() == '"')
        s.remove_suffix(1);
    else if (s.size() >= 2 && std::tolower(static_cast<unsigned char>(s[s.size() - 2])) == 'i' &&
             std::tolower(static_cast<unsigned char>(s.back())) == 'n')
        s.remove_suffix(2);
    return trimmed(s);
}

} // namespace

Measure measureOfSetting(std::string_view text)
{
    return trimmed(text) == "1" ? Measure::Imperial : Measure::Metric;
}

std::string measureSetting(Measure measure)
{
    return measure == Measure::Imperial ? "1" : "0";
}

Result<double> readInches(std::string_view typed, char decimalSeparator)
{
    std::string_view s = withoutInchMark(typed);
    if (s.empty())
        return refused(typed, "is no length: type inches, for example 12 1/2 or 12.5");
    const auto slash = s.find('/');
    if (slash == std::string_view::npos) {
        const Result<double> d = toDouble(s, decimalSeparator);
        if (!d)
            return refused(typed, "is no length: type inches, for example 12 1/2 or 12.5");
        return d;
    }
    if (s.find('/', slash + 1) != std::string_view::npos)
        return refused(typed, "has more than one fraction bar: type for example 12 1/2");
    const bool negative = s.front() == '-';
    if (negative)
        s.remove_prefix(1);
    // The whole inches end at the last blank or dash before the fraction.
    const auto gap = s.substr(0, slash - (negative ? 1 : 0)).find_last_of(" -");
    const std::string_view whole =
        gap == std::string_view::npos ? std::string_view{} : trimmed(s.substr(0, gap));
    const std::string_view fraction = gap == std::string_view::npos ? s : trimmed(s.substr(gap + 1));
    const auto bar = fraction.find('/');
    const std::string_view num = trimmed(fraction.substr(0, bar));
    const std::string_view den = trimmed(fraction.substr(bar + 1));
    if (!allDigits(num) || !allDigits(den))
        return refused(typed, "is no fraction: above and below the bar go whole numbers, as in 1/2");
    if (gap != std::string_view::npos && !allDigits(whole))
        return refused(typed, "is no length: whole inches go before the fraction, as in 12 1/2");
    const long d = digitsValue(den);
    if (d == 0)
        return refused(typed, "divides by zero: the number below the bar must not be 0");
    const long n = digitsValue(num);
    if (!whole.empty() && n >= d)
        return refused(typed, "has a fraction of an inch or more: write 13 1/2, not 12 3/2");
    const double inches = (whole.empty() ? 0.0 : static_cast<double>(digitsValue(whole))) +
                          static_cast<double>(n) / static_cast<double>(d);
    return negative ? -inches : inches;
}

std::string inchFraction(double inches)
{
    const double sixteenths = roundHalfEven(inches * kInchFraction, 0);
    if (!std::isfinite(sixteenths) || std::fabs(sixteenths) > 1e15)
        return "?";
    const long long n = static_cast<long long>(std::fabs(sixteenths));
    const long long whole = n / kInchFraction;
    long long num = n % kInchFraction;
    long long den = kInchFraction;
    const long long g = std::gcd(num, den);
    std::string text = n != 0 && sixteenths < 0 ? "-" : "";
    if (num == 0)
        return text + std::to_string(whole);
    num /= g;
    den /= g;
    if (whole != 0)
        text += std::to_string(whole) + " ";
    return text + std::to_string(num) + "/" + std::to_string(den);
}

std::string inchText(double inches)
{
    return inchFraction(inches) + "\"";
}

std::string inchDecimal(double inches, char decimalSeparator)
{
    return formatDouble(roundHalfEven(inches, 3), decimalSeparator);
}

std::int16_t thicknessMmOfInches(double inches)
{
    const double mm = roundHalfEven(inches * kCmPerInch * 10, 0);
    if (!(mm > -32768 && mm < 32768))
        return 0;
    return static_cast<std::int16_t>(mm);
}

Quantity quantityOfKey(std::string_view key)
{
    if (key == "h2" || key == "l3" || key == "b2" || key == "lp" || key == "dp" || key == "bp" || key == "hp")
        return Quantity::Length;
    if (key == "thick0" || key == "thick1" || key == "thick2")
        return Quantity::Thickness;
    if (key == "subvol" || key == "vother")
        return Quantity::Volume;
    return Quantity::Plain;
}

Result<std::string> modelTextOfTyped(Quantity quantity, std::string_view typed, Measure measure,
                                     char decimalSeparator)
{
    if (measure == Measure::Metric || quantity == Quantity::Plain)
        return std::string(typed);
    if (quantity == Quantity::Volume) {
        const Result<double> ft3 = toDouble(trimmed(typed), decimalSeparator);
        if (!ft3)
            return refused(typed, "is no volume: type cubic feet, for example 1.5");
        const Result<Fixed> litres = Fixed::fromDouble(litresOfCubicFeet(*ft3));
        if (!litres)
            return litres.error();
        return formatFixed(*litres, decimalSeparator);
    }
    const Result<double> inches = readInches(typed, decimalSeparator);
    if (!inches)
        return inches.error();
    if (quantity == Quantity::Thickness)
        return std::to_string(thicknessMmOfInches(*inches));
    const Result<Fixed> cm = Fixed::fromDouble(cmOfInches(*inches));
    if (!cm)
        return cm.error();
    return formatFixed(*cm, decimalSeparator);
}

std::string typedTextOfModel(Quantity quantity, std::string_view modelText, Measure measure,
                             char decimalSeparator)
{
    if (measure == Measure::Metric || quantity == Quantity::Plain)
        return std::string(modelText);
    const Result<double> value = toDouble(trimmed(modelText), decimalSeparator);
    if (!value)
        return std::string(modelText);
    switch (quantity) {
    case Quantity::Length:
        return inchFraction(inchesOfCm(*value));
    case Quantity::Thickness:
        return inchFraction(inchesOfCm(*value / 10));
    case Quantity::Volume:
        return formatDouble(roundHalfEven(cubicFeetOfLitres(*value), 3), decimalSeparator);
    case Quantity::Plain:
        break;
    }
    return std::string(modelText);
}

std::string_view lengthUnit(Measure measure)
{
    return measure == Measure::Imperial ? "in" : "cm";
}

std::string_view thicknessUnit(Measure measure)
{
    return measure == Measure::Imperial ? "in" : "mm";
}

std::string_view volumeUnit(Measure measure)
{
    return measure == Measure::Imperial ? "ft³" : "Liter";
}

std::string lengthText(double cm, Measure measure, char decimalSeparator, int decimals)
{
    if (measure == Measure::Imperial)
        return inchText(inchesOfCm(cm));
    return formatDouble(roundHalfEven(cm, decimals), decimalSeparator);
}

std::string lengthWithUnit(double cm, Measure measure, char decimalSeparator, int decimals)
{
    if (measure == Measure::Imperial)
        return inchText(inchesOfCm(cm));
    return lengthText(cm, measure, decimalSeparator, decimals) + " cm";
}

std::string thicknessText(int mm, Measure measure)
{
    if (measure == Measure::Imperial)
        return inchText(inchesOfCm(mm / 10.0));
    return std::to_string(mm) + " mm";
}

std::string volumeText(double litres, Measure measure, char decimalSeparator, bool withLitres)
{
    const std::string l = formatDouble(roundHalfEven(litres, 1), decimalSeparator);
    if (measure == Measure::Metric)
        return l + " Liter";
    std::string text = formatDouble(roundHalfEven(cubicFeetOfLitres(litres), 2), decimalSeparator) + " ft³";
    if (withLitres)
        text += " (" + l + " l)";
    return text;
}

std::string volumeCaption(std::string_view caption, Measure measure, char decimalSeparator)
{
    constexpr std::string_view kLiter = " Liter";
    if (measure == Measure::Metric || !caption.ends_with(kLiter))
        return std::string(caption);
    const std::string_view head = caption.substr(0, caption.size() - kLiter.size());
    const auto start = head.find_last_of(" \n") + 1; // npos + 1 is 0
    const Result<double> litres = toDouble(head.substr(start), decimalSeparator);
    if (!litres)
        return std::string(caption);
    return std::string(head.substr(0, start)) + volumeText(*litres, measure, decimalSeparator);
}

namespace
{

bool isWordChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// The unit at `at` (after at most one blank) and the length it takes, or Plain when there is none.
std::pair<Quantity, std::size_t> unitAt(std::string_view text, std::size_t at)
{
    std::size_t p = at;
    if (p < text.size() && text[p] == ' ')
        ++p;
    static constexpr std::pair<std::string_view, Quantity> kUnits[] = {
        {"litres", Quantity::Volume}, {"litre", Quantity::Volume}, {"Liter", Quantity::Volume},
        {"liter", Quantity::Volume},  {"cm", Quantity::Length},    {"mm", Quantity::Thickness}};
    for (const auto& [name, quantity] : kUnits) {
        if (text.substr(p, name.size()) != name)
            continue;
        const std::size_t end = p + name.size();
        // "cm³" and "cm2" are areas and volumes, "cmx" no unit at all.
        if (end < text.size() && (isWordChar(text[end]) || static_cast<unsigned char>(text[end]) >= 0x80))
            return {Quantity::Plain, 0};
        return {quantity, end - at};
    }
    return {Quantity::Plain, 0};
}

} // namespace

std::string measureText(std::string_view text, Measure measure, char decimalSeparator)
{
    if (measure == Measure::Metric)
        return std::string(text);
    std::string out;
    std::size_t i = 0;
    while (i < text.size()) {
        const bool startsNumber =
            std::isdigit(static_cast<unsigned char>(text[i])) ||
            (text[i] == '-' && i + 1 < text.size() && std::isdigit(static_cast<unsigned char>(text[i + 1])));
        if (!startsNumber || (i > 0 && (isWordChar(text[i - 1]) || text[i - 1] == decimalSeparator))) {
            out += text[i++];
            continue;
        }
        std::size_t end = i + 1;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) ||
                                     (text[end] == decimalSeparator && end + 1 < text.size() &&
                                      std::isdigit(static_cast<unsigned char>(text[end + 1])))))
            ++end;
        auto [quantity, unitLength] = unitAt(text, end);
        // "66,2 x 34,2 cm": the first number of a size takes the unit written after the second; a count
        // before a size ("1 x 66,2 x 34,2 cm") stays a count.
        for (std::size_t next = end, step = 0; quantity == Quantity::Plain && step < 1; ++step) {
            const std::size_t x = text.substr(next, 3) == " x " ? next + 3
                                  : text.substr(next, 1) == "x" ? next + 1
                                                                : 0;
            if (x == 0 || x >= text.size() || !std::isdigit(static_cast<unsigned char>(text[x])))
                break;
            next = x;
            while (next < text.size() &&
                   (std::isdigit(static_cast<unsigned char>(text[next])) || text[next] == decimalSeparator))
                ++next;
            const auto last = unitAt(text, next);
            if (last.first == Quantity::Length || last.first == Quantity::Thickness)
                quantity = last.first;
        }
        if (quantity != unitAt(text, end).first)
            unitLength = 0; // the unit is the last number's
        const Result<double> value = toDouble(text.substr(i, end - i), decimalSeparator);
        if (quantity == Quantity::Plain || !value) {
            out += text.substr(i, end - i);
        } else if (quantity == Quantity::Volume) {
            out += volumeText(*value, measure, decimalSeparator);
        } else {
            out += inchText(inchesOfCm(quantity == Quantity::Thickness ? *value / 10 : *value));
        }
        i = end + unitLength;
    }
    return out;
}

std::string lengthDecimal(double cm, Measure measure, char decimalSeparator)
{
    if (measure == Measure::Imperial)
        return inchDecimal(inchesOfCm(cm), decimalSeparator);
    return formatDouble(roundHalfEven(cm, 1), decimalSeparator);
}

} // namespace kelvra
