#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <clocale>

#include "bench/qt_bench_main.h"
#include "outline_window/outline_window.h"
#include "platform/fonts.h"
#include "program/program.h"

namespace {

using veltrix::OutlineWindow;
using veltrix::Program;

// The paint as the window runs it, into a window-sized surface, for the mounting and sections given.
void PaintDrawing(benchmark::State& state, veltrix::MountingStyle mounting, int sections) {
    Program program;
    program.Spec.Mounting = mounting;
    program.Spec.Sections = sections;
    OutlineWindow mechanical(program);
    QImage surface(OutlineWindow::kClientWidth, OutlineWindow::kClientHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&surface);
        mechanical.FormPaint(painter, surface.size());
        painter.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}

void BM_OutlinePaintDropIn(benchmark::State& state) {
    PaintDrawing(state, veltrix::MountingStyle::DropIn, 5);
}
BENCHMARK(BM_OutlinePaintDropIn)->Unit(benchmark::kMillisecond);

void BM_OutlinePaintSurfaceTab(benchmark::State& state) {
    PaintDrawing(state, veltrix::MountingStyle::SurfaceTab, 5);
}
BENCHMARK(BM_OutlinePaintSurfaceTab)->Unit(benchmark::kMillisecond);

// Six sections: the most notches and ground segments.
void BM_OutlinePaintLeadless(benchmark::State& state) {
    PaintDrawing(state, veltrix::MountingStyle::Orbis, 6);
}
BENCHMARK(BM_OutlinePaintLeadless)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN()
