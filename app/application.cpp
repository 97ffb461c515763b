#include "app/application.h"

#include <QWidget>

#include "platform/services.h"

namespace veltrix {

QString ExceptionMessage(const char* what) {
    QString text = what != nullptr ? QString::fromLocal8Bit(what).trimmed() : QString();
    if (text.isEmpty()) text = QStringLiteral("An unexpected error occurred");
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    return text;
}

ExceptionReporter::ExceptionReporter(MessageBoxes* messages, QObject* parent)
    : QObject(parent), messages_(messages) {}

std::exception_ptr ExceptionReporter::TakeStartupFailure() {
    std::exception_ptr failure = startupFailure_;
    startupFailure_ = nullptr;
    return failure;
}

void ExceptionReporter::Report(const QString& text, std::exception_ptr failure) {
    if (starting_) {
        if (!startupFailure_) startupFailure_ = failure;
        return;
    }
    if (pending_.contains(text)) return;
    pending_.insert(text);
    QMetaObject::invokeMethod(
        this, [this, text] { ShowPending(text); }, Qt::QueuedConnection);
}

void ExceptionReporter::ShowPending(const QString& text) {
    if (messages_ != nullptr) messages_->ShowMessage(QApplication::activeWindow(), text);
    pending_.remove(text);
}

VeltrixApplication::VeltrixApplication(int& argc, char** argv)
    : QApplication(argc, argv), reporter_(nullptr) {}

bool VeltrixApplication::notify(QObject* receiver, QEvent* event) {
    return reporter_.Guard([&] { return QApplication::notify(receiver, event); });
}

}  // namespace veltrix
