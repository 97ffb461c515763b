#include "printing/colour_reduction.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace veltrix {
namespace {

// A 32-bit image in memory, as the band renderer hands it over.
struct Pixels {
    Pixels(int width, int height, uint32_t fill) : width(width), height(height), data(width * height, fill) {}
    void Set(int x, int y, uint32_t colour) { data[static_cast<size_t>(y * width + x)] = colour; }
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y * width + x)]; }
    PixelView View() const { return {data.data(), width, height, width}; }
    int width;
    int height;
    std::vector<uint32_t> data;
};

Pixels WithColours(int count, int side = 40) {
    Pixels image(side, side, OpaqueRgb(0, 0, 0));
    for (int i = 1; i < count; ++i) image.Set(i % side, i / side, OpaqueRgb(i % 256, i / 256, 7));
    return image;
}

struct DepthCase {
    const char* name;
    int colours;
    int bits;
};

class ReduceColoursTest : public ::testing::TestWithParam<DepthCase> {};

TEST_P(ReduceColoursTest, DepthFromTheNumberOfDistinctColours) {
    const DepthCase& c = GetParam();
    const Pixels image = WithColours(c.colours);
    const ColourReduction r = ReduceColours(image.View());
    EXPECT_EQ(r.BitsPerPixel, c.bits);
    EXPECT_EQ(r.Table.size(), c.bits == 24 ? 0u : static_cast<size_t>(c.colours));
}

INSTANTIATE_TEST_SUITE_P(Colours, ReduceColoursTest,
                         ::testing::Values(DepthCase{"One", 1, 1}, DepthCase{"Two", 2, 1},
                                           DepthCase{"Three", 3, 4}, DepthCase{"Sixteen", 16, 4},
                                           DepthCase{"Seventeen", 17, 8},
                                           DepthCase{"TwoHundredFiftySix", 256, 8},
                                           DepthCase{"TwoHundredFiftySeven", 257, 24},
                                           DepthCase{"ThreeHundred", 300, 24}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ReduceColoursTest, TableInOrderOfFirstAppearanceRowByRowIgnoringAlpha) {
    Pixels image(3, 2, OpaqueRgb(0, 0, 0));
    image.Set(2, 0, OpaqueRgb(255, 0, 0));
    image.Set(0, 1, OpaqueRgb(0, 0, 255));
    image.Set(1, 1, OpaqueRgb(255, 0, 0) & 0x00ffffffu);
    const ColourReduction r = ReduceColours(image.View());
    EXPECT_EQ(r.BitsPerPixel, 4);
    EXPECT_EQ(r.Table,
              (std::vector<uint32_t>{OpaqueRgb(0, 0, 0), OpaqueRgb(255, 0, 0), OpaqueRgb(0, 0, 255)}));
}

TEST(ReduceColoursTest, RowsAreReadAtTheirStride) {
    // Two rows of two pixels, each row padded by a third pixel of another colour.
    const std::vector<uint32_t> data{OpaqueRgb(1, 1, 1), OpaqueRgb(2, 2, 2), OpaqueRgb(9, 9, 9),
                                     OpaqueRgb(3, 3, 3), OpaqueRgb(1, 1, 1), OpaqueRgb(9, 9, 9)};
    const ColourReduction r = ReduceColours({data.data(), 2, 2, 3});
    EXPECT_EQ(r.Table, (std::vector<uint32_t>{OpaqueRgb(1, 1, 1), OpaqueRgb(2, 2, 2), OpaqueRgb(3, 3, 3)}));
}

TEST(ResampleBandTest, NearestNeighbourIntoPaddedRows) {
    // 2 x 2 source: white, black / black, white, doubled to 4 x 4 at 1 bit.
    Pixels source(2, 2, OpaqueRgb(0, 0, 0));
    source.Set(0, 0, OpaqueRgb(255, 255, 255));
    source.Set(1, 1, OpaqueRgb(255, 255, 255));
    const PackedImage out = ResampleBand(source.View(), ReduceColours(source.View()), {4, 4}, 0.5L, 0.5L);
    ASSERT_EQ(out.BitsPerPixel, 1);
    EXPECT_EQ(out.BytesPerRow, 4);
    EXPECT_EQ(out.Bits.size(), 16u);
    EXPECT_EQ(out.ColourTable, (std::vector<uint32_t>{OpaqueRgb(255, 255, 255), OpaqueRgb(0, 0, 0)}));
    // Row 0 is indices 0 0 1 1: the first pixel is the byte's top bit.
    EXPECT_EQ(out.Bits[0], 0x30);
    EXPECT_EQ(out.Bits[1], 0x00);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x) EXPECT_EQ(out.ColourAt(x, y), source.At(x / 2, y / 2)) << x << "," << y;
}

TEST(ResampleBandTest, EveryDepthKeepsThePixels) {
    for (const int colours : {2, 10, 100, 300}) {
        const Pixels source = WithColours(colours, 20);
        const ColourReduction r = ReduceColours(source.View());
        // Shrinking by 3: output pixel x takes source pixel trunc(x * 1.5).
        const PackedImage out = ResampleBand(source.View(), r, {13, 13}, 1.5L, 1.5L);
        EXPECT_EQ(out.BytesPerRow % 4, 0);
        EXPECT_GE(out.BytesPerRow * 8, out.Width * out.BitsPerPixel);
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x)
                ASSERT_EQ(out.ColourAt(x, y), source.At(static_cast<int>(x * 1.5), static_cast<int>(y * 1.5)))
                    << colours << " colours at " << x << "," << y;
    }
}

TEST(ResampleBandTest, ABandTakesItsPixelsFromItsPlaceOnThePageClampedToItsSource) {
    // Four printer pixels per source pixel; the band starts at page column 7 and its source image
    // holds source columns 2 and 3. Page column p takes source column trunc(p / 4): column 7 (source
    // 1) and columns 16 on (source 4) fall outside and take the nearest column the image has.
    const auto c = [](int sourceColumn) { return OpaqueRgb(sourceColumn, 0, 0); };
    Pixels source(2, 1, 0);
    source.Set(0, 0, c(2));
    source.Set(1, 0, c(3));
    const PackedImage out =
        ResampleBand(source.View(), ReduceColours(source.View()), {10, 1}, 0.25L, 1.0L, {7, 0}, {2, 0});
    std::vector<uint32_t> row;
    for (int x = 0; x < 10; ++x) row.push_back(out.ColourAt(x, 0));
    EXPECT_EQ(row, (std::vector<uint32_t>{c(2), c(2), c(2), c(2), c(2), c(3), c(3), c(3), c(3), c(3)}));
}

TEST(ResampleBandTest, NoPixelsGiveAnEmptyBandOfTheRightShape) {
    const PackedImage out = ResampleBand({}, ColourReduction{}, {5, 2}, 1.0L, 1.0L);
    EXPECT_EQ(out.BitsPerPixel, 24);
    EXPECT_EQ(out.BytesPerRow, 16);
    EXPECT_EQ(out.Bits, std::vector<uint8_t>(32, 0));
}

TEST(PackedImageTest, PixelsAtEveryDepth) {
    PackedImage four;
    four.Width = 3;
    four.Height = 1;
    four.BitsPerPixel = 4;
    four.BytesPerRow = PackedRowBytes(3, 4);
    four.ColourTable = {OpaqueRgb(1, 1, 1), OpaqueRgb(2, 2, 2), OpaqueRgb(3, 3, 3)};
    four.Bits = {0x21, 0x00, 0, 0};
    EXPECT_EQ(four.IndexAt(0, 0), 2);
    EXPECT_EQ(four.IndexAt(1, 0), 1);
    EXPECT_EQ(four.ColourAt(2, 0), OpaqueRgb(1, 1, 1));

    PackedImage rgb;
    rgb.Width = 1;
    rgb.Height = 1;
    rgb.BitsPerPixel = 24;
    rgb.BytesPerRow = PackedRowBytes(1, 24);
    rgb.Bits = {10, 20, 30, 0};  // blue, green, red
    EXPECT_EQ(rgb.ColourAt(0, 0), OpaqueRgb(30, 20, 10));
    EXPECT_EQ(rgb.IndexAt(0, 0), -1);

    // An index past the table reads as no colour.
    PackedImage eight = four;
    eight.BitsPerPixel = 8;
    eight.Bits = {7, 0, 0, 0};
    EXPECT_EQ(eight.ColourAt(0, 0), 0u);
}

}  // namespace
}  // namespace veltrix
