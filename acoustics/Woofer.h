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
inline constexpr std::array<std::string_view, 16> kWooferKeys = {
    "name", "fs", "qts", "qes", "qms",     "vas", "sd",    "xmax",
    "re",   "pe", "le",  "ql",  "endcorr", "car", "power", "targetfb"};
inline constexpr std::size_t kWooferParameterKeys = 11; // "name" .. "le"

// The texts as typed, one per key of kWooferKeys; an empty text is a value not given.
struct WooferTexts {
    std::array<std::string, kWooferKeys.size()> text{};

    // The text of a key of kWooferKeys; null for any other key.
    std::string* find(std::string_view key);
    const std::string* find(std::string_view key) const;
    // No woofer parameter given (the sound options do not count).
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
};

// The woofer's three Q values after completion: given Qes and Qms, Qts = Qes Qms / (Qes + Qms) (a
// given Qts is then ignored: the data sheet rounds it); given Qts and one of the others, the third
// follows; given Qts alone, Qes = Qts and the suspension is taken as lossless (Qms infinite), which
// puts the sensitivity a little high (Qes is really somewhat above Qts).
struct QualityFactors {
    double qts = 0, qes = 0;
    std::optional<double> qms; // none: lossless suspension
};
// Checks every parameter (Fs, Vas, Sd, Xmax, Re, Pe > 0, Le >= 0, the Q values > 0 and consistent)
// and completes the Q values; the error names the first bad field.
Checked<QualityFactors> checkWoofer(const Woofer& woofer);

// The sound options of a design.
struct SoundOptions {
    double ql = 7; // box losses of a vented box
    EndCorrection endCorrection = kDefaultEndCorrection;
    CarClass car = CarClass::None;
    double power = 1;               // W
    std::optional<double> targetFb; // Hz
};

// The texts to numbers with the user's decimal separator. Errors name the key: a text that is not a
// number, a missing required parameter, a value out of range.
Checked<Woofer> parseWoofer(const WooferTexts& texts, char decimalSeparator);
Checked<SoundOptions> parseSoundOptions(const WooferTexts& texts, char decimalSeparator);

} // namespace kelvra
