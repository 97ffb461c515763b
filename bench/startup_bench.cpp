#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
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
#include "specification_window/specification_window.h"
#include "tabular_window/tabular_window.h"

namespace {

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

// Runs the event loop until every watched widget has painted, as the first frame on screen does:
// through the platform's expose and the backing store, which leave hidden children (menus,
// dialogs) alone.
bool PaintFirstFrame(PaintCounter& painted) {
    for (int rounds = 0; !painted.AllPainted(); ++rounds) {
        if (rounds == 1000) return false;
        QCoreApplication::processEvents();
    }
    return true;
}

// Closing a window is not part of starting one: the teardown of each iteration is left out.
template <typename Shown>
void MeasureStarts(benchmark::State& state, Shown (*start)(PaintCounter&)) {
    for (auto _ : state) {
        PaintCounter painted;
        Shown shown = start(painted);
        if (!PaintFirstFrame(painted)) {
            state.SkipWithError("a window never painted");
            return;
        }
        state.PauseTiming();
        shown.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        state.ResumeTiming();
    }
}

// What any Qt program with a multiple-document frame pays: the baseline.
std::unique_ptr<QMainWindow> ShowBareMainWindow(PaintCounter& painted) {
    auto window = std::make_unique<QMainWindow>();
    auto* area = new QMdiArea(window.get());
    window->setCentralWidget(area);
    window->resize(1280, 1024);
    window->show();
    painted.Watch(area->viewport());
    return window;
}

void BM_BareMainWindowWithMdiArea(benchmark::State& state) { MeasureStarts(state, &ShowBareMainWindow); }
BENCHMARK(BM_BareMainWindowWithMdiArea)->Unit(benchmark::kMillisecond);

// The program's start: the frame creates its windows, tiled so that none is hidden behind another,
// until each has painted once.
[[gnu::noinline]] std::unique_ptr<FirstRun> StartFrame(PaintCounter& painted) {
    auto run = std::make_unique<FirstRun>();
    veltrix::MainFrame& frame = *run->frame;
    frame.Actions().Action("tile")->trigger();
    painted.Watch(frame.Specification());
    painted.Watch(frame.Outline());
    painted.Watch(frame.TabularData()->Report()->viewport());
    return run;
}

void BM_FrameWithAllWindows(benchmark::State& state) { MeasureStarts(state, &StartFrame); }
BENCHMARK(BM_FrameWithAllWindows)->Unit(benchmark::kMillisecond);

// One iteration, in a function of its own so that a profiler can collect exactly the iterations.
[[gnu::noinline]] bool ChangeCentreFrequencyUntilRepainted(veltrix::MainFrame& frame, QLineEdit& f0,
                                                           const QString& value, PaintCounter& painted) {
    painted.Reset();
    f0.setText(value);
    // Leaving the field stores the new centre frequency.
    QFocusEvent leave(QEvent::FocusOut, Qt::OtherFocusReason);
    QCoreApplication::sendEvent(&f0, &leave);
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
    if (state.range(0) != 0) frame.Actions().Action("find_parts")->trigger();
    frame.Actions().Action("tile")->trigger();
    QApplication::setActiveWindow(&frame);
    // Start-up leaves deferred deletes and repaints behind; they belong to the start, not the edit.
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    auto* f0 = frame.Specification()->findChild<QLineEdit*>(QStringLiteral("centre_frequency"));
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
