#include "platform/page_canvas.h"

#include <QHash>
#include <QImage>
#include <QPainterPath>
#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <tuple>
#include <utility>
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
const ShapeRuns& CachedShape(int kind, int a, int b, int c, int d, const std::function<ShapeRuns()>& make) {
    static std::map<std::array<int, 5>, ShapeRuns> cache;
    const std::array<int, 5> key{kind, a, b, c, d};
    auto it = cache.find(key);
    if (it == cache.end()) it = cache.emplace(key, make()).first;
    return it->second;
}

std::array<QRect, 4> Edges(int left, int top, int right, int bottom) {
    return {QRect(left, top, right - left, 1), QRect(left, bottom - 1, right - left, 1),
            QRect(left, top, 1, bottom - top), QRect(right - 1, top, 1, bottom - top)};
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

// A text's advance in a font. The pages draw mostly the same labels on every paint, and measuring
// one means shaping it: the answers are kept, a bounded number of them.
int TextAdvance(const QFont& font, const QFontMetrics& metrics, const QString& text) {
    static QHash<std::pair<QFont, QString>, int> advances;
    const std::pair<QFont, QString> key(font, text);
    if (const auto found = advances.constFind(key); found != advances.cend()) return *found;
    if (advances.size() >= 4096) advances.clear();
    const int advance = metrics.horizontalAdvance(text);
    advances.insert(key, advance);
    return advance;
}

}  // namespace

PageCanvas::PageCanvas(QPainter& painter, std::vector<DrawnText>* log, PageCanvasOptions options)
    : painter_(painter), log_(log), options_(options), font_(painter.font()), metrics_(font_) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setBackgroundMode(Qt::TransparentMode);
    painter_.setBrush(Qt::NoBrush);
    appliedPen_ = painter_.pen();
    appliedBackground_ = painter_.background().color();
}

PageCanvas::~PageCanvas() { Flush(); }

bool PageCanvas::OnePixelPerPixel() const {
    const QPaintDevice* device = painter_.device();
    const int type = device != nullptr ? device->devType() : 0;
    return (type == QInternal::Image || type == QInternal::Pixmap) &&
           painter_.deviceTransform().type() <= QTransform::TxTranslate;
}

void PageCanvas::Flush() {
    if (queued_.empty()) return;
    if (painter_.isActive() && OnePixelPerPixel()) {
        // On pixels each run covers what it covers in the union; the path is for vectors.
        appliedPen_ = QPen(Qt::NoPen);
        painter_.setPen(appliedPen_);
        painter_.setBrush(queuedColour_);
        painter_.drawRects(queued_.data(), static_cast<int>(queued_.size()));
        painter_.setBrush(Qt::NoBrush);
    } else if (painter_.isActive()) {
        // One path of all runs with the winding rule: where runs abut or cross, the fill is whole.
        QPainterPath path;
        path.setFillRule(Qt::WindingFill);
        for (const QRect& run : Merged(std::move(queued_))) path.addRect(QRectF(run));
        appliedPen_ = QPen(Qt::NoPen);
        painter_.setPen(appliedPen_);
        painter_.setBrush(queuedColour_);
        painter_.drawPath(path);
        painter_.setBrush(Qt::NoBrush);
    }
    queued_.clear();
}

void PageCanvas::SetFont(const QString& face, int points) {
    QFont font = PointFont(face, points);
    if (font == font_) return;
    font_ = font;
    metrics_ = QFontMetrics(font_);
    fontApplied_ = false;
}

void PageCanvas::SetFont(const QFont& font) {
    if (font == font_) return;
    font_ = font;
    metrics_ = QFontMetrics(font_);
    fontApplied_ = false;
}

int PageCanvas::TextWidth(const QString& text) const { return TextAdvance(font_, metrics_, text); }

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

void PageCanvas::Fill(const QRect& run, const QColor& colour) {
    if (options_.strokes == PageStrokes::Immediate) {
        painter_.fillRect(run, colour);
        return;
    }
    if (colour != queuedColour_) {
        Flush();
        queuedColour_ = colour;
    }
    queued_.push_back(run);
}

void PageCanvas::FillAll(const std::vector<QRect>& runs, QPoint at, const QColor& colour) {
    for (const QRect& run : runs) Fill(run.translated(at), colour);
}

bool PageCanvas::Inked(const QRect& area) const {
    const auto hits = [&](const std::vector<QRect>& drawn) {
        return std::any_of(drawn.begin(), drawn.end(), [&](const QRect& r) { return r.intersects(area); });
    };
    return hits(ink_) || (brush_ != kPageBlack && hits(cover_));
}

void PageCanvas::TextOut(int x, int y, const QString& text) {
    if (log_) log_->push_back({QPoint(x, y), text, fontColour_, font_.pixelSize()});
    if (text.isEmpty()) return;
    Flush();
    UseFont();
    // The painter fills the text's advance by ascent + descent; a margin covers overhanging glyphs.
    const QRect box =
        QRect(x, y, TextAdvance(font_, metrics_, text), metrics_.height()).adjusted(-2, -2, 2, 2);
    const Qt::BGMode mode = Inked(box) ? Qt::OpaqueMode : Qt::TransparentMode;
    if (mode != appliedMode_) {
        painter_.setBackgroundMode(mode);
        appliedMode_ = mode;
    }
    if (mode == Qt::OpaqueMode) UseBackground();
    UsePen(fontColour_, 1, Qt::FlatCap);
    DrawPageText(painter_, x, y, metrics_.ascent(), text, options_.lines);
    AddInk(box);
}

void PageCanvas::FrameRect(int left, int top, int right, int bottom, const QColor& colour) {
    if (right <= left || bottom <= top) return;
    AddCover(QRect(left, top, right - left, bottom - top));
    for (const QRect& edge : Edges(left, top, right, bottom)) AddInk(edge);
    if (options_.frames == FrameWeight::Hairline) {
        Flush();
        QPen pen(colour);
        pen.setWidth(0);
        pen.setCosmetic(true);
        if (pen != appliedPen_) {
            painter_.setPen(pen);
            appliedPen_ = pen;
        }
        painter_.drawRect(QRect(left, top, right - left - 1, bottom - top - 1));
        return;
    }
    // Four filled edges: exact pixels at 1:1 and exactly scaled on a high-density screen, where a
    // stroked outline would straddle pixel boundaries.
    for (const QRect& edge : Edges(left, top, right, bottom)) Fill(edge, colour);
}

void PageCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    Flush();
    const QRect inside(left, top, right - left, bottom - top);
    painter_.fillRect(inside, brush_);
    if (brush_ != kPageBlack) AddInk(inside);
    FrameRect(left, top, right, bottom, penColour_);
}

void PageCanvas::Ellipse(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    AddInk(QRect(left, top, right - left, bottom - top));
    const int w = right - left;
    const int h = bottom - top;
    const ShapeRuns& ellipse = CachedShape(1, w, h, 0, 0, [&] {
        return Rasterise(QRect(0, 0, w, h), [&](QPainter& p) { p.drawEllipse(QRect(0, 0, w - 1, h - 1)); });
    });
    FillAll(ellipse.inside, QPoint(left, top), brush_);
    FillAll(ellipse.outline, QPoint(left, top), penColour_);
}

void PageCanvas::Arc(int left, int top, int right, int bottom, int startAngle, int endAngle) {
    if (right <= left || bottom <= top) return;
    int span = (endAngle - startAngle) % 360;
    if (span <= 0) span += 360;
    AddInk(QRect(left, top, right - left + 1, bottom - top + 1));
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
    FillAll(arc.outline, QPoint(left, top), penColour_);
}

void PageCanvas::LineTo(int x, int y) {
    const QPoint from = current_;
    const QPoint to(x, y);
    current_ = to;
    if (from == to) return;
    AddInk(QRect(from, to).normalized().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    const int dx = to.x() - from.x();
    const int dy = to.y() - from.y();
    if (penWidth_ <= 1 && (dx == 0 || dy == 0)) {
        // Axis-parallel: the start pixel up to, not including, the end pixel, as a filled run that
        // scales exactly with the device pixel ratio.
        const QPoint unit(dx == 0 ? 0 : (dx < 0 ? -1 : 1), dy == 0 ? 0 : (dy < 0 ? -1 : 1));
        const QPoint last = to - unit;
        Fill(QRect(QPoint(std::min(from.x(), last.x()), std::min(from.y(), last.y())),
                   QPoint(std::max(from.x(), last.x()), std::max(from.y(), last.y()))),
             penColour_);
        return;
    }
    Flush();
    if (penWidth_ > 1) {
        UsePen(penColour_, penWidth_, Qt::SquareCap);
        painter_.drawLine(from, to);
        return;
    }
    // The flat cap leaves out the end with the larger coordinate along the line's main axis, which is
    // the classic end pixel when the line runs right or down.
    UsePen(penColour_, 1, Qt::FlatCap);
    painter_.drawLine(from, to);
    const bool decreasing = std::abs(dx) >= std::abs(dy) ? dx < 0 : dy < 0;
    // A one-pixel flat-capped stub sets the start; a recorded point would cost a whole path.
    if (decreasing) painter_.drawLine(from, from + QPoint(1, 0));
}

void PageCanvas::ThereAndBack(const QPolygon& points) {
    if (points.isEmpty()) return;
    AddInk(points.boundingRect().adjusted(-penWidth_, -penWidth_, penWidth_, penWidth_));
    current_ = points.back();
    const bool straight =
        points.size() == 2 && (points[0].x() == points[1].x() || points[0].y() == points[1].y());
    if (straight && penWidth_ == 1 && OnePixelPerPixel()) {
        // The same pixels as the pen's, without its stroker.
        Fill(points.boundingRect(), penColour_);
        return;
    }
    Flush();
    // A square cap sets both ends of a one-pixel line; wide lines are joined round.
    UsePen(penColour_, penWidth_, Qt::SquareCap, Qt::RoundJoin);
    if (points.size() == 1) {
        painter_.drawLine(points.front(), points.front());
    } else {
        painter_.drawPolyline(points);
    }
}

void PageCanvas::PixelLine(const QPoint& from, const QPoint& to) {
    AddInk(QRect(from, to).normalized().adjusted(-1, -1, 1, 1));
    if (from.y() == to.y() || from.x() == to.x()) {
        Fill(QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                   QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y()))),
             penColour_);
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
    FillAll(line.outline, from, penColour_);
}

void PageCanvas::StrokePath(const QPainterPath& path, const QPen& pen) {
    if (path.isEmpty()) return;
    const int reach = std::max(1, pen.width());
    AddInk(path.boundingRect().toAlignedRect().adjusted(-reach, -reach, reach, reach));
    Flush();
    if (pen != appliedPen_) {
        painter_.setPen(pen);
        appliedPen_ = pen;
    }
    painter_.setBrush(Qt::NoBrush);
    if (!OnePixelPerPixel()) {
        painter_.drawPath(path);
        return;
    }
    // On the bitmap each subpath as a polyline of one-pixel strokes: a wide pen's outline of a long,
    // turning curve costs the rasteriser out of all proportion. A wider pen is as many strokes side
    // by side, its dashes as long as its own.
    const int width = std::max(1, static_cast<int>(std::lround(pen.widthF())));
    QPen thin = pen;
    thin.setWidth(0);
    if (pen.style() != Qt::SolidLine) {
        QList<qreal> pattern = pen.dashPattern();
        for (qreal& length : pattern) length *= width;
        thin.setDashPattern(pattern);
    }
    painter_.setPen(thin);
    appliedPen_ = thin;
    const QList<QPolygonF> lines = path.toSubpathPolygons();
    // Shifted along the diagonal, so lines of every slope gain the width.
    for (int k = 0; k < width; ++k) {
        for (const QPolygonF& line : lines) painter_.drawPolyline(line.translated(k, k));
    }
}

void PageCanvas::FillRect(const QRect& area, const QColor& colour) {
    if (area.isEmpty()) return;
    AddInk(area);
    Fill(area, colour);
}

}  // namespace veltrix
