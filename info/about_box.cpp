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
#include "product_texts/contact_data.h"
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

AboutDialog::AboutDialog(Program& program, QWidget* parent) : QDialog(parent), program_(program) {
    setObjectName(QStringLiteral("about_box"));
    setWindowTitle(QStringLiteral("About"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setModal(true);
    setFont(PointFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(298, 223);

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("panel"));
    panel_->setGeometry(8, 8, 281, 169);
    // A lowered outer and a raised inner edge.
    panel_->setFrameStyle(QFrame::Box | QFrame::Sunken);
    panel_->setLineWidth(1);
    panel_->setMidLineWidth(0);

    programIcon_ = new QLabel(panel_);
    programIcon_->setObjectName(QStringLiteral("program_icon"));
    programIcon_->setGeometry(124, 15, 33, 33);
    programIcon_->setScaledContents(true);
    const QString icon = QStringLiteral(":/veltrix/icon.png");
    if (QFile::exists(icon)) programIcon_->setPixmap(QPixmap(icon));

    productName_ =
        PanelLabel(panel_, "product_name", QStringLiteral("Veltrix Version " VELTRIX_VERSION "a"), 95, 62);
    description_ = PanelLabel(panel_, "description",
                              QStringLiteral("Ceramic Bandpass Filter Selection Program"), 39, 82);
    copyright_ = PanelLabel(panel_, "copyright", LegalNotice(), 47, 102);
    owner_ = PanelLabel(panel_, "owner", QStringLiteral("Norvane Microwave, Inc."), 91, 122);
    webSiteLink_ = MakeLinkLabel(panel_, "web_site_link", QString::fromLatin1(contact::kWebSiteHost), 86, 142,
                                 kPageBlue);
    webSiteLink_->setFont([this] {
        QFont font = this->font();
        font.setUnderline(true);
        return font;
    }());
    webSiteLink_->adjustSize();
    webSiteLink_->OnClick = [this] { onWebSiteLink(); };

    okButton_ = new QPushButton(QStringLiteral("OK"), this);
    okButton_->setObjectName(QStringLiteral("ok_button"));
    okButton_->setGeometry(111, 188, 75, 25);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
}

const QString& AboutDialog::LegalNotice() {
    static const QString notice =
        QStringLiteral("Copyright %1 2026.  All rights reserved.").arg(QChar(0x00A9));
    return notice;
}

void AboutDialog::onWebSiteLink() {
    OpenShellLink(program_, this, QString::fromLatin1(contact::kWebSiteAddress),
                  QString::fromLatin1(kBrowserFailure));
}

void AboutDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    CentreOnScreen(this);
    okButton_->setFocus();
}

}  // namespace veltrix
