#include "platform/page_button.h"

#include <QPainter>
#include <QPen>

#include "platform/painted_page.h"

namespace veltrix {

PageButton::PageButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
    // Outside a dialog only an auto-default button answers Enter.
    setAutoDefault(true);
}

void PageButton::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (!hasFocus()) return;
    QPainter painter(this);
    QPen pen(kPageYellow, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

}  // namespace veltrix
