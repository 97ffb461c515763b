#include "printing/print_command.h"

#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <exception>

#include "program/program.h"
#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/prnutils.h"

namespace veltrix {

namespace {

void ShowMessage(Program& program, QWidget* parent, const char* text) {
    if (program.Messages) program.Messages->ShowMessage(parent, QString::fromLatin1(text), QString());
}

// Inverts the window's copy mode for the span of the job; restores it and repaints on every path.
class InvertedCopyScope {
  public:
    InvertedCopyScope(DisplaySettings& display, QWidget* window) : display_(display), window_(window) {
        display_.PaintCopyMode = CopyMode::InvertedSource;
        if (window_) window_->update();
    }
    ~InvertedCopyScope() {
        display_.PaintCopyMode = CopyMode::Source;
        if (window_) window_->update();
    }
    InvertedCopyScope(const InvertedCopyScope&) = delete;
    InvertedCopyScope& operator=(const InvertedCopyScope&) = delete;

  private:
    DisplaySettings& display_;
    QWidget* window_;
};

// Qt's PDF-based engines cannot abort: end() would still write the half-printed page. A file
// output is removed so a cancelled job leaves no printout that looks complete.
void AbortJob(QPrinter& printer, QPainter& canvas) {
    const bool aborted = printer.abort();
    canvas.end();
    if (!aborted && printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QFile::remove(printer.outputFileName());
    }
}

bool PrintJob(Program& program, PaintedForm& form, const QString& jobTitle, QPrinter& printer) {
    PrintOptions options;
    options.ShowProgress = true;
    PrintShowErrors = true;

    printer.setDocName(jobTitle);
    QPainter canvas;
    if (!canvas.begin(&printer)) return false;
    bool ok = false;
    try {
        ok = PrintFormToPage(form, printer, canvas, options, program.Messages);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok) return canvas.end();
    AbortJob(printer, canvas);
    return false;
}

}  // namespace

bool RunPrintCommand(Program& program, PaintedForm& form, const QString& jobTitle, QPrinter& printer) {
    QWidget* window = form.FormWidget();
    if (printer.printerState() == QPrinter::Active) {
        ShowMessage(program, window, kPrinterBusy);
        return false;
    }
    if (!program.PrintDialogs || !program.PrintDialogs->Run(printer, window)) return false;

    InvertedCopyScope inverted(program.Display, window);
    const bool ok = PrintJob(program, form, jobTitle, printer);
    if (!ok) ShowMessage(program, window, kPrintFailed);
    return ok;
}

}  // namespace veltrix
