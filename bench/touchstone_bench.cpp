#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <string>

#include "measured/touchstone_reader.h"

namespace {

// A 2-port file whose S21 phase falls 360 degrees every few rows: after n rows it has turned n / 7
// times, which a reader that unwraps turn by turn pays for at every row.
std::string TurningPhase(long rows) {
    std::string text = "# MHz S DB R 50\n";
    char line[160];
    for (long i = 0; i < rows; ++i) {
        const double degrees = std::remainder(-51.4 * static_cast<double>(i), 360.0);
        std::snprintf(line, sizeof line, "%.6f -20 0 -6.0206 %.4f -6.0206 %.4f -40 0\n",
                      1000.0 + 1e-3 * static_cast<double>(i), degrees, degrees);
        text += line;
    }
    return text;
}

void BM_ReadTurningPhase(benchmark::State& state) {
    const std::string text = TurningPhase(state.range(0));
    for (auto _ : state) {
        const veltrix::MeasuredRead read = veltrix::ParseTouchstone(text, "turning.s2p");
        if (!read.Ok) state.SkipWithError(read.Problem.c_str());
        benchmark::DoNotOptimize(read.Trace.DelayNs.data());
    }
    state.SetComplexityN(state.range(0));
    state.SetItemsProcessed(state.iterations() * state.range(0));
    state.SetBytesProcessed(state.iterations() * static_cast<long>(text.size()));
}
BENCHMARK(BM_ReadTurningPhase)
    ->Arg(10000)
    ->Arg(100000)
    ->Arg(1000000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
