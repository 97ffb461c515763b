#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;
class QPrinter;
class QWidget;

namespace veltrix {

class MessageBoxes;
class PaintedForm;
class TAbortDialog;

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

struct PrintOptions {
    bool ShowProgress = false;
};

// Whether failures of band output are shown in message boxes. Every print command turns it on.
extern bool PrintShowErrors;

inline constexpr const char* kPrnutilsCaption = "Prnutils";
inline constexpr const char* kImageTransferFailed = "StretchDIBits failed! Trying BitBlt";
inline constexpr const char* kBitmapCopyFailed = "BitBlt failed";

// A band as the printer receives it: a packed image of 1, 4, 8 or 24 bits per pixel, top row
// first, each row padded to a multiple of 32 bits. 24-bit pixels are stored blue, green, red.
struct PackedImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int BytesPerRow = 0;
    std::vector<uint32_t> ColourTable;  // QRgb values; empty at 24 bits
    std::vector<uint8_t> Bits;

    // The colour-table index of a pixel (1, 4 and 8 bits only).
    int IndexAt(int x, int y) const;
    // The pixel's colour, through the table where there is one.
    uint32_t ColourAt(int x, int y) const;
    // A Qt image of the same pixels (1 bit: mono; 4 and 8 bits: indexed; 24 bits: packed BGR).
    QImage ToQImage() const;
};

// Bytes in one row of a packed image, padded to 32 bits.
int PackedRowBytes(int width, int bitsPerPixel);

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

PageMetrics GetPageMetrics(const QPrinter& printer);
// Any other paint device: the whole device is printable.
PageMetrics GetPageMetrics(const QPaintDevice& device);

// The window's whole client picture: the client size, or the scroll range where the client is smaller.
QSize GetFormExtent(PaintedForm& form);
// The scroll position in each direction where the client is smaller than the scroll range, else 0.
QPoint GetFormScrollOffset(PaintedForm& form);

// Updates the progress dialog's caption, processes its pending events and returns whether to go on.
// Without a dialog it always goes on.
bool PrintProgress(TAbortDialog* dialog, int done, int count);

// The picture's rectangle on the page: the printable area's width or height filled, aspect kept,
// top-left corner at the printable area's origin.
QRect FitToPage(QSize printable, QSize extent);

// Band size from the screen size: the screen itself, or as many rows as keep a 24-bit band of
// the screen's width under 64 KB on printers without large-image support.
QSize BandSize(QSize screen, bool largeImages);
// The screen's size in pixels (a usual desktop size when there is no screen).
QSize ScreenBandSize();

// Cuts the destination into bands: rows top to bottom, each row left to right; empty bands dropped.
std::vector<QRect> CutBands(const QRect& destination, QSize band);

// The part of the window's picture a band shows, in source pixels: every source pixel that one of
// its printer pixels takes (see ResampleBand).
QRect BandSourceRegion(const QRect& band, const QRect& destination, long double sourcePerDestX,
                       long double sourcePerDestY);

// The distinct colours of an image in order of first appearance (row by row, left to right);
// counting stops once there are more than 256.
struct ColourReduction {
    int BitsPerPixel = 24;
    std::vector<uint32_t> Table;  // empty at 24 bits
};
ColourReduction ReduceColours(const QImage& source);

// Nearest-neighbour resampling of the band's source image to printer pixels at the reduced depth.
// Printer pixel (x, y) of the band takes source pixel trunc((offset + (x, y)) x source per
// destination) of the whole picture, where offset is the band's place in the destination and the
// source image starts at sourceOrigin of the picture.
PackedImage ResampleBand(const QImage& source, const ColourReduction& colours, QSize output,
                         long double sourcePerDestX, long double sourcePerDestY, QPoint bandOffset = {},
                         QPoint sourceOrigin = {});

// Renders one band's source region of the window into an off-screen image: the window's paint,
// then its non-windowed children, then its windowed children. goOn is asked before each step
// after the paint; a null image when it said stop.
QImage RenderBandSource(PaintedForm& form, const QRect& sourceRegion, QPoint scrollOffset,
                        const std::function<bool()>& goOn);

// Prints the window's picture scaled to the printable area of the active painter on the printer.
bool PrintFormToPage(PaintedForm& form, QPrinter& printer, QPainter& canvas, const PrintOptions& options,
                     MessageBoxes* messages);
// The same on any printer surface, with an explicit band size.
bool PrintFormToPage(PaintedForm& form, PrinterSurface& surface, const PrintOptions& options,
                     MessageBoxes* messages, QSize bandSize);

}  // namespace veltrix
