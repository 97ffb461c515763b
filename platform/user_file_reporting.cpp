#include "platform/user_file_reporting.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProgressDialog>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace veltrix {

bool WriteUserFileReporting(const QByteArray& nativePath, const QByteArray& bytes, QString* error) {
    const FileResult written =
        WriteUserFile(nativePath.toStdString(), std::string_view(bytes.constData(), bytes.size()));
    if (!written.Ok && error) *error = written.Cancelled ? QString() : QString::fromStdString(written.Error);
    return written.Ok;
}

bool WriteUserFileReporting(const QString& path, const QByteArray& bytes, QString* error) {
    return WriteUserFileReporting(QFile::encodeName(path), bytes, error);
}

QString MessagePath(const QByteArray& nativePath) {
    return QString::fromStdString(EscapedForMessage(nativePath.toStdString()));
}

QString MessagePath(const QString& path) { return MessagePath(QFile::encodeName(path)); }

namespace {

// A quick reader is not worth a dialog that flashes up.
constexpr qint64 kQuietWaitMs = 400;

}  // namespace

struct WindowReaderWait::Shown {
    QElapsedTimer Waited;
    std::unique_ptr<QProgressDialog> Dialog;
};

WindowReaderWait::WindowReaderWait(QString caption)
    : caption_(std::move(caption)), shown_(std::make_unique<Shown>()) {}

WindowReaderWait::~WindowReaderWait() = default;

bool WindowReaderWait::KeepWaiting(const std::string& path) {
    if (!shown_->Waited.isValid()) shown_->Waited.start();
    if (!shown_->Dialog && shown_->Waited.elapsed() >= kQuietWaitMs) {
        auto dialog =
            std::make_unique<QProgressDialog>(QStringLiteral("Waiting for a program to read %1 ...")
                                                  .arg(QString::fromStdString(EscapedForMessage(path))),
                                              QStringLiteral("Cancel"), 0, 0, QApplication::activeWindow());
        dialog->setObjectName(QStringLiteral("reader_wait"));
        dialog->setWindowTitle(caption_);
        dialog->setWindowModality(Qt::ApplicationModal);
        dialog->setMinimumDuration(0);
        dialog->setAutoClose(false);
        dialog->setAutoReset(false);
        dialog->show();
        shown_->Dialog = std::move(dialog);
    }
    // Until the modal dialog shows, the user's input waits: a second command must not start inside
    // this one.
    QCoreApplication::processEvents(shown_->Dialog ? QEventLoop::AllEvents
                                                   : QEventLoop::ExcludeUserInputEvents);
    return !(shown_->Dialog && shown_->Dialog->wasCanceled());
}

void WindowReaderWait::Finished() {
    shown_->Dialog.reset();
    shown_->Waited.invalidate();
}

}  // namespace veltrix
