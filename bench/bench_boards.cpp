// How long the real boards of a design take: the builder's window and the exports ask for them on
// every change.
#include "bench/BenchDesigns.h"
#include "boards/Boards.h"

#include <benchmark/benchmark.h>

using namespace kelvra;

namespace
{

void boards(benchmark::State& st, const ModelInputs& inputs)
{
    for (auto _ : st) {
        BoardsResult r = buildBoards(inputs, ',');
        benchmark::DoNotOptimize(r);
    }
}

ModelInputs slopedWithPortAndPartitions()
{
    return bench::slopedWithRectangularPort(2);
}

void BM_BoardsDefaultBlock(benchmark::State& st)
{
    boards(st, firstRunInputs());
}
void BM_BoardsSlopedPortPartitions(benchmark::State& st)
{
    boards(st, slopedWithPortAndPartitions());
}

} // namespace

BENCHMARK(BM_BoardsDefaultBlock)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_BoardsSlopedPortPartitions)->Repetitions(9)->ReportAggregatesOnly(true);
