#include "platform/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace veltrix {

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
    QString title = caption;
    if (title.isEmpty())
        title = !defaultCaption_.isEmpty() ? defaultCaption_ : QApplication::applicationName();
    // The window manager gives the focus back to whichever window it likes, not always the one the
    // user was in: the control that had it gets it back.
    const QPointer<QWidget> focus(QApplication::focusWidget());
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
    if (focus.isNull() || !focus->isVisible()) return;
    focus->activateWindow();
    focus->setFocus(Qt::OtherFocusReason);
}

void OpenOrReport(DesktopShell* shell, MessageBoxes* messages, QWidget* parent, const QString& target,
                  const QString& failureMessage) {
    QPointer<QWidget> owner(parent);
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || (parent != nullptr && focus->window() != parent->window()))
        focus = parent != nullptr ? parent->window()->focusWidget() : nullptr;
    QPointer<QWidget> opener(focus);
    const auto answer = [=](bool opened) {
        if (opened || messages == nullptr || (parent != nullptr && owner.isNull())) return;
        messages->ShowMessage(owner, failureMessage);
        if (opener.isNull() || !opener->isVisible()) return;
        opener->activateWindow();
        opener->setFocus(Qt::OtherFocusReason);
    };
    if (shell == nullptr) {
        answer(false);
        return;
    }
    shell->Open(target, answer);
}

QtDesktopShell::QtDesktopShell() : running_(std::make_unique<QObject>()) {}

QtDesktopShell::~QtDesktopShell() {
    // An opener still running when the program ends is not waited for, and its answer has no window.
    for (QProcess* process : running_->findChildren<QProcess*>()) process->disconnect();
}

void QtDesktopShell::Open(const QString& target, std::function<void(bool opened)> answer) {
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (opener.isEmpty()) {
        answer(QDesktopServices::openUrl(QUrl(target)));
        return;
    }
    auto* process = new QProcess(running_.get());
    process->setProgram(opener);
    process->setArguments({target});
    // Its complaints are for the terminal the program was started from, as any desktop program's.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setStandardInputFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, answer](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart) return;
                         process->deleteLater();
                         answer(false);
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, answer](int exitCode, QProcess::ExitStatus status) {
                         process->deleteLater();
                         answer(status == QProcess::NormalExit && exitCode == 0);
                     });
    process->start();
}

bool QtPrintDialogRunner::Run(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QString QtSaveFileDialog::AskSaveFile(QWidget* parent, const QString& caption, const QString& proposedName,
                                      const QString& filters) {
    return QFileDialog::getSaveFileName(parent, caption, QDir::current().filePath(proposedName), filters);
}

QString QtOpenFileDialog::AskOpenFile(QWidget* parent, const QString& caption, const QString& filters) {
    return QFileDialog::getOpenFileName(parent, caption, QDir::currentPath(), filters);
}

}  // namespace veltrix
