#include "specification_window/response_graph.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <limits>

namespace veltrix {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// ---- Frequency division ---------------------------------------------------------------------------

struct DivisionCase {
    const char* name;
    int dx;
    double step;
    double start;
    double division;
    double firstGrid;
    double firstOffset;
};

class FrequencyDivisionTest : public ::testing::TestWithParam<DivisionCase> {};

TEST_P(FrequencyDivisionTest, PicksTheSeriesValueAndTheFirstLine) {
    const DivisionCase& c = GetParam();
    const FrequencyDivision fd = ComputeFrequencyDivision(c.dx, c.step, c.start);
    ASSERT_TRUE(fd.valid);
    EXPECT_DOUBLE_EQ(fd.division, c.division);
    EXPECT_DOUBLE_EQ(fd.firstGrid, c.firstGrid);
    EXPECT_NEAR(fd.firstOffset, c.firstOffset, 1e-9);
    const double width = fd.division * fd.pixelsPerMHz;
    EXPECT_GE(width, 15.0);
    EXPECT_LE(width, 45.0);
}

INSTANTIATE_TEST_SUITE_P(Examples, FrequencyDivisionTest,
                         ::testing::Values(
                             // 1.5 px/MHz: the series climbs 2, 5, 10 and stops at exactly 15 pixels.
                             DivisionCase{"Defaults", 3, 2.0, 940.0, 10.0, 940.0, 0.0},
                             // 60 px/MHz: down to 0.5 MHz (30 pixels).
                             DivisionCase{"FineStep", 3, 0.05, 998.5, 0.5, 998.5, 0.0},
                             DivisionCase{"OffGridStart", 3, 2.0, 941.3, 10.0, 950.0, (950.0 - 941.3) * 1.5},
                             // 3 / 0.2 = 15 px/MHz: 1 MHz is already inside the band.
                             DivisionCase{"OneMHz", 3, 0.2, 1000.0, 1.0, 1000.0, 0.0},
                             // 3 / 20 = 0.15 px/MHz: 100 MHz = 15 pixels.
                             DivisionCase{"WideSweep", 3, 20.0, 2400.0, 100.0, 2400.0, 0.0},
                             // 3 / 0.001 = 3000 px/MHz: down to 0.01 MHz (30 pixels).
                             DivisionCase{"NarrowSweep", 3, 0.001, 999.97, 0.01, 999.97, 0.0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FrequencyDivision, DegenerateSweepsEndWithoutAGrid) {
    for (double step : {0.0, -2.0, kNaN, kInf, 5e-324}) {
        const FrequencyDivision fd = ComputeFrequencyDivision(3, step, 940.0);
        EXPECT_FALSE(fd.valid) << step;
    }
    EXPECT_FALSE(ComputeFrequencyDivision(0, 2.0, 940.0).valid);
    EXPECT_FALSE(ComputeFrequencyDivision(3, 2.0, kNaN).valid);
    // Extreme but finite pixels per MHz still find a division.
    EXPECT_TRUE(ComputeFrequencyDivision(3, 1e-200, 1.0).valid);
    EXPECT_TRUE(ComputeFrequencyDivision(3, 1e200, 1.0).valid);
}

// ---- Vertical scales --------------------------------------------------------------------------------

struct AxisCase {
    const char* name;
    double largest;
    double division;
};

class AxisScaleTest : public ::testing::TestWithParam<AxisCase> {};

TEST_P(AxisScaleTest, LargestValueSpansThreePointTwoToEightDivisions) {
    const AxisCase& c = GetParam();
    const AxisDivision a = AxisScale(c.largest);
    EXPECT_DOUBLE_EQ(a.division, c.division);
    EXPECT_DOUBLE_EQ(a.scale, 40.0 / c.division);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, AxisScaleTest,
    ::testing::Values(AxisCase{"Atten70dB", 70.0, 10.0}, AxisCase{"Atten500dB", 500.0, 100.0},
                      AxisCase{"Delay7p3ns", 7.3, 2.0}, AxisCase{"Delay12ns", 12.0, 2.0},
                      AxisCase{"LowerBoundIncluded", 32.0, 10.0}, AxisCase{"UpperBoundIncluded", 80.0, 10.0},
                      AxisCase{"JustAboveEight", 80.5, 20.0}, AxisCase{"Small", 0.3, 0.05},
                      AxisCase{"Huge", 3.0e6, 5.0e5},
                      // No division exists for these; the starting one is used and the search ends.
                      AxisCase{"Zero", 0.0, 10.0}, AxisCase{"Negative", -5.0, 10.0},
                      AxisCase{"NotANumber", kNaN, 10.0}, AxisCase{"Infinite", kInf, 10.0},
                      AxisCase{"Subnormal", 5e-324, 10.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DelayAxisBottom, IsTheFirstMultipleAtOrAboveTheLargestDelay) {
    EXPECT_DOUBLE_EQ(DelayAxisBottom(7.3, 2.0), 8.0);
    EXPECT_DOUBLE_EQ(DelayAxisBottom(12.0, 2.0), 12.0);
    EXPECT_DOUBLE_EQ(DelayAxisBottom(0.0, 10.0), 10.0);
    EXPECT_TRUE(std::isfinite(DelayAxisBottom(kInf, 10.0)));
}

TEST(PixelRound, TruncatesAndRoundsUpOnlyPastHalfFromOne) {
    const std::pair<double, int> cases[] = {{0.0, 0},   {0.9, 0},   {1.5, 1},    {1.51, 2},  {2.0, 2},
                                            {15.0, 15}, {22.5, 22}, {22.75, 23}, {-1.7, -1}, {kNaN, 0}};
    for (const auto& [v, expected] : cases) EXPECT_EQ(PixelRound(v), expected) << v;
}

TEST(GraphColumns, SpacingFollowsThePointCount) {
    EXPECT_EQ(GraphColumnsFor(61).dx, 3);
    EXPECT_EQ(GraphColumnsFor(61).right, 570);
    EXPECT_EQ(GraphColumnsFor(60).dx, 3);
    EXPECT_EQ(GraphColumnsFor(60).right, 567);
    EXPECT_EQ(GraphColumnsFor(1).dx, 0);
    EXPECT_EQ(GraphColumnsFor(kNaN).count, 0);
    EXPECT_EQ(GraphColumnsFor(1e9).count, kSweepCapacity - 1);
}

// ---- Drawing ----------------------------------------------------------------------------------------

// A sweep like the defaults' (940 to 1060 MHz in 2 MHz steps) with chosen curve heights.
ResponseData Sweep(double attenMax, double delayMax) {
    ResponseData rd;
    rd.SweepCount = 61;
    rd.SweepStart = 940.0;
    rd.SweepStop = 1060.0;
    rd.SweepStep = 2.0;
    for (int j = 1; j <= 61; ++j) {
        const double t = std::abs(j - 31) / 30.0;  // 0 in the middle, 1 at the ends
        rd.SweepAtten[j] = attenMax * t;
        rd.SweepDelay[j] = delayMax * (1.0 - t);
        rd.SweepReturnLoss[j] = 20.0 * (1.0 - t);
    }
    return rd;
}

class GraphDrawing : public ::testing::Test {
  protected:
    void Draw(const ResponseData& rd) {
        image = QImage(625, 406, QImage::Format_RGB32);
        image.fill(Qt::black);
        texts.clear();
        QPainter painter(&image);
        PageCanvas canvas(painter, &texts);
        DrawResponseGraph(canvas, rd, DisplaySettings{});
    }
    // Texts drawn at x, top to bottom.
    std::vector<QString> Column(int x) const {
        std::vector<std::pair<int, QString>> found;
        for (const DrawnText& t : texts)
            if (t.at.x() == x) found.emplace_back(t.at.y(), t.text);
        std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        std::vector<QString> column;
        for (const auto& f : found) column.push_back(f.second);
        return column;
    }
    bool Drew(const QString& text, int x, int y) const {
        for (const DrawnText& t : texts)
            if (t.text == text && t.at == QPoint(x, y)) return true;
        return false;
    }
    QColor Pixel(int x, int y) const { return image.pixelColor(x, y); }

    QImage image;
    std::vector<DrawnText> texts;
};

TEST_F(GraphDrawing, HeaderTextsOfTheDefaults) {
    Draw(Sweep(70.0, 7.3));
    EXPECT_TRUE(Drew("  940.0", 355, 30));
    EXPECT_TRUE(Drew(" 1060.0", 560, 30));
    EXPECT_TRUE(Drew("1st div. = 940 MHz  ", 420, 10));
    EXPECT_TRUE(Drew("10.0 MHz/div.", 420, 25));
    EXPECT_TRUE(Drew("Graph Width =", 390, 385));
    EXPECT_TRUE(Drew("ns", 595, 385));
    EXPECT_TRUE(Drew("Delay", 588, 346));
    EXPECT_TRUE(Drew("dBc", 355, 60));
    EXPECT_TRUE(Drew("dB", 580, 60));
}

TEST_F(GraphDrawing, FineStepWritesTheDivisionWithALeadingBlank) {
    ResponseData rd = Sweep(70.0, 7.3);
    rd.SweepStart = 998.5;
    rd.SweepStep = 0.05;
    rd.SweepStop = 1001.5;
    Draw(rd);
    EXPECT_TRUE(Drew(" 0.5 MHz/div.", 420, 25));
}

TEST_F(GraphDrawing, AttenuationLabelsFollowTheDivision) {
    Draw(Sweep(70.0, 7.3));
    EXPECT_EQ(Column(350),
              (std::vector<QString>{"10.0", "20.0", "30.0", "40.0", "50.0", "60.0", "70.0", "80.0"}));
    Draw(Sweep(500.0, 7.3));
    EXPECT_EQ(Column(350),
              (std::vector<QString>{" 100", " 200", " 300", " 400", " 500", " 600", " 700", " 800"}));
    EXPECT_TRUE(Drew(" 100", 350, 86));
    EXPECT_TRUE(Drew(" 800", 350, 366));
}

TEST_F(GraphDrawing, ReturnLossLabelsStopAtTwenty) {
    Draw(Sweep(70.0, 7.3));
    EXPECT_EQ(Column(580), (std::vector<QString>{"dB", "5", "10", "15", "20"}));
    EXPECT_TRUE(Drew("5", 580, 86));
    EXPECT_TRUE(Drew("20", 580, 206));
}

TEST_F(GraphDrawing, DelayLabelsRunUpFromTheRoundedLargestDelay) {
    Draw(Sweep(70.0, 7.3));
    // Top to bottom: three blank labels, then 0, 2, 4, 6, 8 on the bottom line.
    std::vector<QString> labels;
    for (int i = 7; i >= 0; --i)
        for (const DrawnText& t : texts)
            if (t.at == QPoint(588, 366 - 40 * i)) labels.push_back(t.text);
    EXPECT_EQ(labels,
              (std::vector<QString>{"     ", "     ", "     ", "    0", "    2", "    4", "    6", "    8"}));

    Draw(Sweep(70.0, 12.0));
    labels.clear();
    for (int i = 7; i >= 0; --i)
        for (const DrawnText& t : texts)
            if (t.at == QPoint(588, 366 - 40 * i)) labels.push_back(t.text);
    EXPECT_EQ(labels,
              (std::vector<QString>{"     ", "    0", "    2", "    4", "    6", "    8", "   10", "   12"}));
}

TEST_F(GraphDrawing, FrameAndGridLieOnTheirPixels) {
    Draw(Sweep(70.0, 7.3));
    const QColor white(255, 255, 255), grey(128, 128, 128), black(0, 0, 0);
    // Frame (386, 46) to (574, 374): the outline covers 386..573 and 46..373.
    for (int y : {46, 100, 373}) {
        EXPECT_EQ(Pixel(386, y), white) << y;
        EXPECT_EQ(Pixel(573, y), white) << y;
    }
    EXPECT_EQ(Pixel(480, 46), white);
    EXPECT_EQ(Pixel(480, 373), white);
    EXPECT_EQ(Pixel(574, 100), black);
    EXPECT_EQ(Pixel(480, 374), black);
    EXPECT_EQ(Pixel(388, 100), black);

    // Vertical grid lines every 15 pixels from 390, both end pixels set; the curves cross some pixels.
    auto greyShare = [&](int x0, int y0, int dx, int dy, int n) {
        int greyCount = 0;
        for (int i = 0; i < n; ++i) greyCount += Pixel(x0 + i * dx, y0 + i * dy) == grey;
        return static_cast<double>(greyCount) / n;
    };
    for (int x = 390; x <= 570; x += 15) {
        EXPECT_GT(greyShare(x, 50, 0, 1, 321), 0.8) << "x " << x;
        EXPECT_EQ(Pixel(x, 370), grey) << x;  // drawn down and back up: both ends set
    }
    EXPECT_LT(greyShare(391, 50, 0, 1, 321), 0.2);
    for (int y = 50; y <= 370; y += 40) EXPECT_GT(greyShare(390, y, 1, 0, 181), 0.8) << "y " << y;
    EXPECT_LT(greyShare(390, 51, 1, 0, 181), 0.2);
}

TEST_F(GraphDrawing, CurvesAreDrawnThereAndBack) {
    // One-pixel curve: both ends of every segment are set, so each point's pixel is set.
    ResponseData rd;
    rd.SweepCount = 61;
    rd.SweepStart = 940.0;
    rd.SweepStep = 2.0;
    PlotBuffer buffer{};
    for (int j = 1; j <= 61; ++j) buffer[j] = j % 2 ? 10.0 : 20.0;
    image = QImage(625, 406, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        PageCanvas canvas(painter);
        canvas.SetPen(QColor(0, 255, 255));
        DrawCurve(canvas, buffer, GraphColumnsFor(61), 4.0);
    }
    for (int j = 1; j <= 61; ++j) {
        const int y = 50 + static_cast<int>(4.0 * buffer[j]);
        EXPECT_EQ(Pixel(390 + (j - 1) * 3, y), QColor(0, 255, 255)) << j;
    }
    EXPECT_EQ(Pixel(390 + 61 * 3, 90), QColor(0, 0, 0));
}

TEST_F(GraphDrawing, DegenerateSweepsStillDrawTheFrameAndEnd) {
    ResponseData empty;  // no points, zero step
    Draw(empty);
    EXPECT_EQ(Pixel(386, 100), QColor(255, 255, 255));

    ResponseData wild = Sweep(70.0, 7.3);
    wild.SweepAtten[10] = kNaN;
    wild.SweepDelay[20] = kInf;
    wild.SweepReturnLoss[30] = -1e300;
    wild.SweepStep = kNaN;
    Draw(wild);
    EXPECT_EQ(Pixel(573, 100), QColor(255, 255, 255));
    for (const DrawnText& t : texts)
        EXPECT_FALSE(t.text.contains("nan", Qt::CaseInsensitive)) << t.text.toStdString();
}

TEST(PageCanvasRules, LineToLeavesItsEndPixelAndFramesExcludeRightAndBottom) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::black);
    {
        QPainter painter(&image);
        PageCanvas canvas(painter);
        canvas.SetPen(Qt::white);
        canvas.MoveTo(2, 2);
        canvas.LineTo(12, 2);
        canvas.FrameRect(20, 20, 30, 30, QColor(255, 0, 255));
    }
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(11, 2), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(12, 2), QColor(Qt::black));
    // Axis-parallel lines in either direction and slopes running right or down leave the end pixel.
    {
        QPainter painter(&image);
        PageCanvas canvas(painter);
        canvas.SetPen(Qt::white);
        canvas.MoveTo(12, 6);
        canvas.LineTo(2, 6);
        canvas.MoveTo(2, 10);
        canvas.LineTo(8, 16);
        canvas.MoveTo(10, 30);
        canvas.LineTo(14, 20);
    }
    EXPECT_EQ(image.pixelColor(12, 6), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(3, 6), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(2, 6), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(2, 10), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(7, 15), QColor(Qt::white));
    EXPECT_EQ(image.pixelColor(8, 16), QColor(Qt::black));
    // A slope running up keeps its start (and, as documented, also sets its end).
    EXPECT_EQ(image.pixelColor(10, 30), QColor(Qt::white));
    const QColor magenta(255, 0, 255);
    EXPECT_EQ(image.pixelColor(20, 20), magenta);
    EXPECT_EQ(image.pixelColor(29, 29), magenta);
    EXPECT_EQ(image.pixelColor(30, 25), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(25, 30), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(25, 25), QColor(Qt::black));
}

}  // namespace
}  // namespace veltrix
