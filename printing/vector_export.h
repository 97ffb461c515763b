#pragma once

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

// The format a file name asks for by its extension (".svg" is SVG, anything else PDF).
VectorFormat VectorFormatFor(const QString& path);

// Replays a window's recorded picture into the painter with every colour inverted, the way a
// printout shows the light-on-black pages: dark on white, lines as lines and text as text. A
// character that later drawing of the picture, or the covers drawn over it afterwards (in picture
// pixels), hide whole is left out, so a text layer reads what the page shows, once.
void PlayInverted(const QPicture& picture, QPainter& target, const QRegion& coveredAfterwards = QRegion());

// Writes a one-page PDF or an SVG drawing of the given size (96 dpi pixels) of what the paint
// function draws. The file is replaced only when it was written whole; false with the path and the
// system's reason in *error otherwise.
bool ExportDrawing(const QString& path, QSize size, const QString& title,
                   const std::function<void(QPainter&)>& paint, QString* error);

}  // namespace veltrix
