#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QPrinter;
class QWidget;

namespace veltrix {

// Plain message boxes with an OK button; tests capture the text instead of blocking.
class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    virtual void ShowMessage(QWidget* parent, const QString& text, const QString& caption = QString()) = 0;
};

// The desktop's "open" action on a web address or a mailto: target. The answer, whether the target
// opened, comes once the desktop's opener has finished; the window goes on meanwhile.
class DesktopShell {
  public:
    virtual ~DesktopShell() = default;
    virtual void Open(const QString& target, std::function<void(bool opened)> answer) = 0;
};

// Opens the target; when that fails, shows the message over the parent and gives the focus back to
// the control that had it when the user asked (it may have gone elsewhere by the time the opener
// gives up). Nothing is shown once the parent is gone.
void OpenOrReport(DesktopShell* shell, MessageBoxes* messages, QWidget* parent, const QString& target,
                  const QString& failureMessage);

// The system print dialog; false when the user cancelled.
class PrintDialogRunner {
  public:
    virtual ~PrintDialogRunner() = default;
    virtual bool Run(QPrinter& printer, QWidget* parent) = 0;
};

// The system's save-file dialog; an empty path when the user cancelled.
class SaveFileDialog {
  public:
    virtual ~SaveFileDialog() = default;
    virtual QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposedName,
                                const QString& filters) = 0;
};

// The system's open-file dialog; an empty path when the user cancelled.
class OpenFileDialog {
  public:
    virtual ~OpenFileDialog() = default;
    virtual QString AskOpenFile(QWidget* parent, const QString& caption, const QString& filters) = 0;
};

// The range and number of points of an exported sweep.
struct ExportRangeChoice {
    double FromMhz = 0.0;
    double ToMhz = 0.0;
    int Points = 0;
    bool operator==(const ExportRangeChoice&) const = default;
};

// Asks for an export's range, starting from a proposal; false when the user cancelled. The check
// gives the reason a choice cannot be exported (empty when it can), and a refused choice is not
// returned.
class ExportRangeDialog {
  public:
    virtual ~ExportRangeDialog() = default;
    virtual bool AskExportRange(QWidget* parent, const QString& caption, ExportRangeChoice& choice,
                                const std::function<QString(const ExportRangeChoice&)>& check) = 0;
};

class QtMessageBoxes : public MessageBoxes {
  public:
    // Messages without a caption of their own carry the application's title.
    explicit QtMessageBoxes(QString defaultCaption = QString())
        : defaultCaption_(std::move(defaultCaption)) {}
    void ShowMessage(QWidget* parent, const QString& text, const QString& caption) override;

  private:
    QString defaultCaption_;
};

// The desktop's opener, xdg-open, judged by its exit status: it starts without fail and says only
// afterwards that no program handles the target. Without it, Qt's own way.
class QtDesktopShell : public DesktopShell {
  public:
    QtDesktopShell();
    ~QtDesktopShell() override;
    void Open(const QString& target, std::function<void(bool opened)> answer) override;

  private:
    // Owns the openers still running.
    std::unique_ptr<QObject> running_;
};

class QtPrintDialogRunner : public PrintDialogRunner {
  public:
    bool Run(QPrinter& printer, QWidget* parent) override;
};

class QtSaveFileDialog : public SaveFileDialog {
  public:
    QString AskSaveFile(QWidget* parent, const QString& caption, const QString& proposedName,
                        const QString& filters) override;
};

class QtOpenFileDialog : public OpenFileDialog {
  public:
    QString AskOpenFile(QWidget* parent, const QString& caption, const QString& filters) override;
};

}  // namespace veltrix
