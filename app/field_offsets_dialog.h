#pragma once

#include <QDialog>

#include "program/display_settings.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veltrix {

// "Display Field Offsets": edits the shift of the specification screen's result fields.
class FieldOffsetsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit FieldOffsetsDialog(DisplaySettings& display, QWidget* parent = nullptr);

    QFrame* Bevel() const { return bevel_; }
    QLabel* Heading() const { return heading_; }
    QLineEdit* HorizontalEdit() const { return horizontalEdit_; }
    QLineEdit* VerticalEdit() const { return verticalEdit_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

    void onOk();
    void setVisible(bool visible) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    DisplaySettings& display_;
    QFrame* bevel_ = nullptr;
    QLabel* heading_ = nullptr;
    QLineEdit* horizontalEdit_ = nullptr;
    QLineEdit* verticalEdit_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace veltrix
