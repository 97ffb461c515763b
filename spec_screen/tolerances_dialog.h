#pragma once

#include <QDialog>

class QPushButton;

namespace veltrix {

// "Tolerances": the manufacturing guidelines behind the computed figures.
class TTolWin : public QDialog {
    Q_OBJECT

  public:
    explicit TTolWin(QWidget* parent = nullptr);

    QPushButton* OKBtn() const { return okBtn_; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void FormHide();

    QPushButton* okBtn_ = nullptr;
};

}  // namespace veltrix
