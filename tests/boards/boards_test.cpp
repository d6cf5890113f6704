// The boards a builder takes to the saw: sizes, trapezoid sides, bevels, the port that must fit, bad
// measures and the exact volume beside the main window's.
#include "boards/Boards.h"
#include "tests/support/MarkedRefusals.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

using namespace kelvra;
using kelvra::test::under;

namespace
{

// The design with the given texts ("," is the decimal separator) for h2, l3, b2, ca, cb.
ModelInputs design(const char* h2, const char* l3, const char* b2, const char* ca, const char* cb, char sep)
{
    ModelInputs in;
    std::tie(in.h2, in.l3, in.b2, in.ca, in.cb) =
        std::tuple(under(h2, sep), under(l3, sep), under(b2, sep), under(ca, sep), under(cb, sep));
    return in;
}

double edgeLength(const Board& b, std::size_t i)
{
    const Point2 p = b.outline[i], q = b.outline[(i + 1) % b.outline.size()];
    return std::hypot(q.x - p.x, q.y - p.y);
}

class Separators : public ::testing::TestWithParam<char>
{
};

TEST_P(Separators, DefaultBoxSidesRunThroughAndTheRestSitsBetween)
{
    const BoardsResult r = buildBoards(design("40", "40", "40,0", "90", "90", GetParam()), GetParam());
    ASSERT_TRUE(r.ok()) << r.error.text();
    struct Expected {
        const char* key;
        const char* name;
        double length, breadth;
    };
    // 40 cm outside with 18 mm boards: the sides cover all, the others are 2 x 1.8 cm shorter.
    const Expected expected[] = {{"front", "Voorzijde", 36.4, 36.4}, {"rear", "Achterzijde", 36.4, 36.4},
                                 {"top", "Bovenzijde", 36.4, 40},    {"bottom", "Onderzijde", 36.4, 40},
                                 {"left", "Zij links", 40, 40},      {"right", "Zij rechts", 40, 40}};
    ASSERT_EQ(r.boards->boards.size(), 6u);
    for (std::size_t i = 0; i < 6; ++i) {
        const Board& b = r.boards->boards[i];
        EXPECT_EQ(b.key, expected[i].key);
        EXPECT_EQ(b.name, expected[i].name);
        EXPECT_EQ(b.count, 1);
        EXPECT_EQ(b.thicknessMm, 18);
        EXPECT_DOUBLE_EQ(b.length, expected[i].length) << b.key;
        EXPECT_DOUBLE_EQ(b.breadth, expected[i].breadth) << b.key;
        EXPECT_FALSE(b.isTrapezoid()) << b.key;
        for (const Bevel& v : b.bevels)
            EXPECT_EQ(v.degrees, 0) << b.key;
    }
    EXPECT_NEAR(r.boards->innerVolumeExact, 48.228544, 1e-9);
    EXPECT_NEAR(r.boards->netVolumeExact, 46.228544, 1e-9);
}

TEST_P(Separators, SlopedBoxHasTrapezoidSidesAndBevels)
{
    // Rear-seat angle 70: h2 39, b2 60,2, 18 mm. By hand: cot 70 = 0.363970, sin 70 = 0.939693.
    const BoardsResult r = buildBoards(design("39", "45", "60,2", "70", "90", GetParam()), GetParam());
    ASSERT_TRUE(r.ok()) << r.error.text();
    const std::vector<Board>& b = r.boards->boards;
    const Board& left = b[4];
    ASSERT_TRUE(left.isTrapezoid());
    ASSERT_EQ(left.outline.size(), 4u);
    EXPECT_NEAR(edgeLength(left, 0), 60.2, 1e-9);     // bottom
    EXPECT_NEAR(edgeLength(left, 1), 39, 1e-9);       // front, square
    EXPECT_NEAR(edgeLength(left, 2), 46.00516, 1e-5); // top: 60.2 - 39 cot 70
    EXPECT_NEAR(edgeLength(left, 3), 41.50293, 1e-5); // rear: 39 / sin 70
    EXPECT_DOUBLE_EQ(left.length, 60.2);
    EXPECT_DOUBLE_EQ(left.breadth, 39);
    // The rear board's blank: 35.4 / sin 70 along the slope plus the bevel's run 1.8 cot 70.
    EXPECT_DOUBLE_EQ(b[1].breadth, 38.33);
    EXPECT_DOUBLE_EQ(b[1].bevels[0].degrees, 20); // foot
    EXPECT_DOUBLE_EQ(b[1].bevels[2].degrees, 20); // head
    // The top's blank from the rear's outer face at 37.2 cm up to the square front.
    EXPECT_DOUBLE_EQ(b[2].breadth, 46.66);
    EXPECT_DOUBLE_EQ(b[2].bevels[0].degrees, 20);
    EXPECT_DOUBLE_EQ(b[2].bevels[2].degrees, 0);
    EXPECT_DOUBLE_EQ(b[3].breadth, 60.2);
    EXPECT_DOUBLE_EQ(b[0].breadth, 35.4);
    EXPECT_DOUBLE_EQ(b[0].bevels[0].degrees, 0);
    // Exact air 72.3797 litres less the 10" woofer's 2.
    EXPECT_NEAR(r.boards->innerVolumeExact, 72.3797, 1e-4);
    EXPECT_NEAR(r.boards->netVolumeExact, 70.3797, 1e-4);
}

INSTANTIATE_TEST_SUITE_P(Boards, Separators, ::testing::Values(',', '.'), kelvra::test::SeparatorName{});

struct BevelCase {
    const char* name;
    const char* ca;
    double degrees;
    bool beyondSaw;
    double complementary;
};

class RearBevel : public ::testing::TestWithParam<BevelCase>
{
};

TEST_P(RearBevel, TiltFromSquareAndTheCutBeyondTheSaw)
{
    const BevelCase c = GetParam();
    const BoardsResult r = buildBoards(design("20", "40", "80", c.ca, "90", ','), ',');
    ASSERT_TRUE(r.ok()) << r.error.text();
    const Bevel foot = r.boards->boards[1].bevels[0];
    EXPECT_DOUBLE_EQ(foot.degrees, c.degrees);
    EXPECT_EQ(foot.beyondSaw, c.beyondSaw);
    EXPECT_DOUBLE_EQ(foot.complementary, c.complementary);
    EXPECT_DOUBLE_EQ(r.boards->boards[3].bevels[0].degrees, c.degrees); // the bottom's rear edge
}

INSTANTIATE_TEST_SUITE_P(Boards, RearBevel,
                         ::testing::Values(BevelCase{"Square", "90", 0, false, 0},
                                           BevelCase{"Seventy", "70", 20, false, 0},
                                           BevelCase{"Overhanging", "100", 10, false, 0},
                                           BevelCase{"JustUnder45", "44,96", 45, false, 0},
                                           BevelCase{"Forty", "40", 50, true, 40}),
                         [](const auto& info) { return std::string(info.param.name); });

struct RefusalCase {
    const char* name;
    std::vector<std::pair<const char*, const char*>> texts; // model key, text
    std::array<int, 4> lists;                               // ports, ptype, pwhere, partitions
    BoardsFault fault;
    const char* board;
    const char* measure; // part of the message
};

class Refusal : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(Refusal, NamesTheBoardAndTheMeasure)
{
    const RefusalCase c = GetParam();
    for (char sep : {',', '.'}) {
        ModelInputs in;
        for (const auto& [box, text] : c.texts)
            textOf(in, *findModelKey(box)) = under(text, sep);
        in.pieces2 = c.lists[0];
        in.ptype = c.lists[1];
        in.pwhere = c.lists[2];
        in.pieces1 = c.lists[3];
        const BoardsResult r = buildBoards(in, sep);
        ASSERT_FALSE(r.ok()) << sep;
        EXPECT_EQ(r.error.fault, c.fault) << r.error.text();
        EXPECT_EQ(r.error.board, c.board);
        EXPECT_NE(r.error.text().find(under(c.measure, sep)), std::string::npos) << r.error.text();
        EXPECT_EQ(r.error.text(test::markedRefusalWords()).find(' '), std::string::npos) << r.error.text();
    }
}

using F = BoardsFault;
// clang-format off
const RefusalCase kRefusals[] = {
    // A 40 cm slot in a wedge that is 14 cm deep inside at the top.
    {"SlotLongerThanTheWedgeIsDeep", {{"ca", "60"}, {"lp", "40"}, {"bp", "5"}, {"hp", "36,4"}}, {1, 1, 0, 0},
     F::PortTooLong, "port", "the port length lp is 40 cm"},
    {"SlotHigherThanTheInside", {{"lp", "20"}, {"bp", "5"}, {"hp", "36,5"}}, {1, 1, 1, 0},
     F::PortTooHigh, "port", "the port height hp"},
    {"FiveSlotsWiderThanTheFront", {{"lp", "20"}, {"bp", "6"}, {"hp", "30"}}, {5, 1, 0, 0},
     F::PortTooWide, "port", "widths"},
    {"SlotsRunIntoAPartition", {{"lp", "20"}, {"bp", "8"}, {"hp", "36,4"}}, {2, 1, 0, 3},
     F::PortTooWide, "port", "partition wall 1"},
    {"RoundPortLongerThanTheBox", {{"lp", "50,5"}, {"dp", "10"}}, {1, 0, 3, 0}, F::PortTooLong, "port",
     "the port length lp"},
    {"RoundPortWiderThanTheTop", {{"ca", "60"}, {"lp", "10"}, {"dp", "15"}}, {1, 0, 2, 0},
     F::PortTooHigh, "port", "the port diameter dp"},
    {"StripDoesNotFitAboveTheSlot", {{"lp", "20"}, {"bp", "5"}, {"hp", "35,5"}}, {1, 1, 0, 0},
     F::PortTooHigh, "port", "closing strip is 37,3 cm"},
    {"PortNoLongerThanItsPanel", {{"lp", "1,5"}, {"bp", "5"}, {"hp", "36,4"}}, {1, 1, 0, 0}, F::TooThick,
     "port", "the carrying panel's thickness is 1,8 cm"},
    {"ZeroRearAngle", {{"ca", "0"}}, {0, 1, 0, 0}, F::ZeroAngle, "rear", "rear-seat angle"},
    {"FrontAngleOf180", {{"cb", "180"}}, {0, 1, 0, 0}, F::BadAngle, "front", "front angle"},
    {"AngleNotANumber", {{"cb", "9O"}}, {0, 1, 0, 0}, F::BadNumber, "front", "not a number"},
    {"EndsCrossBelowTheTop", {{"ca", "30"}}, {0, 1, 0, 0}, F::TopCrossed, "top", "cross below the top"},
    {"EndsCrossInsideTheBoards", {{"ca", "64"}, {"cb", "64"}}, {0, 1, 0, 0}, F::TopCrossed, "top",
     "cross inside the boards"},
    {"BoardThickerThanHalfTheHeight", {{"h2", "30"}, {"thick0", "150"}}, {0, 1, 0, 0}, F::TooThick, "bottom",
     "the height h2 of 30 cm"},
    {"BoardThickerThanHalfTheWidth", {{"b2", "3,5"}}, {0, 1, 0, 0},
     F::TooThick, "bottom", "the width b2 of 3,5 cm"},
    {"PartitionsFillTheBox", {{"thick1", "100"}}, {0, 1, 0, 4}, F::TooThick, "partition1",
     "partition walls together"},
    {"NegativeHeight", {{"h2", "-40"}}, {0, 1, 0, 0}, F::NotPositive, "top", "height h2"},
    {"HugeWidthMakesNoNonsense", {{"b2", "1e300"}, {"ca", "1e-300"}}, {0, 1, 0, 0}, F::TopCrossed, "top",
     "cross below"}};
// clang-format on

INSTANTIATE_TEST_SUITE_P(Boards, Refusal, ::testing::ValuesIn(kRefusals),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Boards, SlotPortWallPartitionsAndRoundHole)
{
    ModelInputs in = design("40", "60", "40", "90", "90", ',');
    // One woofer, two partitions, two slot ports as high as the inside.
    std::tie(in.lp, in.bp, in.hp, in.thick1, in.thick2) = std::tuple("20", "5", "36,4", "12", "15");
    std::tie(in.pieces0, in.pieces1, in.pieces2, in.ptype) = std::tuple(0, 2, 2, 1);
    const BoardsResult r = buildBoards(in, ',');
    ASSERT_TRUE(r.ok()) << r.error.text();
    const std::vector<Board>& b = r.boards->boards;
    ASSERT_EQ(b.size(), 9u);
    EXPECT_EQ(b[6].key, "port");
    EXPECT_EQ(b[6].count, 2);
    EXPECT_EQ(b[6].thicknessMm, 15);
    EXPECT_DOUBLE_EQ(b[6].length, 18.2); // lp from the front's outer face, less the front's 1,8
    EXPECT_DOUBLE_EQ(b[6].breadth, 36.4);
    EXPECT_EQ(b[7].key, "partition1");
    EXPECT_EQ(b[8].key, "partition2");
    EXPECT_EQ(b[8].thicknessMm, 12);
    EXPECT_DOUBLE_EQ(b[8].length, 36.4);
    ASSERT_TRUE(r.boards->portSlot);
    EXPECT_EQ(r.boards->portSlot->panelKey, "front");
    EXPECT_TRUE(r.boards->warnings.empty());
    // Two slots of 18,2 x 36,4 with their 1,5 cm walls, two partitions of 1,2 x 36,4 x 36,4 and the
    // woofer's 2 litres.
    const double air = 36.4 * 36.4 * 56.4 - 2 * 18.2 * 6.5 * 36.4 - 2 * 1.2 * 36.4 * 36.4 - 2000;
    EXPECT_NEAR(r.boards->netVolumeExact, air / 1000, 1e-6);

    in.ptype = 0;
    in.dp = "10";
    const BoardsResult round = buildBoards(in, ',');
    ASSERT_TRUE(round.ok()) << round.error.text();
    EXPECT_EQ(round.boards->boards.size(), 8u); // no port wall
    ASSERT_TRUE(round.boards->portHole);
    EXPECT_DOUBLE_EQ(round.boards->portHole->diameter, 10);
    EXPECT_EQ(round.boards->portHole->count, 2);
}

// The port as it is built in the default 40 x 40 x 40 box of 18 mm board: lp runs from the carrying
// panel's outer face, so 1,8 cm of it lies in the panel.
struct PortCase {
    const char* name;
    int ptype, pwhere;
    const char *lp, *bp, *hp, *dp;
    double wallLength, wallBreadth;   // 0: no wall
    double stripLength, stripBreadth; // 0: no strip
    double net;                       // litres: 46,228544 less the port's air and wood
    double clearance;
    bool warned;
};

class PortAsBuilt : public ::testing::TestWithParam<PortCase>
{
};

TEST_P(PortAsBuilt, BoardsVolumeAndClearance)
{
    const PortCase c = GetParam();
    for (char sep : {',', '.'}) {
        ModelInputs in;
        std::tie(in.lp, in.bp, in.hp, in.dp) =
            std::tuple(under(c.lp, sep), under(c.bp, sep), under(c.hp, sep), under(c.dp, sep));
        std::tie(in.pieces2, in.ptype, in.pwhere) = std::tuple(1, c.ptype, c.pwhere);
        const BoardsResult r = buildBoards(in, sep);
        ASSERT_TRUE(r.ok()) << r.error.text();
        const std::vector<Board>& b = r.boards->boards;
        ASSERT_EQ(b.size(), 6u + (c.wallLength > 0) + (c.stripLength > 0));
        if (c.wallLength > 0) {
            EXPECT_EQ(b[6].key, "port");
            EXPECT_DOUBLE_EQ(b[6].length, c.wallLength);
            EXPECT_DOUBLE_EQ(b[6].breadth, c.wallBreadth);
        }
        if (c.stripLength > 0) {
            EXPECT_EQ(b[7].key, "portstrip");
            EXPECT_EQ(b[7].name, "Poortstrook");
            EXPECT_EQ(b[7].thicknessMm, 18);
            EXPECT_DOUBLE_EQ(b[7].length, c.stripLength);
            EXPECT_DOUBLE_EQ(b[7].breadth, c.stripBreadth);
        }
        EXPECT_NEAR(r.boards->netVolumeExact, c.net, 1e-6);
        ASSERT_TRUE(r.boards->portClearance);
        EXPECT_NEAR(*r.boards->portClearance, c.clearance, 1e-9);
        EXPECT_EQ(r.boards->clearanceWarning.has_value(), c.warned);
        if (c.warned) {
            EXPECT_NE(r.boards->clearanceWarning->find(under("ends 2,2 cm", sep)), std::string::npos)
                << *r.boards->clearanceWarning;
        }
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Boards, PortAsBuilt, ::testing::Values(
    // A slot 20 high closed by a strip of 5 + 1,8 over it: (5 + 1,8) x (20 + 1,8) x 18,2 taken.
    PortCase{"LowFrontSlotWithStrip", 1, 0, "20", "5", "20", "0", 18.2, 20, 18.2, 6.8,
             46.228544 - 6.8 * 21.8 * 18.2 / 1000, 18.2, false},
    PortCase{"FullHeightRearSlot", 1, 1, "20", "5", "36,4", "0", 18.2, 36.4, 0, 0,
             46.228544 - 6.8 * 36.4 * 18.2 / 1000, 18.2, false},
    // From the top down: the wall is hp across and 13,2 deep, its strip stands beside it.
    PortCase{"TopSlotWithStrip", 1, 2, "15", "4", "20", "0", 20, 13.2, 13.2, 5.8,
             46.228544 - 5.8 * 21.8 * 13.2 / 1000, 23.2, false},
    PortCase{"RoundFrontTube", 0, 0, "20", "0", "0", "10", 0, 0, 0, 0,
             46.228544 - 3.14159265358979 / 4 * 100 * 18.2 / 1000, 18.2, false},
    // 34,2 cm inside a box 36,4 deep leaves 2,2 cm where the slot's 5 cm is needed.
    PortCase{"SlotTooNearTheRear", 1, 0, "36", "5", "36,4", "0", 34.2, 36.4, 0, 0,
             46.228544 - 6.8 * 36.4 * 34.2 / 1000, 2.2, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(Boards, NamesComeFromTheFiguresCaptionsTrimmed)
{
    const std::vector<std::string> names = {" Front ", " Rear ", "Top ", "Bottom ", "Left", "Right", "Port"};
    const BoardsResult r = buildBoards(ModelInputs{}, ',', names);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.boards->boards[0].name, "Front");
    EXPECT_EQ(r.boards->boards[5].name, "Right");
}

} // namespace
