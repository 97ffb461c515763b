#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "program/program.h"
#include "specification_window/specification_window.h"
#include "tests/support/fakes.h"

// Readable QString values in failure messages.
inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace veltrix::testing {

// A fresh program and specification screen per test.
class SelectTest : public ::testing::Test {
  protected:
    SelectTest() {
        program.Hub = &hub;
        select = std::make_unique<SpecificationWindow>(program);
    }

    template <typename T>
    T* Child(const char* name) const {
        T* child = select->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(child, nullptr) << name;
        return child;
    }
    QLineEdit* Edit(const char* name) const { return Child<QLineEdit>(name); }
    QComboBox* List(const char* name) const { return Child<QComboBox>(name); }
    QString LabelText(const char* name) const { return Child<QLabel>(name)->text(); }
    // Leaves an entry field, as a click elsewhere, a menu or another window does.
    void Leave(const char* field) const {
        QFocusEvent leave(QEvent::FocusOut, Qt::OtherFocusReason);
        QCoreApplication::sendEvent(Edit(field), &leave);
    }

    // Judges what the test stored in the record, where it changed since the last judgement.
    void JudgeStoredInputs() {
        program.Judgement.JudgePending();
        if (!program.Judgement.HasJudged() || program.Judgement.Latest().Spec != program.Spec)
            program.Judgement.JudgeNow();
    }

    // One paint of the screen into a window-sized image, as the window shows it once the current
    // inputs are judged.
    QImage Render() {
        JudgeStoredInputs();
        QImage image(SpecificationWindow::kClientWidth, SpecificationWindow::kClientHeight,
                     QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        select->FormPaint(painter, image.size());
        return image;
    }

    // Shows the window and makes it active so that focus moves send their events.
    void ShowActive() {
        select->show();
        select->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(select.get()));
    }

    // Texts the last paint drew at x, top to bottom, empty ones left out.
    std::vector<std::pair<int, QString>> TextsAt(int x) const {
        std::vector<std::pair<int, QString>> texts;
        for (const DrawnText& t : select->DrawnTexts())
            if (t.at.x() == x && !t.text.isEmpty()) texts.emplace_back(t.at.y(), t.text);
        return texts;
    }
    bool Drew(const QString& text, int x, int y) const {
        for (const DrawnText& t : select->DrawnTexts())
            if (t.text == text && t.at == QPoint(x, y)) return true;
        return false;
    }

    FakeHub hub;
    Program program;
    std::unique_ptr<SpecificationWindow> select;
};

}  // namespace veltrix::testing
