#include "platform/page_canvas.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QPolygon>
#include <functional>

#include "platform/fonts.h"

namespace veltrix::testing {
namespace {

// Paints on a black 100 x 60 page at the given device pixel ratio; the canvas ends before the painter.
QImage Paint(PageCanvasOptions options, qreal ratio, const std::function<void(PageCanvas&)>& draw) {
    QImage image(QSize(100, 60) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    {
        PageCanvas canvas(painter, nullptr, options);
        draw(canvas);
    }
    painter.end();
    return image;
}

TEST(PageCanvasTest, QueuedRunsKeepTheDrawingOrder) {
    for (PageStrokes strokes : {PageStrokes::Immediate, PageStrokes::QueuedRuns}) {
        const QImage image = Paint({.strokes = strokes}, 1.0, [](PageCanvas& c) {
            c.FrameRect(10, 10, 40, 40, kPageRed);
            // A filled rectangle over the frame's left edge, then a frame of another colour over its top.
            c.SetBrush(kPageBlue);
            c.SetPen(kPageBlue);
            c.Rectangle(5, 20, 15, 30);
            c.FrameRect(20, 5, 30, 15, kPageGreen);
            c.PixelLine(QPoint(50, 10), QPoint(60, 10));
        });
        const bool queued = strokes == PageStrokes::QueuedRuns;
        EXPECT_EQ(image.pixelColor(10, 25), kPageBlue) << queued;
        EXPECT_EQ(image.pixelColor(20, 10), kPageGreen) << queued;
        EXPECT_EQ(image.pixelColor(10, 35), kPageRed) << queued;
        // The last runs reach the page when the canvas ends.
        EXPECT_EQ(image.pixelColor(60, 10), kPageBlue) << queued;
    }
}

TEST(PageCanvasTest, FrameWeightSetsTheEdgeWidthAtRatioTwo) {
    struct Case {
        FrameWeight frames;
        int deviceWidth;
    };
    for (const Case& c : {Case{FrameWeight::PagePixel, 2}, Case{FrameWeight::Hairline, 1}}) {
        for (qreal ratio : {1.0, 2.0}) {
            const QImage image = Paint({.frames = c.frames}, ratio, [](PageCanvas& canvas) {
                canvas.FrameRect(10, 10, 40, 40, kPageMagenta);
            });
            const int y = static_cast<int>(25 * ratio);
            int lit = 0;
            for (int x = 0; x < static_cast<int>(25 * ratio); ++x)
                lit += image.pixelColor(x, y) == kPageMagenta;
            EXPECT_EQ(lit, ratio == 1.0 ? 1 : c.deviceWidth) << static_cast<int>(c.frames) << " at " << ratio;
            // Right and bottom edges stay inside l..r-1 and t..b-1.
            EXPECT_EQ(image.pixelColor(QPoint(39, 25) * ratio), kPageMagenta);
            EXPECT_EQ(image.pixelColor(QPoint(40, 25) * ratio), kPageBlack);
        }
    }
}

// A text is opaque on the brush colour where the page was drawn on, and only there.
TEST(PageCanvasTest, TextShowsItsBrushWhereThePageWasDrawnOn) {
    struct Case {
        const char* name;
        std::function<void(PageCanvas&)> before;
        bool boxShown;
    };
    const Case cases[] = {
        {"bare page", [](PageCanvas&) {}, false},
        {"across a line", [](PageCanvas& c) { c.PixelLine(QPoint(0, 26), QPoint(99, 26)); }, true},
        {"inside a frame", [](PageCanvas& c) { c.FrameRect(2, 2, 98, 58, kPageMagenta); }, true},
        {"over an earlier text", [](PageCanvas& c) { c.TextOut(20, 20, "iii"); }, true},
    };
    for (const Case& c : cases) {
        const QImage image = Paint({}, 1.0, [&](PageCanvas& canvas) {
            canvas.SetFont(QStringLiteral("Arial"), 12);
            c.before(canvas);
            canvas.SetBrush(kPageBlue);
            canvas.SetFontColour(kPageWhite);
            canvas.TextOut(20, 20, "iii");
        });
        int blue = 0;
        for (int y = 20; y < 36; ++y)
            for (int x = 20; x < 30; ++x) blue += image.pixelColor(x, y) == kPageBlue;
        EXPECT_EQ(blue > 0, c.boxShown) << c.name;
    }
}

}  // namespace
}  // namespace veltrix::testing

namespace veltrix::testing {
namespace {

// Runs that abut and overlap in several colours, shapes made of cached runs, straight and sloping lines
// there and back, and wide pens: what the pages draw.
void DrawRunsAndLines(PageCanvas& c) {
    c.FrameRect(4, 4, 50, 40, kPageRed);
    c.SetBrush(kPageBlue);
    c.SetPen(kPageYellow);
    c.Rectangle(30, 20, 70, 50);
    c.Ellipse(60, 5, 95, 30);
    c.Arc(10, 30, 40, 58, 90, 270);
    c.PixelLine(QPoint(2, 58), QPoint(48, 31));
    c.SetPen(kPageGrey);
    c.ThereAndBack(QPolygon({QPoint(55, 2), QPoint(55, 57)}));
    c.ThereAndBack(QPolygon({QPoint(2, 45), QPoint(97, 45)}));
    c.ThereAndBack(QPolygon({QPoint(3, 3), QPoint(40, 20), QPoint(60, 8)}));
    c.SetPen(kPageGreen, 3);
    c.ThereAndBack(QPolygon({QPoint(75, 35), QPoint(75, 55)}));
    c.MoveTo(80, 50);
    c.LineTo(96, 50);
}

QImage PaintRecorded(PageCanvasOptions options, qreal ratio, const std::function<void(PageCanvas&)>& draw) {
    QPicture picture;
    {
        QPainter recorder(&picture);
        PageCanvas canvas(recorder, nullptr, options);
        draw(canvas);
    }
    QImage image(QSize(100, 60) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::black);
    QPainter painter(&image);
    picture.play(&painter);
    painter.end();
    return image;
}

// Straight onto a bitmap at one pixel per pixel the canvas fills runs and straight lines itself;
// they must land where the painter's own paths and pens put them in a recording, and at any other
// ratio the canvas must leave them to the painter.
TEST(PageCanvasTest, PaintedStraightMatchesItsRecordingAtEveryRatio) {
    for (PageStrokes strokes : {PageStrokes::Immediate, PageStrokes::QueuedRuns}) {
        for (qreal ratio : {1.0, 1.5, 2.0}) {
            const PageCanvasOptions options{.strokes = strokes};
            const QImage straight = Paint(options, ratio, DrawRunsAndLines);
            EXPECT_EQ(straight, PaintRecorded(options, ratio, DrawRunsAndLines))
                << (strokes == PageStrokes::QueuedRuns ? "queued" : "immediate") << " at " << ratio;
            // Both ends of a straight line are set, where page pixels are whole device pixels.
            if (ratio != 1.5) {
                EXPECT_EQ(straight.pixelColor(QPoint(55, 57) * ratio), kPageGrey) << ratio;
            }
        }
    }
}

}  // namespace
}  // namespace veltrix::testing
