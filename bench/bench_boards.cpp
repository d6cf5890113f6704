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
    in.h2 = "39";
    in.l3 = "45";
    in.b2 = "60,2";
    in.ca = "70";
    in.cb = "85";
    in.lp = "21,3";
    in.dp = "0";
    in.bp = "2";
    in.hp = "35,4";
    in.thick0 = "18";
    in.thick1 = "18";
    in.thick2 = "18";
    in.subvol = "0";
    in.pieces0 = 1;
    in.pieces1 = 2;
    in.pieces2 = 1; // two woofers, two partitions, one port
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
