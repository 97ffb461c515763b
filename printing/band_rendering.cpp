#include "printing/band_rendering.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWidget>
#include <algorithm>

#include "platform/painted_form.h"

namespace veltrix {

namespace {

struct ScrollState {
    QSize client;
    int rangeX = 0;
    int rangeY = 0;
    int positionX = 0;
    int positionY = 0;
};

ScrollState ReadScrollState(PaintedForm& form) {
    ScrollState s;
    QWidget* widget = form.FormWidget();
    if (!widget) return s;
    s.client = widget->size();
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        s.client = area->viewport()->size();
        const QScrollBar* h = area->horizontalScrollBar();
        const QScrollBar* v = area->verticalScrollBar();
        if (h->maximum() > h->minimum()) s.rangeX = h->maximum() - h->minimum() + h->pageStep();
        if (v->maximum() > v->minimum()) s.rangeY = v->maximum() - v->minimum() + v->pageStep();
        s.positionX = h->value() - h->minimum();
        s.positionY = v->value() - v->minimum();
    }
    return s;
}

}  // namespace

QSize GetFormExtent(PaintedForm& form) {
    const ScrollState s = ReadScrollState(form);
    int width = s.client.width();
    int height = s.client.height();
    if (width < s.rangeX) width = s.rangeX + (s.rangeY > 0 ? 1 : 0);
    if (height < s.rangeY) height = s.rangeY + (s.rangeX > 0 ? 1 : 0);
    return {std::max(width, 0), std::max(height, 0)};
}

QPoint GetFormScrollOffset(PaintedForm& form) {
    const ScrollState s = ReadScrollState(form);
    return {s.client.width() < s.rangeX ? s.positionX : 0, s.client.height() < s.rangeY ? s.positionY : 0};
}

QSize ScreenBandSize() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize size = (QSizeF(screen->size()) * screen->devicePixelRatio()).toSize();
        if (!size.isEmpty()) return size;
    }
    return {1024, 768};
}

namespace {

// Labels, images and bevels draw on their parent; everything else is a control of its own.
bool IsWindowedControl(const QWidget* child) {
    if (qobject_cast<const QLabel*>(child)) return false;
    return child->metaObject() != &QFrame::staticMetaObject;
}

}  // namespace

QImage RenderBandSource(PaintedForm& form, const QRect& sourceRegion, QPoint scrollOffset,
                        const std::function<bool()>& goOn) {
    if (sourceRegion.isEmpty()) return {};
    QWidget* window = form.FormWidget();
    QImage image(sourceRegion.size(), QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(window ? window->palette().color(window->backgroundRole()) : QColor(Qt::white));

    QPainter canvas(&image);
    if (!canvas.isActive()) return {};
    // Client coordinates are picture coordinates less the scroll position.
    const QPoint shift = scrollOffset - sourceRegion.topLeft();
    canvas.translate(shift);

    canvas.save();
    form.FormPaint(canvas, window ? window->size() : GetFormExtent(form));
    canvas.restore();

    if (goOn && !goOn()) return {};
    if (!window) return image;

    const QRect clientRegion = sourceRegion.translated(-scrollOffset);
    for (const bool windowed : {false, true}) {
        for (QObject* object : window->children()) {
            auto* child = qobject_cast<QWidget*>(object);
            if (!child || child->isWindow() || !child->isVisibleTo(window)) continue;
            if (IsWindowedControl(child) != windowed) continue;
            if (!child->geometry().intersects(clientRegion)) continue;
            if (goOn && !goOn()) return {};
            // render() clips to the child's own bounds and draws its visible children after it.
            child->render(&canvas, child->pos(), QRegion(), QWidget::DrawChildren);
        }
    }
    canvas.end();
    return image;
}

PixelView PixelsOf(const QImage& image) {
    if (image.isNull() || image.depth() != 32) return {};
    return {reinterpret_cast<const uint32_t*>(image.constBits()), image.width(), image.height(),
            static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4)};
}

}  // namespace veltrix
