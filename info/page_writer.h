#pragma once

#include <QColor>
#include <QPainter>
#include <QString>
#include <QStringList>
#include <vector>

#include "platform/page_canvas.h"
#include "program/display_settings.h"

namespace veltrix {

// The page canvas as the information pages write on it: each text in a colour of its own, in the
// painting face at the medium or small size, on black. What differs from the other pages: the box's
// magenta frame is a hairline (FrameWeight::Hairline), one device pixel at any ratio.
class PageWriter {
  public:
    PageWriter(QPainter& painter, const DisplaySettings& display, std::vector<DrawnText>* log = nullptr);

    void UseMedium() { UseSize(display_.FontSizeMedium); }
    void UseSmall() { UseSize(display_.FontSizeSmall); }
    void UseSize(int points) { canvas_.SetFont(display_.FontName, points); }

    void Text(int x, int y, const QColor& colour, const QString& text);
    // The line in white with the words in yellow, by overprinting ever shorter prefixes of it.
    void Highlighted(int x, int y, const QString& line, const QStringList& words);
    // Outline from (left, top) to (right, bottom), right and bottom edges excluded, filled black.
    void Box(int left, int top, int right, int bottom);

  private:
    const DisplaySettings& display_;
    PageCanvas canvas_;
};

}  // namespace veltrix
