#include "app/frame.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <ostream>
#include <sstream>

#include "app/document_window.h"
#include "app/field_offsets_dialog.h"
#include "app/screenshot.h"
#include "compare_window/compare_window.h"
#include "finder_window/finder_window.h"
#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/quote_request_window.h"
#include "platform/painted_form.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "program/program.h"
#include "specification_window/specification_window.h"
#include "specification_window/tolerances_dialog.h"
#include "tests/app/shown_frame.h"
#include "tests/support/fakes.h"
#include "tests/support/menu_commands.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

// The frame with its invalidations recorded, in order.
class RecordingFrame : public MainFrame {
  public:
    using MainFrame::MainFrame;
    std::vector<QWidget*> invalidated;

  protected:
    void InvalidateWidget(QWidget* widget) override {
        invalidated.push_back(widget);
        MainFrame::InvalidateWidget(widget);
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
        frame_->ShowStartupPages();
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

    DocumentMdiWindow* Sub(DocumentWindow which) const { return frame_->DocumentSubWindow(which); }
    QStringList MenuTitles() const { return VisibleMenuTitles(frame_->menuBar()); }

    fs::path dir_;
    Program program_;
    testing::FakeMessages messages_;
    testing::FakeShell shell_;
    testing::FakePrintDialogs printDialogs_{false};
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
    EXPECT_EQ(program_.Spec.Profile, ResonatorProfile::Mm4);
    EXPECT_EQ(program_.Spec.F0, 1000.0);
    EXPECT_EQ(program_.Spec.SelStatus, kSelectionValid);
    EXPECT_EQ(program_.Spec.Units, DrawingUnits::Millimetres) << "units come from the preferences";
    EXPECT_EQ(program_.Display.FontName, QString("MS Sans Serif"));
    EXPECT_EQ(program_.Display.FieldOffsetX, 0);
    EXPECT_EQ(program_.Display.PaintCopyMode, CopyMode::Source);
    EXPECT_EQ(program_.Prefs.StartupScreens, StartupPagesState::Preserved);
    EXPECT_EQ(program_.Hub, frame_.get());
    EXPECT_FALSE(frame_->Actions().Action("preserve_preferences")->isChecked());
    EXPECT_FALSE(frame_->Actions().Action("reset_preferences")->isChecked());
    EXPECT_EQ(frame_->windowTitle(), QString("Veltrix 1.8"));

    frame_.reset();
    EXPECT_EQ(program_.Hub, nullptr);
}

TEST_F(FrameTest, MaximisedAtStartWithTheDesignRectangleAsItsNormalGeometry) {
    frame_ = std::make_unique<RecordingFrame>(program_);
    frame_->CreateWindows();
    frame_->ShowMaximisedAtStart();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    // Past the time a window manager is given to answer.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !frame_->WindowManagerGrace().isActive(); }, 5000));
    EXPECT_TRUE(frame_->isMaximized());
    EXPECT_EQ(frame_->normalGeometry(), QRect(189, 101, 571, 387));
    frame_->showNormal();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->geometry().size(), QSize(571, 387));
}

TEST_F(FrameTest, DocumentWindowsInCreationOrderAtTheirSavedRectangles) {
    WritePreferencesText("E\nY\n10\n20\n600\n400\n30\n35\n500\n310\n5\n6\n470\n290\n");
    Start();
    QStringList titles;
    for (QMdiSubWindow* sub : frame_->MdiArea()->subWindowList(QMdiArea::CreationOrder))
        titles << sub->windowTitle();
    EXPECT_EQ(titles, (QStringList{"Tabular Data", "Outline Drawings", "Specify Filter"}));
    EXPECT_EQ(Sub(DocumentWindow::Finder), nullptr) << "the finder is made when first asked for";

    EXPECT_EQ(Sub(DocumentWindow::Specification)->geometry(), QRect(10, 20, 600, 400));
    EXPECT_EQ(Sub(DocumentWindow::Outline)->geometry(), QRect(30, 35, 500, 310));
    EXPECT_EQ(Sub(DocumentWindow::TabularData)->geometry(), QRect(5, 6, 470, 290));

    EXPECT_EQ(frame_->MdiArea()->currentSubWindow(), Sub(DocumentWindow::Specification));
    EXPECT_EQ(frame_->MdiArea()->subWindowList(QMdiArea::StackingOrder).last(),
              Sub(DocumentWindow::Specification));
}

TEST_F(FrameTest, EveryMenuCommandIsFoundByItsName) {
    Start();
    QList<QMenu*> menus;
    for (const char* name : {"file", "window", "sales", "configure", "help"}) {
        QMenu* menu = frame_->Actions().Menu(QString::fromLatin1(name));
        ASSERT_NE(menu, nullptr) << name;
        menus << menu;
    }
    EXPECT_EQ(testing::UnnamedCommands(frame_->Actions(), menus), QStringList());
    EXPECT_EQ(frame_->Actions().Action("no_such_command"), nullptr);
}

TEST_F(FrameTest, WindowsThatStartHiddenAreMadeOnFirstUseAsTheyWouldBeAtStart) {
    WritePreferencesText("E\nY\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    Start();
    for (FrameWindow which :
         {FrameWindow::ContactInformation, FrameWindow::Notes, FrameWindow::FilterCharacteristics,
          FrameWindow::Introduction, FrameWindow::LicenseInformation, FrameWindow::About,
          FrameWindow::ConfigurationInstructions, FrameWindow::RequestForQuote})
        EXPECT_EQ(frame_->GetFrameWindow(which), nullptr) << static_cast<int>(which);
    EXPECT_EQ(frame_->findChild<FieldOffsetsDialog*>(), nullptr);
    EXPECT_EQ(frame_->findChild<AbortPrintDialog*>(), nullptr);
    EXPECT_EQ(frame_->findChild<QDialog*>(), nullptr);
    // The menus offer every window all the same.
    for (QAction* item :
         {frame_->Actions().Action("request_for_quote"), frame_->Actions().Action("contact_information"),
          frame_->Actions().Action("configuration_instructions"),
          frame_->Actions().Action("license_information"), frame_->Actions().Action("introduction"),
          frame_->Actions().Action("filter_characteristics"), frame_->Actions().Action("notes"),
          frame_->Actions().Action("about")})
        EXPECT_TRUE(item->isVisible()) << item->text().toStdString();

    // Made on use: caption, place and flags as a window made at start has them.
    frame_->Actions().Action("contact_information")->trigger();
    auto* reach = qobject_cast<ContactPage*>(frame_->GetFrameWindow(FrameWindow::ContactInformation));
    ASSERT_NE(reach, nullptr);
    EXPECT_TRUE(reach->isVisible());
    ContactPage atStart(program_, frame_.get());
    atStart.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(reach->windowTitle(), "Contact Information");
    EXPECT_EQ(reach->geometry(), atStart.geometry());
    EXPECT_EQ(reach->windowFlags(), atStart.windowFlags());
    EXPECT_EQ(reach->parentWidget(), frame_.get());
    frame_->Actions().Action("contact_information")->trigger();
    EXPECT_EQ(frame_->GetFrameWindow(FrameWindow::ContactInformation), reach) << "made once";

    // The notes page behind a link of the characteristics page is made when the link is followed.
    frame_->Actions().Action("filter_characteristics")->trigger();
    ASSERT_NE(frame_->GetFrameWindow(FrameWindow::FilterCharacteristics), nullptr);
    EXPECT_EQ(frame_->GetFrameWindow(FrameWindow::Notes), nullptr);
    frame_->FilterCharacteristics()->onNote1Link();
    ASSERT_NE(frame_->GetFrameWindow(FrameWindow::Notes), nullptr);
    EXPECT_TRUE(frame_->Notes()->isVisible());

    bool toleranceShown = false;
    WhenModal([&] {
        toleranceShown = QApplication::activeModalWidget() == frame_->findChild<TolerancesDialog*>();
    });
    frame_->Specification()->findChild<QPushButton*>("tolerances_button")->click();
    EXPECT_TRUE(toleranceShown);
    bool offsetsShown = false;
    WhenModal([&] {
        offsetsShown = QApplication::activeModalWidget() == frame_->findChild<FieldOffsetsDialog*>();
    });
    frame_->Actions().Action("offsets")->trigger();
    EXPECT_TRUE(offsetsShown);

    // None of this moved the document windows: the specification window is still on top and active.
    EXPECT_EQ(frame_->MdiArea()->currentSubWindow(), Sub(DocumentWindow::Specification));
    EXPECT_EQ(frame_->MdiArea()->subWindowList(QMdiArea::StackingOrder).last(),
              Sub(DocumentWindow::Specification));
}

TEST_F(FrameTest, ExtremeSavedRectanglesStillGiveAWorkingFrame) {
    // No upper limit is applied when reading, so a window may lie far outside the frame.
    WritePreferencesText(
        "E\nY\n2147483647\n2147483647\n2147483647\n2147483647\n0\n0\n0\n0\n5\n5\n400\n300\n");
    Start();
    DocumentMdiWindow* select = Sub(DocumentWindow::Specification);
    EXPECT_GT(select->x(), 1000000);
    EXPECT_GT(select->width(), 0);
    frame_->Actions().Action("cascade")->trigger();
    EXPECT_EQ(select->pos(), QPoint(50, 50));
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), select);
}

class HugeSavedSizeTest : public FrameTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(HugeSavedSizeTest, WindowsStayWithinTheDesktopAndPaintWithABoundedBuffer) {
    const std::string size = GetParam();
    WritePreferencesText("E\nY\n10\n10\n" + size + "\n" + size + "\n0\n0\n" + size + "\n" + size +
                         "\n5\n5\n400\n300\n");
    Start();
    const QSize desktop = QGuiApplication::primaryScreen()->virtualSize();
    for (DocumentWindow which : {DocumentWindow::Specification, DocumentWindow::Outline}) {
        EXPECT_LE(Sub(which)->width(), desktop.width());
        EXPECT_LE(Sub(which)->height(), desktop.height());
        EXPECT_GT(Sub(which)->width(), 0);
    }
    auto* select = qobject_cast<SpecificationWindow*>(frame_->DocumentWidget(DocumentWindow::Specification));
    ASSERT_NE(select, nullptr);
    const QPixmap shown = select->grab();
    const QImage& bitmap = select->Page().Bitmap();
    const qreal ratio = bitmap.devicePixelRatio();
    ASSERT_FALSE(bitmap.isNull());
    EXPECT_LE(bitmap.width(), desktop.width() * ratio);
    EXPECT_LE(bitmap.height(), desktop.height() * ratio);
    // The page is there: the part number frame's magenta top-left corner, five pixels right.
    EXPECT_EQ(shown.toImage().pixelColor(2 + SpecificationWindow::kPageShift, 88), QColor(255, 0, 255));
}

INSTANTIATE_TEST_SUITE_P(Sizes, HugeSavedSizeTest, ::testing::Values("20000", "2147483647"));

TEST_F(FrameTest, ScreenshotShowsEveryDocumentWindowWhole) {
    Start();
    const QString file = QString::fromStdString((dir_ / "frame.png").string());
    QString error;
    ASSERT_TRUE(WriteFrameScreenshot(*frame_, file, &error)) << error.toStdString();
    const QImage picture(file);
    EXPECT_EQ(picture.size(), kScreenshotFrameSize);
    const QRect select = Sub(DocumentWindow::Specification)->geometry();
    const QRect tabular = Sub(DocumentWindow::TabularData)->geometry();
    const QRect outline = Sub(DocumentWindow::Outline)->geometry();
    EXPECT_EQ(select.topLeft(), QPoint(0, 0));
    EXPECT_EQ(frame_->DocumentWidget(DocumentWindow::Specification)->size(),
              QSize(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight));
    EXPECT_FALSE(select.intersects(tabular));
    EXPECT_FALSE(select.intersects(outline));
    EXPECT_FALSE(tabular.intersects(outline));
    EXPECT_FALSE(tabular.isEmpty());
    EXPECT_FALSE(outline.isEmpty());
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), Sub(DocumentWindow::Specification));

    EXPECT_FALSE(
        WriteFrameScreenshot(*frame_, QString::fromStdString((dir_ / "none" / "x.png").string()), &error));
    EXPECT_FALSE(error.isEmpty());
}

// --- Menu bar ---

TEST_F(FrameTest, MenuBarMergesTheActiveWindowsMenus) {
    Start();
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Passband", "Stop&band", "&Graph", "&Mounting", "&View",
                                         "&Window", "&Sales", "&Configure", "&Help"}));
    EXPECT_NE(frame_->menuBar()->actions().first(), frame_->Actions().Menu("file")->menuAction())
        << "the child's File replaces it";

    frame_->BringToFront(DocumentWindow::TabularData);
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&View", "&Window", "&Sales", "&Configure", "&Help"}));
    EXPECT_NE(frame_->menuBar()->actions().first(), frame_->Actions().Menu("file")->menuAction());

    frame_->BringToFront(DocumentWindow::Outline);
    EXPECT_EQ(MenuTitles(), (QStringList{"&File", "&Mounting", "&Units", "&View", "&Window", "&Sales",
                                         "&Configure", "&Help"}));
    EXPECT_NE(frame_->menuBar()->actions().first(), frame_->Actions().Menu("file")->menuAction());
}

TEST_F(FrameTest, MenusWithoutTheirWindowAreHidden) {
    // The frame before it has created the windows its menus open.
    frame_ = std::make_unique<RecordingFrame>(program_);
    EXPECT_FALSE(frame_->Actions().Action("request_for_quote")->isVisible());
    EXPECT_FALSE(frame_->Actions().Action("contact_information")->isVisible());
    EXPECT_FALSE(frame_->Actions().Action("configuration_instructions")->isVisible());
    EXPECT_FALSE(frame_->Actions().Action("configure_separator")->isVisible());
    EXPECT_FALSE(frame_->Actions().Menu("help")->menuAction()->isVisible());
    EXPECT_TRUE(frame_->Actions().Action("veltrix_online")->isVisible());

    QWidget about;
    frame_->SetFrameWindow(FrameWindow::About, &about);
    EXPECT_TRUE(frame_->Actions().Menu("help")->menuAction()->isVisible());
    EXPECT_TRUE(frame_->Actions().Action("about")->isVisible());
    EXPECT_FALSE(frame_->Actions().Action("help_separator")->isVisible()) << "no page above the separator";
    EXPECT_TRUE(MenuTitles().endsWith("&Help"));
}

// --- Information pages ---

// Records which windows are shown and which are raised, in order.
class ShowRecorder : public QObject {
  public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show || event->type() == QEvent::ZOrderChange) {
            if (auto* widget = qobject_cast<QWidget*>(watched); widget != nullptr && widget->isWindow())
                (event->type() == QEvent::Show ? shown : raised) << widget->objectName();
        }
        return false;
    }
    QStringList shown;
    QStringList raised;
};

TEST_F(FrameTest, StartupPagesFollowTheShownFrameWithTheLicenceOnTop) {
    frame_ = std::make_unique<RecordingFrame>(program_);
    frame_->CreateWindows();
    frame_->ShowMaximisedAtStart();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frame_.get()));
    // The frame is complete when it shows; its separate pages come after it.
    EXPECT_EQ(frame_->MdiArea()->subWindowList().size(), 3);
    const FrameWindow pages[] = {FrameWindow::Notes, FrameWindow::FilterCharacteristics,
                                 FrameWindow::Introduction, FrameWindow::LicenseInformation};
    for (FrameWindow page : pages) EXPECT_EQ(frame_->GetFrameWindow(page), nullptr) << static_cast<int>(page);

    // As the program does it: queued, run by the event loop.
    ShowRecorder recorder;
    qApp->installEventFilter(&recorder);
    QMetaObject::invokeMethod(frame_.get(), &MainFrame::ShowStartupPages, Qt::QueuedConnection);
    QCoreApplication::processEvents();
    frame_->ShowStartupPages();
    qApp->removeEventFilter(&recorder);
    const QStringList order{"notes_page", "filter_characteristics_page", "introduction_page", "license_page"};
    EXPECT_EQ(recorder.shown, order);
    // Each page's last change of stacking, in order: the licence ends on top.
    QStringList lastRaised;
    for (qsizetype i = recorder.raised.size(); i-- > 0;) {
        if (!lastRaised.contains(recorder.raised[i])) lastRaised.prepend(recorder.raised[i]);
    }
    EXPECT_EQ(lastRaised, order);
    for (FrameWindow page : pages) {
        QWidget* window = frame_->GetFrameWindow(page);
        ASSERT_NE(window, nullptr) << static_cast<int>(page);
        EXPECT_TRUE(window->isVisible()) << window->objectName().toStdString();
        EXPECT_EQ(window->parentWidget(), frame_.get());
    }
    EXPECT_EQ(frame_->LicenseInformation()->windowTitle(), "License Information");
    EXPECT_TRUE(frame_->LicenseInformation()->windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    EXPECT_EQ(frame_->MdiArea()->currentSubWindow(), Sub(DocumentWindow::Specification));
    EXPECT_EQ(frame_->MdiArea()->subWindowList(QMdiArea::StackingOrder).last(),
              Sub(DocumentWindow::Specification));
    EXPECT_TRUE(frame_->isMaximized());
}

// The windows the frame opens from its Help, Sales and Configure menus.
const QStringList kFrameWindowNames{
    "contact_page", "notes_page", "filter_characteristics_page", "introduction_page",
    "license_page", "about_box",  "configuration_page",          "quote_request_window"};

TEST_F(FrameTest, FirstStartShowsTheFourStartupPagesWithTheLicenceLast) {
    ShowRecorder recorder;
    qApp->installEventFilter(&recorder);
    Start();
    qApp->removeEventFilter(&recorder);
    QStringList pages;
    for (const QString& name : recorder.shown) {
        if (kFrameWindowNames.contains(name)) pages << name;
    }
    EXPECT_EQ(pages, (QStringList{"notes_page", "filter_characteristics_page", "introduction_page",
                                  "license_page"}));
    EXPECT_FALSE(frame_->ContactInformation()->isVisible());
    EXPECT_FALSE(frame_->ConfigurationInstructions()->isVisible());
    EXPECT_FALSE(frame_->RequestForQuote()->isVisible());
    EXPECT_FALSE(frame_->About()->isVisible());
    EXPECT_EQ(frame_->GetFrameWindow(FrameWindow::RequestForQuote),
              static_cast<QWidget*>(frame_->RequestForQuote()));
    EXPECT_EQ(frame_->GetFrameWindow(FrameWindow::LicenseInformation),
              static_cast<QWidget*>(frame_->LicenseInformation()));

    // Every item has its window now.
    for (QAction* item :
         {frame_->Actions().Action("request_for_quote"), frame_->Actions().Action("contact_information"),
          frame_->Actions().Action("configuration_instructions"),
          frame_->Actions().Action("configure_separator"), frame_->Actions().Action("license_information"),
          frame_->Actions().Action("introduction"), frame_->Actions().Action("filter_characteristics"),
          frame_->Actions().Action("notes"), frame_->Actions().Action("help_separator"),
          frame_->Actions().Action("about")}) {
        EXPECT_TRUE(item->isVisible()) << item->text().toStdString();
    }

    emit frame_->Actions().Menu("help")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("license_information")->isEnabled());
    EXPECT_FALSE(frame_->Actions().Action("introduction")->isEnabled());
    EXPECT_FALSE(frame_->Actions().Action("filter_characteristics")->isEnabled());
    EXPECT_FALSE(frame_->Actions().Action("notes")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("about")->isEnabled());

    frame_->LicenseInformation()->Actions().Action("exit")->trigger();
    frame_->Notes()->close();
    emit frame_->Actions().Menu("help")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("license_information")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("notes")->isEnabled());
    EXPECT_FALSE(frame_->Actions().Action("introduction")->isEnabled());
    EXPECT_FALSE(PreferencesText().size()) << "nothing written before the introduction closes";

    frame_->Introduction()->close();
    EXPECT_EQ(PreferencesText(), "E\nI\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    emit frame_->Actions().Menu("help")->aboutToShow();
    frame_->Actions().Action("introduction")->trigger();
    EXPECT_TRUE(frame_->Introduction()->isVisible());
    frame_->Actions().Action("notes")->trigger();
    EXPECT_TRUE(frame_->Notes()->isVisible());
}

TEST_F(FrameTest, FontCommandRepaintsTheOpenPagesInTheNewFont) {
    Start();
    ASSERT_TRUE(frame_->LicenseInformation()->isVisible());
    QCoreApplication::processEvents();
    ASSERT_FALSE(frame_->LicenseInformation()->DrawnTexts().empty());
    EXPECT_EQ(frame_->LicenseInformation()->DrawnTexts().back().pixelSize, 16);
    frame_->Actions().Action("font_small_arial")->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->LicenseInformation()->DrawnTexts().back().pixelSize, 13)
        << "the legal notice at the new medium size";
    EXPECT_EQ(frame_->LicenseInformation()->DrawnTexts().back().text, LicensePage::LegalNotice());
}

TEST_F(FrameTest, LaterStartsShowFewerPages) {
    WritePreferencesText("E\nI\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    Start();
    EXPECT_TRUE(frame_->Notes()->isVisible());
    EXPECT_TRUE(frame_->FilterCharacteristics()->isVisible());
    EXPECT_FALSE(frame_->Introduction()->isVisible());
    EXPECT_FALSE(frame_->LicenseInformation()->isVisible());

    frame_->Actions().Action("preserve_preferences")->trigger();
    frame_.reset();
    Start();
    for (QWidget* page :
         std::initializer_list<QWidget*>{frame_->Notes(), frame_->FilterCharacteristics(),
                                         frame_->Introduction(), frame_->LicenseInformation()})
        EXPECT_FALSE(page->isVisible()) << page->objectName().toStdString();
}

// Closes a window as the application's quit begins, before the quit's own closing of the windows:
// a quit may close the Introduction before the frame.
class ClosesFirstOnQuit : public QObject {
  public:
    std::function<QWidget*()> window;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == qApp && event->type() == QEvent::Quit && window && window()) window()->close();
        return false;
    }
};

// Ending the program as it runs: File > Exit closes the frame, whose closing quits the application;
// a quit from elsewhere (the session ending) comes straight to the application. Either closes every
// window still open, the Introduction among them, and neither is the user hiding it.
TEST_F(FrameTest, ExitWithTheIntroductionOpenWritesNothing) {
    const std::string users = "M\nN\n10\n20\n600\n400\n25\n25\n480\n300\n0\n0\n480\n300\n";
    for (const bool fromExit : {true, false}) {
        for (const bool hadFile : {false, true}) {
            SCOPED_TRACE(std::string(fromExit ? "File > Exit, " : "the application's quit, ") +
                         (hadFile ? "a user's file" : "no file"));
            std::error_code ignored;
            fs::remove(program_.PreferencesPath, ignored);
            if (hadFile) WritePreferencesText(users);
            program_.Ending = false;  // a new run
            ClosesFirstOnQuit introFirst;
            if (!fromExit) {
                introFirst.window = [this] {
                    return frame_ ? static_cast<QWidget*>(frame_->Introduction()) : nullptr;
                };
                qApp->installEventFilter(&introFirst);
            }
            Start();
            ASSERT_TRUE(frame_->Introduction()->isVisible());
            QObject::connect(frame_.get(), &MainFrame::Closed, qApp, &QApplication::quit);
            if (fromExit) {
                QTimer::singleShot(0, frame_->Actions().Action("exit"), &QAction::trigger);
            } else {
                QTimer::singleShot(0, qApp, &QApplication::quit);
            }
            QTimer stuck;
            stuck.setSingleShot(true);
            QObject::connect(&stuck, &QTimer::timeout, [] { QCoreApplication::exit(1); });
            stuck.start(10000);
            EXPECT_EQ(QApplication::exec(), 0) << "the program did not end";
            EXPECT_FALSE(frame_->Introduction()->isVisible()) << "the quit closes the page";
            frame_.reset();
            if (hadFile) {
                std::ifstream in(program_.PreferencesPath, std::ios::binary);
                EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), users);
            } else {
                EXPECT_FALSE(fs::exists(program_.PreferencesPath));
            }
        }
    }
}

TEST_F(FrameTest, SalesAndConfigureOpenTheRealWindows) {
    WritePreferencesText("E\nY\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    Start();
    frame_->Actions().Action("contact_information")->trigger();
    EXPECT_TRUE(frame_->ContactInformation()->isVisible());
    emit frame_->Actions().Menu("sales")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("contact_information")->isEnabled());
    frame_->Actions().Action("request_for_quote")->trigger();
    EXPECT_TRUE(frame_->RequestForQuote()->isVisible());
    frame_->Actions().Action("configuration_instructions")->trigger();
    EXPECT_TRUE(frame_->ConfigurationInstructions()->isVisible());
    emit frame_->Actions().Menu("configure")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("configuration_instructions")->isEnabled());
    frame_->ConfigurationInstructions()->Actions().Action("exit")->trigger();
    emit frame_->Actions().Menu("configure")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("configuration_instructions")->isEnabled());
}

// --- Closing, activation, exit ---

TEST_F(FrameTest, ClosingADocumentWindowMinimisesIt) {
    Start();
    QPointer<DocumentMdiWindow> tabular = Sub(DocumentWindow::TabularData);
    const QRect before = tabular->geometry();
    tabular->close();
    QCoreApplication::processEvents();
    ASSERT_FALSE(tabular.isNull());
    EXPECT_TRUE(tabular->isMinimized());
    EXPECT_TRUE(tabular->isVisible());
    EXPECT_EQ(tabular->NormalRect(), (WindowRect{before.x(), before.y(), before.width(), before.height()}));

    frame_->BringToFront(DocumentWindow::TabularData);
    EXPECT_FALSE(tabular->isMinimized());
    EXPECT_EQ(tabular->geometry(), before);
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), tabular.data());
}

TEST_F(FrameTest, ExitClosesTheFrame) {
    Start();
    QSignalSpy closed(frame_.get(), &MainFrame::Closed);
    program_.Hub->ExitProgram();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(frame_->isVisible());
}

TEST_F(FrameTest, HubRoutesRepaintsToTheNamedWindow) {
    Start();
    program_.Hub->Invalidate(DocumentWindow::TabularData);
    program_.Hub->Invalidate(DocumentWindow::Outline);
    EXPECT_EQ(frame_->invalidated, (std::vector<QWidget*>{frame_->DocumentWidget(DocumentWindow::TabularData),
                                                          frame_->Outline()}));
}

TEST_F(FrameTest, RepaintNowJudgesTheSelectionEvenWhileTheScreenIsCovered) {
    Start();
    Sub(DocumentWindow::Outline)->showMaximized();
    frame_->BringToFront(DocumentWindow::Outline);
    QCoreApplication::processEvents();
    program_.Spec.F0 = 9000.0;
    auto* mechanical = frame_->findChild<QPushButton*>("mounting_configuration_button");
    ASSERT_NE(mechanical, nullptr);
    mechanical->click();
    EXPECT_NE(program_.Spec.SelStatus, kSelectionValid);
}

// --- Window menu ---

TEST_F(FrameTest, CascadeSetsTopAndLeftKeepsStatesAndActivatesSelect) {
    Start();
    Sub(DocumentWindow::TabularData)->setGeometry(300, 200, 410, 220);
    Sub(DocumentWindow::Outline)->setGeometry(10, 400, 420, 230);
    Sub(DocumentWindow::Specification)->setGeometry(500, 10, 430, 240);
    Sub(DocumentWindow::Outline)->showMinimized();
    frame_->BringToFront(DocumentWindow::TabularData);

    const QSize icon = Sub(DocumentWindow::Outline)->size();

    frame_->Actions().Action("cascade")->trigger();
    EXPECT_EQ(Sub(DocumentWindow::TabularData)->geometry(), QRect(0, 0, 410, 220));
    // Only Top and Left change: the minimised window stays minimised, its icon at 25, 25.
    EXPECT_TRUE(Sub(DocumentWindow::Outline)->isMinimized());
    EXPECT_EQ(Sub(DocumentWindow::Outline)->geometry(), QRect(QPoint(25, 25), icon));
    EXPECT_EQ(Sub(DocumentWindow::Specification)->geometry(), QRect(50, 50, 430, 240));
    EXPECT_FALSE(Sub(DocumentWindow::TabularData)->isMinimized());
    EXPECT_FALSE(Sub(DocumentWindow::Specification)->isMinimized());
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), Sub(DocumentWindow::Specification));
    const QList<QMdiSubWindow*> stack = frame_->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    EXPECT_EQ(stack.last(), Sub(DocumentWindow::Specification));

    // With every window restored, Mechanical is shown before Select and ends just below it.
    Sub(DocumentWindow::Outline)->showNormal();
    frame_->BringToFront(DocumentWindow::TabularData);
    frame_->Actions().Action("cascade")->trigger();
    const QList<QMdiSubWindow*> restored = frame_->MdiArea()->subWindowList(QMdiArea::StackingOrder);
    EXPECT_EQ(restored.last(), Sub(DocumentWindow::Specification));
    EXPECT_EQ(restored.at(restored.size() - 2), Sub(DocumentWindow::Outline));
    EXPECT_EQ(Sub(DocumentWindow::Outline)->pos(), QPoint(25, 25));
}

TEST_F(FrameTest, TileStacksTheWindowsAtFullWidth) {
    Start();
    frame_->Actions().Action("tile")->trigger();
    const QRect area = frame_->MdiArea()->viewport()->rect();
    const int row = area.height() / 3;
    // The active window takes the top row.
    EXPECT_EQ(Sub(DocumentWindow::Specification)->geometry(), QRect(0, 0, area.width(), row));
    EXPECT_EQ(Sub(DocumentWindow::Outline)->geometry().top(), row);
    EXPECT_EQ(Sub(DocumentWindow::TabularData)->geometry(),
              QRect(0, 2 * row, area.width(), area.height() - 2 * row));
}

TEST_F(FrameTest, ArrangeIconsLinesMinimisedWindowsAlongTheBottom) {
    Start();
    DocumentMdiWindow* tabular = Sub(DocumentWindow::TabularData);
    DocumentMdiWindow* mechanical = Sub(DocumentWindow::Outline);
    tabular->showMinimized();
    mechanical->showMinimized();
    tabular->move(400, 100);
    mechanical->move(20, 300);

    frame_->Actions().Action("arrange_icons")->trigger();
    const int bottom = frame_->MdiArea()->viewport()->rect().bottom() + 1;
    EXPECT_EQ(tabular->geometry().topLeft(), QPoint(0, bottom - tabular->height()));
    EXPECT_EQ(mechanical->geometry().topLeft(), QPoint(tabular->width(), bottom - mechanical->height()));
    EXPECT_FALSE(Sub(DocumentWindow::Specification)->isMinimized());
}

// --- Sales links ---

struct LinkCase {
    const char* name;
    const char* item;
    const char* target;
    const char* failure;
};

// Names the case in test listings instead of dumping its bytes.
void PrintTo(const LinkCase& c, std::ostream* os) { *os << c.name; }

class SalesLinks : public FrameTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(SalesLinks, OpenTheTargetAndReportOnlyFailure) {
    Start();
    QAction* item = frame_->Actions().Action(QString::fromLatin1(GetParam().item));
    ASSERT_NE(item, nullptr);
    item->trigger();
    EXPECT_EQ(shell_.opened, QStringList{GetParam().target});
    EXPECT_TRUE(messages_.texts.isEmpty());

    shell_.succeeds = false;
    item->trigger();
    EXPECT_EQ(messages_.texts, QStringList{GetParam().failure});
}

INSTANTIATE_TEST_SUITE_P(
    Items, SalesLinks,
    ::testing::Values(
        LinkCase{"VeltrixOnline", "veltrix_online", "https://www.norvane.example/veltrix.html",
                 "Unable to start web browser."},
        LinkCase{"EmailSales", "email_sales", "mailto:sales@norvane.example", "Unable to start mail client."},
        LinkCase{"Representatives", "representatives", "https://www.norvane.example/reps/index.html",
                 "Unable to start web browser."}),
    [](const ::testing::TestParamInfo<LinkCase>& info) { return std::string(info.param.name); });

// --- Help, Sales and Configure items follow their windows ---

TEST_F(FrameTest, HelpItemsEnabledExactlyWhileTheirPageIsHidden) {
    Start();
    QWidget own, intro, info, notes, about;
    frame_->SetFrameWindow(FrameWindow::LicenseInformation, &own);
    frame_->SetFrameWindow(FrameWindow::Introduction, &intro);
    frame_->SetFrameWindow(FrameWindow::FilterCharacteristics, &info);
    frame_->SetFrameWindow(FrameWindow::Notes, &notes);
    frame_->SetFrameWindow(FrameWindow::About, &about);
    EXPECT_TRUE(frame_->Actions().Action("help_separator")->isVisible());

    notes.show();
    emit frame_->Actions().Menu("help")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("notes")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("license_information")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("introduction")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("filter_characteristics")->isEnabled());
    EXPECT_TRUE(frame_->Actions().Action("about")->isEnabled());

    notes.hide();
    intro.show();
    emit frame_->Actions().Menu("help")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("notes")->isEnabled());
    EXPECT_FALSE(frame_->Actions().Action("introduction")->isEnabled());

    frame_->Actions().Action("filter_characteristics")->trigger();
    EXPECT_TRUE(info.isVisible());
}

TEST_F(FrameTest, SalesAndConfigureItemsFollowTheirWindows) {
    Start();
    QWidget reach, rfq, instructions;
    frame_->SetFrameWindow(FrameWindow::ContactInformation, &reach);
    frame_->SetFrameWindow(FrameWindow::RequestForQuote, &rfq);
    frame_->SetFrameWindow(FrameWindow::ConfigurationInstructions, &instructions);
    EXPECT_TRUE(frame_->Actions().Action("contact_information")->isVisible());
    EXPECT_TRUE(frame_->Actions().Action("configuration_instructions")->isVisible());

    frame_->Actions().Action("contact_information")->trigger();
    EXPECT_TRUE(reach.isVisible());
    emit frame_->Actions().Menu("sales")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("contact_information")->isEnabled());
    reach.hide();
    emit frame_->Actions().Menu("sales")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("contact_information")->isEnabled());

    // The quote window is never disabled; asking again while it is open brings it forward.
    frame_->Actions().Action("request_for_quote")->trigger();
    emit frame_->Actions().Menu("sales")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("request_for_quote")->isEnabled());
    frame_->Actions().Action("request_for_quote")->trigger();
    EXPECT_TRUE(rfq.isVisible());

    frame_->Actions().Action("configuration_instructions")->trigger();
    emit frame_->Actions().Menu("configure")->aboutToShow();
    EXPECT_FALSE(frame_->Actions().Action("configuration_instructions")->isEnabled());
    instructions.hide();
    emit frame_->Actions().Menu("configure")->aboutToShow();
    EXPECT_TRUE(frame_->Actions().Action("configuration_instructions")->isEnabled());
}

TEST_F(FrameTest, AboutIsShownModally) {
    Start();
    QDialog about;
    frame_->SetFrameWindow(FrameWindow::About, &about);
    bool shownModal = false;
    WhenModal([&] {
        shownModal = QApplication::activeModalWidget() == &about;
        about.accept();
    });
    frame_->Actions().Action("about")->trigger();
    EXPECT_TRUE(shownModal);
}

// --- Font commands ---

TEST_F(FrameTest, FontCommandsMoveTheCheckMarkAndSetSizes) {
    Start();
    EXPECT_TRUE(frame_->Actions().Action("font_ms_sans_serif")->isChecked());
    frame_->Actions().Action("font_small_arial")->trigger();
    EXPECT_TRUE(frame_->Actions().Action("font_small_arial")->isChecked());
    EXPECT_FALSE(frame_->Actions().Action("font_ms_sans_serif")->isChecked());
    EXPECT_FALSE(frame_->Actions().Action("font_arial")->isChecked());
    EXPECT_EQ(program_.Display.FontName, QString("Arial"));
    EXPECT_EQ(program_.Display.FontSizeLarge, 12);
    EXPECT_EQ(program_.Display.FontSizeTiny, 6);

    frame_->Actions().Action("font_ms_sans_serif")->trigger();
    EXPECT_TRUE(frame_->Actions().Action("font_ms_sans_serif")->isChecked());
    EXPECT_FALSE(frame_->Actions().Action("font_small_arial")->isChecked());
    EXPECT_EQ(program_.Display.FontName, QString("MS Sans Serif"));
    EXPECT_EQ(program_.Display.FontSizeLarge, 14);
    EXPECT_EQ(program_.Display.FontSizeMedium, 12);
    EXPECT_EQ(program_.Display.FontSizeSmall, 10);
    EXPECT_EQ(program_.Display.FontSizeTiny, 8);

    // Selecting the checked item again leaves it checked.
    frame_->Actions().Action("font_ms_sans_serif")->trigger();
    EXPECT_TRUE(frame_->Actions().Action("font_ms_sans_serif")->isChecked());
}

TEST_F(FrameTest, FontCommandInvalidatesInItsOrder) {
    Start();
    QWidget* select = frame_->DocumentWidget(DocumentWindow::Specification);
    frame_->Actions().Action("font_arial")->trigger();
    EXPECT_EQ(frame_->invalidated,
              (std::vector<QWidget*>{frame_->LicenseInformation(), frame_->Introduction(),
                                     frame_->FilterCharacteristics(), select, frame_->Outline()}));

    QWidget own, intro, info, notes;
    frame_->SetFrameWindow(FrameWindow::LicenseInformation, &own);
    frame_->SetFrameWindow(FrameWindow::Introduction, &intro);
    frame_->SetFrameWindow(FrameWindow::FilterCharacteristics, &info);
    frame_->SetFrameWindow(FrameWindow::Notes, &notes);
    frame_->invalidated.clear();
    frame_->Actions().Action("font_small_arial")->trigger();
    EXPECT_EQ(frame_->invalidated, (std::vector<QWidget*>{&own, &intro, &info, select, frame_->Outline()}));
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
            FieldOffsetsDialog* dlg = frame_->FieldOffsets();
            dlg->HorizontalEdit()->setText(x);
            dlg->VerticalEdit()->setText(y);
            QTest::mouseClick(ok ? dlg->OkButton() : dlg->CancelButton(), Qt::LeftButton);
        });
        frame_->Actions().Action("offsets")->trigger();
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
        FieldOffsetsDialog* dlg = frame_->FieldOffsets();
        first = dlg->HorizontalEdit()->text();
        second = dlg->VerticalEdit()->text();
        focusOnFirst = dlg->focusWidget() == dlg->HorizontalEdit();
        dlg->reject();
    });
    frame_->Actions().Action("offsets")->trigger();
    EXPECT_EQ(first, QString("-12"));
    EXPECT_EQ(second, QString("34"));
    EXPECT_TRUE(focusOnFirst);
    QCoreApplication::processEvents();
    EXPECT_EQ(frame_->FieldOffsets()->focusWidget(), frame_->FieldOffsets()->OkButton())
        << "focus goes back to OK on hiding: "
        << frame_->FieldOffsets()->focusWidget()->objectName().toStdString();
}

TEST_F(OffsetsDialog, RepaintsTheScreenOnlyWhenAValueChanged) {
    Start();
    QWidget* select = frame_->DocumentWidget(DocumentWindow::Specification);
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

    // The result fields are at their new place before the screen paints.
    const QLabel* il0 = select->findChild<QLabel*>("insertion_loss");
    ASSERT_NE(il0, nullptr);
    EXPECT_EQ(il0->pos(), QPoint(-4, 256));
    EXPECT_EQ(select->findChild<QLabel*>("stopband_f1_attenuation")->pos(), QPoint(116, 338));
    EXPECT_EQ(select->findChild<QLabel*>("stopband_f2_attenuation")->pos(), QPoint(212, 338));
}

TEST_F(OffsetsDialog, EnterInAFieldIsOk) {
    Start();
    WhenModal([&] {
        frame_->FieldOffsets()->VerticalEdit()->setText("-20");
        frame_->FieldOffsets()->VerticalEdit()->setFocus();
        QTest::keyClick(frame_->FieldOffsets()->VerticalEdit(), Qt::Key_Return);
    });
    frame_->Actions().Action("offsets")->trigger();
    EXPECT_EQ(program_.Display.FieldOffsetY, -20);
}

// --- Preferences commands ---

TEST_F(FrameTest, PreserveWritesTheWindowsAsTheyAreNow) {
    Start();
    Sub(DocumentWindow::Specification)->setGeometry(10, 20, 600, 400);
    Sub(DocumentWindow::Outline)->setGeometry(1, 2, 300, 200);
    // A minimised window is saved where it opens again when restored.
    Sub(DocumentWindow::TabularData)->setGeometry(3, 4, 310, 210);
    Sub(DocumentWindow::TabularData)->close();
    program_.Spec.Units = DrawingUnits::Millimetres;

    frame_->Actions().Action("preserve_preferences")->trigger();
    EXPECT_EQ(PreferencesText(), "M\nY\n10\n20\n600\n400\n1\n2\n300\n200\n3\n4\n310\n210\n");
    EXPECT_EQ(program_.Prefs.StartupScreens, StartupPagesState::Preserved);
    EXPECT_EQ(program_.Prefs.SelectRect, (WindowRect{50, 50, 480, 300}))
        << "memory keeps the start-up rectangles";
    EXPECT_FALSE(frame_->Actions().Action("preserve_preferences")->isChecked());
    EXPECT_TRUE(messages_.texts.isEmpty());

    // The next start opens the windows there.
    frame_.reset();
    Start();
    EXPECT_EQ(Sub(DocumentWindow::Specification)->geometry(), QRect(10, 20, 600, 400));
    EXPECT_EQ(program_.Spec.Units, DrawingUnits::Millimetres);
}

TEST_F(FrameTest, ResetWritesTheFactoryStateAndLeavesTheScreenAlone) {
    WritePreferencesText("M\nY\n10\n20\n600\n400\n1\n2\n300\n200\n3\n4\n310\n210\n");
    Start();
    frame_->Actions().Action("reset_preferences")->trigger();
    EXPECT_EQ(PreferencesText(), "E\nN\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n");
    EXPECT_EQ(program_.Prefs.StartupScreens, StartupPagesState::AllShown);
    EXPECT_EQ(program_.Spec.Units, DrawingUnits::Millimetres) << "units in use stay until the next start";
    EXPECT_EQ(Sub(DocumentWindow::Specification)->geometry(), QRect(10, 20, 600, 400));
}

TEST_F(FrameTest, PreferenceCommandsInAnUnwritablePlaceFailSilently) {
    program_.PreferencesPath = (dir_ / "missing" / "veltrix.dat").string();
    Start();
    frame_->Actions().Action("preserve_preferences")->trigger();
    EXPECT_EQ(program_.Prefs.StartupScreens, StartupPagesState::Preserved);
    frame_->Actions().Action("reset_preferences")->trigger();
    EXPECT_EQ(program_.Prefs.StartupScreens, StartupPagesState::AllShown);
    EXPECT_TRUE(messages_.texts.isEmpty());
    EXPECT_FALSE(fs::exists(program_.PreferencesPath));
}

// --- Printing through the hub ---

// A second painted window, as the outline and information windows will be.
class OtherForm : public QWidget, public PaintedForm {
  public:
    void FormPaint(QPainter&, QSize) override {}
    QWidget* FormWidget() override { return this; }
};

TEST_F(FrameTest, PrintFormRunsThePrintDialogOnTheWindowsOwnPrinter) {
    Start();
    auto* select = static_cast<SpecificationWindow*>(frame_->DocumentWidget(DocumentWindow::Specification));
    OtherForm other;
    program_.Hub->PrintForm(*select, "Veltrix Filter Specification");
    program_.Hub->PrintForm(other, "Veltrix Outline");
    program_.Hub->PrintForm(*select, "Veltrix Filter Specification");
    EXPECT_EQ(printDialogs_.runs, 3);
    EXPECT_EQ(program_.Display.PaintCopyMode, CopyMode::Source);
    EXPECT_TRUE(messages_.texts.isEmpty()) << "a cancelled dialog prints nothing and says nothing";
    // Each window keeps its own printer, and the dialog is offered a file named after the job.
    ASSERT_EQ(printDialogs_.printers.size(), 3u);
    EXPECT_NE(printDialogs_.printers[0], printDialogs_.printers[1]);
    EXPECT_EQ(printDialogs_.printers[0], printDialogs_.printers[2]);
    EXPECT_EQ(printDialogs_.docNames, (std::vector<QString>{"Veltrix Filter Specification", "Veltrix Outline",
                                                            "Veltrix Filter Specification"}));
}

TEST_F(FrameTest, PrintExceptionShowsAbortPrintModally) {
    Start();
    bool shown = false;
    WhenModal([&] {
        shown = QApplication::activeModalWidget() == frame_->AbortPrint();
        frame_->AbortPrint()->reject();
    });
    program_.Hub->ShowPrintException();
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace veltrix

namespace veltrix {
namespace {

TEST_F(FrameTest, FindPartsOpensFromTheEndOfSalesAndItsChoiceReachesTheScreen) {
    Start();
    EXPECT_EQ(frame_->Actions().Menu("sales")->actions().last(), frame_->Actions().Action("find_parts"));
    EXPECT_EQ(frame_->Actions().Action("find_parts")->text(), QStringLiteral("Find &Parts..."));
    frame_->Actions().Action("find_parts")->trigger();
    EXPECT_TRUE(Sub(DocumentWindow::Finder)->isVisible());
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), Sub(DocumentWindow::Finder));
    DocumentMdiWindow* const made = Sub(DocumentWindow::Finder);
    frame_->Actions().Action("find_parts")->trigger();
    EXPECT_EQ(Sub(DocumentWindow::Finder), made) << "asked again, the same window comes forward";

    FindPartsWindow* finder = frame_->FindParts();
    finder->CentreFrequencyEdit()->setText(QStringLiteral("1500"));
    finder->BandwidthEdit()->setText(QStringLiteral("30"));
    ASSERT_FALSE(finder->Results().Parts.empty());
    const FoundPart best = finder->Results().Parts.front();
    finder->ChooseRow(0);

    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), Sub(DocumentWindow::Specification));
    EXPECT_EQ(program_.Spec.F0, 1500.0);
    EXPECT_EQ(program_.Spec.Sections, best.Sections);
    EXPECT_EQ(program_.Spec.Mounting, best.Mounting);
    EXPECT_EQ(frame_->Specification()->findChild<QComboBox*>(QStringLiteral("sections"))->currentText(),
              QString::number(best.Sections));
    QImage image(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    frame_->Specification()->FormPaint(painter, image.size());
    EXPECT_EQ(program_.Spec.SelStatus, kSelectionValid);
    bool shown = false;
    for (const DrawnText& text : frame_->Specification()->DrawnTexts())
        shown = shown || text.text == QString::fromStdString(best.PartNumber);
    EXPECT_TRUE(shown) << best.PartNumber;
}

TEST_F(FrameTest, FindersCompareOpensComparePartsWithTheMarkedPartsAndTheirLegend) {
    Start();
    EXPECT_EQ(Sub(DocumentWindow::Compare), nullptr) << "made on first use";
    FindPartsWindow* finder = testing::OpenFinderFor1500MHz(*frame_);
    ASSERT_GE(finder->Results().Parts.size(), 3u);
    QTableView* results = finder->ResultsView();
    results->setFocus();
    testing::ClickRow(results, 0);
    for (int row : {1, 2}) testing::ClickRow(results, row, Qt::ControlModifier);
    QTest::mouseClick(finder->CompareButton(), Qt::LeftButton);

    ASSERT_NE(Sub(DocumentWindow::Compare), nullptr);
    EXPECT_EQ(frame_->MdiArea()->activeSubWindow(), Sub(DocumentWindow::Compare));
    CompareWindow* compare = frame_->Comparison();
    EXPECT_GT(compare->width(), CompareWindow::kClientWidth / 2) << "shown, not as a sliver";
    ASSERT_EQ(compare->Parts().Curves().size(), 3u);
    ASSERT_EQ(compare->Parts().Limits().size(), 1u);
    EXPECT_EQ(compare->Parts().Limits()[0].FrequencyMhz, 1400.0);
    QImage image(CompareWindow::kClientWidth, CompareWindow::kClientHeight, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        compare->FormPaint(painter, image.size());
    }
    for (size_t i = 0; i < 3; ++i) {
        const QString part = QString::fromStdString(finder->Results().Parts[i].PartNumber);
        bool inLegend = false;
        for (const DrawnText& text : compare->DrawnTexts())
            inLegend = inLegend || (text.text == part && text.colour == TraceColour(static_cast<int>(i)));
        EXPECT_TRUE(inLegend) << part.toStdString();
    }
    EXPECT_TRUE(
        frame_->Actions().Menu("window")->actions().contains(frame_->Actions().Action("compare_parts")));
    EXPECT_TRUE(VisibleMenuTitles(frame_->menuBar()).contains(QStringLiteral("&Graph")))
        << "the window's menus merge into the frame's";

    // The specification screen's part is added to the same window; a repeat is refused with a message.
    finder->ChooseRow(3);
    frame_->Specification()->Actions().Action(QStringLiteral("add_to_comparison"))->trigger();
    EXPECT_EQ(frame_->Comparison(), compare);
    EXPECT_EQ(compare->Parts().Curves().size(), 4u);
    frame_->Specification()->Actions().Action(QStringLiteral("add_to_comparison"))->trigger();
    EXPECT_EQ(compare->Parts().Curves().size(), 4u);
    ASSERT_FALSE(messages_.texts.isEmpty());
    EXPECT_TRUE(messages_.texts.last().contains(QStringLiteral("already in the comparison")));
}

}  // namespace
}  // namespace veltrix
