// One curve of the sound of a design: the driven circuit at the 52 points, the whole analysis, and the
// suggested boxes.
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

// The same for two woofers wired and filtered: every curve (SPL, excursion, port speed, maximum SPL and
// power, impedance, group delay), F3, the limits at the chosen and the full power, the suggested boxes.
void BM_WholeAnalysisTwoWoofersFiltered(benchmark::State& state)
{
    const Woofer w = twelveInch();
    const Port p = port();
    SoundOptions o = options();
    o.woofers = 2;
    o.subsonic = Filter{FilterType::LinkwitzRiley4, 25};
    o.lowpass = Filter{FilterType::Butterworth4, 80};
    for (auto _ : state)
        benchmark::DoNotOptimize(analyseSound(w, p, 110, o));
}
BENCHMARK(BM_WholeAnalysisTwoWoofersFiltered);

// The suggested sealed and vented boxes alone.
void BM_SuggestBoxes(benchmark::State& state)
{
    const Woofer w = twelveInch();
    const SoundOptions o = options();
    for (auto _ : state)
        benchmark::DoNotOptimize(suggestBoxes(w, o));
}
BENCHMARK(BM_SuggestBoxes);

} // namespace
