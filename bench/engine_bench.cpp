// The work of one paint of the specification screen plus the tabular report that follows it.

#include <benchmark/benchmark.h>

#include "engine/filter_spec.h"
#include "engine/response.h"
#include "engine/selection.h"
#include "report/report.h"

namespace veltrix {
namespace {

FilterSpec SixSectionDH() {
    FilterSpec spec;
    spec.Sections = 6;
    spec.Dielectric = DielectricMaterial::DH;
    spec.PBD = 3.0;
    spec.Passband = PassbandChoice::Db3_0;
    spec.Profile = ResonatorProfile::Mm4;
    spec.Mounting = MountingStyle::Orbis;
    spec.F0 = 1000.0;
    spec.BW = 20.0;
    spec.BWRequested = 20.0;
    spec.F1 = 980.0;
    spec.F2 = 1030.0;
    return spec;
}

// The defaults with both stopband points given, so a paint computes everything it can.
FilterSpec DefaultWithStopbands() {
    FilterSpec spec;
    spec.F1 = 950.0;
    spec.F2 = 1050.0;
    return spec;
}

bool IsStandardPart(const FilterSpec& input) {
    FilterSpec spec = input;
    ResponseData rd;
    ComputeSelection(spec, rd);
    return spec.SelStatus == kSelectionValid;
}

// withReport: the paint and the tabular report that follows it; without, the paint alone, so the
// report's share shows as the difference.
void Paint(benchmark::State& state, const FilterSpec& input, bool withReport) {
    SetMachineEpsilon(ComputeMachineEpsilon());
    if (!IsStandardPart(input)) {
        // A refused selection would measure the short path.
        state.SkipWithError("the benchmarked filter is not a standard part");
        return;
    }
    for (auto _ : state) {
        FilterSpec spec = input;  // the paint writes the record
        ResponseData rd;
        SelectionResults results = ComputeSelection(spec, rd);
        benchmark::DoNotOptimize(results);
        if (withReport) {
            auto report = BuildTabularReport(spec, rd);
            benchmark::DoNotOptimize(report.data());
        }
        benchmark::ClobberMemory();
    }
}

void BM_PaintAndReportDefault(benchmark::State& state) { Paint(state, DefaultWithStopbands(), true); }
void BM_PaintAndReportSixSectionDH(benchmark::State& state) { Paint(state, SixSectionDH(), true); }
void BM_PaintOnlyDefault(benchmark::State& state) { Paint(state, DefaultWithStopbands(), false); }
void BM_PaintOnlySixSectionDH(benchmark::State& state) { Paint(state, SixSectionDH(), false); }

BENCHMARK(BM_PaintAndReportDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintAndReportSixSectionDH)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOnlyDefault)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PaintOnlySixSectionDH)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace veltrix

BENCHMARK_MAIN();
