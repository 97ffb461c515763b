#include "info/info_windows.h"

#include <QFontMetrics>
#include <QHideEvent>
#include <algorithm>
#include <utility>

#include "platform/fonts.h"
#include "platform/page_button.h"
#include "product_texts/contact_data.h"
#include "product_texts/page_texts.h"
#include "program/preferences.h"
#include "program/program.h"
#include "program/startup_rule.h"

namespace veltrix {

namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

struct Row {
    int y;
    const char* label;
    QString value;
};

}  // namespace

// --- License Information ---

LicensePage::LicensePage(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("License Information"),
                 QStringLiteral("Veltrix License Information"), Kind::StayOnTopTool, parent) {
    setObjectName(QStringLiteral("license_page"));
    AddLogoBlock();
    FinishLayout();
    ShowAtStart(ShownAtStart(StartupPage::License, program.Prefs.StartupScreens));
}

const QStringList& LicensePage::LicenseLines() {
    static const QStringList lines{
        QStringLiteral("Norvane Microwave, Inc. grants you a free licence to install and use this program"),
        QStringLiteral("on any number of computers, and to give unmodified copies of it to others,"),
        QStringLiteral("provided that no fee is charged and that this licence accompanies every copy."),
        QStringLiteral("The program may not be sold, modified, decompiled or made part of another product."),
        QStringLiteral("The responses shown are theoretical estimates for standard Veltrix filters. They"),
        QStringLiteral("are provided as is, without warranty of any kind, express or implied, including"),
        QStringLiteral("fitness for a particular purpose. Norvane Microwave, Inc. shall not be liable for"),
        QStringLiteral("any damages arising from the use of this program or of the results it shows."),
        QStringLiteral("Only specifications confirmed by the factory in writing are binding. Veltrix is a"),
        QStringLiteral("registered trademark of Norvane Microwave, Inc. Using this program means that"),
        QStringLiteral("you accept these terms."),
    };
    return lines;
}

const QString& LicensePage::LegalNotice() {
    static const QString notice =
        QStringLiteral("Copyright %1 2026 Norvane Microwave, Inc.  All rights reserved.").arg(QChar(0x00A9));
    return notice;
}

void LicensePage::PaintPage(PageWriter& page) {
    page.Box(41, 113, 590, 381);
    page.Text(59, 103, kPageYellow, QStringLiteral("LICENSE"));
    page.UseSmall();
    const int rows[] = {129, 149, 169, 189, 219, 239, 259, 279, 309, 329, 349};
    const QStringList& lines = LicenseLines();
    for (qsizetype i = 0; i < lines.size(); ++i) page.Text(61, rows[i], kPageWhite, lines[i]);
    page.UseMedium();
    page.Text(98, 369, kPageYellow, LegalNotice());
}

// --- Introduction ---

IntroductionPage::IntroductionPage(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("Introduction"), QStringLiteral("Veltrix Welcome Notes"),
                 Kind::StayOnTopTool, parent) {
    setObjectName(QStringLiteral("introduction_page"));
    AddLogoBlock();
    FinishLayout();
    ShowAtStart(ShownAtStart(StartupPage::Introduction, program.Prefs.StartupScreens));
}

void IntroductionPage::PaintPage(PageWriter& page) {
    page.Box(25, 160, 607, 323);
    page.Text(40, 150, kPageYellow, QStringLiteral("INTRODUCTION"));
    const Row rows[] = {
        {179, "This program was created to assist the engineer in the selection of a", {}},
        {200, "standard Norvane Microwave ceramic bandpass filter.  It was designed primarily", {}},
        {221, "for use in commercial / industrial applications.  However, special packaging", {}},
        {242, "may be available to accommodate enhanced performance.  If you have a", {}},
        {263, "special requirement which is unavailable through the use of this program,", {}},
        {284, "please contact the factory.", {}},
    };
    for (const Row& row : rows) page.Text(40, row.y, kPageWhite, QString::fromLatin1(row.label));
}

void IntroductionPage::hideEvent(QHideEvent* event) {
    PageWindow::hideEvent(event);
    // Minimising is not closing, and the windows the program closes as it ends are not the user's.
    if (!event->spontaneous() && !program_.Ending)
        RecordFirstIntroduction(program_.Prefs, program_.PreferencesPath);
}

// --- Notes ---

NotesPage::NotesPage(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("Notes"), QStringLiteral("Veltrix Notes"), Kind::StayOnTopTool,
                 parent) {
    setObjectName(QStringLiteral("notes_page"));
    const auto bottomLabel = [this](const char* name, const QString& text, int left, int top, int pixels) {
        auto* label = new QLabel(text, client_);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(PixelFont(QStringLiteral("MS Sans Serif"), pixels));
        label->setAutoFillBackground(true);
        label->adjustSize();
        label->move(left, top);
        return label;
    };
    brandLabel_ = bottomLabel("brand", QStringLiteral("Veltrix"), 81, 369, 16);
    registeredMarkLabel_ =
        bottomLabel("registered_mark", QStringLiteral(" %1").arg(QChar(0x00AE)), 125, 368, 13);
    taglineLabel_ = bottomLabel(
        "tagline", QStringLiteral("Ceramic Filter Selection Program from Norvane Microwave, Inc."), 136, 369,
        16);
    ColourLabels(false);
    FinishLayout();
    ShowAtStart(ShownAtStart(StartupPage::Notes, program.Prefs.StartupScreens));
}

void NotesPage::PaintPage(PageWriter& page) {
    page.Box(20, 25, 612, 381);
    page.Text(38, 15, kPageYellow, QStringLiteral("NOTES"));
    for (const NotesRow& row : kNotesRows) {
        const QString text = Utf8(row.Text);
        switch (row.Kind) {
            case NoteLine::Numbered:
                page.UseMedium();
                page.Text(38, row.Y, kPageYellow, Utf8(row.Label));
                page.Text(100, row.Y, kPageWhite, text);
                break;
            case NoteLine::Following:
                page.UseMedium();
                page.Text(100, row.Y, kPageWhite, text);
                break;
            case NoteLine::Indented:
                page.UseSmall();
                page.Text(140, row.Y, kPageWhite, text);
                break;
            case NoteLine::Closing:
                page.UseMedium();
                page.Text(100, row.Y, kPageYellow, text);
                break;
        }
    }
}

void NotesPage::ColourLabels(bool printing) {
    const QColor& text = printing ? kPageBlue : kPageYellow;
    const QColor& background = printing ? kPageWhite : kPageBlack;
    for (QLabel* label : {brandLabel_, registeredMarkLabel_, taglineLabel_})
        SetLabelColours(label, text, &background);
}

// --- Filter Characteristics ---

FilterCharacteristicsPage::FilterCharacteristicsPage(Program& program, std::function<NotesPage*()> notes,
                                                     QWidget* parent)
    : PageWindow(program, QStringLiteral("Filter Characteristics"),
                 QStringLiteral("Veltrix User Information"), Kind::StayOnTopTool, parent),
      notes_(std::move(notes)) {
    setObjectName(QStringLiteral("filter_characteristics_page"));
    AddLogoBlock();
    note1Link_ = MakeLinkLabel(client_, "note1_link", QStringLiteral("* See Note 1"), 374, 194, kPageYellow);
    note2Link_ = MakeLinkLabel(client_, "note2_link", QStringLiteral("* See Note 2"), 263, 255, kPageYellow);
    notesLink_ = MakeLinkLabel(client_, "notes_link", QStringLiteral("Notes Screen"), 428, 357, kPageYellow);
    note1Link_->OnClick = [this] { onNote1Link(); };
    note2Link_->OnClick = [this] { onNote2Link(); };
    notesLink_->OnClick = [this] { onNotesLink(); };
    FinishLayout();
    ShowAtStart(ShownAtStart(StartupPage::Characteristics, program.Prefs.StartupScreens));
}

void FilterCharacteristicsPage::PaintPage(PageWriter& page) {
    page.Box(25, 119, 607, 370);
    page.Text(40, 109, kPageYellow, QStringLiteral("CHARACTERISTICS"));
    for (const CharacteristicsRow& row : kCharacteristicsRows) {
        if (!row.Label.empty()) page.Text(40, row.Y, kPageYellow, Utf8(row.Label));
        page.Text(260, row.Y, kPageWhite, Utf8(row.Value));
        if (!row.Aside.empty()) page.Text(380, row.Y, kPageWhite, Utf8(row.Aside));
    }
    const QString reference = QStringLiteral("* Please refer to important information on the ");
    page.Text(110, 358, kPageYellow, reference + QStringLiteral("                        "));
    // A face wider than the layout's would run the sentence into its link.
    const int end = 110 + QFontMetrics(PointFont(program_.Display.FontName, program_.Display.FontSizeMedium))
                              .horizontalAdvance(reference);
    notesLink_->move(std::max(428, end), 357);
}

void FilterCharacteristicsPage::ColourLabels(bool printing) {
    PageWindow::ColourLabels(printing);
    const QColor& link = printing ? kPageBlue : kPageYellow;
    for (QLabel* label : {note1Link_, note2Link_, notesLink_}) SetLabelColours(label, link);
}

void FilterCharacteristicsPage::ShowNotes() {
    NotesPage* notes = notes_ ? notes_() : nullptr;
    if (notes == nullptr) return;
    if (notes->isMinimized()) notes->showNormal();
    notes->show();
    notes->raise();
    notes->activateWindow();
}

void FilterCharacteristicsPage::onNote1Link() { ShowNotes(); }
void FilterCharacteristicsPage::onNote2Link() { ShowNotes(); }
void FilterCharacteristicsPage::onNotesLink() { ShowNotes(); }

// --- Configuration Instructions ---

ConfigurationPage::ConfigurationPage(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("Configuration Instructions"),
                 QStringLiteral("Veltrix Configuration Information"), Kind::StayOnTopTool, parent) {
    setObjectName(QStringLiteral("configuration_page"));
    FinishLayout();
}

void ConfigurationPage::PaintPage(PageWriter& page) {
    page.Box(25, 50, 607, 367);
    page.Text(45, 40, kPageYellow, QStringLiteral("CONFIGURATION INSTRUCTIONS"));
    page.Text(45, 75, kPageYellow, QStringLiteral("Preferences"));
    page.Text(45, 230, kPageYellow, QStringLiteral("Troubleshooting"));
    page.UseSmall();
    const struct {
        int y;
        const char* text;
        QStringList words;
    } lines[] = {
        {105, "Use the Preserve option to save screen positions and sizes,", {QStringLiteral("Preserve")}},
        {125, "to retain a units preference, and to suppress start-up screens.", {}},
        {155, "The Reset option resets screen positions and sizes, resets units", {QStringLiteral("Reset")}},
        {175, "to inches, and reactivates the five start-up screens that supply", {}},
        {195, "user information.", {}},
        {260,
         "MS Sans Serif, Arial, and Small Arial are font options.  The three",
         {QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"), QStringLiteral("Small Arial")}},
        {280,
         "Font options and the Offsets option are provided only for the",
         {QStringLiteral("Font"), QStringLiteral("Offsets")}},
        {300, "diagnosis and resolution of video problems.  These four options", {}},
        {320, "are not of general use to the user.", {}},
    };
    for (const auto& line : lines) {
        if (line.words.isEmpty())
            page.Text(90, line.y, kPageWhite, QString::fromLatin1(line.text));
        else
            page.Highlighted(90, line.y, QString::fromLatin1(line.text), line.words);
    }
}

// --- Contact Information ---

ContactPage::ContactPage(Program& program, QWidget* parent)
    : PageWindow(program, QStringLiteral("Contact Information"),
                 QStringLiteral("Veltrix Contact Information"), Kind::StayOnTopTool, parent) {
    setObjectName(QStringLiteral("contact_page"));
    AddLogoBlock();
    salesEmailLink_ =
        MakeLinkLabel(client_, "sales_email", QString::fromLatin1(contact::kSalesEmail), 94, 224, kPageWhite);
    europeSalesEmailLink_ = MakeLinkLabel(
        client_, "europe_sales_email", QString::fromLatin1(contact::kEuropeSalesEmail), 387, 224, kPageWhite);
    for (QLabel* label : {salesEmailLink_, europeSalesEmailLink_}) label->setAutoFillBackground(true);
    salesEmailLink_->OnClick = [this] { onSalesEmailLink(); };
    europeSalesEmailLink_->OnClick = [this] { onEuropeSalesEmailLink(); };

    webSiteButton_ = new PageButton(QString::fromLatin1(contact::kWebSiteHost), client_);
    webSiteButton_->setObjectName(QStringLiteral("web_site_button"));
    webSiteButton_->setGeometry(226, 305, 180, 30);
    webSiteButton_->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 16));
    connect(webSiteButton_, &QPushButton::clicked, this, &ContactPage::onWebSite);
    setFocusProxy(webSiteButton_);
    ColourLabels(false);
    FinishLayout();
}

void ContactPage::PaintPage(PageWriter& page) {
    page.Box(25, 160, 607, 267);
    page.Text(35, 150, kPageYellow, QStringLiteral("USA"));
    page.Text(328, 150, kPageYellow, QStringLiteral("EUROPE"));
    const struct {
        int x;
        int valueX;
        const char* phone;
        const char* fax;
    } columns[] = {{35, 94, contact::kSalesPhone, contact::kSalesFax},
                   {328, 387, contact::kEuropePhone, contact::kEuropeFax}};
    for (const auto& column : columns) {
        page.Text(column.x, 181, kPageYellow, QStringLiteral("Phone: "));
        page.Text(column.valueX, 181, kPageWhite, QString::fromLatin1(column.phone));
        page.Text(column.x, 203, kPageYellow, QStringLiteral("Fax: "));
        page.Text(column.valueX, 203, kPageWhite, QString::fromLatin1(column.fax));
        page.Text(column.x, 225, kPageYellow, QStringLiteral("E-mail:"));
    }
}

void ContactPage::ColourLabels(bool printing) {
    PageWindow::ColourLabels(printing);
    const QColor& text = printing ? kPageBlack : kPageWhite;
    const QColor& background = printing ? kPageWhite : kPageBlack;
    for (QLabel* label : {salesEmailLink_, europeSalesEmailLink_}) SetLabelColours(label, text, &background);
}

void ContactPage::onSalesEmailLink() {
    OpenShellLink(program_, this, QString::fromLatin1(contact::kSalesMailto),
                  QString::fromLatin1(kMailFailure));
}

void ContactPage::onEuropeSalesEmailLink() {
    OpenShellLink(program_, this, QString::fromLatin1(contact::kEuropeSalesMailto),
                  QString::fromLatin1(kMailFailure));
}

void ContactPage::onWebSite() {
    OpenShellLink(program_, this, QString::fromLatin1(contact::kWebSiteAddress),
                  QString::fromLatin1(kBrowserFailure));
}

}  // namespace veltrix
