#include "printing/prnutils.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <vector>

#include "tests/printing/test_form.h"

namespace veltrix {
namespace {

struct FitCase {
    const char* name;
    QSize printable;
    QSize extent;
    QRect expected;
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
                      FitCase{"EmptyPictureGivesNothing", {4800, 6600}, {0, 404}, QRect()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BandSizeTest, ScreenSizedWithLargeImagesElseUnder64KBAt24Bits) {
    EXPECT_EQ(BandSize({1920, 1080}, true), QSize(1920, 1080));
    // 1024 pixels of 24 bits are 3072 bytes a row: 65503 / 3072 = 21 rows.
    EXPECT_EQ(BandSize({1024, 768}, false), QSize(1024, 21));
    // 1023 pixels pad to 3068 bytes.
    EXPECT_EQ(BandSize({1023, 768}, false), QSize(1023, 21));
    const QSize small = BandSize({800, 600}, false);
    EXPECT_LE(PackedRowBytes(small.width(), 24) * small.height(), 65503);
    EXPECT_GT(PackedRowBytes(small.width(), 24) * (small.height() + 1), 65503);
}

TEST(CutBandsTest, RowsTopToBottomEachLeftToRightCutAtTheEdges) {
    const std::vector<QRect> bands = CutBands(QRect(0, 0, 4800, 3068), QSize(800, 600));
    ASSERT_EQ(bands.size(), 36u);
    EXPECT_EQ(bands[0], QRect(0, 0, 800, 600));
    EXPECT_EQ(bands[5], QRect(4000, 0, 800, 600));
    EXPECT_EQ(bands[6], QRect(0, 600, 800, 600));
    EXPECT_EQ(bands[35], QRect(4000, 3000, 800, 68));

    const std::vector<QRect> offset = CutBands(QRect(10, 20, 1000, 500), QSize(400, 300));
    const std::vector<QRect> expected{{10, 20, 400, 300},  {410, 20, 400, 300},  {810, 20, 200, 300},
                                      {10, 320, 400, 200}, {410, 320, 400, 200}, {810, 320, 200, 200}};
    EXPECT_EQ(offset, expected);

    // Every printer pixel of the destination lies in exactly one band.
    long long area = 0;
    for (const QRect& b : bands) area += static_cast<long long>(b.width()) * b.height();
    EXPECT_EQ(area, 4800LL * 3068);

    EXPECT_TRUE(CutBands(QRect(0, 0, 100, 100), QSize()).empty());
    EXPECT_TRUE(CutBands(QRect(), QSize(800, 600)).empty());
}

TEST(BandSourceRegionTest, FromTheFirstToTheLastSourcePixelTheBandTakes) {
    const long double spd = 632.0L / 4800.0L;
    // 800 * 0.13166... = 105.33 up to 1599 * 0.13166... = 210.53; 600 -> 79 up to 1199 -> 157.87.
    EXPECT_EQ(BandSourceRegion(QRect(800, 600, 800, 600), QRect(0, 0, 4800, 3068), spd, spd),
              QRect(105, 79, 106, 79));
    // 632 / 4800 is not exact in binary: 3000 times it falls just short of 395 and truncates, and
    // the band still reaches row 403 (3067 * 0.13166... = 403.8).
    EXPECT_EQ(BandSourceRegion(QRect(4000, 3000, 800, 68), QRect(0, 0, 4800, 3068), spd, spd),
              QRect(526, 394, 106, 10));
    // A band that starts inside a source pixel ends one pixel further on than its own width says.
    const long double checker = 40.0L / 533.0L;
    EXPECT_EQ(BandSourceRegion(QRect(291, 0, 97, 61), QRect(0, 0, 533, 399), checker, checker),
              QRect(21, 0, 9, 5));
}

QImage ImageWithColours(int count, QSize size = {40, 40}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    for (int i = 1; i < count; ++i)
        image.setPixel(i % size.width(), i / size.width(), qRgb(i % 256, i / 256, 7));
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
    const ColourReduction r = ReduceColours(ImageWithColours(c.colours));
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

TEST(ReduceColoursTest, TableInOrderOfFirstAppearanceRowByRow) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 0));
    image.setPixel(2, 0, qRgb(255, 0, 0));
    image.setPixel(0, 1, qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 0, 0));
    const ColourReduction r = ReduceColours(image);
    EXPECT_EQ(r.BitsPerPixel, 4);
    EXPECT_EQ(r.Table, (std::vector<uint32_t>{qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)}));
}

TEST(ResampleBandTest, NearestNeighbourIntoPaddedRows) {
    // 2 x 2 source: white, black / black, white, doubled to 4 x 4 at 1 bit.
    QImage source(2, 2, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 255, 255));
    source.setPixel(1, 0, qRgb(0, 0, 0));
    source.setPixel(0, 1, qRgb(0, 0, 0));
    source.setPixel(1, 1, qRgb(255, 255, 255));
    const PackedImage out = ResampleBand(source, ReduceColours(source), {4, 4}, 0.5L, 0.5L);
    ASSERT_EQ(out.BitsPerPixel, 1);
    EXPECT_EQ(out.BytesPerRow, 4);
    EXPECT_EQ(out.Bits.size(), 16u);
    EXPECT_EQ(out.ColourTable, (std::vector<uint32_t>{qRgb(255, 255, 255), qRgb(0, 0, 0)}));
    // Row 0 is indices 0 0 1 1: the first pixel is the byte's top bit.
    EXPECT_EQ(out.Bits[0], 0x30);
    EXPECT_EQ(out.Bits[1], 0x00);
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(out.ColourAt(x, y), source.pixel(x / 2, y / 2)) << x << "," << y;
        }
    }
}

TEST(ResampleBandTest, EveryDepthKeepsThePixelsThroughTheQtImage) {
    for (const int colours : {2, 10, 100, 300}) {
        const QImage source = ImageWithColours(colours, {20, 20});
        const ColourReduction r = ReduceColours(source);
        // Shrinking by 3: output pixel x takes source pixel trunc(x * 1.5).
        const PackedImage out = ResampleBand(source, r, {13, 13}, 1.5L, 1.5L);
        EXPECT_EQ(out.BytesPerRow % 4, 0);
        EXPECT_GE(out.BytesPerRow * 8, out.Width * out.BitsPerPixel);
        const QImage qt = out.ToQImage();
        ASSERT_EQ(qt.size(), QSize(13, 13));
        for (int y = 0; y < 13; ++y) {
            for (int x = 0; x < 13; ++x) {
                const QRgb expected = source.pixel(static_cast<int>(x * 1.5), static_cast<int>(y * 1.5));
                ASSERT_EQ(out.ColourAt(x, y), expected) << colours << " colours at " << x << "," << y;
                ASSERT_EQ(qt.pixel(x, y), expected) << colours << " colours at " << x << "," << y;
            }
        }
    }
}

TEST(FormExtentTest, PlainWindowIsItsClientWithoutScrollOffset) {
    DisplaySettings display;
    testing::TestForm form(display);
    EXPECT_EQ(GetFormExtent(form), QSize(632, 404));
    EXPECT_EQ(GetFormScrollOffset(form), QPoint(0, 0));
}

class ScrolledForm : public QScrollArea, public PaintedForm {
  public:
    void FormPaint(QPainter&, QSize) override {}
    QWidget* FormWidget() override { return this; }
};

TEST(FormExtentTest, ScrolledWindowIsItsScrollRangeAndPosition) {
    ScrolledForm form;
    form.resize(200, 100);
    auto* content = new QWidget;
    content->resize(500, 300);
    form.setWidget(content);
    form.show();
    form.horizontalScrollBar()->setValue(50);
    form.verticalScrollBar()->setValue(20);
    // Both bars have a range: one extra pixel in each direction.
    EXPECT_EQ(GetFormExtent(form), QSize(501, 301));
    EXPECT_EQ(GetFormScrollOffset(form), QPoint(50, 20));
}

}  // namespace
}  // namespace veltrix
