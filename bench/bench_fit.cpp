// Fit my boot: a whole search of a typical boot, with the candidate designs decided per second.
#include "fit/Fit.h"

#include <benchmark/benchmark.h>

namespace
{

// Two generic 12-inch woofers in a midsize car's boot: 70 cm deep, 42 cm high, 95 cm across, the seat
// back at 70 degrees; any box type, the deepest box.
kelvra::FitRequest typicalBoot()
{
    kelvra::FitRequest r;
    r.boot = {70, 42, 95, 70};
    r.design.sub = 3;     // 12"
    r.design.pieces0 = 1; // two woofers
    r.woofer.fs = 29;
    r.woofer.qes = 0.44;
    r.woofer.qms = 6.0;
    r.woofer.vas = 70;
    r.woofer.sd = 490;
    r.woofer.xmax = 12;
    r.woofer.re = 3.3;
    r.woofer.pe = 400;
    r.woofer.le = 1.8;
    return r;
}

void BM_FitTypicalBoot(benchmark::State& state)
{
    const kelvra::FitRequest request = typicalBoot();
    std::uint64_t evaluated = 0, judged = 0;
    double seconds = 0;
    for (auto _ : state) {
        const kelvra::FitResult r = kelvra::fitBoot(request);
        benchmark::DoNotOptimize(r.best);
        evaluated += r.evaluated;
        judged += r.judged;
        seconds += r.seconds;
    }
    state.counters["designs_per_s"] = static_cast<double>(evaluated) / seconds;
    state.counters["judged_per_s"] = static_cast<double>(judged) / seconds;
    state.counters["candidates"] = static_cast<double>(evaluated) / static_cast<double>(state.iterations());
    state.counters["judged"] = static_cast<double>(judged) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_FitTypicalBoot)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

} // namespace
