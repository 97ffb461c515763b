#pragma once

#include <QApplication>
#include <QObject>
#include <QSet>
#include <QString>
#include <exception>

namespace veltrix {

class MessageBoxes;

// The text of the program's exception message box: the exception's message, ending in a full stop.
QString ExceptionMessage(const char* what);

// Shows the exceptions that escape event handlers. A message is shown once the handler that raised
// it has unwound, so a paint or a key press is never left half done behind a modal box; the same
// message is not queued twice while it waits or shows.
class ExceptionReporter : public QObject {
    Q_OBJECT
  public:
    explicit ExceptionReporter(MessageBoxes* messages, QObject* parent = nullptr);
    void SetMessages(MessageBoxes* messages) { messages_ = messages; }

    // Runs the delivery; an exception it raises is reported (or, during start-up, kept) and false
    // returned in place of the delivery's result.
    template <typename Deliver>
    bool Guard(Deliver&& deliver) {
        try {
            return deliver();
        } catch (const std::exception& e) {
            Report(ExceptionMessage(e.what()), std::current_exception());
        } catch (...) {
            Report(ExceptionMessage(nullptr), std::current_exception());
        }
        return false;
    }

    // While starting, exceptions are kept for the start-up code, which ends the program.
    void SetStarting(bool starting) { starting_ = starting; }
    std::exception_ptr TakeStartupFailure();

  private:
    void Report(const QString& text, std::exception_ptr failure);
    void ShowPending(const QString& text);

    MessageBoxes* messages_;
    bool starting_ = false;
    std::exception_ptr startupFailure_;
    QSet<QString> pending_;
};

// The application object: every event passes through the reporter.
class VeltrixApplication : public QApplication {
    Q_OBJECT
  public:
    VeltrixApplication(int& argc, char** argv);
    ExceptionReporter& Reporter() { return reporter_; }
    bool notify(QObject* receiver, QEvent* event) override;

  private:
    ExceptionReporter reporter_;
};

}  // namespace veltrix
