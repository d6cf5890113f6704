// Best fit: every plan is a real guillotine plan of the boards, and the sheet and the largest
// off-cut it chooses are the best ones, checked against an independent grid search.
#include "layouter/BestFit.h"
#include "layouter/BestFitBoards.h"

#include "calc/Recalculate.h"
#include "tests/support/Joined.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

using namespace kelvra;
using kelvra::test::joined;

namespace
{

constexpr double kTol = 1e-6;

// A small deterministic generator, the same on every platform.
class Lcg
{
public:
    explicit Lcg(std::uint64_t seed) : m_state(seed * 6364136223846793005ull + 1442695040888963407ull) {}
    std::uint32_t next()
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return static_cast<std::uint32_t>(m_state >> 33);
    }
    // A whole number of tenths of a cm in [lo, hi] cm.
    double cm(double lo, double hi)
    {
        const auto span = static_cast<std::uint32_t>(std::lround((hi - lo) * 10)) + 1;
        return lo + static_cast<double>(next() % span) / 10.0;
    }
    int pick(int n) { return static_cast<int>(next() % static_cast<std::uint32_t>(n)); }

private:
    std::uint64_t m_state;
};

bool near(double a, double b)
{
    return std::fabs(a - b) < kTol;
}

bool inside(const CutRect& inner, const CutRect& outer)
{
    return inner.left >= outer.left - kTol && inner.top >= outer.top - kTol &&
           inner.right() <= outer.right() + kTol && inner.bottom() <= outer.bottom() + kTol;
}

bool sameRect(const CutRect& a, const CutRect& b)
{
    return near(a.left, b.left) && near(a.top, b.top) && near(a.width, b.width) && near(a.height, b.height);
}

// Checks a plan on its own terms and returns what is wrong with it, empty when it is sound.
std::vector<std::string> problemsOf(const CutPlan& plan, const std::vector<BestFitBoard>& boards, double kerf)
{
    std::vector<std::string> bad;
    const CutRect sheet{0, 0, plan.sheet.width, plan.sheet.height};
    if (plan.sheetCount < 1)
        bad.push_back("no sheet");
    // Every board once, with its size, inside its sheet.
    if (plan.placements.size() != boards.size())
        bad.push_back("placements " + std::to_string(plan.placements.size()));
    for (std::size_t i = 0; i < plan.placements.size() && i < boards.size(); ++i) {
        const BoardPlacement& p = plan.placements[i];
        const BestFitBoard& b = boards[i];
        if (p.key != b.key || p.board != static_cast<int>(i))
            bad.push_back("board " + b.key + " out of order");
        const double w = p.turned ? b.height : b.width;
        const double h = p.turned ? b.width : b.height;
        if (!near(p.rect.width, w) || !near(p.rect.height, h))
            bad.push_back(b.key + " has the wrong size");
        if (!inside(p.rect, sheet) || p.sheet < 0 || p.sheet >= plan.sheetCount)
            bad.push_back(b.key + " is off the sheet");
    }
    // No overlaps, and a kerf between any two boards on one sheet.
    for (std::size_t i = 0; i < plan.placements.size(); ++i)
        for (std::size_t j = i + 1; j < plan.placements.size(); ++j) {
            const BoardPlacement& a = plan.placements[i];
            const BoardPlacement& b = plan.placements[j];
            if (a.sheet != b.sheet)
                continue;
            const bool apart =
                a.rect.right() + kerf <= b.rect.left + kTol || b.rect.right() + kerf <= a.rect.left + kTol ||
                a.rect.bottom() + kerf <= b.rect.top + kTol || b.rect.bottom() + kerf <= a.rect.top + kTol;
            if (!apart)
                bad.push_back(a.key + " and " + b.key + " lie closer than a kerf");
        }
    // Replay the cuts: each splits a whole piece from edge to edge into the parts it names.
    std::map<int, CutRect> open; // pieces not yet split
    std::map<int, int> sheetOf;
    for (int s = 0; s < plan.sheetCount; ++s) {
        open[s + 1] = sheet;
        sheetOf[s + 1] = s;
    }
    double total = 0;
    int n = 0;
    for (const Cut& c : plan.cuts) {
        ++n;
        if (c.n != n)
            bad.push_back("cut numbers out of order at " + std::to_string(c.n));
        const auto it = open.find(c.piece);
        if (it == open.end()) {
            bad.push_back("cut " + std::to_string(c.n) + " splits no open piece");
            continue;
        }
        const CutRect r = it->second;
        const int s = sheetOf[c.piece];
        open.erase(it);
        if (c.sheet != s)
            bad.push_back("cut " + std::to_string(c.n) + " on the wrong sheet");
        const double across = c.vertical ? r.width : r.height;
        if (c.offset <= kTol || c.offset >= across - kTol)
            bad.push_back("cut " + std::to_string(c.n) + " is not inside its piece");
        CutRect first = r;
        CutRect second = r;
        if (c.vertical) {
            first.width = c.offset;
            second.left = r.left + c.offset + kerf;
            second.width = r.width - c.offset - kerf;
            if (!near(c.fromY, r.top) || !near(c.toY, r.bottom()) || !near(c.fromX, c.toX) ||
                c.fromX < r.left + c.offset - kTol ||
                c.fromX > std::min(r.right(), r.left + c.offset + kerf) + kTol)
                bad.push_back("cut " + std::to_string(c.n) + " does not run through its piece");
            if (!near(c.length, r.height))
                bad.push_back("cut " + std::to_string(c.n) + " has the wrong length");
        } else {
            first.height = c.offset;
            second.top = r.top + c.offset + kerf;
            second.height = r.height - c.offset - kerf;
            if (!near(c.fromX, r.left) || !near(c.toX, r.right()) || !near(c.fromY, c.toY) ||
                c.fromY < r.top + c.offset - kTol ||
                c.fromY > std::min(r.bottom(), r.top + c.offset + kerf) + kTol)
                bad.push_back("cut " + std::to_string(c.n) + " does not run through its piece");
            if (!near(c.length, r.width))
                bad.push_back("cut " + std::to_string(c.n) + " has the wrong length");
        }
        total += c.length;
        for (const auto& [id, rect] : {std::pair{c.firstPart, first}, std::pair{c.secondPart, second}}) {
            if (id < 0)
                continue;
            const CutPiece* p = plan.piece(id);
            if (!p || !sameRect(p->rect, rect) || open.count(id) || sheetOf.count(id))
                bad.push_back("cut " + std::to_string(c.n) + " makes a wrong part " + std::to_string(id));
            open[id] = rect;
            sheetOf[id] = s;
        }
        if (c.secondPart < 0 && (c.vertical ? second.width : second.height) > kTol)
            bad.push_back("cut " + std::to_string(c.n) + " loses a part");
    }
    if (!near(total, plan.cutLength))
        bad.push_back("total cut length " + std::to_string(plan.cutLength) + " is not " +
                      std::to_string(total));
    // After the last cut each board is a piece of its own, and the rest are the off-cuts.
    std::set<int> boardPieces;
    for (const BoardPlacement& p : plan.placements) {
        int found = 0;
        for (const auto& [id, rect] : open)
            if (sheetOf[id] == p.sheet && sameRect(rect, p.rect)) {
                found = id;
                break;
            }
        if (found == 0)
            bad.push_back(p.key + " is not cut free");
        else
            boardPieces.insert(found);
    }
    std::set<int> offcutIds;
    double previous = 1e300;
    for (const CutPiece& o : plan.offcuts) {
        offcutIds.insert(o.id);
        if (o.rect.area() > previous + kTol)
            bad.push_back("off-cuts not largest first");
        previous = o.rect.area();
    }
    for (const auto& [id, rect] : open)
        if (!boardPieces.count(id) && !offcutIds.count(id))
            bad.push_back("left-over piece " + std::to_string(id) + " is not listed");
    if (offcutIds.size() + boardPieces.size() != open.size())
        bad.push_back("off-cut list does not match the pieces left");
    double boardArea = 0;
    for (const BestFitBoard& b : boards)
        boardArea += b.width * b.height;
    const double sheets = plan.sheetCount * plan.sheet.width * plan.sheet.height;
    if (std::fabs(plan.wastePercent - (sheets - boardArea) / sheets * 100) > 1e-6)
        bad.push_back("waste percent");
    return bad;
}

// Boards sized as an enclosure's: two end panels, top and bottom, two sides, sometimes a port.
std::vector<BestFitBoard> enclosureBoards(Lcg& g)
{
    const double l3 = g.cm(20, 110);
    const double inner = g.cm(15, 60);
    const double top = g.cm(15, 90);
    const double bottom = g.cm(15, 90);
    const double side = g.cm(15, 60);
    std::vector<BestFitBoard> b = {{"front", inner, l3},   {"rear", inner, l3}, {"top", l3, top},
                                   {"bottom", l3, bottom}, {"left", top, side}, {"right", top, side}};
    if (g.pick(2) == 0)
        b.push_back({"port", g.cm(2, 40), g.cm(2, 30)});
    return b;
}

std::vector<BestFitBoard> randomBoards(Lcg& g)
{
    std::vector<BestFitBoard> b;
    const int n = 1 + g.pick(7);
    for (int i = 0; i < n; ++i)
        b.push_back({"b" + std::to_string(i), g.cm(1, 120), g.cm(1, 120)});
    return b;
}

double kerfOf(Lcg& g)
{
    return kerfOfSawThick(2 + g.pick(3));
}

} // namespace

TEST(BestFit, GeneratedEnclosuresGiveSoundPlans)
{
    Lcg g(9);
    std::set<std::pair<int, int>> seen; // sheet size and count
    for (int design = 0; design < 200; ++design) {
        const std::vector<BestFitBoard> boards = enclosureBoards(g);
        const double kerf = kerfOf(g);
        const BestFitResult r = BestFit(boards, kerf);
        ASSERT_TRUE(r.ok()) << design << ": " << r.error.text();
        EXPECT_EQ(joined(problemsOf(*r.plan, boards, kerf)), "") << "design " << design;
        seen.emplace(r.plan->sheetIndex, r.plan->sheetCount);
    }
    // Small, middle and large designs: every standard sheet is chosen, and more than one sheet.
    for (const auto& expected : {std::pair{0, 1}, std::pair{1, 1}, std::pair{2, 1}})
        EXPECT_TRUE(seen.count(expected)) << expected.first << " x " << expected.second;
    EXPECT_TRUE(std::any_of(seen.begin(), seen.end(), [](const auto& s) { return s.second > 1; }));
}

TEST(BestFit, GeneratedBoardsOfAnySizeGiveSoundPlans)
{
    Lcg g(17);
    int multiSheet = 0;
    for (int design = 0; design < 200; ++design) {
        const std::vector<BestFitBoard> boards = randomBoards(g);
        const double kerf = kerfOf(g);
        const BestFitResult r = BestFit(boards, kerf);
        ASSERT_TRUE(r.ok()) << design << ": " << r.error.text();
        EXPECT_EQ(joined(problemsOf(*r.plan, boards, kerf)), "") << "design " << design;
        multiSheet += r.plan->sheetCount > 1;
    }
    EXPECT_GT(multiSheet, 0); // the set includes designs that need more than one sheet
}

namespace
{

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
            const int w = 1 + g.pick(7);
            const int h = 1 + g.pick(7);
            boards.push_back({"b" + std::to_string(i), double(w), double(h)});
            units.emplace_back(w, h);
        }
        const BestFitResult r = BestFit(boards, kerf, sheets);
        ASSERT_TRUE(r.ok()) << design;
        EXPECT_EQ(joined(problemsOf(*r.plan, boards, kerf)), "") << "design " << design;

        // Expected: the smallest sheet with one plan; else fewest sheets, then the smallest.
        const unsigned all = (1u << n) - 1;
        int expectSheet = -1;
        int expectCount = 0;
        long expectOffcut = -1;
        for (int s = 0; s < 3 && expectCount == 0; ++s) {
            GridSearch grid(units, kerf);
            const long v = grid.best(all, int(sheets[s].width), int(sheets[s].height));
            if (v >= 0) {
                expectSheet = s;
                expectCount = 1;
                expectOffcut = v;
            }
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
                    expectSheet = s;
                    expectCount = need[all];
                    expectOffcut = -1;
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

TEST(BestFit, ExactFitsUseTheWholeSheetWithoutEdgeKerfs)
{
    // Two boards of 30 x 122 with one 1 cm kerf fill 61 x 122 exactly: no kerf at the sheet edges.
    const std::vector<BestFitBoard> two = {{"a", 30, 122}, {"b", 30, 122}};
    const BestFitResult r = BestFit(two, 1.0);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.plan->sheetIndex, 0);
    EXPECT_EQ(r.plan->sheetCount, 1);
    ASSERT_EQ(r.plan->cuts.size(), 1u);
    EXPECT_TRUE(r.plan->offcuts.empty());
    EXPECT_NEAR(r.plan->cutLength, 122, kTol);
    EXPECT_EQ(joined(problemsOf(*r.plan, two, 1.0)), "");
    // One tenth of a mm more and the pair needs the next sheet.
    const std::vector<BestFitBoard> wider = {{"a", 30.01, 122}, {"b", 30, 122}};
    const BestFitResult w = BestFit(wider, 1.0);
    ASSERT_TRUE(w.ok());
    EXPECT_EQ(w.plan->sheetIndex, 1);
}

TEST(BestFit, TurnsBoardsThatOnlyFitTurned)
{
    const std::vector<BestFitBoard> boards = {{"long", 122, 61}};
    const BestFitResult r = BestFit(boards, 0.2);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.plan->sheetIndex, 0);
    EXPECT_TRUE(r.plan->placements[0].turned);
    EXPECT_TRUE(r.plan->cuts.empty());
    EXPECT_NEAR(r.plan->wastePercent, 0, kTol);
}

TEST(BestFit, KeepsTheBiggestOffcut)
{
    // One 20 x 20 board on 61 x 122: the best off-cut is the full-width strip below it,
    // 61 x (122 - 20 - 0.3), not the full-height strip beside it.
    const std::vector<BestFitBoard> boards = {{"a", 20, 20}};
    const BestFitResult r = BestFit(boards, 0.3);
    ASSERT_TRUE(r.ok());
    EXPECT_NEAR(r.plan->largestOffcut(), 61 * 101.7, 1e-6);
    EXPECT_NEAR(r.plan->placements[0].rect.left, 0, kTol);
    EXPECT_NEAR(r.plan->placements[0].rect.top, 0, kTol);
    ASSERT_EQ(r.plan->cuts.size(), 2u);
    EXPECT_FALSE(r.plan->cuts[0].vertical); // the long rip across the sheet first
    EXPECT_NEAR(r.plan->cuts[0].length, 61, kTol);
    EXPECT_NEAR(r.plan->cuts[0].fromY, 20.15, kTol);
    EXPECT_NEAR(r.plan->cuts[1].length, 20, kTol);
    EXPECT_NEAR(r.plan->cutLength, 81, kTol);
}

TEST(BestFit, OneSheetBeforeFewerSheetsBeforeSmallerSheets)
{
    struct Case {
        const char* name;
        double width, height;
        int boards;
        int sheetIndex, sheetCount;
    };
    const std::vector<Case> cases = {
        // 3 x 100 + 2 kerfs = 300.8 fits on 122x305, although 122x244 takes two of them.
        {"one large sheet rather than two", 100, 120, 3, 2, 1},
        // 122x244 takes one of 150, 122x305 two: two sheets of 305 rather than three of 244.
        {"fewest sheets", 150, 120, 3, 2, 2},
        // Both sizes take two boards of 120: two sheets, so the smaller size.
        {"then the smallest", 120, 110, 4, 1, 2},
    };
    for (const Case& c : cases) {
        const std::vector<BestFitBoard> boards(static_cast<std::size_t>(c.boards), {"x", c.width, c.height});
        const BestFitResult r = BestFit(boards, 0.4);
        ASSERT_TRUE(r.ok()) << c.name;
        EXPECT_EQ(r.plan->sheetIndex, c.sheetIndex) << c.name;
        EXPECT_EQ(r.plan->sheetCount, c.sheetCount) << c.name;
        EXPECT_EQ(joined(problemsOf(*r.plan, boards, 0.4)), "") << c.name;
    }
}

TEST(BestFit, RefusesWhatCannotBePlanned)
{
    struct Case {
        const char* name;
        std::vector<BestFitBoard> boards;
        double kerf;
        BestFitFault fault;
        std::string key;
    };
    const std::vector<Case> cases = {
        {"no boards", {}, 0.2, BestFitFault::NoBoards, ""},
        {"zero size", {{"front", 0, 10}}, 0.2, BestFitFault::BadSize, "front"},
        {"negative size", {{"a", 10, 10}, {"top", 10, -3}}, 0.2, BestFitFault::BadSize, "top"},
        {"not a number", {{"left", std::nan(""), 10}}, 0.2, BestFitFault::BadSize, "left"},
        {"larger than any sheet", {{"a", 10, 10}, {"rear", 123, 123}}, 0.2, BestFitFault::TooLarge, "rear"},
        {"negative kerf", {{"a", 10, 10}}, -0.2, BestFitFault::BadKerf, ""},
        {"too many", std::vector<BestFitBoard>(11, {"x", 1, 1}), 0.2, BestFitFault::TooMany, ""},
    };
    for (const Case& c : cases) {
        const BestFitResult r = BestFit(c.boards, c.kerf);
        EXPECT_FALSE(r.ok()) << c.name;
        EXPECT_EQ(r.error.fault, c.fault) << c.name;
        EXPECT_EQ(r.error.key, c.key) << c.name;
        EXPECT_FALSE(r.error.text().empty()) << c.name;
    }
}

namespace
{

std::vector<BestFitBoard> boardsOfModel(const ModelInputs& inputs)
{
    CalcState state;
    const RecalcOutcome outcome = Recalculate(makeRecalcInputs(inputs, true, '.'), state);
    EXPECT_TRUE(outcome.ranToEnd);
    return bestFitBoards(state.derived, inputs.pieces[2], inputs.pwhere);
}

} // namespace

TEST(BestFit, KnownDesignsGetTheirBestSheet)
{
    struct Case {
        const char* name;
        const char* h2;
        const char* l3;
        const char* b2;
        int sawThick;
        int sheetIndex;
        int sheetCount;
    };
    const std::vector<Case> cases = {
        // 36.4 x 40 boards: two never stand side by side on 61 cm and four never stack on 122.
        {"default model", "40", "40", "40", 2, 1, 1},
        // 30 x 28 top and bottom and both 30 x 16.4 ends in one column (89.4 cm with kerfs), the
        // two 28 x 16.4 sides beside it (30 + 0.2 + 28 <= 61).
        {"small model", "20", "30", "28", 2, 0, 1},
        {"small model, 4 mm kerf", "20", "30", "28", 4, 0, 1},
        // Top and bottom (100 x 90) each fill a column alone, the ends (56.4 x 100) and the sides
        // (90 x 56.4) stack in pairs: 90 + 90 + 90 + 100 > 305, so two sheets; 122x244 takes
        // one of each kind beside each other (100 + 56.4 + 56.4 + kerfs), so two of those.
        {"large model", "60", "100", "90", 3, 1, 2},
    };
    for (const Case& c : cases) {
        ModelInputs in = firstRunInputs();
        in.txtSize[0] = c.h2;
        in.txtSize[1] = c.l3;
        in.txtSize[2] = c.b2;
        in.sub = 0; // a 6" woofer fits the small front too, so the recalculation runs to its end
        const std::vector<BestFitBoard> boards = boardsOfModel(in);
        const double kerf = kerfOfSawThick(c.sawThick);
        const BestFitResult r = BestFit(boards, kerf);
        ASSERT_TRUE(r.ok()) << c.name;
        EXPECT_EQ(r.plan->sheetIndex, c.sheetIndex) << c.name;
        EXPECT_EQ(r.plan->sheetCount, c.sheetCount) << c.name;
        EXPECT_EQ(joined(problemsOf(*r.plan, boards, kerf)), "") << c.name;
    }
}
