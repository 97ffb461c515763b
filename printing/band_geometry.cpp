#include "printing/band_geometry.h"

#include <algorithm>
#include <cmath>

#include "printing/packed_image.h"

namespace veltrix {

namespace {

int TruncToInt(long double value) { return static_cast<int>(std::trunc(value)); }

}  // namespace

PixelRect FitToPage(PixelSize printable, PixelSize extent) {
    if (printable.Empty() || extent.Empty()) return {};
    const long double pw = printable.Width;
    const long double ph = printable.Height;
    const long double sx = pw / extent.Width;
    const long double sy = ph / extent.Height;
    if (sx < sy) return {0, 0, printable.Width, TruncToInt(extent.Height * sx)};
    return {0, 0, TruncToInt(extent.Width * sy), printable.Height};
}

PixelSize BandSize(PixelSize screen, bool largeImages) {
    const int width = std::max(screen.Width, 1);
    if (largeImages) return {width, std::max(screen.Height, 1)};
    const int rowBytes = PackedRowBytes(width, 24);
    return {width, std::max(65503 / rowBytes, 1)};
}

std::vector<PixelRect> CutBands(const PixelRect& destination, PixelSize band) {
    std::vector<PixelRect> bands;
    if (destination.Empty() || band.Empty()) return bands;
    const int right = destination.Left + destination.Width;
    const int bottom = destination.Top + destination.Height;
    for (int top = destination.Top; top < bottom; top += band.Height) {
        const int height = std::min(band.Height, bottom - top);
        for (int left = destination.Left; left < right; left += band.Width) {
            const PixelRect b{left, top, std::min(band.Width, right - left), height};
            if (!b.Empty()) bands.push_back(b);
        }
    }
    return bands;
}

PixelRect BandSourceRegion(const PixelRect& band, const PixelRect& destination, long double sourcePerDestX,
                           long double sourcePerDestY) {
    // From the source pixel of the band's first printer pixel to that of its last one, both taken
    // from their place on the whole page.
    const int dx = band.Left - destination.Left;
    const int dy = band.Top - destination.Top;
    const int x = TruncToInt(dx * sourcePerDestX);
    const int y = TruncToInt(dy * sourcePerDestY);
    if (band.Empty()) return {x, y, 0, 0};
    const int right = TruncToInt((dx + band.Width - 1) * sourcePerDestX);
    const int bottom = TruncToInt((dy + band.Height - 1) * sourcePerDestY);
    return {x, y, right - x + 1, bottom - y + 1};
}

}  // namespace veltrix
