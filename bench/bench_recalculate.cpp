// How long one recalculation takes: every keystroke in simulation mode runs one.
#include "calc/Recalculate.h"

#include <benchmark/benchmark.h>

using namespace kelvra;

namespace
{

void recalculate(benchmark::State& st, const ModelInputs& inputs)
{
    const RecalcInputs in = makeRecalcInputs(inputs, true, ',');
    CalcState state;
    for (auto _ : st) {
        RecalcOutcome outcome = Recalculate(in, state);
        benchmark::DoNotOptimize(outcome);
        benchmark::DoNotOptimize(state);
    }
}

ModelInputs slopedWithRectangularPort()
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
    in.pieces1 = 1;
    in.pieces2 = 1; // two woofers, one partition, one port
    in.ptype = 1;
    in.pwhere = 1;
    in.corr = 2;
    return in;
}

void BM_RecalculateDefaultBlock(benchmark::State& st)
{
    recalculate(st, firstRunInputs());
}
void BM_RecalculateSlopedRectPort(benchmark::State& st)
{
    recalculate(st, slopedWithRectangularPort());
}

} // namespace

BENCHMARK(BM_RecalculateDefaultBlock)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RecalculateSlopedRectPort)->Repetitions(9)->ReportAggregatesOnly(true);
