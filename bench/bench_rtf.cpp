#include "core/Rtf.h"

#include <benchmark/benchmark.h>

#include <string>

static void BM_RtfLesen(benchmark::State& state) {
    const std::string rtf = "{\\rtf1\\ansi Hallo\\par}";
    for (auto _ : state)
        benchmark::DoNotOptimize(rtf.size());
}
BENCHMARK(BM_RtfLesen);
BENCHMARK_MAIN();
