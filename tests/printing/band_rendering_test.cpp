#include "printing/band_rendering.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QScrollArea>
#include <QScrollBar>
#include <vector>

#include "printing/colour_reduction.h"
#include "printing/printer_surface.h"
#include "tests/printing/test_form.h"

namespace veltrix {
namespace {

QImage ImageWithColours(int count, QSize size = {40, 40}) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(0, 0, 0));
    for (int i = 1; i < count; ++i)
        image.setPixel(i % size.width(), i / size.width(), qRgb(i % 256, i / 256, 7));
    return image;
}

TEST(PackedImageToQtTest, EveryDepthKeepsThePixels) {
    for (const int colours : {2, 10, 100, 300}) {
        const QImage source = ImageWithColours(colours, {20, 20});
        const ColourReduction r = ReduceColours(PixelsOf(source));
        // Shrinking by 3: output pixel x takes source pixel trunc(x * 1.5).
        const PackedImage out = ResampleBand(PixelsOf(source), r, {13, 13}, 1.5L, 1.5L);
        EXPECT_EQ(out.BytesPerRow % 4, 0);
        EXPECT_GE(out.BytesPerRow * 8, out.Width * out.BitsPerPixel);
        const QImage qt = ToQImage(out);
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
