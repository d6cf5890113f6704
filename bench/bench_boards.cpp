// How long the real boards of a design take: the builder's window and the exports ask for them on
// every change.
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
    ModelInputs in = firstRunInputs();
    in.txtSize = {"39", "45", "60,2", "70", "85", "21,3", "0", "2", "35,4", "18", "18", "18", "0"};
    in.pieces = {1, 2, 1}; // two woofers, two partitions, one port
    in.ptype = 1;
    in.pwhere = 1;
    in.corr = 2;
    return in;
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
