#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QPushButton;

namespace veltrix {

// The progress dialog of a picture print job: the percentage in its caption and a Cancel button.
// Application-modal while shown, so the rest of the program takes no input during the job.
class TAbortDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TAbortDialog(QWidget* owner = nullptr);

    bool Cancelled = false;
    QPushButton* btnCancel = nullptr;

    void btnCancelClick();
    // Escape asks to cancel like the button; the dialog stays until the job closes it.
    void reject() override;

  protected:
    void closeEvent(QCloseEvent* event) override;
};

// Creates a progress dialog owned by the window, shows it and processes pending events.
TAbortDialog* OpenPrintProgress(QWidget* window);
void SetPrintProgressText(TAbortDialog* dialog, const QString& text);
bool PrintProgressCancelled(TAbortDialog* dialog);
void ClosePrintProgress(TAbortDialog* dialog);

// "Abort Print": shown modally when a directly drawn printout stopped on an error.
class TPXDlg : public QDialog {
    Q_OBJECT
  public:
    explicit TPXDlg(QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* PXDlgLbl = nullptr;
    QLabel* PXDlgMsg = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
};

// Moves a top-level window to the centre of the screen it is on (or the primary screen).
void CentreOnScreen(QWidget* window);

}  // namespace veltrix
