#pragma once

#include <QString>

class QWidget;

namespace veltrix {

struct DisplaySettings;
class WindowPrinter;
struct Program;
class PaintedForm;

inline constexpr const char* kPrinterBusy = "Printer is busy... Please try again when finished.";
inline constexpr const char* kPrintFailed = "User aborted or other error. Please try again later.";

// Paints for printing (the copy mode inverted) for the span of a job or an export; restores the
// screen's mode and repaints the window on every path.
class InvertedCopyScope {
  public:
    InvertedCopyScope(DisplaySettings& display, PaintedForm& form);
    ~InvertedCopyScope();
    InvertedCopyScope(const InvertedCopyScope&) = delete;
    InvertedCopyScope& operator=(const InvertedCopyScope&) = delete;

  private:
    DisplaySettings& display_;
    PaintedForm& form_;
};

// A window's "&Print": the print dialog, then the window's own paint scaled to the page while the
// copy mode is inverted, on the window's own printer. True when the page was printed; a failed job
// is reported and leaves the window a fresh printer.
bool RunPrintCommand(Program& program, PaintedForm& form, const QString& jobTitle, WindowPrinter& printer);

}  // namespace veltrix
