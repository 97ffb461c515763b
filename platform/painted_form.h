#pragma once

#include <QPainter>
#include <QSize>

class QWidget;

namespace veltrix {

// A window that paints itself onto any canvas: its own surface on screen, or a print band.
class PaintedForm {
public:
    virtual ~PaintedForm() = default;
    // Runs the window's whole paint onto the canvas, as for the screen.
    virtual void FormPaint(QPainter& canvas, QSize clientSize) = 0;
    virtual QWidget* FormWidget() = 0;
};

}  // namespace veltrix
