#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QRect>
#include <functional>
#include <vector>

#include "outline_window/drawing_canvas.h"

namespace veltrix {
namespace {

// Draws with white on a black 200 x 200 image and returns it.
QImage Draw(const std::function<void(DrawingCanvas&)>& draw) {
    QImage image(200, 200, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    {
        DrawingCanvas canvas(painter);
        canvas.SetPen(Qt::white);
        canvas.SetBrush(Qt::white);
        draw(canvas);
    }
    painter.end();
    return image;
}

bool Lit(const QImage& image, int x, int y) { return image.pixel(x, y) != qRgb(0, 0, 0); }

std::vector<QPoint> LitPixels(const QImage& image) {
    std::vector<QPoint> lit;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (Lit(image, x, y)) lit.emplace_back(x, y);
    return lit;
}

QRect InkBounds(const QImage& image) {
    QRect bounds;
    for (const QPoint& p : LitPixels(image)) bounds |= QRect(p, QSize(1, 1));
    return bounds;
}

TEST(DimLine, IdenticalEndsSetOnePixel) {
    const QImage image = Draw([](DrawingCanvas& c) { c.DimLine(40, 50, 40, 50); });
    EXPECT_EQ(LitPixels(image), std::vector<QPoint>{QPoint(40, 50)});
}

TEST(DimLine, SetsBothEndPixelsWhicheverWayItRuns) {
    for (const QLine& line :
         {QLine(10, 20, 30, 20), QLine(30, 20, 10, 20), QLine(15, 40, 15, 60), QLine(15, 60, 15, 40)}) {
        const QImage image =
            Draw([&](DrawingCanvas& c) { c.DimLine(line.x1(), line.y1(), line.x2(), line.y2()); });
        EXPECT_EQ(InkBounds(image),
                  QRect(QPoint(std::min(line.x1(), line.x2()), std::min(line.y1(), line.y2())),
                        QPoint(std::max(line.x1(), line.x2()), std::max(line.y1(), line.y2()))))
            << line.x1() << "," << line.y1();
        EXPECT_EQ(LitPixels(image).size(),
                  static_cast<size_t>(std::max(std::abs(line.dx()), std::abs(line.dy())) + 1));
    }
}

struct ArrowCase {
    const char* name;
    int direction;
    QRect bounds;  // empty for directions that draw nothing
    QPoint tip;
    QPoint inside;
};

class ArrowheadTest : public ::testing::TestWithParam<ArrowCase> {};

TEST_P(ArrowheadTest, OpenTriangleSixLongFourWide) {
    const ArrowCase& a = GetParam();
    const QImage image = Draw([&](DrawingCanvas& c) { c.Arrowhead(100, 100, a.direction); });
    if (a.bounds.isNull()) {
        EXPECT_TRUE(LitPixels(image).empty());
        return;
    }
    EXPECT_EQ(InkBounds(image), a.bounds);
    EXPECT_TRUE(Lit(image, a.tip.x(), a.tip.y()));
    // Open: the inside of the triangle stays dark.
    EXPECT_FALSE(Lit(image, a.inside.x(), a.inside.y()));
}

INSTANTIATE_TEST_SUITE_P(
    Directions, ArrowheadTest,
    ::testing::Values(ArrowCase{"Up", kArrowUp, QRect(QPoint(98, 100), QPoint(102, 106)), QPoint(100, 100),
                                QPoint(100, 103)},
                      ArrowCase{"Down", kArrowDown, QRect(QPoint(98, 94), QPoint(102, 100)), QPoint(100, 100),
                                QPoint(100, 97)},
                      ArrowCase{"Left", kArrowLeft, QRect(QPoint(100, 98), QPoint(106, 102)),
                                QPoint(100, 100), QPoint(103, 100)},
                      ArrowCase{"Right", kArrowRight, QRect(QPoint(94, 98), QPoint(100, 102)),
                                QPoint(100, 100), QPoint(97, 100)},
                      ArrowCase{"None0", 0, QRect(), QPoint(), QPoint()},
                      ArrowCase{"None5", 5, QRect(), QPoint(), QPoint()}),
    [](const ::testing::TestParamInfo<ArrowCase>& info) { return std::string(info.param.name); });

TEST(PolylineTable, FirstSuccessorTerminatorDrawsNothing) {
    const QPoint table[] = {{50, 50}, {0, 0}, {90, 90}, {0, 0}};
    EXPECT_TRUE(LitPixels(Draw([&](DrawingCanvas& c) { c.PolylineTable(table, 0, 0, 1.0); })).empty());
}

TEST(PolylineTable, JoinsPointsUntilTerminatorWithOffsetAndTruncatedScale) {
    const QPoint table[] = {{10, 10}, {30, 10}, {30, 25}, {0, 0}, {100, 100}};
    const QImage image = Draw([&](DrawingCanvas& c) { c.PolylineTable(table, 5, 7, 1.5); });
    // 10 * 1.5 = 15, 25 * 1.5 = 37.5 truncated to 37.
    EXPECT_EQ(InkBounds(image), QRect(QPoint(20, 22), QPoint(50, 44)));
    EXPECT_TRUE(Lit(image, 20, 22));
    EXPECT_TRUE(Lit(image, 50, 22));
    EXPECT_TRUE(Lit(image, 50, 44));
    EXPECT_FALSE(Lit(image, 20, 44));  // not closed
}

TEST(CirclePoint, PrincipalDirections) {
    EXPECT_EQ(CirclePoint(10, 20, 4, 0), QPoint(14, 20));
    EXPECT_EQ(CirclePoint(10, 20, 4, 360), QPoint(14, 20));
    EXPECT_EQ(CirclePoint(10, 20, 4, 90), QPoint(10, 16));
    EXPECT_EQ(CirclePoint(10, 20, 4, 180), QPoint(6, 20));
    EXPECT_EQ(CirclePoint(10, 20, 4, 270), QPoint(10, 24));
}

TEST(CircleArc, RightHalfSpansItsBoxAndBulgesRight) {
    const QImage image = Draw([](DrawingCanvas& c) { c.CircleArc(110, 155, 270, 90, 4); });
    EXPECT_EQ(InkBounds(image), QRect(QPoint(110, 151), QPoint(114, 159)));
    EXPECT_TRUE(Lit(image, 114, 155));
    EXPECT_TRUE(Lit(image, 110, 151));
    EXPECT_TRUE(Lit(image, 110, 159));
}

struct ArcCase {
    const char* name;
    int start;
    int end;
    QRect bounds;
};

class CircleArcTest : public ::testing::TestWithParam<ArcCase> {};

// Counter-clockwise from the start point: each pair of principal angles gives its own half or quarter.
TEST_P(CircleArcTest, CounterClockwiseWithinTheBox) {
    const ArcCase& a = GetParam();
    const QImage image = Draw([&](DrawingCanvas& c) { c.CircleArc(100, 100, a.start, a.end, 10); });
    EXPECT_EQ(InkBounds(image), a.bounds);
}

INSTANTIATE_TEST_SUITE_P(
    Angles, CircleArcTest,
    ::testing::Values(ArcCase{"LeftHalf", 90, 270, QRect(QPoint(90, 90), QPoint(100, 110))},
                      ArcCase{"LowerHalf", 180, 360, QRect(QPoint(90, 100), QPoint(110, 110))},
                      ArcCase{"UpperHalf", 0, 180, QRect(QPoint(90, 90), QPoint(110, 100))},
                      ArcCase{"LowerRight", 270, 360, QRect(QPoint(100, 100), QPoint(110, 110))},
                      ArcCase{"LowerLeft", 180, 270, QRect(QPoint(90, 100), QPoint(100, 110))},
                      ArcCase{"UpperRight", 0, 90, QRect(QPoint(100, 90), QPoint(110, 100))},
                      ArcCase{"UpperLeft", 90, 180, QRect(QPoint(90, 90), QPoint(100, 100))}),
    [](const ::testing::TestParamInfo<ArcCase>& info) { return std::string(info.param.name); });

TEST(Canvas, FramesAndFilledRectanglesLeaveOutTheRightAndBottomEdges) {
    const QImage image = Draw([](DrawingCanvas& c) {
        c.SetBrush(Qt::red);
        c.FrameRect(10, 10, 20, 30);
        c.SetPen(Qt::white);
        c.SetBrush(Qt::blue);
        c.Rectangle(50, 50, 60, 55);
    });
    EXPECT_EQ(image.pixel(10, 10), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(19, 29), qRgb(255, 0, 0));
    EXPECT_FALSE(Lit(image, 20, 29));
    EXPECT_FALSE(Lit(image, 19, 30));
    EXPECT_FALSE(Lit(image, 15, 20));  // a frame is not filled
    EXPECT_EQ(image.pixel(50, 50), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(59, 54), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(55, 52), qRgb(0, 0, 255));
    EXPECT_FALSE(Lit(image, 60, 52));
    EXPECT_FALSE(Lit(image, 55, 55));
}

}  // namespace
}  // namespace veltrix
