#include "platform/painted_page.h"

#include <algorithm>
#include <cmath>

#include <QFontMetrics>
#include <QHashFunctions>
#include <QTextLayout>
#include <unordered_map>

namespace veltrix {

QPainter& PaintedPage::BeginRecording(QSize background) {
    if (recorder_.isActive()) recorder_.end();
    direct_ = false;
    picture_ = QPicture();
    background_ = background;
    recorder_.begin(&picture_);
    recorder_.setRenderHint(QPainter::Antialiasing, false);
    recorder_.setRenderHint(QPainter::TextAntialiasing, true);
    recorder_.fillRect(QRect(QPoint(0, 0), background), Qt::black);
    return recorder_;
}

struct PageTextLines::Store {
    struct Key {
        QFont font;
        QString text;
        int dpiX = 0;
        int dpiY = 0;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& key) const {
            return qHashMulti(0, key.font, key.text, key.dpiX, key.dpiY);
        }
    };
    static constexpr size_t kMaxLines = 1024;
    std::unordered_map<Key, std::unique_ptr<QTextLayout>, KeyHash> lines;
};

PageTextLines::PageTextLines() : store_(std::make_unique<Store>()) {}
PageTextLines::~PageTextLines() = default;

void PageTextLines::Draw(QPainter& painter, const QPointF& topLeft, const QString& text) {
    QPaintDevice* device = painter.device();
    Store::Key key{painter.font(), text, device ? device->logicalDpiX() : 0,
                   device ? device->logicalDpiY() : 0};
    auto found = store_->lines.find(key);
    if (found == store_->lines.end()) {
        if (store_->lines.size() >= Store::kMaxLines) store_->lines.clear();
        // As the painter lays out a single left-to-right line of unbounded width from a rectangle.
        auto layout = std::make_unique<QTextLayout>(text, painter.font(), device);
        QTextOption option;
        option.setTextDirection(Qt::LeftToRight);
        option.setFlags(QTextOption::IncludeTrailingSpaces);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        layout->beginLayout();
        QTextLine line = layout->createLine();
        if (line.isValid()) {
            line.setLineWidth(0x01000000);
            line.setPosition(QPointF(0, 0));
        }
        layout->endLayout();
        found = store_->lines.emplace(std::move(key), std::move(layout)).first;
    }
    const QTextLayout& layout = *found->second;
    if (layout.lineCount() > 0) layout.lineAt(0).draw(&painter, topLeft);
}

void DrawPageText(QPainter& painter, int x, int y, int ascent, const QString& text, PageTextLines* lines) {
    if (painter.device() != nullptr && painter.device()->devType() == QInternal::Picture) {
        painter.drawText(QPoint(x, y + ascent), text);
        return;
    }
    // A played-back text is laid out from the top of its line, its baseline at the font's
    // unrounded ascent below.
    const qreal top = y + ascent - QFontMetrics(painter.font()).ascent();
    if (lines != nullptr && !text.isEmpty()) {
        lines->Draw(painter, QPointF(x, top), text);
        return;
    }
    painter.drawText(QRectF(x, top, 1, 1), Qt::TextSingleLine | Qt::TextDontClip | Qt::TextForceLeftToRight,
                     text);
}

qreal PaintedPage::SurfaceRatio(const QPainter& surface, qreal devicePixelRatio) {
    qreal ratio = devicePixelRatio;
    if (!(ratio > 0)) ratio = surface.device() != nullptr ? surface.device()->devicePixelRatioF() : 1.0;
    return ratio > 0 ? ratio : 1.0;
}

QPainter& PaintedPage::BeginPage(const QPainter& surface, QSize background, QSize windowSize, CopyMode mode,
                                 int shiftX, qreal devicePixelRatio) {
    // Beyond one device pixel per pixel, text falls on fractional device positions, where straight
    // painting cannot match the playback's glyph placement to the pixel.
    const qreal ratio = SurfaceRatio(surface, devicePixelRatio);
    if (mode != CopyMode::Source || ratio != 1.0) return BeginRecording(background);
    if (recorder_.isActive()) recorder_.end();
    picture_ = QPicture();
    background_ = background;
    direct_ = true;
    // The callers' pages are never smaller than their windows, so what the bitmap holds is what a
    // played-back recording would have put there.
    const QSize shown(std::min(background.width(), std::max(1, windowSize.width() - std::max(0, shiftX))),
                      std::min(background.height(), std::max(1, windowSize.height())));
    haveBitmap_ = PrepareBitmap(shown.expandedTo(QSize(1, 1)), ratio);
    if (haveBitmap_) {
        // No fill first: the black background below covers the whole bitmap.
        recorder_.begin(&bitmap_);
    } else {
        // Nothing to paint into: the painting goes to an empty picture and is dropped.
        recorder_.begin(&picture_);
    }
    recorder_.setRenderHint(QPainter::Antialiasing, false);
    recorder_.setRenderHint(QPainter::TextAntialiasing, true);
    recorder_.fillRect(QRect(QPoint(0, 0), background), Qt::black);
    return recorder_;
}

void PaintedPage::EndRecording() {
    if (recorder_.isActive()) recorder_.end();
}

QImage PaintedPage::AllocateBitmap(QSize devicePixels) { return QImage(devicePixels, QImage::Format_RGB32); }

bool PaintedPage::PrepareBitmap(QSize logical, qreal ratio) {
    // Sizes are worked out in doubles: a logical size near INT_MAX times the ratio overflows int.
    double width = std::max(1.0, std::ceil(logical.width() * ratio));
    double height = std::max(1.0, std::ceil(logical.height() * ratio));
    const double budget = static_cast<double>(kMaxBitmapPixels);
    if (width * height > budget) {
        // The long side is cut first, so a long thin page keeps its short side whole; a page too
        // large both ways keeps a square top-left part.
        double& longSide = width >= height ? width : height;
        double& shortSide = width >= height ? height : width;
        longSide = std::max(shortSide, std::floor(budget / shortSide));
        if (longSide * shortSide > budget) longSide = shortSide = std::floor(std::sqrt(budget));
    }
    QSize device(static_cast<int>(width), static_cast<int>(height));
    if (bitmap_.size() == device && bitmap_.devicePixelRatio() == ratio) return true;
    bitmap_ = QImage();
    for (;;) {
        QImage image = AllocateBitmap(device);
        if (!image.isNull()) {
            image.setDevicePixelRatio(ratio);
            bitmap_ = std::move(image);
            return true;
        }
        if (device == QSize(1, 1)) return false;
        device = QSize(std::max(1, device.width() / 2), std::max(1, device.height() / 2));
    }
}

void PaintedPage::Present(QPainter& surface, QSize windowSize, CopyMode mode, int shiftX,
                          qreal devicePixelRatio) {
    EndRecording();
    const qreal ratio = direct_ ? bitmap_.devicePixelRatio() : SurfaceRatio(surface, devicePixelRatio);
    bool haveBitmap = direct_ && haveBitmap_;
    if (!direct_) {
        const QSize page = background_.expandedTo(picture_.boundingRect().size());
        // Bitmap pixels beyond the window are never copied, so they are never rendered either.
        const QSize shown(std::min(page.width(), std::max(1, windowSize.width() - std::max(0, shiftX))),
                          std::min(page.height(), std::max(1, windowSize.height())));
        haveBitmap = PrepareBitmap(shown.expandedTo(QSize(1, 1)), ratio);
        if (haveBitmap) {
            bitmap_.fill(Qt::black);
            QPainter p(&bitmap_);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.drawPicture(0, 0, picture_);
        }
    }

    const bool inverted = mode == CopyMode::InvertedSource;
    surface.save();
    surface.fillRect(QRect(QPoint(0, 0), windowSize), inverted ? Qt::white : Qt::black);
    surface.setCompositionMode(inverted ? QPainter::RasterOp_NotSource : QPainter::CompositionMode_Source);
    if (haveBitmap) {
        const QSizeF logical = QSizeF(bitmap_.size()) / ratio;
        const qreal w = std::min<qreal>(windowSize.width() - shiftX, logical.width());
        const qreal h = std::min<qreal>(windowSize.height(), logical.height());
        if (w > 0 && h > 0)
            surface.drawImage(QRectF(shiftX, 0, w, h), bitmap_, QRectF(0, 0, w * ratio, h * ratio));
    }
    surface.restore();
}

}  // namespace veltrix
