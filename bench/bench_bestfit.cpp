// How long "Best fit" takes for the layouter's seven boards.
#include "layouter/BestFit.h"

#include <benchmark/benchmark.h>

#include <vector>

using namespace kelvra;

namespace
{

void bestFit(benchmark::State& st, const std::vector<BestFitBoard>& boards, double kerf)
{
    for (auto _ : st) {
        BestFitResult r = BestFit(boards, kerf);
        benchmark::DoNotOptimize(r);
    }
}

// h2 39, l3 45, b2 60.2, 18 mm board, one rectangular port of 35.4 x 8 cm: seven boards on 122x244.
const std::vector<BestFitBoard> kSevenBoards = {
    {"front", 35.4, 45},  {"rear", 35.4, 45},    {"top", 45, 60.2}, {"bottom", 45, 60.2},
    {"left", 60.2, 35.4}, {"right", 60.2, 35.4}, {"port", 35.4, 8}};

// Seven small boards of different sizes: the most arrangements to weigh on one sheet.
const std::vector<BestFitBoard> kSevenSmallBoards = {
    {"a", 10, 12}, {"b", 11, 13}, {"c", 12, 14}, {"d", 13, 15}, {"e", 14, 16}, {"f", 15, 17}, {"g", 16, 18}};

void BM_BestFitSevenBoards(benchmark::State& st)
{
    bestFit(st, kSevenBoards, 0.2);
}
void BM_BestFitSevenSmallBoards(benchmark::State& st)
{
    bestFit(st, kSevenSmallBoards, 0.4);
}

} // namespace

BENCHMARK(BM_BestFitSevenBoards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BestFitSevenSmallBoards)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// How often Best fit needs a smaller sheet, or fewer sheets, than "Auto fit" keeps the boards on.

#include "calc/Recalculate.h"
#include "layouter/AutoFit.h"
#include "layouter/BestFitBoards.h"

#include <array>
#include <cstdint>

namespace
{

// The layouter's own hand rules of "Auto fit" on the six panels (front, rear, top, bottom, left,
// right), sized from the boards in pixels at 3 per cm; `turned` carries over from run to run.
std::array<PanelPlacement, kAutoFitPanelCount> autoFitRules(const std::vector<BestFitBoard>& boards,
                                                            std::array<bool, 6>& turned, float H, float k)
{
    auto size = [&](int i, bool turn) {
        const float w = static_cast<float>(boards[static_cast<std::size_t>(i)].width * 3);
        const float h = static_cast<float>(boards[static_cast<std::size_t>(i)].height * 3);
        return turn ? PanelExtent{h, w} : PanelExtent{w, h};
    };
    AutoFitInput in;
    for (int i = 0; i < kAutoFitPanelCount; ++i)
        in.panels[static_cast<std::size_t>(i)] = size(i, turned[static_cast<std::size_t>(i)]);
    in.afterTopTurn = in.panels;
    in.afterTopTurn[kTop] = size(kTop, true);
    in.afterBottomTurn = in.panels;
    in.afterBottomTurn[kBottom] = size(kBottom, true);
    in.sheetHeight = H;
    in.kerf = k;
    const AutoFitPlacements placed = AutoFit(in);
    turned[kTop] = turned[kTop] || placed.topTurned;
    turned[kBottom] = turned[kBottom] || placed.bottomTurned;
    return placed.panels;
}

// True when every panel lies on the sheet and no two overlap.
bool keptOn(const std::array<PanelPlacement, kAutoFitPanelCount>& p, float W, float H)
{
    constexpr float e = 1e-3f;
    for (std::size_t i = 0; i < p.size(); ++i) {
        if (p[i].left < -e || p[i].top < -e || p[i].left + p[i].width > W + e ||
            p[i].top + p[i].height > H + e)
            return false;
        for (std::size_t j = i + 1; j < p.size(); ++j)
            if (p[i].left + p[i].width > p[j].left + e && p[j].left + p[j].width > p[i].left + e &&
                p[i].top + p[i].height > p[j].top + e && p[j].top + p[j].height > p[i].top + e)
                return false;
    }
    return true;
}

// The smallest standard sheet on which "Auto fit" keeps all six panels when the window opens with
// that sheet size (the first run on the still empty sheet turns the top panel); -1 for none. With
// `fresh`, no panel is turned before the run, the best case for the hand rules.
int autoFitSheet(const std::vector<BestFitBoard>& boards, int sawThick, bool fresh = false)
{
    const float k = static_cast<float>(sawThick * 3);
    for (int s = 0; s < 3; ++s) {
        std::array<bool, 6> turned{};
        if (!fresh)
            autoFitRules(boards, turned, 0, k);
        const float W = static_cast<float>(kStandardSheets[static_cast<std::size_t>(s)].width * 3);
        const float H = 366;
        if (keptOn(autoFitRules(boards, turned, H, k), W, H))
            return s;
    }
    return -1;
}

class Lcg
{
public:
    explicit Lcg(std::uint64_t seed) : m_state(seed) {}
    int between(int lo, int hi)
    {
        m_state = m_state * 6364136223846793005ull + 1442695040888963407ull;
        return lo + static_cast<int>((m_state >> 33) % static_cast<std::uint64_t>(hi - lo + 1));
    }

private:
    std::uint64_t m_state;
};

void BM_BestFitVersusAutoFit(benchmark::State& st)
{
    int designs = 0, smaller = 0, fewer = 0, several = 0, same = 0, worse = 0;
    int freshSmaller = 0, freshFewer = 0;
    for (auto _ : st) {
        Lcg g(2026);
        while (designs < 1000) {
            ModelInputs in = firstRunInputs();
            in.sub = 0;
            // Boxes as they go into a car's boot, from a small 6" box to a wide double box.
            in.h2 = std::to_string(g.between(25, 55));
            in.l3 = std::to_string(g.between(25, 80));
            in.b2 = std::to_string(g.between(30, 100));
            const std::string thick = std::to_string(g.between(15, 22));
            in.thick0 = in.thick1 = in.thick2 = thick;
            const int saw = g.between(2, 4);
            CalcState state;
            if (!Recalculate(makeRecalcInputs(in, true, '.'), state).ranToEnd)
                continue;
            std::vector<BestFitBoard> boards = bestFitBoards(state.derived, 0, 0);
            boards.resize(6); // "Auto fit" never places the port board
            const BestFitResult best = BestFit(boards, kerfOfSawThick(saw));
            if (!best.ok())
                continue;
            ++designs;
            const int autoSheet = autoFitSheet(boards, saw);
            const int freshSheet = autoFitSheet(boards, saw, true);
            if (best.plan->sheetCount == 1 && freshSheet < 0)
                ++freshFewer;
            else if (best.plan->sheetCount == 1 && best.plan->sheetIndex < freshSheet)
                ++freshSmaller;
            if (autoSheet < 0 && best.plan->sheetCount == 1)
                ++fewer; // Auto fit keeps them on no sheet, Best fit on one
            else if (autoSheet < 0)
                ++several; // Auto fit keeps them on no sheet, Best fit needs more than one
            else if (best.plan->sheetCount > 1 || best.plan->sheetIndex > autoSheet)
                ++worse;
            else if (best.plan->sheetIndex < autoSheet)
                ++smaller;
            else
                ++same;
        }
    }
    st.counters["designs"] = designs;
    st.counters["smallerSheet"] = smaller;
    st.counters["fewerSheets"] = fewer;
    st.counters["autoFitNoneBestFitSeveral"] = several;
    st.counters["sameSheet"] = same;
    st.counters["bestFitWorse"] = worse; // must stay 0
    st.counters["freshSmallerSheet"] = freshSmaller;
    st.counters["freshFewerSheets"] = freshFewer;
}

} // namespace

BENCHMARK(BM_BestFitVersusAutoFit)->Iterations(1)->Unit(benchmark::kMillisecond);

// ---------------------------------------------------------------------------------------------
// Best fit of the real boards: a sloped box's seven board pieces (the two side trapezoids tried
// nested head to tail and apart), from the built boards to the numbered cuts.

#include "layouter/BoardPlan.h"

namespace
{

// The boards of a design with these input texts; `port` adds one rectangular port.
BoxBoards realBoards(std::initializer_list<std::pair<const char*, const char*>> sets, bool port = false)
{
    ModelInputs in = firstRunInputs();
    in.sub = 0;
    if (port) {
        in.pieces2 = 1;
        in.ptype = 1;
    }
    for (const auto& [key, text] : sets)
        textOf(in, *findModelKey(key)) = text;
    return *buildBoards(in, '.').boards;
}

void BM_BoardPlanSlopedBoxSevenBoards(benchmark::State& st)
{
    // Both ends sloped, one rectangular port wall as the seventh board.
    const BoxBoards boards =
        realBoards({{"ca", "70"}, {"cb", "80"}, {"lp", "20"}, {"bp", "5"}, {"hp", "20"}}, true);
    for (auto _ : st) {
        BoardPlanResult r = planBoards(boards, 0.2);
        benchmark::DoNotOptimize(r);
    }
    st.counters["boards"] = static_cast<double>(boards.boards.size());
}

void BM_BoardPlanSmallSlopedBoxNested(benchmark::State& st)
{
    const BoxBoards boards = realBoards({{"h2", "30"}, {"l3", "30"}, {"b2", "40"}, {"ca", "45"}});
    for (auto _ : st) {
        BoardPlanResult r = planBoards(boards, 0.2);
        benchmark::DoNotOptimize(r);
    }
}

} // namespace

BENCHMARK(BM_BoardPlanSlopedBoxSevenBoards)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BoardPlanSmallSlopedBoxNested)->Unit(benchmark::kMillisecond);
