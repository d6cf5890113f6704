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

double distanceToSegment(SheetPoint p, SheetPoint a, SheetPoint b)
{
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double t = std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
    return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
}

// The smallest distance between two convex outlines that do not overlap: between a corner of one and
// an edge of the other.
double gapBetween(const std::vector<SheetPoint>& a, const std::vector<SheetPoint>& b)
{
    double gap = 1e300;
    for (int pass = 0; pass < 2; ++pass) {
        const auto& p = pass ? b : a;
        const auto& q = pass ? a : b;
        for (const SheetPoint& v : p)
            for (std::size_t i = 0; i < q.size(); ++i)
                gap = std::min(gap, distanceToSegment(v, q[i], q[(i + 1) % q.size()]));
    }
    return gap;
}

bool separated(const CutRect& a, const CutRect& b, double kerf)
{
    constexpr double e = 1e-6;
    return a.right() + kerf <= b.left + e || b.right() + kerf <= a.left + e ||
           a.bottom() + kerf <= b.top + e || b.bottom() + kerf <= a.top + e;
}

// What is wrong with a plan of real boards; empty when it is sound.
std::vector<std::string> problemsOf(const CutPlan& plan, const BoxBoards& boards)
{
    std::vector<std::string> bad;
    constexpr double e = 1e-6;
    const double k = plan.kerf;
    int pieces = 0;
    for (const Board& b : boards.boards)
        pieces += b.count;
    if (static_cast<int>(plan.placements.size()) != pieces)
        bad.push_back("not every board piece is placed");
    for (std::size_t i = 0; i < plan.placements.size(); ++i) {
        const BoardPlacement& p = plan.placements[i];
        const CutRect& r = p.rect;
        if (r.left < -e || r.top < -e || r.right() > plan.sheet.width + e ||
            r.bottom() > plan.sheet.height + e)
            bad.push_back(p.key + " is off the sheet");
        for (const SheetPoint& q : p.outline)
            if (q.x < r.left - e || q.x > r.right() + e || q.y < r.top - e || q.y > r.bottom() + e)
                bad.push_back(p.key + " lies outside its rectangle");
        const Board& b = boards.boards[static_cast<std::size_t>(p.board)];
        const double w = std::max(r.width, r.height), h = std::min(r.width, r.height);
        if (std::abs(w - std::max(b.length, b.breadth)) > 0.006 ||
            std::abs(h - std::min(b.length, b.breadth)) > 0.006)
            bad.push_back(p.key + " has not its size");
        for (std::size_t j = i + 1; j < plan.placements.size(); ++j) {
            const BoardPlacement& o = plan.placements[j];
            if (o.sheet != p.sheet)
                continue;
            const bool nested = p.nestedWith == static_cast<int>(j);
            if (nested ? gapBetween(p.outline, o.outline) < k - 1e-4 : !separated(p.rect, o.rect, k))
                bad.push_back(p.key + " and " + o.key + " lie closer than a kerf");
        }
    }
    // The straight cuts split whole pieces from edge to edge; a slanted cut crosses only its piece and
    // keeps half a kerf from every board in it.
    std::map<int, CutRect> open;
    for (int s = 0; s < plan.sheetCount; ++s)
        open[s + 1] = {0, 0, plan.sheet.width, plan.sheet.height};
    double total = 0;
    for (const Cut& c : plan.cuts) {
        total += c.length;
        if (!c.slanted) {
            if (!open.erase(c.piece))
                bad.push_back("cut " + std::to_string(c.n) + " splits no whole piece");
            for (int part : {c.firstPart, c.secondPart})
                if (const CutPiece* p = plan.piece(part))
                    open[part] = p->rect;
            continue;
        }
        const CutPiece* piece = plan.piece(c.piece);
        if (!piece || !open.count(c.piece)) {
            bad.push_back("slanted cut " + std::to_string(c.n) + " is not in a piece cut free");
            continue;
        }
        const CutRect& r = piece->rect;
        for (const SheetPoint q : {SheetPoint{c.fromX, c.fromY}, SheetPoint{c.toX, c.toY}}) {
            const bool onEdge = std::abs(q.x - r.left) < 1e-4 || std::abs(q.x - r.right()) < 1e-4 ||
                                std::abs(q.y - r.top) < 1e-4 || std::abs(q.y - r.bottom()) < 1e-4;
            if (!onEdge)
                bad.push_back("slanted cut " + std::to_string(c.n) + " stops inside its piece");
        }
        for (const BoardPlacement& p : plan.placements)
            if (p.piece == c.piece)
                for (const SheetPoint& q : p.outline)
                    if (distanceToSegment(q, {c.fromX, c.fromY}, {c.toX, c.toY}) < k / 2 - 1e-4)
                        bad.push_back("slanted cut " + std::to_string(c.n) + " runs into " + p.key);
    }
    if (std::abs(total - plan.cutLength) > 1e-6)
        bad.push_back("total length of cut");
    for (std::size_t i = 0; i < plan.cuts.size(); ++i)
        if (plan.cuts[i].n != static_cast<int>(i) + 1)
            bad.push_back("cuts not numbered in order");
    return bad;
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
        EXPECT_EQ(joined(problemsOf(plan, *r.boards)), "") << c.name;
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
        EXPECT_EQ(joined(problemsOf(*r.plan, *r.boards)), "") << c.name;
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
