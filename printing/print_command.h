#pragma once

#include <QString>

namespace veltrix {

class WindowPrinter;
struct Program;
class PaintedForm;

inline constexpr const char* kPrinterBusy = "Printer is busy... Please try again when finished.";
inline constexpr const char* kPrintFailed = "User aborted or other error. Please try again later.";

// A window's "&Print": the print dialog, then the window's own paint scaled to the page while the
// copy mode is inverted, on the window's own printer. True when the page was printed; a failed job
// is reported and leaves the window a fresh printer.
bool RunPrintCommand(Program& program, PaintedForm& form, const QString& jobTitle, WindowPrinter& printer);

}  // namespace veltrix
