#include <QApplication>
#include <QRegularExpression>
#include <QScreen>

#include "specification_fixture.h"

namespace veltrix::testing {
namespace {

const QColor kBlack(0, 0, 0);
const QColor kWhite(255, 255, 255);
const QColor kMagenta(255, 0, 255);
const QColor kGreen(0, 255, 0);
const QColor kGrey(128, 128, 128);
constexpr int kShift = SpecificationWindow::kPageShift;

std::vector<QString> Texts(const std::vector<std::pair<int, QString>>& placed) {
    std::vector<QString> texts;
    for (const auto& p : placed) texts.push_back(p.second);
    return texts;
}

// ---- Defaults -------------------------------------------------------------------------------------

TEST_F(SelectTest, DefaultsShowThePartNumberResultsAndGraph) {
    Render();
    EXPECT_TRUE(Drew("3DR25-1000/U20 - 1.8", 100, 91));
    // "%6.1f" of the 2.4 dB loss after the equals sign, then two blanks and "dB".
    EXPECT_EQ(LabelText("insertion_loss"), "Insertion loss at Fo  =   2.4  dB");
    EXPECT_EQ(LabelText("stopband_f1_attenuation"), " ");
    EXPECT_EQ(LabelText("stopband_f2_attenuation"), " ");
    EXPECT_TRUE(TextsAt(400).empty());  // no messages, no contact notice
    EXPECT_FALSE(List("graph_width")->isHidden());
    EXPECT_TRUE(Drew("Graph Width =", 390, 385));
    EXPECT_TRUE(Drew("1st div. = 940 MHz  ", 420, 10));
    EXPECT_EQ(Edit("centre_frequency")->text(), "1000.0");
    EXPECT_EQ(Edit("bandwidth")->text(), "20.00");
    EXPECT_EQ(Edit("stopband_f1")->text(), "0.00");
    EXPECT_EQ(Edit("stopband_f2")->text(), "0.00");
    // One judgement, which Tabular Data follows by itself: the frame is not asked to.
    EXPECT_EQ(program.Judgement.Count(), 1);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::TabularData), 0);
}

TEST_F(SelectTest, FixedLabelsAreDrawnAtTheirPlaces) {
    Render();
    const std::tuple<const char*, int, int> labels[] = {{">", 45, 94},
                                                        {"Part", 10, 93},
                                                        {"Design (Passband) Specifications", 10, 122},
                                                        {"Center", 10, 149},
                                                        {"Frequency", 10, 163},
                                                        {"Bandwidth", 179, 149},
                                                        {"(minimum)", 179, 163},
                                                        {"MHz", 134, 155},
                                                        {"MHz", 299, 155},
                                                        {"Number of", 10, 190},
                                                        {"Sections", 10, 204},
                                                        {"Passband", 179, 190},
                                                        {"Definition", 179, 204},
                                                        {"Resonator", 10, 232},
                                                        {"Profile", 10, 246},
                                                        {"Dielectric", 179, 232},
                                                        {"Constant", 179, 246},
                                                        {"Insertion loss at Fo", 30, 267},
                                                        {"dB", 275, 267},
                                                        {"=", 171, 267},
                                                        {"Stopband Points", 10, 293},
                                                        {"F1", 163, 308},
                                                        {"F2", 260, 308},
                                                        {"Frequency", 10, 327},
                                                        {"MHz", 197, 327},
                                                        {"MHz", 294, 327},
                                                        {"Nominal Attenuation", 10, 349},
                                                        {"dBc", 197, 349},
                                                        {"dBc", 294, 349}};
    for (const auto& [text, x, y] : labels) EXPECT_TRUE(Drew(text, x, y)) << text << " at " << x << "," << y;

    const QColor yellow(255, 255, 0);
    for (const DrawnText& t : select->DrawnTexts()) {
        if (t.text == "Part" || t.text == "Stopband Points") {
            EXPECT_EQ(t.colour, yellow);
            EXPECT_EQ(t.pixelSize, 16);  // 12 pt at 96 dpi
        }
        if (t.text == "Center") {
            EXPECT_EQ(t.pixelSize, 13);  // 10 pt
        }
        if (t.text == "3DR25-1000/U20 - 1.8") {
            EXPECT_EQ(t.colour, kWhite);
            EXPECT_EQ(t.pixelSize, 19);  // 14 pt
        }
    }
}

// ---- Pixels ---------------------------------------------------------------------------------------

TEST_F(SelectTest, FramesSitFivePixelsRightOnABlackWindow) {
    const QImage image = Render();
    auto at = [&](int x, int y) { return image.pixelColor(x + kShift, y); };
    // Frames (2, 88, 339, 118), (2, 134, 339, 290), (2, 305, 339, 372) cover 2..338 and t..b-1.
    for (int y : {110, 200, 280, 340, 360}) {
        EXPECT_EQ(at(2, y), kMagenta) << y;
        EXPECT_EQ(at(338, y), kMagenta) << y;
        EXPECT_EQ(at(339, y), kBlack) << y;
        EXPECT_EQ(at(1, y), kBlack) << y;
    }
    for (int x : {20, 200, 330}) {
        EXPECT_EQ(at(x, 88), kMagenta) << x;
        EXPECT_EQ(at(x, 117), kMagenta) << x;
        EXPECT_EQ(at(x, 118), kBlack) << x;
        EXPECT_EQ(at(x, 371), kMagenta) << x;
        EXPECT_EQ(at(x, 372), kBlack) << x;
    }
    EXPECT_EQ(at(330, 134), kMagenta);
    // The arrow's line, seen left of "Part" and over the ">"; its end pixel (48) is not drawn.
    EXPECT_EQ(at(5, 104), kMagenta);
    EXPECT_EQ(at(8, 104), kMagenta);
    EXPECT_EQ(at(47, 104), kMagenta);
    // The strip the shift uncovers and the empty corners are black.
    for (int x = 0; x < kShift; ++x) EXPECT_EQ(image.pixelColor(x, 200), kBlack);
    EXPECT_EQ(image.pixelColor(620, 400), kBlack);
    EXPECT_EQ(image.pixelColor(350 + kShift, 5), kBlack);
}

TEST_F(SelectTest, GraphFrameAndFirstGridLineOfTheDefaults) {
    const QImage image = Render();
    auto at = [&](int x, int y) { return image.pixelColor(x + kShift, y); };
    EXPECT_EQ(at(386, 200), kWhite);
    EXPECT_EQ(at(573, 200), kWhite);
    EXPECT_EQ(at(480, 46), kWhite);
    EXPECT_EQ(at(480, 373), kWhite);
    // First grid line at x = 390 (395 on the window): grey over most of its height, both ends set.
    int grey = 0;
    for (int y = 50; y <= 370; ++y) grey += at(390, y) == kGrey;
    EXPECT_GT(grey, 250);
    EXPECT_EQ(image.pixelColor(395, 370), kGrey);
    EXPECT_EQ(at(388, 200), kBlack);
    // 10 MHz divisions of 15 pixels.
    int next = 0;
    for (int y = 50; y <= 370; ++y) next += at(405, y) == kGrey;
    EXPECT_GT(next, 250);
}

TEST_F(SelectTest, PrintingInvertsThePageAndTheComponents) {
    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    select->ShowCopyColours(true);
    QImage image = Render();
    auto at = [&](int x, int y) { return image.pixelColor(x + kShift, y); };
    EXPECT_EQ(image.pixelColor(0, 200), kWhite);
    EXPECT_EQ(image.pixelColor(620, 400), kWhite);
    EXPECT_EQ(at(2, 200), kGreen);    // magenta frames print green
    EXPECT_EQ(at(386, 200), kBlack);  // the white graph frame prints black
    EXPECT_EQ(at(200, 340), kWhite);  // the black background prints white
    const QLabel* result = Child<QLabel>("insertion_loss");
    EXPECT_EQ(result->palette().color(QPalette::Window), kWhite);
    EXPECT_EQ(result->palette().color(QPalette::WindowText), kBlack);
    EXPECT_EQ(Child<QLabel>("caption")->palette().color(QPalette::WindowText), kBlack);

    program.Display.PaintCopyMode = CopyMode::Source;
    select->ShowCopyColours(false);
    image = Render();
    EXPECT_EQ(image.pixelColor(0, 200), kBlack);
    EXPECT_EQ(at(2, 200), kMagenta);
    EXPECT_EQ(result->palette().color(QPalette::Window), kBlack);
    EXPECT_EQ(result->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(Child<QLabel>("caption")->palette().color(QPalette::WindowText), kWhite);
}

// The whole window, children included, as a print band takes it: the page, then the components.
QImage RenderWindow(SpecificationWindow& select) {
    QImage image(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight, QImage::Format_RGB32);
    image.fill(Qt::gray);
    select.render(&image);
    return image;
}

TEST_F(SelectTest, LogoPrintsDarkOnWhiteWithItsCaptionsReadable) {
    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    select->ShowCopyColours(true);
    const QImage printed = RenderWindow(*select);
    // The logo's rectangle (43, 12, 225 x 61): mostly paper, some dark ink, never a solid block.
    int dark = 0, paper = 0, total = 0;
    for (int y = 12; y < 73; ++y)
        for (int x = 43; x < 268; ++x) {
            const int v = qGray(printed.pixel(x, y));
            dark += v < 96;
            paper += v > 200;
            ++total;
        }
    EXPECT_GT(dark, total / 50) << "the name prints";
    EXPECT_GT(paper, total / 2) << "no black block over the captions";
    // The caption strip under the mark is paper with dark text on it.
    const auto* caption = Child<QLabel>("caption");
    int captionInk = 0;
    for (int x = caption->x(); x < caption->x() + caption->width(); ++x)
        for (int y = caption->y(); y < caption->y() + caption->height(); ++y)
            captionInk += qGray(printed.pixel(x, y)) < 96;
    EXPECT_GT(captionInk, 10);

    program.Display.PaintCopyMode = CopyMode::Source;
    select->ShowCopyColours(false);
    const QImage screen = RenderWindow(*select);
    int light = 0;
    for (int y = 12; y < 73; ++y)
        for (int x = 43; x < 268; ++x) light += qGray(screen.pixel(x, y)) > 160;
    EXPECT_GT(light, total / 50) << "light on the black page";
    EXPECT_LT(light, total / 2);
}

// ---- Refusals and the contact notice ---------------------------------------------------------------

struct RefusalCase {
    const char* name;
    double f0;
    char mounting;
    char dielectric;
    std::vector<QString> messages;
};

class RefusalTest : public SelectTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RefusalTest, MessagesThenTheContactNoticeBelowThem) {
    const RefusalCase& c = GetParam();
    program.Spec.F0 = c.f0;
    program.Spec.Mounting = ChoiceFromCode<MountingStyle>(c.mounting).value();
    program.Spec.Dielectric = ChoiceFromCode<DielectricMaterial>(c.dielectric).value();
    Render();

    std::vector<std::pair<int, QString>> expected;
    const int n = static_cast<int>(c.messages.size());
    for (int i = 0; i < n; ++i)
        if (!c.messages[i].isEmpty()) expected.emplace_back(86 + 20 * (i + 1), c.messages[i]);
    const std::pair<int, const char*> notice[] = {{126, "This program defines"},
                                                  {146, "standard Veltrix products."},
                                                  {186, "Please contact Norvane"},
                                                  {206, "at +1 (555) 010-0142"},
                                                  {226, "for special requirements."}};
    for (const auto& [y, text] : notice) expected.emplace_back(20 * n + y, text);
    EXPECT_EQ(TextsAt(400), expected);

    EXPECT_TRUE(Drew("No standard part for last inputs.", 110, 97));
    EXPECT_TRUE(List("graph_width")->isHidden());
    EXPECT_FALSE(Drew("Graph Width =", 390, 385));
    EXPECT_EQ(LabelText("stopband_f1_attenuation"), " ");
}

INSTANTIATE_TEST_SUITE_P(
    Selections, RefusalTest,
    ::testing::Values(RefusalCase{"DropInDL", 1000.0, '1', 'L', {"No DL Parts for Drop-in Mounting"}},
                      RefusalCase{"AboveMaximum",
                                  3050.0,
                                  '5',
                                  'R',
                                  {"Maximum Frequency is 3000 MHz", "fo < 2500 MHz for Orbis 4mm DR"}},
                      RefusalCase{"LowDR",
                                  500.0,
                                  '5',
                                  'R',
                                  {"Maximum Bandwidth Exceeded", "Use DH for fo < 800 MHz", "",
                                   "Increase profile size and dielectric", "for lower frequencies."}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, TwoMessageLinesPlaceTheNoticeAsInTheExample) {
    program.Spec.F0 = 3050.0;
    Render();
    EXPECT_TRUE(Drew("This program defines", 400, 166));
    EXPECT_TRUE(Drew("Please contact Norvane", 400, 226));
    // The insertion loss is still computed for a rule failure.
    EXPECT_TRUE(LabelText("insertion_loss").startsWith("Insertion loss at Fo  ="));
}

TEST_F(SelectTest, ClampedCentreShowsTheLimitAndNoInsertionLoss) {
    Edit("centre_frequency")->setText("5000");
    Leave("centre_frequency");
    Render();
    EXPECT_EQ(Edit("centre_frequency")->text(), "3500.0");
    EXPECT_EQ(LabelText("insertion_loss"), "Insertion loss at Fo is not defined");
    EXPECT_EQ(program.Spec.LastF0, 5000.0);
}

// ---- Results ---------------------------------------------------------------------------------------

TEST_F(SelectTest, StopbandPointShowsItsAttenuationWithOneDecimal) {
    Edit("stopband_f1")->setText("950");
    Leave("stopband_f1");
    Render();
    const QString text = LabelText("stopband_f1_attenuation");
    EXPECT_TRUE(QRegularExpression("^ *\\d+\\.\\d$").match(text).hasMatch()) << text.toStdString();
    EXPECT_EQ(text.size(), 6);
    EXPECT_GT(text.toDouble(), 3.0);
    EXPECT_EQ(Edit("stopband_f1")->text(), "950.00");
    EXPECT_EQ(LabelText("stopband_f2_attenuation"), " ");
}

TEST_F(SelectTest, ResultLabelsMoveWithTheOffsets) {
    program.Display.FieldOffsetX = 20;
    program.Display.FieldOffsetY = 10;
    select->PlaceResultLabels();  // as Configure > Offsets does
    Render();
    EXPECT_EQ(Child<QLabel>("insertion_loss")->pos(), QPoint(-4, 256));
    EXPECT_EQ(Child<QLabel>("stopband_f1_attenuation")->pos(), QPoint(116, 338));
    EXPECT_EQ(Child<QLabel>("stopband_f2_attenuation")->pos(), QPoint(212, 338));
    // The painted labels stay put.
    EXPECT_TRUE(Drew("Insertion loss at Fo", 30, 267));
}

// What the window shows on screen (its backing store) against a fresh paint of the same area.
class MovedFieldsTest : public SelectTest, public ::testing::WithParamInterface<QPoint> {};

TEST_P(MovedFieldsTest, ShowWholeAtTheirNewPlaceAfterTheNextPaint) {
    select->resize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight);
    ShowActive();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(select.get()));
    QApplication::processEvents();

    QLabel* il0 = Child<QLabel>("insertion_loss");
    const QRect before = il0->geometry();
    // Configure > Offsets: the new values, then a repaint of the screen.
    program.Display.FieldOffsetX = GetParam().x();
    program.Display.FieldOffsetY = GetParam().y();
    select->PlaceResultLabels();
    select->update();
    for (int i = 0; i < 5; ++i) QApplication::processEvents();

    const QRect after = il0->geometry();
    ASSERT_EQ(after.topLeft(), QPoint(16 - GetParam().x(), 266 - GetParam().y()));
    const QRect area = (before | after).intersected(select->rect());
    const QImage shown = select->screen()
                             ->grabWindow(select->winId(), area.x(), area.y(), area.width(), area.height())
                             .toImage()
                             .convertToFormat(QImage::Format_RGB32);
    const QImage fresh = select->grab(area).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), fresh.size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y)
        for (int x = 0; x < shown.width(); ++x) differing += shown.pixel(x, y) != fresh.pixel(x, y);
    EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Offsets, MovedFieldsTest, ::testing::Values(QPoint(20, 10), QPoint(100, 50)));

TEST_F(SelectTest, GuaranteeNoticeForAHighStopbandAttenuation) {
    Edit("stopband_f2")->setText("1200");
    Leave("stopband_f2");
    Render();
    EXPECT_TRUE(Drew("Only 60 dB attenuation guaranteed", 144, 289));
}

// ---- Typing into the live window -------------------------------------------------------------------

TEST_F(SelectTest, TypingFiveHundredThenEnterShowsTheBandwidthMessagesAndFocusesTheCap) {
    ShowActive();
    QApplication::processEvents();
    QLineEdit* f0 = Edit("centre_frequency");
    f0->setFocus();
    f0->selectAll();
    QTest::keyClicks(f0, "500");
    QTest::keyClick(f0, Qt::Key_Return);
    for (int i = 0; i < 5; ++i) QApplication::processEvents();

    EXPECT_EQ(
        Texts(TextsAt(400)),
        (std::vector<QString>{"Maximum Bandwidth Exceeded", "Use DH for fo < 800 MHz",
                              "Increase profile size and dielectric", "for lower frequencies.",
                              "This program defines", "standard Veltrix products.", "Please contact Norvane",
                              "at +1 (555) 010-0142", "for special requirements."}));
    EXPECT_TRUE(Drew("Increase profile size and dielectric", 400, 166));  // the empty line keeps its place
    EXPECT_EQ(QApplication::focusWidget(), Edit("bandwidth"));
    EXPECT_EQ(Edit("bandwidth")->text(), "19.50");
    EXPECT_EQ(Edit("centre_frequency")->text(), "500.0");
    EXPECT_EQ(program.Spec.BWRequested, 20.0);  // the typed value is judged again at every paint

    // Leaving the capped field stores the shown maximum.
    QTest::keyClick(Edit("bandwidth"), Qt::Key_Return);
    EXPECT_EQ(program.Spec.BWRequested, 19.5);
}

TEST_F(SelectTest, TypingIsNotUndoneByTheFieldsOwnRepaints) {
    ShowActive();
    QApplication::processEvents();
    const int judgements = program.Judgement.Count();
    QLineEdit* f0 = Edit("centre_frequency");
    f0->setFocus();
    f0->selectAll();
    QTest::keyClicks(f0, "15");
    QTest::mouseMove(Child<QWidget>("tolerances_button"));
    for (int i = 0; i < 5; ++i) QApplication::processEvents();
    EXPECT_EQ(f0->text(), "15");
    // Nothing was judged, so the screen was not made to show a judgement again.
    EXPECT_EQ(program.Judgement.Count(), judgements);
}

TEST_F(SelectTest, PaintingShowsTheLastJudgementAndTouchesNoFieldFocusOrVerdict) {
    ShowActive();
    Edit("centre_frequency")->setText("3050");
    Leave("centre_frequency");
    QApplication::processEvents();
    // The verdict blames the centre frequency and sends the focus there, once.
    ASSERT_EQ(QApplication::focusWidget(), Edit("centre_frequency"));
    Edit("stopband_f1")->setFocus();
    Edit("stopband_f1")->setText("77");  // typed, not yet left
    const int judgements = program.Judgement.Count();
    const QString loss = LabelText("insertion_loss");

    // The second paint is a print band's: only the print job recolours the components.
    for (CopyMode mode : {CopyMode::Source, CopyMode::InvertedSource}) {
        program.Display.PaintCopyMode = mode;
        QImage image(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                     QImage::Format_RGB32);
        QPainter painter(&image);
        select->FormPaint(painter, image.size());
    }
    program.Display.PaintCopyMode = CopyMode::Source;
    EXPECT_EQ(Child<QLabel>("caption")->palette().color(QPalette::WindowText), kWhite);
    EXPECT_EQ(Child<QLabel>("insertion_loss")->palette().color(QPalette::Window), kBlack);
    EXPECT_TRUE(Drew("Maximum Frequency is 3000 MHz", 400, 106));
    EXPECT_TRUE(Drew("No standard part for last inputs.", 110, 97));
    EXPECT_EQ(QApplication::focusWidget(), Edit("stopband_f1"));
    EXPECT_EQ(Edit("stopband_f1")->text(), "77");
    EXPECT_EQ(Edit("centre_frequency")->text(), "3050.0");
    EXPECT_EQ(LabelText("insertion_loss"), loss);
    EXPECT_EQ(program.Judgement.Count(), judgements);
}

TEST_F(SelectTest, AJudgementMadeElsewhereIsShownWithoutAPaint) {
    // As the outline window's mounting button does while this screen is covered.
    program.Spec.F0 = 3050.0;
    program.Judgement.JudgeNow();
    EXPECT_EQ(Edit("centre_frequency")->text(), "3050.0");
    EXPECT_TRUE(List("graph_width")->isHidden());
    EXPECT_EQ(LabelText("stopband_f1_attenuation"), " ");
    EXPECT_TRUE(select->DrawnTexts().empty());
}

TEST_F(SelectTest, PaintsSettleAfterAnEdit) {
    ShowActive();
    QApplication::processEvents();
    Edit("stopband_f1")->setText("950.006");
    Leave("stopband_f1");
    int requests = -1;
    for (int round = 0; round < 10 && requests != select->RepaintRequests(); ++round) {
        requests = select->RepaintRequests();
        QApplication::processEvents();
    }
    EXPECT_EQ(requests, select->RepaintRequests());
    EXPECT_LT(requests, 5);
    EXPECT_EQ(Edit("stopband_f1")->text(), "950.01");
}

// ---- Hostile pasted text --------------------------------------------------------------------------

struct PasteCase {
    const char* name;
    const char* field;
    std::string text;
};

class PasteTest : public SelectTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(PasteTest, NeverShowsNotANumberAndSettles) {
    const PasteCase& c = GetParam();
    ShowActive();
    QApplication::processEvents();
    QLineEdit* field = Edit(c.field);
    field->setFocus();
    field->setText(QString::fromStdString(c.text));  // a paste bypasses the key filter
    QTest::keyClick(field, Qt::Key_Return);
    for (int i = 0; i < 6; ++i) QApplication::processEvents();
    Render();

    QStringList shown;
    for (const char* name : {"centre_frequency", "bandwidth", "stopband_f1", "stopband_f2"})
        shown << Edit(name)->text();
    for (const char* name : {"insertion_loss", "stopband_f1_attenuation", "stopband_f2_attenuation"})
        shown << LabelText(name);
    for (const DrawnText& t : select->DrawnTexts()) shown << t.text;
    for (const QString& text : shown)
        EXPECT_FALSE(text.contains("nan", Qt::CaseInsensitive)) << text.left(80).toStdString();
    const int requests = select->RepaintRequests();
    QApplication::processEvents();
    Render();
    EXPECT_EQ(select->RepaintRequests(), requests);
}

INSTANTIATE_TEST_SUITE_P(Texts, PasteTest,
                         ::testing::Values(PasteCase{"NegativeCentre", "centre_frequency", "-500"},
                                           PasteCase{"NegativeBandwidth", "bandwidth", "-20"},
                                           PasteCase{"LettersBandwidth", "bandwidth", "abc"},
                                           PasteCase{"NegativeStopband", "stopband_f1", "-950"},
                                           PasteCase{"ExponentStopband", "stopband_f2", "1e999"},
                                           PasteCase{"LongCentre", "centre_frequency", std::string(400, '9')},
                                           PasteCase{"LongBandwidth", "bandwidth", std::string(400, '9')},
                                           PasteCase{"LongStopband", "stopband_f1", std::string(400, '9')},
                                           PasteCase{"LongFraction", "stopband_f2",
                                                     "0." + std::string(400, '0') + "1"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, NegativeBandwidthIsTreatedAsExtremeValues) {
    Edit("bandwidth")->setText("-20");
    Leave("bandwidth");
    Render();
    EXPECT_EQ(program.Spec.SelStatus, kExtremeValues);
    EXPECT_TRUE(Drew("Extreme Values Preclude Analysis", 400, 106));
    EXPECT_EQ(LabelText("insertion_loss"), "Insertion loss at Fo is not defined");
}

TEST_F(SelectTest, ScreenReadersHearWhatTheScreenShows) {
    program.Spec.F1 = 940.0;
    Render();
    EXPECT_EQ(select->accessibleName(), "Specify Filter");
    EXPECT_EQ(select->accessibleDescription(),
              "Standard part 3DR25-1000/U20 - 1.8. Insertion loss at Fo 2.4 dB. F1 940.00 MHz: 38.1 dBc.");
    const QWidget* graph = Child<QWidget>("response_graph");
    EXPECT_EQ(graph->accessibleName(), "Response graph");
    EXPECT_TRUE(graph->accessibleDescription().endsWith("of 3DR25-1000/U20 - 1.8 from 940.0 to 1060.0 MHz"))
        << graph->accessibleDescription().toStdString();

    program.Spec.F0 = 500.0;
    Render();
    EXPECT_TRUE(select->accessibleDescription().startsWith(
        "No standard part for last inputs. Maximum Bandwidth Exceeded Use DH for fo < 800 MHz"))
        << select->accessibleDescription().toStdString();
    EXPECT_TRUE(graph->isHidden());
}

// ---- High-density screens -----------------------------------------------------------------------

TEST_F(SelectTest, AtDevicePixelRatioTwoEveryPixelDoublesAndTheLayoutStays) {
    QImage image(QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight) * 2,
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(2.0);
    image.fill(Qt::gray);
    JudgeStoredInputs();
    {
        QPainter painter(&image);
        select->FormPaint(painter,
                          QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight));
    }
    ASSERT_EQ(image.size(),
              QSize(2 * SpecificationWindow::kClientWidth, 2 * SpecificationWindow::kClientHeight));
    // The bitmap behind the window is rendered at the ratio, not scaled up afterwards.
    EXPECT_EQ(select->Page().Bitmap().devicePixelRatio(), 2.0);
    EXPECT_GE(select->Page().Bitmap().width(), 2 * (SpecificationWindow::kClientWidth - kShift));
    auto at = [&](int x, int y) { return image.pixelColor(x, y); };
    // The frame (2, 88, 339, 118): its left column 2 becomes device columns 14 and 15 (page shift
    // included), its top row 88 device rows 176 and 177, its right column 338 columns 686 and 687.
    for (int y : {220, 230}) {
        EXPECT_EQ(at(2 * (2 + kShift) - 1, y), kBlack) << y;
        EXPECT_EQ(at(2 * (2 + kShift), y), kMagenta) << y;
        EXPECT_EQ(at(2 * (2 + kShift) + 1, y), kMagenta) << y;
        EXPECT_EQ(at(2 * (2 + kShift) + 2, y), kBlack) << y;
        EXPECT_EQ(at(2 * (338 + kShift), y), kMagenta) << y;
        EXPECT_EQ(at(2 * (338 + kShift) + 1, y), kMagenta) << y;
        EXPECT_EQ(at(2 * (339 + kShift), y), kBlack) << y;
    }
    for (int x : {2 * (20 + kShift), 2 * (200 + kShift) + 1}) {
        EXPECT_EQ(at(x, 175), kBlack) << x;
        EXPECT_EQ(at(x, 176), kMagenta) << x;
        EXPECT_EQ(at(x, 177), kMagenta) << x;
        EXPECT_EQ(at(x, 178), kBlack) << x;
    }
    // The arrow's line under "Part", (5, 104) to (48, 104): two device rows, end pixel left out.
    EXPECT_EQ(at(2 * (5 + kShift), 208), kMagenta);
    EXPECT_EQ(at(2 * (5 + kShift), 209), kMagenta);
    EXPECT_EQ(at(2 * (47 + kShift) + 1, 209), kMagenta);
    EXPECT_EQ(at(2 * (48 + kShift), 208), kBlack);
    // The texts were drawn at the same page coordinates as at 1:1.
    bool partNumber = false;
    for (const DrawnText& t : select->DrawnTexts())
        partNumber = partNumber || (t.text == "3DR25-1000/U20 - 1.8" && t.at == QPoint(100, 91));
    EXPECT_TRUE(partNumber);
}

}  // namespace
}  // namespace veltrix::testing
