#pragma once

#include <QPushButton>

namespace veltrix {

// A push button on one of the black painted pages. Enter presses it as Space does, outside a dialog
// too, and its focus shows as a bright frame round its edge: the style's dotted frame inside the
// face is lost against the black page.
class PageButton : public QPushButton {
  public:
    PageButton(const QString& text, QWidget* parent);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace veltrix
