#include "outline/drawing_canvas.h"

#include <algorithm>

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

void DrawingCanvas::UsePen(const QColor& colour, Qt::PenCapStyle cap) {
    QPen pen(colour);
    pen.setWidth(0);
    pen.setCosmetic(true);
    pen.setCapStyle(cap);
    pen.setJoinStyle(Qt::MiterJoin);
    if (penApplied_ && pen == appliedPen_) return;
    painter_.setPen(pen);
    appliedPen_ = pen;
    penApplied_ = true;
}

DrawingCanvas::~DrawingCanvas() { Flush(); }

void DrawingCanvas::Flush() {
    if (queued_.isEmpty()) return;
    if (painter_.isActive()) {
        UsePen(queuedColour_, Qt::FlatCap);
        painter_.drawPath(queued_);
    }
    queued_.clear();
}

void DrawingCanvas::Queue() {
    if (pen_ == queuedColour_) return;
    Flush();
    queuedColour_ = pen_;
}

bool DrawingCanvas::Inked(const QRect& area) const {
    return std::any_of(ink_.begin(), ink_.end(), [&](const QRect& r) { return r.intersects(area); });
}

void DrawingCanvas::AddLine(const QPoint& from, const QPoint& to) {
    Queue();
    ink_.push_back(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
    // Running an axis-parallel line one pixel further sets exactly the pixels of a line drawn there
    // and back; a sloping one is drawn there and back.
    if (from.y() == to.y()) {
        queued_.moveTo(std::min(from.x(), to.x()), from.y());
        queued_.lineTo(std::max(from.x(), to.x()) + 1, from.y());
    } else if (from.x() == to.x()) {
        queued_.moveTo(from.x(), std::min(from.y(), to.y()));
        queued_.lineTo(from.x(), std::max(from.y(), to.y()) + 1);
    } else {
        // Two strokes: a path's corner may lose its pixel.
        queued_.moveTo(from);
        queued_.lineTo(to);
        queued_.moveTo(to);
        queued_.lineTo(from);
    }
}

void DrawingCanvas::FrameRect(int left, int top, int right, int bottom) {
    Flush();
    if (right <= left || bottom <= top) return;
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    // A cosmetic outline of a w x h rectangle covers w + 1 by h + 1 pixels.
    UsePen(brush_, Qt::FlatCap);
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void DrawingCanvas::Rectangle(int left, int top, int right, int bottom) {
    Flush();
    if (right <= left || bottom <= top) return;
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    painter_.fillRect(QRect(left, top, right - left, bottom - top), brush_);
    UsePen(pen_, Qt::FlatCap);
    painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
}

void DrawingCanvas::Ellipse(int left, int top, int right, int bottom) {
    Flush();
    if (right <= left || bottom <= top) return;
    ink_.push_back(QRect(left, top, right - left, bottom - top));
    UsePen(pen_, Qt::FlatCap);
    painter_.setBrush(brush_);
    painter_.drawEllipse(QRect(left, top, right - left - 1, bottom - top - 1));
    painter_.setBrush(Qt::NoBrush);
}

void DrawingCanvas::Arc(int left, int top, int right, int bottom, int startAngle, int endAngle) {
    if (right <= left || bottom <= top) return;
    int span = (endAngle - startAngle) % 360;
    if (span <= 0) span += 360;
    Queue();
    ink_.push_back(QRect(left, top, right - left + 1, bottom - top + 1));
    const QRectF box(left, top, right - left, bottom - top);
    queued_.arcMoveTo(box, startAngle);
    queued_.arcTo(box, startAngle, span);
    // The raster arc may stop a pixel short of the points it runs between; set both.
    const auto boxPoint = [&](int angle) {
        const int midX = (left + right) / 2;
        const int midY = (top + bottom) / 2;
        switch (((angle % 360) + 360) % 360) {
            case 0:
                return QPoint(right, midY);
            case 90:
                return QPoint(midX, top);
            case 180:
                return QPoint(left, midY);
            default:
                return QPoint(midX, bottom);
        }
    };
    for (const QPoint& end : {boxPoint(startAngle), boxPoint(endAngle)}) AddLine(end, end);
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
    UsePen(fontColour_, Qt::FlatCap);
    painter_.drawText(QPoint(x, y + metrics_.ascent()), text);
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
