#include <QAction>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "printing/print_command.h"
#include "outline/outline_geometry.h"
#include "platform/services.h"
#include "printing/print_output.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/outline/mechanical_fixture.h"

namespace veltrix::testing {
namespace {

using Calls = std::vector<std::string>;

TEST_F(MechanicalTest, MountingButtonCyclesAndAlwaysResetsTheVerdict) {
    struct Step {
        char from;
        char to;
    };
    for (const Step& s : {Step{'1', '5'}, Step{'5', '3'}, Step{'3', '1'}, Step{'2', '2'}, Step{'4', '4'}}) {
        program.Spec.Mounting = s.from;
        program.Spec.SelStatus = kRuleFailed;
        hub.calls.clear();
        const int before = mechanical->RepaintRequests();
        mechanical->findChild<QPushButton*>("MountBtn")->click();
        EXPECT_EQ(program.Spec.Mounting, s.to) << s.from;
        EXPECT_EQ(program.Spec.SelStatus, kSelectionValid) << s.from;
        EXPECT_EQ(hub.calls, Calls{"RepaintNow Select"}) << s.from;
        EXPECT_EQ(mechanical->RepaintRequests(), before + 1) << s.from;
    }
}

TEST_F(MechanicalTest, MenuMountingsChangeOnlyADifferentMounting) {
    struct Item {
        const char* name;
        char mounting;
    };
    for (const Item& item :
         {Item{"Dropin1", '1'}, Item{"SurfacemountTab1", '3'}, Item{"OrbisLeadless1", '5'}}) {
        QAction* action = mechanical->findChild<QAction*>(item.name);
        ASSERT_NE(action, nullptr) << item.name;

        program.Spec.Mounting = item.mounting;
        program.Spec.SelStatus = kRuleFailed;
        hub.calls.clear();
        int before = mechanical->RepaintRequests();
        action->trigger();
        EXPECT_EQ(program.Spec.SelStatus, kRuleFailed) << item.name;
        EXPECT_TRUE(hub.calls.empty()) << item.name;
        EXPECT_EQ(mechanical->RepaintRequests(), before) << item.name;

        program.Spec.Mounting = '2';
        before = mechanical->RepaintRequests();
        action->trigger();
        EXPECT_EQ(program.Spec.Mounting, item.mounting);
        EXPECT_EQ(program.Spec.SelStatus, kSelectionValid) << item.name;
        EXPECT_EQ(hub.calls, Calls{"RepaintNow Select"}) << item.name;
        EXPECT_EQ(mechanical->RepaintRequests(), before + 1) << item.name;
    }
    // The two handlers no item is bound to behave alike.
    program.Spec.Mounting = '1';
    program.Spec.SelStatus = kRuleFailed;
    mechanical->SurfacemountPin1Click();
    EXPECT_EQ(program.Spec.Mounting, '2');
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    mechanical->TesselLeadless1Click();
    EXPECT_EQ(program.Spec.Mounting, '4');
}

TEST_F(MechanicalTest, UnitsSwitchRepaintsOnlyThisWindowAndOnlyOnAChange) {
    program.Spec.Units = 'E';
    const int start = mechanical->RepaintRequests();
    mechanical->findChild<QPushButton*>("InchBtn")->click();
    mechanical->findChild<QAction*>("Inches1")->trigger();
    EXPECT_EQ(mechanical->RepaintRequests(), start);

    mechanical->findChild<QPushButton*>("mmBtn")->click();
    EXPECT_EQ(program.Spec.Units, 'M');
    EXPECT_EQ(mechanical->RepaintRequests(), start + 1);
    mechanical->findChild<QAction*>("Millimeters1")->trigger();
    EXPECT_EQ(mechanical->RepaintRequests(), start + 1);

    mechanical->findChild<QAction*>("Inches1")->trigger();
    EXPECT_EQ(program.Spec.Units, 'E');
    EXPECT_EQ(mechanical->RepaintRequests(), start + 2);
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(MechanicalTest, WebPagesThroughTheShell) {
    FakeShell shell(true);
    FakeMessages messages;
    program.Shell = &shell;
    program.Messages = &messages;
    mechanical->findChild<QPushButton*>("PCBBtn")->click();
    mechanical->findChild<QPushButton*>("ReflBtn")->click();
    EXPECT_EQ(shell.opened, (std::vector<QString>{"https://www.norvane.example/veltrixinfo.html#RM",
                                                  "https://www.norvane.example/veltrixinfo.html#RS"}));
    EXPECT_TRUE(messages.shown.empty());

    FakeShell failing(false);
    program.Shell = &failing;
    mechanical->findChild<QPushButton*>("ReflBtn")->click();
    EXPECT_EQ(messages.shown, std::vector<QString>{"Unable to start web browser."});
}

TEST_F(MechanicalTest, ViewButtonsAndItemsBringWindowsToFront) {
    mechanical->findChild<QPushButton*>("MechSelBtn")->click();
    mechanical->findChild<QPushButton*>("MechRespBtn")->click();
    mechanical->findChild<QAction*>("SelectionScreen1")->trigger();
    mechanical->findChild<QAction*>("TabularData1")->trigger();
    mechanical->findChild<QAction*>("PrintMech")->trigger();
    mechanical->findChild<QAction*>("Exit2")->trigger();
    EXPECT_EQ(hub.calls,
              (Calls{"Front Select", "Front Tabular", "Front Select", "Front Tabular", "Print", "Exit"}));
    EXPECT_EQ(hub.printTitle, "Veltrix Outline");
    EXPECT_EQ(hub.printed, mechanical.get());
}

TEST_F(MechanicalTest, MenusCarryTheirMergeGroupsAndButtonsTheirTabOrder) {
    std::vector<std::pair<int, QString>> menus;
    for (const GroupedMenu& m : mechanical->GroupedMenus()) menus.emplace_back(m.group, m.menu->title());
    EXPECT_EQ(menus, (std::vector<std::pair<int, QString>>{
                         {0, "&File"}, {1, "&Mounting"}, {2, "&Units"}, {3, "&View"}}));

    std::vector<QString> order;
    QWidget* w = mechanical->findChild<QPushButton*>("MountBtn");
    for (int i = 0; i < 7; ++i, w = w->nextInFocusChain()) order.push_back(w->objectName());
    EXPECT_EQ(order, (std::vector<QString>{"MountBtn", "InchBtn", "mmBtn", "PCBBtn", "ReflBtn", "MechSelBtn",
                                           "MechRespBtn"}));
    EXPECT_EQ(mechanical->findChild<QPushButton*>("MountBtn")->geometry(), QRect(399, 273, 213, 25));
    EXPECT_EQ(mechanical->findChild<QPushButton*>("MechRespBtn")->geometry(), QRect(511, 367, 101, 25));
}

TEST(MechanicalPrintItem, IsDisabledWhileTheWindowIsMinimised) {
    Program program;
    QMdiArea area;
    auto* mechanical = new TMechanical(program);
    QMdiSubWindow* sub = area.addSubWindow(mechanical);
    area.show();
    sub->showNormal();
    QAction* print = mechanical->findChild<QAction*>("PrintMech");
    emit mechanical->GroupedMenus().front().menu->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
    sub->showMinimized();
    emit mechanical->GroupedMenus().front().menu->aboutToShow();
    EXPECT_FALSE(print->isEnabled());
}

class AcceptingDialog : public PrintDialogRunner {
  public:
    bool Run(QPrinter&, QWidget*) override { return true; }
};

TEST(MechanicalPrint, PrintsThroughTheCommonCommandAndRestoresTheScreen) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Program program;
    FakeMessages messages;
    AcceptingDialog dialog;
    program.Messages = &messages;
    program.PrintDialogs = &dialog;
    program.Spec.Mounting = '1';
    TMechanical mechanical(program);
    WindowPrinter windowPrinter;
    QPrinter& printer = windowPrinter.Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("outline.pdf"));
    printer.setResolution(150);

    EXPECT_TRUE(RunPrintCommand(program, mechanical, QStringLiteral("Veltrix Outline"), windowPrinter));
    EXPECT_GT(QFileInfo(dir.filePath("outline.pdf")).size(), 0);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(program.Display.PaintCopyMode, CopyMode::Source);
}

}  // namespace
}  // namespace veltrix::testing

namespace veltrix::testing {
namespace {

TEST_F(MechanicalTest, ExportsTheWholeDrawingAsTextAndLinesEvenFromASmallWindow) {
    QTemporaryDir dir;
    AnswerSaveDialog dialog;
    program.SaveDialogs = &dialog;
    program.Spec.Mounting = kMountDropIn;
    mechanical->resize(300, 200);
    dialog.answer = dir.filePath(QStringLiteral("outline.svg"));
    mechanical->findChild<QAction*>(QStringLiteral("ExportVectors2"))->trigger();
    EXPECT_EQ(dialog.proposed, QStringList{QStringLiteral("Veltrix Outline.pdf")});

    QFile file(dialog.answer);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray svg = file.readAll();
    const std::optional<OutlineTexts> texts = OutlineFor(program.Spec, program.Spec.Units);
    ASSERT_TRUE(texts.has_value());
    EXPECT_TRUE(svg.contains(QString::fromStdString(texts->tolerance).toHtmlEscaped().toUtf8()))
        << "the tolerance line, at the foot of the drawing, is in although the window ends far above it";
    for (const PlacedText& text : texts->dimensions.begin()->second)
        EXPECT_TRUE(svg.contains(QByteArray::fromStdString(text.text))) << text.text;
    const QRect box = QSvgRenderer(svg).viewBox();
    EXPECT_GE(box.height(), TMechanical::kPictureHeight - TMechanical::kPictureTop - 1) << "the whole drawing";
}

}  // namespace
}  // namespace veltrix::testing
