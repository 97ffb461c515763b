#include "app/frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/document_window.h"
#include "app/move_dialog.h"
#include "app/screenshot.h"
#include "program/program.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "spec_screen/select_window.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

class FakeMessages : public MessageBoxes {
public:
    void ShowMessage(QWidget*, const QString& text, const QString&) override { texts << text; }
    QStringList texts;
};

class FakeShell : public DesktopShell {
public:
    bool Open(const QString& target) override {
        targets << target;
        return succeed;
    }
    QStringList targets;
    bool succeed = true;
};

class FakePrintDialogs : public PrintDialogRunner {
public:
    bool Run(QPrinter&, QWidget*) override {
        ++runs;
        return false;
    }
    int runs = 0;
};

// The frame with its invalidations recorded, in order.
class RecordingFrame : public TVXFrame {
public:
    using TVXFrame::TVXFrame;
    std::vector<QWidget*> invalidated;

protected:
    void InvalidateWidget(QWidget* widget) override {
        invalidated.push_back(widget);
        TVXFrame::InvalidateWidget(widget);
    }
};

// Runs the action once the next modal loop has started; closes a dialog left open so no test hangs.
void WhenModal(std::function<void()> action) {
    QTimer::singleShot(0, qApp, [action] {
        action();
        QTimer::singleShot(0, qApp, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
        });
    });
}

QStringList VisibleMenuTitles(const QMenuBar* bar) {
    QStringList titles;
    for (QAction* action : bar->actions()) {
        if (action->isVisible()) titles << action->text();
    }
    return titles;
}

// A whole fresh program per test: records, fake services and the frame with all its windows, working
// on a preferences file in a directory of its own.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-frame-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        program_.PreferencesPath = (dir_ / "veltrix.dat").string();
        program_.Messages = &messages_;
        program_.Shell = &shell_;
        program_.PrintDialogs = &printDialogs_;
    }
    void TearDown() override {
        frame_.reset();
        fs::remove_all(dir_);
    }

    void Start() {
        frame_ = std::make_unique<RecordingFrame>(program_);
        frame_->CreateWindows();
        frame_->resize(1200, 800);
        frame_->show();
        QApplication::setActiveWindow(frame_.get());
        QCoreApplication::processEvents();
        frame_->invalidated.clear();
    }

    void WritePreferencesText(const std::string& text) {
        std::ofstream(program_.PreferencesPath, std::ios::binary) << text;
    }
    std::string PreferencesText() const {
        std::ifstream in(program_.PreferencesPath, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    TDocumentWindow* Sub(DocumentWindow which) const { return frame_->DocumentSubWindow(which); }
    QStringList MenuTitles() const { return VisibleMenuTitles(frame_->menuBar()); }

    fs::path dir_;
    Program program_;
    FakeMessages messages_;
    FakeShell shell_;
    FakePrintDialogs printDialogs_;
    std::unique_ptr<RecordingFrame> frame_;
};

// --- Creation ---

TEST_F(FrameTest, CreationHandlerSetsStartValuesAndReadsPreferences) {
    WritePreferencesText("M\nY\n10\n20\n600\n400\n25\n25\n480\n300\n0\n0\n480\n300\n");
    program_.Spec.F0 = 5.0;
    program_.Spec.SelStatus = kRuleFailed;
    program_.Display.FontName = "Courier";
    program_.Display.FieldOffsetX = 99;

    frame_ = std::make_unique<RecordingFrame>(program_);
    EXPECT_EQ(MachineEpsilon(), std::ldexp(1.0, -53));
    EXPECT_EQ(program_.Spec.Profile, 2);
    EXPECT_EQ(program_.Spec.F0, 1000.0);
    EXPECT_EQ(program_.Spec.SelStatus, kSelectionValid);
    EXPECT_EQ(program_.Spec.Units, 'M') << "units come from the preferences";
    EXPECT_EQ(program_.Display.FontName, QString("MS Sans Serif"));
    EXPECT_EQ(program_.Display.FieldOffsetX, 0);
    EXPECT_EQ(program_.Display.PaintCopyMode, CopyMode::Source);
    EXPECT_EQ(program_.Prefs.StartupScreens, 'Y');
    EXPECT_EQ(program_.Hub, frame_.get());
    EXPECT_FALSE(frame_->Preserve1->isChecked());
    EXPECT_FALSE(frame_->Reset1->isChecked());
    EXPECT_EQ(frame_->windowTitle(), QString("Veltrix 1.8"));

    frame_.reset();
    EXPECT_EQ(program_.Hub, nullptr);
}

TEST_F(FrameTest, DocumentWindowsInCreationOrderAtTheirSavedRectangles) {
    WritePreferencesText("E\nY\n10\n20\n600\n400\n30\n35\n500\n310\n5\n6\n470\n290\n");
    Start();
    QStringList titles;
    for (QMdiSubWindow* sub : frame_->MdiArea->subWindowList(QMdiArea::CreationOrder))
        titles << sub->windowTitle();
    EXPECT_EQ(titles, (QStringList{"Tabular Data", "Outline Drawings", "Specify Filter"}));

    EXPECT_EQ(Sub(DocumentWindow::Select)->geometry(), QRect(10, 20, 600, 400));
    EXPECT_EQ(Sub(DocumentWindow::Mechanical)->geometry(), QRect(30, 35, 500, 310));
    EXPECT_EQ(Sub(DocumentWindow::Tabular)->geometry(), QRect(5, 6, 470, 290));

    EXPECT_EQ(frame_->MdiArea->currentSubWindow(), Sub(DocumentWindow::Select));
    EXPECT_EQ(frame_->MdiArea->subWindowList(QMdiArea::StackingOrder).last(), Sub(DocumentWindow::Select));
    EXPECT_NE(frame_->PXDlg, nullptr);
    EXPECT_NE(frame_->MoveDlg, nullptr);
    EXPECT_NE(frame_->TolWin, nullptr);
    EXPECT_FALSE(frame_->MoveDlg->isVisible());
}

TEST_F(FrameTest, ExtremeSavedRectanglesStillGiveAWorkingFrame) {
    // No upper limit is applied when reading, so a window may lie far outside the frame.
    WritePreferencesText(
        "E\nY\n2147483647\n2147483647\n2147483647\n2147483647\n0\n0\n0\n0\n5\n5\n400\n300\n");
    Start();
    TDocumentWindow* select = Sub(DocumentWindow::Select);
    EXPECT_GT(select->x(), 1000000);
    EXPECT_GT(select->width(), 0);
    frame_->Cascade1->trigger();
    EXPECT_EQ(select->pos(), QPoint(50, 50));
    EXPECT_EQ(frame_->MdiArea->activeSubWindow(), select);
}

class HugeSavedSizeTest : public FrameTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HugeSavedSizeTest, WindowsStayWithinTheDesktopAndPaintWithABoundedBuffer) {
    const std::string size = GetParam();
    WritePreferencesText("E\nY\n10\n10\n" + size + "\n" + size + "\n0\n0\n" + size + "\n" + size +
                         "\n5\n5\n400\n300\n");
    Start();
    const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    for (DocumentWindow which : {DocumentWindow::Select, DocumentWindow::Mechanical}) {
        EXPECT_LE(Sub(which)->width(), desktop.width());
        EXPECT_LE(Sub(which)->height(), desktop.height());
        EXPECT_GT(Sub(which)->width(), 0);
    }
    auto* select = qobject_cast<TSelect*>(frame_->DocumentWidget(DocumentWindow::Select));
    ASSERT_NE(select, nullptr);
    const QPixmap shown = select->grab();
    const QImage& bitmap = select->Page().Bitmap();
    const qreal ratio = bitmap.devicePixelRatio();
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_LE(bitmap.width(), desktop.width() * ratio);
    EXPECT_LE(bitmap.height(), desktop.height() * ratio);
    // The page is there: the part number frame's magenta top-left corner, five pixels right.
    EXPECT_EQ(shown.toImage().pixelColor(2 + TSelect::kPageShift, 88), QColor(255, 0, 255));
}

INSTANTIATE_TEST_SUITE_P(Sizes, HugeSavedSizeTest, ::testing::Values("20000", "2147483647"));

TEST_F(FrameTest, ScreenshotShowsEveryDocumentWindowWhole) {
    Start();
    const QString file = QString::fromStdString((dir_ / "frame.png").string());
    QString error;
    ASSERT_TRUE(WriteFrameScreenshot(*frame_, file, &error)) << error.toStdString();
    const QImage picture(file);
    EXPECT_EQ(picture.size(), kScreenshotFrameSize);
    const QRect select = Sub(DocumentWindow::Select)->geometry();
    const QRect tabular = Sub(DocumentWindow::Tabular)->geometry();
    const QRect outline = Sub(DocumentWindow::Mechanical)->geometry();
    EXPECT_EQ(select.topLeft(), QPoint(0, 0));
    EXPECT_EQ(frame_->DocumentWidget(DocumentWindow::Select)->size(),
              QSize(TSelect::kClientWidth, TSelect::kClientHeight));
    EXPECT_FALSE(select.intersects(tabular));
    EXPECT_FALSE(select.intersects(outline));
    EXPECT_FALSE(tabular.intersects(outline));
    EXPECT_FALSE(tabular.isEmpty());
    EXPECT_FALSE(outline.isEmpty());
    EXPECT_EQ(frame_->MdiArea->activeSubWindow(), Sub(DocumentWindow::Select));

    EXPECT_FALSE(WriteFrameScreenshot(*frame_, QString::fromStdString((dir_ / "none" / "x.png").string()), &error));
    EXPECT_FALSE(error.isEmpty());
}

// --- Menu bar ---

TEST_F(FrameTest, MenuBarMergesTheActiveWindowsMenus) {
    Start();
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Passband", "Stop&band", "&Graph", "&Mounting", "&View",
                                         "&Window", "&Sales", "&Configure"}));
    EXPECT_NE(frame_->menuBar()->actions().first(), frame_->File1->menuAction())
        << "the child's File replaces it";

    frame_->BringToFront(DocumentWindow::Tabular);
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&View", "&Window", "&Sales", "&Configure"}));
    EXPECT_NE(frame_->menuBar()->actions().first(), frame_->File1->menuAction());

    // The outline window has no menus of its own yet: the frame's File shows.
    frame_->BringToFront(DocumentWindow::Mechanical);
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Window", "&Sales", "&Configure"}));
    EXPECT_EQ(frame_->menuBar()->actions().first(), frame_->File1->menuAction());
}

TEST_F(FrameTest, MenusWithoutTheirWindowAreHidden) {
    Start();
    EXPECT_FALSE(frame_->RequestforQuote1->isVisible());
    EXPECT_FALSE(frame_->ContactInformation1->isVisible());
    EXPECT_FALSE(frame_->Instructions1->isVisible());
    EXPECT_FALSE(frame_->N4->isVisible());
    EXPECT_FALSE(frame_->Help1->menuAction()->isVisible());
    EXPECT_TRUE(frame_->VeltrixOnline1->isVisible());

    QWidget about;
    frame_->SetFrameWindow(FrameWindow::AboutBox, &about);
    EXPECT_TRUE(frame_->Help1->menuAction()->isVisible());
    EXPECT_TRUE(frame_->About1->isVisible());
    EXPECT_FALSE(frame_->N1->isVisible()) << "no page above the separator";
    EXPECT_TRUE(MenuTitles().endsWith("&Help"));
}

// --- Closing, activation, exit ---

TEST_F(FrameTest, ClosingADocumentWindowMinimisesIt) {
    Start();
    QPointer<TDocumentWindow> tabular = Sub(DocumentWindow::Tabular);
    const QRect before = tabular->geometry();
    tabular->close();
    QCoreApplication::processEvents();
    ASSERT_FALSE(tabular.isNull());
    EXPECT_TRUE(tabular->isMinimized());
    EXPECT_TRUE(tabular->isVisible());
    EXPECT_EQ(tabular->NormalRect(), (WindowRect{before.x(), before.y(), before.width(), before.height()}));

    frame_->BringToFront(DocumentWindow::Tabular);
    EXPECT_FALSE(tabular->isMinimized());
    EXPECT_EQ(tabular->geometry(), before);
    EXPECT_EQ(frame_->MdiArea->activeSubWindow(), tabular.data());
}

TEST_F(FrameTest, ExitClosesTheFrame) {
    Start();
    QSignalSpy closed(frame_.get(), &TVXFrame::Closed);
    program_.Hub->ExitProgram();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(frame_->isVisible());
}

TEST_F(FrameTest, HubRoutesRepaintsToTheNamedWindow) {
    Start();
    program_.Hub->Invalidate(DocumentWindow::Tabular);
    program_.Hub->Invalidate(DocumentWindow::Mechanical);
    EXPECT_EQ(frame_->invalidated,
              (std::vector<QWidget*>{frame_->DocumentWidget(DocumentWindow::Tabular), frame_->Mechanical}));
}

// --- Window menu ---

TEST_F(FrameTest, CascadePlacesTheWindowsAndActivatesSelect) {
    Start();
    Sub(DocumentWindow::Tabular)->setGeometry(300, 200, 410, 220);
    Sub(DocumentWindow::Mechanical)->setGeometry(10, 400, 420, 230);
    Sub(DocumentWindow::Select)->setGeometry(500, 10, 430, 240);
    Sub(DocumentWindow::Mechanical)->showMinimized();
    frame_->BringToFront(DocumentWindow::Tabular);

    frame_->Cascade1->trigger();
    EXPECT_EQ(Sub(DocumentWindow::Tabular)->geometry(), QRect(0, 0, 410, 220));
    EXPECT_EQ(Sub(DocumentWindow::Mechanical)->geometry(), QRect(25, 25, 420, 230));
    EXPECT_EQ(Sub(DocumentWindow::Select)->geometry(), QRect(50, 50, 430, 240));
    EXPECT_EQ(frame_->MdiArea->activeSubWindow(), Sub(DocumentWindow::Select));
    const QList<QMdiSubWindow*> stack = frame_->MdiArea->subWindowList(QMdiArea::StackingOrder);
    EXPECT_EQ(stack.last(), Sub(DocumentWindow::Select));
    EXPECT_EQ(stack.at(stack.size() - 2), Sub(DocumentWindow::Mechanical));
}

TEST_F(FrameTest, TileStacksTheWindowsAtFullWidth) {
    Start();
    frame_->Tile1->trigger();
    const QRect area = frame_->MdiArea->viewport()->rect();
    const int row = area.height() / 3;
    // The active window takes the top row.
    EXPECT_EQ(Sub(DocumentWindow::Select)->geometry(), QRect(0, 0, area.width(), row));
    EXPECT_EQ(Sub(DocumentWindow::Mechanical)->geometry().top(), row);
    EXPECT_EQ(Sub(DocumentWindow::Tabular)->geometry(),
              QRect(0, 2 * row, area.width(), area.height() - 2 * row));
}

TEST_F(FrameTest, ArrangeIconsLinesMinimisedWindowsAlongTheBottom) {
    Start();
    TDocumentWindow* tabular = Sub(DocumentWindow::Tabular);
    TDocumentWindow* mechanical = Sub(DocumentWindow::Mechanical);
    tabular->showMinimized();
    mechanical->showMinimized();
    tabular->move(400, 100);
    mechanical->move(20, 300);

    frame_->ArrangeIcons1->trigger();
    const int bottom = frame_->MdiArea->viewport()->rect().bottom() + 1;
    EXPECT_EQ(tabular->geometry().topLeft(), QPoint(0, bottom - tabular->height()));
    EXPECT_EQ(mechanical->geometry().topLeft(), QPoint(tabular->width(), bottom - mechanical->height()));
    EXPECT_FALSE(Sub(DocumentWindow::Select)->isMinimized());
}

// --- Sales links ---

struct LinkCase {
    const char* name;
    QAction* TVXFrame::*item;
    const char* target;
    const char* failure;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class SalesLinks : public FrameTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(SalesLinks, OpenTheTargetAndReportOnlyFailure) {
    Start();
    QAction* item = frame_.get()->*GetParam().item;
    item->trigger();
    EXPECT_EQ(shell_.targets, QStringList{GetParam().target});
    EXPECT_TRUE(messages_.texts.isEmpty());

    shell_.succeed = false;
    item->trigger();
    EXPECT_EQ(messages_.texts, QStringList{GetParam().failure});
}

INSTANTIATE_TEST_SUITE_P(
    Items, SalesLinks,
    ::testing::Values(LinkCase{"VeltrixOnline", &TVXFrame::VeltrixOnline1,
                               "http://www.norvane.example/veltrix.html", "Unable to start web browser."},
                      LinkCase{"EmailSales", &TVXFrame::EmailVeltrixSales1, "mailto:sales@norvane.example",
                               "Unable to start mail client."},
                      LinkCase{"Representatives", &TVXFrame::Representatives1,
                               "http://www.norvane.example/reps/index.html", "Unable to start web browser."}),
    [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

// --- Help, Sales and Configure items follow their windows ---

TEST_F(FrameTest, HelpItemsEnabledExactlyWhileTheirPageIsHidden) {
    Start();
    QWidget own, intro, info, notes, about;
    frame_->SetFrameWindow(FrameWindow::OwnWin, &own);
    frame_->SetFrameWindow(FrameWindow::IntroWin, &intro);
    frame_->SetFrameWindow(FrameWindow::InfoWin, &info);
    frame_->SetFrameWindow(FrameWindow::NoteWin, &notes);
    frame_->SetFrameWindow(FrameWindow::AboutBox, &about);
    EXPECT_TRUE(frame_->N1->isVisible());

    notes.show();
    emit frame_->Help1->aboutToShow();
    EXPECT_FALSE(frame_->Notes1->isEnabled());
    EXPECT_TRUE(frame_->LicenseInformation1->isEnabled());
    EXPECT_TRUE(frame_->Introduction1->isEnabled());
    EXPECT_TRUE(frame_->FilterCharacteristics1->isEnabled());
    EXPECT_TRUE(frame_->About1->isEnabled());

    notes.hide();
    intro.show();
    emit frame_->Help1->aboutToShow();
    EXPECT_TRUE(frame_->Notes1->isEnabled());
    EXPECT_FALSE(frame_->Introduction1->isEnabled());

    frame_->FilterCharacteristics1->trigger();
    EXPECT_TRUE(info.isVisible());
}

TEST_F(FrameTest, SalesAndConfigureItemsFollowTheirWindows) {
    Start();
    QWidget reach, rfq, instructions;
    frame_->SetFrameWindow(FrameWindow::ReachWin, &reach);
    frame_->SetFrameWindow(FrameWindow::RFQWin, &rfq);
    frame_->SetFrameWindow(FrameWindow::CfgWin, &instructions);
    EXPECT_TRUE(frame_->ContactInformation1->isVisible());
    EXPECT_TRUE(frame_->Instructions1->isVisible());

    frame_->ContactInformation1->trigger();
    EXPECT_TRUE(reach.isVisible());
    emit frame_->Order1->aboutToShow();
    EXPECT_FALSE(frame_->ContactInformation1->isEnabled());
    reach.hide();
    emit frame_->Order1->aboutToShow();
    EXPECT_TRUE(frame_->ContactInformation1->isEnabled());

    // The quote window is never disabled; asking again while it is open brings it forward.
    frame_->RequestforQuote1->trigger();
    emit frame_->Order1->aboutToShow();
    EXPECT_TRUE(frame_->RequestforQuote1->isEnabled());
    frame_->RequestforQuote1->trigger();
    EXPECT_TRUE(rfq.isVisible());

    frame_->Instructions1->trigger();
    emit frame_->Configure1->aboutToShow();
    EXPECT_FALSE(frame_->Instructions1->isEnabled());
    instructions.hide();
    emit frame_->Configure1->aboutToShow();
    EXPECT_TRUE(frame_->Instructions1->isEnabled());
}

TEST_F(FrameTest, AboutIsShownModally) {
    Start();
    QDialog about;
    frame_->SetFrameWindow(FrameWindow::AboutBox, &about);
    bool shownModal = false;
    WhenModal([&] {
        shownModal = QApplication::activeModalWidget() == &about;
        about.accept();
    });
    frame_->About1->trigger();
    EXPECT_TRUE(shownModal);
}

// --- Font commands ---

TEST_F(FrameTest, FontCommandsMoveTheCheckMarkAndSetSizes) {
    Start();
    EXPECT_TRUE(frame_->MSSansSerif1->isChecked());
    frame_->SmallArial1->trigger();
    EXPECT_TRUE(frame_->SmallArial1->isChecked());
    EXPECT_FALSE(frame_->MSSansSerif1->isChecked());
    EXPECT_FALSE(frame_->Arial1->isChecked());
    EXPECT_EQ(program_.Display.FontName, QString("Arial"));
    EXPECT_EQ(program_.Display.FontSizeLarge, 12);
    EXPECT_EQ(program_.Display.FontSizeTiny, 6);

    frame_->MSSansSerif1->trigger();
    EXPECT_TRUE(frame_->MSSansSerif1->isChecked());
    EXPECT_FALSE(frame_->SmallArial1->isChecked());
    EXPECT_EQ(program_.Display.FontName, QString("MS Sans Serif"));
    EXPECT_EQ(program_.Display.FontSizeLarge, 14);
    EXPECT_EQ(program_.Display.FontSizeMedium, 12);
    EXPECT_EQ(program_.Display.FontSizeSmall, 10);
    EXPECT_EQ(program_.Display.FontSizeTiny, 8);

    // Selecting the checked item again leaves it checked.
    frame_->MSSansSerif1->trigger();
    EXPECT_TRUE(frame_->MSSansSerif1->isChecked());
}

TEST_F(FrameTest, FontCommandInvalidatesInItsOrder) {
    Start();
    QWidget* select = frame_->DocumentWidget(DocumentWindow::Select);
    frame_->Arial1->trigger();
    EXPECT_EQ(frame_->invalidated, (std::vector<QWidget*>{select, frame_->Mechanical}))
        << "windows that do not exist are skipped";

    QWidget own, intro, info, notes;
    frame_->SetFrameWindow(FrameWindow::OwnWin, &own);
    frame_->SetFrameWindow(FrameWindow::IntroWin, &intro);
    frame_->SetFrameWindow(FrameWindow::InfoWin, &info);
    frame_->SetFrameWindow(FrameWindow::NoteWin, &notes);
    frame_->invalidated.clear();
    frame_->SmallArial1->trigger();
    EXPECT_EQ(frame_->invalidated, (std::vector<QWidget*>{&own, &intro, &info, select, frame_->Mechanical}));
}

// --- Offsets ---

struct OffsetsCase {
    const char* name;
    const char* x;
    const char* y;
    int expectedX;
    int expectedY;
};

void PrintTo(const OffsetsCase& c, std::ostream* os) { *os << c.name; }

class OffsetsDialog : public FrameTest, public ::testing::WithParamInterface<OffsetsCase> {
protected:
    void RunDialog(const QString& x, const QString& y, bool ok) {
        WhenModal([=, this] {
            TMoveDlg* dlg = frame_->MoveDlg;
            dlg->Edit1->setText(x);
            dlg->Edit2->setText(y);
            QTest::mouseClick(ok ? dlg->OKBtn : dlg->CancelBtn, Qt::LeftButton);
        });
        frame_->Offsets1->trigger();
    }
};

TEST_P(OffsetsDialog, StoresLimitedValues) {
    Start();
    RunDialog(GetParam().x, GetParam().y, true);
    EXPECT_EQ(program_.Display.FieldOffsetX, GetParam().expectedX);
    EXPECT_EQ(program_.Display.FieldOffsetY, GetParam().expectedY);
}

INSTANTIATE_TEST_SUITE_P(Entries, OffsetsDialog,
                         ::testing::Values(OffsetsCase{"Plain", "20", "10", 20, 10},
                                           OffsetsCase{"Limited", "1000", "-1000", 300, -150},
                                           OffsetsCase{"Letters", "abc", "7", 0, 7}),
                         [](const ::testing::TestParamInfo<OffsetsCase>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(OffsetsDialog, ShowsCurrentValuesWithFocusOnTheFirstField) {
    Start();
    program_.Display.FieldOffsetX = -12;
    program_.Display.FieldOffsetY = 34;
    QString first, second;
    bool focusOnFirst = false;
    WhenModal([&] {
        TMoveDlg* dlg = frame_->MoveDlg;
        first = dlg->Edit1->text();
        second = dlg->Edit2->text();
        focusOnFirst = dlg->focusWidget() == dlg->Edit1;
        dlg->reject();
    });
    frame_->Offsets1->trigger();
    EXPECT_EQ(first, QString("-12"));
    EXPECT_EQ(second, QString("34"));
    EXPECT_TRUE(focusOnFirst);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->MoveDlg->focusWidget(), frame_->MoveDlg->OKBtn)
        << "focus goes back to OK on hiding: " << frame_->MoveDlg->focusWidget()->objectName().toStdString();
}

TEST_F(OffsetsDialog, RepaintsTheScreenOnlyWhenAValueChanged) {
    Start();
    QWidget* select = frame_->DocumentWidget(DocumentWindow::Select);
    // The screen's own paints invalidate the tabular window meanwhile; only the screen counts here.
    const auto screenRepaints = [&] {
        return std::count(frame_->invalidated.begin(), frame_->invalidated.end(), select);
    };
    RunDialog("0", "0", true);
    EXPECT_EQ(screenRepaints(), 0);

    RunDialog("20", "10", false);
    EXPECT_EQ(screenRepaints(), 0) << "Cancel changes nothing";
    EXPECT_EQ(program_.Display.FieldOffsetX, 0);

    RunDialog("20", "10", true);
    EXPECT_EQ(screenRepaints(), 1);

    // The screen's next paint places the result fields from the offsets.
    select->repaint();
    const QLabel* il0 = select->findChild<QLabel*>("IL0Label");
    ASSERT_NE(il0, nullptr);
    EXPECT_EQ(il0->pos(), QPoint(-4, 256));
    EXPECT_EQ(select->findChild<QLabel*>("IL1Label")->pos(), QPoint(116, 338));
    EXPECT_EQ(select->findChild<QLabel*>("IL2Label")->pos(), QPoint(212, 338));
}

TEST_F(OffsetsDialog, EnterInAFieldIsOk) {
    Start();
    WhenModal([&] {
        frame_->MoveDlg->Edit2->setText("-20");
        frame_->MoveDlg->Edit2->setFocus();
        QTest::keyClick(frame_->MoveDlg->Edit2, Qt::Key_Return);
    });
    frame_->Offsets1->trigger();
    EXPECT_EQ(program_.Display.FieldOffsetY, -20);
}

// --- Preferences commands ---

TEST_F(FrameTest, PreserveWritesTheWindowsAsTheyAreNow) {
    Start();
    Sub(DocumentWindow::Select)->setGeometry(10, 20, 600, 400);
    Sub(DocumentWindow::Mechanical)->setGeometry(1, 2, 300, 200);
    // A minimised window is saved where it opens again when restored.
    Sub(DocumentWindow::Tabular)->setGeometry(3, 4, 310, 210);
    Sub(DocumentWindow::Tabular)->close();
    program_.Spec.Units = 'M';

    frame_->Preserve1->trigger();
    EXPECT_EQ(PreferencesText(), "M\nY\n10\n20\n600\n400\n1\n2\n300\n200\n3\n4\n310\n210\n");
    EXPECT_EQ(program_.Prefs.StartupScreens, 'Y');
    EXPECT_EQ(program_.Prefs.SelectRect, (WindowRect{50, 50, 480, 300}))
        << "memory keeps the start-up rectangles";
    EXPECT_FALSE(frame_->Preserve1->isChecked());
    EXPECT_TRUE(messages_.texts.isEmpty());

    // The next start opens the windows there.
    frame_.reset();
    Start();
    EXPECT_EQ(Sub(DocumentWindow::Select)->geometry(), QRect(10, 20, 600, 400));
    EXPECT_EQ(program_.Spec.Units, 'M');
}

TEST_F(FrameTest, ResetWritesTheFactoryStateAndLeavesTheScreenAlone) {
    WritePreferencesText("M\nY\n10\n20\n600\n400\n1\n2\n300\n200\n3\n4\n310\n210\n");
    Start();
    frame_->Reset1->trigger();
    EXPECT_EQ(PreferencesText(), "E\nN\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    EXPECT_EQ(program_.Prefs.StartupScreens, 'N');
    EXPECT_EQ(program_.Spec.Units, 'M') << "units in use stay until the next start";
    EXPECT_EQ(Sub(DocumentWindow::Select)->geometry(), QRect(10, 20, 600, 400));
}

TEST_F(FrameTest, PreferenceCommandsInAnUnwritablePlaceFailSilently) {
    program_.PreferencesPath = (dir_ / "missing" / "veltrix.dat").string();
    Start();
    frame_->Preserve1->trigger();
    EXPECT_EQ(program_.Prefs.StartupScreens, 'Y');
    frame_->Reset1->trigger();
    EXPECT_EQ(program_.Prefs.StartupScreens, 'N');
    EXPECT_TRUE(messages_.texts.isEmpty());
    EXPECT_FALSE(fs::exists(program_.PreferencesPath));
}

// --- Printing through the hub ---

TEST_F(FrameTest, PrintFormRunsThePrintDialogOnTheFramesPrinter) {
    Start();
    auto* select = static_cast<TSelect*>(frame_->DocumentWidget(DocumentWindow::Select));
    program_.Hub->PrintForm(*select, "Veltrix Filter Specification");
    EXPECT_EQ(printDialogs_.runs, 1);
    EXPECT_EQ(program_.Display.PaintCopyMode, CopyMode::Source);
    EXPECT_TRUE(messages_.texts.isEmpty()) << "a cancelled dialog prints nothing and says nothing";
}

TEST_F(FrameTest, PrintExceptionShowsAbortPrintModally) {
    Start();
    bool shown = false;
    WhenModal([&] {
        shown = QApplication::activeModalWidget() == frame_->PXDlg;
        frame_->PXDlg->reject();
    });
    program_.Hub->ShowPrintException();
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace veltrix
