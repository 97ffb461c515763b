#include "printing/print_output.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <exception>

#include "platform/user_file_reporting.h"

namespace veltrix {

WindowPrinter::WindowPrinter() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

WindowPrinter::~WindowPrinter() = default;

void WindowPrinter::Renew() {
    const QPrinter& old = *printer_;
    auto fresh = std::make_unique<QPrinter>(QPrinter::HighResolution);
    if (old.outputFormat() == QPrinter::NativeFormat && !old.printerName().isEmpty()) {
        fresh->setPrinterName(old.printerName());
    }
    fresh->setOutputFormat(old.outputFormat());
    fresh->setOutputFileName(old.outputFileName());
    fresh->setPageLayout(old.pageLayout());
    fresh->setResolution(old.resolution());
    fresh->setCopyCount(old.copyCount());
    fresh->setCollateCopies(old.collateCopies());
    fresh->setColorMode(old.colorMode());
    fresh->setDuplex(old.duplex());
    fresh->setFullPage(old.fullPage());
    fresh->setPageOrder(old.pageOrder());
    fresh->setDocName(old.docName());
    fresh->setCreator(old.creator());
    printer_ = std::move(fresh);
}

bool IsCompletePdf(const QByteArray& pdf) {
    if (!pdf.startsWith("%PDF-")) return false;
    const QByteArray tail = pdf.right(64).trimmed();
    if (!tail.endsWith("%%EOF")) return false;
    const qsizetype start = pdf.lastIndexOf("startxref");
    if (start < 0) return false;
    bool ok = false;
    const qsizetype xref = pdf.mid(start + 9).trimmed().split('\n').value(0).trimmed().toLongLong(&ok);
    return ok && xref > 0 && xref < start && pdf.mid(xref, 4) == "xref";
}

PdfFileOutput::PdfFileOutput(QPrinter& printer) : printer_(printer) {
    if (printer_.outputFormat() != QPrinter::PdfFormat || printer_.outputFileName().isEmpty()) return;
    target_ = printer_.outputFileName();
    // A file that cannot be made fails before anything is printed.
    if (!QFileInfo(target_).absoluteDir().exists()) {
        ready_ = false;
        return;
    }
    temporary_ =
        std::make_unique<QTemporaryFile>(QDir::temp().filePath(QStringLiteral("veltrix-print-XXXXXX.pdf")));
    if (!temporary_->open()) {
        ready_ = false;
        return;
    }
    temporary_->close();
    printer_.setOutputFileName(temporary_->fileName());
}

PdfFileOutput::~PdfFileOutput() {
    if (!target_.isEmpty()) printer_.setOutputFileName(target_);
}

bool PdfFileOutput::Commit() {
    if (!ready_) return false;
    if (target_.isEmpty()) return true;
    QFile written(temporary_->fileName());
    if (!written.open(QIODevice::ReadOnly)) return false;
    const QByteArray pdf = written.readAll();
    if (written.error() != QFileDevice::NoError || !IsCompletePdf(pdf)) return false;

    // Devices and pipes are written as they are, a file is replaced only whole.
    return WriteUserFileReporting(target_, pdf, &error_);
}

bool PrintDirectJob(QPrinter& printer, const std::function<bool(QPainter&)>& draw, QString* writeError) {
    PdfFileOutput output(printer);
    if (!output.Ready()) return false;
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    bool ok = false;
    try {
        ok = draw(painter);
    } catch (const std::exception&) {
        ok = false;
    }
    if (!ok) {
        // Qt's PDF engines cannot abort: end() still writes the half-drawn job, but only to the
        // output's private temporary, which is never committed.
        printer.abort();
        painter.end();
        return false;
    }
    if (!painter.end()) return false;
    if (output.Commit()) return true;
    if (writeError) *writeError = output.Error();
    return false;
}

}  // namespace veltrix
