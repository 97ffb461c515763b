#pragma once

#include <QDialog>

#include "program/display_settings.h"

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace veltrix {

// "Display Field Offsets": edits the shift of the specification screen's result fields.
class TMoveDlg : public QDialog {
    Q_OBJECT
public:
    explicit TMoveDlg(DisplaySettings& display, QWidget* parent = nullptr);

    QFrame* Bevel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* CancelBtn = nullptr;

    void OKBtnClick();
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;  // FormShow

private:
    void FormHide();
    DisplaySettings& display_;
};

}  // namespace veltrix
