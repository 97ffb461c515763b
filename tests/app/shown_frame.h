#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QObject>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/frame.h"
#include "finder_window/finder_window.h"
#include "program/program.h"
#include "tests/support/fakes.h"

namespace veltrix::testing {

// The whole program, shown, on a preferences file of its own.
class ShownFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        program_.PreferencesPath = dir_.filePath(QStringLiteral("veltrix.dat")).toStdString();
        program_.Messages = &messages_;
        program_.Shell = &shell_;
        program_.PrintDialogs = &printDialogs_;
        frame_ = std::make_unique<MainFrame>(program_);
        frame_->CreateWindows();
        frame_->resize(1200, 800);
        frame_->show();
        frame_->ShowStartupPages();
        QCoreApplication::processEvents();
    }
    void TearDown() override { frame_.reset(); }

    QTemporaryDir dir_;
    FakeMessages messages_;
    FakeShell shell_;
    FakePrintDialogs printDialogs_{false};
    Program program_;
    std::unique_ptr<MainFrame> frame_;
};

// Counts the mouse events the program receives, for the tests that use the keyboard alone.
class MouseCounter : public QObject {
  public:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonRelease:
            case QEvent::MouseButtonDblClick:
            case QEvent::Wheel:
                ++count;
                break;
            default:
                break;
        }
        return false;
    }
    int count = 0;
};

// The finder, opened from the frame, searching 1500 MHz / 30 MHz with one requirement point of
// 40 dBc at 1400 MHz.
inline FindPartsWindow* OpenFinderFor1500MHz(MainFrame& frame) {
    frame.Actions().Action("find_parts")->trigger();
    FindPartsWindow* finder = frame.FindParts();
    finder->CentreFrequencyEdit()->setText(QStringLiteral("1500"));
    finder->BandwidthEdit()->setText(QStringLiteral("30"));
    finder->StopbandTable()->setItem(0, 0, new QTableWidgetItem(QStringLiteral("1400")));
    finder->StopbandTable()->setItem(0, 1, new QTableWidgetItem(QStringLiteral("40")));
    return finder;
}

// A click on a row of a finder table, as a user marks or chooses it.
inline void ClickRow(QTableView* view, int row, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                      view->visualRect(view->model()->index(row, 1)).center());
}

}  // namespace veltrix::testing
