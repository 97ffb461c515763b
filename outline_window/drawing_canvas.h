#pragma once

#include <QPainter>
#include <QPoint>
#include <vector>

#include "platform/page_canvas.h"

namespace veltrix {

// Arrowhead directions.
enum ArrowDirection { kArrowUp = 1, kArrowDown = 2, kArrowLeft = 3, kArrowRight = 4 };

// The point of a circle at 0 (right), 90 (up), 180 (left) or 270 (down) degrees; other angles give
// the centre.
QPoint CirclePoint(int cx, int cy, int r, int angle);

// The page canvas as the outline drawings use it, with the figures of a dimensioned drawing. What
// differs from the other pages: every line, frame, arc and outline is painted as filled runs one
// layout pixel wide, queued by colour (PageStrokes::QueuedRuns), never with a pen, so that at any
// device pixel ratio or in a vector export they scale to solid strokes without seams; lines are drawn
// there and back so both ends are set; FrameRect takes the brush colour.
class DrawingCanvas : public PageCanvas {
  public:
    explicit DrawingCanvas(QPainter& painter, std::vector<DrawnText>* log = nullptr,
                           PageTextLines* lines = nullptr)
        : PageCanvas(painter, log, {.strokes = PageStrokes::QueuedRuns, .lines = lines}) {}

    // A straight line in the pen colour, drawn there and back: both end pixels are set.
    void DimLine(int x1, int y1, int x2, int y2) { PixelLine(QPoint(x1, y1), QPoint(x2, y2)); }
    // An open triangle 6 pixels long and 4 wide with its tip at (x, y); any other direction draws nothing.
    void Arrowhead(int x, int y, int direction);
    // Joins each point to its successor until the successor is the terminating (0, 0).
    void PolylineTable(const QPoint* table, int dx, int dy, double scale);
    // The arc of the circle of radius r around (cx, cy), counter-clockwise from start to end.
    void CircleArc(int cx, int cy, int startAngle, int endAngle, int r) {
        Arc(cx - r, cy - r, cx + r, cy + r, startAngle, endAngle);
    }
};

}  // namespace veltrix
