// kelvra-calc --batch over 10,000 generated designs, as a shop checking a whole catalogue would run it.
#include "app/Batch.h"

#include <benchmark/benchmark.h>

#include <random>
#include <sstream>
#include <string>

namespace
{

std::string designs(int count)
{
    std::mt19937 random(1);
    auto pick = [&](int low, int high) {
        return std::to_string(std::uniform_int_distribution<>(low, high)(random));
    };
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "h2=" + pick(20, 60) + " l3=" + pick(20, 80) + " b2=" + pick(20, 60) + " ca=" + pick(60, 90) +
                " thick0=" + pick(16, 22) + " sub=" + pick(0, 5) + " pieces2=" + pick(0, 2) + "\n";
    return text;
}

void BM_Batch10000(benchmark::State& state)
{
    const std::string input = designs(10000);
    kelvra::CalcCliOptions options;
    options.decimalSeparator = '.';
    options.batch = true;
    for (auto _ : state) {
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const kelvra::BatchSummary summary = kelvra::runBatch(in, out, err, options);
        benchmark::DoNotOptimize(summary.lines);
    }
}
BENCHMARK(BM_Batch10000)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(5);

} // namespace
