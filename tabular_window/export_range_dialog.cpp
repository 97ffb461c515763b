#include "tabular_window/export_range_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "exports/exports.h"

namespace veltrix {
namespace {

QString Shown(double mhz) { return QString::number(mhz, 'g', 12); }

// A number as typed, with a decimal point or a decimal comma, whatever the user's locale.
bool ReadNumber(const QString& text, double& value) {
    QString plain = text.trimmed();
    if (!plain.contains(QLatin1Char('.'))) plain.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    value = QLocale::c().toDouble(plain, &ok);
    return ok && std::isfinite(value);
}

}  // namespace

ExportRangeForm::ExportRangeForm(const QString& caption, const ExportRangeChoice& proposal, Check check,
                                 QWidget* parent)
    : QDialog(parent), proposal_(proposal), choice_(proposal), check_(std::move(check)) {
    setWindowTitle(caption);
    setObjectName(QStringLiteral("ExportRangeForm"));
    fromEdit_ = new QLineEdit(Shown(proposal.FromMhz), this);
    toEdit_ = new QLineEdit(Shown(proposal.ToMhz), this);
    pointsEdit_ = new QLineEdit(QString::number(proposal.Points), this);
    fromEdit_->setObjectName(QStringLiteral("FromEdit"));
    toEdit_->setObjectName(QStringLiteral("ToEdit"));
    pointsEdit_->setObjectName(QStringLiteral("PointsEdit"));

    auto* form = new QFormLayout;
    auto addRow = [&](const QString& text, QLineEdit* edit) {
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    addRow(QStringLiteral("&From (MHz):"), fromEdit_);
    addRow(QStringLiteral("&To (MHz):"), toEdit_);
    addRow(QStringLiteral("&Points:"), pointsEdit_);

    messageLabel_ = new QLabel(this);
    messageLabel_->setObjectName(QStringLiteral("MessageLabel"));
    messageLabel_->setWordWrap(true);
    messageLabel_->setMinimumWidth(320);
    messageLabel_->hide();

    buttons_ = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons_->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons_->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons_, &QDialogButtonBox::accepted, this, &ExportRangeForm::accept);
    connect(buttons_, &QDialogButtonBox::rejected, this, &ExportRangeForm::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(messageLabel_);
    layout->addWidget(buttons_);
    setTabOrder(fromEdit_, toEdit_);
    setTabOrder(toEdit_, pointsEdit_);
    setTabOrder(pointsEdit_, buttons_);
    fromEdit_->setFocus();
    fromEdit_->selectAll();
}

void ExportRangeForm::Refuse(QLineEdit* edit, const QString& message) {
    messageLabel_->setText(message);
    messageLabel_->setAccessibleName(message);
    messageLabel_->show();
    edit->setFocus();
    edit->selectAll();
}

void ExportRangeForm::accept() {
    ExportRangeChoice choice = proposal_;
    double from = 0.0;
    double to = 0.0;
    if (fromEdit_->text().trimmed() != Shown(proposal_.FromMhz)) {
        if (!ReadNumber(fromEdit_->text(), from) || !(from > 0.0)) {
            Refuse(fromEdit_, QStringLiteral("From: enter the start of the range in MHz, a number above 0."));
            return;
        }
        choice.FromMhz = from;
    }
    if (toEdit_->text().trimmed() != Shown(proposal_.ToMhz)) {
        if (!ReadNumber(toEdit_->text(), to) || !(to > 0.0)) {
            Refuse(toEdit_, QStringLiteral("To: enter the end of the range in MHz, a number above 0."));
            return;
        }
        choice.ToMhz = to;
    }
    if (!(choice.FromMhz < choice.ToMhz)) {
        Refuse(toEdit_, QStringLiteral("To: the end of the range must be above its start (%1 MHz).")
                            .arg(Shown(choice.FromMhz)));
        return;
    }
    bool ok = false;
    const int points = pointsEdit_->text().trimmed().toInt(&ok);
    if (!ok || points < kMinExportPoints || points > kMaxExportPoints) {
        Refuse(pointsEdit_, QStringLiteral("Points: enter a whole number from %1 to %2.")
                                .arg(kMinExportPoints)
                                .arg(kMaxExportPoints));
        return;
    }
    choice.Points = points;
    if (check_) {
        const QString problem = check_(choice);
        if (!problem.isEmpty()) {
            Refuse(pointsEdit_, problem);
            return;
        }
    }
    choice_ = choice;
    QDialog::accept();
}

bool QtExportRangeDialog::AskExportRange(QWidget* parent, const QString& caption, ExportRangeChoice& choice,
                                         const std::function<QString(const ExportRangeChoice&)>& check) {
    ExportRangeForm form(caption, choice, check, parent);
    if (form.exec() != QDialog::Accepted) return false;
    choice = form.Choice();
    return true;
}

}  // namespace veltrix
