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

namespace veltrix::testing {

class FakeMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget*, const QString& text, const QString&) override { Texts << text; }
    QStringList Texts;
};

class FakeShell : public DesktopShell {
  public:
    bool Open(const QString& target) override {
        Targets << target;
        return Succeeds;
    }
    QStringList Targets;
    bool Succeeds = true;
};

// Answers the print dialog; notes what the printer showed it and makes the user's choices in it.
class FakePrintDialogs : public PrintDialogRunner {
  public:
    bool Run(QPrinter& printer, QWidget*) override {
        ++Runs;
        ShownTitle = printer.docName();
        ShownOrientation = printer.pageLayout().orientation();
        if (Choose) Choose(printer);
        return Answer;
    }
    int Runs = 0;
    bool Answer = true;
    QString ShownTitle;
    QPageLayout::Orientation ShownOrientation = QPageLayout::Portrait;
    std::function<void(QPrinter&)> Choose;
};

// Records the print commands and exception dialogs the windows ask the frame for.
class FakeHub : public WindowHub {
  public:
    void ExitProgram() override {}
    void BringToFront(DocumentWindow) override {}
    void Invalidate(DocumentWindow) override {}
    void RepaintNow(DocumentWindow) override {}
    void PrintForm(PaintedForm& form, const QString& jobTitle) override {
        PrintedTitles << jobTitle;
        PrintedForms.push_back(&form);
    }
    void ShowPrintException() override { ++PrintExceptions; }
    QStringList PrintedTitles;
    std::vector<PaintedForm*> PrintedForms;
    int PrintExceptions = 0;
};

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
