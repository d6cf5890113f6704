// The numeric kinds at their edges: rounding halves to even, overflow, the decimal separator.
#include "calc/Numeric.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace kelvra;

namespace
{

// Swaps the two separators of a text written with ",", so each case runs under both locales.
std::string under(std::string text, char sep)
{
    for (char& c : text) {
        if (c == ',')
            c = sep;
        else if (c == '.')
            c = sep == ',' ? '.' : ',';
    }
    return text;
}

class BothSeparators : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, BothSeparators, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

} // namespace

TEST_P(BothSeparators, FixedFromTextIsExactAndHalvesToEven)
{
    const char sep = GetParam();
    struct Case {
        const char* text;
        std::int64_t raw;
    };
    const Case cases[] = {
        {"40", 400000},
        {"60,2", 602000},
        {"36,4", 364000},
        {" 18 ", 180000},
        {"-0", 0},
        {"0,00005", 0},
        {"0,00015", 2},
        {"0,00025", 2},
        {"1,23455", 12346},
        {"1,23465", 12346},
        {"-1,23455", -12346},
        {"1e2", 1000000},
        {"1,5E-1", 1500},
        {"+7", 70000},
        {",5", 5000},
        {"5,", 50000},
        {"922337203685477,5807", std::numeric_limits<std::int64_t>::max()},
    };
    for (const auto& c : cases) {
        const auto r = toFixed(under(c.text, sep), sep);
        ASSERT_TRUE(r.ok()) << c.text;
        EXPECT_EQ(r->raw(), c.raw) << c.text;
    }
}

TEST_P(BothSeparators, TextThatIsNotANumberIsAnError)
{
    const char sep = GetParam();
    struct Case {
        const char* text;
        int error;
    };
    const Case cases[] = {
        {"", kErrTypeMismatch},
        {"   ", kErrTypeMismatch},
        {"abc", kErrTypeMismatch},
        {"12abc", kErrTypeMismatch},
        {"1,2,3", kErrTypeMismatch},
        {"60.2", kErrTypeMismatch},
        {"1e400", kErrOverflow},
        {"922337203685478", kErrOverflow},
        {"123456789012345678901234567890", kErrOverflow},
    };
    for (const auto& c : cases) {
        const auto r = toFixed(under(c.text, sep), sep);
        ASSERT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.error().number, c.error) << c.text;
    }
}

TEST_P(BothSeparators, GroupingCharacterNeverChangesMagnitude)
{
    const char sep = GetParam();
    const std::string grouped = sep == ',' ? "60.2" : "60,2";
    EXPECT_FALSE(toFixed(grouped, sep).ok());
    EXPECT_FALSE(toInt16(grouped, sep).ok());
    EXPECT_FALSE(toDouble(grouped, sep).ok());
}

TEST_P(BothSeparators, Int16RoundsHalvesToEvenAndChecksRange)
{
    const char sep = GetParam();
    struct Case {
        const char* text;
        int value;
    };
    const Case ok[] = {{"18,5", 18}, {"19,5", 20},     {"87,5", 88},       {"86,5", 86},       {"-0,5", 0},
                       {"-1,5", -2}, {"32767", 32767}, {"-32768", -32768}, {"32767,4", 32767}, {"0", 0}};
    for (const auto& c : ok) {
        const auto r = toInt16(under(c.text, sep), sep);
        ASSERT_TRUE(r.ok()) << c.text;
        EXPECT_EQ(*r, c.value) << c.text;
    }
    for (const char* bad : {"32767,5", "32768", "-32769", "1e400", "", "x"}) {
        EXPECT_FALSE(toInt16(under(bad, sep), sep).ok()) << bad;
    }
    EXPECT_EQ(toInt16("32768", sep).error().number, kErrOverflow);
    EXPECT_EQ(toInt16("x", sep).error().number, kErrTypeMismatch);
}

TEST(Fixed, FromDoubleHalvesToEvenAndOverflows)
{
    EXPECT_EQ(Fixed::fromDouble(46.228544)->raw(), 462285);
    EXPECT_EQ(Fixed::fromDouble(0.5)->raw(), 5000);
    EXPECT_EQ(Fixed::fromDouble(-2.25)->raw(), -22500);
    EXPECT_FALSE(Fixed::fromDouble(std::numeric_limits<double>::infinity()).ok());
    EXPECT_FALSE(Fixed::fromDouble(std::numeric_limits<double>::quiet_NaN()).ok());
    EXPECT_FALSE(Fixed::fromDouble(1e300).ok());
    EXPECT_EQ(Fixed::fromDouble(1e300).error().number, kErrOverflow);
}

TEST(Fixed, ArithmeticRoundsToFourDecimalsAndDetectsOverflow)
{
    const Fixed a = Fixed::fromRaw(15);                // 0.0015
    const Fixed b = Fixed::fromRaw(5000);              // 0.5
    EXPECT_EQ(a.times(b)->raw(), 8);                   // 0.00075 -> 0.0008 (half to even)
    EXPECT_EQ(Fixed::fromRaw(25).times(b)->raw(), 12); // 0.00125 -> 0.0012
    // 36.4 x 36.4 = 1324.96
    EXPECT_EQ(Fixed::fromRaw(364000).times(Fixed::fromRaw(364000))->raw(), 13249600LL);
    const Fixed big = Fixed::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(big.plus(Fixed::fromRaw(1)).ok());
    EXPECT_FALSE(Fixed::fromRaw(std::numeric_limits<std::int64_t>::min()).minus(Fixed::fromRaw(1)).ok());
    EXPECT_FALSE(big.times(Fixed::fromInt(2)).ok());
    EXPECT_EQ(Fixed::fromInt(3).minus(Fixed::fromInt(5))->raw(), -20000);
}

TEST(Fixed, RoundedIsExactDecimalRounding)
{
    EXPECT_EQ(Fixed::fromRaw(462285).rounded(2).raw(), 462300); // 46.2285 -> 46.23
    EXPECT_EQ(Fixed::fromRaw(462250).rounded(2).raw(), 462200); // 46.225 -> 46.22
    EXPECT_EQ(Fixed::fromRaw(462350).rounded(2).raw(), 462400);
    EXPECT_EQ(Fixed::fromRaw(-5000).rounded(0).raw(), 0);
    EXPECT_EQ(Fixed::fromRaw(-15000).rounded(0).raw(), -20000);
    EXPECT_EQ(Fixed::fromRaw(12345).rounded(4).raw(), 12345);
}

TEST(Numeric, RoundHalfEvenAndInt16FromDouble)
{
    EXPECT_DOUBLE_EQ(roundHalfEven(46.228544, 2), 46.23);
    EXPECT_DOUBLE_EQ(roundHalfEven(55.4742528, 2), 55.47);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.25, 1), 0.2);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.35, 1), 0.4);
    EXPECT_DOUBLE_EQ(roundHalfEven(2.5, 0), 2.0);
    EXPECT_EQ(*int16FromDouble(2.5), 2);
    EXPECT_EQ(*int16FromDouble(3.5), 4);
    EXPECT_FALSE(int16FromDouble(32767.5).ok());
    EXPECT_FALSE(int16FromDouble(std::numeric_limits<double>::quiet_NaN()).ok());
    EXPECT_EQ(*int16Times(2, 18), 36);
    EXPECT_FALSE(int16Times(300, 300).ok());
}

TEST_P(BothSeparators, NumberTextHasNoTrailingZeros)
{
    const char sep = GetParam();
    EXPECT_EQ(formatFixed(Fixed::fromInt(64), sep), "64");
    EXPECT_EQ(formatFixed(Fixed::fromRaw(462300), sep), under("46,23", sep));
    EXPECT_EQ(formatFixed(Fixed::fromRaw(-5), sep), under("-0,0005", sep));
    EXPECT_EQ(formatFixed(Fixed::fromRaw(0), sep), "0");
    EXPECT_EQ(formatDouble(72.5, sep), under("72,5", sep));
    EXPECT_EQ(formatDouble(1.0 / 3.0, sep), under("0,333333333333333", sep));
    EXPECT_EQ(formatDouble(-0.0, sep), "0");
    EXPECT_EQ(formatSingle(106.2f, sep), under("106,2", sep));
    EXPECT_EQ(formatSingle(3600.f, sep), "3600");
    EXPECT_EQ(formatSingle(0.1f, sep), under("0,1", sep));
}

TEST_P(BothSeparators, FormattedTextReadsBackToTheSameValue)
{
    const char sep = GetParam();
    for (std::int64_t raw : {0LL, 1LL, -1LL, 364000LL, 123456789LL, -987654321LL}) {
        const Fixed f = Fixed::fromRaw(raw);
        EXPECT_EQ(toFixed(formatFixed(f, sep), sep)->raw(), raw);
    }
}
