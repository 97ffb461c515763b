#pragma once

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QRect>

#include "program/preferences.h"

namespace veltrix {

// The frame around a document window. Closing it only minimises it: the three document windows live
// for the whole run.
class DocumentMdiWindow : public QMdiSubWindow {
    Q_OBJECT
  public:
    enum class Overflow { Clip, Scroll };
    // Made inside the area. With Scroll the content sits in a scroll area, which scrolls once the
    // content's minimum size is larger than the window.
    DocumentMdiWindow(QMdiArea& area, QWidget* content, const QString& caption,
                      Overflow overflow = Overflow::Clip);
    ~DocumentMdiWindow() override;

    // The window's own widget, also when a scroll area holds it.
    QWidget* Content() const { return content_; }

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
    QWidget* content_ = nullptr;
};

}  // namespace veltrix
