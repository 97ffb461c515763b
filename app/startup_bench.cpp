#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QImage>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QPainter>
#include <QWidget>
#include <clocale>
#include <filesystem>
#include <map>
#include <memory>

#include <QPlainTextEdit>
#include "app/frame.h"
#include "bench/qt_bench_main.h"
#include "finder_window/finder_window.h"
#include "platform/fonts.h"
#include "program/program.h"
#include "spec_screen/select_window.h"
#include "tabular/tabular_window.h"

namespace {

// The program as on a first run (no preferences file: the defaults), its frame shown with its windows.
struct FirstRun {
    FirstRun() {
        program.PreferencesPath =
            (std::filesystem::temp_directory_path() / "veltrix-startup-bench-none" / "veltrix.dat").string();
        frame = std::make_unique<veltrix::MainFrame>(program);
        frame->CreateWindows();
        frame->resize(1280, 1024);
        frame->show();
        frame->ShowStartupPages();
    }
    veltrix::Program program;
    std::unique_ptr<veltrix::MainFrame> frame;
};

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
    QImage surface(1280, 1024, QImage::Format_RGB32);
    for (auto _ : state) {
        FirstRun run;
        veltrix::MainFrame& frame = *run.frame;
        frame.onTile();
        PaintOnce(frame, surface);
    }
}
BENCHMARK(BM_FrameWithAllWindows)->Unit(benchmark::kMillisecond);

// Counts the paints each watched widget receives.
class PaintCounter : public QObject {
  public:
    void Watch(QWidget* widget) {
        widget->installEventFilter(this);
        counts_[widget] = 0;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++counts_[watched];
        return false;
    }
    void Reset() {
        for (auto& [widget, count] : counts_) count = 0;
    }
    bool AllPainted() const {
        for (const auto& [widget, count] : counts_)
            if (count == 0) return false;
        return true;
    }

  private:
    std::map<QObject*, int> counts_;
};

// One iteration, in a function of its own so that a profiler can collect exactly the iterations.
[[gnu::noinline]] bool ChangeCentreFrequencyUntilRepainted(veltrix::MainFrame& frame, QLineEdit& f0,
                                                           const QString& value, PaintCounter& painted) {
    painted.Reset();
    f0.setText(value);
    frame.Specification()->onCentreFrequencyExit();
    for (int rounds = 0; !painted.AllPainted(); ++rounds) {
        if (rounds == 1000) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// One change of the centre frequency as the keystroke gives it (the field's exit handler), until
// every window that shows the selection has painted it on screen. Argument 1: the finder is open
// as well (it shows its own requirement, so it has nothing to repaint).
void BM_CentreFrequencyChangeRepaintsEveryWindow(benchmark::State& state) {
    FirstRun run;
    veltrix::MainFrame& frame = *run.frame;
    if (state.range(0) != 0) frame.onFindParts();
    frame.onTile();
    QApplication::setActiveWindow(&frame);
    QCoreApplication::processEvents();

    auto* f0 = frame.Specification()->findChild<QLineEdit*>(QStringLiteral("F0Edit"));
    PaintCounter painted;
    painted.Watch(frame.Specification());
    painted.Watch(frame.Outline());
    painted.Watch(frame.TabularData()->Report()->viewport());
    const QString values[] = {QStringLiteral("1500"), QStringLiteral("1000")};
    int turn = 0;
    for (auto _ : state) {
        if (!ChangeCentreFrequencyUntilRepainted(frame, *f0, values[turn++ % 2], painted)) {
            state.SkipWithError("a window never repainted");
            return;
        }
    }
}
BENCHMARK(BM_CentreFrequencyChangeRepaintsEveryWindow)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace

VELTRIX_QT_BENCHMARK_MAIN()
