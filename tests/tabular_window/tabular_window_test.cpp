#include "tabular_window/tabular_window.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <cstring>
#include <set>

#include "engine/selection.h"
#include "platform/services.h"
#include "printing/print_output.h"
#include "program/program.h"
#include "tabular_window/export_range_dialog.h"
#include "tests/support/answer_export_range_dialog.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/support/fakes.h"

namespace veltrix {
namespace {

// ---------------------------------------------------------------------------------------------
// Paging

void ExpectSoundPaging(const std::vector<ReportLinePlacement>& placed, int lineCount, int lineHeight,
                       int pageHeight) {
    ASSERT_EQ(placed.size(), static_cast<size_t>(lineCount));
    for (size_t i = 0; i < placed.size(); ++i) {
        EXPECT_GE(placed[i].Y, 0);
        EXPECT_LE(placed[i].Y + lineHeight, pageHeight) << "line " << i;
        if (i == 0) continue;
        const ReportLinePlacement& before = placed[i - 1];
        if (placed[i].Page == before.Page) {
            EXPECT_EQ(placed[i].Y, before.Y + lineHeight + 1) << "line " << i;
        } else {
            EXPECT_EQ(placed[i].Page, before.Page + 1) << "line " << i;
            EXPECT_EQ(placed[i].Y, lineHeight + 1) << "line " << i;
        }
    }
}

TEST(ReportPagingTest, FirstPageFromTheTopLaterPagesOneLineLower) {
    // Lines 10 apart and 9 high on a 39-pixel page: 0, 10, 20, 30 fit (30 + 9 = 39); 40 starts
    // page 2 at 10.
    const auto placed = PageReportLines(10, 9, 39);
    const std::vector<ReportLinePlacement> expected{{0, 0},  {0, 10}, {0, 20}, {0, 30}, {1, 10},
                                                    {1, 20}, {1, 30}, {2, 10}, {2, 20}, {2, 30}};
    EXPECT_EQ(placed, expected);
}

TEST(ReportPagingTest, ALineThatWouldEndBelowThePageStartsTheNextPage) {
    // Landscape A4 at 1200 dpi: 9583 printable rows, lines 167 high. The line that would start at
    // 9576 = 57 x 168 ends at 9743, below the page, so it opens page 2 instead.
    const auto placed = PageReportLines(69, 167, 9583);
    ExpectSoundPaging(placed, 69, 167, 9583);
    EXPECT_EQ(placed[56], (ReportLinePlacement{0, 56 * 168}));
    EXPECT_EQ(placed[57], (ReportLinePlacement{1, 168}));
    // One pixel short of the line's end: the line before it moves too.
    EXPECT_EQ(PageReportLines(57, 167, 56 * 168 + 166)[56], (ReportLinePlacement{1, 168}));
}

TEST(ReportPagingTest, EveryLineOnceAndNoneAtOrBelowThePageHeight) {
    for (const int pageHeight : {20, 21, 30, 31, 100, 1000, 9583, 13699}) {
        for (const int lineHeight : {9, 10, 150, 167}) {
            if (2 * lineHeight + 1 > pageHeight) continue;
            SCOPED_TRACE(::testing::Message() << "h=" << lineHeight << " H=" << pageHeight);
            ExpectSoundPaging(PageReportLines(69, lineHeight, pageHeight), 69, lineHeight, pageHeight);
        }
    }
}

TEST(ReportPagingTest, PageTooShortForTheContinuationOffsetStillPrintsEveryLine) {
    // A 10-pixel page cannot hold a continuation at 10: each line gets a page of its own at the top.
    const auto placed = PageReportLines(3, 9, 10);
    EXPECT_EQ(placed, (std::vector<ReportLinePlacement>{{0, 0}, {1, 0}, {2, 0}}));
    EXPECT_TRUE(PageReportLines(3, 9, 0).empty());
}

// ---------------------------------------------------------------------------------------------
// The window

// What the window's commands ask of the frame: exits, windows brought forward and print exceptions.
std::vector<std::string> Commands(const testing::FakeHub& hub) {
    std::vector<std::string> commands;
    for (const std::string& call : hub.Log()) {
        if (call == "Exit" || call.starts_with("Front ") || call == "PrintException")
            commands.push_back(call);
    }
    return commands;
}

class TabularWindowTest : public ::testing::Test {
  protected:
    TabularWindowTest() {
        program.Hub = &hub;
        program.PrintDialogs = &dialogs;
    }
    // What one judgement of the selection leaves in the records, announced to the windows.
    void PaintSpecificationScreen() { program.Judgement.JudgeNow(); }

    testing::FakeHub hub;
    testing::FakePrintDialogs dialogs;
    Program program;
};

// The delay column of the report's rows.
std::vector<QString> Delays(const QStringList& lines) {
    std::vector<QString> delays;
    for (const QString& line : lines)
        if (line.endsWith(QStringLiteral(" ns"))) delays.push_back(line.section(QLatin1Char(' '), -2, -2));
    return delays;
}

TEST_F(TabularWindowTest, ShowsTheCurrentFiguresWhenTheScreenHasNotPainted) {
    // A specification window of 0 x 0 never paints: the report lists the judgement itself.
    TabularDataWindow window(program);
    PaintSpecificationScreen();
    window.ShowReport();
    std::vector<QString> delays = Delays(window.MemoLines());
    ASSERT_EQ(delays.size(), 61u);
    EXPECT_EQ(delays[0], QStringLiteral("0.90"));
    EXPECT_EQ(delays[1], QStringLiteral("0.97"));
    EXPECT_EQ(delays[30], QStringLiteral("21.96"));

    // An entry changes the specification; the screen still does not paint.
    program.Spec.F0 = program.Spec.LastF0 = 1500.0;
    PaintSpecificationScreen();
    window.ShowReport();
    Program painted;
    painted.Spec = program.Spec;
    painted.Judgement.JudgeNow();
    TabularDataWindow reference(painted);
    reference.ShowReport();
    EXPECT_EQ(window.MemoLines(), reference.MemoLines());
    EXPECT_NE(Delays(window.MemoLines())[0], QStringLiteral("0.90"));
}

// The memo is rewritten only where it changed, whether the number of lines stays (a new centre
// frequency) or not (the notice and back): it must read as a freshly built one, keep its scroll and
// gather no undo history.
TEST_F(TabularWindowTest, RewrittenMemoMatchesAFreshOneKeepsItsScrollAndNoHistory) {
    TabularDataWindow window(program);
    window.show();
    PaintSpecificationScreen();
    window.ShowReport();
    window.Report()->verticalScrollBar()->setValue(10);
    for (const double f0 : {1500.0, 5000.0, 1000.0, 1234.5}) {
        program.Spec.F0 = program.Spec.LastF0 = f0;
        PaintSpecificationScreen();
        window.ShowReport();
        if (f0 == 5000.0) {
            EXPECT_EQ(window.MemoLines().front(), " No Response Data.");
        }
        if (f0 == 1000.0) window.Report()->verticalScrollBar()->setValue(10);
    }
    Program fresh;
    fresh.Spec = program.Spec;
    fresh.Judgement.JudgeNow();
    TabularDataWindow reference(fresh);
    reference.ShowReport();
    EXPECT_EQ(window.MemoLines(), reference.MemoLines());
    EXPECT_TRUE(window.MemoLines().join('\n').contains("1234.50 MHz"));
    EXPECT_EQ(window.Report()->verticalScrollBar()->value(), 10);
    EXPECT_FALSE(window.Report()->document()->isUndoAvailable());
}

TEST_F(TabularWindowTest, FollowsEachJudgementWithoutAPaintOrActivation) {
    TabularDataWindow window(program);  // never shown, so it never paints
    program.Spec.F1 = 950.0;
    program.Judgement.InputsChanged();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_TRUE(window.MemoLines().join('\n').contains("        F1        950.00 MHz"));

    program.Spec.F0 = 5000.0;
    program.Judgement.InputsChanged();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(window.MemoLines().front(), " No Response Data.");
}

TEST_F(TabularWindowTest, LayoutAndMemoLook) {
    TabularDataWindow window(program);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Tabular Data"));
    EXPECT_EQ(window.size(), QSize(632, 438));
    EXPECT_EQ(window.Report()->geometry(), QRect(0, 8, 513, 377));
    EXPECT_TRUE(window.Report()->isReadOnly());
    EXPECT_EQ(window.Report()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(window.Report()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(window.Report()->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(window.Report()->palette().color(QPalette::Text), QColor(255, 255, 0));
    EXPECT_EQ(window.Report()->font().pixelSize(), 12);
    EXPECT_TRUE(QFontInfo(window.Report()->font()).fixedPitch());
    EXPECT_EQ(window.SelectionScreenButton()->text(), QStringLiteral("Selection Scree&n"));
    EXPECT_EQ(window.SelectionScreenButton()->geometry(), QRect(520, 32, 100, 25));
    EXPECT_EQ(window.OutlineDrawingsButton()->text(), QStringLiteral("&Outline Drawings"));
    EXPECT_EQ(window.OutlineDrawingsButton()->geometry(), QRect(520, 64, 100, 25));
    EXPECT_EQ(window.MemoLines(), QStringList{"RDMemo"});
}

TEST_F(TabularWindowTest, ScreenReadersHearWhoseResponseTheMemoHoldsOrTheNotice) {
    PaintSpecificationScreen();
    TabularDataWindow window(program);
    EXPECT_EQ(window.Report()->accessibleName(), "Response data");
    window.ShowReport();
    EXPECT_EQ(window.Report()->accessibleDescription(), "Tabular response of 3DR25-1000/U20 - 1.8");

    program.Spec.F0 = 5000.0;
    PaintSpecificationScreen();
    window.ShowReport();
    EXPECT_EQ(window.MemoLines().front(), " No Response Data.");
    EXPECT_EQ(window.Report()->accessibleDescription(),
              "No Response Data. There is an error on the filter selection screen.");
}

TEST_F(TabularWindowTest, DefaultSelectionListsSixtyOneRows) {
    PaintSpecificationScreen();
    TabularDataWindow window(program);
    window.ShowReport();
    const QStringList lines = window.MemoLines();
    ASSERT_EQ(lines.size(), 7 + 61 + 1);
    EXPECT_EQ(lines[0], " ");
    EXPECT_EQ(lines[1], "Veltrix Ceramic Filters from Norvane Microwave, Inc.");
    EXPECT_EQ(lines[3], " Response Data for 3DR25-1000/U20-1.8");
    EXPECT_EQ(lines[5], "  Frequency     Attenuation    Return Loss     Delay   ");
    EXPECT_TRUE(lines[7].startsWith("  940.00 MHz")) << lines[7].toStdString();
    EXPECT_TRUE(lines[67].startsWith(" 1060.00 MHz")) << lines[67].toStdString();
    EXPECT_EQ(lines.last(), " ");

    const QRegularExpression row(R"(^ *([\d.]+) MHz +([-\d.]+) dB +([-\d.]+) dB +([-\d.]+) ns$)");
    const auto centre = row.match(lines[37]);
    ASSERT_TRUE(centre.hasMatch()) << lines[37].toStdString();
    EXPECT_EQ(centre.captured(1), "1000.00");
    EXPECT_NEAR(centre.captured(2).toDouble(), 2.4, 0.15);
    EXPECT_NEAR(centre.captured(3).toDouble(), 16.4, 0.15);
    EXPECT_NEAR(centre.captured(4).toDouble(), 21.96, 0.02);
}

TEST_F(TabularWindowTest, RefusedSelectionShowsTheThreeLineNotice) {
    program.Spec.F0 = 50000.0;
    program.Spec.LastF0 = 50000.0;
    PaintSpecificationScreen();
    ASSERT_NE(program.Spec.SelStatus, 0);
    TabularDataWindow window(program);
    window.ShowReport();
    EXPECT_EQ(window.MemoLines(),
              (QStringList{" No Response Data.", " ", " There is an error on the filter selection screen."}));
}

// Counts the window's own paints.
class PaintCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++Paints;
        return false;
    }
    int Paints = 0;
};

TEST_F(TabularWindowTest, InvalidatingRebuildsOnceKeepsTheScrollAndDoesNotLoop) {
    PaintSpecificationScreen();
    TabularDataWindow window(program);
    window.show();
    QCoreApplication::processEvents();
    ASSERT_EQ(window.MemoLines().size(), 69);
    window.Report()->verticalScrollBar()->setValue(10);

    program.Spec.F1 = 950.0;
    PaintSpecificationScreen();
    PaintCounter counter;
    window.installEventFilter(&counter);
    window.update();
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();

    const QStringList lines = window.MemoLines();
    EXPECT_EQ(lines.size(), 69 + 5);
    EXPECT_TRUE(lines[lines.size() - 2].startsWith("        F1        950.00 MHz"))
        << lines.last().toStdString();
    EXPECT_EQ(window.Report()->verticalScrollBar()->value(), 10);
    EXPECT_GE(counter.Paints, 1);
    EXPECT_LE(counter.Paints, 2);

    const int settled = counter.Paints;
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(counter.Paints, settled);
    window.removeEventFilter(&counter);
}

TEST_F(TabularWindowTest, ActivatingTheSubWindowRebuilds) {
    PaintSpecificationScreen();
    QMdiArea area;
    auto* tabular = new TabularDataWindow(program);
    QMdiSubWindow* tabularSub = area.addSubWindow(tabular);
    QMdiSubWindow* otherSub = area.addSubWindow(new QWidget);
    area.show();
    area.setActiveSubWindow(otherSub);
    QCoreApplication::processEvents();

    program.Spec.F2 = 1100.0;
    PaintSpecificationScreen();
    area.setActiveSubWindow(tabularSub);
    EXPECT_TRUE(tabular->MemoLines().join('\n').contains("        F2       1100.00 MHz"));
}

TEST_F(TabularWindowTest, MenusButtonsAndPrintEnabledOnlyWhileNotMinimised) {
    QMdiArea area;
    auto* tabular = new TabularDataWindow(program);
    QMdiSubWindow* sub = area.addSubWindow(tabular);
    area.show();

    const QList<GroupedMenu> menus = tabular->GroupedMenus();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0].group, 0);
    EXPECT_EQ(menus[0].menu->title(), QStringLiteral("&File"));
    EXPECT_EQ(menus[1].group, 5);
    EXPECT_EQ(menus[1].menu->title(), QStringLiteral("&View"));
    QStringList fileItems;
    for (QAction* a : menus[0].menu->actions()) fileItems << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(fileItems, (QStringList{"&Print", "Export &Touchstone...", "Export &CSV...", "-", "E&xit"}));

    emit tabular->Actions().Menu("file")->aboutToShow();
    EXPECT_TRUE(tabular->Actions().Action("print")->isEnabled());
    sub->showMinimized();
    emit tabular->Actions().Menu("file")->aboutToShow();
    EXPECT_FALSE(tabular->Actions().Action("print")->isEnabled());
    sub->showNormal();
    emit tabular->Actions().Menu("file")->aboutToShow();
    EXPECT_TRUE(tabular->Actions().Action("print")->isEnabled());

    tabular->SelectionScreenButton()->click();
    tabular->OutlineDrawingsButton()->click();
    tabular->Actions().Action("selection_screen")->trigger();
    tabular->Actions().Action("outline_drawings")->trigger();
    tabular->Actions().Action("exit")->trigger();
    EXPECT_EQ(Commands(hub), (std::vector<std::string>{"Front Select", "Front Mechanical", "Front Select",
                                                       "Front Mechanical", "Exit"}));
}

QByteArray PdfText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int PdfPageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return -1;
    const QByteArray pdf = file.readAll();
    return static_cast<int>(QString::fromLatin1(pdf).count(QRegularExpression(R"(/Type\s*/Page\b(?!s))")));
}

TEST_F(TabularWindowTest, PrintMenuPrintsTheMemoOverSeveralShortPages) {
    PaintSpecificationScreen();
    TabularDataWindow window(program);
    window.ShowReport();
    QTemporaryDir dir;
    const QString pdf = dir.filePath("report.pdf");
    QPrinter& printer = window.ReportPrinter().Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setResolution(300);
    printer.setPageSize(QPageSize(QSizeF(100, 60), QPageSize::Millimeter));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));

    window.Actions().Action("print")->trigger();
    EXPECT_EQ(dialogs.runs, 1);
    EXPECT_EQ(dialogs.docNames, std::vector<QString>{QStringLiteral("Veltrix Response Data")});
    EXPECT_TRUE(Commands(hub).empty());
    // 69 lines of about 40 pixels on a 708-pixel page: well over one page.
    EXPECT_GE(PdfPageCount(pdf), 3);
    // The job itself has no title.
    EXPECT_TRUE(printer.docName().isEmpty());
}

TEST_F(TabularWindowTest, CancelledDialogPrintsNothingAndFailedJobShowsTheExceptionDialog) {
    TabularDataWindow window(program);
    QTemporaryDir dir;
    {
        QPrinter& printer = window.ReportPrinter().Printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("cancelled.pdf"));
    }
    dialogs.answer = false;
    EXPECT_FALSE(window.onPrint());
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("cancelled.pdf")));
    EXPECT_TRUE(Commands(hub).empty());

    window.ReportPrinter().Printer().setOutputFileName(dir.filePath("no/such/dir/report.pdf"));
    dialogs.answer = true;
    EXPECT_FALSE(window.onPrint());
    EXPECT_EQ(Commands(hub), std::vector<std::string>{"PrintException"});
}

TEST_F(TabularWindowTest, OutputThatFailsShowsTheExceptionDialogAndTheNextJobPrints) {
    PaintSpecificationScreen();
    TabularDataWindow window(program);
    window.ShowReport();
    QTemporaryDir dir;
    QPrinter& first = window.ReportPrinter().Printer();
    first.setOutputFormat(QPrinter::PdfFormat);
    first.setResolution(300);
    first.setOutputFileName(QStringLiteral("/dev/full"));
    testing::FakeMessages messages;
    program.Messages = &messages;
    EXPECT_FALSE(window.onPrint());
    EXPECT_EQ(Commands(hub), std::vector<std::string>{"PrintException"});
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Cannot write /dev/full: ") +
                                          QString::fromLocal8Bit(strerror(ENOSPC))});

    // The settings survive the failed job.
    QPrinter& next = window.ReportPrinter().Printer();
    EXPECT_EQ(next.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(next.outputFileName(), QStringLiteral("/dev/full"));
    EXPECT_EQ(next.resolution(), 300);

    const QString good = dir.filePath("good.pdf");
    next.setOutputFileName(good);
    EXPECT_TRUE(window.onPrint());
    EXPECT_EQ(Commands(hub).size(), 1u);
    EXPECT_TRUE(IsCompletePdf(PdfText(good)));
    EXPECT_GE(PdfPageCount(good), 1);
}

QStringList FileLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

TEST_F(TabularWindowTest, ExportsTheListedResponseOrSaysWhyNot) {
    QTemporaryDir dir;
    testing::AnswerSaveDialog save;
    testing::AnswerExportRangeDialog range;
    testing::FakeMessages messages;
    program.SaveDialogs = &save;
    program.RangeDialogs = &range;
    program.Messages = &messages;
    PaintSpecificationScreen();
    TabularDataWindow window(program);

    // The proposals as they stand: the report's own rows in the CSV, one table; the companion's 601
    // points over the graph's span in the Touchstone file.
    save.answer = dir.filePath(QStringLiteral("response.csv"));
    window.Actions().Action("export_csv")->trigger();
    const QStringList csv = FileLines(save.answer);
    ASSERT_EQ(csv.size(), 1 + 61);
    EXPECT_TRUE(csv[1].startsWith(QStringLiteral("940,"))) << csv[1].toStdString();
    EXPECT_TRUE(csv.last().startsWith(QStringLiteral("1060,"))) << csv.last().toStdString();
    save.answer = dir.filePath(QStringLiteral("response.s2p"));
    window.Actions().Action("export_touchstone")->trigger();
    const QStringList touchstone = FileLines(save.answer);
    EXPECT_TRUE(touchstone.contains(QStringLiteral("# MHz S DB R 50")));
    EXPECT_TRUE(touchstone.first().startsWith(QLatin1Char('!')));
    EXPECT_TRUE(touchstone.last().startsWith(QStringLiteral("1060.000000 ")));
    EXPECT_EQ(touchstone.filter(QRegularExpression(QStringLiteral("^[0-9]"))).size(),
              kDefaultTouchstonePoints);
    EXPECT_EQ(range.captions, (QStringList{"Export CSV", "Export Touchstone"}));
    ASSERT_EQ(range.proposed.size(), 2u);
    EXPECT_EQ(range.proposed[0], (ExportRangeChoice{940.0, 1060.0, 61}));
    EXPECT_EQ(range.proposed[1], (ExportRangeChoice{940.0, 1060.0, kDefaultTouchstonePoints}));
    EXPECT_EQ(save.proposed, (QStringList{"3DR25-1000_U20.csv", "3DR25-1000_U20.s2p"}));
    EXPECT_TRUE(messages.texts.isEmpty());

    // A range of the user's own.
    range.answer = ExportRangeChoice{950.0, 1050.0, 11};
    save.answer = dir.filePath(QStringLiteral("chosen.s2p"));
    window.Actions().Action("export_touchstone")->trigger();
    const QStringList chosen = FileLines(save.answer).filter(QRegularExpression(QStringLiteral("^[0-9]")));
    ASSERT_EQ(chosen.size(), 11);
    EXPECT_TRUE(chosen.first().startsWith(QStringLiteral("950.000000 ")));
    EXPECT_TRUE(chosen[1].startsWith(QStringLiteral("960.000000 ")));

    // One that cannot give distinct frequencies is refused in the dialog: no file is asked for.
    range.answer = ExportRangeChoice{1000.0, 1000.0000001, 3};
    save.answer = dir.filePath(QStringLiteral("equal.s2p"));
    window.Actions().Action("export_touchstone")->trigger();
    ASSERT_EQ(range.refusals.size(), 1);
    EXPECT_TRUE(range.refusals[0].startsWith(QStringLiteral("3 points from 1000 to")))
        << range.refusals[0].toStdString();
    EXPECT_FALSE(QFile::exists(save.answer));
    EXPECT_EQ(save.proposed.size(), 3);

    // Cancel in the range dialog asks no file.
    range.answer.reset();
    range.cancel = true;
    window.Actions().Action("export_csv")->trigger();
    EXPECT_EQ(save.proposed.size(), 3);
    range.cancel = false;

    // A refused selection says why, without asking anything.
    program.Spec.F0 = 500.0;
    const size_t asked = range.proposed.size();
    window.Actions().Action("export_touchstone")->trigger();
    EXPECT_EQ(range.proposed.size(), asked);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("No standard part for last inputs.")));

    save.answer = dir.filePath(QStringLiteral("missing/response.csv"));
    program.Spec.F0 = 1000.0;
    window.Actions().Action("export_csv")->trigger();
    ASSERT_EQ(messages.texts.size(), 2);
    EXPECT_TRUE(messages.texts[1].contains(save.answer)) << messages.texts[1].toStdString();
}

// The real dialog, as a keyboard user works it.
class ExportRangeFormTest : public ::testing::Test {
  protected:
    static QString Check(const ExportRangeChoice& c) {
        return c.Points > 5 && c.ToMhz - c.FromMhz < 1.0 ? QStringLiteral("too narrow") : QString();
    }
    ExportRangeForm form{QStringLiteral("Export Touchstone"), ExportRangeChoice{940.0, 1060.0, 601}, &Check};
};

TEST_F(ExportRangeFormTest, ProposesTheRangeWithMnemonicsAndTabOrder) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Export Touchstone"));
    EXPECT_EQ(form.FromEdit()->text(), QStringLiteral("940"));
    EXPECT_EQ(form.ToEdit()->text(), QStringLiteral("1060"));
    EXPECT_EQ(form.PointsEdit()->text(), QStringLiteral("601"));
    std::set<QChar> mnemonics;
    for (QLineEdit* edit : {form.FromEdit(), form.ToEdit(), form.PointsEdit()}) {
        QLabel* label = nullptr;
        for (QLabel* candidate : form.findChildren<QLabel*>())
            if (candidate->buddy() == edit) label = candidate;
        ASSERT_NE(label, nullptr) << edit->objectName().toStdString();
        const qsizetype amp = label->text().indexOf(QLatin1Char('&'));
        ASSERT_GE(amp, 0) << label->text().toStdString();
        EXPECT_TRUE(mnemonics.insert(label->text()[amp + 1].toLower()).second) << label->text().toStdString();
    }
    EXPECT_EQ(form.FromEdit()->nextInFocusChain(), form.ToEdit());
    EXPECT_EQ(form.ToEdit()->nextInFocusChain(), form.PointsEdit());
    QPushButton* ok = form.Buttons()->button(QDialogButtonBox::Ok);
    QPushButton* cancel = form.Buttons()->button(QDialogButtonBox::Cancel);
    ASSERT_NE(ok, nullptr);
    ASSERT_NE(cancel, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
    EXPECT_EQ(cancel->text(), QStringLiteral("Cancel"));

    // Enter takes the proposal unchanged, to the last bit.
    form.show();
    QTest::keyClick(form.PointsEdit(), Qt::Key_Return);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Choice(), (ExportRangeChoice{940.0, 1060.0, 601}));
}

TEST_F(ExportRangeFormTest, RefusesWhatCannotBeExportedAndSaysWhy) {
    struct Case {
        const char* from;
        const char* to;
        const char* points;
        QLineEdit* (ExportRangeForm::*atFault)() const;
        const char* says;
    };
    for (const Case& c : {Case{"abc", "1060", "601", &ExportRangeForm::FromEdit, "From: "},
                          Case{"-5", "1060", "601", &ExportRangeForm::FromEdit, "above 0"},
                          Case{"940", "", "601", &ExportRangeForm::ToEdit, "To: "},
                          Case{"1100", "1060", "601", &ExportRangeForm::ToEdit, "must be above its start"},
                          Case{"940", "1060", "1", &ExportRangeForm::PointsEdit, "from 2 to 100001"},
                          Case{"940", "1060", "5.5", &ExportRangeForm::PointsEdit, "Points: "},
                          Case{"1000", "1000.5", "601", &ExportRangeForm::PointsEdit, "too narrow"}}) {
        SCOPED_TRACE(c.says);
        form.FromEdit()->setText(QString::fromLatin1(c.from));
        form.ToEdit()->setText(QString::fromLatin1(c.to));
        form.PointsEdit()->setText(QString::fromLatin1(c.points));
        form.show();
        form.activateWindow();
        form.setResult(QDialog::Rejected);
        form.accept();
        EXPECT_TRUE(form.isVisible()) << "the dialog stays open";
        EXPECT_NE(form.result(), QDialog::Accepted);
        EXPECT_FALSE(form.MessageLabel()->isHidden());
        EXPECT_TRUE(form.MessageLabel()->text().contains(QString::fromLatin1(c.says)))
            << form.MessageLabel()->text().toStdString();
        EXPECT_EQ(form.focusWidget(), (form.*(c.atFault))());
    }
    form.FromEdit()->setText(QStringLiteral("950,5"));  // a decimal comma is read too
    form.ToEdit()->setText(QStringLiteral("1050"));
    form.PointsEdit()->setText(QStringLiteral("11"));
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(form.Choice(), (ExportRangeChoice{950.5, 1050.0, 11}));
}

}  // namespace
}  // namespace veltrix
