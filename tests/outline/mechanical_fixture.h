#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <vector>

#include "outline/mechanical_window.h"
#include "platform/services.h"
#include "program/program.h"

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace veltrix::testing {

// Records what the window asks of the frame.
class FakeHub : public WindowHub {
  public:
    void ExitProgram() override { calls.push_back("Exit"); }
    void BringToFront(DocumentWindow w) override { calls.push_back("Front " + Name(w)); }
    void Invalidate(DocumentWindow w) override { calls.push_back("Invalidate " + Name(w)); }
    void RepaintNow(DocumentWindow w) override { calls.push_back("RepaintNow " + Name(w)); }
    void PrintForm(PaintedForm& form, const QString& title) override {
        printed = &form;
        printTitle = title;
        calls.push_back("Print");
    }
    void ShowPrintException() override { calls.push_back("PrintException"); }

    static std::string Name(DocumentWindow w) {
        return w == DocumentWindow::Select    ? "Select"
               : w == DocumentWindow::Tabular ? "Tabular"
                                              : "Mechanical";
    }

    std::vector<std::string> calls;
    PaintedForm* printed = nullptr;
    QString printTitle;
};

class FakeShell : public DesktopShell {
  public:
    explicit FakeShell(bool succeeds) : succeeds_(succeeds) {}
    bool Open(const QString& target) override {
        opened.push_back(target);
        return succeeds_;
    }
    std::vector<QString> opened;

  private:
    bool succeeds_;
};

class FakeMessages : public MessageBoxes {
  public:
    void ShowMessage(QWidget*, const QString& text, const QString&) override { shown.push_back(text); }
    std::vector<QString> shown;
};

// A fresh program and outline window per test, showing a valid selection.
class MechanicalTest : public ::testing::Test {
  protected:
    MechanicalTest() {
        program.Hub = &hub;
        program.Spec.SelStatus = kSelectionValid;
        mechanical = std::make_unique<TMechanical>(program);
    }

    // One paint into a window-sized image, as the window would show it.
    QImage Render() {
        QImage image(TMechanical::kClientWidth, TMechanical::kClientHeight, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        mechanical->FormPaint(painter, image.size());
        return image;
    }

    // The colour the window shows at a picture point (the window starts at picture row 50).
    static QRgb At(const QImage& image, int x, int pictureY) {
        return image.pixel(x, pictureY - TMechanical::kPictureTop);
    }

    bool Drew(const QString& text, int x, int y) const {
        for (const DrawnText& t : mechanical->DrawnTexts())
            if (t.text == text && t.at == QPoint(x, y)) return true;
        return false;
    }

    FakeHub hub;
    Program program;
    std::unique_ptr<TMechanical> mechanical;
};

}  // namespace veltrix::testing
