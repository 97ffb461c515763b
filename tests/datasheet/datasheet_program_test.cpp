// "veltrix --datasheet" as a script runs it, read back with poppler-utils and held against veltrix-cli.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <map>
#include <optional>
#include <utility>

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
        // The screen's one-decimal line against the electrical table's two decimals.
        ASSERT_FALSE(inches.insertionLoss.isEmpty());
        const QRegularExpressionMatch screen =
            QRegularExpression(QStringLiteral("= +([\\d.]+) +dB")).match(inches.insertionLoss);
        const QRegularExpressionMatch table =
            QRegularExpression(QStringLiteral("Insertion loss at F0 ([\\d.]+) "))
                .match(Spaced(*Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")})));
        ASSERT_TRUE(screen.hasMatch() && table.hasMatch()) << inches.insertionLoss.toStdString();
        EXPECT_NEAR(table.captured(1).toDouble(), screen.captured(1).toDouble(), 0.05 + 1e-9);
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
        ASSERT_GE(pages.size(), 3) << "the figures, the outline, the report";
        EXPECT_TRUE(pages[0].contains(QStringLiteral("Tolerance Information")));
        EXPECT_TRUE(pages[1].contains(QStringLiteral("Dimensions in inches")));
        EXPECT_TRUE(pages[1].contains(QStringLiteral("Dimensions in millimetres")));
        for (qsizetype p = 0; p < pages.size(); ++p)
            EXPECT_TRUE(pages[p].contains(QStringLiteral("Page %1 of %2").arg(p + 1).arg(pages.size())));
        // The report runs down the left column, then the right: each read on its own, in points.
        const QRegularExpressionMatch size =
            QRegularExpression(QStringLiteral("Page size: +([\\d.]+) x ([\\d.]+) pts")).match(*info);
        ASSERT_TRUE(size.hasMatch());
        const double width = size.captured(1).toDouble();
        const double height = size.captured(2).toDouble();
        const double margin = 45.0;
        // Just left of where the right column starts.
        const int split = static_cast<int>(margin + (width - 2 * margin) / 2) - 3;
        QStringList printed;
        bool headed = false;
        for (qsizetype p = 2; p < pages.size(); ++p) {
            for (const auto& [from, to] : {std::pair{0, split}, std::pair{split, static_cast<int>(width)}}) {
                const QString number = QString::number(p + 1);
                const auto column =
                    Poppler("pdftotext",
                            {QStringLiteral("-layout"), QStringLiteral("-f"), number, QStringLiteral("-l"),
                             number, QStringLiteral("-x"), QString::number(from), QStringLiteral("-y"),
                             QStringLiteral("0"), QStringLiteral("-W"), QString::number(to - from),
                             QStringLiteral("-H"), QString::number(height), pdf, QStringLiteral("-")});
                for (const QString& line : column->split(QLatin1Char('\n'))) {
                    if (line.contains(QStringLiteral(" datasheet: ")) ||
                        line.contains(QRegularExpression(QStringLiteral("Page \\d+ of \\d+"))))
                        continue;
                    const bool heading =
                        line.contains(QStringLiteral("Frequency")) && line.contains(QStringLiteral("Delay"));
                    if (heading && headed) continue;  // every column repeats it
                    headed = headed || heading;
                    if (line.contains(QStringLiteral("  ")) ||
                        line.contains(QStringLiteral("Response Data")) ||
                        line.contains(QStringLiteral("Norvane Microwave")))
                        printed << Spaced(line);
                }
            }
        }
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

// The three parts an engineer would try first: the default with its stopband points, a wide 2.4 GHz
// part above the 30 dBc limit, and a 900 MHz part on the pin mounting.
const QStringList kParts[] = {
    {QStringLiteral("--f1"), QStringLiteral("950"), QStringLiteral("--f2"), QStringLiteral("1060")},
    {QStringLiteral("--f0"), QStringLiteral("2400"), QStringLiteral("--bw"), QStringLiteral("80"),
     QStringLiteral("--sections"), QStringLiteral("5"), QStringLiteral("--f1"), QStringLiteral("2200"),
     QStringLiteral("--f2"), QStringLiteral("2650")},
    {QStringLiteral("--f0"), QStringLiteral("900"), QStringLiteral("--bw"), QStringLiteral("20"),
     QStringLiteral("--f1"), QStringLiteral("860"), QStringLiteral("--f2"), QStringLiteral("940"),
     QStringLiteral("--mounting"), QStringLiteral("pin")},
};

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// The line of page 1's electrical table that starts with the parameter, its runs of blanks as one.
QString TableLine(const QString& page, const QString& parameter) {
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (Spaced(line).startsWith(parameter + QLatin1Char(' '))) return Spaced(line);
    return QString();
}

TEST_F(DatasheetProgramTest, ElectricalTableIsTheCompanionsJsonFiguresAndTheirWorstCase) {
    for (const QStringList& selection : kParts) {
        SCOPED_TRACE(selection.join(QLatin1Char(' ')).toStdString());
        const Outcome cli =
            RunProgram(kCli, selection + QStringList{QStringLiteral("--format"), QStringLiteral("json")});
        ASSERT_EQ(cli.code, 0) << cli.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(cli.out.toUtf8()).object();
        ASSERT_FALSE(json.isEmpty()) << cli.out.toStdString();
        const QString pdf = Path("figures.pdf");
        const Outcome run = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const auto text =
            Poppler("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("1"),
                                  QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
        if (!text) GTEST_SKIP() << kNoPoppler;

        const double f0 = json[QStringLiteral("f0")].toDouble();
        const double bw = json[QStringLiteral("bw")].toDouble();
        EXPECT_TRUE(text->contains(json[QStringLiteral("part_number")].toString()));
        EXPECT_EQ(TableLine(*text, QStringLiteral("Centre frequency")),
                  QStringLiteral("Centre frequency %1 \u2013 MHz").arg(Fixed(f0, 1)));
        EXPECT_TRUE(TableLine(*text, QStringLiteral("Bandwidth at the 1.0 dB points"))
                        .startsWith(QStringLiteral("Bandwidth at the 1.0 dB points %1 ").arg(Fixed(bw, 2))));
        const double loss = json[QStringLiteral("insertion_loss_db")].toDouble();
        EXPECT_TRUE(TableLine(*text, QStringLiteral("Insertion loss at F0"))
                        .startsWith(QStringLiteral("Insertion loss at F0 %1 %2 dB")
                                        .arg(Fixed(loss, 2), Fixed(loss * 1.1, 2))))
            << TableLine(*text, QStringLiteral("Insertion loss at F0")).toStdString();
        const double guarantee = f0 < 2000.0 ? 60.0 : 30.0;
        for (const char* point : {"1", "2"}) {
            const double a = json[QStringLiteral("f%1_attenuation_db").arg(QLatin1String(point))].toDouble();
            const double f =
                selection[selection.indexOf(QStringLiteral("--f%1").arg(QLatin1String(point))) + 1]
                    .toDouble();
            const QString line = TableLine(
                *text, QStringLiteral("Attenuation at F%1 (%2 MHz)").arg(QLatin1String(point), Fixed(f, 2)));
            EXPECT_TRUE(line.contains(
                QStringLiteral(" %1 %2 dBc").arg(Fixed(a, 1), Fixed(std::min(0.9 * a, guarantee), 1))))
                << line.toStdString();
        }
        const QJsonObject sweep = json[QStringLiteral("sweep")].toObject();
        const double start = sweep[QStringLiteral("start")].toDouble();
        const double step = sweep[QStringLiteral("step")].toDouble();
        const QJsonArray returnLoss = sweep[QStringLiteral("return_loss_db")].toArray();
        const QJsonArray delay = sweep[QStringLiteral("delay_ns")].toArray();
        double lowest = INFINITY;
        for (qsizetype k = 0; k < returnLoss.size(); ++k)
            if (std::fabs(start + k * step - f0) <= bw / 2)
                lowest = std::min(lowest, returnLoss[k].toDouble());
        EXPECT_EQ(TableLine(*text, QStringLiteral("Return loss in the passband, lowest")),
                  QStringLiteral("Return loss in the passband, lowest %1 \u2013 dB").arg(Fixed(lowest, 1)));
        ASSERT_EQ(start + 30 * step, f0);
        EXPECT_EQ(TableLine(*text, QStringLiteral("Group delay at F0")),
                  QStringLiteral("Group delay at F0 %1 \u2013 ns").arg(Fixed(delay[30].toDouble(), 2)));
        EXPECT_TRUE(TableLine(*text, QStringLiteral("VSWR in the passband, highest"))
                        .contains(QStringLiteral(" 2.0 : 1")));
        EXPECT_TRUE(TableLine(*text, QStringLiteral("3 dB bandwidth"))
                        .contains(QStringLiteral("typically 10-20 % wider")));
        EXPECT_TRUE(
            TableLine(*text, QStringLiteral("Impedance")).startsWith(QStringLiteral("Impedance 50 ")));
    }
}

// --reject and --max-il: page 1's requirement table holds every point with its level, the companion's
// computed figure, the worst case (0.9 of it, at most the guarantee), the margin and the result.
TEST_F(DatasheetProgramTest, RequirementTableJudgesEveryPointByItsWorstCase) {
    const QStringList part{QStringLiteral("--f0"), QStringLiteral("1000"), QStringLiteral("--bw"),
                           QStringLiteral("25")};
    const QString pdf = Path("requirement.pdf");
    const Outcome run =
        RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + part +
                                 QStringList{QStringLiteral("--reject"), QStringLiteral("960:20"),
                                             QStringLiteral("--reject"), QStringLiteral("1040:18"),
                                             QStringLiteral("--reject=1100:40"), QStringLiteral("--max-il"),
                                             QStringLiteral("3")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const auto text =
        Poppler("pdftotext", {QStringLiteral("-layout"), QStringLiteral("-f"), QStringLiteral("1"),
                              QStringLiteral("-l"), QStringLiteral("1"), pdf, QStringLiteral("-")});
    if (!text) GTEST_SKIP() << kNoPoppler;
    EXPECT_TRUE(text->contains(QStringLiteral("Requirement, judged by the worst case")));
    EXPECT_FALSE(text->contains(QStringLiteral("No stopband points were given.")));

    // The companion computes each point as the screen's F1.
    const auto computed = [&part](double f) {
        const Outcome cli =
            RunProgram(kCli, part + QStringList{QStringLiteral("--f1"), Fixed(f, 0),
                                                QStringLiteral("--format"), QStringLiteral("json")});
        EXPECT_EQ(cli.code, 0) << cli.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(cli.out.toUtf8()).object();
        return std::make_pair(json[QStringLiteral("f1_attenuation_db")].toDouble(),
                              json[QStringLiteral("insertion_loss_db")].toDouble());
    };
    const struct { double f, level; } points[] = {{960.0, 20.0}, {1040.0, 18.0}, {1100.0, 40.0}};
    int fails = 0;
    for (const auto& point : points) {
        SCOPED_TRACE(point.f);
        const double a = computed(point.f).first;
        const double worst = std::min(0.9 * a, 60.0);
        const double margin = worst - point.level;
        fails += margin < 0.0 ? 1 : 0;
        EXPECT_EQ(TableLine(*text, QStringLiteral("Attenuation at %1 MHz").arg(Fixed(point.f, 2))),
                  QStringLiteral("Attenuation at %1 MHz %2 dBc min %3 dBc %4 dBc %5%6 dB %7")
                      .arg(Fixed(point.f, 2), Fixed(point.level, 1), Fixed(a, 1), Fixed(worst, 1),
                           margin >= 0.0 ? QStringLiteral("+") : QString(), Fixed(margin, 1),
                           margin >= 0.0 ? QStringLiteral("Pass") : QStringLiteral("Fail")));
    }
    EXPECT_GE(fails, 1) << "the case is chosen so that a worst case misses its level";
    const double loss = computed(960.0).second;
    EXPECT_EQ(TableLine(*text, QStringLiteral("Insertion loss at F0 3.00 dB max")),
              QStringLiteral("Insertion loss at F0 3.00 dB max %1 dB %2 dB +%3 dB Pass")
                  .arg(Fixed(loss, 2), Fixed(loss * 1.1, 2), Fixed(3.0 - loss * 1.1, 2)));
    // 1100 MHz lies beyond the graph's span: it is named with its level rather than dropped.
    EXPECT_TRUE(Spaced(*text).contains(QStringLiteral("1100.00 MHz (40.0 dBc required) beyond the span")));

    // A malformed level is a usage error that names the option.
    const Outcome bad = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), Path("bad.pdf"),
                                                         QStringLiteral("--reject"), QStringLiteral("960")});
    EXPECT_EQ(bad.code, 2);
    EXPECT_TRUE(bad.err.contains(QStringLiteral("--reject"))) << bad.err.toStdString();
    EXPECT_FALSE(QFile::exists(Path("bad.pdf")));
}

// Page 1 quotes the product line's ratings and the notes that bound its figures; page 2 names the
// part even where the drawing page has no drawing; the key explains the fields.
TEST_F(DatasheetProgramTest, CharacteristicsNotesAndThePartLineArePrinted) {
    const QString page1Texts[] = {
        QStringLiteral("Operating temperature -40 to +85\u00B0C"),
        QStringLiteral("Storage temperature -50 to +125\u00B0C"),
        QStringLiteral("Temperature stability +2 to +11 ppm / \u00B0C"),
        QStringLiteral("Chebyshev Bandpass"),
        QStringLiteral("Values given are theoretical at levels > -60dBc."),
        QStringLiteral("Values given are theoretical at levels > -30dBc."),
        QStringLiteral("Ultimate rejection may be affected by:"),
        QStringLiteral("3rd harmonic"),
        QStringLiteral("Hybrid modes in coaxial resonator"),
        QStringLiteral("Finite isolation properties of packaging (shielding)"),
        QStringLiteral("Passband insertion loss may exceed given value (10% maximum)."),
        QStringLiteral("Actual 3dB bandwidth may be wider than specified (typically 10-20%)."),
    };
    for (const char* mounting : {"pin", "tessel", "orbis", "tab", "drop-in"}) {
        SCOPED_TRACE(mounting);
        const QStringList selection{QStringLiteral("--f0"),       QStringLiteral("900"),
                                    QStringLiteral("--bw"),       QStringLiteral("20"),
                                    QStringLiteral("--mounting"), QString::fromLatin1(mounting)};
        const QString pdf = Path("mounting.pdf");
        const Outcome run = RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection);
        ASSERT_EQ(run.code, 0) << run.err.toStdString();
        const auto text = Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
        if (!text) GTEST_SKIP() << kNoPoppler;
        const QStringList pages = text->split(QLatin1Char('\f'), Qt::SkipEmptyParts);
        ASSERT_GE(pages.size(), 3);
        const QString first = Spaced(pages[0]);
        for (const QString& expected : page1Texts)
            EXPECT_TRUE(first.contains(expected)) << expected.toStdString();
        const Outcome cli = RunProgram(kCli, selection);
        const QRegularExpressionMatch part =
            QRegularExpression(QStringLiteral("\n  Part: (.+)\n")).match(cli.out);
        ASSERT_TRUE(part.hasMatch()) << cli.out.toStdString();
        const QString second = Spaced(pages[1]);
        EXPECT_TRUE(second.contains(QStringLiteral("Part: ") + part.captured(1))) << second.toStdString();
        EXPECT_TRUE(second.contains(QStringLiteral("Key to the part number")));
        EXPECT_TRUE(second.contains(QStringLiteral("4 = Tessel Leadless")));
    }
}

TEST_F(DatasheetProgramTest, DocumentInformationNamesThePartAndTheMaker) {
    const QString pdf = Path("info.pdf");
    const Outcome run = RunProgram(kProgram, {QStringLiteral("--datasheet"), pdf, QStringLiteral("--f0=2400"),
                                              QStringLiteral("--bw=80"), QStringLiteral("--sections=5")});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const auto info = Poppler("pdfinfo", {pdf});
    if (!info) GTEST_SKIP() << kNoPoppler;
    std::map<QString, QString> fields;
    for (const QString& line : info->split(QLatin1Char('\n'))) {
        const qsizetype colon = line.indexOf(QLatin1Char(':'));
        if (colon > 0) fields[line.left(colon)] = line.mid(colon + 1).trimmed();
    }
    EXPECT_EQ(fields[QStringLiteral("Title")], QStringLiteral("5DR25-2400/U80 - 1.8 Datasheet"));
    EXPECT_EQ(fields[QStringLiteral("Author")],
              QStringLiteral("Veltrix Ceramic Filters from Norvane Microwave, Inc."));
    EXPECT_TRUE(
        fields[QStringLiteral("Subject")].startsWith(QStringLiteral("5-section Chebyshev Bandpass filter")))
        << fields[QStringLiteral("Subject")].toStdString();
    EXPECT_TRUE(fields[QStringLiteral("Keywords")].contains(QStringLiteral("5DR25-2400/U80 - 1.8")));
    EXPECT_TRUE(fields[QStringLiteral("Creator")].startsWith(QStringLiteral("Veltrix ")));
    // The document still reads whole after the information was added: every page and its text.
    const auto text = Poppler("pdftotext", {pdf, QStringLiteral("-")});
    EXPECT_EQ(text->count(QLatin1Char('\f')), fields[QStringLiteral("Pages")].toInt());
    // Every cross-reference entry points at its object, and startxref at the table.
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const qsizetype xref = bytes.lastIndexOf("\nxref\n") + 1;
    const qsizetype startxref = bytes.lastIndexOf("startxref\n") + 10;
    EXPECT_EQ(bytes.mid(startxref, bytes.indexOf('\n', startxref) - startxref).toLongLong(), xref);
    const QList<QByteArray> entries = bytes.mid(xref, bytes.indexOf("trailer", xref) - xref).split('\n');
    int objects = 0;
    for (qsizetype i = 2; i < entries.size(); ++i) {
        if (entries[i].size() < 18 || entries[i].at(17) != 'n') continue;
        const qlonglong offset = entries[i].left(10).toLongLong();
        EXPECT_TRUE(bytes.mid(offset).startsWith(QByteArray::number(i - 2) + " 0 obj")) << "object " << i - 2;
        ++objects;
    }
    EXPECT_GT(objects, 10);
    QProcess check;
    check.start(QStandardPaths::findExecutable(QStringLiteral("pdfinfo")), {pdf});
    ASSERT_TRUE(check.waitForFinished(30000));
    EXPECT_TRUE(check.readAllStandardError().isEmpty()) << "poppler found the cross-references broken";
}

// The report's pages: every page holds at least ten of its lines, unless the whole report is shorter.
TEST_F(DatasheetProgramTest, NoReportPageHoldsOnlyATail) {
    for (const QStringList& selection : kParts) {
        for (const char* paper : {"en_US.UTF-8", "de_DE.UTF-8"}) {
            SCOPED_TRACE(selection.join(QLatin1Char(' ')).toStdString() + " " + paper);
            const QString pdf = Path("tail.pdf");
            const Outcome run =
                RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + selection,
                           QString::fromLatin1(paper));
            ASSERT_EQ(run.code, 0) << run.err.toStdString();
            const auto text = Poppler("pdftotext", {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
            if (!text) GTEST_SKIP() << kNoPoppler;
            const QStringList pages = text->split(QLatin1Char('\f'), Qt::SkipEmptyParts);
            ASSERT_GE(pages.size(), 3);
            for (qsizetype p = 2; p < pages.size(); ++p) {
                EXPECT_TRUE(pages[p].contains(QStringLiteral("absolute loss in dB"))) << "page " << p + 1;
                EXPECT_GE(pages[p].count(QStringLiteral(" MHz ")), 10) << "page " << p + 1;
            }
        }
    }
}

// Page 1 drawn as pixels, without smoothing so each ink keeps its colour: every coloured ink reads
// on white at 4.5 : 1 or better, there are at least two of them, and their greys lie apart.
TEST_F(DatasheetProgramTest, TheGraphsInksReadOnWhite) {
    const QString pdf = Path("inks.pdf");
    // A requirement that passes and fails puts its limit marks and both results' inks on the page.
    const QStringList requirement{QStringLiteral("--reject"), QStringLiteral("980:5"),
                                  QStringLiteral("--reject"), QStringLiteral("1040:40"),
                                  QStringLiteral("--max-il"), QStringLiteral("1")};
    const Outcome run =
        RunProgram(kProgram, QStringList{QStringLiteral("--datasheet"), pdf} + kParts[0] + requirement);
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) GTEST_SKIP() << kNoPoppler;
    QProcess render;
    render.start(pdftoppm,
                 {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"),
                  QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-aa"), QStringLiteral("no"),
                  QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), pdf, Path("page1")});
    ASSERT_TRUE(render.waitForFinished(60000));
    const QImage page(Path("page1.png"));
    ASSERT_FALSE(page.isNull());
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    // The greys are compared for the graph, the lower part of the page; the logo has its own colour.
    std::map<QRgb, int> inks;
    std::map<QRgb, int> graphInks;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c = page.pixelColor(x, y);
            const int spread =
                std::max({c.red(), c.green(), c.blue()}) - std::min({c.red(), c.green(), c.blue()});
            if (spread > 24) ++inks[c.rgb()];
            if (spread > 24 && y > page.height() / 2) ++graphInks[c.rgb()];
        }
    std::vector<int> greys;
    for (const auto& [rgb, pixels] : inks) {
        const QColor c = QColor::fromRgb(rgb);
        const double luminance =
            0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
        const double contrast = 1.05 / (luminance + 0.05);
        EXPECT_GE(contrast, 4.5) << c.name().toStdString() << ", " << pixels << " pixels";
    }
    for (const auto& [rgb, pixels] : graphInks)
        if (pixels >= 200) greys.push_back(qGray(rgb));
    ASSERT_GE(greys.size(), 2u) << "the curves are drawn in colour";
    std::sort(greys.begin(), greys.end());
    for (size_t i = 1; i < greys.size(); ++i)
        EXPECT_GE(greys[i] - greys[i - 1], 30) << "greys " << greys[i - 1] << ", " << greys[i];
}

// Started where XDG_RUNTIME_DIR is not set (cron, su, a container), the program says nothing about it.
TEST_F(DatasheetProgramTest, NoRuntimeFolderWarning) {
    const QStringList runs[] = {
        {QStringLiteral("--datasheet"), Path("quiet.pdf")},
        {QStringLiteral("--version")},
        {QStringLiteral("--help")},
        {QStringLiteral("--screenshot"), Path("quiet.png")},
    };
    for (const QStringList& args : runs) {
        SCOPED_TRACE(args.join(QLatin1Char(' ')).toStdString());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            env.remove(QString::fromLatin1(name));
        QProcess process;
        process.setProcessEnvironment(env);
        process.start(kProgram, args);
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0);
        const QString err = QString::fromUtf8(process.readAllStandardError());
        EXPECT_FALSE(err.contains(QStringLiteral("XDG_RUNTIME_DIR"))) << err.toStdString();
    }
}

}  // namespace
}  // namespace veltrix
