#include "tabular/export_range_dialog.h"

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
    FromEdit = new QLineEdit(Shown(proposal.FromMhz), this);
    ToEdit = new QLineEdit(Shown(proposal.ToMhz), this);
    PointsEdit = new QLineEdit(QString::number(proposal.Points), this);
    FromEdit->setObjectName(QStringLiteral("FromEdit"));
    ToEdit->setObjectName(QStringLiteral("ToEdit"));
    PointsEdit->setObjectName(QStringLiteral("PointsEdit"));

    auto* form = new QFormLayout;
    auto addRow = [&](const QString& text, QLineEdit* edit) {
        auto* label = new QLabel(text, this);
        label->setBuddy(edit);
        form->addRow(label, edit);
    };
    addRow(QStringLiteral("&From (MHz):"), FromEdit);
    addRow(QStringLiteral("&To (MHz):"), ToEdit);
    addRow(QStringLiteral("&Points:"), PointsEdit);

    MessageLabel = new QLabel(this);
    MessageLabel->setObjectName(QStringLiteral("MessageLabel"));
    MessageLabel->setWordWrap(true);
    MessageLabel->setMinimumWidth(320);
    MessageLabel->hide();

    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    Buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    Buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(Buttons, &QDialogButtonBox::accepted, this, &ExportRangeForm::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &ExportRangeForm::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(MessageLabel);
    layout->addWidget(Buttons);
    setTabOrder(FromEdit, ToEdit);
    setTabOrder(ToEdit, PointsEdit);
    setTabOrder(PointsEdit, Buttons);
    FromEdit->setFocus();
    FromEdit->selectAll();
}

void ExportRangeForm::Refuse(QLineEdit* edit, const QString& message) {
    MessageLabel->setText(message);
    MessageLabel->setAccessibleName(message);
    MessageLabel->show();
    edit->setFocus();
    edit->selectAll();
}

void ExportRangeForm::accept() {
    ExportRangeChoice choice = proposal_;
    double from = 0.0;
    double to = 0.0;
    if (FromEdit->text().trimmed() != Shown(proposal_.FromMhz)) {
        if (!ReadNumber(FromEdit->text(), from) || !(from > 0.0)) {
            Refuse(FromEdit, QStringLiteral("From: enter the start of the range in MHz, a number above 0."));
            return;
        }
        choice.FromMhz = from;
    }
    if (ToEdit->text().trimmed() != Shown(proposal_.ToMhz)) {
        if (!ReadNumber(ToEdit->text(), to) || !(to > 0.0)) {
            Refuse(ToEdit, QStringLiteral("To: enter the end of the range in MHz, a number above 0."));
            return;
        }
        choice.ToMhz = to;
    }
    if (!(choice.FromMhz < choice.ToMhz)) {
        Refuse(ToEdit, QStringLiteral("To: the end of the range must be above its start (%1 MHz).")
                           .arg(Shown(choice.FromMhz)));
        return;
    }
    bool ok = false;
    const int points = PointsEdit->text().trimmed().toInt(&ok);
    if (!ok || points < kMinExportPoints || points > kMaxExportPoints) {
        Refuse(PointsEdit, QStringLiteral("Points: enter a whole number from %1 to %2.")
                               .arg(kMinExportPoints)
                               .arg(kMaxExportPoints));
        return;
    }
    choice.Points = points;
    if (check_) {
        const QString problem = check_(choice);
        if (!problem.isEmpty()) {
            Refuse(PointsEdit, problem);
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
