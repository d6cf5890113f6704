// How long "Best fit" takes for the layouter's seven boards.
#include "BestFit.h"

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
