#pragma once

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QSize>

namespace veltrix {

// How a painted window copies its finished picture onto its surface: plainly on screen,
// inverted while printing so light-on-black pages come out dark on white.
enum class CopyMode { Source, InvertedSource };

// A custom-painted window's recorded picture and off-screen bitmap, kept for the window's life.
class PaintedPage {
public:
    // Starts a new recording (the old one is discarded) on a black background of the given size.
    // The returned painter stays valid until EndRecording.
    QPainter& BeginRecording(QSize background);
    void EndRecording();
    bool Recording() const { return recorder_.isActive(); }

    // Renders the picture into the bitmap, fills the window black (white for an inverted copy)
    // and copies the bitmap onto it with the mode, shifted shiftX pixels to the right.
    void Present(QPainter& surface, QSize windowSize, CopyMode mode, int shiftX, qreal devicePixelRatio = 1.0);

    const QPicture& Picture() const { return picture_; }
    const QImage& Bitmap() const { return bitmap_; }

private:
    QPicture picture_;
    QPainter recorder_;
    QSize background_;
    QImage bitmap_;
};

}  // namespace veltrix
