#pragma once

#include <QSize>

class QPainter;
class QPrinter;

namespace veltrix {

class MessageBoxes;
class PaintedForm;
class PrinterSurface;
class PrintProgressDialog;

struct PrintOptions {
    bool ShowProgress = false;
    // Whether failures of band output are shown in message boxes.
    bool ShowErrors = false;
};

inline constexpr const char* kPrnutilsCaption = "Prnutils";
inline constexpr const char* kImageTransferFailed = "StretchDIBits failed! Trying BitBlt";
inline constexpr const char* kBitmapCopyFailed = "BitBlt failed";

// Updates the progress dialog's caption, processes its pending events and returns whether to go on.
// Without a dialog it always goes on.
bool PrintProgress(PrintProgressDialog* dialog, int done, int count);

// Prints the window's picture scaled to the printable area of the active painter on the printer.
bool PrintFormToPage(PaintedForm& form, QPrinter& printer, QPainter& canvas, const PrintOptions& options,
                     MessageBoxes* messages);
// The same on any printer surface, with an explicit band size.
bool PrintFormToPage(PaintedForm& form, PrinterSurface& surface, const PrintOptions& options,
                     MessageBoxes* messages, QSize bandSize);

}  // namespace veltrix
