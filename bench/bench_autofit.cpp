// "Auto fit" of the seven boards of the default design on the 122x244 sheet.
#include "calc/Recalculate.h"
#include "layouter/AutoFit.h"

#include <benchmark/benchmark.h>

using namespace kelvra;

namespace
{

PanelModel defaultDesign()
{
    ModelInputs in = firstRunInputs();
    in.h2 = "39";
    in.l3 = "45";
    in.b2 = "60.2";
    CalcState state;
    Recalculate(makeRecalcInputs(in, true, '.'), state);
    return panelModelOf(state.derived, in, '.');
}

void BM_AutoFitDefaultDesign(benchmark::State& st)
{
    const PanelModel model = defaultDesign();
    LayoutView view;
    view.sheet = sheetSizeOf(kDefaultSheetSize);
    view.linesOn = true; // the most work: every cut line and the middle line
    for (auto _ : st) {
        AutoFit(view, model, ',');
        benchmark::DoNotOptimize(view.panels.data());
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_AutoFitDefaultDesign)->Unit(benchmark::kMicrosecond);
