// The woofers' cut-outs and mounting depth: placed in a row on the front, refused where they leave too
// little board or reach the wall behind, the usual cut-out only a guess that never refuses.
#include "boards/Boards.h"
#include "tests/support/MarkedRefusals.h"
#include "tests/support/SeparatorText.h"

#include <optional>
#include <tuple>

#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

struct HoleCase {
    const char* name;
    const char* ca;
    int woofers; // list position: 0 is one woofer
    const char* cutout;
    const char* mountdepth;
    std::optional<BoardsFault> refused;
    const char* named; // in the message, or in a warning when the boards are built
    int wooferHoles;
};

class Holes : public ::testing::TestWithParam<std::tuple<HoleCase, char>>
{
};

TEST_P(Holes, PlacedOrRefusedNamingTheMeasure)
{
    const auto& [c, sep] = GetParam();
    ModelInputs in = firstRunInputs();
    in.ca = c.ca;
    in.pieces0 = c.woofers;
    const BoardsResult r =
        buildBoards(in, sep, {}, {test::under(c.cutout, sep), test::under(c.mountdepth, sep)});
    ASSERT_EQ(r.ok(), !c.refused) << (r.ok() ? "" : r.error.text());
    if (c.refused) {
        EXPECT_EQ(r.error.fault, *c.refused);
        EXPECT_EQ(r.error.board, "front");
        EXPECT_NE(r.error.text().find(c.named), std::string::npos) << r.error.text();
        EXPECT_EQ(r.error.text(test::markedRefusalWords()).find(' '), std::string::npos) << r.error.text();
        return;
    }
    const Board& front = r.boards->boards.front();
    ASSERT_EQ(static_cast<int>(front.holes.size()), c.wooferHoles);
    std::string warnings;
    for (const std::string& w : r.boards->warnings)
        warnings += w;
    EXPECT_NE(warnings.find(c.named), std::string::npos) << warnings;
    // Equal gaps: the row is centred and its holes lie at half the front's breadth.
    if (!front.holes.empty()) {
        EXPECT_NEAR(front.holes.front().center.x + front.holes.back().center.x, front.length, 1e-9);
        EXPECT_NEAR(front.holes.front().center.y, front.breadth / 2, 1e-9);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Woofers, Holes,
    ::testing::Combine(
        ::testing::Values(
            HoleCase{"UsualCutoutCentred", "90", 0, "", "", std::nullopt, "", 1},
            HoleCase{"TypedCutoutAndADepthThatFits", "70", 0, "25,2", "15", std::nullopt, "", 1},
            HoleCase{"UsualCutoutsThatDoNotFitAreAGuessOnly", "90", 1, "", "", std::nullopt,
                     "does not fit on the front", 0},
            HoleCase{"TypedCutoutsSideBySide", "90", 1, "17,5", "", BoardsFault::HoleTooClose,
                     "the cut-outs side by side leave 0", 0},
            HoleCase{"TypedCutoutToTheEnds", "90", 0, "35", "", BoardsFault::HoleTooClose, "less than 1 cm",
                     0},
            HoleCase{"DepthReachesTheSlopedRear", "60", 0, "", "22", BoardsFault::WooferTooDeep,
                     "the woofer's mounting depth is 22 cm", 0},
            HoleCase{"CutoutNotANumber", "90", 0, "zes", "", BoardsFault::BadNumber, "cut-out diameter", 0}),
        ::testing::Values(',', '.')),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).name) +
               (std::get<1>(info.param) == ',' ? "Comma" : "Point");
    });

} // namespace

// Slot openings at the front's left end: a woofer row centred on the front that would cut into them
// is centred on the part they and their walls leave free, or refused when it has no room there.
TEST(HolesBesideSlots, TheWooferRowKeepsClearOfTheSlotOpenings)
{
    struct Case {
        const char* l3;
        const char* cutout;
        std::optional<double> centre; // of the woofer's cut-out, across the front
    };
    const Case cases[] = {{"80", "20", 38.2}, {"40", "20", 23.1}, {"40", "25", std::nullopt}};
    for (const Case& c : cases)
        for (char sep : {',', '.'}) {
            SCOPED_TRACE(std::string(c.l3) + " " + c.cutout + " " + sep);
            ModelInputs in = firstRunInputs();
            in.l3 = c.l3;
            in.pieces2 = 1;
            in.ptype = 1;
            in.pwhere = 0;
            in.lp = "20";
            in.bp = "8";
            in.hp = "20";
            const BoardsResult r = buildBoards(in, sep, {}, {c.cutout, ""});
            ASSERT_EQ(r.ok(), c.centre.has_value()) << (r.ok() ? "" : r.error.text());
            if (!c.centre) {
                EXPECT_EQ(r.error.fault, BoardsFault::HoleTooClose);
                EXPECT_NE(r.error.text().find("the port's openings"), std::string::npos) << r.error.text();
                continue;
            }
            const Board& front = r.boards->boards.front();
            ASSERT_EQ(front.holes.size(), 2u);
            EXPECT_NEAR(front.holes[0].center.x, *c.centre, 1e-9);
            EXPECT_GE(front.holes[0].center.x - 10, 8 + 1.8 + kHoleMargin - 1e-9); // clear of slot and wall
        }
}
