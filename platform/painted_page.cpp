#include "platform/painted_page.h"

namespace veltrix {

QPainter& PaintedPage::BeginRecording(QSize background) {
    if (recorder_.isActive()) recorder_.end();
    picture_ = QPicture();
    background_ = background;
    recorder_.begin(&picture_);
    recorder_.setRenderHint(QPainter::Antialiasing, false);
    recorder_.setRenderHint(QPainter::TextAntialiasing, true);
    recorder_.fillRect(QRect(QPoint(0, 0), background), Qt::black);
    return recorder_;
}

void PaintedPage::EndRecording() {
    if (recorder_.isActive()) recorder_.end();
}

void PaintedPage::Present(QPainter& surface, QSize windowSize, CopyMode mode, int shiftX, qreal devicePixelRatio) {
    EndRecording();
    QSize size = background_.expandedTo(picture_.boundingRect().size()).expandedTo(QSize(1, 1));
    QSize devicePixels = (QSizeF(size) * devicePixelRatio).toSize();
    if (bitmap_.size() != devicePixels || bitmap_.devicePixelRatio() != devicePixelRatio) {
        bitmap_ = QImage(devicePixels, QImage::Format_RGB32);
        bitmap_.setDevicePixelRatio(devicePixelRatio);
    }
    bitmap_.fill(Qt::black);
    {
        QPainter p(&bitmap_);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.drawPicture(0, 0, picture_);
    }

    const bool inverted = mode == CopyMode::InvertedSource;
    surface.save();
    surface.fillRect(QRect(QPoint(0, 0), windowSize), inverted ? Qt::white : Qt::black);
    surface.setCompositionMode(inverted ? QPainter::RasterOp_NotSource : QPainter::CompositionMode_Source);
    const int w = windowSize.width() - shiftX;
    const int h = windowSize.height();
    if (w > 0 && h > 0) {
        surface.drawImage(QRect(shiftX, 0, w, h), bitmap_,
                          QRectF(0, 0, w * devicePixelRatio, h * devicePixelRatio));
    }
    surface.restore();
}

}  // namespace veltrix
