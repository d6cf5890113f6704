// Metric and imperial measures: reading lengths typed in the user's system (decimals or fractions of an
// inch), writing them as the builder reads a tape (inches to the nearest 1/16"), board thickness in whole
// mm, volumes in cubic feet with litres. The model itself always keeps cm, mm and litres; everything the
// user types or reads in inches passes through here, so no window converts on its own.
#pragma once

#include "calc/Numeric.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace kelvra
{

// The options dialog's "Metric"/"Imperial" list, by its position (the settings file's "Measure").
enum class Measure { Metric = 0, Imperial = 1 };

inline constexpr double kCmPerInch = 2.54;
inline constexpr double kLitresPerCubicFoot = 28.316846592;
inline constexpr int kInchFraction = 16; // tape measures read sixteenths

// The settings text "0" or "1"; anything else is metric.
Measure measureOfSetting(std::string_view text);
std::string measureSetting(Measure measure);

inline double inchesOfCm(double cm)
{
    return cm / kCmPerInch;
}
inline double cmOfInches(double inches)
{
    return inches * kCmPerInch;
}
inline double cubicFeetOfLitres(double litres)
{
    return litres / kLitresPerCubicFoot;
}
inline double litresOfCubicFeet(double cubicFeet)
{
    return cubicFeet * kLitresPerCubicFoot;
}

// Inches as typed: a decimal ("12.5" with the user's separator), a whole and a fraction ("12 1/2",
// "12-1/2") or a fraction ("1/2", "3/2"), an optional inch mark (" or in) after it. A text that is none
// of these is refused with a message that says why (typeMismatch's number, the message as description).
Result<double> readInches(std::string_view text, char decimalSeparator);

// Inches to the nearest 1/16", reduced, with no inch mark: "12 1/2", "3/4", "0", "-1 1/4".
std::string inchFraction(double inches);
// The same with the inch mark: 12 1/2".
std::string inchText(double inches);
// Inches as a decimal to 1/1000", trailing zeros dropped, for spreadsheets: "12.598".
std::string inchDecimal(double inches, char decimalSeparator);

// A board thickness in inches to the model's whole mm (3/4" is 19 mm), halves to even.
std::int16_t thicknessMmOfInches(double inches);

// What a model value is measured in; the model's own unit is cm, mm or litres.
enum class Quantity { Plain, Length, Thickness, Volume };
// The quantity of a model key ("h2" a length, "thick0" a thickness, "subvol" a volume, "ca" plain).
Quantity quantityOfKey(std::string_view key);

// A value typed in the user's system to the model's text (cm, whole mm or litres, 4 decimals at
// most, the user's separator). Metric and plain values are returned as typed; an imperial text that
// does not read is refused with the reason.
Result<std::string> modelTextOfTyped(Quantity quantity, std::string_view typed, Measure measure,
                                     char decimalSeparator);
// The model's text as the user's system shows it in an input box: inches as a fraction, a thickness as
// a fraction of an inch, a volume in cubic feet to 1/1000 ft³. Metric, plain and unreadable texts are
// returned unchanged.
std::string typedTextOfModel(Quantity quantity, std::string_view modelText, Measure measure,
                             char decimalSeparator);

// Unit names for captions: "cm"/"in", "mm"/"in", "Liter"/"ft³".
std::string_view lengthUnit(Measure measure);
std::string_view thicknessUnit(Measure measure);
std::string_view volumeUnit(Measure measure);

// A length in cm as the user reads it: metric the number with `decimals` at most (halves to even), no
// unit; imperial the fraction with the inch mark.
std::string lengthText(double cm, Measure measure, char decimalSeparator, int decimals = 1);
// The same with the unit for metric too: "45,3 cm" or 17 13/16".
std::string lengthWithUnit(double cm, Measure measure, char decimalSeparator, int decimals = 1);
// A thickness in mm: "18 mm" or 11/16".
std::string thicknessText(int mm, Measure measure);
// A volume in litres: "45,3 Liter"; imperial "1.6 ft³", with `withLitres` "1.6 ft³ (45.3 l)".
std::string volumeText(double litres, Measure measure, char decimalSeparator, bool withLitres = true);
// A result caption that ends in "<litres> Liter" ("Outer Volume: 45,3 Liter") with that volume in the
// chosen system ("Outer Volume: 1,6 ft³ (45,3 l)"); metric captions and any other text stay as they are.
std::string volumeCaption(std::string_view caption, Measure measure, char decimalSeparator);
// A text of the metric windows and cores with every "<number>cm", "<number> mm", "<number> litres" (also
// "cm", "Liter", "liter", "litre") in the chosen system: "H2: 34,2cm" reads H2: 13 7/16". Numbers
// without such a unit, and everything in metric, stay as they are.
std::string measureText(std::string_view text, Measure measure, char decimalSeparator);
// A length to a number in the user's system for spreadsheets and JSON-free texts: cm with 1 decimal or
// inches to 1/1000".
std::string lengthDecimal(double cm, Measure measure, char decimalSeparator);

} // namespace kelvra
