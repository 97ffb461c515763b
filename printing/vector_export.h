#pragma once

#include <QByteArray>
#include <QColor>
#include <QPicture>
#include <QRegion>
#include <QSize>
#include <QString>
#include <functional>

namespace veltrix {

enum class VectorFormat { Pdf, Svg };

// The colour as an inverted copy shows it; alpha is kept.
QColor InvertedColour(const QColor& colour);

// How a light-on-black page's colours reach paper.
using PaperColours = QColor (*)(const QColor&);

// Black and white and the greys swapped; a colour keeps its hue, darkened where it would be too light
// to read on white (red stays red), so a drawing that names its colours still matches them.
QColor DarkenedColour(const QColor& colour);

// The format a file name asks for by its extension (".svg" is SVG, anything else PDF).
VectorFormat VectorFormatFor(const QString& path);

// Replays a window's recorded picture into the painter with every colour inverted (or as the colours
// map them), the way a printout shows the light-on-black pages: dark on white, lines as lines and text
// as text. A
// character that later drawing of the picture, or the covers drawn over it afterwards (in picture
// pixels), hide whole is left out, so a text layer reads what the page shows, once.
void PlayInverted(const QPicture& picture, QPainter& target, const QRegion& coveredAfterwards = QRegion(),
                  PaperColours colours = InvertedColour);

// A one-page PDF or an SVG drawing of the given size (96 dpi pixels) of what the paint function
// draws; empty when it could not be made.
QByteArray DrawingDocument(VectorFormat format, QSize size, const QString& title,
                           const std::function<void(QPainter&)>& paint);
// The message for a drawing that could not be made.
QString DrawingNotMade(const QString& path);

// Writes a one-page PDF or an SVG drawing of the given size (96 dpi pixels) of what the paint
// function draws. The file is replaced only when it was written whole; false with the path and the
// system's reason in *error otherwise.
bool ExportDrawing(const QString& path, QSize size, const QString& title,
                   const std::function<void(QPainter&)>& paint, QString* error);

// Writes a finished document through the one writer; false with "Cannot write " and the reason in
// *error otherwise (left empty when the user gave up waiting for a FIFO's reader). The name is the
// file system's bytes, or a name shown to the user.
bool WriteExportedDocument(const QByteArray& nativePath, const QByteArray& document, QString* error);
bool WriteExportedDocument(const QString& path, const QByteArray& document, QString* error);

}  // namespace veltrix
