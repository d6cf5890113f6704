// One curve of the sound of a design: the driven circuit at the 52 points, and the whole analysis.
#include "acoustics/Acoustics.h"

#include <benchmark/benchmark.h>

using namespace kelvra;

namespace
{

Woofer twelveInch()
{
    Woofer w;
    w.fs = 29;
    w.qes = 0.44;
    w.qms = 6;
    w.vas = 70;
    w.sd = 490;
    w.xmax = 12;
    w.re = 3.3;
    w.pe = 400;
    w.le = 1.8;
    return w;
}

Port port()
{
    Port p;
    p.count = 1;
    p.diameterCm = 10;
    p.lengthCm = 30;
    return p;
}

SoundOptions options()
{
    SoundOptions o;
    o.car = CarClass::Midsize;
    o.power = 200;
    return o;
}

// What a change of the design costs the curve: the circuit from the woofer and the box, then every
// output at every point.
void BM_FullCurve(benchmark::State& state)
{
    const Woofer w = twelveInch();
    const SoundOptions o = options();
    for (auto _ : state) {
        const auto circuit = makeBoxCircuit(w, 110, 23.2, 0.00785, o);
        benchmark::DoNotOptimize(computeCurve(*circuit));
    }
}
BENCHMARK(BM_FullCurve);

// Everything the window shows: Fb, F3, sensitivity, the curve and where the limits are reached.
void BM_WholeAnalysis(benchmark::State& state)
{
    const Woofer w = twelveInch();
    const Port p = port();
    const SoundOptions o = options();
    for (auto _ : state)
        benchmark::DoNotOptimize(analyseSound(w, p, 110, o));
}
BENCHMARK(BM_WholeAnalysis);

} // namespace
