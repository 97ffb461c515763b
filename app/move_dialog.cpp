#include "app/move_dialog.h"

#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTimer>

#include "program/display_options.h"
#include "platform/fonts.h"

namespace veltrix {

TMoveDlg::TMoveDlg(DisplaySettings& display, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      display_(display) {
    setObjectName(QStringLiteral("MoveDlg"));
    setWindowTitle(QStringLiteral("Display Field Offsets"));
    setModal(true);
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(384, 179);

    Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Bevel1->setGeometry(8, 8, 281, 161);

    Label1 = new QLabel(QStringLiteral("Offsets for Display Fields on Selection Screen"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(32, 30);
    Label1->adjustSize();

    const auto makeEdit = [this](const char* name, int top, const QString& tip) {
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setGeometry(120, top, 65, 21);
        edit->setToolTip(tip);
        edit->setAccessibleName(tip);
        return edit;
    };
    Edit1 = makeEdit("Edit1", 76,
                     QStringLiteral("Horizontal offset in pixels (-300 to 300; positive moves left)"));
    Edit2 =
        makeEdit("Edit2", 112, QStringLiteral("Vertical offset in pixels (-150 to 150; positive moves up)"));

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setGeometry(300, 8, 75, 25);
    OKBtn->setDefault(true);
    OKBtn->setAutoDefault(true);
    connect(OKBtn, &QPushButton::clicked, this, &TMoveDlg::OKBtnClick);

    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(300, 38, 75, 25);
    CancelBtn->setAutoDefault(false);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, OKBtn);
    setTabOrder(OKBtn, CancelBtn);
}

void TMoveDlg::OKBtnClick() {
    const FieldOffsets offsets = ParseFieldOffsets(Edit1->text().toStdString(), Edit2->text().toStdString());
    display_.FieldOffsetX = offsets.X;
    display_.FieldOffsetY = offsets.Y;
    accept();
}

void TMoveDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        Edit1->setText(QString::asprintf("%d", display_.FieldOffsetX));
        Edit2->setText(QString::asprintf("%d", display_.FieldOffsetY));
        if (QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen()) {
            QRect frame = frameGeometry();
            frame.moveCenter(screen->availableGeometry().center());
            move(frame.topLeft());
        }
        Edit1->setFocus(Qt::OtherFocusReason);
        Edit1->selectAll();
    }
    QDialog::showEvent(event);
}

void TMoveDlg::setVisible(bool visible) {
    const bool hiding = !visible && isVisible();
    QDialog::setVisible(visible);
    // Until the window system has moved activation away, the toolkit still moves the focus of the
    // hidden dialog on by itself; the focus is put back once that has happened.
    if (hiding)
        QTimer::singleShot(0, this, [this] {
            if (!isVisible()) FormHide();
        });
}

void TMoveDlg::FormHide() { OKBtn->setFocus(Qt::OtherFocusReason); }

}  // namespace veltrix
