#include "platform/artwork.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <cmath>
#include <vector>

#include "platform/fonts.h"

namespace veltrix {

namespace {

QImage RenderWith(QSvgRenderer& renderer, QSize logicalSize, qreal ratio) {
    if (!renderer.isValid() || logicalSize.isEmpty()) return QImage();
    const QSize device(static_cast<int>(std::ceil(logicalSize.width() * ratio)),
                       static_cast<int>(std::ceil(logicalSize.height() * ratio)));
    // Straight alpha, so inverting the colours leaves the transparency alone.
    QImage image(device, QImage::Format_ARGB32);
    if (image.isNull()) return image;
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
    }
    image.setDevicePixelRatio(ratio);
    return image;
}

// One parsed logo for every view; never destroyed, like the icon.
QSvgRenderer& LogoRenderer() {
    static QSvgRenderer* const renderer = new QSvgRenderer(kLogoArtwork);
    return *renderer;
}

// The logo drawn once per size and pixel ratio: every page shows the same picture, and drawing its
// lettering is most of what painting a page costs.
QImage LogoImage(QSize size, qreal ratio) {
    struct Drawn {
        QSize size;
        qreal ratio;
        QImage image;
    };
    static auto* const drawn = new std::vector<Drawn>;
    for (const Drawn& d : *drawn) {
        if (d.size == size && d.ratio == ratio) return d.image;
    }
    QImage image = RenderWith(LogoRenderer(), size, ratio);
    if (drawn->size() >= 8) drawn->erase(drawn->begin());
    drawn->push_back({size, ratio, image});
    return image;
}

}  // namespace

QImage RenderArtwork(const QString& source, QSize logicalSize, qreal devicePixelRatio) {
    QSvgRenderer renderer(source);
    return RenderWith(renderer, logicalSize, devicePixelRatio > 0 ? devicePixelRatio : 1.0);
}

QLabel* LogoLabel(QWidget* parent, const char* name, const QString& text, int left, int top,
                  const QString& face, int pixels) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(PixelFont(face, pixels));
    // The size adjustSize gives a plain one-line label (no margin, indent, frame or wrap), measured
    // once: the label's own size hints measure its text three times.
    label->resize(label->fontMetrics().boundingRect(0, 0, 2000, 2000, Qt::AlignLeft, text).size());
    label->move(left, top);
    return label;
}

void SetLabelColours(QLabel* label, const QColor& text, const QColor* background) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, text);
    if (background) palette.setColor(QPalette::Window, *background);
    if (palette != label->palette()) label->setPalette(palette);
}

const QIcon& WindowIcon() {
    // Never destroyed: it must not outlive the application's pixmap support in a static destructor.
    static const QIcon* const icon = [] {
        const QString file = QStringLiteral(":/veltrix/icon.png");
        return new QIcon(QFile::exists(file) ? QIcon(file) : QIcon());
    }();
    return *icon;
}

QIcon ProgramIcon() {
    // The SVG icon engine draws each size only when a desktop asks for it.
    QIcon vector(kIconArtwork);
    if (!vector.isNull() && !vector.pixmap(QSize(16, 16)).isNull()) return vector;
    QIcon icon;
    QSvgRenderer renderer(kIconArtwork);
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        const QImage image = RenderWith(renderer, QSize(size, size), 1.0);
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

LogoView::LogoView(QWidget* parent) : QWidget(parent), renderer_(&LogoRenderer()) {
    setAutoFillBackground(false);
}

LogoView::~LogoView() = default;

bool LogoView::HasArtwork() const { return renderer_->isValid(); }

void LogoView::SetPrinting(bool printing) {
    if (printing_ == printing) return;
    printing_ = printing;
    update();
}

void LogoView::PaintArtwork(QPainter& painter) const {
    if (renderer_->isValid()) renderer_->render(&painter, QRectF(QPointF(0, 0), QSizeF(size())));
}

void LogoView::paintEvent(QPaintEvent*) {
    if (!renderer_->isValid()) return;
    QPainter painter(this);
    // Drawn at the scale it reaches the device with: the screen's pixel ratio, or the ratio of the
    // image the window is rendered into.
    const QTransform toDevice = painter.deviceTransform();
    qreal ratio = std::hypot(toDevice.m11(), toDevice.m12());
    if (!(ratio > 0)) ratio = 1.0;
    QImage image = LogoImage(size(), ratio);
    if (image.isNull()) return;
    if (printing_) image.invertPixels(QImage::InvertRgb);
    painter.drawImage(QRectF(QPointF(0, 0), QSizeF(size())), image);
}

}  // namespace veltrix
