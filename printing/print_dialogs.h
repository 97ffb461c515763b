#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace veltrix {

// The progress dialog of a picture print job: the percentage in its caption and a Cancel button.
// Application-modal while shown, so the rest of the program takes no input during the job.
class PrintProgressDialog : public QDialog {
    Q_OBJECT
  public:
    explicit PrintProgressDialog(QWidget* owner = nullptr);

    bool Cancelled = false;
    QPushButton* CancelButton() const { return cancelButton_; }

    void onCancel();
    // Escape asks to cancel like the button; the dialog stays until the job closes it.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QPushButton* cancelButton_ = nullptr;
};

// Creates a progress dialog owned by the window, shows it and processes pending events.
PrintProgressDialog* OpenPrintProgress(QWidget* window);
void SetPrintProgressText(PrintProgressDialog* dialog, const QString& text);
bool PrintProgressCancelled(PrintProgressDialog* dialog);
void ClosePrintProgress(PrintProgressDialog* dialog);

// "Abort Print": shown modally when a directly drawn printout stopped on an error.
class AbortPrintDialog : public QDialog {
    Q_OBJECT
  public:
    explicit AbortPrintDialog(QWidget* parent = nullptr);

    QFrame* Bevel() const { return bevel_; }
    QLabel* Heading() const { return heading_; }
    QLabel* Message() const { return message_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QFrame* bevel_ = nullptr;
    QLabel* heading_ = nullptr;
    QLabel* message_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// Moves a top-level window to the centre of the screen it is on (or the primary screen).
void CentreOnScreen(QWidget* window);
// Moves a window in so that it lies inside its screen's available area, its top left corner first
// where it is the larger.
void KeepOnScreen(QWidget* window);

}  // namespace veltrix
