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
