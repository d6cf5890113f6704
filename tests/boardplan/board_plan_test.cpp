// The cutting plan of the real boards: equal side trapezoids share a strip only where that saves
// sheet, and every plan is guillotine, with a kerf between all boards, on the fewest sheets.
#include "layouter/BoardPlan.h"
#include "layouter/CutPlanText.h"
#include "tests/layouter/LayouterTestSupport.h"
#include "tests/support/Joined.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <vector>

using namespace kelvra;
using kelvra::test::joined;

namespace
{

using Sets = test::Changes;

BoardPlanResult planOf(Sets sets, int sawThick = 2)
{
    sets["sub"] = "0"; // a 6" woofer fits every front here
    return planDesign(test::inputsOf(sets, '.'), '.', kerfOfSawThick(sawThick));
}

int placementOf(const CutPlan& plan, const std::string& key)
{
    for (std::size_t i = 0; i < plan.placements.size(); ++i)
        if (plan.placements[i].key == key)
            return static_cast<int>(i);
    return -1;
}

// The plan of real boards by the plan checker: each placement has the size of its board.
std::string problemsOf(const CutPlan& plan, const BoxBoards& boards)
{
    int pieces = 0;
    for (const Board& b : boards.boards)
        pieces += b.count;
    std::vector<BestFitBoard> sizes;
    for (const BoardPlacement& p : plan.placements) {
        const Board& b = boards.boards[static_cast<std::size_t>(p.board)];
        sizes.push_back({p.key, b.length, b.breadth});
    }
    return joined(test::problemsOf(plan, sizes)) +
           (static_cast<int>(sizes.size()) == pieces ? "" : "not every board piece is placed");
}

} // namespace

TEST(BoardPlan, NestedStripOfTwoTrapezoids)
{
    struct Case {
        const char* name;
        std::vector<Point2> outline;
        double kerf;
        std::optional<double> width;
    };
    // One slanted leg 40 high over 14.56: the kerf across it is 0.2 x hypot(14.56, 40) / 40 wide.
    const double slantKerf = 0.2 * std::hypot(14.56, 40) / 40;
    const std::vector<Case> cases = {
        {"rectangle does not nest", {{0, 0}, {60, 0}, {60, 40}, {0, 40}}, 0.2, std::nullopt},
        {"one slope: long and short side and the slanted kerf",
         {{0, 0}, {60, 0}, {45.44, 40}, {0, 40}},
         0.2,
         60 + 45.44 + slantKerf},
        {"two slopes: the other leg's overhang stays",
         {{0, 0}, {60, 0}, {50, 40}, {5, 40}},
         0.3,
         0.3 * std::hypot(10, 40) / 40 + 60 + 50},
        {"wider at the top", {{0, 0}, {45.44, 0}, {60, 40}, {0, 40}}, 0.2, 60 + 45.44 + slantKerf},
    };
    for (const Case& c : cases) {
        const std::optional<double> w = nestedStripWidth(c.outline, c.kerf);
        ASSERT_EQ(w.has_value(), c.width.has_value()) << c.name;
        if (w) {
            EXPECT_NEAR(*w, *c.width, 1e-9) << c.name;
        }
    }
}

TEST(BoardPlan, SideTrapezoidsShareAStripOnlyWhereThatSavesSheet)
{
    struct Case {
        const char* name;
        Sets sets;
        bool nested;
        int sheetIndex;
    };
    const std::vector<Case> cases = {
        // Side by side the two 40 cm sides never fit 61 cm; nested head to tail they do, with the
        // rest of the box, on the smallest sheet.
        {"steep sloped box fits the small sheet nested",
         {{"h2", "30"}, {"l3", "30"}, {"b2", "40"}, {"ca", "45"}},
         true,
         0},
        // At 85 degrees the slanted cut saves 3.5 cm of a strip that the 122x244 sheet does not miss:
        // apart, the boards leave the larger off-cut.
        {"slight slope stays apart", {{"ca", "85"}, {"h2", "40"}, {"b2", "40"}}, false, 1},
    };
    for (const Case& c : cases) {
        const BoardPlanResult r = planOf(c.sets);
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.text();
        const CutPlan& plan = *r.plan;
        const int left = placementOf(plan, "left"), right = placementOf(plan, "right");
        ASSERT_GE(left, 0);
        EXPECT_EQ(plan.placements[static_cast<std::size_t>(left)].nestedWith == right, c.nested) << c.name;
        EXPECT_EQ(plan.sheetIndex, c.sheetIndex) << c.name;
        EXPECT_EQ(plan.sheetCount, 1) << c.name;
        const auto parting = std::count_if(plan.cuts.begin(), plan.cuts.end(),
                                           [](const Cut& cut) { return cut.boards.size() == 2; });
        EXPECT_EQ(parting, c.nested ? 1 : 0) << c.name;
        EXPECT_EQ(problemsOf(plan, *r.boards), "") << c.name;
    }
}

TEST(BoardPlan, RealBoardPlansStayGuillotineWithTheKerf)
{
    struct Case {
        const char* name;
        Sets sets;
        int sawThick;
    };
    const std::vector<Case> cases = {
        {"default box", {}, 2},
        {"one slope", {{"ca", "70"}}, 3},
        {"two slopes, 12 mm board", {{"ca", "75"}, {"cb", "80"}, {"thick0", "12"}}, 4},
        {"near 45, 30 mm board", {{"ca", "46"}, {"h2", "35"}, {"b2", "60"}, {"thick0", "30"}}, 2},
        {"overhanging front", {{"cb", "110"}, {"h2", "35"}, {"b2", "45"}}, 3},
        // clang-format off
        {"two partitions and two slot ports",
         {{"ca", "70"}, {"pieces1", "2"}, {"pieces2", "2"}, {"ptype", "1"}, {"lp", "20"}, {"bp", "3"},
          {"hp", "20"}},
         2},
        // clang-format on
        {"large box on two sheets", {{"h2", "60"}, {"l3", "100"}, {"b2", "90"}, {"ca", "60"}}, 3},
    };
    for (const Case& c : cases) {
        const BoardPlanResult r = planOf(c.sets, c.sawThick);
        ASSERT_TRUE(r.ok()) << c.name << ": " << r.text();
        EXPECT_EQ(problemsOf(*r.plan, *r.boards), "") << c.name;
        EXPECT_NEAR(r.plan->kerf, c.sawThick / 10.0, 1e-9) << c.name;
        // Waste counts the true outlines: what the trims cut off is waste too.
        double area = 0;
        for (const Board& b : r.boards->boards) {
            double twice = 0;
            for (std::size_t i = 0; i < b.outline.size(); ++i) {
                const Point2 p = b.outline[i], q = b.outline[(i + 1) % b.outline.size()];
                twice += p.x * q.y - q.x * p.y;
            }
            area += b.count * std::abs(twice) / 2;
        }
        const double sheets = r.plan->sheetCount * r.plan->sheet.width * r.plan->sheet.height;
        EXPECT_NEAR(r.plan->wastePercent, (sheets - area) / sheets * 100, 1e-6) << c.name;
    }
}

TEST(BoardPlan, BoardsThatCannotBeBuiltGiveTheCoresError)
{
    const BoardPlanResult r = planOf({{"ca", "0"}});
    EXPECT_FALSE(r.ok());
    ASSERT_TRUE(r.boardsError.has_value());
    EXPECT_EQ(r.text(), r.boardsError->text());
    const BoardPlanResult tooLarge = planOf({{"l3", "400"}});
    EXPECT_FALSE(tooLarge.ok());
    EXPECT_FALSE(tooLarge.boardsError.has_value());
    EXPECT_EQ(tooLarge.planError.fault, BestFitFault::TooLarge);
}

TEST(BoardPlan, CutListSaysAtWhichAngleTheNestedSidesAreParted)
{
    // At 45 degrees the sides nest; the parting cut runs at 45 degrees to the strip's long edges.
    const BoardPlanResult r = planOf({{"h2", "30"}, {"l3", "30"}, {"b2", "40"}, {"ca", "45"}});
    ASSERT_TRUE(r.ok()) << r.text();
    const auto parting = std::find_if(r.plan->cuts.begin(), r.plan->cuts.end(),
                                      [](const Cut& c) { return c.boards.size() == 2; });
    ASSERT_NE(parting, r.plan->cuts.end());
    EXPECT_NEAR(parting->angle, 45, 1e-6);
    for (char sep : {',', '.'}) {
        const CutPlanText t = describeCutPlan(*r.plan, boardNames(*r.boards), sep);
        const std::string& line = t.cuts[static_cast<std::size_t>(parting->n - 1)];
        EXPECT_NE(line.find("slanted cut at 45\u00b0 to the "), std::string::npos) << line;
        EXPECT_NE(line.find("(45\u00b0 off square)"), std::string::npos) << line;
        EXPECT_NE(line.find(cutPlanNumber(parting->length, sep) + " cm long; parts Zij "), std::string::npos)
            << line;
        const std::string& left = t.boards[static_cast<std::size_t>(placementOf(*r.plan, "left"))];
        EXPECT_NE(left.find("nested head to tail with Zij rechts"), std::string::npos) << left;
    }
}

TEST(BoardPlan, CutOrderEndsWithTheBevelCutsNumberedOnAndLeavesSliversOut)
{
    // A rear-seat angle of 70: the rear's foot and head, the top's and the bottom's rear edges at 20.
    const BoardPlanResult r = planOf({{"ca", "70"}});
    ASSERT_TRUE(r.ok()) << r.text();
    for (char sep : {',', '.'}) {
        const CutPlanText t = describeBoardPlan(*r.plan, *r.boards, sep);
        ASSERT_EQ(t.cuts.size(), r.plan->cuts.size() + 4);
        for (std::size_t i = 0; i < t.cuts.size(); ++i)
            EXPECT_TRUE(t.cuts[i].starts_with(std::to_string(i + 1) + ". ")) << t.cuts[i];
        const std::string tail = cutPlanNumber(36.4, sep) + " cm): blade tilted 20\u00b0, the ";
        const std::size_t first = r.plan->cuts.size();
        EXPECT_NE(t.cuts[first].find("Bevel: Achterzijde, edge 1 (" + tail + "outer face long"),
                  std::string::npos)
            << t.cuts[first];
        EXPECT_NE(t.cuts[first + 1].find("Bevel: Achterzijde, edge 3 (" + tail + "inner face long"),
                  std::string::npos)
            << t.cuts[first + 1];
        EXPECT_NE(t.cuts[first + 2].find("Bevel: Bovenzijde, edge 1 (" + tail + "inner face long"),
                  std::string::npos);
        for (const CutPiece& o : r.plan->offcuts) {
            if (std::min(o.rect.width, o.rect.height) >= r.plan->kerf)
                continue;
            for (const std::string& line : t.offcuts)
                EXPECT_FALSE(line.starts_with("Piece " + std::to_string(o.id) + " ")) << line;
        }
    }
}
