#include "info/about_box.h"

#include <QFile>
#include <QFrame>
#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>

#include "info/page_window.h"
#include "platform/fonts.h"
#include "printing/print_dialogs.h"
#include "program/contact_data.h"
#include "version/version.h"

namespace veltrix {

namespace {

QLabel* PanelLabel(QWidget* panel, const char* name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, panel);
    label->setObjectName(QString::fromLatin1(name));
    label->adjustSize();
    label->move(left, top);
    return label;
}

}  // namespace

TAboutBox::TAboutBox(Program& program, QWidget* parent) : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(298, 223);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setGeometry(8, 8, 281, 169);
    // A lowered outer and a raised inner edge.
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setLineWidth(1);
    Panel1->setMidLineWidth(0);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setGeometry(124, 15, 33, 33);
    ProgramIcon->setScaledContents(true);
    const QString icon = QStringLiteral(":/veltrix/icon.png");
    if (QFile::exists(icon)) ProgramIcon->setPixmap(QPixmap(icon));

    ProductName = PanelLabel(Panel1, "ProductName", QStringLiteral("Veltrix Version " VELTRIX_VERSION "a"), 95, 62);
    Descript =
        PanelLabel(Panel1, "Descript", QStringLiteral("Ceramic Bandpass Filter Selection Program"), 39, 82);
    Copyright = PanelLabel(Panel1, "Copyright", LegalNotice(), 47, 102);
    Owner = PanelLabel(Panel1, "Owner", QStringLiteral("Norvane Microwave, Inc."), 91, 122);
    Label1 = MakeLinkLabel(Panel1, "Label1", QString::fromLatin1(contact::kWebSiteHost), 86, 142, kPageBlue);
    Label1->setFont([this] {
        QFont font = this->font();
        font.setUnderline(true);
        return font;
    }());
    Label1->adjustSize();
    Label1->OnClick = [this] { Label1Click(); };

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setGeometry(111, 188, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

const QString& TAboutBox::LegalNotice() {
    static const QString notice =
        QStringLiteral("Copyright %1 2026.  All rights reserved.").arg(QChar(0x00A9));
    return notice;
}

void TAboutBox::Label1Click() {
    OpenShellLink(program_, this, QString::fromLatin1(contact::kWebSiteAddress),
                  QString::fromLatin1(kBrowserFailure));
}

void TAboutBox::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    OKButton->setFocus();
}

}  // namespace veltrix
