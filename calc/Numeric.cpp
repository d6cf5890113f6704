#include "calc/Numeric.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <locale>

namespace kelvra
{

CalcError typeMismatch()
{
    return {kErrTypeMismatch, "Type mismatch"};
}
CalcError overflow()
{
    return {kErrOverflow, "Overflow"};
}

namespace
{

__extension__ typedef __int128 Int128;

// A number text as sign, significant digits and a power of ten: value = digits x 10^exponent.
struct DecimalText {
    bool negative = false;
    std::string digits; // without leading zeros; empty means zero
    long exponent = 0;
};

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}
bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::optional<DecimalText> parseDecimalText(std::string_view text, char sep)
{
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && isBlank(text[b]))
        ++b;
    while (e > b && isBlank(text[e - 1]))
        --e;
    std::string_view s = text.substr(b, e - b);

    DecimalText d;
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        d.negative = s[i] == '-';
        ++i;
    }
    std::string all;
    long fractionDigits = 0;
    bool anyDigit = false;
    while (i < s.size() && isDigit(s[i])) {
        all += s[i++];
        anyDigit = true;
    }
    if (i < s.size() && s[i] == sep) {
        ++i;
        while (i < s.size() && isDigit(s[i])) {
            all += s[i++];
            ++fractionDigits;
            anyDigit = true;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    long exp = 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        bool expNegative = false;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
            expNegative = s[i] == '-';
            ++i;
        }
        if (i >= s.size() || !isDigit(s[i]))
            return std::nullopt;
        while (i < s.size() && isDigit(s[i])) {
            if (exp < 1000000) // far beyond any representable value; keeps the count from overflowing
                exp = exp * 10 + (s[i] - '0');
            ++i;
        }
        if (expNegative)
            exp = -exp;
    }
    if (i != s.size())
        return std::nullopt;

    std::size_t firstNonZero = all.find_first_not_of('0');
    d.digits = firstNonZero == std::string::npos ? std::string() : all.substr(firstNonZero);
    d.exponent = exp - fractionDigits;
    return d;
}

constexpr int kMaxInt128Digits = 37;

// value x 10^scale as an integer, rounded half to even; nullopt when it cannot be held.
std::optional<Int128> scaledInteger(const DecimalText& d, int scale)
{
    if (d.digits.empty())
        return Int128(0);
    const long e = d.exponent + scale;
    const long length = static_cast<long>(d.digits.size());
    Int128 result = 0;
    if (e >= 0) {
        if (length + e > kMaxInt128Digits)
            return std::nullopt;
        for (char c : d.digits)
            result = result * 10 + (c - '0');
        for (long k = 0; k < e; ++k)
            result *= 10;
    } else {
        const long keep = length + e; // digits before the rounding point
        if (keep > kMaxInt128Digits)
            return std::nullopt;
        for (long k = 0; k < keep; ++k)
            result = result * 10 + (d.digits[static_cast<std::size_t>(k)] - '0');
        // Look at what is dropped: below, exactly or above one half.
        int cmp = -1;
        if (keep >= 0) {
            const char first = d.digits[static_cast<std::size_t>(keep)];
            if (first > '5') {
                cmp = 1;
            } else if (first == '5') {
                cmp = d.digits.find_first_not_of('0', static_cast<std::size_t>(keep) + 1) == std::string::npos
                          ? 0
                          : 1;
            }
        }
        if (cmp > 0 || (cmp == 0 && (result % 2) != 0))
            ++result;
    }
    return d.negative ? -result : result;
}

Int128 divideHalfEven(Int128 numerator, Int128 denominator)
{
    Int128 q = numerator / denominator;
    Int128 r = numerator % denominator;
    if (r == 0)
        return q;
    const Int128 twice = (r < 0 ? -r : r) * 2;
    const bool negative = (numerator < 0) != (denominator < 0);
    if (twice > denominator || (twice == denominator && (q % 2) != 0))
        q += negative ? -1 : 1;
    return q;
}

bool fitsInt64(Int128 v)
{
    return v >= std::numeric_limits<std::int64_t>::min() && v <= std::numeric_limits<std::int64_t>::max();
}

std::string withSeparator(std::string text, char sep)
{
    for (char& c : text) {
        if (c == '.')
            c = sep;
        else if (c == 'e')
            c = 'E';
    }
    return text;
}

} // namespace

Result<Fixed> Fixed::fromDouble(double value)
{
    const double scaled = value * static_cast<double>(kScale);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!std::isfinite(scaled) || scaled >= 9223372036854775808.0 || scaled < -9223372036854775808.0)
        return overflow();
    const double r = std::nearbyint(scaled);
    if (r >= 9223372036854775808.0)
        return overflow();
    return Fixed::fromRaw(static_cast<std::int64_t>(r));
}

Result<Fixed> Fixed::plus(Fixed other) const
{
    const Int128 s = Int128(m_raw) + other.m_raw;
    if (!fitsInt64(s))
        return overflow();
    return fromRaw(static_cast<std::int64_t>(s));
}

Result<Fixed> Fixed::minus(Fixed other) const
{
    const Int128 s = Int128(m_raw) - other.m_raw;
    if (!fitsInt64(s))
        return overflow();
    return fromRaw(static_cast<std::int64_t>(s));
}

Result<Fixed> Fixed::times(Fixed other) const
{
    const Int128 p = divideHalfEven(Int128(m_raw) * other.m_raw, kScale);
    if (!fitsInt64(p))
        return overflow();
    return fromRaw(static_cast<std::int64_t>(p));
}

Fixed Fixed::rounded(int decimals) const
{
    if (decimals >= 4)
        return *this;
    std::int64_t unit = 1;
    for (int k = decimals < 0 ? 0 : decimals; k < 4; ++k)
        unit *= 10;
    return fromRaw(static_cast<std::int64_t>(divideHalfEven(m_raw, unit) * unit));
}

Result<Fixed> toFixed(std::string_view text, char decimalSeparator)
{
    const auto d = parseDecimalText(text, decimalSeparator);
    if (!d)
        return typeMismatch();
    const auto v = scaledInteger(*d, 4);
    if (!v || !fitsInt64(*v))
        return overflow();
    return Fixed::fromRaw(static_cast<std::int64_t>(*v));
}

Result<std::int16_t> toInt16(std::string_view text, char decimalSeparator)
{
    const auto d = parseDecimalText(text, decimalSeparator);
    if (!d)
        return typeMismatch();
    const auto v = scaledInteger(*d, 0);
    if (!v || *v < std::numeric_limits<std::int16_t>::min() || *v > std::numeric_limits<std::int16_t>::max())
        return overflow();
    return static_cast<std::int16_t>(*v);
}

Result<double> toDouble(std::string_view text, char decimalSeparator)
{
    const auto d = parseDecimalText(text, decimalSeparator);
    if (!d)
        return typeMismatch();
    if (d->digits.empty())
        return 0.0;
    const std::string normal = (d->negative ? "-" : "") + d->digits + "e" + std::to_string(d->exponent);
    double value = 0;
    const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        // Too small underflows to zero; too large is an overflow.
        const long magnitude = d->exponent + static_cast<long>(d->digits.size());
        if (magnitude < 0)
            return 0.0;
        return overflow();
    }
    if (ec != std::errc() || !std::isfinite(value))
        return overflow();
    return value;
}

Result<std::int16_t> int16FromDouble(double value)
{
    if (std::isnan(value))
        return overflow();
    const double r = std::nearbyint(value);
    if (r < -32768.0 || r > 32767.0)
        return overflow();
    return static_cast<std::int16_t>(r);
}

Result<std::int16_t> int16Times(std::int16_t a, std::int16_t b)
{
    const int p = int(a) * int(b);
    if (p < -32768 || p > 32767)
        return overflow();
    return static_cast<std::int16_t>(p);
}

double roundHalfEven(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    const double scale = std::pow(10.0, decimals);
    const double scaled = value * scale;
    if (!std::isfinite(scaled) || std::fabs(scaled) >= 4503599627370496.0) // already whole at 2^52
        return value;
    return std::nearbyint(scaled) / scale;
}

void appendFixed(std::string& out, Fixed value, char decimalSeparator)
{
    const std::int64_t raw = value.raw();
    const std::uint64_t magnitude =
        raw < 0 ? static_cast<std::uint64_t>(-(raw + 1)) + 1 : static_cast<std::uint64_t>(raw);
    std::array<char, 32> buf{};
    char* end = buf.data() + buf.size();
    char* p = end;
    std::uint64_t fraction = magnitude % static_cast<std::uint64_t>(Fixed::kScale);
    if (fraction != 0) {
        int digits = 4;
        while (fraction % 10 == 0) {
            fraction /= 10;
            --digits;
        }
        for (int i = 0; i < digits; ++i) {
            *--p = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        *--p = decimalSeparator;
    }
    std::uint64_t whole = magnitude / static_cast<std::uint64_t>(Fixed::kScale);
    do {
        *--p = static_cast<char>('0' + whole % 10);
        whole /= 10;
    } while (whole != 0);
    if (raw < 0)
        *--p = '-';
    out.append(p, end);
}

std::string formatFixed(Fixed value, char decimalSeparator)
{
    std::string text;
    appendFixed(text, value, decimalSeparator);
    return text;
}

std::string formatDouble(double value, char decimalSeparator)
{
    if (value == 0)
        return "0"; // no "-0"
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 15);
    return withSeparator(std::string(buf.data(), res.ptr), decimalSeparator);
}

std::string formatSingle(float value, char decimalSeparator)
{
    if (value == 0)
        return "0";
    std::array<char, 64> buf{};
    const auto res = std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::general, 7);
    return withSeparator(std::string(buf.data(), res.ptr), decimalSeparator);
}

namespace
{

char separatorForLanguage(std::string_view name)
{
    // Where the locale is not installed, judge by the language code.
    static constexpr std::array<std::string_view, 34> commaLanguages = {
        "nl", "de", "fr", "es", "it", "pt", "da", "sv", "nb", "nn", "no", "fi", "pl", "cs", "sk", "ru", "uk",
        "tr", "el", "hu", "ro", "bg", "hr", "sl", "sr", "lt", "lv", "et", "id", "vi", "ca", "eu", "gl", "is"};
    const std::string_view lang = name.substr(0, name.find_first_of("_.@"));
    for (std::string_view c : commaLanguages)
        if (lang == c)
            return ',';
    return '.';
}

} // namespace

char localeDecimalSeparator()
{
    const char* name = nullptr;
    for (const char* var : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* v = std::getenv(var);
        if (v && *v) {
            name = v;
            break;
        }
    }
    if (!name || std::string_view(name) == "C" || std::string_view(name) == "POSIX")
        return '.';
    try {
        const std::locale loc(name);
        const char c = std::use_facet<std::numpunct<char>>(loc).decimal_point();
        return c == ',' ? ',' : '.';
    } catch (const std::exception&) {
        return separatorForLanguage(name);
    }
}

} // namespace kelvra
