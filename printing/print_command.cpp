#include "printing/print_command.h"

#include <QPainter>
#include <QPrinter>
#include <QWidget>
#include <exception>

#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/print_job.h"
#include "printing/print_output.h"
#include "program/program.h"

namespace veltrix {

namespace {

void ShowMessage(Program& program, QWidget* parent, const char* text) {
    if (program.Messages) program.Messages->ShowMessage(parent, QString::fromLatin1(text), QString());
}

// Paints the page on the printer: false when the job failed, which is then aborted.
bool PrintPage(Program& program, PaintedForm& form, QPrinter& printer) {
    PrintOptions options;
    options.ShowProgress = true;
    options.ShowErrors = true;

    QPainter canvas;
    if (!canvas.begin(&printer)) return false;
    bool ok = false;
    try {
        ok = PrintFormToPage(form, printer, canvas, options, program.Messages);
    } catch (const std::exception&) {
        ok = false;
    }
    if (ok) return canvas.end();
    printer.abort();
    canvas.end();
    return false;
}

}  // namespace

InvertedCopyScope::InvertedCopyScope(DisplaySettings& display, PaintedForm& form)
    : display_(display), form_(form) {
    display_.PaintCopyMode = CopyMode::InvertedSource;
    form_.ShowCopyColours(true);
    if (QWidget* window = form_.FormWidget()) window->update();
}

InvertedCopyScope::~InvertedCopyScope() {
    display_.PaintCopyMode = CopyMode::Source;
    form_.ShowCopyColours(false);
    if (QWidget* window = form_.FormWidget()) window->update();
}

bool RunPrintCommand(Program& program, PaintedForm& form, const QString& jobTitle,
                     WindowPrinter& windowPrinter) {
    QWidget* window = form.FormWidget();
    QPrinter& printer = windowPrinter.Printer();
    if (printer.printerState() == QPrinter::Active) {
        ShowMessage(program, window, kPrinterBusy);
        return false;
    }
    // The dialog names its proposed file after the document.
    printer.setDocName(jobTitle);
    if (!program.PrintDialogs || !program.PrintDialogs->Run(printer, window)) return false;

    bool ok = false;
    QString writeError;
    {
        printer.setDocName(jobTitle);
        // A PDF file gets the page only once it is known whole.
        PdfFileOutput output(printer);
        bool printed = false;
        if (output.Ready()) {
            InvertedCopyScope inverted(program.Display, form);
            printed = PrintPage(program, form, printer);
        }
        // The window is back in its own colours before the file is written or anything is said.
        ok = printed && output.Commit();
        if (!ok) writeError = output.Error();
    }
    if (!ok) {
        windowPrinter.Renew();
        if (!writeError.isEmpty() && program.Messages)
            program.Messages->ShowMessage(window, QStringLiteral("Cannot write ") + writeError, QString());
        ShowMessage(program, window, kPrintFailed);
    }
    return ok;
}

}  // namespace veltrix
