#include <benchmark/benchmark.h>

#include "bench/qt_bench_main.h"
#include "datasheet/datasheet.h"
#include "engine/response.h"

namespace {

using namespace veltrix;

// From the part's record to the PDF's bytes, as Export Datasheet and --datasheet make them (less the
// file write).
void BM_DatasheetPdf(benchmark::State& state) {
    SetMachineEpsilon(ComputeMachineEpsilon());
    FilterSpec part;
    part.F1 = 950.0;
    part.F2 = 1060.0;
    const Paper paper = state.range(0) == 0 ? Paper::A4 : Paper::Letter;
    for (auto _ : state) {
        const QByteArray pdf = DatasheetPdf(ComposeDatasheet(part), paper);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_DatasheetPdf)->Arg(0)->Arg(1)->ArgNames({"letter"})->Unit(benchmark::kMillisecond);

// The tab mounting's drawing has the most dimensions to draw, twice.
void BM_DatasheetPdfSixSectionsTab(benchmark::State& state) {
    SetMachineEpsilon(ComputeMachineEpsilon());
    FilterSpec part;
    part.Sections = 6;
    part.Mounting = MountingStyle::SurfaceTab;
    part.F1 = 900.0;
    for (auto _ : state) {
        const QByteArray pdf = DatasheetPdf(ComposeDatasheet(part), Paper::A4);
        benchmark::DoNotOptimize(pdf.constData());
    }
}
BENCHMARK(BM_DatasheetPdfSixSectionsTab)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN();
