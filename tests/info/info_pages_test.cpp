#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>

#include "info/about_box.h"
#include "info/info_windows.h"
#include "info/quote_request_window.h"
#include "info_fixture.h"
#include "platform/fonts.h"
#include "product_texts/contact_data.h"
#include "program/startup_rule.h"

namespace veltrix {
namespace {

using testing::InfoTest;

const QColor kMagenta(255, 0, 255);
const QColor kGreen(0, 255, 0);

bool Yellowish(QRgb pixel) { return qRed(pixel) > 60 && qGreen(pixel) > 60 && qBlue(pixel) < 30; }

struct PageCase {
    const char* name;
    std::function<std::unique_ptr<PageWindow>(Program&)> make;
    QRect box;  // left, top, right, bottom as the page gives them
    QPoint heading;
    QString headingText;
    QString caption;
    QString jobTitle;
    bool logo;
};

void PrintTo(const PageCase& page, std::ostream* os) { *os << page.name; }

QRect Box(int l, int t, int r, int b) { return QRect(QPoint(l, t), QPoint(r, b)); }

template <typename T>
std::function<std::unique_ptr<PageWindow>(Program&)> Make() {
    return [](Program& program) { return std::make_unique<T>(program); };
}

const PageCase kPages[] = {
    {"License",
     Make<LicensePage>(),
     Box(41, 113, 590, 381),
     {59, 103},
     "LICENSE",
     "License Information",
     "Veltrix License Information",
     true},
    {"Introduction",
     Make<IntroductionPage>(),
     Box(25, 160, 607, 323),
     {40, 150},
     "INTRODUCTION",
     "Introduction",
     "Veltrix Welcome Notes",
     true},
    {"Characteristics",
     [](Program& p) { return std::make_unique<FilterCharacteristicsPage>(p, nullptr); },
     Box(25, 119, 607, 370),
     {40, 109},
     "CHARACTERISTICS",
     "Filter Characteristics",
     "Veltrix User Information",
     true},
    {"Notes", Make<NotesPage>(), Box(20, 25, 612, 381), {38, 15}, "NOTES", "Notes", "Veltrix Notes", false},
    {"Configuration",
     Make<ConfigurationPage>(),
     Box(25, 50, 607, 367),
     {45, 40},
     "CONFIGURATION INSTRUCTIONS",
     "Configuration Instructions",
     "Veltrix Configuration Information",
     false},
    {"Contact",
     Make<ContactPage>(),
     Box(25, 160, 607, 267),
     {35, 150},
     "USA",
     "Contact Information",
     "Veltrix Contact Information",
     true},
    {"Quote",
     Make<QuoteRequestWindow>(),
     Box(25, 160, 607, 323),
     {40, 150},
     "REQUEST FOR QUOTE",
     "Request for Quote",
     "Veltrix Quote Request",
     true},
};

class PageWindows : public InfoTest, public ::testing::WithParamInterface<PageCase> {
  protected:
    void SetUp() override {
        InfoTest::SetUp();
        program.Prefs.StartupScreens = StartupPagesState::Preserved;
        window = GetParam().make(program);
    }
    int HeadingWidth() const {
        return QFontMetrics(PointFont(program.Display.FontName, program.Display.FontSizeMedium))
            .horizontalAdvance(GetParam().headingText);
    }
    std::unique_ptr<PageWindow> window;
};

TEST_P(PageWindows, BoxIsFramedAndTheHeadingInterruptsItsTopEdge) {
    const PageCase& page = GetParam();
    const QImage image = Render(*window);
    const int l = page.box.left(), t = page.box.top(), r = page.box.right(), b = page.box.bottom();

    // The frame covers l..r-1 and t..b-1.
    EXPECT_EQ(image.pixelColor(l, b - 4), kMagenta);
    EXPECT_EQ(image.pixelColor(r - 1, b - 4), kMagenta);
    EXPECT_EQ(image.pixelColor(l + 4, b - 1), kMagenta);
    EXPECT_EQ(image.pixelColor(r, b - 4), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(l + 4, b), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(l + 2, b - 3), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(l - 1, t + 2), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));

    // Left of the heading the top edge is drawn; under it the opaque text has cut a gap.
    const int x = page.heading.x();
    const int w = HeadingWidth();
    ASSERT_GT(w, 10);
    EXPECT_EQ(image.pixelColor(l + 2, t), kMagenta);
    EXPECT_EQ(image.pixelColor(x + w + 4, t), kMagenta);
    for (int px = x + 1; px < x + w - 1; ++px) EXPECT_NE(image.pixelColor(px, t), kMagenta) << "x " << px;
    EXPECT_EQ(page.heading.y(), t - 10);

    int yellow = 0;
    for (int px = x; px < x + w; ++px)
        for (int py = page.heading.y(); py < t + 6; ++py) yellow += Yellowish(image.pixel(px, py)) ? 1 : 0;
    EXPECT_GT(yellow, 20);

    ASSERT_FALSE(window->DrawnTexts().empty());
    const auto& headingText =
        *std::find_if(window->DrawnTexts().begin(), window->DrawnTexts().end(),
                      [&](const DrawnText& text) { return text.text == page.headingText; });
    EXPECT_EQ(headingText.at, page.heading);
    EXPECT_EQ(headingText.colour, QColor(255, 255, 0));
    EXPECT_EQ(headingText.pixelSize, 16);
}

TEST_P(PageWindows, PrintsDarkOnWhiteWithItsLabelsRecoloured) {
    const PageCase& page = GetParam();
    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    window->ShowCopyColours(true);
    const QImage printed = Render(*window);
    const int l = page.box.left(), b = page.box.bottom();
    EXPECT_EQ(printed.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_EQ(printed.pixelColor(l + 2, b - 3), QColor(Qt::white));
    EXPECT_EQ(printed.pixelColor(l, b - 4), kGreen) << "magenta inverts to green";
    int blue = 0;
    for (int px = page.heading.x(); px < page.heading.x() + HeadingWidth(); ++px)
        for (int py = page.heading.y(); py < page.box.top(); ++py) {
            const QRgb p = printed.pixel(px, py);
            blue += (qBlue(p) > 200 && qRed(p) < 100 && qGreen(p) < 100) ? 1 : 0;
        }
    EXPECT_GT(blue, 20) << "yellow heading prints blue";
    if (page.logo) {
        for (QLabel* label :
             {window->Caption(), window->Caption2(), window->VersionLabel(), window->RegisteredLabel()})
            EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black))
                << label->objectName().toStdString();
    }

    if (page.logo) {
        EXPECT_TRUE(window->Logo()->Printing()) << "the logo prints dark on white";
    }

    program.Display.PaintCopyMode = CopyMode::Source;
    window->ShowCopyColours(false);
    const QImage screen = Render(*window);
    EXPECT_EQ(screen.pixelColor(l, b - 4), kMagenta);
    if (page.logo) {
        EXPECT_EQ(window->Caption()->palette().color(QPalette::WindowText), QColor(Qt::white));
        EXPECT_FALSE(window->Logo()->Printing());
    }
}

TEST_P(PageWindows, WindowPrintsWithItsJobTitleAndExitHides) {
    const PageCase& page = GetParam();
    EXPECT_EQ(window->windowTitle(), page.caption);
    EXPECT_EQ(window->Client()->size(), QSize(632, 404));
    EXPECT_EQ(window->FormWidget(), window->Client());
    EXPECT_EQ(window->Actions().Menu("file")->title(), QString("&File"));
    EXPECT_EQ(window->Actions().Action("print")->text(), QString("&Print"));
    EXPECT_TRUE(window->Actions().Action("file_separator")->isSeparator());
    EXPECT_EQ(window->Actions().Action("exit")->text(), QString("E&xit"));
    const bool quote = page.headingText == "REQUEST FOR QUOTE";
    EXPECT_EQ(window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), !quote);
    EXPECT_EQ((window->windowFlags() & Qt::WindowType_Mask) == Qt::Tool, !quote);
    if (quote) {
        EXPECT_EQ(window->pos(), QPoint(162, 103));
    }

    window->Actions().Action("print")->trigger();
    EXPECT_EQ(hub.printTitles, QStringList{page.jobTitle});
    ASSERT_EQ(hub.printedForms.size(), 1u);
    EXPECT_EQ(hub.printedForms[0], window.get());

    window->show();
    window->Actions().Action("exit")->trigger();
    EXPECT_FALSE(window->isVisible());
}

TEST_P(PageWindows, ScreenReadersHearTheCaptionAndTheOpeningLines) {
    const PageCase& page = GetParam();
    EXPECT_EQ(window->Client()->accessibleName(), page.caption);
    Render(*window);
    const QStringList lines = window->Client()->accessibleDescription().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines.front().startsWith(page.headingText)) << lines.front().toStdString();
    for (const QString& line : lines) {
        const bool painted =
            std::any_of(window->DrawnTexts().begin(), window->DrawnTexts().end(),
                        [&](const DrawnText& t) { return line.contains(t.text.simplified()); });
        EXPECT_TRUE(painted) << line.toStdString();
    }
}

TEST(PageDescription, ReadsRowsTopDownJoinsARowAndSkipsOverprints) {
    const QColor white(255, 255, 255);
    const std::vector<DrawnText> texts{
        {{328, 150}, "EUROPE", white, 16},
        {{90, 105}, "Use the Preserve option", white, 13},
        {{90, 105}, "Use the Preserve", white, 13},  // highlighted word, overprinted
        {{90, 105}, "Use the ", white, 13},
        {{35, 150}, "USA", white, 16},
        {{45, 40}, "HEADING", white, 16},
        {{45, 60}, "  ", white, 13},
        {{45, 200}, "beyond the first lines", white, 13},
    };
    EXPECT_EQ(PageDescription(texts, 3), "HEADING\nUse the Preserve option\nUSA EUROPE");
    EXPECT_EQ(PageDescription(texts, 4).split('\n').size(), 4);
    EXPECT_EQ(PageDescription({}), "");
}

INSTANTIATE_TEST_SUITE_P(Pages, PageWindows, ::testing::ValuesIn(kPages),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Start-up ---

TEST(StartupRule, PagesShownByTheStartupState) {
    const struct {
        StartupPage page;
        bool n, i, y;
    } table[] = {
        {StartupPage::Notes, true, true, false},
        {StartupPage::Characteristics, true, true, false},
        {StartupPage::Introduction, true, false, false},
        {StartupPage::License, true, false, false},
    };
    for (const auto& row : table) {
        EXPECT_EQ(ShownAtStart(row.page, StartupPagesState::AllShown), row.n);
        EXPECT_EQ(ShownAtStart(row.page, StartupPagesState::IntroductionSeen), row.i);
        EXPECT_EQ(ShownAtStart(row.page, StartupPagesState::Preserved), row.y);
    }
}

class StartupPages : public InfoTest, public ::testing::WithParamInterface<StartupPagesState> {};

TEST_P(StartupPages, ShowThemselvesAtCreationByTheState) {
    program.Prefs.StartupScreens = GetParam();
    NotesPage notes(program);
    FilterCharacteristicsPage info(program, [&notes] { return &notes; });
    IntroductionPage intro(program);
    LicensePage own(program);
    ConfigurationPage cfg(program);
    ContactPage reach(program);
    QuoteRequestWindow rfq(program);
    const bool all = GetParam() == StartupPagesState::AllShown;
    const bool some = GetParam() != StartupPagesState::Preserved;
    EXPECT_EQ(notes.isVisible(), some);
    EXPECT_EQ(info.isVisible(), some);
    EXPECT_EQ(intro.isVisible(), all);
    EXPECT_EQ(own.isVisible(), all);
    EXPECT_FALSE(cfg.isVisible());
    EXPECT_FALSE(reach.isVisible());
    EXPECT_FALSE(rfq.isVisible());
}

INSTANTIATE_TEST_SUITE_P(States, StartupPages,
                         ::testing::Values(StartupPagesState::AllShown, StartupPagesState::IntroductionSeen,
                                           StartupPagesState::Preserved));

std::string ReadAll(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

TEST_F(InfoTest, FirstHidingOfTheIntroductionWritesThePreferencesOnce) {
    program.Prefs.StartupScreens = StartupPagesState::AllShown;
    program.Prefs.PrefUnits = DrawingUnits::Millimetres;
    program.Prefs.SelectRect = {10, 20, 600, 400};
    const QString path = dir.filePath("veltrix.dat");
    IntroductionPage intro(program);
    ASSERT_TRUE(intro.isVisible());
    EXPECT_FALSE(QFile::exists(path)) << "showing writes nothing";

    intro.close();
    EXPECT_EQ(program.Prefs.StartupScreens, StartupPagesState::IntroductionSeen);
    EXPECT_EQ(ReadAll(path), "M\nI\n50\n50\n480\n300\n25\n25\n480\n300\n0\n0\n480\n300\n")
        << "the default rectangles, not the ones in memory";

    QFile::remove(path);
    intro.show();
    intro.Actions().Action("exit")->trigger();
    EXPECT_FALSE(QFile::exists(path)) << "the second hiding writes nothing";
}

TEST_F(InfoTest, HidingTheIntroductionAfterPreserveWritesNothing) {
    program.Prefs.StartupScreens = StartupPagesState::Preserved;
    IntroductionPage intro(program);
    intro.show();
    intro.close();
    EXPECT_EQ(program.Prefs.StartupScreens, StartupPagesState::Preserved);
    EXPECT_FALSE(QFile::exists(dir.filePath("veltrix.dat")));
}

TEST_F(InfoTest, UnwritablePreferencesOnHidingAreIgnored) {
    program.PreferencesPath = dir.filePath("no/such/dir/veltrix.dat").toStdString();
    program.Prefs.StartupScreens = StartupPagesState::AllShown;
    IntroductionPage intro(program);
    intro.close();
    EXPECT_EQ(program.Prefs.StartupScreens, StartupPagesState::IntroductionSeen);
    EXPECT_TRUE(messages.texts.isEmpty());
}

// --- Page contents ---

TEST_F(InfoTest, ConfigurationPageHighlightsItsWordsByOverprinting) {
    ConfigurationPage cfg(program);
    const QImage image = Render(cfg);
    const QFontMetrics metrics(PointFont(program.Display.FontName, program.Display.FontSizeSmall));
    // Counts yellow pixels of a line between two of its character positions.
    const auto yellowBetween = [&](int y, const QString& line, qsizetype from, qsizetype to) {
        const int x0 = 90 + metrics.horizontalAdvance(line.left(from)) + 1;
        const int x1 = 90 + metrics.horizontalAdvance(line.left(to)) - 1;
        int count = 0;
        for (int x = x0; x < x1; ++x)
            for (int py = y; py < y + metrics.height(); ++py) count += Yellowish(image.pixel(x, py)) ? 1 : 0;
        return count;
    };
    const QString preserve = "Use the Preserve option to save screen positions and sizes,";
    EXPECT_EQ(yellowBetween(105, preserve, 0, 8), 0);
    EXPECT_GT(yellowBetween(105, preserve, 8, 16), 10);
    EXPECT_EQ(yellowBetween(105, preserve, 16, preserve.size()), 0);

    const QString fonts = "MS Sans Serif, Arial, and Small Arial are font options.  The three";
    EXPECT_GT(yellowBetween(260, fonts, 0, 13), 10);
    EXPECT_EQ(yellowBetween(260, fonts, 13, 15), 0);
    EXPECT_GT(yellowBetween(260, fonts, 15, 20), 10);
    EXPECT_EQ(yellowBetween(260, fonts, 20, 26), 0);
    EXPECT_GT(yellowBetween(260, fonts, 26, 37), 10);
    EXPECT_EQ(yellowBetween(260, fonts, 37, fonts.size()), 0);
    EXPECT_EQ(yellowBetween(300, "diagnosis and resolution of video problems.  These four options", 0, 60),
              0);

    std::vector<QString> overprints;
    for (const DrawnText& text : cfg.DrawnTexts())
        if (text.at == QPoint(90, 260)) overprints.push_back(text.text);
    EXPECT_EQ(overprints, (std::vector<QString>{fonts, "MS Sans Serif, Arial, and Small Arial",
                                                "MS Sans Serif, Arial, and ", "MS Sans Serif, Arial",
                                                "MS Sans Serif, ", "MS Sans Serif"}));
}

TEST_F(InfoTest, LicencePageHasElevenLinesInThreeParagraphs) {
    LicensePage own(program);
    Render(own);
    std::vector<int> rows;
    for (const DrawnText& text : own.DrawnTexts()) {
        if (text.at.x() != 61) continue;
        rows.push_back(text.at.y());
        EXPECT_EQ(text.pixelSize, 13) << "the small size";
        EXPECT_EQ(text.colour, QColor(Qt::white));
        // Every line stays inside the box.
        EXPECT_LT(61 + QFontMetrics(PointFont(program.Display.FontName, program.Display.FontSizeSmall))
                           .horizontalAdvance(text.text),
                  589)
            << text.text.toStdString();
    }
    EXPECT_EQ(rows, (std::vector<int>{129, 149, 169, 189, 219, 239, 259, 279, 309, 329, 349}));
    EXPECT_EQ(own.DrawnTexts().back().at, QPoint(98, 369));
    EXPECT_EQ(own.DrawnTexts().back().text, LicensePage::LegalNotice());
    EXPECT_EQ(own.DrawnTexts().back().colour, QColor(255, 255, 0));
}

TEST_F(InfoTest, FontChoiceChangesThePaintedSizes) {
    NotesPage notes(program);
    program.Display.FontName = "Arial";
    program.Display.FontSizeMedium = 10;
    program.Display.FontSizeSmall = 8;
    Render(notes);
    for (const DrawnText& text : notes.DrawnTexts()) {
        if (text.at == QPoint(140, 110)) {
            EXPECT_EQ(text.pixelSize, 11);
        }
        if (text.at == QPoint(100, 45)) {
            EXPECT_EQ(text.pixelSize, 13);
        }
    }
}

// --- Links ---

TEST_F(InfoTest, CharacteristicsLinksOpenTheNotes) {
    program.Prefs.StartupScreens = StartupPagesState::Preserved;
    NotesPage notes(program);
    FilterCharacteristicsPage info(program, [&notes] { return &notes; });
    info.show();
    for (LinkLabel* link : {info.Note1Link(), info.Note2Link(), info.NotesLink()}) {
        notes.hide();
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_TRUE(link->font().underline());
        QTest::mouseClick(link, Qt::LeftButton);
        EXPECT_TRUE(notes.isVisible()) << link->objectName().toStdString();
    }
    EXPECT_EQ(info.Note1Link()->pos(), QPoint(374, 194));
    EXPECT_EQ(info.NotesLink()->pos(), QPoint(428, 357));

    // The link follows the sentence it completes, however wide the face.
    Render(info);
    const int end = 110 + QFontMetrics(PointFont(program.Display.FontName, program.Display.FontSizeMedium))
                              .horizontalAdvance("* Please refer to important information on the ");
    EXPECT_EQ(info.NotesLink()->x(), std::max(428, end));
    EXPECT_EQ(info.NotesLink()->y(), 357);
}

struct LinkCase {
    const char* name;
    std::function<void(Program&)> click;
    QString target;
    QString failure;
};

const LinkCase kLinks[] = {
    {"SalesMail",
     [](Program& p) {
         ContactPage reach(p);
         reach.show();
         QTest::mouseClick(reach.SalesEmailLink(), Qt::LeftButton);
     },
     "mailto:sales@norvane.example", "Unable to start mail client."},
    {"EuropeMail",
     [](Program& p) {
         ContactPage reach(p);
         reach.show();
         QTest::mouseClick(reach.EuropeSalesEmailLink(), Qt::LeftButton);
     },
     "mailto:europe@norvane.example", "Unable to start mail client."},
    {"WebSiteButton",
     [](Program& p) {
         ContactPage reach(p);
         EXPECT_EQ(reach.WebSiteButton()->text(), QString(contact::kWebSiteHost));
         reach.WebSiteButton()->click();
     },
     contact::kWebSiteAddress, "Unable to start web browser."},
    {"AboutLink",
     [](Program& p) {
         AboutDialog about(p);
         about.show();
         QTest::mouseClick(about.WebSiteLink(), Qt::LeftButton);
     },
     contact::kWebSiteAddress, "Unable to start web browser."},
    {"OnlineQuote",
     [](Program& p) {
         QuoteRequestWindow rfq(p);
         rfq.OnlineQuoteButton()->click();
     },
     "https://www.norvane.example/veltrixquote.html", "Unable to start web browser."},
};

void PrintTo(const LinkCase& link, std::ostream* os) { *os << link.name; }

class Links : public InfoTest, public ::testing::WithParamInterface<LinkCase> {};

TEST_P(Links, OpenTheirTargetAndReportAFailedShell) {
    program.Prefs.StartupScreens = StartupPagesState::Preserved;
    GetParam().click(program);
    EXPECT_EQ(shell.opened, QStringList{GetParam().target});
    EXPECT_TRUE(messages.texts.isEmpty());

    shell.succeeds = false;
    GetParam().click(program);
    EXPECT_EQ(shell.opened.size(), 2);
    EXPECT_EQ(messages.texts, QStringList{GetParam().failure});
}

INSTANTIATE_TEST_SUITE_P(Targets, Links, ::testing::ValuesIn(kLinks),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Labels while printing ---

TEST_F(InfoTest, LinkAndLogoLabelsChangeColourWhilePrinting) {
    program.Prefs.StartupScreens = StartupPagesState::Preserved;
    NotesPage notes(program);
    FilterCharacteristicsPage info(program, [&notes] { return &notes; });
    ContactPage reach(program);
    const auto text = [](QLabel* label) { return label->palette().color(QPalette::WindowText); };
    const auto back = [](QLabel* label) { return label->palette().color(QPalette::Window); };

    program.Display.PaintCopyMode = CopyMode::InvertedSource;
    for (PageWindow* page : {static_cast<PageWindow*>(&notes), static_cast<PageWindow*>(&info),
                             static_cast<PageWindow*>(&reach)})
        page->ShowCopyColours(true);
    Render(notes);
    Render(info);
    Render(reach);
    for (QLabel* label : {info.Note1Link(), info.Note2Link(), info.NotesLink()}) {
        EXPECT_EQ(text(label), QColor(0, 0, 255));
    }
    for (QLabel* label : {notes.BrandLabel(), notes.RegisteredMarkLabel(), notes.TaglineLabel()}) {
        EXPECT_EQ(text(label), QColor(0, 0, 255));
        EXPECT_EQ(back(label), QColor(Qt::white));
    }
    for (QLabel* label : {reach.SalesEmailLink(), reach.EuropeSalesEmailLink()}) {
        EXPECT_EQ(text(label), QColor(Qt::black));
        EXPECT_EQ(back(label), QColor(Qt::white));
    }

    program.Display.PaintCopyMode = CopyMode::Source;
    for (PageWindow* page : {static_cast<PageWindow*>(&notes), static_cast<PageWindow*>(&info),
                             static_cast<PageWindow*>(&reach)})
        page->ShowCopyColours(false);
    Render(notes);
    Render(info);
    Render(reach);
    for (QLabel* label : {info.Note1Link(), info.Note2Link(), info.NotesLink()}) {
        EXPECT_EQ(text(label), QColor(255, 255, 0));
    }
    for (QLabel* label : {notes.BrandLabel(), notes.RegisteredMarkLabel(), notes.TaglineLabel()}) {
        EXPECT_EQ(text(label), QColor(255, 255, 0));
        EXPECT_EQ(back(label), QColor(Qt::black));
    }
    for (QLabel* label : {reach.SalesEmailLink(), reach.EuropeSalesEmailLink()}) {
        EXPECT_EQ(text(label), QColor(Qt::white));
    }
}

// --- About ---

TEST_F(InfoTest, AboutBoxIsModalAndClosesWithOk) {
    AboutDialog about(program);
    EXPECT_TRUE(about.isModal());
    EXPECT_EQ(about.size(), QSize(298, 223));
    EXPECT_EQ(about.Panel()->geometry(), QRect(8, 8, 281, 169));
    EXPECT_EQ(about.ProductName()->text(), QString("Veltrix Version 1.8a"));
    EXPECT_EQ(about.Description()->text(), QString("Ceramic Bandpass Filter Selection Program"));
    EXPECT_EQ(about.Owner()->text(), QString("Norvane Microwave, Inc."));
    EXPECT_EQ(about.WebSiteLink()->text(), QString(contact::kWebSiteHost));
    EXPECT_EQ(about.WebSiteLink()->palette().color(QPalette::WindowText), QColor(0, 0, 255));
    EXPECT_TRUE(about.OkButton()->isDefault());
    QTimer::singleShot(0, &about, [&about] { QTest::keyClick(&about, Qt::Key_Return); });
    EXPECT_EQ(about.exec(), QDialog::Accepted);
}

}  // namespace
}  // namespace veltrix
