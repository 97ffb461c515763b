#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QWidget>
#include <clocale>
#include <filesystem>

#include "bench/qt_bench_main.h"
#include "app/frame.h"
#include "platform/fonts.h"
#include "program/program.h"

namespace {

// Paints a widget once, as the first frame on screen does, children included.
void PaintOnce(QWidget& widget, QImage& surface) {
    surface.fill(Qt::gray);
    widget.render(&surface);
    benchmark::DoNotOptimize(surface.constBits());
}

// What any Qt program with a multiple-document frame pays: the baseline.
void BM_BareMainWindowWithMdiArea(benchmark::State& state) {
    QImage surface(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        QMainWindow window;
        auto* area = new QMdiArea(&window);
        window.setCentralWidget(area);
        window.resize(1280, 1024);
        window.show();
        PaintOnce(window, surface);
    }
}
BENCHMARK(BM_BareMainWindowWithMdiArea)->Unit(benchmark::kMillisecond);

// The program's start: the frame creates every window, then each is painted once (tiled, so none is
// hidden behind another).
void BM_FrameWithAllWindows(benchmark::State& state) {
    // No preferences file: the defaults, as on a first start.
    const std::string prefs =
        (std::filesystem::temp_directory_path() / "veltrix-startup-bench-none" / "veltrix.dat").string();
    QImage surface(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        veltrix::Program program;
        program.PreferencesPath = prefs;
        veltrix::TVXFrame frame(program);
        frame.CreateWindows();
        frame.resize(1280, 1024);
        frame.show();
        frame.Tile1Click();
        PaintOnce(frame, surface);
    }
}
BENCHMARK(BM_FrameWithAllWindows)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN()
