#include "specification_window/tolerances_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "engine/tolerance_texts.h"
#include "platform/fonts.h"

namespace veltrix {

namespace {

const QString kFace = QStringLiteral("MS Sans Serif");

// Inside the bevel, with a little room to its right edge.
constexpr int kTextRight = 8 + 372 - 4;

QLabel* AddLabel(QWidget* parent, const QString& text, int left, int top, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setFont(font);
    label->adjustSize();
    // The substitute face runs a little wider than the classic one: close up the letters of a line
    // that would cross the bevel rather than let it.
    const int overflow = left + label->width() - kTextRight;
    if (overflow > 0 && text.size() > 1) {
        QFont tighter = font;
        tighter.setLetterSpacing(QFont::AbsoluteSpacing, -static_cast<qreal>(overflow) / (text.size() - 1));
        label->setFont(tighter);
        label->adjustSize();
    }
    label->move(left, top);
    return label;
}

}  // namespace

TolerancesDialog::TolerancesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("tolerances_dialog"));
    setWindowTitle(QStringLiteral("Tolerances"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(true);
    setFixedSize(388, 237);

    const QFont plain = PixelFont(kFace, 11);
    setFont(plain);

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("bevel"));
    bevel->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel->setGeometry(8, 8, 372, 177);

    QFont bold = plain;
    bold.setBold(true);
    const auto text = [](std::string_view line) { return QString::fromUtf8(line.data(), line.size()); };
    AddLabel(this, text(kToleranceHeading), 136, 24, bold);
    AddLabel(this, text(kToleranceIntroduction), 24, 48, plain);
    for (size_t i = 0; i < kToleranceGuidelines.size(); ++i)
        AddLabel(this, text(kToleranceGuidelines[i]), 48, 64 + 16 * static_cast<int>(i), plain);
    for (size_t i = 0; i < kToleranceGuarantees.size(); ++i)
        AddLabel(this, text(kToleranceGuarantees[i]), 24, 120 + 16 * static_cast<int>(i), plain);
    QFont italic = plain;
    italic.setItalic(true);
    QLabel* contact = AddLabel(this, text(kToleranceContact), 55, 160, italic);
    QPalette palette = contact->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    contact->setPalette(palette);

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("ok_button"));
    okButton_->setGeometry(160, 200, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    okButton_->setFocus();
}

void TolerancesDialog::showEvent(QShowEvent* event) {
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    QDialog::showEvent(event);
}

void TolerancesDialog::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    // The next showing starts at OK.
    okButton_->setFocus();
}

}  // namespace veltrix
