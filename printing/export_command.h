#pragma once

#include <QSize>
#include <QString>

class QPainter;
class QWidget;

namespace veltrix {

struct Program;
class PaintedForm;

// Draws the window as its printout shows it, dark on white, in vectors: the recorded page, then
// the texts of its controls where they stand (labels as text, entries and lists framed, buttons
// outlined).
void PaintFormAsVectors(PaintedForm& form, QPainter& target, QSize size);
// The size the drawing needs: the window, or its whole page and controls where they reach further.
QSize FormDrawingSize(PaintedForm& form);

// A window's "Export as PDF/SVG...": asks for the file (proposing the job title), paints the window
// once so the page is current, and writes it. A file that cannot be written is reported with its
// path and reason. True when a file was written.
bool RunExportCommand(Program& program, PaintedForm& form, const QString& jobTitle);

}  // namespace veltrix
