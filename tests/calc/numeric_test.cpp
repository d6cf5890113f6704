// The numeric kinds at their edges: rounding halves to even, overflow, the decimal separator.
#include "calc/Numeric.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

using namespace kelvra;

namespace
{

// The text under `sep`, with a "." in it standing for the other separator (the grouping character).
std::string under(std::string text, char sep)
{
    for (char& c : text)
        c = c == ',' ? sep : c == '.' ? (sep == ',' ? '.' : ',') : c;
    return text;
}

class Numbers : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, Numbers, ::testing::Values(',', '.'), kelvra::test::SeparatorName{});

} // namespace

TEST_P(Numbers, TextToFixedIsExactAndHalvesToEven)
{
    const char sep = GetParam();
    // clang-format off
    const std::pair<const char*, std::int64_t> good[] = {
        {"40", 400000}, {"60,2", 602000}, {" 18 ", 180000}, {"-0", 0}, {"0,00005", 0}, {"0,00015", 2},
        {"0,00025", 2}, {"1,23455", 12346}, {"1,23465", 12346}, {"-1,23455", -12346}, {"1e2", 1000000},
        {"1,5E-1", 1500}, {"+7", 70000}, {",5", 5000}, {"5,", 50000},
        {"922337203685477,5807", std::numeric_limits<std::int64_t>::max()}};
    // clang-format on
    for (const auto& [text, raw] : good) {
        const auto r = toFixed(under(text, sep), sep);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_EQ(r->raw(), raw) << text;
    }
    const int mismatch = kErrTypeMismatch, overflow = kErrOverflow;
    // clang-format off
    const std::pair<const char*, int> bad[] = {
        {"", mismatch}, {"   ", mismatch}, {"abc", mismatch}, {"12abc", mismatch}, {"1,2,3", mismatch},
        {"60.2", mismatch}, {"1e400", overflow}, {"922337203685478", overflow},
        {"123456789012345678901234567890", overflow}};
    // clang-format on
    for (const auto& [text, error] : bad) {
        const auto r = toFixed(under(text, sep), sep);
        ASSERT_FALSE(r.ok()) << text;
        EXPECT_EQ(r.error().number, error) << text;
    }
    // The grouping character never changes a magnitude.
    EXPECT_FALSE(toInt16(under("60.2", sep), sep).ok());
    EXPECT_FALSE(toDouble(under("60.2", sep), sep).ok());
}

TEST_P(Numbers, Int16RoundsHalvesToEvenAndChecksRange)
{
    const char sep = GetParam();
    const std::pair<const char*, int> good[] = {{"18,5", 18},     {"19,5", 20},       {"87,5", 88},
                                                {"86,5", 86},     {"-0,5", 0},        {"-1,5", -2},
                                                {"32767", 32767}, {"-32768", -32768}, {"32767,4", 32767}};
    for (const auto& [text, value] : good) {
        const auto r = toInt16(under(text, sep), sep);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_EQ(*r, value) << text;
    }
    for (const char* bad : {"32767,5", "32768", "-32769", "1e400", "", "x"})
        EXPECT_FALSE(toInt16(under(bad, sep), sep).ok()) << bad;
    EXPECT_EQ(toInt16("32768", sep).error().number, kErrOverflow);
    EXPECT_EQ(toInt16("x", sep).error().number, kErrTypeMismatch);
}

TEST_P(Numbers, TextsHaveNoTrailingZerosAndReadBack)
{
    const char sep = GetParam();
    EXPECT_EQ(formatFixed(Fixed::fromInt(64), sep), "64");
    EXPECT_EQ(formatFixed(Fixed::fromRaw(462300), sep), under("46,23", sep));
    EXPECT_EQ(formatFixed(Fixed::fromRaw(-5), sep), under("-0,0005", sep));
    EXPECT_EQ(formatDouble(1.0 / 3.0, sep), under("0,333333333333333", sep));
    EXPECT_EQ(formatDouble(-0.0, sep), "0");
    EXPECT_EQ(formatSingle(106.2f, sep), under("106,2", sep));
    EXPECT_EQ(formatSingle(3600.f, sep), "3600");
    for (std::int64_t raw : {0LL, 1LL, -1LL, 364000LL, 123456789LL, -987654321LL})
        EXPECT_EQ(toFixed(formatFixed(Fixed::fromRaw(raw), sep), sep)->raw(), raw);
}

TEST(Fixed, ArithmeticAndRoundingHalveToEvenAndDetectOverflow)
{
    EXPECT_EQ(Fixed::fromDouble(46.228544)->raw(), 462285);
    EXPECT_EQ(Fixed::fromDouble(-2.25)->raw(), -22500);
    EXPECT_FALSE(Fixed::fromDouble(std::numeric_limits<double>::quiet_NaN()).ok());
    EXPECT_EQ(Fixed::fromDouble(1e300).error().number, kErrOverflow);
    const Fixed half = Fixed::fromRaw(5000);
    EXPECT_EQ(Fixed::fromRaw(15).times(half)->raw(), 8); // 0.00075 -> 0.0008
    EXPECT_EQ(Fixed::fromRaw(25).times(half)->raw(), 12);
    EXPECT_EQ(Fixed::fromRaw(364000).times(Fixed::fromRaw(364000))->raw(), 13249600LL);
    const Fixed big = Fixed::fromRaw(std::numeric_limits<std::int64_t>::max());
    EXPECT_FALSE(big.plus(Fixed::fromRaw(1)).ok());
    EXPECT_FALSE(Fixed::fromRaw(std::numeric_limits<std::int64_t>::min()).minus(Fixed::fromRaw(1)).ok());
    EXPECT_FALSE(big.times(Fixed::fromInt(2)).ok());
    EXPECT_EQ(Fixed::fromInt(3).minus(Fixed::fromInt(5))->raw(), -20000);
    const std::pair<std::int64_t, std::int64_t> rounded2[] = {
        {462285, 462300}, {462250, 462200}, {462350, 462400}};
    for (const auto& [raw, want] : rounded2)
        EXPECT_EQ(Fixed::fromRaw(raw).rounded(2).raw(), want) << raw;
    EXPECT_EQ(Fixed::fromRaw(-15000).rounded(0).raw(), -20000);
    EXPECT_EQ(Fixed::fromRaw(-5000).rounded(0).raw(), 0);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.25, 1), 0.2);
    EXPECT_DOUBLE_EQ(roundHalfEven(0.35, 1), 0.4);
    EXPECT_DOUBLE_EQ(roundHalfEven(55.4742528, 2), 55.47);
    EXPECT_EQ(*int16FromDouble(2.5), 2);
    EXPECT_EQ(*int16FromDouble(3.5), 4);
    EXPECT_FALSE(int16FromDouble(32767.5).ok());
    EXPECT_EQ(*int16Times(2, 18), 36);
    EXPECT_FALSE(int16Times(300, 300).ok());
}
