#pragma once

#include <vector>

namespace veltrix {

// Printer and screen pixels, plain so the arithmetic of a print job can be tested without Qt.
struct PixelPoint {
    int X = 0;
    int Y = 0;
    friend bool operator==(const PixelPoint&, const PixelPoint&) = default;
};

struct PixelSize {
    int Width = 0;
    int Height = 0;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    friend bool operator==(const PixelSize&, const PixelSize&) = default;
};

struct PixelRect {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
    bool Empty() const { return Width <= 0 || Height <= 0; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The picture's rectangle on the page: the printable area's width or height filled, aspect kept,
// top-left corner at the printable area's origin.
PixelRect FitToPage(PixelSize printable, PixelSize extent);

// Band size from the screen size: the screen itself, or as many rows as keep a 24-bit band of
// the screen's width under 64 KB on printers without large-image support.
PixelSize BandSize(PixelSize screen, bool largeImages);

// Cuts the destination into bands: rows top to bottom, each row left to right; empty bands dropped.
std::vector<PixelRect> CutBands(const PixelRect& destination, PixelSize band);

// The part of the window's picture a band shows, in source pixels: every source pixel that one of
// its printer pixels takes (see ResampleBand).
PixelRect BandSourceRegion(const PixelRect& band, const PixelRect& destination, long double sourcePerDestX,
                           long double sourcePerDestY);

}  // namespace veltrix
