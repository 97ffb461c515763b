#pragma once

#include <cstdint>
#include <vector>

namespace veltrix {

// A colour as 0xAARRGGBB, the layout of a 32-bit image's pixel.
constexpr uint32_t OpaqueRgb(int red, int green, int blue) {
    return 0xff000000u | (static_cast<uint32_t>(red & 0xff) << 16) |
           (static_cast<uint32_t>(green & 0xff) << 8) | static_cast<uint32_t>(blue & 0xff);
}

// A band as the printer receives it: a packed image of 1, 4, 8 or 24 bits per pixel, top row
// first, each row padded to a multiple of 32 bits. 24-bit pixels are stored blue, green, red.
struct PackedImage {
    int Width = 0;
    int Height = 0;
    int BitsPerPixel = 0;
    int BytesPerRow = 0;
    std::vector<uint32_t> ColourTable;  // 0xAARRGGBB values; empty at 24 bits
    std::vector<uint8_t> Bits;

    // The colour-table index of a pixel (1, 4 and 8 bits only).
    int IndexAt(int x, int y) const;
    // The pixel's colour, through the table where there is one.
    uint32_t ColourAt(int x, int y) const;
};

// Bytes in one row of a packed image, padded to 32 bits.
int PackedRowBytes(int width, int bitsPerPixel);

}  // namespace veltrix
