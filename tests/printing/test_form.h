#pragma once

#include <QApplication>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <utility>
#include <vector>

#include "platform/painted_form.h"
#include "platform/painted_page.h"
#include "platform/services.h"
#include "printing/print_dialogs.h"
#include "printing/printer_surface.h"
#include "program/display_settings.h"
#include "tests/support/fakes.h"

namespace veltrix::testing {

inline const QColor kLabelColour(0, 160, 0);
inline const QColor kCoverColour(0, 0, 200);
inline const QColor kHiddenColour(200, 0, 0);

// A 632 x 404 painted window with known colours: black page, white square (100..199, 100..199),
// magenta frame; an opaque green label, a hidden red label, and a button with a blue label made
// after it over the same place.
class TestForm : public QWidget, public PaintedForm {
  public:
    explicit TestForm(DisplaySettings& display) : display_(display) {
        resize(632, 404);
        setAutoFillBackground(true);
        Button = new QPushButton(QStringLiteral("Go"), this);
        Button->setGeometry(400, 300, 80, 30);
        Label = MakeLabel(QRect(300, 40, 60, 20), kLabelColour);
        Cover = MakeLabel(QRect(400, 300, 80, 30), kCoverColour);
        Hidden = MakeLabel(QRect(10, 10, 20, 20), kHiddenColour);
        Hidden->hide();
    }

    void FormPaint(QPainter& canvas, QSize clientSize) override {
        ++PaintCount;
        ModesSeen.push_back(display_.PaintCopyMode);
        QPainter& p = page_.BeginRecording(clientSize);
        p.fillRect(QRect(100, 100, 100, 100), Qt::white);
        p.setPen(QColor(255, 0, 255));
        p.drawRect(QRect(20, 20, 500, 300));
        page_.Present(canvas, clientSize, display_.PaintCopyMode, 0);
        if (OnPaint) OnPaint();
    }
    QWidget* FormWidget() override { return this; }

    int PaintCount = 0;
    std::vector<CopyMode> ModesSeen;
    std::function<void()> OnPaint;
    QPushButton* Button = nullptr;
    QLabel* Label = nullptr;
    QLabel* Cover = nullptr;
    QLabel* Hidden = nullptr;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        FormPaint(p, size());
    }

  private:
    QLabel* MakeLabel(const QRect& at, const QColor& colour) {
        auto* label = new QLabel(this);
        label->setGeometry(at);
        label->setAutoFillBackground(true);
        QPalette palette = label->palette();
        palette.setColor(QPalette::Window, colour);
        label->setPalette(palette);
        return label;
    }

    DisplaySettings& display_;
    PaintedPage page_;
};

// Records every band it is sent; can report short transfers and failing bitmap copies.
class FakeSurface : public PrinterSurface {
  public:
    explicit FakeSurface(QSize printable) {
        metrics_.PrintableWidth = metrics_.PhysicalWidth = printable.width();
        metrics_.PrintableHeight = metrics_.PhysicalHeight = printable.height();
        metrics_.PixelsPerInchX = metrics_.PixelsPerInchY = 600;
    }
    PageMetrics Metrics() override { return metrics_; }
    bool LargeImages() override { return true; }
    void BeginTarget(const QRect& target) override { Targets.push_back(target); }
    void EndTarget() override { ++TargetsEnded; }
    int SendImage(const PackedImage& image, QPoint at) override {
        Sent.push_back({image, at});
        return image.Height - LinesShort;
    }
    bool CopyBitmap(const PackedImage& image, QPoint at) override {
        Copied.push_back({image, at});
        return CopySucceeds;
    }

    int LinesShort = 0;
    bool CopySucceeds = true;
    std::vector<std::pair<PackedImage, QPoint>> Sent;
    std::vector<std::pair<PackedImage, QPoint>> Copied;
    std::vector<QRect> Targets;
    int TargetsEnded = 0;

  private:
    PageMetrics metrics_;
};

inline PrintProgressDialog* OpenProgressDialog() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<PrintProgressDialog*>(w)) return dialog;
    }
    return nullptr;
}

}  // namespace veltrix::testing
