#pragma once

#include <QString>

class QPrinter;

namespace veltrix {

struct Program;
class PaintedForm;

inline constexpr const char* kPrinterBusy = "Printer is busy... Please try again when finished.";
inline constexpr const char* kPrintFailed = "User aborted or other error. Please try again later.";

// A window's "&Print": the print dialog, then the window's own paint scaled to the page while the
// copy mode is inverted. True when the page was printed.
bool RunPrintCommand(Program& program, PaintedForm& form, const QString& jobTitle, QPrinter& printer);

}  // namespace veltrix
