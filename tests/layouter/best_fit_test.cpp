// Best fit: every plan is a real guillotine plan of the boards, and the sheet and the largest
// off-cut it chooses are the best ones, checked against an independent grid search; the boards it
// plans for a design.
#include "layouter/BestFit.h"
#include "layouter/BestFitBoards.h"

#include "tests/layouter/LayouterTestSupport.h"
#include "tests/support/Joined.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <tuple>
#include <vector>

using namespace kelvra;
using kelvra::test::joined;

namespace
{

constexpr double kTol = 1e-6;

// A small deterministic generator, the same on every platform.
struct Lcg {
    explicit Lcg(std::uint64_t seed) : state(seed * kA + kC) {}
    std::uint32_t next() { return static_cast<std::uint32_t>((state = state * kA + kC) >> 33); }
    // A whole number of tenths of a cm in [lo, hi] cm.
    double cm(double lo, double hi)
    {
        return lo + pick(static_cast<int>(std::lround((hi - lo) * 10)) + 1) / 10.0;
    }
    int pick(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }
    static constexpr std::uint64_t kA = 6364136223846793005ull, kC = 1442695040888963407ull;
    std::uint64_t state;
};

// Sound by the plan checker, with the waste of the boards' area.
std::string problemsOf(const CutPlan& plan, const std::vector<BestFitBoard>& boards)
{
    double boardArea = 0;
    for (const BestFitBoard& b : boards)
        boardArea += b.width * b.height;
    const double sheets = plan.sheetCount * plan.sheet.width * plan.sheet.height;
    const bool waste = std::fabs(plan.wastePercent - (sheets - boardArea) / sheets * 100) < kTol;
    return joined(test::problemsOf(plan, boards)) + (waste ? "" : "waste percent");
}

// Boards sized as an enclosure's (two end panels, top and bottom, two sides, sometimes a port), or
// one to seven boards of any size.
std::vector<BestFitBoard> generated(Lcg& g, bool enclosure)
{
    std::vector<BestFitBoard> b;
    if (enclosure) {
        const double l3 = g.cm(20, 110), inner = g.cm(15, 60), top = g.cm(15, 90);
        const double bottom = g.cm(15, 90), side = g.cm(15, 60);
        b = {{"front", inner, l3},   {"rear", inner, l3}, {"top", l3, top},
             {"bottom", l3, bottom}, {"left", top, side}, {"right", top, side}};
        if (g.pick(2) == 0)
            b.push_back({"port", g.cm(2, 40), g.cm(2, 30)});
        return b;
    }
    for (int i = 0, n = 1 + g.pick(7); i < n; ++i)
        b.push_back({"b" + std::to_string(i), g.cm(1, 120), g.cm(1, 120)});
    return b;
}

// An independent search on a grid of whole units: the largest off-cut of any guillotine plan of
// `mask` in a w x h piece, cutting at every whole position; -1 when the boards do not fit.
class GridSearch
{
public:
    GridSearch(std::vector<std::pair<int, int>> boards, int kerf) : m_boards(std::move(boards)), m_kerf(kerf)
    {
    }

    long best(unsigned mask, int w, int h)
    {
        if (w <= 0 || h <= 0)
            return mask == 0 ? 0 : -1;
        if (mask == 0)
            return static_cast<long>(w) * h;
        const auto key = std::tuple{mask, w, h};
        if (auto it = m_memo.find(key); it != m_memo.end())
            return it->second;
        long result = -1;
        if (std::has_single_bit(mask)) {
            const auto [bw, bh] = m_boards[static_cast<std::size_t>(std::countr_zero(mask))];
            if ((bw == w && bh == h) || (bw == h && bh == w))
                result = 0;
        }
        for (int vertical = 0; vertical < 2; ++vertical) {
            const int across = vertical ? w : h;
            for (int x = 1; x < across; ++x) {
                const int rest = across - x - m_kerf;
                for (unsigned a = mask;; a = (a - 1) & mask) {
                    const unsigned b = mask ^ a;
                    long first = vertical ? best(a, x, h) : best(a, w, x);
                    long second =
                        rest <= 0 ? (b == 0 ? 0 : -1) : (vertical ? best(b, rest, h) : best(b, w, rest));
                    if (first >= 0 && second >= 0)
                        result = std::max({result, first, second});
                    if (a == 0)
                        break;
                }
            }
        }
        m_memo[key] = result;
        return result;
    }

private:
    std::vector<std::pair<int, int>> m_boards;
    int m_kerf;
    std::map<std::tuple<unsigned, int, int>, long> m_memo;
};

} // namespace

TEST(BestFit, GeneratedDesignsGiveSoundPlans)
{
    for (const bool enclosure : {true, false}) {
        Lcg g(enclosure ? 9 : 17);
        std::set<std::pair<int, int>> seen; // sheet size and count
        for (int design = 0; design < 200; ++design) {
            const std::vector<BestFitBoard> boards = generated(g, enclosure);
            const double kerf = kerfOfSawThick(2 + g.pick(3));
            const BestFitResult r = BestFit(boards, kerf);
            ASSERT_TRUE(r.ok()) << design << ": " << r.error.text();
            EXPECT_EQ(problemsOf(*r.plan, boards), "") << "design " << design;
            seen.emplace(r.plan->sheetIndex, r.plan->sheetCount);
        }
        // Every standard sheet is chosen, and more than one sheet.
        for (int sheet = 0; enclosure && sheet < 3; ++sheet)
            EXPECT_TRUE(seen.count({sheet, 1})) << sheet;
        EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const auto& s) { return s.second > 1; }));
    }
}

TEST(BestFit, SheetAndLargestOffcutMatchAGridSearch)
{
    // Small whole-unit designs on three made-up sheets, so that every cut position can be tried.
    const std::vector<BestFitSheet> sheets = {{10, 7}, {16, 7}, {21, 7}};
    Lcg g(3);
    for (int design = 0; design < 60; ++design) {
        const int n = 1 + g.pick(4);
        const int kerf = g.pick(2);
        std::vector<BestFitBoard> boards;
        std::vector<std::pair<int, int>> units;
        for (int i = 0; i < n; ++i) {
            const int w = 1 + g.pick(7), h = 1 + g.pick(7);
            boards.push_back({"b" + std::to_string(i), double(w), double(h)});
            units.emplace_back(w, h);
        }
        const BestFitResult r = BestFit(boards, kerf, sheets);
        ASSERT_TRUE(r.ok()) << design;
        EXPECT_EQ(problemsOf(*r.plan, boards), "") << "design " << design;

        // Expected: the smallest sheet with one plan; else fewest sheets, then the smallest.
        const unsigned all = (1u << n) - 1;
        int expectSheet = -1, expectCount = 0;
        long expectOffcut = -1;
        for (int s = 0; s < 3 && expectCount == 0; ++s) {
            GridSearch grid(units, kerf);
            const long v = grid.best(all, int(sheets[s].width), int(sheets[s].height));
            if (v >= 0)
                std::tie(expectSheet, expectCount, expectOffcut) = std::tuple{s, 1, v};
        }
        if (expectCount == 0) {
            for (int s = 0; s < 3; ++s) {
                GridSearch grid(units, kerf);
                const int W = int(sheets[s].width), H = int(sheets[s].height);
                std::vector<int> need(all + 1, 99);
                need[0] = 0;
                for (unsigned m = 1; m <= all; ++m)
                    for (unsigned part = m; part; part = (part - 1) & m)
                        if (grid.best(part, W, H) >= 0)
                            need[m] = std::min(need[m], 1 + need[m ^ part]);
                if (expectCount == 0 || need[all] < expectCount) {
                    std::tie(expectSheet, expectCount, expectOffcut) = std::tuple{s, need[all], -1L};
                    for (unsigned part = all; part; part = (part - 1) & all)
                        if (need[all ^ part] <= expectCount - 1)
                            expectOffcut = std::max(expectOffcut, grid.best(part, W, H));
                }
            }
        }
        EXPECT_EQ(r.plan->sheetIndex, expectSheet) << "design " << design;
        EXPECT_EQ(r.plan->sheetCount, expectCount) << "design " << design;
        EXPECT_NEAR(r.plan->largestOffcut(), double(expectOffcut), kTol) << "design " << design;
    }
}

TEST(BestFit, SmallCasesByHand)
{
    // Two boards of 30 x 122 with one 1 cm kerf fill 61 x 122 exactly: no kerf at the sheet edges.
    const std::vector<BestFitBoard> two = {{"a", 30, 122}, {"b", 30, 122}};
    BestFitResult r = BestFit(two, 1.0);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.plan->sheetIndex, 0);
    EXPECT_EQ(r.plan->cuts.size(), 1u);
    EXPECT_TRUE(r.plan->offcuts.empty());
    EXPECT_NEAR(r.plan->cutLength, 122, kTol);
    EXPECT_EQ(problemsOf(*r.plan, two), "");
    // One tenth of a mm more and the pair needs the next sheet.
    EXPECT_EQ(BestFit(std::vector<BestFitBoard>{{"a", 30.01, 122}, {"b", 30, 122}}, 1.0).plan->sheetIndex, 1);
    // A board that only fits turned.
    r = BestFit(std::vector<BestFitBoard>{{"long", 122, 61}}, 0.2);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.plan->sheetIndex, 0);
    EXPECT_TRUE(r.plan->placements[0].turned);
    EXPECT_TRUE(r.plan->cuts.empty());
    EXPECT_NEAR(r.plan->wastePercent, 0, kTol);
    // One 20 x 20 board on 61 x 122: the best off-cut is the full-width strip below it,
    // 61 x (122 - 20 - 0.3), cut first across the sheet; not the full-height strip beside it.
    r = BestFit(std::vector<BestFitBoard>{{"a", 20, 20}}, 0.3);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.plan->largestOffcut(), 61 * 101.7, kTol);
    EXPECT_NEAR(r.plan->placements[0].rect.left + r.plan->placements[0].rect.top, 0, kTol);
    ASSERT_EQ(r.plan->cuts.size(), 2u);
    EXPECT_FALSE(r.plan->cuts[0].vertical);
    EXPECT_NEAR(r.plan->cuts[0].length, 61, kTol);
    EXPECT_NEAR(r.plan->cuts[0].fromY, 20.15, kTol);
    EXPECT_NEAR(r.plan->cutLength, 81, kTol);
}

TEST(BestFit, RefusesWhatCannotBePlanned)
{
    struct Case {
        std::vector<BestFitBoard> boards;
        double kerf;
        BestFitFault fault;
        std::string key;
    };
    const Case cases[] = {
        {{}, 0.2, BestFitFault::NoBoards, ""},
        {{{"front", 0, 10}}, 0.2, BestFitFault::BadSize, "front"},
        {{{"a", 10, 10}, {"top", 10, -3}}, 0.2, BestFitFault::BadSize, "top"},
        {{{"left", std::nan(""), 10}}, 0.2, BestFitFault::BadSize, "left"},
        {{{"a", 10, 10}, {"rear", 123, 123}}, 0.2, BestFitFault::TooLarge, "rear"},
        {{{"a", 10, 10}}, -0.2, BestFitFault::BadKerf, ""},
        {std::vector<BestFitBoard>(11, {"x", 1, 1}), 0.2, BestFitFault::TooMany, ""},
    };
    for (const Case& c : cases) {
        const BestFitResult r = BestFit(c.boards, c.kerf);
        EXPECT_FALSE(r.ok()) << r.error.text();
        EXPECT_EQ(r.error.fault, c.fault) << r.error.text();
        EXPECT_EQ(r.error.key, c.key) << r.error.text();
        EXPECT_FALSE(r.error.text().empty());
    }
}

namespace
{

// The boards Best fit plans for the first-run design with these texts, a port count and place.
std::vector<BestFitBoard> boardsOf(const std::map<std::string, std::string>& texts, int ports = 0,
                                   int portWhere = 0)
{
    ModelInputs in = firstRunInputs();
    for (const auto& [key, text] : texts)
        textOf(in, *findModelKey(key)) = text;
    in.pieces2 = ports;
    in.pwhere = portWhere;
    in.sub = 0; // a 6" woofer fits every front here, so the recalculation runs to its end
    CalcState state;
    EXPECT_TRUE(Recalculate(makeRecalcInputs(in, true, '.'), state).ranToEnd);
    return bestFitBoards(state.derived, in.pieces2, in.pwhere);
}

std::string sizes(const std::vector<BestFitBoard>& boards)
{
    std::string out;
    for (const BestFitBoard& b : boards) {
        char text[64];
        std::snprintf(text, sizeof text, "%s %g x %g; ", b.key.c_str(), b.width, b.height);
        out += text;
    }
    return out;
}

} // namespace

TEST(BestFitBoards, PanelsOfTheDesignAndThePortBoard)
{
    // Front and rear stand upright: 35.4 wide (innerHeight), 45 high (l3).
    EXPECT_EQ(sizes(boardsOf({{"h2", "39"}, {"l3", "45"}, {"b2", "60.2"}})),
              "front 35.4 x 45; rear 35.4 x 45; top 45 x 60.2; bottom 45 x 60.2; left 60.2 x 35.4; "
              "right 60.2 x 35.4; ");
    // One port as high as innerHeight shortens the wall it stands against by 1.8 + 5; two cut nothing.
    const std::map<std::string, std::string> port = {{"hp", "36.4"}, {"lp", "20"}, {"bp", "5"}};
    EXPECT_EQ(sizes(boardsOf(port, 1, 0)).rfind("front 36.4 x 33.2; rear 36.4 x 40; ", 0), 0u);
    EXPECT_NE(sizes(boardsOf(port, 1, 0)).find("port 36.4 x 20; "), std::string::npos);
    EXPECT_NE(sizes(boardsOf(port, 1, 1)).find("rear 29.6 x 40; "), std::string::npos);
    EXPECT_NE(sizes(boardsOf(port, 2, 0)).find("front 36.4 x 40; "), std::string::npos);
    EXPECT_NE(sizes(boardsOf(port, 2, 0)).find("port "), std::string::npos);
    // No port board without a rectangular port.
    EXPECT_EQ(sizes(boardsOf({{"hp", "10"}, {"lp", "20"}}, 0)).find("port"), std::string::npos);
    EXPECT_EQ(sizes(boardsOf({{"hp", "10"}, {"lp", "20"}, {"dp", "8"}}, 1)).find("port"), std::string::npos);
    EXPECT_EQ(sizes(boardsOf({{"hp", "0"}, {"lp", "20"}}, 1)).find("port"), std::string::npos);
}

TEST(BestFitBoards, SlopedSidesTakeTheRealSideBoardsOrKeepTheirFirstSize)
{
    ModelInputs in = firstRunInputs();
    textOf(in, *findModelKey("ca")) = "70";
    in.sub = 0;
    const std::optional<SideSize> real = realSideSize(in, '.');
    ASSERT_TRUE(real.has_value());
    CalcState state;
    ASSERT_TRUE(Recalculate(makeRecalcInputs(in, true, '.'), state).ranToEnd);
    // The real side runs the full 40 along the bottom and stands the full 40 high; the right keeps
    // the classic size while cb is 90.
    const std::vector<BestFitBoard> boards = bestFitBoards(state.derived, 0, 0, real);
    EXPECT_NEAR(boards[4].width, 40, 1e-9);
    EXPECT_NEAR(boards[4].height, 40, 1e-9);
    EXPECT_NEAR(boards[5].width, state.derived.topWidth.toDouble(), 1e-9);
    EXPECT_NEAR(bestFitBoards(state.derived, 0, 0)[4].width, kUnsizedPanelCm, 1e-9);
}
