#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QPolygon>
#include <QString>
#include <vector>

#include "platform/painted_page.h"

namespace veltrix {

// A C printf conversion as the program formats every number; any length.
QString FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The classic canvas's pixel rules over a QPainter: frames cover l..r-1 and t..b-1, "line to"
// leaves its end pixel unset, and text is drawn opaque on the brush colour from its left-top point.
// Antialiasing is off and one-pixel lines are filled runs or one-page-pixel pens, so that every pixel is
// where the coordinates say, and twice as wide at a device pixel ratio of 2.
class PageCanvas {
  public:
    explicit PageCanvas(QPainter& painter, std::vector<DrawnText>* log = nullptr);

    QPainter& Painter() { return painter_; }

    void SetFont(const QString& face, int points);
    void SetFontColour(const QColor& colour) { fontColour_ = colour; }
    void SetPen(const QColor& colour, int width = 1);
    void SetPenWidth(int width);
    void SetBrush(const QColor& colour) { brush_ = colour; }

    void TextOut(int x, int y, const QString& text);
    void TextOut(int x, int y, const char* text) { TextOut(x, y, QString::fromLatin1(text)); }
    // One-pixel outline in the given colour; the brush is left as it was.
    void FrameRect(int left, int top, int right, int bottom, const QColor& colour);
    // Outline with the pen, inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y) { current_ = QPoint(x, y); }
    // Axis-parallel lines stop short of their end pixel exactly. A sloping one-pixel line that runs
    // leftwards or upwards also sets its end pixel (the painter's flat cap always drops the larger
    // end); the page draws slopes only there and back, where both ends are set anyway.
    void LineTo(int x, int y);
    // Each segment drawn there and back: every segment's pixels and every point, both ends included.
    // Recorded as one polyline instead of two lines per segment.
    void ThereAndBack(const QPolygon& points);

  private:
    // The recorded picture stores every state change, so only real changes reach the painter.
    void UsePen(const QColor& colour, int width, Qt::PenCapStyle cap, Qt::PenJoinStyle join = Qt::MiterJoin);
    void UseFont();
    void UseBackground();
    // Where something has been drawn. Over bare background an opaque text and a transparent one give
    // the same pixels, and the transparent one records a quarter of the data.
    void AddInk(const QRect& area);
    bool Inked(const QRect& area) const;

    QPainter& painter_;
    std::vector<DrawnText>* log_;
    QFont font_;
    QFontMetrics metrics_;
    bool fontApplied_ = false;
    QColor fontColour_ = Qt::white;
    QColor penColour_ = Qt::white;
    int penWidth_ = 1;
    QColor brush_ = Qt::black;
    QPoint current_;
    QPen appliedPen_;
    QColor appliedBackground_;
    Qt::BGMode appliedMode_ = Qt::TransparentMode;
    std::vector<QRect> ink_;
};

}  // namespace veltrix
