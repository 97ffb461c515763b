#pragma once

#include <QFont>
#include <QString>

namespace veltrix {

// Maps the program's classic faces onto what a Linux desktop has. Call once at start-up.
void RegisterFontSubstitutions();

// The installed family a face name is drawn in: the classic faces ("MS Sans Serif", "Arial", "Small
// Fonts", "Terminal", "Courier New") become the first of their stand-ins that is installed, looked up
// once per run, so that no font is ever requested by a name the font database has to search for; any
// other name is kept as it is.
QString ConcreteFamily(const QString& face);

// Point sizes become pixel sizes of a 96-dpi display, so layouts do not move with the screen's DPI.
// Each face and size is built once and shared afterwards.
int PointsToPixels(int points);
QFont PointFont(const QString& face, int points);
QFont PixelFont(const QString& face, int pixels);

}  // namespace veltrix
