// Printing the specification screen to a PDF file at 300 and at 1200 dpi. Each band of the page runs
// the window's whole paint, so the time grows with the resolution; the memory must not, because a
// band never exceeds the screen's size. Peak memory is read from a child process per resolution
// (ru_maxrss of a fresh process), since a process's peak only ever grows.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "platform/fonts.h"
#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "platform/services.h"
#include "printing/print_command.h"

#if VELTRIX_BENCH_SPEC_SCREEN
#include "spec_screen/select_window.h"
#endif

extern char** environ;

namespace veltrix {
namespace {

class AcceptingPrintDialog : public PrintDialogRunner {
  public:
    bool Run(QPrinter&, QWidget*) override { return true; }
};

class SilentMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget*, const QString& text, const QString&) override { Shown.push_back(text); }
    std::vector<QString> Shown;
};

#if !VELTRIX_BENCH_SPEC_SCREEN
// Stand-in for the specification screen: a 632 x 406 page of frames, text and a graph-like grid,
// with a few labels and controls, painted through the recorded page like the real windows.
class RepresentativeForm : public QWidget, public PaintedForm {
  public:
    explicit RepresentativeForm(DisplaySettings& display) : display_(display) {
        resize(632, 406);
        for (int i = 0; i < 3; ++i) {
            auto* label = new QLabel(QStringLiteral("  2.4  dB"), this);
            label->setGeometry(16 + 120 * i, 266, 100, 16);
        }
        (new QPushButton(QStringLiteral("&Outline Drawing"), this))->setGeometry(20, 380, 110, 22);
    }
    void FormPaint(QPainter& canvas, QSize clientSize) override {
        QPainter& p = page_.BeginRecording(clientSize);
        p.setPen(QColor(255, 0, 255));
        for (const QRect& r : {QRect(2, 88, 337, 30), QRect(2, 134, 337, 156), QRect(2, 305, 337, 67)})
            p.drawRect(r);
        p.setPen(QColor(255, 255, 0));
        p.setFont(PointFont(display_.FontName, display_.FontSizeMedium));
        for (int i = 0; i < 12; ++i)
            p.drawText(10, 100 + 22 * i, QStringLiteral("Design (Passband) Specifications"));
        p.setPen(QColor(0, 255, 0));
        for (int x = 360; x <= 620; x += 26) p.drawLine(x, 100, x, 380);
        for (int y = 100; y <= 380; y += 28) p.drawLine(360, y, 620, y);
        p.setPen(Qt::white);
        QPoint last(360, 380);
        for (int x = 361; x <= 620; ++x) {
            const QPoint next(x, 380 - static_cast<int>(260.0 / (1.0 + (x - 490) * (x - 490) / 400.0)));
            p.drawLine(last, next);
            last = next;
        }
        page_.Present(canvas, clientSize, display_.PaintCopyMode, 5);
    }
    QWidget* FormWidget() override { return this; }

  private:
    DisplaySettings& display_;
    PaintedPage page_;
};
#endif

struct Job {
    Program program;
    AcceptingPrintDialog dialogs;
    SilentMessages messages;
    std::unique_ptr<QWidget> window;
    PaintedForm* form = nullptr;

    Job() {
        program.PrintDialogs = &dialogs;
        program.Messages = &messages;
#if VELTRIX_BENCH_SPEC_SCREEN
        auto* select = new TSelect(program);
        form = select;
#else
        auto* select = new RepresentativeForm(program.Display);
        form = select;
#endif
        window.reset(select);
    }

    bool Print(int dpi, const QString& path) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        printer.setResolution(dpi);
        return RunPrintCommand(program, *form, QStringLiteral("Veltrix Filter Specification"), printer);
    }
};

// Runs one print job in a fresh copy of this program; its peak resident size in kilobytes, or -1.
long PeakKilobytesOfOneJob(int dpi) {
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return -1;
    self[n] = '\0';
    std::string arg = "--print-once=" + std::to_string(dpi);
    char* argv[] = {self, arg.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, self, nullptr, nullptr, argv, environ) != 0) return -1;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1;
    return usage.ru_maxrss;
}

std::map<int, long>& PeakByDpi() {
    static std::map<int, long> peaks;
    return peaks;
}

void BM_PrintSpecificationScreen(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    QTemporaryDir dir;
    Job job;
    const QString path = dir.filePath(QStringLiteral("page.pdf"));
    for (auto _ : state) {
        if (!job.Print(dpi, path)) {
            state.SkipWithError("the print job failed");
            return;
        }
    }
    const long peak = PeakKilobytesOfOneJob(dpi);
    if (peak < 0) {
        state.SkipWithError("the child print job failed");
        return;
    }
    PeakByDpi()[dpi] = peak;
    state.counters["peak_rss_MB"] = static_cast<double>(peak) / 1024.0;
    state.counters["pdf_KB"] = static_cast<double>(QFileInfo(path).size()) / 1024.0;
}
BENCHMARK(BM_PrintSpecificationScreen)->Arg(300)->Arg(1200)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace veltrix

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    veltrix::RegisterFontSubstitutions();

    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--print-once=", 13) == 0) {
            QTemporaryDir dir;
            veltrix::Job job;
            return job.Print(std::atoi(argv[i] + 13), dir.filePath(QStringLiteral("page.pdf"))) ? 0 : 1;
        }
    }

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    const auto& peaks = veltrix::PeakByDpi();
    if (peaks.count(300) && peaks.count(1200)) {
        const double ratio = static_cast<double>(peaks.at(1200)) / static_cast<double>(peaks.at(300));
        std::printf("peak memory 1200 dpi / 300 dpi: %.3f (limit 1.25)\n", ratio);
        return ratio <= 1.25 ? 0 : 2;
    }
    return 0;
}
