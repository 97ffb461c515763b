#include "platform/services.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace veltrix {

void QtMessageBoxes::ShowMessage(QWidget* parent, const QString& text, const QString& caption) {
    QString title = caption;
    if (title.isEmpty())
        title = !defaultCaption_.isEmpty() ? defaultCaption_ : QApplication::applicationName();
    QMessageBox box(QMessageBox::NoIcon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtDesktopShell::Open(const QString& target) { return QDesktopServices::openUrl(QUrl(target)); }

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
