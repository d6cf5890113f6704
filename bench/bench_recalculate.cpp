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
    in.txtSize = {"39", "45", "60,2", "70", "85", "21,3", "0", "2", "35,4", "18", "18", "18", "0"};
    in.pieces = {1, 1, 1}; // two woofers, one partition, one port
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
