// The program from the keyboard alone, as a user who has no mouse meets it: the start-up pages, a
// link that cannot open, the web-site button and marking parts in the finder.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <memory>

#include "app/frame.h"
#include "compare_window/compare_window.h"
#include "finder_window/finder_window.h"
#include "info/info_windows.h"
#include "platform/services.h"
#include "product_texts/contact_data.h"
#include "tests/app/shown_frame.h"
#include "tests/support/fake_opener.h"

namespace veltrix {
namespace {

// Answers every message box with Enter, noting its text.
class MessageAnswerer : public QObject {
  public:
    MessageAnswerer() {
        timer_.setInterval(20);
        QObject::connect(&timer_, &QTimer::timeout, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible()) return;
            texts << box->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        timer_.start();
    }
    QStringList texts;

  private:
    QTimer timer_;
};

QString Name(QWidget* widget) { return widget != nullptr ? widget->objectName() : QStringLiteral("(none)"); }

class KeyboardWalkTest : public testing::ShownFrameTest {
  protected:
    void SetUp() override {
        qApp->installEventFilter(&mice_);
        testing::ShownFrameTest::SetUp();
        // Real message boxes and the desktop's opener, which fails as with no browser or mail program.
        program_.Messages = &boxes_;
        program_.Shell = &realShell_;
    }
    void TearDown() override {
        qApp->removeEventFilter(&mice_);
        EXPECT_EQ(mice_.count, 0) << "a mouse event reached the program";
        testing::ShownFrameTest::TearDown();
    }
    static void Press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::activePopupWidget();
        if (target == nullptr) target = QApplication::focusWidget();
        if (target == nullptr) target = QApplication::activeWindow();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
        QCoreApplication::processEvents();
    }
    static void Type(const QString& text) {
        Press(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }
    // Tabs round the active window until the control has the focus.
    static void TabTo(QWidget* control) {
        for (int i = 0; i < 40 && QApplication::focusWidget() != control; ++i) Press(Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), control)
            << "focus on " << Name(QApplication::focusWidget()).toStdString();
    }

    testing::FakeOpener opener_{QStringLiteral("echo 'xdg-open: no method available' >&2; exit 3")};
    QtDesktopShell realShell_;
    QtMessageBoxes boxes_{QStringLiteral("Veltrix")};
    testing::MouseCounter mice_;
};

TEST_F(KeyboardWalkTest, PagesLinksButtonsAndMarksWithoutAMouse) {
    // The start-up pages take the keyboard, the top one first; Escape passes it to the next, then
    // to the active document window.
    const QList<QWidget*> pages{frame_->LicenseInformation(), frame_->Introduction(),
                                frame_->FilterCharacteristics(), frame_->Notes()};
    for (QWidget* page : pages) {
        ASSERT_TRUE(page->isVisible()) << Name(page).toStdString();
        QTRY_COMPARE(QApplication::activeWindow(), page);
        Press(Qt::Key_Escape);
        QTRY_VERIFY(!page->isVisible());
    }
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());
    QMdiSubWindow* document = frame_->MdiArea()->currentSubWindow();
    ASSERT_NE(document, nullptr);
    QTRY_VERIFY(document->isAncestorOf(QApplication::focusWidget()));

    // Sales > Contact Information; Enter on an e-mail link that cannot open: the message, answered
    // with Enter, and the focus back on the link.
    MessageAnswerer answers;
    Press(Qt::Key_S, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    Press(Qt::Key_C);
    ContactPage* contact = frame_->ContactInformation();
    QTRY_COMPARE(QApplication::activeWindow(), contact);
    TabTo(contact->SalesEmailLink());
    Press(Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(answers.texts, QStringList{QStringLiteral("Unable to start mail client.")},
                              5000);
    QTRY_COMPARE(QApplication::activeWindow(), contact);
    QTRY_COMPARE(QApplication::focusWidget(), contact->SalesEmailLink());

    // Enter on the web-site button opens the site: here it fails too, which the message shows.
    TabTo(contact->WebSiteButton());
    Press(Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(answers.texts.size(), 2, 5000);
    EXPECT_EQ(answers.texts.last(), QStringLiteral("Unable to start web browser."));
    QTRY_COMPARE(QApplication::focusWidget(), contact->WebSiteButton());
    Press(Qt::Key_Escape);
    QTRY_VERIFY(!contact->isVisible());
    QTRY_COMPARE(QApplication::activeWindow(), frame_.get());

    // Sales > Find Parts: Space marks the current part, Down moves on without touching the mark,
    // Space marks the second; Compare takes both.
    Press(Qt::Key_S, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    Press(Qt::Key_P);
    FindPartsWindow* finder = frame_->FindParts();
    ASSERT_NE(finder, nullptr);
    QTRY_COMPARE(QApplication::focusWidget(), finder->CentreFrequencyEdit());
    Type(QStringLiteral("1500"));
    Press(Qt::Key_B, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), finder->BandwidthEdit());
    Type(QStringLiteral("30"));
    TabTo(finder->ResultsView());
    ASSERT_GE(finder->ResultsView()->model()->rowCount(), 3);
    QItemSelectionModel* marks = finder->ResultsView()->selectionModel();
    EXPECT_TRUE(marks->selectedRows().isEmpty()) << "a part starts marked";
    Press(Qt::Key_Space);
    Press(Qt::Key_Down);
    EXPECT_EQ(marks->selectedRows().size(), 1) << "Down touched the mark";
    Press(Qt::Key_Space);
    ASSERT_EQ(marks->selectedRows().size(), 2);
    EXPECT_TRUE(marks->isRowSelected(0) && marks->isRowSelected(1));
    // The mnemonic presses the button as a click would, after its moment pressed down.
    Press(Qt::Key_M, Qt::AltModifier);
    QTRY_VERIFY(frame_->Comparison() != nullptr);
    EXPECT_EQ(frame_->Comparison()->Parts().Parts().size(), 2u);
}

}  // namespace
}  // namespace veltrix
