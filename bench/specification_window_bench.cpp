#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <clocale>

#include "bench/qt_bench_main.h"
#include "platform/fonts.h"
#include "program/program.h"
#include "specification_window/specification_window.h"

namespace {

using veltrix::Program;
using veltrix::SpecificationWindow;

// The paint as the window runs it, into a window-sized surface; it draws the last judgement.
void PaintOnce(SpecificationWindow& select, QImage& surface) {
    QPainter painter(&surface);
    select.FormPaint(painter, surface.size());
}

void BM_SelectPaintDefaults(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    program.Judgement.JudgeNow();
    QImage surface(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                   QImage::Format_RGB32);
    for (auto _ : state) {
        PaintOnce(select, surface);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_SelectPaintDefaults)->Unit(benchmark::kMillisecond);

// Both stopband points add two more attenuation computations and the guarantee notice.
void BM_SelectPaintStopbands(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    program.Spec.F1 = 950.0;
    program.Spec.F2 = 1200.0;
    program.Judgement.JudgeNow();
    QImage surface(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                   QImage::Format_RGB32);
    for (auto _ : state) {
        PaintOnce(select, surface);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_SelectPaintStopbands)->Unit(benchmark::kMillisecond);

// A refused selection: messages and the contact notice, no sweeps.
void BM_SelectPaintRefused(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    program.Spec.F0 = 500.0;
    program.Judgement.JudgeNow();
    QImage surface(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                   QImage::Format_RGB32);
    for (auto _ : state) {
        PaintOnce(select, surface);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_SelectPaintRefused)->Unit(benchmark::kMillisecond);

// While printing the copy is inverted.
void BM_SelectPaintPrinting(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    program.Display.PaintCopyMode = veltrix::CopyMode::InvertedSource;
    select.ShowCopyColours(true);
    program.Judgement.JudgeNow();
    QImage surface(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                   QImage::Format_RGB32);
    for (auto _ : state) {
        PaintOnce(select, surface);
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_SelectPaintPrinting)->Unit(benchmark::kMillisecond);

// A high-density screen: the same page rendered at twice the pixels, bitmap and copy included.
void BM_SelectPaintDevicePixelRatio2(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    program.Judgement.JudgeNow();
    QImage surface(QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight) * 2,
                   QImage::Format_RGB32);
    surface.setDevicePixelRatio(2.0);
    for (auto _ : state) {
        QPainter painter(&surface);
        select.FormPaint(painter,
                         QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight));
        painter.end();
        benchmark::DoNotOptimize(surface.constBits());
    }
}
BENCHMARK(BM_SelectPaintDevicePixelRatio2)->Unit(benchmark::kMillisecond);

// One judgement of the defaults with the screen's reaction to it (texts, labels, focus, list).
void BM_JudgeSelectionWithScreen(benchmark::State& state) {
    Program program;
    SpecificationWindow select(program);
    for (auto _ : state) {
        program.Judgement.JudgeNow();
        benchmark::DoNotOptimize(program.Judgement.Latest().PartNumber().data());
    }
}
BENCHMARK(BM_JudgeSelectionWithScreen)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN()
