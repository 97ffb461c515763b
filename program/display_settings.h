#pragma once

#include <QColor>
#include <QString>

#include "platform/painted_page.h"

namespace veltrix {

// Face and sizes of all text the program paints itself, the copy mode and the result-field
// offsets. Reset at every start; never saved.
struct DisplaySettings {
    QString FontName = QStringLiteral("MS Sans Serif");
    int FontSizeLarge = 14;
    int FontSizeMedium = 12;
    int FontSizeSmall = 10;
    int FontSizeTiny = 8;
    CopyMode PaintCopyMode = CopyMode::Source;
    int FieldOffsetX = 0;
    int FieldOffsetY = 0;
    QColor DrawingColour = QColor(255, 255, 255);
    QColor DrawingGreyColour = QColor(192, 192, 192);
};

}  // namespace veltrix
