#include "platform/fonts.h"

#include <QStringList>
#include <cmath>

namespace veltrix {

void RegisterFontSubstitutions() {
    const QStringList sans{"Liberation Sans", "DejaVu Sans"};
    const QStringList mono{"Liberation Mono", "DejaVu Sans Mono"};
    for (const char* face : {"MS Sans Serif", "Arial", "Small Fonts"}) QFont::insertSubstitutions(face, sans);
    for (const char* face : {"Terminal", "Courier New"}) QFont::insertSubstitutions(face, mono);
}

int PointsToPixels(int points) { return static_cast<int>(std::lround(points * 96.0 / 72.0)); }

QFont PixelFont(const QString& face, int pixels) {
    QFont font(face);
    font.setPixelSize(pixels > 0 ? pixels : 1);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QFont PointFont(const QString& face, int points) { return PixelFont(face, PointsToPixels(points)); }

}  // namespace veltrix
