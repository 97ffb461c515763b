#include "printing/vector_export.h"
#include "version/version.h"

#include <QBuffer>
#include <QFile>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <QTextItem>
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/user_file_reporting.h"

namespace veltrix {

namespace {

QBrush Inverted(QBrush brush, PaperColours colours = InvertedColour) {
    if (brush.style() != Qt::NoBrush) brush.setColor(colours(brush.color()));
    return brush;
}

QImage Inverted(QImage image) {
    image.invertPixels(QImage::InvertRgb);
    return image;
}

// Forwards every drawing command to another painter with its colours inverted. Lines, shapes
// and text stay vectors and text in the target, which a raster inversion could not give.
// Which characters of each text item, in replay order, are hidden on the page.
using HiddenCharacters = std::vector<std::vector<bool>>;

// Where each character of a text item lies, in the painter's device pixels.
std::vector<QRectF> CharacterBoxes(const QPointF& origin, const QTextItem& item,
                                   const QTransform& transform) {
    const QString text = item.text();
    const QFontMetricsF metrics(item.font());
    std::vector<QRectF> boxes;
    boxes.reserve(static_cast<size_t>(text.size()));
    qreal left = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qreal right = metrics.horizontalAdvance(text.left(i + 1));
        const QRectF box(origin.x() + left, origin.y() - metrics.ascent(), right - left,
                         metrics.ascent() + metrics.descent());
        boxes.push_back(transform.mapRect(box));
        left = right;
    }
    return boxes;
}

// Follows a replay to learn which characters end up hidden: a text is hidden where something
// opaque drawn after it covers its characters whole.
class CoverEngine : public QPaintEngine {
  public:
    CoverEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyBrush) brush_ = state.brush();
        if (dirty & DirtyTransform) transform_ = state.transform();
    }

    void drawRects(const QRectF* rects, int count) override {
        if (!Opaque()) return;
        for (int i = 0; i < count; ++i) Cover(QRegion(transform_.mapRect(rects[i]).toAlignedRect()));
    }
    void drawRects(const QRect* rects, int count) override {
        if (!Opaque()) return;
        for (int i = 0; i < count; ++i) Cover(QRegion(transform_.mapRect(QRectF(rects[i])).toAlignedRect()));
    }
    void drawPath(const QPainterPath& path) override {
        if (!Opaque()) return;
        QRegion region;
        for (const QPolygonF& polygon : (transform_.map(path)).toFillPolygons())
            region += QRegion(polygon.toPolygon(), path.fillRule());
        Cover(region);
    }
    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        if (!Opaque() || mode == PolylineMode) return;
        Cover(QRegion(transform_.map(QPolygonF(QList<QPointF>(points, points + count))).toPolygon(),
                      mode == OddEvenMode ? Qt::OddEvenFill : Qt::WindingFill));
    }
    void drawPixmap(const QRectF& rect, const QPixmap&, const QRectF&) override {
        Cover(QRegion(transform_.mapRect(rect).toAlignedRect()));
    }
    void drawImage(const QRectF& rect, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {
        Cover(QRegion(transform_.mapRect(rect).toAlignedRect()));
    }
    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        events_.push_back({CharacterBoxes(origin, item, transform_), QRegion()});
    }

    // The hidden characters of every text item, given what is drawn over the whole picture last.
    HiddenCharacters Hidden(const QRegion& coveredAfterwards) const {
        HiddenCharacters hidden;
        QRegion later = coveredAfterwards;
        for (auto event = events_.rbegin(); event != events_.rend(); ++event) {
            if (event->characters.empty()) {
                later += event->cover;
                continue;
            }
            std::vector<bool> mask;
            for (const QRectF& box : event->characters) {
                // A pixel of margin: a character is hidden when all but its outermost pixels are.
                const QRect inner = box.toAlignedRect().adjusted(1, 1, -1, -1);
                mask.push_back(inner.isEmpty() ? later.contains(box.center().toPoint())
                                               : later.intersected(inner) == QRegion(inner));
            }
            hidden.push_back(std::move(mask));
        }
        std::reverse(hidden.begin(), hidden.end());
        return hidden;
    }

  private:
    struct Event {
        std::vector<QRectF> characters;  // a text item, or
        QRegion cover;                   // an opaque area
    };

    bool Opaque() const { return brush_.style() == Qt::SolidPattern && brush_.color().alpha() == 255; }
    void Cover(const QRegion& region) {
        if (!region.isEmpty()) events_.push_back({{}, region});
    }

    QBrush brush_;
    QTransform transform_;
    std::vector<Event> events_;
};

class InvertingEngine : public QPaintEngine {
  public:
    InvertingEngine(QPainter& target, const HiddenCharacters* hidden, PaperColours colours)
        : QPaintEngine(QPaintEngine::AllFeatures),
          target_(target),
          base_(target.transform()),
          hidden_(hidden),
          colours_(colours) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) {
            QPen pen = state.pen();
            pen.setBrush(Inverted(pen.brush(), colours_));
            target_.setPen(pen);
        }
        if (dirty & DirtyBrush) target_.setBrush(Inverted(state.brush(), colours_));
        if (dirty & DirtyBrushOrigin) target_.setBrushOrigin(state.brushOrigin());
        if (dirty & DirtyFont) target_.setFont(state.font());
        if (dirty & DirtyBackground) target_.setBackground(Inverted(state.backgroundBrush(), colours_));
        if (dirty & DirtyTransform) target_.setTransform(state.transform() * base_);
        if (dirty & DirtyClipRegion) target_.setClipRegion(state.clipRegion(), state.clipOperation());
        if (dirty & DirtyClipPath) target_.setClipPath(state.clipPath(), state.clipOperation());
        if (dirty & DirtyClipEnabled) target_.setClipping(state.isClipEnabled());
        if (dirty & DirtyCompositionMode) target_.setCompositionMode(state.compositionMode());
        if (dirty & DirtyHints) target_.setRenderHints(state.renderHints());
        // The painter fills an opaque text's background itself, as a rectangle in the background
        // colour; the target must not fill it again.
        target_.setBackgroundMode(Qt::TransparentMode);
    }

    void drawRects(const QRectF* rects, int count) override { target_.drawRects(rects, count); }
    void drawLines(const QLineF* lines, int count) override { target_.drawLines(lines, count); }
    void drawEllipse(const QRectF& rect) override { target_.drawEllipse(rect); }
    void drawPath(const QPainterPath& path) override { target_.drawPath(path); }
    void drawPoints(const QPointF* points, int count) override { target_.drawPoints(points, count); }

    void drawPolygon(const QPointF* points, int count, PolygonDrawMode mode) override {
        switch (mode) {
            case PolylineMode:
                target_.drawPolyline(points, count);
                break;
            case OddEvenMode:
                target_.drawPolygon(points, count, Qt::OddEvenFill);
                break;
            case WindingMode:
                target_.drawPolygon(points, count, Qt::WindingFill);
                break;
            case ConvexMode:
                target_.drawConvexPolygon(points, count);
                break;
        }
    }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        target_.setFont(item.font());
        const size_t index = textItems_++;
        const QString text = item.text();
        if (hidden_ == nullptr || index >= hidden_->size() ||
            (*hidden_)[index].size() != size_t(text.size())) {
            target_.drawText(origin, text);
            return;
        }
        // The visible runs of characters, each where it stands in the whole text.
        const std::vector<bool>& mask = (*hidden_)[index];
        const QFontMetricsF metrics(item.font());
        for (qsizetype start = 0; start < text.size();) {
            if (mask[size_t(start)]) {
                ++start;
                continue;
            }
            qsizetype end = start;
            while (end < text.size() && !mask[size_t(end)]) ++end;
            const qreal x = start == 0 ? 0 : metrics.horizontalAdvance(text.left(start));
            target_.drawText(origin + QPointF(x, 0), text.mid(start, end - start));
            start = end;
        }
    }

    void drawPixmap(const QRectF& rect, const QPixmap& pixmap, const QRectF& source) override {
        target_.drawImage(rect, Inverted(pixmap.toImage()), source);
    }

    void drawImage(const QRectF& rect, const QImage& image, const QRectF& source,
                   Qt::ImageConversionFlags flags) override {
        target_.drawImage(rect, Inverted(image), source, flags);
    }

  private:
    QPainter& target_;
    QTransform base_;
    const HiddenCharacters* hidden_;
    PaperColours colours_;
    size_t textItems_ = 0;
};

// A paint device of the picture's size whose engine is the one given.
template <typename Engine>
class EngineDevice : public QPaintDevice {
  public:
    template <typename... Args>
    explicit EngineDevice(QSize size, Args&&... args) : engine_(std::forward<Args>(args)...), size_(size) {}
    ~EngineDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }
    Engine& engine() { return engine_; }

  protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return qRound(size_.width() * 25.4 / 96);
            case PdmHeightMM:
                return qRound(size_.height() * 25.4 / 96);
            case PdmNumColors:
                return 0x7fffffff;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return 96;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

  private:
    mutable Engine engine_;
    QSize size_;
};

}  // namespace

QColor InvertedColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return QColor(255 - rgb.red(), 255 - rgb.green(), 255 - rgb.blue(), rgb.alpha());
}

VectorFormat VectorFormatFor(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? VectorFormat::Svg : VectorFormat::Pdf;
}

QColor DarkenedColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    if (rgb.red() == rgb.green() && rgb.green() == rgb.blue()) return InvertedColour(rgb);
    constexpr int kReadableOnWhite = 160;
    const QColor hsv = rgb.toHsv();
    if (hsv.value() <= kReadableOnWhite) return rgb;
    return QColor::fromHsv(hsv.hsvHue(), hsv.hsvSaturation(), kReadableOnWhite, rgb.alpha()).toRgb();
}

void PlayInverted(const QPicture& picture, QPainter& target, const QRegion& coveredAfterwards,
                  PaperColours colours) {
    const QRect bounds = picture.boundingRect();
    const QSize size = QSize(bounds.right() + 1, bounds.bottom() + 1).expandedTo(QSize(1, 1));
    HiddenCharacters hidden;
    {
        EngineDevice<CoverEngine> device(size);
        QPainter replay(&device);
        replay.drawPicture(0, 0, picture);
        replay.end();
        hidden = device.engine().Hidden(coveredAfterwards);
    }
    EngineDevice<InvertingEngine> device(size, target, &hidden, colours);
    QPainter replay(&device);
    replay.drawPicture(0, 0, picture);
}

QByteArray DrawingDocument(VectorFormat format, QSize size, const QString& title,
                           const std::function<void(QPainter&)>& paintDrawing) {
    size = size.expandedTo(QSize(1, 1));
    const QRect page(QPoint(0, 0), size);
    const auto paint = [&](QPaintDevice& device) {
        QPainter painter(&device);
        if (!painter.isActive()) return false;
        painter.setClipRect(page);
        paintDrawing(painter);
        return painter.end();
    };

    QByteArray drawing;
    QBuffer buffer(&drawing);
    buffer.open(QIODevice::WriteOnly);
    bool painted = false;
    if (format == VectorFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&buffer);
        svg.setSize(size);
        svg.setViewBox(page);
        svg.setResolution(96);
        svg.setTitle(title);
        painted = paint(svg);
    } else {
        QPdfWriter pdf(&buffer);
        pdf.setResolution(96);
        pdf.setPageSize(
            QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Veltrix " VELTRIX_VERSION));
        painted = paint(pdf);
    }
    buffer.close();
    return painted ? drawing : QByteArray();
}

QString DrawingNotMade(const QString& path) {
    return QStringLiteral("Cannot write %1: the drawing could not be made").arg(MessagePath(path));
}

bool ExportDrawing(const QString& path, QSize size, const QString& title,
                   const std::function<void(QPainter&)>& paintDrawing, QString* error) {
    const QByteArray drawing = DrawingDocument(VectorFormatFor(path), size, title, paintDrawing);
    if (drawing.isEmpty()) {
        if (error) *error = DrawingNotMade(path);
        return false;
    }
    return WriteExportedDocument(path, drawing, error);
}

bool WriteExportedDocument(const QByteArray& nativePath, const QByteArray& document, QString* error) {
    QString reason;
    if (!WriteUserFileReporting(nativePath, document, &reason)) {
        // A wait the user ended needs no message.
        if (error) *error = reason.isEmpty() ? QString() : QStringLiteral("Cannot write ") + reason;
        return false;
    }
    return true;
}

bool WriteExportedDocument(const QString& path, const QByteArray& document, QString* error) {
    return WriteExportedDocument(QFile::encodeName(path), document, error);
}

}  // namespace veltrix
