#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "bench/qt_bench_main.h"
#include "compare_window/compare_window.h"
#include "platform/services.h"
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

// The dialog answers with the file the bench wrote.
class GivenFile : public veltrix::OpenFileDialog {
  public:
    QString path;
    QString AskOpenFile(QWidget*, const QString&, const QString&) override { return path; }
};

// 100,000 points from 1300 to 1700 MHz: a bandpass around 1500 MHz with a little noise, so the
// curves turn within every pixel column as a real sweep's do.
void WriteLargeMeasurement(const QString& path) {
    std::ofstream out(path.toStdString(), std::ios::binary);
    out << "# MHz S DB R 50\n";
    char line[128];
    unsigned noise = 12345;
    for (int i = 0; i < 100000; ++i) {
        const double f = 1300.0 + 400.0 * i / 99999.0;
        noise = noise * 1103515245u + 12345u;
        const double jitter = ((noise >> 16) % 1000) / 1000.0 - 0.5;
        const double s21 = -std::min(80.0, 1.5 + std::pow((f - 1500.0) / 18.0, 2.0) * 3.0) + jitter;
        const int phase = static_cast<int>(std::fmod(-f * 7.0, 360.0)) + 180;
        std::snprintf(line, sizeof line, "%.4f %.2f 0 %.2f %d 0 0 -20 0\n", f, -20.0 - s21 / 4.0, s21, phase);
        out << line;
    }
}

// The same with a 100,000-point measured file over the parts.
void BM_CompareMarkerMoveWithMeasured(benchmark::State& state) {
    SixParts six;
    QTemporaryDir dir;
    GivenFile dialog;
    dialog.path = dir.filePath(QStringLiteral("sweep.s2p"));
    WriteLargeMeasurement(dialog.path);
    six.program.OpenDialogs = &dialog;
    six.window.Actions().Action(QStringLiteral("add_measured"))->trigger();
    // A file this large may be read aside.
    while (!six.window.Parts().HasMeasured()) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    int direction = Qt::Key_Right;
    int steps = 0;
    for (auto _ : state) {
        if (++steps % 60 == 0) direction = direction == Qt::Key_Right ? Qt::Key_Left : Qt::Key_Right;
        six.Key(direction);
        six.Paint();
        benchmark::DoNotOptimize(six.surface.constBits());
    }
    state.counters["points"] = static_cast<double>(six.window.Parts().MeasuredCurve().FrequenciesMhz.size());
}
BENCHMARK(BM_CompareMarkerMoveWithMeasured)->Unit(benchmark::kMillisecond);

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
