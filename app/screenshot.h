#pragma once

#include <QRect>
#include <QSize>
#include <QString>

namespace veltrix {

class MainFrame;

// Where a picture of the frame puts the document windows so each is seen whole: the specification
// screen top left at its full size, the tabular window beside it, the outline window below both.
struct ScreenshotPlaces {
    QRect Specification;
    QRect TabularData;
    QRect Outline;
};
ScreenshotPlaces ScreenshotLayout(QSize area, QSize selectOuter);

// The frame's size in a picture: room for the specification screen, the report beside it and a
// strip of the outline window below.
inline constexpr QSize kScreenshotFrameSize(1400, 900);

// Shows the frame with its windows laid out to be seen, paints every window and writes the frame as
// a PNG. False, with the reason in error, when the file could not be written.
bool WriteFrameScreenshot(MainFrame& frame, const QString& file, QString* error);

}  // namespace veltrix
