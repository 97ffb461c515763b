// "veltrix --datasheet" as a script runs it, read back with poppler-utils and held against veltrix-cli.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <optional>

#include "tests/support/poppler.h"

namespace veltrix {
namespace {

struct Outcome {
    int code = -1;
    QString out;
    QString err;
};

// The programs as a user's shell starts them: no display, the given paper locale, nothing else set.
Outcome RunProgram(const QString& program, const QStringList& args, const QString& paperLocale = QString(),
                   const QString& allLocale = QString()) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "LC_ALL", "LC_PAPER", "LANG", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    if (!paperLocale.isEmpty()) env.insert(QStringLiteral("LC_PAPER"), paperLocale);
    if (!allLocale.isEmpty()) env.insert(QStringLiteral("LC_ALL"), allLocale);
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, args);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

using testing::Poppler;

// Runs of blanks and line ends as one blank: pdftotext does not keep a text's spacing.
QString Spaced(QString text) {
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" ")).trimmed();
}

const QString kProgram = QStringLiteral(VELTRIX_PROGRAM);
const QString kCli = QStringLiteral(VELTRIX_CLI);
constexpr const char* kNoPoppler = "poppler-utils (pdftotext, pdfinfo, pdfimages) is not installed";

class DatasheetProgramTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    QString Path(const char* name) const { return dir_.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir_;
};

// What the companion prints for a selection: the part number, the insertion loss line and the
// outline's dimension texts.
struct CompanionTexts {
    QString partNumber;
    QString insertionLoss;
    QStringList dimensions;
};

CompanionTexts Companion(const QStringList& selection, const char* units) {
    const Outcome cli =
        RunProgram(kCli, selection + QStringList{QStringLiteral("--units"), QString::fromLatin1(units)});
    EXPECT_EQ(cli.code, 0) << cli.err.toStdString();
    CompanionTexts texts;
    const QRegularExpression dimension(QStringLiteral("^  Dimension \\d+: \"(.*)\" at "));
    for (const QString& line : cli.out.split(QLatin1Char('\n'))) {
        if (line.startsWith(QStringLiteral("Part number: "))) texts.partNumber = line.mid(13);
        if (line.startsWith(QStringLiteral("Insertion loss at Fo"))) texts.insertionLoss = line;
        const QRegularExpressionMatch match = dimension.match(line);
        if (match.hasMatch()) texts.dimensions << match.captured(1);
    }
    return texts;
}

TEST_F(DatasheetProgramTest, TextsAreTheCompanionsForTheSameSelection) {
    const QStringList selections[] = {
        {QStringLiteral("--f1"), QStringLiteral("950"), QStringLiteral("--f2"), QStringLiteral("1060")},
        {QStringLiteral("--f0=1500"), QStringLiteral("--bw=30"), QStringLiteral("--sections=4"),
         QStringLiteral("--mounting=tab")},
        {QStringLiteral("--f0"), QStringLiteral("800"), QStringLiteral("--bw"), QStringLiteral("25"),
         QStringLiteral("--mounting"), QStringLiteral("drop-in"), QStringLiteral("--profile"),
         QStringLiteral("6mm")},
    };
    for (const QStringList& selection : selections) {
        SCOPED_TRACE(selection.join(QLatin1Char(' ')).toStdString());
        const QString pdf = Path("sheet.pdf");
        const Outcome run = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const auto text = Poppler("pdftotext", {pdf, QStringLiteral("-")});
        if (!text) GTEST_SKIP() << kNoPoppler;
        const QString page = Spaced(*text);
        const CompanionTexts inches = Companion(selection, "in");
        const CompanionTexts millimetres = Companion(selection, "mm");
        ASSERT_FALSE(inches.partNumber.isEmpty());
        EXPECT_TRUE(page.contains(inches.partNumber)) << inches.partNumber.toStdString();
        ASSERT_FALSE(inches.insertionLoss.isEmpty());
        EXPECT_TRUE(page.contains(Spaced(inches.insertionLoss))) << inches.insertionLoss.toStdString();
        ASSERT_FALSE(inches.dimensions.isEmpty());
        ASSERT_FALSE(millimetres.dimensions.isEmpty());
        for (const QStringList& dimensions : {inches.dimensions, millimetres.dimensions})
            for (const QString& dimension : dimensions)
                EXPECT_TRUE(page.contains(Spaced(dimension))) << dimension.toStdString();
        EXPECT_TRUE(QFile::remove(pdf));
    }
}

TEST_F(DatasheetProgramTest, PaperFollowsTheLocale) {
    const struct {
        const char* paper;
        const char* all;
        const char* size;
    } cases[] = {{"en_US.UTF-8", "", "612 x 792 pts (letter)"},
                 {"de_DE.UTF-8", "", "595 x 842 pts (A4)"},
                 {"en_US.UTF-8", "de_DE.UTF-8", "595 x 842 pts (A4)"},
                 {"fr_CA.UTF-8", "", "612 x 792 pts (letter)"},
                 {"C.UTF-8", "", "595 x 842 pts (A4)"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.paper) + " / " + c.all);
        const QString pdf = Path("paper.pdf");
        const Outcome run = RunProgram(kProgram, {QStringLiteral("--datasheet"), pdf},
                                       QString::fromLatin1(c.paper), QString::fromLatin1(c.all));
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const auto info = Poppler("pdfinfo", {pdf});
        if (!info) GTEST_SKIP() << kNoPoppler;
        EXPECT_TRUE(info->contains(QStringLiteral("Page size:       ") + QString::fromLatin1(c.size)))
            << info->toStdString();
    }
}

// Page 1 the figures, page 2 the outline, then the report over as many pages as it takes: every line
// of the companion's report once, in order, on either paper.
TEST_F(DatasheetProgramTest, PagesHoldTheWholeSheet) {
    const QStringList selection{QStringLiteral("--f1=950"), QStringLiteral("--f2=1060")};
    const Outcome cli = RunProgram(kCli, selection);
    const QStringList cliLines = cli.out.split(QLatin1Char('\n'));
    const qsizetype first = cliLines.indexOf(QStringLiteral("Tabular report:")) + 1;
    ASSERT_GT(first, 0);
    QStringList report;
    for (qsizetype i = first; i < cliLines.size() && !cliLines[i].startsWith(QStringLiteral("Outline")); ++i)
        if (!Spaced(cliLines[i]).isEmpty()) report << Spaced(cliLines[i]);
    ASSERT_GT(report.size(), 61);
    for (const char* paper : {"en_US.UTF-8", "de_DE.UTF-8"}) {
        SCOPED_TRACE(paper);
        const QString pdf = Path("pages.pdf");
        const Outcome run = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection,
                                       QString::fromLatin1(paper));
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const auto info = Poppler("pdfinfo", {pdf});
        const auto text = Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!info || !text) GTEST_SKIP() << kNoPoppler;
        const QStringList pages = text->split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        const QRegularExpressionMatch count =
            QRegularExpression(QStringLiteral("Pages: +(\\d+)")).match(*info);
        ASSERT_TRUE(count.hasMatch());
        EXPECT_EQ(count.captured(1).toInt(), pages.size());
        ASSERT_GE(pages.size(), 4) << "the report with its stopband lines takes two pages";
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Tolerance Information")));
        EXPECT_TRUE(pages[1].contains(QStringLiteral("Dimensions in inches")));
        EXPECT_TRUE(pages[1].contains(QStringLiteral("Dimensions in millimetres")));
        for (qsizetype p = 0; p < pages.size(); ++p)
            EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())));
        QStringList printed;
        for (qsizetype p = 2; p < pages.size(); ++p)
            for (const QString& line : pages[p].split(QLatin1Char('\n')))
                if (line.contains(QStringLiteral(" datasheet: ")))
                    continue;
                else if (line.contains(QStringLiteral("  ")) ||
                         line.contains(QStringLiteral("Response Data")) ||
                         line.contains(QStringLiteral("Norvane Microwave")))
                    printed << Spaced(line);
        EXPECT_EQ(printed.join(QLatin1Char('\n')).toStdString(),
                  report.join(QLatin1Char('\n')).toStdString());
    }
}

TEST_F(DatasheetProgramTest, VectorsOnlyNoRasterImage) {
    const QString pdf = Path("vectors.pdf");
    const Outcome run =
        RunProgram(kProgram, {QStringLiteral("--datasheet=") + pdf, QStringLiteral("--f1=900")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const auto images = Poppler("pdfimages", {QStringLiteral("-list"), pdf});
    if (!images) GTEST_SKIP() << kNoPoppler;
    // Only the two heading lines of the list.
    EXPECT_EQ(images->trimmed().split(QLatin1Char('\n')).size(), 2) << images->toStdString();
    const auto text = Poppler("pdftotext", {pdf, QStringLiteral("-")});
    EXPECT_TRUE(text->contains(QStringLiteral("Veltrix"))) << "the logo's name is text";
}

TEST_F(DatasheetProgramTest, ARefusedEntryWritesNothingAndGivesItsReason) {
    const QStringList selection{QStringLiteral("--dielectric"), QStringLiteral("DL"),
                                QStringLiteral("--mounting"), QStringLiteral("drop-in")};
    const QString pdf = Path("refused.pdf");
    const Outcome run = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection);
    EXPECT_EQ(run.code, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    const Outcome cli = RunProgram(kCli, selection);
    const QStringList lines = cli.out.split(QLatin1Char('\n'));
    const qsizetype messages = lines.indexOf(QStringLiteral("Messages:"));
    ASSERT_GE(messages, 0) << cli.out.toStdString();
    const QString reason = lines[messages + 1].trimmed();
    EXPECT_EQ(run.err.trimmed().split(QLatin1Char('\n')).last(),
              QStringLiteral("veltrix: --datasheet: No standard part for last inputs. ") + reason);
}

TEST_F(DatasheetProgramTest, UsageErrorsAndUnwritableFiles) {
    const struct {
        QStringList args;
        int code;
        const char* says;
    } cases[] = {
        {{QStringLiteral("--datasheet")}, 2, "needs the name"},
        {{QStringLiteral("--datasheet"), QStringLiteral("--f0"), QStringLiteral("900")}, 2, "needs the name"},
        {{QStringLiteral("--datasheet"), QStringLiteral("x.pdf"), QStringLiteral("--format"),
          QStringLiteral("json")},
         2,
         "unknown option '--format'"},
        {{QStringLiteral("--datasheet"), QStringLiteral("x.pdf"), QStringLiteral("--sections"),
          QStringLiteral("9")},
         2,
         "--sections: invalid value '9'"},
        {{QStringLiteral("--datasheet"), QStringLiteral("x.pdf"), QStringLiteral("--f0"),
          QStringLiteral("1e3")},
         2,
         "--f0: invalid value '1e3'"},
        {{QStringLiteral("--datasheet"), QStringLiteral("x.pdf"), QStringLiteral("--f0=900"),
          QStringLiteral("--f0"), QStringLiteral("1000")},
         2,
         "--f0 is given more than once"},
        {{QStringLiteral("--datasheet"), QStringLiteral("no-such-folder/x.pdf")}, 1, "Cannot write"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QProcess process;
        process.setWorkingDirectory(dir_.path());
        process.start(kProgram, c.args);
        ASSERT_TRUE(process.waitForFinished(60000));
        EXPECT_EQ(process.exitCode(), c.code);
        EXPECT_TRUE(QString::fromUtf8(process.readAllStandardError()).contains(QString::fromLatin1(c.says)));
    }
    EXPECT_TRUE(QDir(dir_.path()).entryList(QDir::Files).isEmpty());
    for (const QStringList& args :
         {QStringList{QStringLiteral("--help")},
          QStringList{QStringLiteral("--datasheet"), Path("asked.pdf"), QStringLiteral("--f0"),
                      QStringLiteral("900"), QStringLiteral("--help")}}) {
        const Outcome help = RunProgram(kProgram, args);
        EXPECT_EQ(help.code, 0) << help.err.toStdString();
        EXPECT_TRUE(help.out.contains(QStringLiteral("--datasheet <file>"))) << help.out.toStdString();
    }
    EXPECT_FALSE(QFile::exists(Path("asked.pdf")));
}

}  // namespace
}  // namespace veltrix
