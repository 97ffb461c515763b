#pragma once

#include <QFont>
#include <QString>

namespace veltrix {

// Maps the program's classic faces onto what a Linux desktop has. Call once at start-up.
void RegisterFontSubstitutions();

// Point sizes become pixel sizes of a 96-dpi display, so layouts do not move with the screen's DPI.
int PointsToPixels(int points);
QFont PointFont(const QString& face, int points);
QFont PixelFont(const QString& face, int pixels);

}  // namespace veltrix
