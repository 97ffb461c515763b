#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPoint>
#include <QPolygon>
#include <QRect>
#include <QString>
#include <vector>

#include "platform/painted_page.h"

namespace veltrix {

// A C printf conversion as the program formats every number; any length.
QString FormatC(const char* format, ...) __attribute__((format(printf, 1, 2)));

// How the canvas's one-pixel runs (frames, straight lines, outlines of arcs and ellipses) reach the
// painter.
enum class PageStrokes {
    // Each filled as it is drawn.
    Immediate,
    // Collected by colour and filled as one path when the colour changes, before a text or a filled
    // rectangle, and at Flush: abutting runs leave no seam between them in a vector export.
    QueuedRuns,
};

// How wide a frame's edges are beyond one device pixel per pixel.
enum class FrameWeight {
    // One page pixel: twice as wide at a device pixel ratio of 2.
    PagePixel,
    // A cosmetic pen: one device pixel at any ratio.
    Hairline,
};

struct PageCanvasOptions {
    PageStrokes strokes = PageStrokes::Immediate;
    FrameWeight frames = FrameWeight::PagePixel;
    // The page's laid-out lines, kept from paint to paint; none lays every text out again.
    PageTextLines* lines = nullptr;
};

// The classic canvas's pixel rules over a QPainter, for every painted page: frames and filled
// rectangles cover l..r-1 and t..b-1, "line to" leaves its end pixel unset, and text is drawn opaque
// on the brush colour from its left-top point. Antialiasing is off and one-pixel lines are filled
// runs or one-page-pixel pens, so that every pixel is where the coordinates say, and twice as wide
// at a device pixel ratio of 2. Texts go to the log, when one is given, as they are drawn.
class PageCanvas {
  public:
    explicit PageCanvas(QPainter& painter, std::vector<DrawnText>* log = nullptr,
                        PageCanvasOptions options = {});
    ~PageCanvas();
    PageCanvas(const PageCanvas&) = delete;
    PageCanvas& operator=(const PageCanvas&) = delete;

    QPainter& Painter() { return painter_; }
    // Hands queued runs to the painter; call before the painter ends.
    void Flush();

    void SetFont(const QString& face, int points);
    // A font as it is, sized in pixels or in points.
    void SetFont(const QFont& font);
    int TextWidth(const QString& text) const;
    int TextHeight() const { return metrics_.height(); }
    void SetFontColour(const QColor& colour) { fontColour_ = colour; }
    void SetPen(const QColor& colour, int width = 1);
    void SetPenWidth(int width);
    void SetBrush(const QColor& colour) { brush_ = colour; }
    const QColor& Brush() const { return brush_; }

    void TextOut(int x, int y, const QString& text);
    void TextOut(int x, int y, const char* text) { TextOut(x, y, QString::fromLatin1(text)); }
    // One-pixel outline in the given colour, or in the brush colour; the brush is left as it was.
    void FrameRect(int left, int top, int right, int bottom, const QColor& colour);
    void FrameRect(int left, int top, int right, int bottom) { FrameRect(left, top, right, bottom, brush_); }
    // Outline with the pen, inside filled with the brush.
    void Rectangle(int left, int top, int right, int bottom);
    void Ellipse(int left, int top, int right, int bottom);
    // The arc of the ellipse in the box, counter-clockwise from the start angle to the end angle
    // (degrees, multiples of 90), in the pen colour.
    void Arc(int left, int top, int right, int bottom, int startAngle, int endAngle);

    void MoveTo(int x, int y) { current_ = QPoint(x, y); }
    // Axis-parallel lines stop short of their end pixel exactly. A sloping one-pixel line that runs
    // leftwards or upwards also sets its end pixel (the painter's flat cap always drops the larger
    // end); the page draws slopes only there and back, where both ends are set anyway.
    void LineTo(int x, int y);
    // Each segment drawn there and back with the pen: every segment's pixels and every point, both
    // ends included. Recorded as one polyline instead of two lines per segment.
    void ThereAndBack(const QPolygon& points);
    // A line there and back as runs of its pixels at 1:1: both end pixels set, and at any device pixel
    // ratio or in a vector export the pixels scale to a solid staircase instead of a thin stroke.
    void PixelLine(const QPoint& from, const QPoint& to);
    // A path stroked with the pen as it is (dashes, widths, points between pixels): curves sampled
    // finer than the page's pixels, and lines told apart by their pattern where colour is lost.
    void StrokePath(const QPainterPath& path, const QPen& pen);
    void FillRect(const QRect& area, const QColor& colour);

  private:
    // Straight onto a bitmap at one device pixel per page pixel, where a run or a straight line can be
    // filled directly; a recording or a scaled page keeps the painter's own strokes and paths.
    bool OnePixelPerPixel() const;
    // The recorded picture stores every state change, so only real changes reach the painter.
    void UsePen(const QColor& colour, int width, Qt::PenCapStyle cap, Qt::PenJoinStyle join = Qt::MiterJoin);
    void UseFont();
    void UseBackground();
    void Fill(const QRect& run, const QColor& colour);
    void FillAll(const std::vector<QRect>& runs, QPoint at, const QColor& colour);
    // Where something other than background has been drawn. Over bare background an opaque text on
    // the page's black and a transparent one give the same pixels, and the transparent one records a
    // quarter of the data.
    void AddInk(const QRect& area) { ink_.push_back(area); }
    // Where the page has been drawn over but holds background: the inside of a frame or of a black
    // rectangle. A text on another brush colour shows its box there.
    void AddCover(const QRect& area) { cover_.push_back(area); }
    // Whether a text there is drawn opaque.
    bool Inked(const QRect& area) const;

    QPainter& painter_;
    std::vector<DrawnText>* log_;
    PageCanvasOptions options_;
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
    std::vector<QRect> cover_;
    // Queued runs, all in one colour.
    std::vector<QRect> queued_;
    QColor queuedColour_;
};

}  // namespace veltrix
