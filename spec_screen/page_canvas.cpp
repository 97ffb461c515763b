#include "spec_screen/page_canvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/fonts.h"

namespace veltrix {

QString FormatC(const char* format, ...) {
    char small[128];
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(small, sizeof small, format, args);
    va_end(args);
    QString text;
    if (length < 0) {
        text = QString();
    } else if (static_cast<size_t>(length) < sizeof small) {
        text = QString::fromLatin1(small, length);
    } else {
        std::vector<char> large(static_cast<size_t>(length) + 1);
        std::vsnprintf(large.data(), large.size(), format, again);
        text = QString::fromLatin1(large.data(), length);
    }
    va_end(again);
    return text;
}

PageCanvas::PageCanvas(QPainter& painter, std::vector<DrawnText>* log)
    : painter_(painter), log_(log), font_(painter.font()), metrics_(font_) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setBrush(Qt::NoBrush);
    appliedPen_ = painter_.pen();
    appliedBackground_ = painter_.background().color();
}

void PageCanvas::SetFont(const QString& face, int points) {
    QFont font = PointFont(face, points);
    if (font == font_) return;
    font_ = font;
    metrics_ = QFontMetrics(font_);
    fontApplied_ = false;
}

void PageCanvas::SetPen(const QColor& colour, int width) {
    penColour_ = colour;
    penWidth_ = width;
}

void PageCanvas::SetPenWidth(int width) { penWidth_ = width; }

void PageCanvas::UsePen(const QColor& colour, int width, Qt::PenCapStyle cap, Qt::PenJoinStyle join) {
    // A one-pixel pen in page units: the same pixels as a cosmetic pen at 1:1, and twice as wide
    // (not a hairline) when the page is rendered at a device pixel ratio of 2.
    QPen pen(colour);
    pen.setCosmetic(false);
    pen.setWidth(std::max(width, 1));
    pen.setCapStyle(cap);
    pen.setJoinStyle(join);
    if (pen == appliedPen_) return;
    painter_.setPen(pen);
    appliedPen_ = pen;
}

void PageCanvas::UseFont() {
    if (fontApplied_) return;
    painter_.setFont(font_);
    fontApplied_ = true;
}

void PageCanvas::UseBackground() {
    if (appliedBackground_ == brush_) return;
    painter_.setBackground(brush_);
    appliedBackground_ = brush_;
}

void PageCanvas::AddInk(const QRect& area) { ink_.push_back(area); }

bool PageCanvas::Inked(const QRect& area) const {
    for (const QRect& inked : ink_)
        if (inked.intersects(area)) return true;
    return false;
}

void PageCanvas::TextOut(int x, int y, const QString& text) {
    if (log_) log_->push_back({QPoint(x, y), text, fontColour_, font_.pixelSize()});
    if (text.isEmpty()) return;
    UseFont();
    // The painter fills the text's advance by ascent + descent; a margin covers overhanging glyphs.
    const QRect box = QRect(x, y, metrics_.horizontalAdvance(text), metrics_.height()).adjusted(-2, -2, 2, 2);
    const Qt::BGMode mode = Inked(box) ? Qt::OpaqueMode : Qt::TransparentMode;
    if (mode != appliedMode_) {
        painter_.setBackgroundMode(mode);
        appliedMode_ = mode;
    }
    if (mode == Qt::OpaqueMode) UseBackground();
    UsePen(fontColour_, 1, Qt::FlatCap);
    DrawPageText(painter_, x, y, metrics_.ascent(), text);
    AddInk(box);
}

void PageCanvas::FrameRect(int left, int top, int right, int bottom, const QColor& colour) {
    if (right <= left || bottom <= top) return;
    // Four filled edges: exact pixels at 1:1 and exactly scaled on a high-density screen, where a
    // stroked outline would straddle pixel boundaries.
    const QRect edges[] = {QRect(left, top, right - left, 1), QRect(left, bottom - 1, right - left, 1),
                           QRect(left, top, 1, bottom - top), QRect(right - 1, top, 1, bottom - top)};
    for (const QRect& edge : edges) {
        painter_.fillRect(edge, colour);
        AddInk(edge);
    }
}

void PageCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    painter_.fillRect(left, top, right - left, bottom - top, brush_);
    if (brush_ != QColor(Qt::black)) AddInk(QRect(left, top, right - left, bottom - top));
    FrameRect(left, top, right, bottom, penColour_);
}

void PageCanvas::LineTo(int x, int y) {
    const QPoint from = current_;
    const QPoint to(x, y);
    current_ = to;
    if (from == to) return;
    AddInk(QRect(from, to).normalized().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    if (penWidth_ > 1) {
        UsePen(penColour_, penWidth_, Qt::SquareCap);
        painter_.drawLine(from, to);
        return;
    }
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (dx == 0 || dy == 0) {
        // Axis-parallel: the start pixel up to, not including, the end pixel, as a filled run that
        // scales exactly with the device pixel ratio.
        const QPoint unit(dx == 0 ? 0 : (dx < 0 ? -1 : 1), dy == 0 ? 0 : (dy < 0 ? -1 : 1));
        const QPoint last = to - unit;
        painter_.fillRect(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                                QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
                          penColour_);
        return;
    }
    // The flat cap leaves out the end with the larger coordinate along the line's main axis, which is
    // the classic end pixel when the line runs right or down.
    UsePen(penColour_, 1, Qt::FlatCap);
    const bool decreasing = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
    if (!decreasing) {
        painter_.drawLine(from, to);
    } else {
        painter_.drawLine(from, to);
        // A one-pixel flat-capped stub sets the start; a recorded point would cost a whole path.
        painter_.drawLine(from, from + QPoint(1, 0));
    }
}

void PageCanvas::ThereAndBack(const QPolygon& points) {
    if (points.isEmpty()) return;
    AddInk(points.boundingRect().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    // A square cap sets both ends of a one-pixel line; wide lines are joined round.
    UsePen(penColour_, penWidth_, Qt::SquareCap, Qt::RoundJoin);
    if (points.size() == 1) {
        painter_.drawLine(points.front(), points.front());
    } else {
        painter_.drawPolyline(points);
    }
    current_ = points.back();
}

}  // namespace veltrix
