#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

#include "program/display_settings.h"

namespace veltrix {

inline const QColor kInfoBlack(0, 0, 0);
inline const QColor kInfoWhite(255, 255, 255);
inline const QColor kInfoYellow(255, 255, 0);
inline const QColor kInfoMagenta(255, 0, 255);
inline const QColor kInfoBlue(0, 0, 255);

// One text as the page wrote it; tests read these instead of glyph pixels.
struct PageText {
    QPoint At;  // left-top
    QString Text;
    QColor Colour;
    int PixelSize = 0;
    bool operator==(const PageText&) const = default;
};

// Writes the information pages: opaque text on black from its left-top point in the painting face,
// and the magenta-framed box. Antialiasing is off so frames land on exact pixels.
class PageWriter {
  public:
    PageWriter(QPainter& painter, const DisplaySettings& display, std::vector<PageText>* log = nullptr);

    void UseMedium() { UseSize(display_.FontSizeMedium); }
    void UseSmall() { UseSize(display_.FontSizeSmall); }
    void UseSize(int points);

    void Text(int x, int y, const QColor& colour, const QString& text);
    // The line in white with the words in yellow, by overprinting ever shorter prefixes of it.
    void Highlighted(int x, int y, const QString& line, const QStringList& words);
    // Outline from (left, top) to (right, bottom), right and bottom edges excluded, filled black.
    void Box(int left, int top, int right, int bottom);

  private:
    QPainter& painter_;
    const DisplaySettings& display_;
    std::vector<PageText>* log_;
    QFont font_;
};

}  // namespace veltrix
