// One full part search: every combination of sections, profile, dielectric and mounting judged,
// with three stopband points, as the finder's table recomputes it while the engineer types.

#include <benchmark/benchmark.h>

#include "finder/finder.h"

namespace veltrix {
namespace {

void FullSearch(benchmark::State& state) {
    FinderRequirement requirement;
    requirement.F0 = 1500.0;
    requirement.BW = 30.0;
    requirement.PassbandIndex = 1;
    requirement.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}, {1800.0, 50.0}};
    size_t parts = 0;
    for (auto _ : state) {
        const FinderResults results = FindParts(requirement);
        parts = results.Parts.size();
        benchmark::DoNotOptimize(results);
    }
    state.counters["parts"] = static_cast<double>(parts);
}
BENCHMARK(FullSearch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace veltrix

BENCHMARK_MAIN();
