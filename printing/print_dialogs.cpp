#include "printing/print_dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <algorithm>

#include "platform/fonts.h"

namespace veltrix {

namespace {

void ProcessPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

QFont DialogFont() { return PointFont(QStringLiteral("MS Sans Serif"), 8); }

}  // namespace

void CentreOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    // Larger than the screen: the title bar stays on it, to move the window by.
    const QPoint corner = screen->availableGeometry().topLeft();
    window->move(std::max(frame.left(), corner.x()), std::max(frame.top(), corner.y()));
}

void KeepOnScreen(QWidget* window) {
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    // Before it is shown the window manager's frame is not known yet: a title bar is allowed for.
    if (!window->isVisible() && frame == window->geometry())
        frame.setHeight(frame.height() + window->style()->pixelMetric(QStyle::PM_TitleBarHeight));
    const QRect area = screen->availableGeometry();
    const int left =
        std::max(area.left(), std::min(frame.left(), area.left() + area.width() - frame.width()));
    const int top = std::max(area.top(), std::min(frame.top(), area.top() + area.height() - frame.height()));
    if (left != frame.left() || top != frame.top()) window->move(left, top);
}

PrintProgressDialog::PrintProgressDialog(QWidget* owner) : QDialog(owner) {
    // No system menu and no close button: only the end of the job removes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Printing"));
    setFont(DialogFont());
    setFixedSize(174, 98);

    setObjectName(QStringLiteral("abort_print_dialog"));
    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancel_button"));
    cancelButton_->setGeometry(48, 32, 75, 25);
    cancelButton_->setDefault(true);
    cancelButton_->setAutoDefault(true);
    connect(cancelButton_, &QPushButton::clicked, this, &PrintProgressDialog::onCancel);
}

void PrintProgressDialog::onCancel() { Cancelled = true; }

void PrintProgressDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void PrintProgressDialog::reject() { onCancel(); }

PrintProgressDialog* OpenPrintProgress(QWidget* window) {
    auto* dialog = new PrintProgressDialog(window);
    dialog->show();
    CentreOnScreen(dialog);
    dialog->raise();
    dialog->activateWindow();
    ProcessPendingEvents();
    return dialog;
}

void SetPrintProgressText(PrintProgressDialog* dialog, const QString& text) {
    if (!dialog) return;
    dialog->setWindowTitle(text);
    ProcessPendingEvents();
}

bool PrintProgressCancelled(PrintProgressDialog* dialog) {
    if (!dialog) return false;
    ProcessPendingEvents();
    return dialog->Cancelled;
}

void ClosePrintProgress(PrintProgressDialog* dialog) {
    if (!dialog) return;
    dialog->hide();
    delete dialog;
}

AbortPrintDialog::AbortPrintDialog(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setModal(true);
    setObjectName(QStringLiteral("print_dialog"));
    setWindowTitle(QStringLiteral("Abort Print"));
    setFont(DialogFont());
    setFixedSize(384, 179);

    bevel_ = new QFrame(this);
    bevel_->setFrameShape(QFrame::Box);
    bevel_->setFrameShadow(QFrame::Sunken);
    bevel_->setGeometry(8, 8, 281, 161);

    heading_ = new QLabel(QStringLiteral("Print Exception Message:"), this);
    heading_->move(32, 30);
    heading_->adjustSize();

    message_ = new QLabel(QStringLiteral("Printer Operation Aborted."), this);
    message_->move(88, 90);
    message_->adjustSize();

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("ok_button"));
    okButton_->setGeometry(300, 8, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancel_button"));
    cancelButton_->setGeometry(300, 38, 75, 25);
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void AbortPrintDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    okButton_->setFocus();
}

}  // namespace veltrix
