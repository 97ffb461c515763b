#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>
#include <vector>

#include "platform/painted_page.h"

namespace veltrix {

// Arrowhead directions.
enum ArrowDirection { kArrowUp = 1, kArrowDown = 2, kArrowLeft = 3, kArrowRight = 4 };

// The point of a circle at 0 (right), 90 (up), 180 (left) or 270 (down) degrees; other angles give
// the centre.
QPoint CirclePoint(int cx, int cy, int r, int angle);

// The outline drawings' canvas and primitives over a QPainter, with the classic pixel rules: frames,
// filled rectangles and ellipses cover l..r-1 and t..b-1, lines are drawn there and back so both ends
// are set, and text is drawn opaque on the brush colour from its left-top point. Every line, frame,
// arc and outline is painted as filled runs one layout pixel wide, never with a pen: the pixels at
// 1:1 are those of a one-pixel line, and at any device pixel ratio or in a vector export the runs
// scale to solid strokes instead of hairlines with gaps between them.
class DrawingCanvas {
  public:
    explicit DrawingCanvas(QPainter& painter, std::vector<DrawnText>* log = nullptr);
    ~DrawingCanvas();
    DrawingCanvas(const DrawingCanvas&) = delete;
    DrawingCanvas& operator=(const DrawingCanvas&) = delete;

    // Lines are collected and handed to the painter together; call before the painter ends.
    void Flush();

    void SetPen(const QColor& colour) { pen_ = colour; }
    void SetBrush(const QColor& colour) { brush_ = colour; }
    const QColor& Brush() const { return brush_; }
    void SetFont(const QString& face, int points);
    void SetFontColour(const QColor& colour) { fontColour_ = colour; }

    // A one-pixel outline in the brush colour.
    void FrameRect(int left, int top, int right, int bottom);
    // Outlined with the pen, filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    // The arc of the ellipse in the box, counter-clockwise from the start angle to the end angle
    // (degrees, multiples of 90).
    void Arc(int left, int top, int right, int bottom, int startAngle, int endAngle);
    void TextOut(int x, int y, const QString& text);

    // A straight line in the pen colour, drawn there and back: both end pixels are set.
    void DimLine(int x1, int y1, int x2, int y2);
    // An open triangle 6 pixels long and 4 wide with its tip at (x, y); any other direction draws nothing.
    void Arrowhead(int x, int y, int direction);
    // Joins each point to its successor until the successor is the terminating (0, 0).
    void PolylineTable(const QPoint* table, int dx, int dy, double scale);
    // The arc of the circle of radius r around (cx, cy), counter-clockwise from start to end.
    void CircleArc(int cx, int cy, int startAngle, int endAngle, int r);

  private:
    void UsePen(const QColor& colour);
    // A line with both end pixels set, queued with the other runs of the same colour.
    void AddLine(const QPoint& from, const QPoint& to);
    void AddRun(const QRect& run) { queued_.push_back(run); }
    void AddPixels(const std::vector<QRect>& runs, QPoint at);
    // Runs of another colour than the queued ones flush those first, so drawing order is kept.
    void Queue(const QColor& colour);
    bool Inked(const QRect& area) const;

    QPainter& painter_;
    std::vector<DrawnText>* log_;
    QColor pen_ = Qt::white;
    QColor brush_ = Qt::black;
    QColor fontColour_ = Qt::white;
    QFont font_;
    QFontMetrics metrics_;
    bool fontApplied_ = false;
    QPen appliedPen_;
    bool penApplied_ = false;
    QColor appliedBackground_;
    // Queued runs in one colour, filled as one path so that abutting runs leave no seam.
    std::vector<QRect> queued_;
    QColor queuedColour_;
    // Where something has been drawn. Over bare background an opaque text and a transparent one
    // give the same pixels, and the transparent one records far less.
    std::vector<QRect> ink_;
    Qt::BGMode appliedMode_ = Qt::TransparentMode;
};

}  // namespace veltrix
