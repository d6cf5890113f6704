// Lengths, thicknesses and volumes in inches and cubic feet: reading what a builder types, writing what
// a tape shows, under both decimal separators.
#include "tests/support/SeparatorText.h"
#include "units/Units.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvra;
using kelvra::test::under;

namespace
{

class Inches : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, Inches, ::testing::Values(',', '.'), kelvra::test::SeparatorName{});

} // namespace

TEST_P(Inches, ReadsDecimalsAndFractions)
{
    const char sep = GetParam();
    const std::pair<const char*, double> good[] = {
        {"12,5", 12.5}, {"12 1/2", 12.5}, {"12-1/2", 12.5},  {"1/2", 0.5},       {" 3/4\" ", 0.75},
        {"3/2", 1.5},   {"15 in", 15},    {"-1 1/4", -1.25}, {"0 3/16", 0.1875}, {"48", 48}};
    for (const auto& [text, inches] : good) {
        const Result<double> r = readInches(under(text, sep), sep);
        ASSERT_TRUE(r.ok()) << text;
        EXPECT_DOUBLE_EQ(*r, inches) << text;
    }
    // Each bad text is refused with the reason, never read as another value.
    const std::pair<const char*, const char*> bad[] = {
        {"1/0", "divides by zero"}, {"12 3/2", "an inch or more"}, {"1/2/3", "more than one"},
        {"1,5/2", "no fraction"},   {"a 1/2", "whole inches"},     {"", "no length"},
        {"12 1/", "no fraction"},   {"twelve", "no length"},       {"12.5.1", "no length"}};
    for (const auto& [text, why] : bad) {
        const Result<double> r = readInches(under(text, sep), sep);
        ASSERT_FALSE(r.ok()) << text;
        EXPECT_EQ(r.error().number, kErrTypeMismatch);
        EXPECT_NE(r.error().description.find(why), std::string::npos) << r.error().description;
    }
}

TEST(InchFraction, NearestSixteenthReduced)
{
    const std::pair<double, const char*> cases[] = {
        {12.5, "12 1/2"},  {0.75, "3/4"},      {12, "12"},     {0.03, "0"},      {0.04, "1/16"},
        {-1.25, "-1 1/4"}, {15.748, "15 3/4"}, {0.96875, "1"}, {0.90625, "7/8"}, {47.99, "48"}};
    for (const auto& [inches, text] : cases)
        EXPECT_EQ(inchFraction(inches), text) << inches;
    // Every sixteenth written and read back is itself.
    for (int n = 0; n <= 16 * 50; ++n) {
        const double inches = n / 16.0;
        const Result<double> back = readInches(inchFraction(inches), '.');
        ASSERT_TRUE(back.ok()) << n;
        EXPECT_DOUBLE_EQ(*back, inches);
    }
}

TEST_P(Inches, ModelTextsRoundTrip)
{
    const char sep = GetParam();
    struct Case {
        Quantity quantity;
        const char* typed;
        const char* model;
        const char* shown;
    };
    const Case cases[] = {
        {Quantity::Length, "12", "30,48", "12"},       {Quantity::Length, "15 3/4", "40,005", "15 3/4"},
        {Quantity::Length, "12,5", "31,75", "12 1/2"}, {Quantity::Thickness, "3/4", "19", "3/4"},
        {Quantity::Thickness, "5/8", "16", "5/8"},     {Quantity::Thickness, "1/2", "13", "1/2"},
        {Quantity::Thickness, "1", "25", "1"},         {Quantity::Volume, "1", "28,3168", "1"},
        {Quantity::Volume, "0,15", "4,2475", "0,15"},  {Quantity::Plain, "80", "80", "80"}};
    for (const Case& c : cases) {
        const Result<std::string> model =
            modelTextOfTyped(c.quantity, under(c.typed, sep), Measure::Imperial, sep);
        ASSERT_TRUE(model.ok()) << c.typed;
        EXPECT_EQ(*model, under(c.model, sep)) << c.typed;
        EXPECT_EQ(typedTextOfModel(c.quantity, *model, Measure::Imperial, sep), under(c.shown, sep));
        // Metric passes every text through untouched.
        EXPECT_EQ(*modelTextOfTyped(c.quantity, c.typed, Measure::Metric, sep), c.typed);
        EXPECT_EQ(typedTextOfModel(c.quantity, c.model, Measure::Metric, sep), c.model);
    }
    EXPECT_FALSE(modelTextOfTyped(Quantity::Length, "1/0", Measure::Imperial, sep).ok());
    EXPECT_EQ(typedTextOfModel(Quantity::Length, "abc", Measure::Imperial, sep), "abc");
}

TEST_P(Inches, ShownTexts)
{
    const char sep = GetParam();
    EXPECT_EQ(thicknessText(18, Measure::Imperial), "11/16\"");
    EXPECT_EQ(thicknessText(18, Measure::Metric), "18 mm");
    EXPECT_EQ(lengthWithUnit(45.26, Measure::Metric, sep), under("45,3 cm", sep));
    EXPECT_EQ(lengthWithUnit(45.26, Measure::Imperial, sep), "17 13/16\"");
    EXPECT_EQ(lengthDecimal(45.26, Measure::Imperial, sep), under("17,819", sep));
    EXPECT_EQ(volumeText(45.3, Measure::Imperial, sep), under("1,6 ft³ (45,3 l)", sep));
    EXPECT_EQ(volumeText(45.3, Measure::Imperial, sep, false), under("1,6 ft³", sep));
    EXPECT_EQ(volumeText(45.3, Measure::Metric, sep), under("45,3 Liter", sep));
    EXPECT_EQ(volumeCaption(under("Outer Volume: 45,3 Liter", sep), Measure::Imperial, sep),
              under("Outer Volume: 1,6 ft³ (45,3 l)", sep));
    EXPECT_EQ(volumeCaption(under("Intern Volume:\r\n45,3 Liter", sep), Measure::Imperial, sep),
              under("Intern Volume:\r\n1,6 ft³ (45,3 l)", sep));
    EXPECT_EQ(volumeCaption("Volume: 0 Liter", Measure::Metric, sep), "Volume: 0 Liter");
    EXPECT_EQ(measureOfSetting("1"), Measure::Imperial);
    EXPECT_EQ(measureOfSetting("x"), Measure::Metric);
}

TEST_P(Inches, MetricTextsOfTheWindowsInInches)
{
    const char sep = GetParam();
    const std::pair<const char*, const char*> cases[] = {
        {"H2: 34,2cm", "H2: 13 7/16\""},
        {"Voorzijde\r\nl:66,2cm\r\nb:45cm", "Voorzijde\r\nl:26 1/16\"\r\nb:17 11/16\""},
        {"P:19mm B1:58,43cm", "P:3/4\" B1:23\""},
        {"1 round hole of \u00d8 7,5 cm in Voorzijde", "1 round hole of \u00d8 2 15/16\" in Voorzijde"},
        {"1 slot of 7,5 x 20 cm in Achterzijde", "1 slot of 2 15/16\" x 7 7/8\" in Achterzijde"},
        {"Sheet 122x244, 2x3 boards", "Sheet 122x244, 2x3 boards"},
        {"1 x 66,2 x 34,2 cm", "1 x 26 1/16\" x 13 7/16\""},
        {"net volume: 87,99 litres", "net volume: 3,11 ft\u00b3 (88 l)"},
        {"Outer Volume: 45,3 Liter", "Outer Volume: 1,6 ft\u00b3 (45,3 l)"},
        {"12,4 % less, 2 cm\u00b3, 3cmx, B2 cm", "12,4 % less, 2 cm\u00b3, 3cmx, B2 cm"}};
    for (const auto& [metric, imperial] : cases) {
        EXPECT_EQ(measureText(under(metric, sep), Measure::Imperial, sep), under(imperial, sep)) << metric;
        EXPECT_EQ(measureText(under(metric, sep), Measure::Metric, sep), under(metric, sep));
    }
}
