#pragma once

#include <QDialog>

class QPushButton;

namespace veltrix {

// "Tolerances": the manufacturing guidelines behind the computed figures.
class TolerancesDialog : public QDialog {
    Q_OBJECT

  public:
    explicit TolerancesDialog(QWidget* parent = nullptr);

    QPushButton* OkButton() const { return okButton_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QPushButton* okButton_ = nullptr;
};

}  // namespace veltrix
