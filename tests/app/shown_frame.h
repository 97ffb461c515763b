#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>

#include "app/frame.h"
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

}  // namespace veltrix::testing
