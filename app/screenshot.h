#pragma once

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>
#include <vector>

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
// a PNG. False, with the reason in error, when the file could not be written. The native file name
// is the file system's bytes, kept whole.
bool WriteFrameScreenshot(MainFrame& frame, const QByteArray& nativeFile, QString* error);
bool WriteFrameScreenshot(MainFrame& frame, const QString& file, QString* error);

// The file named by the last --screenshot on the command line, as its bytes were given (a name that
// is not UTF-8 stays that name); empty when there is none.
QByteArray ScreenshotFileArgument(const std::vector<std::string>& arguments);

}  // namespace veltrix
