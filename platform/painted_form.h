#pragma once

#include <QPainter>
#include <QPoint>
#include <QSize>

class QWidget;

namespace veltrix {

class PaintedPage;

// A window that paints itself onto any canvas: its own surface on screen, or a print band.
class PaintedForm {
  public:
    virtual ~PaintedForm() = default;
    // Runs the window's whole paint onto the canvas, as for the screen.
    virtual void FormPaint(QPainter& canvas, QSize clientSize) = 0;
    virtual QWidget* FormWidget() = 0;
    // The recorded page of the latest paint and where its (0, 0) lands in the window; null for a
    // window without one.
    virtual const PaintedPage* FormPage() const { return nullptr; }
    virtual QPoint FormPageOrigin() const { return {}; }
    // The client size the window is designed for, which its page fills whatever size the window
    // has now; empty for a window without one.
    virtual QSize FormDesignSize() const { return {}; }
    // Colours the window's own widgets (labels, logo) for the printed copy or back for the screen.
    // The print job and the export call it around their paints, so a paint never has to.
    virtual void ShowCopyColours(bool printing) { (void)printing; }
};

}  // namespace veltrix
