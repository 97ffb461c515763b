#include "app/field_offsets_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "platform/fonts.h"
#include "program/display_options.h"

namespace veltrix {

FieldOffsetsDialog::FieldOffsetsDialog(DisplaySettings& display, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      display_(display) {
    setObjectName(QStringLiteral("field_offsets_dialog"));
    setWindowTitle(QStringLiteral("Display Field Offsets"));
    setModal(true);
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(384, 179);

    bevel_ = new QFrame(this);
    bevel_->setObjectName(QStringLiteral("bevel"));
    bevel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    bevel_->setGeometry(8, 8, 281, 161);

    heading_ = new QLabel(QStringLiteral("Offsets for Display Fields on Selection Screen"), this);
    heading_->setObjectName(QStringLiteral("heading"));
    heading_->move(32, 30);
    heading_->adjustSize();

    const auto makeEdit = [this](const char* name, int top, const QString& tip) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(120, top, 65, 21);
        edit->setToolTip(tip);
        edit->setAccessibleName(tip);
        return edit;
    };
    horizontalEdit_ =
        makeEdit("horizontal_offset", 76,
                 QStringLiteral("Horizontal offset in pixels (-300 to 300; positive moves left)"));
    verticalEdit_ = makeEdit("vertical_offset", 112,
                             QStringLiteral("Vertical offset in pixels (-150 to 150; positive moves up)"));

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("ok_button"));
    okButton_->setGeometry(300, 8, 75, 25);
    okButton_->setDefault(true);
    okButton_->setAutoDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &FieldOffsetsDialog::onOk);

    cancelButton_ = new QPushButton(QStringLiteral("Cancel"), this);
    cancelButton_->setObjectName(QStringLiteral("cancel_button"));
    cancelButton_->setGeometry(300, 38, 75, 25);
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(horizontalEdit_, verticalEdit_);
    setTabOrder(verticalEdit_, okButton_);
    setTabOrder(okButton_, cancelButton_);
}

void FieldOffsetsDialog::onOk() {
    const FieldOffsets offsets =
        ParseFieldOffsets(horizontalEdit_->text().toStdString(), verticalEdit_->text().toStdString());
    display_.FieldOffsetX = offsets.X;
    display_.FieldOffsetY = offsets.Y;
    accept();
}

void FieldOffsetsDialog::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        horizontalEdit_->setText(QString::asprintf("%d", display_.FieldOffsetX));
        verticalEdit_->setText(QString::asprintf("%d", display_.FieldOffsetY));
        if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        horizontalEdit_->setFocus(Qt::OtherFocusReason);
        horizontalEdit_->selectAll();
    }
    QDialog::showEvent(event);
}

void FieldOffsetsDialog::setVisible(bool visible) {
    const bool hiding = !visible && isVisible();
    QDialog::setVisible(visible);
    // Until the window system has moved activation away, the toolkit still moves the focus of the
    // hidden dialog on by itself; the focus is put back once that has happened.
    if (hiding)
        QTimer::singleShot(0, this, [this] {
            if (!isVisible()) okButton_->setFocus(Qt::OtherFocusReason);
        });
}

}  // namespace veltrix
