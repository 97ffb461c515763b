#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>

#include "printing/packed_image.h"

class QPainter;
class QPaintDevice;
class QPrinter;

namespace veltrix {

// Printer surface measurements, all in printer pixels.
struct PageMetrics {
    int PhysicalWidth = 0;
    int PhysicalHeight = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    int PrintableWidth = 0;
    int PrintableHeight = 0;
    int PixelsPerInchX = 0;
    int PixelsPerInchY = 0;
};

PageMetrics GetPageMetrics(const QPrinter& printer);
// Any other paint device: the whole device is printable.
PageMetrics GetPageMetrics(const QPaintDevice& device);

// A Qt image of the same pixels (1 bit: mono; 4 and 8 bits: indexed; 24 bits: packed BGR).
QImage ToQImage(const PackedImage& packed);

// Where the printer receives bands. The Qt implementation draws onto a painter; tests fake it.
class PrinterSurface {
  public:
    virtual ~PrinterSurface() = default;
    virtual PageMetrics Metrics() = 0;
    // Whether the printer takes images larger than 64 KB.
    virtual bool LargeImages() = 0;
    // Saves the surface's state and clips it to the target area; EndTarget restores it.
    virtual void BeginTarget(const QRect& target) = 0;
    virtual void EndTarget() = 0;
    // Sends the image at 1:1 with its top-left corner at the point; the number of lines sent.
    virtual int SendImage(const PackedImage& image, QPoint at) = 0;
    // The fallback: a device-compatible bitmap copied at 1:1; false when the copy failed.
    virtual bool CopyBitmap(const PackedImage& image, QPoint at) = 0;
};

// A printer surface over an active painter (on a printer, or any paint device).
class PainterSurface : public PrinterSurface {
  public:
    PainterSurface(QPainter& canvas, const PageMetrics& metrics) : canvas_(canvas), metrics_(metrics) {}
    PageMetrics Metrics() override { return metrics_; }
    bool LargeImages() override { return true; }
    void BeginTarget(const QRect& target) override;
    void EndTarget() override;
    int SendImage(const PackedImage& image, QPoint at) override;
    bool CopyBitmap(const PackedImage& image, QPoint at) override;

  private:
    QPainter& canvas_;
    PageMetrics metrics_;
};

}  // namespace veltrix
