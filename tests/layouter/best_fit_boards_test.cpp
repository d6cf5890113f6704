// The boards Best fit plans: the layouter's panels with their sizes, the port board when shown.
#include "layouter/BestFitBoards.h"

#include "calc/Recalculate.h"

#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

struct Setting {
    const char* key;
    const char* text;
};

std::vector<BestFitBoard> boardsOf(const std::vector<Setting>& settings, int portCount = 0, int portWhere = 0)
{
    ModelInputs in = firstRunInputs();
    for (const Setting& s : settings)
        textOf(in, *findModelKey(s.key)) = s.text;
    in.pieces[2] = portCount;
    in.pwhere = portWhere;
    in.sub = 0; // a 6" woofer, which every design here takes
    CalcState state;
    EXPECT_TRUE(Recalculate(makeRecalcInputs(in, true, '.'), state).ranToEnd);
    return bestFitBoards(state.derived, in.pieces[2], in.pwhere);
}

const BestFitBoard* find(const std::vector<BestFitBoard>& boards, const std::string& key)
{
    for (const BestFitBoard& b : boards)
        if (b.key == key)
            return &b;
    return nullptr;
}

void expectSize(const std::vector<BestFitBoard>& boards, const std::string& key, double width, double height)
{
    const BestFitBoard* b = find(boards, key);
    ASSERT_NE(b, nullptr) << key;
    EXPECT_NEAR(b->width, width, 1e-9) << key;
    EXPECT_NEAR(b->height, height, 1e-9) << key;
}

} // namespace

TEST(BestFitBoards, SixPanelsOfARightAngledBox)
{
    const auto boards = boardsOf({{"h2", "39"}, {"l3", "45"}, {"b2", "60.2"}});
    ASSERT_EQ(boards.size(), 6u);
    const std::vector<std::string> keys = {"front", "rear", "top", "bottom", "left", "right"};
    for (std::size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(boards[i].key, keys[i]);
    // Front and rear stand upright: 35.4 wide (innerHeight), 45 high (l3).
    expectSize(boards, "front", 35.4, 45);
    expectSize(boards, "rear", 35.4, 45);
    expectSize(boards, "top", 45, 60.2);
    expectSize(boards, "bottom", 45, 60.2);
    expectSize(boards, "left", 60.2, 35.4);
    expectSize(boards, "right", 60.2, 35.4);
}

TEST(BestFitBoards, OneRectangularPortShortensTheWallItStandsAgainst)
{
    const std::vector<Setting> port = {{"hp", "36.4"}, {"lp", "20"}, {"bp", "5"}};
    // One port (position 1) at the front as high as innerHeight: l3 40 - (1.8 + 5).
    const auto one = boardsOf(port, 1, 0);
    expectSize(one, "front", 36.4, 33.2);
    expectSize(one, "port", 36.4, 20);
    // The rear loses the same from its breadth.
    expectSize(boardsOf(port, 1, 1), "rear", 29.6, 40);
    // Two ports cut nothing, but the port board is still there.
    const auto two = boardsOf(port, 2, 0);
    expectSize(two, "front", 36.4, 40);
    EXPECT_NE(find(two, "port"), nullptr);
}

TEST(BestFitBoards, NoPortBoardWithoutARectangularPort)
{
    EXPECT_EQ(find(boardsOf({{"hp", "10"}, {"lp", "20"}}, 0), "port"), nullptr);              // no port
    EXPECT_EQ(find(boardsOf({{"hp", "10"}, {"lp", "20"}, {"dp", "8"}}, 1), "port"), nullptr); // round
    EXPECT_EQ(find(boardsOf({{"hp", "0"}, {"lp", "20"}}, 1), "port"), nullptr);
}

TEST(BestFitBoards, SlopedSidesTakeTheRealSideBoardsOrKeepTheirFirstSize)
{
    ModelInputs in = firstRunInputs();
    textOf(in, *findModelKey("ca")) = "70";
    const std::optional<SideSize> real = realSideSize(in, '.');
    ASSERT_TRUE(real.has_value());
    CalcState state;
    in.sub = 0;
    ASSERT_TRUE(Recalculate(makeRecalcInputs(in, true, '.'), state).ranToEnd);
    // The real side runs the full 40 along the bottom and stands the full 40 high.
    expectSize(bestFitBoards(state.derived, 0, 0, real), "left", 40, 40);
    expectSize(bestFitBoards(state.derived, 0, 0), "left", kUnsizedPanelCm, kUnsizedPanelCm);
    const auto boards = bestFitBoards(state.derived, 0, 0, real);
    const BestFitBoard* right = find(boards, "right");
    ASSERT_NE(right, nullptr);
    EXPECT_NEAR(right->width, state.derived.topWidth.toDouble(), 1e-9); // cb is still 90: the classic size
}
