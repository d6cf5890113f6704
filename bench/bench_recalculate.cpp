// How long one recalculation takes: every keystroke in simulation mode runs one.
#include "bench/BenchDesigns.h"
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
    return bench::slopedWithRectangularPort(1);
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
