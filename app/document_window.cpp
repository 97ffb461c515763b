#include "app/document_window.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>

namespace veltrix {
namespace {

// Saved values have no upper limit, but a widget's edges must stay within int: positions and sizes
// are held to the toolkit's own largest widget size, which still puts a window far off screen.
int32_t Limited(int32_t value, int32_t lowest) { return std::clamp<int32_t>(value, lowest, QWIDGETSIZE_MAX); }

// A saved size larger than every screen together is never what anyone sees, and its paint buffers
// would be as large: a window is at most the size of the virtual desktop.
QSize LargestWindow() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize desktop = screen != nullptr ? screen->virtualSize() : QSize();
    return desktop.isValid() && !desktop.isEmpty() ? desktop : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
}

}  // namespace

DocumentMdiWindow::DocumentMdiWindow(QMdiArea& area, QWidget* content, const QString& caption,
                                     Overflow overflow)
    : QMdiSubWindow(nullptr), content_(content) {
    // Closing minimises, so the sub-window must never be deleted on close.
    setAttribute(Qt::WA_DeleteOnClose, false);
    // Content and caption come once the window is in the area: each change of parent and flags there
    // measures the title bar many times, and with a caption (the content's, at first) each measure
    // shapes its text.
    area.addSubWindow(this);
    if (overflow == Overflow::Scroll) {
        auto* scroller = new QScrollArea;
        scroller->setFrameShape(QFrame::NoFrame);
        scroller->setWidgetResizable(true);
        scroller->setWidget(content);
        scroller->setFocusProxy(content);
        setWidget(scroller);
    } else {
        setWidget(content);
    }
    setWindowTitle(caption);
    normal_ = geometry();
}

DocumentMdiWindow::~DocumentMdiWindow() {
    // Leaving the area measures the title bar again: a window that goes has no caption to shape.
    setWindowTitle(QString());
}

void DocumentMdiWindow::ApplyRect(const WindowRect& rect) {
    const QSize largest = LargestWindow();
    resize(std::min(Limited(rect.Width, 0), largest.width()), height());
    resize(width(), std::min(Limited(rect.Height, 0), largest.height()));
    move(x(), Limited(rect.Top, -QWIDGETSIZE_MAX));
    move(Limited(rect.Left, -QWIDGETSIZE_MAX), y());
    RememberNormalGeometry();
}

WindowRect DocumentMdiWindow::NormalRect() const {
    const QRect r = (isMinimized() || isMaximized()) ? normal_ : geometry();
    return WindowRect{r.left(), r.top(), r.width(), r.height()};
}

void DocumentMdiWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!isMinimized()) showMinimized();
}

void DocumentMdiWindow::moveEvent(QMoveEvent* event) {
    QMdiSubWindow::moveEvent(event);
    RememberNormalGeometry();
}

void DocumentMdiWindow::resizeEvent(QResizeEvent* event) {
    QMdiSubWindow::resizeEvent(event);
    RememberNormalGeometry();
}

void DocumentMdiWindow::RememberNormalGeometry() {
    if (!isMinimized() && !isMaximized()) normal_ = geometry();
}

}  // namespace veltrix
