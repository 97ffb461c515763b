// Keyboard use of every window in the running frame: the Tab walk, the mnemonics of the buttons,
// Escape, the document windows' keys, the report's last line, the link labels and the finder's sort.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTimer>
#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

#include "app/field_offsets_dialog.h"
#include "app/frame.h"
#include "compare_window/compare_window.h"
#include "finder_window/finder_window.h"
#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/quote_request_window.h"
#include "outline_window/outline_window.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "product_texts/contact_data.h"
#include "program/program.h"
#include "specification_window/specification_window.h"
#include "specification_window/tolerances_dialog.h"
#include "tabular_window/tabular_window.h"
#include "tests/app/shown_frame.h"
#include "tests/support/fakes.h"

namespace veltrix {
namespace {

enum class EscapeKey { NotADialog, Closes, Stays };

struct WindowCase {
    const char* name;
    std::function<QWidget*(MainFrame&)> window;
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

class KeyboardFixture : public testing::ShownFrameTest {
  protected:
    // Shows the window as the user meets it: a document window active in the frame, any other on
    // its own and active.
    QWidget* Present(QWidget* window) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
            frame_->MdiArea()->setActiveSubWindow(sub);
            sub->showNormal();
            QApplication::setActiveWindow(frame_.get());
        } else {
            window->show();
            QApplication::setActiveWindow(window);
        }
        QCoreApplication::processEvents();
        return window->window();
    }
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
     [](MainFrame& f) -> QWidget* { return f.Specification(); },
     {"outline_drawing_button", "tabular_data_button", "tolerances_button", "centre_frequency", "sections",
      "bandwidth", "passband_definition", "profile", "dielectric", "stopband_f1", "stopband_f2",
      "graph_width"},
     {{"outline_drawing_button", "&Outline Drawing"}, {"tabular_data_button", "&Tabular Data"}},
     EscapeKey::NotADialog},
    {"TabularData",
     [](MainFrame& f) -> QWidget* { return f.TabularData(); },
     {"response_data", "selection_screen_button", "outline_drawings_button"},
     {{"selection_screen_button", "Selection Scree&n"}, {"outline_drawings_button", "&Outline Drawings"}},
     EscapeKey::NotADialog},
    {"OutlineDrawings",
     [](MainFrame& f) { return f.Outline(); },
     {"mounting_configuration_button", "inches_button", "millimeters_button", "pcb_layout_button",
      "reflow_profile_button", "selection_screen_button", "tabular_data_button"},
     {{"inches_button", "&Inches"},
      {"millimeters_button", "Mi&llimeters"},
      {"pcb_layout_button", "&PCB Layout"},
      {"reflow_profile_button", "&Reflow Profile"},
      {"selection_screen_button", "Selection Scree&n"},
      {"tabular_data_button", "&Tabular Data"}},
     EscapeKey::NotADialog,
     "mounting_configuration_button"},
    {"RequestForQuote",
     [](MainFrame& f) -> QWidget* { return f.RequestForQuote(); },
     {"online_quote_button", "print_quote_button"},
     {{"online_quote_button", "&Online Quote Form"}, {"print_quote_button", "&Print Quote Form"}},
     EscapeKey::Stays},
    {"ContactInformation",
     [](MainFrame& f) -> QWidget* { return f.ContactInformation(); },
     {"sales_email", "europe_sales_email", "web_site_button"},
     {},
     EscapeKey::Closes},
    {"LicenseInformation",
     [](MainFrame& f) -> QWidget* { return f.LicenseInformation(); },
     {},
     {},
     EscapeKey::Closes},
    {"Introduction", [](MainFrame& f) -> QWidget* { return f.Introduction(); }, {}, {}, EscapeKey::Closes},
    {"FilterCharacteristics",
     [](MainFrame& f) -> QWidget* { return f.FilterCharacteristics(); },
     {"note1_link", "note2_link", "notes_link"},
     {},
     EscapeKey::Closes},
    {"Notes", [](MainFrame& f) -> QWidget* { return f.Notes(); }, {}, {}, EscapeKey::Closes},
    {"ConfigurationInstructions",
     [](MainFrame& f) -> QWidget* { return f.ConfigurationInstructions(); },
     {},
     {},
     EscapeKey::Closes},
    {"Offsets",
     [](MainFrame& f) -> QWidget* { return f.FieldOffsets(); },
     {"horizontal_offset", "vertical_offset", "ok_button", "cancel_button"},
     {},
     EscapeKey::Closes},
    {"Tolerances",
     [](MainFrame& f) -> QWidget* { return f.Tolerances(); },
     {"ok_button"},
     {},
     EscapeKey::Closes},
    {"AbortPrint",
     [](MainFrame& f) -> QWidget* { return f.AbortPrint(); },
     {"ok_button", "cancel_button"},
     {},
     EscapeKey::Closes},
    {"About",
     [](MainFrame& f) -> QWidget* { return f.About(); },
     {"web_site_link", "ok_button"},
     {},
     EscapeKey::Closes},
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

// The keys alone, as a user without a mouse gives them: every mouse event delivered is counted.
class KeysOnlyTest : public KeyboardFixture {
  protected:
    void SetUp() override {
        KeyboardFixture::SetUp();
        qApp->installEventFilter(&mice_);
        QApplication::setActiveWindow(frame_.get());
        QCoreApplication::processEvents();
    }
    void TearDown() override {
        qApp->removeEventFilter(&mice_);
        EXPECT_EQ(mice_.count, 0) << "a mouse event reached the program";
        KeyboardFixture::TearDown();
    }

    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* focus = QApplication::focusWidget();
        QWidget* target = focus ? focus : QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
    // Runs the keys in the menu that the next step opens (a menu's exec does not return until then).
    static void InNextPopup(std::function<void(QMenu*)> keys) {
        QTimer::singleShot(0, qApp, [keys] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (menu == nullptr) return;
            keys(menu);
            if (QApplication::activePopupWidget() == menu) menu->close();
        });
    }
    QString ActiveTitle() const {
        QMdiSubWindow* active = frame_->MdiArea()->currentSubWindow();
        return active ? active->windowTitle() : QStringLiteral("(none)");
    }

    testing::MouseCounter mice_;
};

TEST_F(KeysOnlyTest, DocumentWindowKeysReachEveryWindowAndMaximiseAndRestoreOne) {
    frame_->Actions().Action("find_parts")->trigger();
    ASSERT_EQ(ActiveTitle(), "Find Parts");
    const QStringList round{"Tabular Data", "Outline Drawings", "Specify Filter", "Find Parts"};

    for (const Qt::Key key : {Qt::Key_F6, Qt::Key_Tab}) {
        QStringList forward;
        for (int i = 0; i < 4; ++i) {
            Press(key, Qt::ControlModifier);
            forward << ActiveTitle();
        }
        EXPECT_EQ(forward, round) << "Ctrl+" << QKeySequence(key).toString().toStdString();
    }
    // The desktop gives Shift+Tab as Backtab.
    for (const Qt::Key key : {Qt::Key_F6, Qt::Key_Backtab}) {
        QStringList back;
        for (int i = 0; i < 4; ++i) {
            Press(key, Qt::ControlModifier | Qt::ShiftModifier);
            back << ActiveTitle();
        }
        EXPECT_EQ(back, (QStringList{"Specify Filter", "Outline Drawings", "Tabular Data", "Find Parts"}))
            << "Ctrl+Shift+" << QKeySequence(key).toString().toStdString();
    }

    Press(Qt::Key_F6, Qt::ControlModifier);
    QMdiSubWindow* tabular = frame_->MdiArea()->currentSubWindow();
    ASSERT_EQ(tabular->windowTitle(), "Tabular Data");
    const QRect normal = tabular->geometry();
    Press(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_TRUE(tabular->isMaximized());
    Press(Qt::Key_F10, Qt::ControlModifier);
    EXPECT_FALSE(tabular->isMaximized());
    EXPECT_EQ(tabular->geometry(), normal);

    // Alt+- opens the window's own menu; its commands work from their keys.
    Press(Qt::Key_Minus, Qt::AltModifier);
    auto* systemMenu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(systemMenu, nullptr);
    QStringList commands;
    for (QAction* action : systemMenu->actions()) {
        if (!action->isSeparator()) commands << QString(action->text()).remove(QLatin1Char('&'));
    }
    for (const char* command : {"Restore", "Move", "Size", "Minimize", "Maximize", "Close"})
        EXPECT_TRUE(commands.contains(QString::fromLatin1(command)))
            << command << " in " << commands.join(", ").toStdString();
    QTest::keyClick(systemMenu, Qt::Key_X);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tabular->isMaximized());
    Press(Qt::Key_Minus, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_R);
    QCoreApplication::processEvents();
    EXPECT_FALSE(tabular->isMaximized());
    EXPECT_EQ(tabular->geometry(), normal);

    // Close from that menu only minimises a document window; the round still reaches it.
    Press(Qt::Key_Minus, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_C);
    QCoreApplication::processEvents();
    EXPECT_TRUE(tabular->isMinimized());
    EXPECT_TRUE(frame_->MdiArea()->subWindowList().contains(tabular));
    QStringList reached;
    for (int i = 0; i < 4; ++i) {
        Press(Qt::Key_F6, Qt::ControlModifier);
        reached << ActiveTitle();
    }
    EXPECT_TRUE(reached.contains("Tabular Data")) << reached.join(", ").toStdString();
}

// The lines of the memo a user can see: inside its viewport and inside the part of the viewport
// that the document window leaves visible.
QStringList VisibleLines(QPlainTextEdit* memo) {
    const QRect visible = memo->viewport()->visibleRegion().boundingRect();
    QStringList lines;
    for (QTextBlock block = memo->document()->firstBlock(); block.isValid(); block = block.next()) {
        QTextCursor cursor(block);
        const QRect line = memo->cursorRect(cursor);
        if (visible.contains(line.topLeft()) && visible.contains(line.bottomLeft())) lines << block.text();
    }
    return lines;
}

TEST_F(KeysOnlyTest, PageDownAndCtrlEndReachTheLastLineOfTheReport) {
    // A part with both stopband points, typed in on the specification screen.
    for (const auto& [name, value] : {std::pair{"centre_frequency", "1500"}, std::pair{"stopband_f1", "1400"},
                                      std::pair{"stopband_f2", "1620"}}) {
        auto* edit = frame_->Specification()->findChild<QLineEdit*>(QString::fromLatin1(name));
        ASSERT_NE(edit, nullptr) << name;
        edit->setFocus(Qt::TabFocusReason);
        Press(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(edit, QString::fromLatin1(value));
        Press(Qt::Key_Tab);
    }
    Press(Qt::Key_F6, Qt::ControlModifier);
    ASSERT_EQ(ActiveTitle(), "Tabular Data");
    QPlainTextEdit* memo = frame_->TabularData()->Report();
    memo->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    const QStringList report = frame_->TabularData()->MemoLines();
    ASSERT_GT(report.size(), 70);
    const QString last = report.last();
    const QString f2Line = report[report.size() - 2];
    ASSERT_TRUE(f2Line.contains("F2")) << f2Line.toStdString();
    EXPECT_FALSE(VisibleLines(memo).contains(f2Line)) << "the window is too small for the whole report";

    for (int page = 0; page < 40; ++page) Press(Qt::Key_PageDown);
    QStringList seen = VisibleLines(memo);
    ASSERT_FALSE(seen.isEmpty());
    EXPECT_TRUE(seen.contains(f2Line))
        << "after PageDown the last visible line is " << seen.last().toStdString();
    EXPECT_EQ(seen.last(), last);

    Press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(VisibleLines(memo).value(0), report.first());
    Press(Qt::Key_End, Qt::ControlModifier);
    seen = VisibleLines(memo);
    EXPECT_TRUE(seen.contains(f2Line)) << "after Ctrl+End: " << seen.join("|").toStdString();
}

TEST_F(KeysOnlyTest, EveryLinkLabelTakesTheFocusShowsItAndOpensWithEnterOrSpace) {
    struct Link {
        QWidget* window;
        const char* label;
        QString opens;  // the shell's target; empty for the notes page
    };
    const std::vector<Link> links{
        {frame_->ContactInformation(), "sales_email", QStringLiteral("mailto:")},
        {frame_->ContactInformation(), "europe_sales_email", QStringLiteral("mailto:")},
        {frame_->FilterCharacteristics(), "note1_link", {}},
        {frame_->FilterCharacteristics(), "note2_link", {}},
        {frame_->FilterCharacteristics(), "notes_link", {}},
        {frame_->About(), "web_site_link", QString::fromLatin1(contact::kWebSiteAddress)},
    };
    for (const Link& link : links) {
        SCOPED_TRACE(link.label);
        auto* label = link.window->findChild<QLabel*>(QString::fromLatin1(link.label));
        ASSERT_NE(label, nullptr);
        Present(link.window);
        // Tab round the window until the label has the focus.
        for (int i = 0; i < 6 && QApplication::focusWidget() != label; ++i) Press(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), label) << "focus on " << FocusName().toStdString();
        const QImage focused = label->grab().toImage();
        Press(Qt::Key_Tab);
        ASSERT_NE(QApplication::focusWidget(), label);
        const QImage plain = label->grab().toImage();
        ASSERT_EQ(plain.size(), focused.size());
        bool framed = false;
        for (int x = 0; x < focused.width(); ++x) framed |= focused.pixel(x, 0) != plain.pixel(x, 0);
        EXPECT_TRUE(framed) << "no focus frame drawn";

        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
            shell_.opened.clear();
            if (frame_->GetFrameWindow(FrameWindow::Notes)) frame_->Notes()->hide();
            Present(link.window);
            label->setFocus(Qt::TabFocusReason);
            Press(key);
            if (link.opens.isEmpty()) {
                EXPECT_TRUE(frame_->Notes()->isVisible()) << QKeySequence(key).toString().toStdString();
            } else {
                ASSERT_EQ(shell_.opened.size(), 1) << QKeySequence(key).toString().toStdString();
                EXPECT_TRUE(shell_.opened.first().startsWith(link.opens))
                    << shell_.opened.first().toStdString();
            }
        }
        link.window->hide();
    }
}

TEST_F(KeysOnlyTest, FinderTablesSortByAColumnFromTheKeyboard) {
    frame_->Actions().Action("find_parts")->trigger();
    FindPartsWindow* finder = frame_->FindParts();
    ASSERT_NE(finder, nullptr);
    ASSERT_EQ(QApplication::focusWidget(), finder->CentreFrequencyEdit());
    Press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(finder->CentreFrequencyEdit(), QStringLiteral("1500"));
    finder->BandwidthEdit()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(finder->BandwidthEdit(), QStringLiteral("30"));
    const QAbstractItemModel* parts = finder->ResultsView()->model();
    ASSERT_GT(parts->rowCount(), 2);

    const auto column = [](const QAbstractItemModel* model, int c) {
        std::vector<double> values;
        for (int row = 0; row < model->rowCount(); ++row)
            values.push_back(model->index(row, c).data().toDouble());
        return values;
    };
    // The Menu key: the desktop turns it into a keyboard context-menu event for the focused widget.
    const auto menuKey = [] {
        QWidget* focus = QApplication::focusWidget();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, QPoint(5, 5), focus->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(focus, &event);
    };

    finder->ResultsView()->setFocus(Qt::TabFocusReason);
    InNextPopup([](QMenu* menu) {
        // From "Sort by #" down to "Sort by IL (dB)".
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    menuKey();
    EXPECT_EQ(finder->ResultsView()->horizontalHeader()->sortIndicatorSection(), 2);
    std::vector<double> il = column(parts, 2);
    EXPECT_TRUE(std::is_sorted(il.begin(), il.end()));

    // The offscreen platform leaves no window active after a popup; a desktop gives the focus back.
    const auto backTo = [this](QWidget* table) {
        QApplication::setActiveWindow(frame_.get());
        table->setFocus(Qt::PopupFocusReason);
    };
    backTo(finder->ResultsView());
    InNextPopup([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_D); });
    Press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(finder->ResultsView()->horizontalHeader()->sortIndicatorOrder(), Qt::DescendingOrder);
    il = column(parts, 2);
    EXPECT_TRUE(std::is_sorted(il.rbegin(), il.rend()));

    QTableWidget* misses = finder->MissesTable();
    ASSERT_GT(misses->rowCount(), 2);
    backTo(misses);
    InNextPopup([](QMenu* menu) { QTest::keyClick(menu, Qt::Key_Return); });
    menuKey();
    EXPECT_EQ(misses->horizontalHeader()->sortIndicatorSection(), 0);
    const std::vector<double> sections = column(misses->model(), 0);
    EXPECT_TRUE(std::is_sorted(sections.begin(), sections.end()));
}

TEST_F(KeysOnlyTest, FinderComparesByItsMnemonicAndAltCStaysTheConfigureMenus) {
    frame_->Actions().Action("find_parts")->trigger();
    FindPartsWindow* finder = frame_->FindParts();
    ASSERT_NE(finder, nullptr);
    Press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(finder->CentreFrequencyEdit(), QStringLiteral("1500"));
    finder->BandwidthEdit()->setFocus(Qt::TabFocusReason);
    Press(Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(finder->BandwidthEdit(), QStringLiteral("30"));
    finder->ResultsView()->setFocus(Qt::TabFocusReason);
    // Nothing marked: Compare takes the current part.
    ASSERT_TRUE(finder->ResultsView()->selectionModel()->selectedRows().isEmpty());
    ASSERT_TRUE(finder->ResultsView()->currentIndex().isValid());

    QSignalSpy clicked(finder->CompareButton(), &QAbstractButton::clicked);
    const QKeySequence compare = QKeySequence::mnemonic(finder->CompareButton()->text());
    ASSERT_FALSE(compare.isEmpty());
    QTest::keySequence(QApplication::activeWindow(), compare);
    if (clicked.isEmpty()) clicked.wait(1000);
    ASSERT_EQ(clicked.count(), 1) << compare.toString().toStdString() << " focused "
                                  << FocusName().toStdString();
    ASSERT_NE(frame_->Comparison(), nullptr);
    EXPECT_EQ(frame_->Comparison()->Parts().Parts().size(), 1u);

    QTest::keySequence(Present(finder), QKeySequence(Qt::ALT | Qt::Key_C));
    QAction* opened = frame_->menuBar()->activeAction();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->text(), QStringLiteral("&Configure"));
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QCoreApplication::processEvents();
}

TEST_F(KeyboardFixture, ExportCommandsOpenWithTheirMnemonic) {
    int exports = 0;
    const auto* outline = qobject_cast<OutlineWindow*>(frame_->Outline());
    ASSERT_NE(outline, nullptr);
    for (const ActionCollection* actions : {&frame_->Specification()->Actions(), &outline->Actions()}) {
        for (QAction* action : {actions->Action(QStringLiteral("export_vectors"))}) {
            if (action == nullptr) continue;
            ++exports;
            EXPECT_EQ(action->text(), "&Export as PDF/SVG...");
            auto* menu = qobject_cast<QMenu*>(action->parent());
            ASSERT_NE(menu, nullptr);
            int sharing = 0;
            for (QAction* sibling : menu->actions())
                sharing += QKeySequence::mnemonic(sibling->text()) == QKeySequence(Qt::ALT | Qt::Key_E);
            EXPECT_EQ(sharing, 1) << "Alt+E is the export's alone";
        }
    }
    EXPECT_EQ(exports, 2);
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
