#pragma once

#include <QString>
#include <QTemporaryFile>
#include <functional>
#include <memory>

class QPainter;
class QPrinter;

namespace veltrix {

// A window's own printer: its settings last from job to job. After a failed job it is replaced by a
// fresh printer with the same settings, so a broken output stream never carries into the next job.
class WindowPrinter {
  public:
    WindowPrinter();
    ~WindowPrinter();
    WindowPrinter(const WindowPrinter&) = delete;
    WindowPrinter& operator=(const WindowPrinter&) = delete;

    QPrinter& Printer() { return *printer_; }
    void Renew();

  private:
    std::unique_ptr<QPrinter> printer_;
};

// True when the bytes are a whole PDF file: header, trailer, and a cross-reference table where the
// trailer says it is.
bool IsCompletePdf(const QByteArray& pdf);

// The output of one job to a PDF file. The printer writes a private temporary file; Commit checks
// that it is a whole PDF and only then writes it to the chosen file, so a job whose output fails
// leaves no partial printout and an existing file stays as it was. Printers that do not write a
// PDF file pass through untouched.
class PdfFileOutput {
  public:
    explicit PdfFileOutput(QPrinter& printer);
    ~PdfFileOutput();
    PdfFileOutput(const PdfFileOutput&) = delete;
    PdfFileOutput& operator=(const PdfFileOutput&) = delete;

    // False when the redirection could not be set up; the job must not start.
    bool Ready() const { return ready_; }
    // After the job ended well: true when the printout reached the chosen file whole.
    bool Commit();
    // Why Commit could not write the chosen file (its path and the system's reason), if it was that.
    const QString& Error() const { return error_; }

  private:
    QPrinter& printer_;
    QString target_;
    std::unique_ptr<QTemporaryFile> temporary_;
    bool ready_ = true;
    QString error_;
};

// One job drawn straight on the printer (text printouts: the report, the quote form). A PDF file gets
// the job only whole, through the program's one writer; a job whose drawing fails (draw returns false
// or throws) is aborted. False on any failure, with the file's path and the system's reason in
// *writeError when it was the file that could not be written.
bool PrintDirectJob(QPrinter& printer, const std::function<bool(QPainter&)>& draw, QString* writeError);

}  // namespace veltrix
