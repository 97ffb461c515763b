#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>

#include "bench/qt_bench_main.h"
#include "compare_window/compare_window.h"
#include "program/program.h"

namespace {

using veltrix::CompareWindow;

// 1500 MHz, 30 MHz at 1.0 dB, with two required points: the six best parts of the finder.
struct SixParts {
    veltrix::Program program;
    CompareWindow window{program};
    QImage surface{CompareWindow::kClientWidth, CompareWindow::kClientHeight, QImage::Format_RGB32};

    SixParts() {
        veltrix::FinderRequirement r;
        r.F0 = 1500.0;
        r.BW = 30.0;
        r.PassbandIndex = 1;
        r.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}};
        window.resize(surface.size());
        window.SetLimits(r.Stopbands);
        const veltrix::FinderResults found = veltrix::FindParts(r);
        for (size_t i = 0; i < 6 && i < found.Parts.size(); ++i) {
            const veltrix::FoundPart& p = found.Parts[i];
            window.AddPart(veltrix::FinderSpec(r, p.Sections, p.Profile, p.Dielectric, p.Mounting));
        }
    }
    void Key(int key) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&window, &press);
    }
    void Paint() {
        QPainter painter(&surface);
        window.FormPaint(painter, surface.size());
    }
};

void BM_CompareMarkerMove(benchmark::State& state) {
    SixParts six;
    int direction = Qt::Key_Right;
    int steps = 0;
    for (auto _ : state) {
        if (++steps % 60 == 0) direction = direction == Qt::Key_Right ? Qt::Key_Left : Qt::Key_Right;
        six.Key(direction);
        six.Paint();
        benchmark::DoNotOptimize(six.surface.constBits());
    }
    state.counters["parts"] = static_cast<double>(six.window.Parts().Curves().size());
}
BENCHMARK(BM_CompareMarkerMove)->Unit(benchmark::kMillisecond);

// A zoom computes every part's curves again over the new span.
void BM_CompareZoom(benchmark::State& state) {
    SixParts six;
    bool in = true;
    for (auto _ : state) {
        six.Key(in ? Qt::Key_Plus : Qt::Key_Minus);
        in = !in;
        six.Paint();
        benchmark::DoNotOptimize(six.surface.constBits());
    }
    state.counters["parts"] = static_cast<double>(six.window.Parts().Curves().size());
}
BENCHMARK(BM_CompareZoom)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN()
