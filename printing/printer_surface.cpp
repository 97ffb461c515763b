#include "printing/printer_surface.h"

#include <QList>
#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <cstring>

namespace veltrix {

QImage ToQImage(const PackedImage& packed) {
    if (packed.Width <= 0 || packed.Height <= 0) return {};
    QImage::Format format = QImage::Format_Indexed8;
    if (packed.BitsPerPixel == 1) format = QImage::Format_Mono;
    if (packed.BitsPerPixel == 24) format = QImage::Format_BGR888;
    QImage image(packed.Width, packed.Height, format);
    if (image.isNull()) return {};
    if (packed.BitsPerPixel != 24) {
        QList<QRgb> table(packed.ColourTable.begin(), packed.ColourTable.end());
        // A mono image needs both entries even when the band has one colour.
        while (table.size() < (packed.BitsPerPixel == 1 ? 2 : 1))
            table.append(table.isEmpty() ? qRgb(255, 255, 255) : table.front());
        image.setColorTable(table);
    }
    for (int y = 0; y < packed.Height; ++y) {
        uchar* dst = image.scanLine(y);
        const uint8_t* src = packed.Bits.data() + static_cast<size_t>(y) * packed.BytesPerRow;
        if (packed.BitsPerPixel == 4) {
            for (int x = 0; x < packed.Width; ++x) dst[x] = static_cast<uchar>(packed.IndexAt(x, y));
        } else {
            const int used = (packed.Width * packed.BitsPerPixel + 7) / 8;
            std::memcpy(dst, src, static_cast<size_t>(used));
        }
    }
    return image;
}

void PainterSurface::BeginTarget(const QRect& target) {
    canvas_.save();
    canvas_.setClipRect(target);
}

void PainterSurface::EndTarget() { canvas_.restore(); }

int PainterSurface::SendImage(const PackedImage& image, QPoint at) {
    if (!canvas_.isActive()) return 0;
    QImage qimage = ToQImage(image);
    if (qimage.isNull()) return 0;
    if (qimage.format() == QImage::Format_Mono) {
        // Qt's PDF engine keeps a 1-bit image at 1 bit only with the table black, white; any other
        // pair goes as 8 bits per pixel (still lossless, below).
        const QList<QRgb> table = qimage.colorTable();
        const QRgb black = qRgb(0, 0, 0);
        const QRgb white = qRgb(255, 255, 255);
        const auto blackOrWhite = [&](QRgb c) { return c == black || c == white; };
        if (table.size() == 2 && blackOrWhite(table[0]) && blackOrWhite(table[1])) {
            if (table[0] == white && table[1] == white) {
                qimage.fill(1);
            } else if (table[0] == white) {
                qimage.invertPixels();
            }
            qimage.setColorTable({black, white});
        } else {
            qimage = qimage.convertToFormat(QImage::Format_Indexed8);
        }
    }
    // Lossless: the PDF engine would otherwise store the band as a JPEG.
    const bool lossless = canvas_.testRenderHint(QPainter::LosslessImageRendering);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, true);
    canvas_.drawImage(at, qimage);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, lossless);
    return qimage.height();
}

bool PainterSurface::CopyBitmap(const PackedImage& image, QPoint at) {
    if (!canvas_.isActive()) return false;
    const QPixmap bitmap = QPixmap::fromImage(ToQImage(image));
    if (bitmap.isNull()) return false;
    const bool lossless = canvas_.testRenderHint(QPainter::LosslessImageRendering);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, true);
    canvas_.drawPixmap(at, bitmap);
    canvas_.setRenderHint(QPainter::LosslessImageRendering, lossless);
    return true;
}

PageMetrics GetPageMetrics(const QPrinter& printer) {
    PageMetrics m;
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer.pageRect(QPrinter::DevicePixel).toRect();
    m.PhysicalWidth = paper.width();
    m.PhysicalHeight = paper.height();
    m.OffsetX = page.x() - paper.x();
    m.OffsetY = page.y() - paper.y();
    m.PrintableWidth = page.width();
    m.PrintableHeight = page.height();
    m.PixelsPerInchX = printer.resolution();
    m.PixelsPerInchY = printer.resolution();
    if (m.PhysicalWidth == 0) m.PhysicalWidth = m.PrintableWidth;
    if (m.PhysicalHeight == 0) m.PhysicalHeight = m.PrintableHeight;
    return m;
}

PageMetrics GetPageMetrics(const QPaintDevice& device) {
    PageMetrics m;
    m.PrintableWidth = device.width();
    m.PrintableHeight = device.height();
    m.PhysicalWidth = m.PrintableWidth;
    m.PhysicalHeight = m.PrintableHeight;
    m.PixelsPerInchX = device.logicalDpiX();
    m.PixelsPerInchY = device.logicalDpiY();
    return m;
}
}  // namespace veltrix
