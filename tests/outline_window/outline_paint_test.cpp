#include <QLabel>

#include "outline_geometry/outline_geometry.h"
#include "outline_window/outline_drawings.h"
#include "tests/outline_window/outline_fixture.h"

namespace veltrix::testing {
namespace {

const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);
const QRgb kSilver = qRgb(192, 192, 192);
const QRgb kBlue = qRgb(0, 0, 255);
const QRgb kRed = qRgb(255, 0, 0);
const QRgb kDarkGreen = qRgb(0, 128, 0);

struct PixelCase {
    const char* name;
    char mounting;
    int sections;
    double f0;
    int x;
    int y;  // picture coordinates
    QRgb colour;
};

class OutlinePixelTest : public MechanicalTest, public ::testing::WithParamInterface<PixelCase> {};

// A few lines of every drawing at their picture coordinates, seen 50 rows higher on the window.
TEST_P(OutlinePixelTest, LinesAtTheirCoordinates) {
    const PixelCase& c = GetParam();
    program.Spec.Mounting = ChoiceFromCode<MountingStyle>(c.mounting).value();
    program.Spec.Sections = c.sections;
    program.Spec.F0 = c.f0;
    const QImage image = Render();
    EXPECT_EQ(At(image, c.x, c.y), c.colour) << c.x << "," << c.y;
}

INSTANTIATE_TEST_SUITE_P(
    Drawings, OutlinePixelTest,
    ::testing::Values(
        // Drop-in: top view frame, its right-hand edge left out, the side view's blue frame, the end
        // view's pins, a dimension line.
        PixelCase{"DropInFrameCorner", '1', 3, 1000, 75, 120, kWhite},
        PixelCase{"DropInFrameRightEdge", '1', 3, 1000, 279, 150, kWhite},
        PixelCase{"DropInFrameBeyondEdge", '1', 3, 1000, 280, 150, kBlack},
        PixelCase{"DropInResonatorHole", '1', 3, 1000, 110, 155, kBlack},
        PixelCase{"DropInArcRight", '1', 3, 1000, 127, 155, kWhite},
        PixelCase{"DropInSideBlueFrame", '1', 3, 1000, 414, 150, kBlue},
        PixelCase{"DropInSidePolyline", '1', 3, 1000, 515, 122, kWhite},
        PixelCase{"DropInEndPin", '1', 3, 1000, 109, 395, kWhite},
        PixelCase{"DropInEndBlueLine", '1', 3, 1000, 150, 275, kBlue},
        PixelCase{"DropInEndFootless", '1', 3, 1000, 172, 375, kBlack},
        PixelCase{"DropInEndMiddleFoot", '1', 5, 1000, 172, 375, kWhite},
        PixelCase{"DropInPitchDimension", '1', 3, 1000, 120, 205, kSilver},
        PixelCase{"DropInLengthExtension", '1', 3, 1000, 280, 265, kSilver},
        // Surface-mount tab: top polyline, terminal, blue frame, bottom frames, a dimension line.
        PixelCase{"TabTopEdge", '3', 3, 1000, 200, 120, kWhite},
        PixelCase{"TabFoot", '3', 3, 1000, 290, 180, kWhite},
        PixelCase{"TabTerminal", '3', 3, 1000, 105, 170, kWhite},
        PixelCase{"TabSideBlueFrame", '3', 3, 1000, 385, 150, kBlue},
        PixelCase{"TabBottomFrame", '3', 3, 1000, 75, 350, kWhite},
        PixelCase{"TabBottomGroundPad", '3', 3, 1000, 150, 390, kBlack},
        PixelCase{"TabBottomMiddleGround", '3', 5, 1000, 150, 390, kWhite},
        PixelCase{"TabTerminalDimension", '3', 3, 1000, 20, 330, kSilver},
        // Leadless at 1000 MHz (height class 2, no protrusion) and 1500 MHz (class 1, protruding).
        PixelCase{"LeadlessInnerFrame", '5', 3, 1000, 76, 150, kWhite},
        PixelCase{"LeadlessTopEdge", '5', 3, 1000, 80, 115, kWhite},
        PixelCase{"LeadlessNotchBottom", '5', 3, 1000, 93, 119, kWhite},
        PixelCase{"LeadlessNotchGap", '5', 3, 1000, 93, 115, kBlack},
        PixelCase{"LeadlessLeftEdgeGap", '5', 3, 1000, 70, 135, kBlack},
        PixelCase{"LeadlessLeftEdgeNotch", '5', 3, 1000, 74, 135, kWhite},
        PixelCase{"LeadlessPad", '5', 3, 1000, 80, 320, kRed},
        PixelCase{"LeadlessGroundAcross", '5', 3, 1000, 150, 311, kDarkGreen},
        PixelCase{"LeadlessEndView", '5', 3, 1000, 480, 150, kWhite},
        PixelCase{"LeadlessNoProtrusion", '5', 3, 1000, 100, 221, kBlack},
        PixelCase{"LeadlessProtrusionTop", '5', 3, 1500, 100, 197, kBlue},
        PixelCase{"LeadlessProtrusionEnd", '5', 3, 1500, 460, 197, kBlue},
        PixelCase{"LeadlessChainDimension", '5', 3, 1000, 221, 150, kSilver}),
    [](const ::testing::TestParamInfo<PixelCase>& info) { return std::string(info.param.name); });

TEST_F(MechanicalTest, FrameTextsInTheirColours) {
    program.Spec.Mounting = MountingStyle::SurfaceTab;
    Render();
    EXPECT_TRUE(Drew("Surface mounting - Tab           ", 30, 70));
    EXPECT_TRUE(Drew("Part:", 30, 50));
    EXPECT_TRUE(Drew("3DR23-1000/U20 - 1.8", 80, 50));
    EXPECT_TRUE(Drew("Tolerances: ", 20, 446));
    EXPECT_TRUE(Drew("Note: Drawing not to scale.", 440, 446));
    for (const DrawnText& t : mechanical->DrawnTexts()) {
        if (t.text == "Tolerances: " || t.text == "Note: " || t.text == "Part:") {
            EXPECT_EQ(t.colour, QColor(255, 255, 0)) << t.text.toStdString();
        }
        if (t.at == QPoint(30, 70)) {
            EXPECT_EQ(t.colour, QColor(255, 0, 255));
        }
    }
    EXPECT_TRUE(Drew("0.47", 155, 100));  // 3 x 0.156 between the tab's ends
}

TEST_F(MechanicalTest, MillimetresChangeTextsAndToleranceLine) {
    program.Spec.Mounting = MountingStyle::DropIn;
    program.Spec.Units = DrawingUnits::Millimetres;
    Render();
    EXPECT_TRUE(
        Drew("Tolerances: All dimensions \u00b1 .5 millimeters unless otherwise specified.", 20, 446));
    EXPECT_TRUE(Drew("2.67", 315, 370));
    EXPECT_TRUE(Drew("11.9", 155, 255));  // 3 x 0.156 x 25.4
}

TEST_F(MechanicalTest, MountingsWithoutDrawingShowOnlyTheFrameTexts) {
    for (MountingStyle mounting : {MountingStyle::SurfacePin, MountingStyle::Tessel}) {
        program.Spec.Mounting = mounting;
        const QImage image = Render();
        std::vector<QString> texts;
        for (const DrawnText& t : mechanical->DrawnTexts()) texts.push_back(t.text);
        EXPECT_EQ(texts.size(), 6u) << CodeOf(
            mounting);  // Part:, part number, tolerance line twice, note twice
        for (int x = 0; x < 380; ++x)
            for (int y = 100; y < 440; ++y) ASSERT_EQ(At(image, x, y), kBlack) << x << "," << y;
    }
}

struct NoticeCase {
    const char* name;
    int profile;
    char mounting;
    char dielectric;
    int status;
    const char* second;
};

class NoticeTest : public MechanicalTest, public ::testing::WithParamInterface<NoticeCase> {};

TEST_P(NoticeTest, TwoGreenLinesInsteadOfTheDrawing) {
    const NoticeCase& c = GetParam();
    program.Spec.Profile = ProfileFromNumber(c.profile).value();
    program.Spec.Mounting = ChoiceFromCode<MountingStyle>(c.mounting).value();
    program.Spec.Dielectric = ChoiceFromCode<DielectricMaterial>(c.dielectric).value();
    program.Spec.SelStatus = c.status;
    Render();
    const auto& texts = mechanical->DrawnTexts();
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "No Outline Drawings to Display.");
    EXPECT_EQ(texts[0].at, QPoint(180, 180));
    EXPECT_EQ(texts[1].text, c.second);
    EXPECT_EQ(texts[1].at, QPoint(180, 210));
    EXPECT_EQ(texts[0].colour, QColor(0, 255, 0));
    EXPECT_EQ(texts[0].pixelSize, 16);  // medium, 12 points
}

INSTANTIATE_TEST_SUITE_P(
    Order, NoticeTest,
    ::testing::Values(
        NoticeCase{"LeadlessDR4", 3, '5', 'R', 0, "No Leadless for DR4."},
        NoticeCase{"LeadlessBeforeError", 3, '5', 'R', 1, "No Leadless for DR4."},
        NoticeCase{"LeadlessDH4ForL", 3, '5', 'L', 2, "No Leadless for DH4."},
        NoticeCase{"Error", 1, '1', 'R', 1, "Error Information on Filter Specification Screen."},
        NoticeCase{"ErrorExtreme", 3, '3', 'R', 7, "Error Information on Filter Specification Screen."}),
    [](const ::testing::TestParamInfo<NoticeCase>& info) { return std::string(info.param.name); });

TEST_F(MechanicalTest, PrintingInvertsTheDrawingAndDarkensTheLabels) {
    program.Spec.Mounting = MountingStyle::Orbis;
    program.Spec.F0 = 1500;
    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    mechanical->ShowCopyColours(true);
    const QImage image = Render();
    EXPECT_EQ(At(image, 76, 150), kBlack);                         // white outline
    EXPECT_EQ(At(image, 300, 400), kWhite);                        // black background
    EXPECT_EQ(At(image, 100, 197), qRgb(255, 255, 0));             // blue protrusion
    EXPECT_EQ(At(image, 80, 320), qRgb(0, 255, 255));              // red pad
    EXPECT_TRUE(Drew("Input and Output Shown In Aqua", 70, 399));  // trunc(1.5 x 66 + 300)
    for (const char* name : {"version", "registered_mark", "caption", "maker_caption"}) {
        EXPECT_EQ(mechanical->findChild<QLabel*>(name)->palette().color(QPalette::WindowText), Qt::black)
            << name;
    }

    program.Display.PaintCopyMode = CopyMode::Source;
    mechanical->ShowCopyColours(false);
    // A paint in print mode leaves the labels alone: only the print job recolours them.
    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    Render();
    EXPECT_EQ(mechanical->findChild<QLabel*>("caption")->palette().color(QPalette::WindowText), Qt::white);
    program.Display.PaintCopyMode = CopyMode::Source;
    program.Spec.F0 = 1000;
    Render();
    EXPECT_TRUE(Drew("Input and Output Shown In Red", 70, 404));  // 90 + 314
    EXPECT_EQ(mechanical->findChild<QLabel*>("caption")->palette().color(QPalette::WindowText), Qt::white);
}

// On a high-density screen every layout pixel of a line is a whole block of device pixels, so the
// pads' ten side-by-side lines stay one solid pad instead of falling apart into stripes.
class HighDensityTest : public MechanicalTest, public ::testing::WithParamInterface<double> {};

TEST_P(HighDensityTest, LeadlessPadsAreSolid) {
    const double ratio = GetParam();
    program.Spec.Mounting = MountingStyle::Orbis;
    program.Spec.Sections = 3;
    program.Spec.F0 = 1000;
    QImage image(QSize(OutlineWindow::kClientWidth, OutlineWindow::kClientHeight) * ratio,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    image.fill(Qt::gray);
    QPainter painter(&image);
    mechanical->FormPaint(painter, QSize(OutlineWindow::kClientWidth, OutlineWindow::kClientHeight));
    painter.end();

    const int length = LeadlessFor(program.Spec).length;
    // The pad's solid block at each end (the rounded end toward the edge left aside), picture pixels.
    const QRectF pads[] = {QRectF(74, 313, 11, 15), QRectF(70 + length - 14, 313, 11, 15)};
    for (const QRectF& pad : pads) {
        const QRectF device(pad.left() * ratio, (pad.top() - OutlineWindow::kPictureTop) * ratio,
                            pad.width() * ratio, pad.height() * ratio);
        // Device pixels whose centre lies on the pad's edge may go either way.
        const auto inside = [&](int x, int y) {
            return x + 0.5 > device.left() && x + 0.5 < device.right() && y + 0.5 > device.top() &&
                   y + 0.5 < device.bottom();
        };
        int notRed = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (inside(x, y) && image.pixel(x, y) != kRed) ++notRed;
        EXPECT_EQ(notRed, 0) << "pad at " << pad.left() << " at a ratio of " << ratio;
    }
    // A one-pixel line is as wide as one layout pixel: every device row of the ground line's row 311.
    const int x = static_cast<int>(150 * ratio);
    int rows = 0;
    for (int y = 0; y < image.height(); ++y) {
        const double layoutRow = (y + 0.5) / ratio + OutlineWindow::kPictureTop;
        if (layoutRow <= 311 || layoutRow >= 312) continue;
        ++rows;
        EXPECT_EQ(image.pixel(x, y), kDarkGreen) << "device row " << y;
    }
    EXPECT_GE(rows, 1);
}

INSTANTIATE_TEST_SUITE_P(Ratios, HighDensityTest, ::testing::Values(1.0, 1.5, 2.0),
                         [](const ::testing::TestParamInfo<double>& info) {
                             return info.param == 1.0   ? std::string("One")
                                    : info.param == 1.5 ? std::string("OneAndAHalf")
                                                        : std::string("Two");
                         });

TEST_F(MechanicalTest, ScreenReadersHearThePartMountingAndUnitsOrTheNotice) {
    EXPECT_EQ(mechanical->accessibleName(), "Outline Drawings");
    program.Spec.Mounting = MountingStyle::DropIn;
    program.Spec.Units = DrawingUnits::Millimetres;
    program.Judgement.JudgeNow();
    Render();
    EXPECT_EQ(mechanical->accessibleDescription(),
              "3DR21-1000/U20 - 1.8, Drop in (PC) mounting, dimensions in millimeters");

    program.Spec.F0 = 3050;
    program.Judgement.JudgeNow();
    Render();
    EXPECT_EQ(mechanical->accessibleDescription(),
              "No Outline Drawings to Display. Error Information on Filter Specification Screen.");
    EXPECT_TRUE(Drew("Error Information on Filter Specification Screen.", 180, 210));
}

}  // namespace
}  // namespace veltrix::testing
