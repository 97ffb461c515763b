#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/painted_page.h"
#include "program/display_settings.h"

namespace veltrix {

// Writes the information pages: opaque text on black from its left-top point in the painting face,
// and the magenta-framed box. Antialiasing is off so frames land on exact pixels.
class PageWriter {
  public:
    PageWriter(QPainter& painter, const DisplaySettings& display, std::vector<DrawnText>* log = nullptr);

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
    std::vector<DrawnText>* log_;
    QFont font_;
};

}  // namespace veltrix
