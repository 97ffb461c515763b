#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>
#include <string>
#include <vector>

#include "outline_window/outline_window.h"
#include "platform/services.h"
#include "program/program.h"
#include "tests/support/fakes.h"

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }

namespace veltrix::testing {

// A fresh program and outline window per test, showing a valid selection.
class MechanicalTest : public ::testing::Test {
  protected:
    MechanicalTest() {
        program.Hub = &hub;
        program.Spec.SelStatus = kSelectionValid;
        mechanical = std::make_unique<OutlineWindow>(program);
    }

    // One paint into a window-sized image, as the window would show it.
    QImage Render() {
        QImage image(OutlineWindow::kClientWidth, OutlineWindow::kClientHeight, QImage::Format_RGB32);
        image.fill(Qt::gray);
        QPainter painter(&image);
        mechanical->FormPaint(painter, image.size());
        return image;
    }

    // The colour the window shows at a picture point (the window starts at picture row 50).
    static QRgb At(const QImage& image, int x, int pictureY) {
        return image.pixel(x, pictureY - OutlineWindow::kPictureTop);
    }

    bool Drew(const QString& text, int x, int y) const {
        for (const DrawnText& t : mechanical->DrawnTexts())
            if (t.text == text && t.at == QPoint(x, y)) return true;
        return false;
    }

    FakeHub hub;
    Program program;
    std::unique_ptr<OutlineWindow> mechanical;
};

}  // namespace veltrix::testing
