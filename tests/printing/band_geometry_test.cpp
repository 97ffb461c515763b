#include "printing/band_geometry.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "printing/packed_image.h"

namespace veltrix {

void PrintTo(const PixelRect& r, std::ostream* os) {
    *os << "(" << r.Left << ", " << r.Top << ") " << r.Width << " x " << r.Height;
}
void PrintTo(const PixelSize& s, std::ostream* os) { *os << s.Width << " x " << s.Height; }

namespace {

struct FitCase {
    const char* name;
    PixelSize printable;
    PixelSize extent;
    PixelRect expected;
};

class FitToPageTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToPageTest, FillsOneSideAtTheTopLeft) {
    const FitCase& c = GetParam();
    EXPECT_EQ(FitToPage(c.printable, c.extent), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Pages, FitToPageTest,
    ::testing::Values(FitCase{"PortraitPageFillsWidth", {4800, 6600}, {632, 404}, {0, 0, 4800, 3068}},
                      FitCase{"TallPictureFillsHeight", {1000, 1000}, {100, 400}, {0, 0, 250, 1000}},
                      FitCase{"EqualFactorsFillHeight", {1264, 808}, {632, 404}, {0, 0, 1264, 808}},
                      FitCase{"EmptyPictureGivesNothing", {4800, 6600}, {0, 404}, {}},
                      FitCase{"EmptyPageGivesNothing", {0, 6600}, {632, 404}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BandSizeTest, ScreenSizedWithLargeImagesElseUnder64KBAt24Bits) {
    EXPECT_EQ(BandSize({1920, 1080}, true), (PixelSize{1920, 1080}));
    // 1024 pixels of 24 bits are 3072 bytes a row: 65503 / 3072 = 21 rows.
    EXPECT_EQ(BandSize({1024, 768}, false), (PixelSize{1024, 21}));
    // 1023 pixels pad to 3068 bytes.
    EXPECT_EQ(BandSize({1023, 768}, false), (PixelSize{1023, 21}));
    const PixelSize small = BandSize({800, 600}, false);
    EXPECT_LE(PackedRowBytes(small.Width, 24) * small.Height, 65503);
    EXPECT_GT(PackedRowBytes(small.Width, 24) * (small.Height + 1), 65503);
    // A screen without size still gives a band of one pixel.
    EXPECT_EQ(BandSize({0, 0}, true), (PixelSize{1, 1}));
}

TEST(CutBandsTest, RowsTopToBottomEachLeftToRightCutAtTheEdges) {
    const std::vector<PixelRect> bands = CutBands({0, 0, 4800, 3068}, {800, 600});
    ASSERT_EQ(bands.size(), 36u);
    EXPECT_EQ(bands[0], (PixelRect{0, 0, 800, 600}));
    EXPECT_EQ(bands[5], (PixelRect{4000, 0, 800, 600}));
    EXPECT_EQ(bands[6], (PixelRect{0, 600, 800, 600}));
    EXPECT_EQ(bands[35], (PixelRect{4000, 3000, 800, 68}));

    const std::vector<PixelRect> offset = CutBands({10, 20, 1000, 500}, {400, 300});
    const std::vector<PixelRect> expected{{10, 20, 400, 300},  {410, 20, 400, 300},  {810, 20, 200, 300},
                                          {10, 320, 400, 200}, {410, 320, 400, 200}, {810, 320, 200, 200}};
    EXPECT_EQ(offset, expected);

    // Every printer pixel of the destination lies in exactly one band.
    long long area = 0;
    for (const PixelRect& b : bands) area += static_cast<long long>(b.Width) * b.Height;
    EXPECT_EQ(area, 4800LL * 3068);

    EXPECT_TRUE(CutBands({0, 0, 100, 100}, {}).empty());
    EXPECT_TRUE(CutBands({}, {800, 600}).empty());
}

struct RegionCase {
    const char* name;
    PixelRect band;
    PixelRect destination;
    long double sourcePerDest;
    PixelRect expected;
};

class BandSourceRegionTest : public ::testing::TestWithParam<RegionCase> {};

TEST_P(BandSourceRegionTest, FromTheFirstToTheLastSourcePixelTheBandTakes) {
    const RegionCase& c = GetParam();
    EXPECT_EQ(BandSourceRegion(c.band, c.destination, c.sourcePerDest, c.sourcePerDest), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Bands, BandSourceRegionTest,
    ::testing::Values(
        // 800 * 0.13166... = 105.33 up to 1599 * 0.13166... = 210.53; 600 -> 79 up to 1199 -> 157.87.
        RegionCase{
            "InsideThePage", {800, 600, 800, 600}, {0, 0, 4800, 3068}, 632.0L / 4800.0L, {105, 79, 106, 79}},
        // 632 / 4800 is not exact in binary: 3000 times it falls just short of 395 and truncates, and
        // the band still reaches row 403 (3067 * 0.13166... = 403.8).
        RegionCase{"LastBandTruncates",
                   {4000, 3000, 800, 68},
                   {0, 0, 4800, 3068},
                   632.0L / 4800.0L,
                   {526, 394, 106, 10}},
        // A band that starts inside a source pixel ends one pixel further on than its own width says.
        RegionCase{
            "StartsInsideASourcePixel", {291, 0, 97, 61}, {0, 0, 533, 399}, 40.0L / 533.0L, {21, 0, 9, 5}},
        // Only the band's place relative to the destination counts.
        RegionCase{"OffsetDestination",
                   {810, 620, 800, 600},
                   {10, 20, 4800, 3068},
                   632.0L / 4800.0L,
                   {105, 79, 106, 79}},
        RegionCase{"EmptyBandHasItsCornerOnly",
                   {800, 600, 0, 600},
                   {0, 0, 4800, 3068},
                   632.0L / 4800.0L,
                   {105, 79, 0, 0}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrix
