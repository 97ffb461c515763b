#include "printing/print_dialogs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

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
    window->move(frame.topLeft());
}

TAbortDialog::TAbortDialog(QWidget* owner) : QDialog(owner) {
    // No system menu and no close button: only the end of the job removes it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint |
                   Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QStringLiteral("Printing"));
    setFont(DialogFont());
    setFixedSize(174, 98);

    setObjectName(QStringLiteral("AbortDialog"));
    btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setGeometry(48, 32, 75, 25);
    btnCancel->setDefault(true);
    btnCancel->setAutoDefault(true);
    connect(btnCancel, &QPushButton::clicked, this, &TAbortDialog::btnCancelClick);
}

void TAbortDialog::btnCancelClick() { Cancelled = true; }

void TAbortDialog::closeEvent(QCloseEvent* event) { event->ignore(); }

void TAbortDialog::reject() { btnCancelClick(); }

TAbortDialog* OpenPrintProgress(QWidget* window) {
    auto* dialog = new TAbortDialog(window);
    dialog->show();
    CentreOnScreen(dialog);
    dialog->raise();
    dialog->activateWindow();
    ProcessPendingEvents();
    return dialog;
}

void SetPrintProgressText(TAbortDialog* dialog, const QString& text) {
    if (!dialog) return;
    dialog->setWindowTitle(text);
    ProcessPendingEvents();
}

bool PrintProgressCancelled(TAbortDialog* dialog) {
    if (!dialog) return false;
    ProcessPendingEvents();
    return dialog->Cancelled;
}

void ClosePrintProgress(TAbortDialog* dialog) {
    if (!dialog) return;
    dialog->hide();
    delete dialog;
}

TPXDlg::TPXDlg(QWidget* parent) : QDialog(parent) {
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowModality(Qt::ApplicationModal);
    setModal(true);
    setObjectName(QStringLiteral("PXDlg"));
    setWindowTitle(QStringLiteral("Abort Print"));
    setFont(DialogFont());
    setFixedSize(384, 179);

    Bevel1 = new QFrame(this);
    Bevel1->setFrameShape(QFrame::Box);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 281, 161);

    PXDlgLbl = new QLabel(QStringLiteral("Print Exception Message:"), this);
    PXDlgLbl->move(32, 30);
    PXDlgLbl->adjustSize();

    PXDlgMsg = new QLabel(QStringLiteral("Printer Operation Aborted."), this);
    PXDlgMsg->move(88, 90);
    PXDlgMsg->adjustSize();

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(300, 8, 75, 25);
    OKBtn->setDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(300, 38, 75, 25);
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TPXDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    OKBtn->setFocus();
}

}  // namespace veltrix
