#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>

#include "platform/painted_form.h"
#include "platform/services.h"
#include "program/program.h"
#include "tests/support/fakes.h"

namespace veltrix::testing {

// A fresh program with fake services and its preferences file in a directory of its own.
class InfoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        program.PreferencesPath = dir.filePath("veltrix.dat").toStdString();
        program.Hub = &hub;
        program.Messages = &messages;
        program.Shell = &shell;
        program.PrintDialogs = &dialogs;
    }

    // The window's paint onto a 632 x 404 image, as the screen or a print band gets it.
    static QImage Render(PaintedForm& form) {
        QImage image(632, 404, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        form.FormPaint(painter, image.size());
        painter.end();
        return image;
    }

    QTemporaryDir dir;
    Program program;
    FakeHub hub;
    FakeMessages messages;
    FakeShell shell;
    FakePrintDialogs dialogs;
};

}  // namespace veltrix::testing
