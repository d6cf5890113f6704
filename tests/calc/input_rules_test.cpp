// Whether the woofers fit the front plate, on the inner measures the size list forms.
#include "calc/InputRules.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvra;

namespace
{

struct FitCase {
    const char* name;
    int sizePosition;
    int count;
    double innerLength;
    double innerHeight;
    bool fits;
};

const FitCase kFitCases[] = {
    // 2 x 30.48 = 60.96 side by side: at least the inner length, so refused.
    {"TwoTwelvesOnSixtyCentimetres", 3, 2, 60, 36.4, false},
    {"TwoTwelvesOnSixtyOneCentimetres", 3, 2, 61, 36.4, true},
    // Exactly as large as the inner height counts as too large.
    {"FifteenAsHighAsTheFront", 4, 1, 100, 15 * 2.54, false},
    {"EighteenInTheDefaultBox", 5, 1, 36.4, 36.4, false},
    {"TenInTheDefaultBox", 2, 1, 36.4, 36.4, true},
    {"NoSizeSelectedHasNoDiameter", -1, 1, 36.4, 36.4, true},
};

class WooferFit : public ::testing::TestWithParam<FitCase>
{
};

TEST_P(WooferFit, SideBySideInTheLengthAndEachInTheHeight)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(wooferFitsFront(wooferDiameterCm(c.sizePosition), c.count, c.innerLength, c.innerHeight),
              c.fits);
}

INSTANTIATE_TEST_SUITE_P(Cases, WooferFit, ::testing::ValuesIn(kFitCases),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
