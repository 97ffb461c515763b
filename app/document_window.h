#pragma once

#include <QMdiSubWindow>
#include <QRect>

#include "program/preferences.h"

namespace veltrix {

// The frame around a document window. Closing it only minimises it: the three document windows live
// for the whole run.
class DocumentMdiWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    explicit DocumentMdiWindow(QWidget* content, const QString& caption, QWidget* parent = nullptr);

    // Outer rectangle inside the frame's client area, applied width, height, top, left.
    void ApplyRect(const WindowRect& rect);
    // The rectangle the window has when neither minimised nor maximised, which is what a saved
    // rectangle must restore.
    WindowRect NormalRect() const;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void RememberNormalGeometry();
    QRect normal_;
};

}  // namespace veltrix
