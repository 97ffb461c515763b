#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "printing/band_geometry.h"
#include "printing/packed_image.h"

namespace veltrix {

// Rows of 32-bit 0xAARRGGBB pixels (the alpha byte is ignored), Stride pixels apart.
struct PixelView {
    const uint32_t* Pixels = nullptr;
    int Width = 0;
    int Height = 0;
    std::ptrdiff_t Stride = 0;
    const uint32_t* Row(int y) const { return Pixels + static_cast<std::ptrdiff_t>(y) * Stride; }
};

// The distinct colours of an image in order of first appearance (row by row, left to right);
// counting stops once there are more than 256.
struct ColourReduction {
    int BitsPerPixel = 24;
    std::vector<uint32_t> Table;  // empty at 24 bits
};
ColourReduction ReduceColours(const PixelView& source);

// Nearest-neighbour resampling of the band's source image to printer pixels at the reduced depth.
// Printer pixel (x, y) of the band takes source pixel trunc((offset + (x, y)) x source per
// destination) of the whole picture, where offset is the band's place in the destination and the
// source image starts at sourceOrigin of the picture.
PackedImage ResampleBand(const PixelView& source, const ColourReduction& colours, PixelSize output,
                         long double sourcePerDestX, long double sourcePerDestY, PixelPoint bandOffset = {},
                         PixelPoint sourceOrigin = {});

}  // namespace veltrix
