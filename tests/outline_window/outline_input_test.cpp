#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "outline_geometry/outline_geometry.h"
#include "platform/services.h"
#include "printing/print_command.h"
#include "printing/print_output.h"
#include "tests/outline_window/outline_fixture.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/support/export_against_print.h"
#include "tests/support/menu_commands.h"

namespace veltrix::testing {
namespace {

using Calls = std::vector<std::string>;

TEST_F(MechanicalTest, MountingButtonCyclesAndAlwaysResetsTheVerdict) {
    struct Step {
        char from;
        char to;
    };
    for (const Step& s : {Step{'1', '5'}, Step{'5', '3'}, Step{'3', '1'}, Step{'2', '2'}, Step{'4', '4'}}) {
        program.Spec.Mounting = ChoiceFromCode<MountingStyle>(s.from).value();
        program.Spec.SelStatus = kRuleFailed;
        hub.calls.clear();
        const int before = mechanical->RepaintRequests();
        mechanical->findChild<QPushButton*>("mounting_configuration_button")->click();
        EXPECT_EQ(CodeOf(program.Spec.Mounting), s.to) << s.from;
        EXPECT_EQ(program.Spec.SelStatus, kSelectionValid) << s.from;
        EXPECT_EQ(hub.Log(), Calls{"RepaintNow Select"}) << s.from;
        EXPECT_EQ(mechanical->RepaintRequests(), before + 1) << s.from;
    }
}

TEST_F(MechanicalTest, EveryMenuCommandIsFoundByItsName) {
    QList<QMenu*> menus;
    for (const GroupedMenu& grouped : mechanical->GroupedMenus()) menus << grouped.menu;
    EXPECT_EQ(testing::UnnamedCommands(mechanical->Actions(), menus), QStringList());
}

TEST_F(MechanicalTest, MenuMountingsChangeOnlyADifferentMounting) {
    struct Item {
        const char* name;
        char mounting;
    };
    for (const Item& item : {Item{"mounting_drop_in", '1'}, Item{"mounting_surface_tab", '3'},
                             Item{"mounting_orbis_leadless", '5'}}) {
        QAction* action = mechanical->Actions().Action(item.name);
        ASSERT_NE(action, nullptr) << item.name;

        program.Spec.Mounting = ChoiceFromCode<MountingStyle>(item.mounting).value();
        program.Spec.SelStatus = kRuleFailed;
        hub.calls.clear();
        int before = mechanical->RepaintRequests();
        action->trigger();
        EXPECT_EQ(program.Spec.SelStatus, kRuleFailed) << item.name;
        EXPECT_TRUE(hub.calls.empty()) << item.name;
        EXPECT_EQ(mechanical->RepaintRequests(), before) << item.name;

        program.Spec.Mounting = MountingStyle::SurfacePin;
        before = mechanical->RepaintRequests();
        action->trigger();
        EXPECT_EQ(CodeOf(program.Spec.Mounting), item.mounting);
        EXPECT_EQ(program.Spec.SelStatus, kSelectionValid) << item.name;
        EXPECT_EQ(hub.Log(), Calls{"RepaintNow Select"}) << item.name;
        EXPECT_EQ(mechanical->RepaintRequests(), before + 1) << item.name;
    }
    // The two handlers no item is bound to behave alike.
    program.Spec.Mounting = MountingStyle::DropIn;
    program.Spec.SelStatus = kRuleFailed;
    mechanical->onMountingSurfacePin();
    EXPECT_EQ(program.Spec.Mounting, MountingStyle::SurfacePin);
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    mechanical->onMountingTesselLeadless();
    EXPECT_EQ(program.Spec.Mounting, MountingStyle::Tessel);
}

TEST_F(MechanicalTest, UnitsSwitchRepaintsOnlyThisWindowAndOnlyOnAChange) {
    program.Spec.Units = DrawingUnits::Inches;
    const int start = mechanical->RepaintRequests();
    mechanical->findChild<QPushButton*>("inches_button")->click();
    mechanical->Actions().Action("inches")->trigger();
    EXPECT_EQ(mechanical->RepaintRequests(), start);

    mechanical->findChild<QPushButton*>("millimeters_button")->click();
    EXPECT_EQ(program.Spec.Units, DrawingUnits::Millimetres);
    EXPECT_EQ(mechanical->RepaintRequests(), start + 1);
    mechanical->Actions().Action("millimeters")->trigger();
    EXPECT_EQ(mechanical->RepaintRequests(), start + 1);

    mechanical->Actions().Action("inches")->trigger();
    EXPECT_EQ(program.Spec.Units, DrawingUnits::Inches);
    EXPECT_EQ(mechanical->RepaintRequests(), start + 2);
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(MechanicalTest, WebPagesThroughTheShell) {
    FakeShell shell(true);
    FakeMessages messages;
    program.Shell = &shell;
    program.Messages = &messages;
    mechanical->findChild<QPushButton*>("pcb_layout_button")->click();
    mechanical->findChild<QPushButton*>("reflow_profile_button")->click();
    EXPECT_EQ(shell.opened, (QStringList{"https://www.norvane.example/veltrixinfo.html#RM",
                                         "https://www.norvane.example/veltrixinfo.html#RS"}));
    EXPECT_TRUE(messages.texts.isEmpty());

    FakeShell failing(false);
    program.Shell = &failing;
    mechanical->findChild<QPushButton*>("reflow_profile_button")->click();
    EXPECT_EQ(messages.texts, QStringList{"Unable to start web browser."});
}

TEST_F(MechanicalTest, ViewButtonsAndItemsBringWindowsToFront) {
    mechanical->findChild<QPushButton*>("selection_screen_button")->click();
    mechanical->findChild<QPushButton*>("tabular_data_button")->click();
    mechanical->Actions().Action("selection_screen")->trigger();
    mechanical->Actions().Action("tabular_data")->trigger();
    mechanical->Actions().Action("print")->trigger();
    mechanical->Actions().Action("exit")->trigger();
    EXPECT_EQ(hub.Log(),
              (Calls{"Front Select", "Front Tabular", "Front Select", "Front Tabular", "Print", "Exit"}));
    EXPECT_EQ(hub.printTitles, QStringList{"Veltrix Outline"});
    EXPECT_EQ(hub.printedForms, std::vector<PaintedForm*>{mechanical.get()});
}

TEST_F(MechanicalTest, MenusCarryTheirMergeGroupsAndButtonsTheirTabOrder) {
    std::vector<std::pair<int, QString>> menus;
    for (const GroupedMenu& m : mechanical->GroupedMenus()) menus.emplace_back(m.group, m.menu->title());
    EXPECT_EQ(menus, (std::vector<std::pair<int, QString>>{
                         {0, "&File"}, {1, "&Mounting"}, {2, "&Units"}, {3, "&View"}}));

    std::vector<QString> order;
    QWidget* w = mechanical->findChild<QPushButton*>("mounting_configuration_button");
    for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) order.push_back(w->objectName());
    EXPECT_EQ(order, (std::vector<QString>{"mounting_configuration_button", "inches_button",
                                           "millimeters_button", "pcb_layout_button", "reflow_profile_button",
                                           "selection_screen_button", "tabular_data_button"}));
    EXPECT_EQ(mechanical->findChild<QPushButton*>("mounting_configuration_button")->geometry(),
              QRect(399, 273, 213, 25));
    EXPECT_EQ(mechanical->findChild<QPushButton*>("tabular_data_button")->geometry(),
              QRect(511, 367, 101, 25));
}

TEST(MechanicalPrintItem, IsDisabledWhileTheWindowIsMinimised) {
    Program program;
    QMdiArea area;
    auto* mechanical = new OutlineWindow(program);
    QMdiSubWindow* sub = area.addSubWindow(mechanical);
    area.show();
    sub->showNormal();
    QAction* print = mechanical->Actions().Action("print");
    emit mechanical->GroupedMenus().front().menu->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
    sub->showMinimized();
    emit mechanical->GroupedMenus().front().menu->aboutToShow();
    EXPECT_FALSE(print->isEnabled());
}

TEST(MechanicalPrint, PrintsThroughTheCommonCommandAndRestoresTheScreen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Program program;
    FakeMessages messages;
    FakePrintDialogs dialog;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    program.Spec.Mounting = MountingStyle::DropIn;
    OutlineWindow mechanical(program);
    WindowPrinter windowPrinter;
    QPrinter& printer = windowPrinter.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("outline.pdf"));
    printer.setResolution(150);

    EXPECT_TRUE(RunPrintCommand(program, mechanical, QStringLiteral("Veltrix Outline"), windowPrinter));
    EXPECT_GT(QFileInfo(dir.filePath("outline.pdf")).size(), 0);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
}

}  // namespace
}  // namespace veltrix::testing

namespace veltrix::testing {
namespace {

// "Export as PDF/SVG...": a printout without paper.
class OutlineExportTest : public MechanicalTest {
  protected:
    OutlineExportTest() {
        program.SaveDialogs = &dialog;
        program.Messages = &messages;
        program.Spec.Mounting = MountingStyle::Orbis;
        program.Spec.Sections = 3;
        program.Spec.F0 = 1000;
    }
    // Exports to the named file and returns its contents.
    QByteArray Export(const QString& name) {
        dialog.answer = dir.filePath(name);
        mechanical->Actions().Action(QStringLiteral("export_vectors"))->trigger();
        QFile file(dialog.answer);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    AnswerSaveDialog dialog;
    FakeMessages messages;
};

TEST_F(OutlineExportTest, WholeDrawingAsTextAndLinesEvenFromASmallWindow) {
    program.Spec.Mounting = MountingStyle::DropIn;
    mechanical->resize(300, 200);
    const QByteArray svg = Export(QStringLiteral("outline.svg"));
    EXPECT_EQ(dialog.proposed, QStringList{QStringLiteral("Veltrix Outline.pdf")});
    const std::optional<OutlineTexts> texts = OutlineFor(program.Spec, program.Spec.Units);
    ASSERT_TRUE(texts.has_value());
    // The tolerance line, at the foot of the drawing, is in although the window ends far above it;
    // its first word is the yellow one written over it.
    const QString tolerance = QString::fromStdString(texts->tolerance);
    EXPECT_TRUE(
        svg.contains(tolerance.mid(tolerance.indexOf(QStringLiteral("All"))).toHtmlEscaped().toUtf8()));
    EXPECT_EQ(svg.count("Tolerances: "), 1) << "the overwritten first word is in the text once";
    for (const PlacedText& text : texts->dimensions.begin()->second)
        EXPECT_TRUE(svg.contains(QByteArray::fromStdString(text.text))) << text.text;
}

// The page is the window's design page, at any size of the window.
TEST_F(OutlineExportTest, PageIsTheDesignPageWhateverTheWindowSize) {
    for (const QSize& window : {QSize(300, 200), QSize(1198, 401), QSize(697, 437)}) {
        mechanical->resize(window);
        const QRect box = QSvgRenderer(Export(QStringLiteral("outline.svg"))).viewBox();
        EXPECT_EQ(box, QRect(0, 0, OutlineWindow::kClientWidth, OutlineWindow::kClientHeight))
            << window.width() << " x " << window.height();
    }
}

TEST_F(OutlineExportTest, LegendSaysAquaAsOnThePrintoutAndTheScreenStaysAsItWas) {
    const QByteArray svg = Export(QStringLiteral("outline.svg"));
    EXPECT_TRUE(svg.contains("Input and Output Shown In Aqua"));
    EXPECT_FALSE(svg.contains("Shown In Red"));
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
    Render();
    EXPECT_TRUE(Drew("Input and Output Shown In Red", 70, 404));
    EXPECT_EQ(mechanical->findChild<QLabel*>("caption")->palette().color(QPalette::WindowText), Qt::white);
}

// Where the export and the printout draw the same thing, they draw it in the same colours.
TEST_F(OutlineExportTest, ColoursAreThePrintoutsPixelForPixel) {
    for (const double f0 : {1000.0, 1500.0}) {
        program.Spec.F0 = f0;
        const ExportAndPrint images = RenderExportAndPrint(program, *mechanical);
        EXPECT_EQ(Mismatches(images, PageOnly(mechanical.get(), mechanical->DrawnTexts(),
                                              mechanical->FormPageOrigin())),
                  0)
            << f0;
        EXPECT_EQ(At(images.exported, 80, 320), qRgb(0, 255, 255)) << "the red pad prints cyan";
        for (QLabel* label : mechanical->findChildren<QLabel*>())
            EXPECT_EQ(Ink(images.exported, label->geometry()), Ink(images.printed, label->geometry()))
                << label->objectName().toStdString();
    }
}

// The pads stay solid at a printer's resolution: no hairlines with paper between them.
TEST_F(OutlineExportTest, PadsAreSolidInThePdfAt300Dpi) {
    const QByteArray pdf = Export(QStringLiteral("outline.pdf"));
    ASSERT_TRUE(pdf.startsWith("%PDF-"));
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << "pdftoppm (poppler-utils) is not installed";
    QProcess process;
    process.start(pdftoppm,
                  {QStringLiteral("-r"), QStringLiteral("300"), QStringLiteral("-png"),
                   QStringLiteral("-singlefile"), dialog.answer, dir.filePath(QStringLiteral("page"))});
    ASSERT_TRUE(process.waitForFinished(60000));
    const QImage page(dir.filePath(QStringLiteral("page.png")));
    ASSERT_FALSE(page.isNull());
    const double scale = 300.0 / 96.0;
    const int length = LeadlessFor(program.Spec).length;
    for (const QRectF& pad : {QRectF(74, 313, 11, 15), QRectF(70 + length - 14, 313, 11, 15)}) {
        // Window pixels, less a printer pixel at the edges, where the rendering smooths.
        const QRectF area = QRectF(pad.left() * scale, (pad.top() - OutlineWindow::kPictureTop) * scale,
                                   pad.width() * scale, pad.height() * scale)
                                .adjusted(1, 1, -1, -1);
        int notCyan = 0;
        for (int y = static_cast<int>(area.top()); y < area.bottom(); ++y)
            for (int x = static_cast<int>(area.left()); x < area.right(); ++x)
                if (area.contains(QPointF(x + 0.5, y + 0.5)) && page.pixel(x, y) != qRgb(0, 255, 255))
                    ++notCyan;
        EXPECT_EQ(notCyan, 0) << "pad at " << pad.left();
    }
}

}  // namespace
}  // namespace veltrix::testing
