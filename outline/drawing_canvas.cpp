#include "outline/drawing_canvas.h"

#include <QImage>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <functional>
#include <map>
#include <tuple>

#include "platform/fonts.h"

namespace veltrix {

QPoint CirclePoint(int cx, int cy, int r, int angle) {
    switch (angle) {
        case 0:
        case 360:
            return {cx + r, cy};
        case 90:
            return {cx, cy - r};
        case 180:
            return {cx - r, cy};
        case 270:
            return {cx, cy + r};
        default:
            return {cx, cy};
    }
}

namespace {

// A shape's pixels at 1:1 as row runs, relative to its anchor: those of its outline and those
// inside it.
struct ShapeRuns {
    std::vector<QRect> outline;
    std::vector<QRect> inside;
};

constexpr QRgb kOutlineInk = 0xffffffffu;
constexpr QRgb kInsideInk = 0xffff0000u;

// Sets the shape's pixels with Qt's own one-pixel raster once, so sloping lines, arcs and ellipses
// keep the pixels the classic pen gives, then hands them on as runs.
ShapeRuns Rasterise(const QRect& bounds, const std::function<void(QPainter&)>& draw) {
    const QPoint margin(2, 2);
    QImage image(bounds.size() + QSize(4, 4), QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.translate(margin - bounds.topLeft());
        QPen pen{QColor(kOutlineInk)};
        pen.setWidth(0);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::FlatCap);
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(QColor(kInsideInk));
        draw(painter);
    }
    ShapeRuns runs;
    const QPoint offset = bounds.topLeft() - margin;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width();) {
            const QRgb ink = row[x];
            int end = x + 1;
            while (end < image.width() && row[end] == ink) ++end;
            if (ink == kOutlineInk || ink == kInsideInk) {
                auto& into = ink == kOutlineInk ? runs.outline : runs.inside;
                into.push_back(QRect(x, y, end - x, 1).translated(offset));
            }
            x = end;
        }
    }
    return runs;
}

// Shapes recur (arrowheads, notches, holes): each is rasterised once per program run.
const ShapeRuns& CachedShape(int kind, int a, int b, int c, int d,
                             const std::function<ShapeRuns()>& make) {
    static std::map<std::array<int, 5>, ShapeRuns> cache;
    const std::array<int, 5> key{kind, a, b, c, d};
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, make()).first;
    return it->second;
}

void Edges(std::vector<QRect>& runs, int left, int top, int right, int bottom) {
    runs.push_back(QRect(left, top, right - left, 1));
    runs.push_back(QRect(left, bottom - 1, right - left, 1));
    runs.push_back(QRect(left, top, 1, bottom - top));
    runs.push_back(QRect(right - 1, top, 1, bottom - top));
}

// Side by side runs of the same rows become one rectangle: fewer shapes in a recording or a PDF.
std::vector<QRect> Merged(std::vector<QRect> runs) {
    std::sort(runs.begin(), runs.end(), [](const QRect& a, const QRect& b) {
        return std::tuple(a.top(), a.height(), a.left()) < std::tuple(b.top(), b.height(), b.left());
    });
    std::vector<QRect> merged;
    for (const QRect& run : runs) {
        if (!merged.empty()) {
            QRect& last = merged.back();
            if (last.top() == run.top() && last.height() == run.height() && run.left() <= last.right() + 1) {
                last.setRight(std::max(last.right(), run.right()));
                continue;
            }
        }
        merged.push_back(run);
    }
    return merged;
}

}  // namespace

DrawingCanvas::DrawingCanvas(QPainter& painter, std::vector<DrawnText>* log)
    : painter_(painter), log_(log), font_(painter.font()), metrics_(font_) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBrush(Qt::NoBrush);
    painter_.setBackgroundMode(Qt::TransparentMode);
    appliedBackground_ = painter_.background().color();
}

void DrawingCanvas::SetFont(const QString& face, int points) {
    const QFont font = PointFont(face, points);
    if (fontApplied_ && font == font_) return;
    font_ = font;
    metrics_ = QFontMetrics(font_);
    fontApplied_ = false;
}

void DrawingCanvas::UsePen(const QColor& colour) {
    QPen pen(colour);
    pen.setWidth(0);
    pen.setCosmetic(true);
    if (penApplied_ && pen == appliedPen_) return;
    painter_.setPen(pen);
    appliedPen_ = pen;
    penApplied_ = true;
}

DrawingCanvas::~DrawingCanvas() { Flush(); }

void DrawingCanvas::Flush() {
    if (queued_.empty()) return;
    if (painter_.isActive()) {
        // One path of all runs with the winding rule: where runs abut or cross, the fill is whole.
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const QRect& run : Merged(std::move(queued_))) path.addRect(QRectF(run));
        painter_.setPen(Qt::NoPen);
        penApplied_ = false;
        painter_.setBrush(queuedColour_);
        painter_.drawPath(path);
        painter_.setBrush(Qt::NoBrush);
    }
    queued_.clear();
}

void DrawingCanvas::Queue(const QColor& colour) {
    if (colour == queuedColour_) return;
    Flush();
    queuedColour_ = colour;
}

bool DrawingCanvas::Inked(const QRect& area) const {
    return std::any_of(ink_.begin(), ink_.end(), [&](const QRect& r) { return r.intersects(area); });
}

void DrawingCanvas::AddPixels(const std::vector<QRect>& runs, QPoint at) {
    for (const QRect& run : runs) AddRun(run.translated(at));
}

void DrawingCanvas::AddLine(const QPoint& from, const QPoint& to) {
    Queue(pen_);
    ink_.push_back(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
    if (from.y() == to.y() || from.x() == to.x()) {
        AddRun(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                     QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))));
        return;
    }
    const QPoint delta = to - from;
    const ShapeRuns& line = CachedShape(0, delta.x(), delta.y(), 0, 0, [&] {
        const QRect bounds(QPoint(std::min(0, delta.x()), std::min(0, delta.y())),
                           QPoint(std::max(0, delta.x()), std::max(0, delta.y())));
        return Rasterise(bounds, [&](QPainter& p) {
            // Two strokes: a path's corner may lose its pixel.
            QPainterPath path;
            path.moveTo(0, 0);
            path.lineTo(delta);
            path.moveTo(delta);
            path.lineTo(0, 0);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
        });
    });
    AddPixels(line.outline, from);
}

void DrawingCanvas::FrameRect(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    Queue(brush_);
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    Edges(queued_, left, top, right, bottom);
}

void DrawingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Flush();
    if (right <= left || bottom <= top) return;
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    painter_.fillRect(QRect(left, top, right - left, bottom - top), brush_);
    Queue(pen_);
    Edges(queued_, left, top, right, bottom);
}

void DrawingCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    const int w = right - left;
    const int h = bottom - top;
    const ShapeRuns& ellipse = CachedShape(1, w, h, 0, 0, [&] {
        return Rasterise(QRect(0, 0, w, h), [&](QPainter& p) { p.drawEllipse(QRect(0, 0, w - 1, h - 1)); });
    });
    const QPoint at(left, top);
    Queue(brush_);
    AddPixels(ellipse.inside, at);
    Queue(pen_);
    AddPixels(ellipse.outline, at);
}

void DrawingCanvas::Arc(int left, int top, int right, int bottom, int startAngle, int endAngle) {
    if (right <= left || bottom <= top) return;
    int span = (endAngle - startAngle) % 360;
    if (span <= 0) span += 360;
    Queue(pen_);
    ink_.push_back(QRect(left, top, right - left + 1, bottom - top + 1));
    const int w = right - left;
    const int h = bottom - top;
    const ShapeRuns& arc = CachedShape(2, w, h, startAngle, span, [&] {
        return Rasterise(QRect(0, 0, w + 1, h + 1), [&](QPainter& p) {
            const QRectF box(0, 0, w, h);
            QPainterPath path;
            path.arcMoveTo(box, startAngle);
            path.arcTo(box, startAngle, span);
            p.setBrush(Qt::NoBrush);
            p.drawPath(path);
            // The raster arc may stop a pixel short of the points it runs between; set both.
            const auto boxPoint = [&](int angle) {
                switch (((angle % 360) + 360) % 360) {
                    case 0:
                        return QPoint(w, h / 2);
                    case 90:
                        return QPoint(w / 2, 0);
                    case 180:
                        return QPoint(0, h / 2);
                    default:
                        return QPoint(w / 2, h);
                }
            };
            for (const QPoint& end : {boxPoint(startAngle), boxPoint(startAngle + span)})
                p.fillRect(QRect(end, QSize(1, 1)), QColor(kOutlineInk));
        });
    });
    AddPixels(arc.outline, QPoint(left, top));
}

void DrawingCanvas::TextOut(int x, int y, const QString& text) {
    if (log_) log_->push_back({QPoint(x, y), text, fontColour_, font_.pixelSize()});
    if (text.isEmpty()) return;
    Flush();
    if (!fontApplied_) {
        painter_.setFont(font_);
        fontApplied_ = true;
    }
    // The painter fills the text's advance by ascent + descent; a margin covers overhanging glyphs.
    const QRect box = QRect(x, y, metrics_.horizontalAdvance(text), metrics_.height()).adjusted(-2, -2, 2, 2);
    const Qt::BGMode mode = Inked(box) ? Qt::OpaqueMode : Qt::TransparentMode;
    if (mode != appliedMode_) {
        painter_.setBackgroundMode(mode);
        appliedMode_ = mode;
    }
    if (mode == Qt::OpaqueMode && appliedBackground_ != brush_) {
        painter_.setBackground(brush_);
        appliedBackground_ = brush_;
    }
    UsePen(fontColour_);
    DrawPageText(painter_, x, y, metrics_.ascent(), text);
    ink_.push_back(box);
}

void DrawingCanvas::DimLine(int x1, int y1, int x2, int y2) { AddLine(QPoint(x1, y1), QPoint(x2, y2)); }

void DrawingCanvas::Arrowhead(int x, int y, int direction) {
    QPoint points[3];
    switch (direction) {
        case kArrowUp:
        case kArrowDown: {
            const int base = direction == kArrowUp ? y + 6 : y - 6;
            points[0] = {x, y};
            points[1] = {x + 2, base};
            points[2] = {x - 2, base};
            break;
        }
        case kArrowLeft:
        case kArrowRight: {
            const int base = direction == kArrowLeft ? x + 6 : x - 6;
            points[0] = {x, y};
            points[1] = {base, y - 2};
            points[2] = {base, y + 2};
            break;
        }
        default:
            return;
    }
    AddLine(points[0], points[1]);
    AddLine(points[1], points[2]);
    AddLine(points[2], points[0]);
}

void DrawingCanvas::PolylineTable(const QPoint* table, int dx, int dy, double scale) {
    if (table == nullptr || table[0].isNull() || table[1].isNull()) return;
    const auto place = [&](const QPoint& p) {
        return QPoint(dx + static_cast<int>(p.x() * scale), dy + static_cast<int>(p.y() * scale));
    };
    for (const QPoint* p = table; !p[1].isNull(); ++p) AddLine(place(p[0]), place(p[1]));
}

void DrawingCanvas::CircleArc(int cx, int cy, int startAngle, int endAngle, int r) {
    Arc(cx - r, cy - r, cx + r, cy + r, startAngle, endAngle);
}

}  // namespace veltrix
