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
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/fonts.h"
#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/print_command.h"
#include "printing/print_output.h"
#include "program/program.h"

#include "specification_window/specification_window.h"

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

struct Job {
    Program program;
    AcceptingPrintDialog dialogs;
    SilentMessages messages;
    std::unique_ptr<QWidget> window;
    PaintedForm* form = nullptr;

    Job() {
        program.PrintDialogs = &dialogs;
        program.Messages = &messages;
        auto* select = new SpecificationWindow(program);
        form = select;
        window.reset(select);
    }

    bool Print(int dpi, const QString& path) {
        WindowPrinter printer;
        printer.Printer().setOutputFormat(QPrinter::PdfFormat);
        printer.Printer().setOutputFileName(path);
        printer.Printer().setResolution(dpi);
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
