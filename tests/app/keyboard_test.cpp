// Keyboard use of every window in the running frame: the Tab walk, the mnemonics of the buttons
// and Escape.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "app/frame.h"
#include "app/move_dialog.h"
#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/rfq.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "program/program.h"
#include "spec_screen/select_window.h"
#include "spec_screen/tolerances_dialog.h"
#include "tabular/tabular_window.h"

namespace veltrix {
namespace {

class QuietMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget*, const QString&, const QString&) override {}
};

class QuietShell : public DesktopShell {
  public:
    bool Open(const QString&) override { return true; }
};

class RefusedPrintDialogs : public PrintDialogRunner {
  public:
    bool Run(QPrinter&, QWidget*) override { return false; }
};

enum class EscapeKey { NotADialog, Closes, Stays };

struct WindowCase {
    const char* name;
    std::function<QWidget*(TVXFrame&)> window;
    // Object names in the order Tab visits them, from the first.
    QStringList tabOrder;
    // Buttons by object name, with their texts; each is clicked through its mnemonic.
    std::vector<std::pair<QString, QString>> mnemonics;
    EscapeKey escape;
    // A button whose mnemonic a menu of the same window shares: the key only moves the focus to it,
    // and Space then clicks it.
    QString sharedMnemonic = {};
};

void PrintTo(const WindowCase& c, std::ostream* os) { *os << c.name; }

QWidget* Child(QWidget* window, const QString& name) {
    if (window->objectName() == name) return window;
    return window->findChild<QWidget*>(name);
}

QString FocusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QStringLiteral("(none)");
}

// The whole program, shown, on a preferences file of its own.
class KeyboardFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        program_.PreferencesPath = dir_.filePath(QStringLiteral("veltrix.dat")).toStdString();
        program_.Messages = &messages_;
        program_.Shell = &shell_;
        program_.PrintDialogs = &printDialogs_;
        frame_ = std::make_unique<TVXFrame>(program_);
        frame_->CreateWindows();
        frame_->resize(1200, 800);
        frame_->show();
        QCoreApplication::processEvents();
    }
    void TearDown() override { frame_.reset(); }

    // Shows the window as the user meets it: a document window active in the frame, any other on
    // its own and active.
    QWidget* Present(QWidget* window) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            frame_->MdiArea->setActiveSubWindow(sub);
            sub->showNormal();
            QApplication::setActiveWindow(frame_.get());
        } else {
            window->show();
            QApplication::setActiveWindow(window);
        }
        QCoreApplication::processEvents();
        return window->window();
    }

    QTemporaryDir dir_;
    QuietMessages messages_;
    QuietShell shell_;
    RefusedPrintDialogs printDialogs_;
    Program program_;
    std::unique_ptr<TVXFrame> frame_;
};

class KeyboardTest : public KeyboardFixture, public ::testing::WithParamInterface<WindowCase> {};

TEST_P(KeyboardTest, TabWalksInOrderAndMnemonicsClickTheirButtons) {
    const WindowCase& c = GetParam();
    QWidget* window = c.window(*frame_);
    ASSERT_NE(window, nullptr);
    QWidget* top = Present(window);

    if (!c.tabOrder.isEmpty()) {
        QWidget* first = Child(window, c.tabOrder.front());
        ASSERT_NE(first, nullptr) << c.tabOrder.front().toStdString();
        first->setFocus(Qt::TabFocusReason);
        QStringList walked;
        for (qsizetype i = 0; i < c.tabOrder.size(); ++i) {
            walked << FocusName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        EXPECT_EQ(walked, c.tabOrder);
        // A window of its own brings Tab back round to the first control.
        if (window->isWindow() && c.tabOrder.size() > 1) {
            EXPECT_EQ(FocusName(), c.tabOrder.front());
        }
    }

    for (const auto& [name, text] : c.mnemonics) {
        auto* button = qobject_cast<QAbstractButton*>(Child(window, name));
        ASSERT_NE(button, nullptr) << name.toStdString();
        EXPECT_EQ(button->text(), text);
        Present(window);
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        const QKeySequence mnemonic = QKeySequence::mnemonic(text);
        ASSERT_FALSE(mnemonic.isEmpty()) << text.toStdString();
        QTest::keySequence(top, mnemonic);
        if (clicked.isEmpty()) clicked.wait(1000);
        EXPECT_EQ(clicked.count(), 1) << text.toStdString();
        // A click may open a modal dialog; put it away.
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) dialog->reject();
    }

    // A document window's menus, merged into the frame's bar, open with their mnemonics; where a
    // button shares the key, the second press reaches the menu.
    if (!window->isWindow()) {
        Present(window);
        const QList<QAction*> menus = frame_->menuBar()->actions();
        for (QAction* menu : menus) {
            if (!menu->isVisible()) continue;
            Present(window);
            const QKeySequence key = QKeySequence::mnemonic(menu->text());
            QTest::keySequence(top, key);
            QWidget* shared = c.sharedMnemonic.isEmpty() ? nullptr : Child(window, c.sharedMnemonic);
            // Qt takes turns between the holders of one key.
            if (shared && frame_->menuBar()->activeAction() != menu &&
                QKeySequence::mnemonic(qobject_cast<QAbstractButton*>(shared)->text()) == key) {
                EXPECT_EQ(FocusName(), c.sharedMnemonic);
                QTest::keySequence(top, key);
            }
            QAction* opened = frame_->menuBar()->activeAction();
            EXPECT_EQ(opened, menu) << menu->text().toStdString() << " opened "
                                    << (opened ? opened->text().toStdString() : "nothing");
            if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(frame_->menuBar()->actions(), menus);
    }

    if (!c.sharedMnemonic.isEmpty()) {
        auto* button = qobject_cast<QAbstractButton*>(Child(window, c.sharedMnemonic));
        ASSERT_NE(button, nullptr);
        Present(window);
        Child(window, c.tabOrder.back())->setFocus();
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keySequence(top, QKeySequence::mnemonic(button->text()));
        if (QWidget* popup = QApplication::activePopupWidget()) {
            // The menu's turn came first; the next press is the button's.
            popup->close();
            QCoreApplication::processEvents();
            QTest::keySequence(top, QKeySequence::mnemonic(button->text()));
        }
        EXPECT_EQ(FocusName(), c.sharedMnemonic);
        EXPECT_TRUE(clicked.isEmpty());
        QTest::keyClick(button, Qt::Key_Space);
        EXPECT_EQ(clicked.count(), 1);
    }
}

const WindowCase kWindows[] = {
    {"SpecificationScreen",
     [](TVXFrame& f) -> QWidget* { return f.Select; },
     {"SelMechBtn", "SelRespBtn", "TolBtn", "F0Edit", "NCBox", "BWEdit", "PBDCBox", "RPBox", "DBox", "F1Edit",
      "F2Edit", "comboGraphWidth"},
     {{"SelMechBtn", "&Outline Drawing"}, {"SelRespBtn", "&Tabular Data"}},
     EscapeKey::NotADialog},
    {"TabularData",
     [](TVXFrame& f) -> QWidget* { return f.Tabular; },
     {"RDMemo", "Button1", "Button2"},
     {{"Button1", "Selection Scree&n"}, {"Button2", "&Outline Drawings"}},
     EscapeKey::NotADialog},
    {"OutlineDrawings",
     [](TVXFrame& f) { return f.Mechanical; },
     {"MountBtn", "InchBtn", "mmBtn", "PCBBtn", "ReflBtn", "MechSelBtn", "MechRespBtn"},
     {{"InchBtn", "&Inches"},
      {"mmBtn", "Mi&llimeters"},
      {"PCBBtn", "&PCB Layout"},
      {"ReflBtn", "&Reflow Profile"},
      {"MechSelBtn", "Selection Scree&n"},
      {"MechRespBtn", "&Tabular Data"}},
     EscapeKey::NotADialog,
     "MountBtn"},
    {"RequestForQuote",
     [](TVXFrame& f) -> QWidget* { return f.RFQWin; },
     {"OnQBtn", "PrtQBtn"},
     {{"OnQBtn", "&Online Quote Form"}, {"PrtQBtn", "&Print Quote Form"}},
     EscapeKey::Stays},
    {"ContactInformation", [](TVXFrame& f) -> QWidget* { return f.ReachWin; }, {"CSWebBtn"}, {},
     EscapeKey::Closes},
    {"LicenseInformation", [](TVXFrame& f) -> QWidget* { return f.OwnWin; }, {}, {}, EscapeKey::Closes},
    {"Introduction", [](TVXFrame& f) -> QWidget* { return f.IntroWin; }, {}, {}, EscapeKey::Closes},
    {"FilterCharacteristics", [](TVXFrame& f) -> QWidget* { return f.InfoWin; }, {}, {}, EscapeKey::Closes},
    {"Notes", [](TVXFrame& f) -> QWidget* { return f.NoteWin; }, {}, {}, EscapeKey::Closes},
    {"ConfigurationInstructions", [](TVXFrame& f) -> QWidget* { return f.CfgWin; }, {}, {},
     EscapeKey::Closes},
    {"Offsets",
     [](TVXFrame& f) -> QWidget* { return f.MoveDlg; },
     {"Edit1", "Edit2", "OKBtn", "CancelBtn"},
     {},
     EscapeKey::Closes},
    {"Tolerances", [](TVXFrame& f) -> QWidget* { return f.TolWin; }, {"OKBtn"}, {}, EscapeKey::Closes},
    {"AbortPrint",
     [](TVXFrame& f) -> QWidget* { return f.PXDlg; },
     {"OKBtn", "CancelBtn"},
     {},
     EscapeKey::Closes},
    {"About", [](TVXFrame& f) -> QWidget* { return f.AboutBox; }, {"OKButton"}, {}, EscapeKey::Closes},
};

TEST_F(KeyboardFixture, EscapeClosesDialogsAndPagesButNotTheQuoteWindow) {
    for (const WindowCase& c : kWindows) {
        if (c.escape == EscapeKey::NotADialog) continue;
        SCOPED_TRACE(c.name);
        QWidget* window = c.window(*frame_);
        auto* dialog = qobject_cast<QDialog*>(window);
        if (dialog) {
            dialog->open();
            QApplication::setActiveWindow(dialog);
            QCoreApplication::processEvents();
        } else {
            Present(window);
        }
        ASSERT_TRUE(window->isVisible());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : window, Qt::Key_Escape);
        QCoreApplication::processEvents();
        EXPECT_EQ(window->isVisible(), c.escape == EscapeKey::Stays);
        if (dialog) {
            EXPECT_EQ(dialog->result(), QDialog::Rejected);
        }
        window->hide();
    }
}

// The windows with controls to walk; the plain pages appear only for Escape.
std::vector<WindowCase> WindowsWithControls() {
    std::vector<WindowCase> cases;
    for (const WindowCase& c : kWindows) {
        if (!c.tabOrder.isEmpty()) cases.push_back(c);
    }
    return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryWindow, KeyboardTest, ::testing::ValuesIn(WindowsWithControls()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrix
