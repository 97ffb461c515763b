#include "platform/vector_export.h"
#include "version/version.h"

#include <QFileInfo>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <QTextItem>

namespace veltrix {

namespace {

QBrush Inverted(QBrush brush) {
    if (brush.style() != Qt::NoBrush) brush.setColor(InvertedColour(brush.color()));
    return brush;
}

QImage Inverted(QImage image) {
    image.invertPixels(QImage::InvertRgb);
    return image;
}

// Forwards every drawing command to another painter with its colours inverted. Lines, shapes
// and text stay vectors and text in the target, which a raster inversion could not give.
class InvertingEngine : public QPaintEngine {
public:
    explicit InvertingEngine(QPainter& target)
        : QPaintEngine(QPaintEngine::AllFeatures), target_(target), base_(target.transform()) {}

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }

    void updateState(const QPaintEngineState& state) override {
        const DirtyFlags dirty = state.state();
        if (dirty & DirtyPen) {
            QPen pen = state.pen();
            pen.setBrush(Inverted(pen.brush()));
            target_.setPen(pen);
        }
        if (dirty & DirtyBrush) target_.setBrush(Inverted(state.brush()));
        if (dirty & DirtyBrushOrigin) target_.setBrushOrigin(state.brushOrigin());
        if (dirty & DirtyFont) target_.setFont(state.font());
        if (dirty & DirtyBackground) target_.setBackground(Inverted(state.backgroundBrush()));
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
        case PolylineMode: target_.drawPolyline(points, count); break;
        case OddEvenMode: target_.drawPolygon(points, count, Qt::OddEvenFill); break;
        case WindingMode: target_.drawPolygon(points, count, Qt::WindingFill); break;
        case ConvexMode: target_.drawConvexPolygon(points, count); break;
        }
    }

    void drawTextItem(const QPointF& origin, const QTextItem& item) override {
        target_.setFont(item.font());
        target_.drawText(origin, item.text());
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
};

class InvertingDevice : public QPaintDevice {
public:
    InvertingDevice(QPainter& target, QSize size) : engine_(target), size_(size) {}
    ~InvertingDevice() override = default;
    QPaintEngine* paintEngine() const override { return &engine_; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmWidth: return size_.width();
        case PdmHeight: return size_.height();
        case PdmWidthMM: return qRound(size_.width() * 25.4 / 96);
        case PdmHeightMM: return qRound(size_.height() * 25.4 / 96);
        case PdmNumColors: return 0x7fffffff;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 96;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    mutable InvertingEngine engine_;
    QSize size_;
};

QString WriteError(const QString& path, const QString& reason) {
    return QStringLiteral("Cannot write %1: %2").arg(QFileInfo(path).absoluteFilePath(), reason);
}

}  // namespace

QColor InvertedColour(const QColor& colour) {
    const QColor rgb = colour.toRgb();
    return QColor(255 - rgb.red(), 255 - rgb.green(), 255 - rgb.blue(), rgb.alpha());
}

VectorFormat VectorFormatFor(const QString& path) {
    return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? VectorFormat::Svg : VectorFormat::Pdf;
}

void PlayInverted(const QPicture& picture, QPainter& target) {
    const QRect bounds = picture.boundingRect();
    InvertingDevice device(target, QSize(bounds.right() + 1, bounds.bottom() + 1).expandedTo(QSize(1, 1)));
    QPainter replay(&device);
    replay.drawPicture(0, 0, picture);
}

bool ExportDrawing(const QString& path, QSize size, const QString& title,
                   const std::function<void(QPainter&)>& paintDrawing, QString* error) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error) *error = WriteError(path, file.errorString());
        return false;
    }
    size = size.expandedTo(QSize(1, 1));
    const QRect page(QPoint(0, 0), size);
    const auto paint = [&](QPaintDevice& device) {
        QPainter painter(&device);
        if (!painter.isActive()) return false;
        painter.setClipRect(page);
        paintDrawing(painter);
        return painter.end();
    };

    bool painted = false;
    if (VectorFormatFor(path) == VectorFormat::Svg) {
        QSvgGenerator svg;
        svg.setOutputDevice(&file);
        svg.setSize(size);
        svg.setViewBox(page);
        svg.setResolution(96);
        svg.setTitle(title);
        painted = paint(svg);
    } else {
        QPdfWriter pdf(&file);
        pdf.setResolution(96);
        pdf.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point, QString(), QPageSize::ExactMatch));
        pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
        pdf.setTitle(title);
        pdf.setCreator(QStringLiteral("Veltrix " VELTRIX_VERSION));
        painted = paint(pdf);
    }
    if (!painted || file.error() != QFileDevice::NoError) {
        if (error) *error = WriteError(path, file.error() != QFileDevice::NoError ? file.errorString()
                                                                                : QStringLiteral("drawing failed"));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error) *error = WriteError(path, file.errorString());
        return false;
    }
    return true;
}

}  // namespace veltrix
