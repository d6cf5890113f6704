// A woofer by its Thiele/Small parameters and the sound options of a design, as texts (the form the
// project file, the woofer library and kelvra-calc keep them in) and as checked numbers.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

namespace kelvra
{

// The end correction of a port, as the user picks it; the stored number is the enum's value.
enum class EndCorrection { BothFree = 0, OneFlanged = 1, BothFlanged = 2 };
inline constexpr EndCorrection kDefaultEndCorrection = EndCorrection::OneFlanged;

// The car the box plays in; the stored number is the enum's value.
enum class CarClass { None = 0, Compact = 1, Midsize = 2, Van = 3 };

// What is wrong, naming the field by its key ("qts", "vas", "vb", ...).
struct AcousticsError {
    std::string field;
    std::string message; // e.g. "qts: must be greater than 0"
    bool operator==(const AcousticsError&) const = default;
};

// A value or the error that stopped it; nothing is thrown.
template <typename T> class Checked
{
public:
    Checked(T value) : m_v(std::move(value)) {}
    Checked(AcousticsError error) : m_v(std::move(error)) {}
    bool ok() const { return std::holds_alternative<T>(m_v); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(m_v); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const AcousticsError& error() const { return std::get<AcousticsError>(m_v); }

private:
    std::variant<T, AcousticsError> m_v;
};

// The section of a project file and of a woofer library file that holds these texts.
inline constexpr std::string_view kWooferSection = "WOOFER";
// The keys of the woofer section, in the order they are written: the woofer's own parameters first
// (also the keys of a library file), then the design's sound options.
// Keys a design does not use are not written, so an older file reads as it always did.
inline constexpr std::array<std::string_view, 24> kWooferKeys = {
    "name",          "fs",      "qts",         "qes",      "qms",        "vas",    "sd",
    "xmax",          "re",      "pe",          "le",       "coils",      "z",      "ql",
    "endcorr",       "car",     "power",       "targetfb", "coilwiring", "wiring", "subsonic",
    "subsonicorder", "lowpass", "lowpassorder"};
inline constexpr std::size_t kThieleSmallKeys = 11;     // "name" .. "le": the woofer's figures
inline constexpr std::size_t kWooferParameterKeys = 13; // "name" .. "z": the woofer as a library keeps it

// The texts as typed, one per key of kWooferKeys; an empty text is a value not given.
struct WooferTexts {
    std::array<std::string, kWooferKeys.size()> text{};

    // The text of a key of kWooferKeys; null for any other key.
    std::string* find(std::string_view key);
    const std::string* find(std::string_view key) const;
    // No Thiele/Small parameter given (the voice coils and the sound options do not count).
    bool noWoofer() const;
    bool empty() const;
    bool operator==(const WooferTexts&) const = default;
};

// The woofer in data-sheet units. Qts, Qes, Qms: any two, or Qts alone (see checkWoofer).
struct Woofer {
    std::string name;
    double fs = 0; // Hz
    std::optional<double> qts, qes, qms;
    double vas = 0;  // litres
    double sd = 0;   // cm2
    double xmax = 0; // mm, one way
    double re = 0;   // ohm
    double pe = 0;   // W, rated power
    double le = 0;   // mH, 0 when not given
    int coils = 1;   // voice coils per woofer, 1 or 2
    double z = 4;    // ohm, nominal impedance of one coil: 1, 2, 4 or 8
};

// The woofer's three Q values after completion: given Qes and Qms, Qts = Qes Qms / (Qes + Qms) (a
// given Qts is then ignored: the data sheet rounds it); given Qts and one of the others, the third
// follows; given Qts alone, Qes = Qts and the suspension is taken as lossless (Qms infinite), which
// puts the sensitivity a little high (Qes is really somewhat above Qts).
struct QualityFactors {
    double qts = 0, qes = 0;
    std::optional<double> qms; // none: lossless suspension
};
// Checks every parameter against its physical range (see kWooferRanges), the Q values for consistency,
// and completes the Q values; the error names the first bad field.
Checked<QualityFactors> checkWoofer(const Woofer& woofer);
// The same without the ranges (every figure > 0, Le >= 0): the models take the equivalent driver of
// several woofers, whose Vas, Sd and Pe may lie beyond one woofer's range.
Checked<QualityFactors> completeQualities(const Woofer& woofer);
// Qts, Qes and Qms all given and Qts more than 2 % from Qes Qms / (Qes + Qms): that figure (the one the
// models use); none otherwise.
std::optional<double> qtsDisagreement(const Woofer& woofer);

// The range a value may take, as a builder would ever meet it; outside it the value is refused.
struct ValueRange {
    std::string_view key;
    double low, high;
    const char* unit; // as the message writes it after the number, "" for none
};
inline constexpr std::array<ValueRange, 14> kWooferRanges{{
    {"fs", 5, 500, " Hz"},
    {"qts", 0.05, 5, ""},
    {"qes", 0.05, 5, ""},
    {"qms", 0.5, 100, ""},
    {"vas", 0.05, 5000, " l"},
    {"sd", 10, 10000, " cm2"},
    {"xmax", 0.5, 100, " mm"},
    {"re", 0.1, 100, " ohm"},
    {"pe", 1, 20000, " W"},
    {"le", 0, 50, " mH"},
    {"ql", 1, 100, ""},
    {"power", 0.001, 100000, " W"},
    {"targetfb", 5, 200, " Hz"},
    {"filter", 5, 500, " Hz"}, // the subsonic and the low-pass filter
}};
const ValueRange& rangeOf(std::string_view key);
// The error "fs: must be from 5 to 500 Hz" when the value is outside the key's range.
std::optional<AcousticsError> outOfRange(std::string_view key, double value);

// How the voice coils and the woofers are wired to the amplifier.
struct Wiring {
    bool coilsInParallel = false; // two coils of one woofer; key "coilwiring": 0 series, 1 parallel
    bool woofersInSeries = false; // the woofers to one another; key "wiring": 0 parallel, 1 series
};

// A filter of the amplifier: a high pass (subsonic) or a low pass, at `frequency` Hz. The order as
// the key "subsonicorder" / "lowpassorder" holds it.
enum class FilterType { Off = 0, Butterworth2 = 2, Butterworth4 = 4, LinkwitzRiley4 = 5 };
inline constexpr FilterType kDefaultFilterType = FilterType::Butterworth4;
struct Filter {
    FilterType type = FilterType::Off;
    double frequency = 0;
    bool on() const { return type != FilterType::Off && frequency > 0; }
};

// The sound options of a design.
struct SoundOptions {
    double ql = 7; // box losses of a vented box
    EndCorrection endCorrection = kDefaultEndCorrection;
    CarClass car = CarClass::None;
    double power = 1;               // W, the amplifier's total power, shared equally by the woofers
    std::optional<double> targetFb; // Hz
    int woofers = 1;                // in the one chamber (the design's pieces0 + 1)
    Wiring wiring;
    Filter subsonic; // high pass
    Filter lowpass;
};

// The texts to numbers with the user's decimal separator. Errors name the key: a text that is not a
// number, a missing required parameter, a value out of range.
Checked<Woofer> parseWoofer(const WooferTexts& texts, char decimalSeparator);
Checked<SoundOptions> parseSoundOptions(const WooferTexts& texts, char decimalSeparator);

} // namespace kelvra
