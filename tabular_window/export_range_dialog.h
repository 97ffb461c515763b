#pragma once

#include <QDialog>
#include <QString>
#include <functional>

#include "platform/services.h"

class QDialogButtonBox;
class QLabel;
class QLineEdit;

namespace veltrix {

// The export's small dialog: the range in MHz and the number of points, each with its mnemonic,
// OK and Cancel. OK with an entry that cannot be exported keeps the dialog open, says why below
// the entries and puts the focus on the entry at fault.
class ExportRangeForm : public QDialog {
    Q_OBJECT
  public:
    using Check = std::function<QString(const ExportRangeChoice&)>;
    ExportRangeForm(const QString& caption, const ExportRangeChoice& proposal, Check check,
                    QWidget* parent = nullptr);

    // The accepted entries; an entry left as proposed keeps the proposal's exact value.
    const ExportRangeChoice& Choice() const { return choice_; }
    void accept() override;

    QLineEdit* FromEdit() const { return fromEdit_; }
    QLineEdit* ToEdit() const { return toEdit_; }
    QLineEdit* PointsEdit() const { return pointsEdit_; }
    QLabel* MessageLabel() const { return messageLabel_; }
    QDialogButtonBox* Buttons() const { return buttons_; }

  private:
    void Refuse(QLineEdit* edit, const QString& message);

    ExportRangeChoice proposal_;
    ExportRangeChoice choice_;
    Check check_;
    QLineEdit* fromEdit_ = nullptr;
    QLineEdit* toEdit_ = nullptr;
    QLineEdit* pointsEdit_ = nullptr;
    QLabel* messageLabel_ = nullptr;
    QDialogButtonBox* buttons_ = nullptr;
};

class QtExportRangeDialog : public ExportRangeDialog {
  public:
    bool AskExportRange(QWidget* parent, const QString& caption, ExportRangeChoice& choice,
                        const std::function<QString(const ExportRangeChoice&)>& check) override;
};

}  // namespace veltrix
