// The numeric kinds of the enclosure model: fixed-point with 4 decimals, 16-bit integers and the
// conversions between them and text in the user's locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace kelvra
{

// A runtime error as the calculator reports it: the classic error number and its description.
struct CalcError {
    int number = 0;
    std::string description;

    bool operator==(const CalcError&) const = default;
};

inline constexpr int kErrTypeMismatch = 13;
inline constexpr int kErrOverflow = 6;

CalcError typeMismatch();
CalcError overflow();

// A value or the error that stopped it; the cores never throw across their boundaries.
template <typename T> class Result
{
public:
    Result(T value) : m_v(std::move(value)) {}
    Result(CalcError error) : m_v(std::move(error)) {}

    bool ok() const { return std::holds_alternative<T>(m_v); }
    explicit operator bool() const { return ok(); }
    const T& value() const { return std::get<T>(m_v); }
    const T& operator*() const { return value(); }
    const T* operator->() const { return &value(); }
    const CalcError& error() const { return std::get<CalcError>(m_v); }

private:
    std::variant<T, CalcError> m_v;
};

// Signed 64-bit fixed-point number counting ten-thousandths. Every operation that can leave the
// range reports an overflow instead of wrapping.
class Fixed
{
public:
    static constexpr std::int64_t kScale = 10000;

    constexpr Fixed() = default;
    static constexpr Fixed fromRaw(std::int64_t raw)
    {
        Fixed f;
        f.m_raw = raw;
        return f;
    }
    static constexpr Fixed fromInt(std::int64_t whole) { return fromRaw(whole * kScale); }
    // Rounds to 4 decimals, halves to even; NaN, infinities and values out of range overflow.
    static Result<Fixed> fromDouble(double value);

    constexpr std::int64_t raw() const { return m_raw; }
    double toDouble() const { return static_cast<double>(m_raw) / kScale; }

    Result<Fixed> plus(Fixed other) const;
    Result<Fixed> minus(Fixed other) const;
    // Product rounded to 4 decimals, halves to even.
    Result<Fixed> times(Fixed other) const;
    // Exact decimal rounding to 0..4 decimals, halves to even.
    Fixed rounded(int decimals) const;

    constexpr auto operator<=>(const Fixed&) const = default;

private:
    std::int64_t m_raw = 0;
};

// Text to numbers with the given decimal separator. The other one of "," and "." is a grouping
// character, which never silently changes a value: it makes the text not a number.
Result<Fixed> toFixed(std::string_view text, char decimalSeparator);
Result<std::int16_t> toInt16(std::string_view text, char decimalSeparator);
Result<double> toDouble(std::string_view text, char decimalSeparator);

// 16-bit integer of a floating value, halves to even, range checked.
Result<std::int16_t> int16FromDouble(double value);
// Checked 16-bit product, as the integer arithmetic of the calculator forms it.
Result<std::int16_t> int16Times(std::int16_t a, std::int16_t b);

// Rounds a floating value to the given number of decimals, halves to even.
double roundHalfEven(double value, int decimals);

// Number texts in the locale's format without trailing zeros.
std::string formatFixed(Fixed value, char decimalSeparator);
void appendFixed(std::string& out, Fixed value, char decimalSeparator); // the same, without a new string
std::string formatDouble(double value, char decimalSeparator);          // 15 significant digits
std::string formatSingle(float value, char decimalSeparator);           // 7 significant digits

// The decimal separator of the user's locale (LC_ALL, LC_NUMERIC, LANG), "," or ".".
char localeDecimalSeparator();

} // namespace kelvra
