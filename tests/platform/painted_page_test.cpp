#include <gtest/gtest.h>

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <climits>

#include "platform/painted_page.h"

namespace veltrix::testing {
namespace {

const QColor kMagenta(255, 0, 255);
const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);

// Records a page of the given size with a magenta square at (10, 10) to (50, 50).
void RecordSquare(PaintedPage& page, QSize background) {
    QPainter& p = page.BeginRecording(background);
    p.fillRect(QRect(10, 10, 40, 40), kMagenta);
    page.EndRecording();
}

QImage PresentOnto(PaintedPage& page, QSize surfaceSize, QSize windowSize, CopyMode mode = CopyMode::Source) {
    QImage surface(surfaceSize, QImage::Format_RGB32);
    surface.fill(Qt::gray);
    QPainter painter(&surface);
    page.Present(painter, windowSize, mode, 5);
    return surface;
}

struct HugeCase {
    const char* name;
    QSize window;
};

class HugeWindowTest : public ::testing::TestWithParam<HugeCase> {};

TEST_P(HugeWindowTest, BitmapStaysBoundedAndThePageShows) {
    PaintedPage page;
    const QSize window = GetParam().window;
    RecordSquare(page, window);
    const QImage surface = PresentOnto(page, QSize(200, 200), window);
    const QImage& bitmap = page.Bitmap();
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_LE(qint64{bitmap.width()} * bitmap.height(), PaintedPage::kMaxBitmapPixels);
    EXPECT_EQ(surface.pixelColor(10 + 5, 10), kMagenta);
    // Points inside the smallest of the windows: the square's right column, then the page past it.
    EXPECT_EQ(surface.pixelColor(49 + 5, 25), kMagenta);
    EXPECT_EQ(surface.pixelColor(52 + 5, 25), kBlack);
}

INSTANTIATE_TEST_SUITE_P(Sizes, HugeWindowTest,
                         ::testing::Values(HugeCase{"Square20000", QSize(20000, 20000)},
                                           HugeCase{"IntMax", QSize(INT_MAX, INT_MAX)},
                                           HugeCase{"IntMaxWideFlat", QSize(INT_MAX, 30)},
                                           HugeCase{"IntMaxTallNarrow", QSize(60, INT_MAX)}),
                         [](const auto& info) { return std::string(info.param.name); });

// Refuses every bitmap larger than a limit, as a machine short of memory would.
class ScarcePage : public PaintedPage {
  public:
    explicit ScarcePage(qint64 limit) : limit_(limit) {}
    int refusals = 0;

  protected:
    QImage AllocateBitmap(QSize size) override {
        if (qint64{size.width()} * size.height() > limit_) {
            ++refusals;
            return QImage();
        }
        return PaintedPage::AllocateBitmap(size);
    }

  private:
    qint64 limit_;
};

TEST(PaintedPageMemory, ABitmapThatCannotBeHadShowsThePageAtTheSizeThatCan) {
    ScarcePage page(40 * 40);
    RecordSquare(page, QSize(150, 150));
    const QImage surface = PresentOnto(page, QSize(160, 160), QSize(150, 150));
    EXPECT_GT(page.refusals, 0);
    ASSERT_FALSE(page.Bitmap().isNull());
    EXPECT_LE(page.Bitmap().width() * page.Bitmap().height(), 40 * 40);
    // The page's top-left part is seen where it belongs; the rest of the window is plain background.
    EXPECT_EQ(surface.pixelColor(10 + 5, 10), kMagenta);
    EXPECT_EQ(surface.pixelColor(10 + 5, 30), kMagenta);
    EXPECT_EQ(surface.pixelColor(120, 120), kBlack);
}

TEST(PaintedPageMemory, NoBitmapAtAllStillFillsTheWindow) {
    ScarcePage page(0);
    RecordSquare(page, QSize(100, 100));
    const QImage surface = PresentOnto(page, QSize(120, 120), QSize(100, 100), CopyMode::InvertedSource);
    EXPECT_EQ(surface.pixelColor(50, 50), kWhite);
    EXPECT_EQ(surface.pixelColor(110, 110), QColor(Qt::gray));
}

TEST(PaintedPageRatio, BitmapTakesTheRatioAndOnlyTheShownPart) {
    PaintedPage page;
    RecordSquare(page, QSize(300, 200));
    QImage surface(QSize(300, 200) * 2, QImage::Format_RGB32);
    surface.setDevicePixelRatio(2.0);
    {
        QPainter painter(&surface);
        // No ratio given: the surface's own.
        page.Present(painter, QSize(300, 200), CopyMode::Source, 5);
    }
    EXPECT_EQ(page.Bitmap().devicePixelRatio(), 2.0);
    EXPECT_EQ(page.Bitmap().size(), QSize(2 * 295, 2 * 200));
    EXPECT_EQ(surface.pixelColor(2 * 15, 2 * 10), kMagenta);
    EXPECT_EQ(surface.pixelColor(2 * 15 - 1, 2 * 10), kBlack);
    EXPECT_EQ(surface.pixelColor(2 * 54 + 1, 2 * 49 + 1), kMagenta);
    EXPECT_EQ(surface.pixelColor(2 * 55, 2 * 49), kBlack);
}

}  // namespace
}  // namespace veltrix::testing

namespace veltrix::testing {
namespace {

// A page with text at odd places, so glyph placement shows; painted either way.
QImage PaintPage(PaintedPage& page, bool straight, CopyMode mode, qreal ratio, bool laidOut = false) {
    const QSize window(240, 120);
    QImage surface(window * ratio, QImage::Format_RGB32);
    surface.setDevicePixelRatio(ratio);
    surface.fill(Qt::gray);
    QPainter painter(&surface);
    QPainter& p = straight ? page.BeginPage(painter, window, window, mode, 5) : page.BeginRecording(window);
    p.fillRect(QRect(10, 10, 40, 40), kMagenta);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(13);
    p.setFont(font);
    p.setPen(Qt::yellow);
    p.setBackgroundMode(Qt::OpaqueMode);
    p.setBackground(Qt::blue);
    const int ascent = QFontMetrics(font).ascent();
    PageTextLines* lines = laidOut ? &page.TextLines() : nullptr;
    DrawPageText(p, 17, 61, ascent, QStringLiteral("Part -> 3DR25-1000/U20 \u00b1 .02"), lines);
    DrawPageText(p, 3, 93, ascent, QStringLiteral("Tolerances: All dimensions "), lines);
    page.Present(painter, window, mode, 5);
    return surface;
}

struct StraightCase {
    const char* name;
    CopyMode mode;
    qreal ratio;
};

class StraightPageTest : public ::testing::TestWithParam<StraightCase> {};

TEST_P(StraightPageTest, MatchesThePlayedBackRecordingToThePixel) {
    PaintedPage straight, recorded;
    const QImage a = PaintPage(straight, true, GetParam().mode, GetParam().ratio);
    const QImage b = PaintPage(recorded, false, GetParam().mode, GetParam().ratio);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.pixelColor(QPoint(10 + 5, 10) * GetParam().ratio),
              GetParam().mode == CopyMode::Source ? kMagenta : QColor(0, 255, 0));
    // The page's kept lines, laid out on the first paint and drawn from the store on the second.
    PaintedPage kept;
    EXPECT_EQ(PaintPage(kept, true, GetParam().mode, GetParam().ratio, true), b);
    EXPECT_EQ(PaintPage(kept, true, GetParam().mode, GetParam().ratio, true), b);
}

INSTANTIATE_TEST_SUITE_P(Copies, StraightPageTest,
                         ::testing::Values(StraightCase{"Screen", CopyMode::Source, 1.0},
                                           StraightCase{"ScreenAtTwo", CopyMode::Source, 2.0},
                                           StraightCase{"ScreenAtOneAndHalf", CopyMode::Source, 1.5},
                                           StraightCase{"Printing", CopyMode::InvertedSource, 1.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StraightPage, APrintingPaintKeepsItsRecordingForVectors) {
    PaintedPage page;
    PaintPage(page, true, CopyMode::Source, 1.0);
    EXPECT_TRUE(page.Picture().isNull());
    PaintPage(page, true, CopyMode::InvertedSource, 1.0);
    EXPECT_FALSE(page.Picture().isNull());
}

}  // namespace
}  // namespace veltrix::testing
