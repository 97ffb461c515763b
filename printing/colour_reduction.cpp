#include "printing/colour_reduction.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace veltrix {

namespace {

constexpr uint32_t kOpaque = 0xff000000u;

int TruncToInt(long double value) { return static_cast<int>(std::trunc(value)); }

struct ColourIndexer {
    std::unordered_map<uint32_t, int> index;
    uint32_t lastColour = 0;
    int lastIndex = -1;

    int Find(uint32_t colour) {
        if (lastIndex >= 0 && colour == lastColour) return lastIndex;
        auto it = index.find(colour);
        if (it == index.end()) return -1;
        lastColour = colour;
        lastIndex = it->second;
        return lastIndex;
    }
};

}  // namespace

ColourReduction ReduceColours(const PixelView& source) {
    ColourReduction result;
    ColourIndexer seen;
    for (int y = 0; y < source.Height; ++y) {
        const uint32_t* row = source.Row(y);
        for (int x = 0; x < source.Width; ++x) {
            const uint32_t colour = row[x] | kOpaque;
            if (seen.Find(colour) >= 0) continue;
            if (result.Table.size() == 256) {
                result.BitsPerPixel = 24;
                result.Table.clear();
                return result;
            }
            seen.index.emplace(colour, static_cast<int>(result.Table.size()));
            result.Table.push_back(colour);
        }
    }
    const size_t count = result.Table.size();
    result.BitsPerPixel = count <= 2 ? 1 : count <= 16 ? 4 : 8;
    return result;
}

PackedImage ResampleBand(const PixelView& source, const ColourReduction& colours, PixelSize output,
                         long double sourcePerDestX, long double sourcePerDestY, PixelPoint bandOffset,
                         PixelPoint sourceOrigin) {
    PackedImage out;
    out.Width = std::max(output.Width, 0);
    out.Height = std::max(output.Height, 0);
    out.BitsPerPixel = colours.BitsPerPixel;
    out.BytesPerRow = PackedRowBytes(out.Width, out.BitsPerPixel);
    out.ColourTable = colours.Table;
    out.Bits.assign(static_cast<size_t>(out.BytesPerRow) * static_cast<size_t>(out.Height), 0);
    if (out.Width == 0 || out.Height == 0 || !source.Pixels || source.Width <= 0 || source.Height <= 0)
        return out;

    // Each printer pixel takes its source pixel from its place on the whole page, so a screen row
    // or column prints the same whichever band it falls in.
    const auto sourceIndex = [](int pagePixel, long double sourcePerDest, int origin, int size) {
        return std::clamp(TruncToInt(pagePixel * sourcePerDest) - origin, 0, size - 1);
    };
    std::vector<int> columns(static_cast<size_t>(out.Width));
    for (int x = 0; x < out.Width; ++x) {
        columns[static_cast<size_t>(x)] =
            sourceIndex(bandOffset.X + x, sourcePerDestX, sourceOrigin.X, source.Width);
    }

    ColourIndexer indexer;
    for (size_t i = 0; i < colours.Table.size(); ++i)
        indexer.index.emplace(colours.Table[i], static_cast<int>(i));

    for (int y = 0; y < out.Height; ++y) {
        const int sy = sourceIndex(bandOffset.Y + y, sourcePerDestY, sourceOrigin.Y, source.Height);
        const uint32_t* src = source.Row(sy);
        uint8_t* row = out.Bits.data() + static_cast<size_t>(y) * out.BytesPerRow;
        for (int x = 0; x < out.Width; ++x) {
            const uint32_t colour = src[columns[static_cast<size_t>(x)]] | kOpaque;
            if (out.BitsPerPixel == 24) {
                row[3 * x] = static_cast<uint8_t>(colour & 0xff);
                row[3 * x + 1] = static_cast<uint8_t>((colour >> 8) & 0xff);
                row[3 * x + 2] = static_cast<uint8_t>((colour >> 16) & 0xff);
                continue;
            }
            const int index = std::max(indexer.Find(colour), 0);
            switch (out.BitsPerPixel) {
                case 1:
                    row[x >> 3] |= static_cast<uint8_t>((index & 1) << (7 - (x & 7)));
                    break;
                case 4:
                    row[x >> 1] |= static_cast<uint8_t>((x & 1) ? (index & 0x0f) : ((index & 0x0f) << 4));
                    break;
                default:
                    row[x] = static_cast<uint8_t>(index);
                    break;
            }
        }
    }
    return out;
}

}  // namespace veltrix
