#include "printing/packed_image.h"

#include <cstddef>

namespace veltrix {

int PackedRowBytes(int width, int bitsPerPixel) {
    const long long bits = static_cast<long long>(width) * bitsPerPixel;
    return static_cast<int>(((bits + 31) / 32) * 4);
}

int PackedImage::IndexAt(int x, int y) const {
    const uint8_t* row = Bits.data() + static_cast<size_t>(y) * BytesPerRow;
    switch (BitsPerPixel) {
        case 1:
            return (row[x >> 3] >> (7 - (x & 7))) & 1;
        case 4:
            return (x & 1) ? (row[x >> 1] & 0x0f) : (row[x >> 1] >> 4);
        case 8:
            return row[x];
        default:
            return -1;
    }
}

uint32_t PackedImage::ColourAt(int x, int y) const {
    if (BitsPerPixel == 24) {
        const uint8_t* p = Bits.data() + static_cast<size_t>(y) * BytesPerRow + static_cast<size_t>(x) * 3;
        return OpaqueRgb(p[2], p[1], p[0]);
    }
    const int i = IndexAt(x, y);
    return i >= 0 && i < static_cast<int>(ColourTable.size()) ? ColourTable[static_cast<size_t>(i)] : 0u;
}

}  // namespace veltrix
