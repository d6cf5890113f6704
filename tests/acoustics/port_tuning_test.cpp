// The port length for a target tuning, taken through the volume it changes: the box the new length
// leaves behind tunes to the target in one step.
#include "acoustics/PortTuning.h"
#include "boards/Boards.h"
#include "calc/Numeric.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace kelvra;
using kelvra::test::under;

namespace
{

struct TuningCase {
    const char* name;
    int ptype, pwhere, ports;
    const char *h2, *l3, *b2, *ca, *lp, *dp, *bp, *hp;
    double target;
};

class PortRoundTrip : public ::testing::TestWithParam<TuningCase>
{
};

TEST_P(PortRoundTrip, TheLengthTunesTheBoxItLeavesBehind)
{
    const TuningCase c = GetParam();
    for (char sep : {',', '.'}) {
        ModelInputs in;
        std::tie(in.h2, in.l3, in.b2, in.ca) =
            std::tuple(under(c.h2, sep), under(c.l3, sep), under(c.b2, sep), under(c.ca, sep));
        std::tie(in.lp, in.dp, in.bp, in.hp) =
            std::tuple(under(c.lp, sep), under(c.dp, sep), under(c.bp, sep), under(c.hp, sep));
        std::tie(in.pieces2, in.ptype, in.pwhere) = std::tuple(c.ports, c.ptype, c.pwhere);
        const Checked<double> length = designPortLengthFor(in, sep, kDefaultEndCorrection, c.target);
        ASSERT_TRUE(length) << length.error().message;
        // What the window writes into the port length box: the length to 0.1 mm.
        const double typed = roundHalfEven(*length, 2);
        const Checked<double> fb = designTuningWith(in, sep, kDefaultEndCorrection, typed);
        ASSERT_TRUE(fb) << fb.error().message;
        EXPECT_NEAR(*fb, c.target, 0.05) << typed;
        // The port's own room moves the tuning: the length differs from the one for the typed length's box.
        in.lp = formatDouble(typed, sep);
        const Checked<double> again = designPortLengthFor(in, sep, kDefaultEndCorrection, c.target);
        ASSERT_TRUE(again);
        EXPECT_NEAR(*again, *length, 1e-4);
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Acoustics, PortRoundTrip, ::testing::Values(
    TuningCase{"BigSlotInAWedge", 1, 0, 1, "38", "90", "60", "70", "20", "0", "6", "34,4", 45},
    TuningCase{"LowSlotWithStrip", 1, 0, 2, "40", "80", "50", "90", "30", "0", "4", "20", 36},
    TuningCase{"RoundTubeInTheTop", 0, 2, 1, "40", "70", "50", "80", "10", "10", "0", "0", 38},
    TuningCase{"RoundSidePortsFromNoLength", 0, 3, 2, "40", "70", "50", "90", "0", "7", "0", "0", 40}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(PortTuning, ALengthTheBoxCannotHoldIsGivenToBeRefused)
{
    ModelInputs in;
    std::tie(in.lp, in.dp, in.pieces2, in.ptype) = std::tuple("10", "10", 1, 0);
    const Checked<double> tooLow = designPortLengthFor(in, ',', kDefaultEndCorrection, 10);
    ASSERT_TRUE(tooLow);
    in.lp = formatDouble(*tooLow, ',');
    EXPECT_EQ(buildBoards(in, ',').error.fault, BoardsFault::PortTooLong);
    EXPECT_EQ(designPortLengthFor(in, ',', kDefaultEndCorrection, -1).error().field, "targetfb");
}

} // namespace
