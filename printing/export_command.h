#pragma once

#include <QSize>
#include <QString>

class QPainter;
class QWidget;

namespace veltrix {

struct Program;
class PaintedForm;

// Draws the window as its printout shows it, dark on white, in vectors: the recorded page inverted,
// less the texts the page itself or an opaque control hides, then its controls where they stand
// (labels as text, entries and lists framed, buttons outlined). The window must just have painted
// for printing (the copy mode inverted), as a print job has it paint.
void PaintFormAsVectors(PaintedForm& form, QPainter& target, QSize size);
// The drawing's size: the window's design page, whatever size the window has on screen.
QSize FormDrawingSize(PaintedForm& form);

// A window's "Export as PDF/SVG...": a printout without paper. Asks for the file (proposing the job
// title), has the window paint its design page once for printing, and writes it. A file that cannot be
// written is reported with its path and reason. True when a file was written.
bool RunExportCommand(Program& program, PaintedForm& form, const QString& jobTitle);

}  // namespace veltrix
