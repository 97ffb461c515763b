#include "compare_window/compare_window.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProgressDialog>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>

#include "compare/sample_judgement.h"
#include "exports/exports.h"
#include "finder_window/finder_window.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/support/fakes.h"
#include "tests/support/menu_commands.h"

namespace veltrix {
namespace {

QString Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

// 1500 MHz, 30 MHz at 1.0 dB, at least 40 dBc at 1400 MHz and 35 dBc at 1620 MHz.
FinderRequirement Example() {
    FinderRequirement r;
    r.F0 = 1500.0;
    r.BW = 30.0;
    r.PassbandIndex = 1;
    r.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}};
    return r;
}

class CompareWindowTest : public ::testing::Test {
  protected:
    CompareWindowTest() {
        program.Hub = &hub;
        program.Messages = &messages;
        program.OpenDialogs = &openDialog;
        program.SaveDialogs = &saveDialog;
        window.resize(CompareWindow::kClientWidth, CompareWindow::kClientHeight);
        found = FindParts(requirement);
        window.SetLimits(requirement.Stopbands);
    }
    FilterSpec Part(size_t i) const {
        const FoundPart& p = found.Parts.at(i);
        return FinderSpec(requirement, p.Sections, p.Profile, p.Dielectric, p.Mounting);
    }
    void AddParts(size_t count) {
        for (size_t i = 0; i < count; ++i) ASSERT_EQ(window.AddPart(Part(i)), "");
    }
    // Writes the file in the test's folder and adds it through File > Add Measured.
    QString AddMeasured(const QString& name, const std::string& text) {
        const QString path = dir.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << text;
        openDialog.answer = path;
        window.Actions().Action(QStringLiteral("add_measured"))->trigger();
        return path;
    }
    bool DrewStarting(const QString& start) const {
        for (const DrawnText& t : window.DrawnTexts())
            if (t.text.startsWith(start)) return true;
        return false;
    }
    QImage Paint() { return Paint(window); }
    static QImage Paint(CompareWindow& w) {
        QImage image(w.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        w.FormPaint(painter, image.size());
        return image;
    }
    void Trigger(const char* name) { Trigger(window, name); }
    static void Trigger(CompareWindow& w, const char* name) {
        QAction* action = w.Actions().Action(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        action->trigger();
    }
    // The texts drawn in the table, a line per row, tab-separated.
    QStringList TableLines() const {
        const CompareLayout layout = LayoutFor(window.size(), program.Display.FontSizeMedium);
        std::map<int, QStringList> rows;
        for (const DrawnText& t : window.DrawnTexts())
            if (layout.Table.contains(t.at)) rows[t.at.y()] << t.text;
        QStringList lines;
        for (const auto& [y, texts] : rows) lines << texts.join(QLatin1Char('\t'));
        return lines;
    }
    bool Drew(const QString& text) const {
        for (const DrawnText& t : window.DrawnTexts())
            if (t.text == text) return true;
        return false;
    }
    // The texts of the marker table's row of a part, left to right.
    QStringList RowOf(const QString& name) const {
        const CompareLayout layout = LayoutFor(window.size(), program.Display.FontSizeMedium);
        int y = -1;
        for (const DrawnText& t : window.DrawnTexts())
            if (t.text == name && layout.Table.contains(t.at) && y < 0) y = t.at.y();
        QStringList row;
        for (const DrawnText& t : window.DrawnTexts())
            if (t.at.y() == y && layout.Table.contains(t.at)) row << t.text;
        return row;
    }

    testing::FakeHub hub;
    testing::FakeMessages messages;
    testing::FakeOpenDialog openDialog;
    testing::AnswerSaveDialog saveDialog;
    Program program;
    CompareWindow window{program};
    FinderRequirement requirement = Example();
    FinderResults found;
    QTemporaryDir dir;
};

TEST_F(CompareWindowTest, EveryMenuCommandIsFoundByItsName) {
    QList<QMenu*> menus;
    for (const GroupedMenu& grouped : window.GroupedMenus()) menus << grouped.menu;
    EXPECT_EQ(testing::UnnamedCommands(window.Actions(), menus), QStringList());
}

TEST_F(CompareWindowTest, SpaceMarksPartsInTheFinderAndCompareSendsThemWithTheLimits) {
    FindPartsWindow finder(program);
    finder.CentreFrequencyEdit()->setText(QStringLiteral("1500"));
    finder.BandwidthEdit()->setText(QStringLiteral("30"));
    finder.StopbandTable()->setItem(0, 0, new QTableWidgetItem(QStringLiteral("1400")));
    finder.StopbandTable()->setItem(0, 1, new QTableWidgetItem(QStringLiteral("40")));
    ASSERT_GE(finder.Results().Parts.size(), 4u);
    QTableView* results = finder.ResultsView();
    // The best part is current, not marked; Down moves without touching the marks, Space marks or
    // unmarks the current part.
    EXPECT_TRUE(results->selectionModel()->selectedRows().isEmpty());
    QTest::keyClick(results, Qt::Key_Space);
    for (int i = 0; i < 2; ++i) {
        QTest::keyClick(results, Qt::Key_Down);
        QTest::keyClick(results, Qt::Key_Space);
    }
    QTest::keyClick(results, Qt::Key_Space);
    EXPECT_EQ(results->selectionModel()->selectedRows().size(), 2);
    QTest::keyClick(results, Qt::Key_Space);
    EXPECT_EQ(results->selectionModel()->selectedRows().size(), 3);
    QTest::mouseClick(finder.CompareButton(), Qt::LeftButton);
    ASSERT_EQ(hub.Count("Compare"), 1);
    ASSERT_EQ(hub.compared.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const FoundPart& p = finder.Results().Parts[i];
        EXPECT_EQ(hub.compared[i].Sections, p.Sections);
        EXPECT_EQ(hub.compared[i].Profile, p.Profile);
        EXPECT_EQ(hub.compared[i].Mounting, p.Mounting);
        EXPECT_EQ(hub.compared[i].Dielectric, p.Dielectric);
    }
    ASSERT_EQ(hub.comparedLimits.size(), 1u);
    EXPECT_EQ(hub.comparedLimits[0].FrequencyMhz, 1400.0);
    EXPECT_EQ(hub.comparedLimits[0].MinAttenuationDbc, 40.0);
    // The whole requirement goes with them, for Compare Parts to keep.
    ASSERT_TRUE(hub.comparedRequirement.has_value());
    EXPECT_EQ(hub.comparedRequirement->F0, 1500.0);
    EXPECT_EQ(hub.comparedRequirement->BW, 30.0);
}

TEST_F(CompareWindowTest, ArrowKeysMoveTheMarkerAndTheTableShowsTheEnginesFigures) {
    AddParts(3);
    const int start = window.Parts().MarkerIndex();
    QTest::keyClick(&window, Qt::Key_Right);
    QTest::keyClick(&window, Qt::Key_Right);
    QTest::keyClick(&window, Qt::Key_Left);
    EXPECT_EQ(window.Parts().MarkerIndex(), start + 1);
    for (int i = 0; i < 300; ++i) QTest::keyClick(&window, Qt::Key_Right);
    EXPECT_EQ(window.Parts().MarkerIndex(), kCompareSweepSteps);
    for (int i = 0; i < 20; ++i) QTest::keyClick(&window, Qt::Key_Left);

    Paint();
    const double f = window.Parts().MarkerMhz();
    EXPECT_TRUE(Drew(QStringLiteral("Marker %1 MHz").arg(Format("%.2f", f))));
    for (size_t i = 0; i < 3; ++i) {
        const ResponseTable at = ComputeResponseTable(Part(i), {2, 0.0, f, f + 1.0});
        const QStringList row = RowOf(QString::fromStdString(at.PartNumber));
        ASSERT_GE(row.size(), 4) << at.PartNumber;
        EXPECT_EQ(row[1], Format("%.2f", at.Points[0].AttenuationDb - at.InsertionLossDb));
        EXPECT_EQ(row[2], Format("%.2f", at.Points[0].ReturnLossDb));
        EXPECT_EQ(row[3], Format("%.2f", at.Points[0].DelayNs));
    }
    // Each margin beside the worst-case figure it is taken from.
    for (const StopbandResult& margin : found.Parts[0].Stopbands) {
        EXPECT_TRUE(Drew(Format("%.1f dBc", std::min(0.9 * margin.AttenuationDbc, 60.0))))
            << margin.FrequencyMhz;
        EXPECT_TRUE(Drew(Format("%+.1f dB", margin.MarginDb))) << margin.FrequencyMhz;
    }
}

TEST_F(CompareWindowTest, PlusAndMinusZoomAroundTheFirstCentreAndTheWheelToo) {
    AddParts(2);
    const CompareSpan wide = window.Parts().Span();
    QTest::keyClick(&window, Qt::Key_Plus);
    const CompareSpan narrow = window.Parts().Span();
    EXPECT_NEAR(narrow.ToMhz - narrow.FromMhz, (wide.ToMhz - wide.FromMhz) / 2.0, 1e-9);
    EXPECT_NEAR(narrow.ToMhz + narrow.FromMhz, wide.ToMhz + wide.FromMhz, 1e-9);
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_EQ(window.Parts().Span().ToMhz, wide.ToMhz);
    QWheelEvent wheel(QPointF(100, 100), QPointF(100, 100), {}, QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&window, &wheel);
    EXPECT_EQ(window.Parts().Zoom(), 1);
    Paint();
    const CompareSpan zoomed = window.Parts().Span();
    EXPECT_TRUE(Drew(QStringLiteral("Compare Parts: %1 to %2 MHz")
                         .arg(Format("%.2f", zoomed.FromMhz), Format("%.2f", zoomed.ToMhz))));
}

TEST_F(CompareWindowTest, ClickPlacesTheMarkerAndDeleteRemovesTheLegendsPart) {
    AddParts(3);
    const CompareLayout layout = LayoutFor(window.size(), program.Display.FontSizeMedium);
    QTest::mouseClick(&window, Qt::LeftButton, Qt::NoModifier,
                      QPoint(layout.Attenuation.left() + 1, layout.Attenuation.center().y()));
    EXPECT_EQ(window.Parts().MarkerIndex(), 0);

    const QString second = QString::fromStdString(window.Parts().Curves()[1].Name);
    QTest::mouseClick(
        &window, Qt::LeftButton, Qt::NoModifier,
        QPoint(layout.Legend.left() + 30, layout.Legend.top() + layout.LegendRowHeight * 2 + 2));
    EXPECT_EQ(window.SelectedPart(), 1);
    QTest::keyClick(&window, Qt::Key_Delete);
    ASSERT_EQ(window.Parts().Curves().size(), 2u);
    Paint();
    EXPECT_FALSE(Drew(second));
    EXPECT_EQ(window.SelectedPart(), 1) << "the next part is chosen";
    QTest::keyClick(&window, Qt::Key_Up);
    EXPECT_EQ(window.SelectedPart(), 0);

    window.Actions().Action(QStringLiteral("export_datasheet"))->trigger();
    ASSERT_EQ(hub.datasheets.size(), 1u);
    EXPECT_EQ(hub.datasheets[0].Sections, window.Parts().Parts()[0].Sections);
    window.Actions().Action(QStringLiteral("print"))->trigger();
    ASSERT_EQ(hub.printedForms.size(), 1u);
    EXPECT_EQ(hub.printedForms[0], &window);
}

TEST_F(CompareWindowTest, ASeventhPartIsRefusedAndChangesNothing) {
    ASSERT_GT(found.Parts.size(), 6u);
    AddParts(6);
    const std::string refusal = window.AddPart(Part(6));
    EXPECT_NE(refusal.find("at most 6 parts"), std::string::npos) << refusal;
    ASSERT_EQ(window.Parts().Curves().size(), 6u);
    Paint();
    EXPECT_FALSE(Drew(QString::fromStdString(found.Parts[6].PartNumber)));
    for (size_t i = 0; i < 6; ++i) EXPECT_TRUE(Drew(QString::fromStdString(found.Parts[i].PartNumber)));
}

TEST_F(CompareWindowTest, AddMeasuredOverlaysTheFirstPartsOwnFileWithNoDeviation) {
    AddParts(3);
    const ResponseTable model = ComputeResponseTable(Part(0), {601, 0.0, 1400.0, 1650.0});
    ASSERT_TRUE(model.Standard);
    AddMeasured(QStringLiteral("model.s2p"), TouchstoneText(model, "2026-01-01"));
    EXPECT_EQ(openDialog.captions, QStringList{QStringLiteral("Add Measured")});
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();
    ASSERT_TRUE(window.Parts().HasMeasured());
    EXPECT_EQ(window.Parts().MeasuredCurve().FrequenciesMhz.size(), 601u);
    EXPECT_EQ(window.Parts().Parts().size(), 3u);
    EXPECT_TRUE(window.MeasuredSelected());

    QTest::keyClick(&window, Qt::Key_Right);
    Paint();
    EXPECT_TRUE(Drew(QStringLiteral("Measured: model.s2p")));
    // At the marker the measured dBc, return loss and delay are the first part's.
    const QStringList first = RowOf(QString::fromStdString(model.PartNumber));
    const QStringList measured = RowOf(QStringLiteral("Measured"));
    ASSERT_EQ(measured.size(), 4) << measured.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(first.size(), 4);
    for (int k = 1; k < 3; ++k) EXPECT_NEAR(measured[k].toDouble(), first[k].toDouble(), 0.015) << k;
    // The measured delay is the phase's slope fitted over +/-0.25 % of F0, the mean delay across that
    // aperture: within 1 % of the model's at the point.
    EXPECT_NEAR(measured[3].toDouble(), first[3].toDouble(), 0.01 * first[3].toDouble());

    const MeasuredComparison& deviations = window.Parts().MeasuredDeviations();
    EXPECT_EQ(deviations.PartNumber, model.PartNumber);
    ASSERT_GE(deviations.Summary.size(), 6u);
    for (const DeviationEntry& e : deviations.Summary) EXPECT_NEAR(e.Deviation, 0.0, 0.01) << e.Key;
    EXPECT_TRUE(Drew(
        QStringLiteral("Measured vs %1 (the first part)").arg(QString::fromStdString(model.PartNumber))));
    for (const QString& label :
         {QStringLiteral("IL at F0"), QStringLiteral("Lower edge"), QStringLiteral("Upper edge"),
          QStringLiteral("1400.00 MHz"), QStringLiteral("1620.00 MHz"), QStringLiteral("Passband max")}) {
        const QStringList row = RowOf(label);
        ASSERT_EQ(row.size(), 4) << label.toStdString();
        EXPECT_NEAR(row[3].toDouble(), 0.0, 0.01) << label.toStdString();
    }

    // Delete on its legend row takes it away and leaves the parts.
    QTest::keyClick(&window, Qt::Key_Delete);
    EXPECT_FALSE(window.Parts().HasMeasured());
    EXPECT_EQ(window.Parts().Parts().size(), 3u);
    Paint();
    EXPECT_FALSE(DrewStarting(QStringLiteral("Measured")));
}

TEST_F(CompareWindowTest, ASampleIsJudgedAgainstTheKeptRequirementAndTheReferenceFollowsTheChosenPart) {
    requirement.MaxInsertionLossDb = 4.0;
    window.SetRequirement(requirement);
    AddParts(3);
    // The first part 0.4 % high and 0.35 dB lossier.
    ResponseTable sample = ComputeResponseTable(Part(0), {801, 0.0, 1390.0 / 1.004, 1660.0 / 1.004});
    for (ResponsePoint& p : sample.Points) {
        p.FrequencyMhz *= 1.004;
        p.AttenuationDb += 0.35;
    }
    AddMeasured(QStringLiteral("shifted.s2p"), TouchstoneText(sample, "2026-01-01"));
    ASSERT_TRUE(window.Parts().HasMeasured());
    Paint();
    EXPECT_TRUE(
        Drew(QStringLiteral("Requirement: 1500.00 MHz, at least 30.0 MHz at 1.0 dB, IL at most 4.0 dB")));

    const SampleJudgement& j = window.Parts().Judgement();
    ASSERT_TRUE(j.Judged);
    ASSERT_EQ(j.Points.size(), 2u);
    EXPECT_NEAR(j.Passband.ShiftMhz, 0.004 * 1500.0, 0.1);
    // Under each required level the sample's dBc (never its absolute loss) and its margin.
    for (const SamplePoint& p : j.Points) {
        EXPECT_NEAR(p.MeasuredDbc,
                    InterpolateAt(window.Parts().MeasuredCurve().FrequenciesMhz,
                                  window.Parts().MeasuredCurve().AttenuationDbc, p.FrequencyMhz),
                    1e-9);
        EXPECT_TRUE(Drew(Format("%.2f dBc", p.MeasuredDbc))) << p.FrequencyMhz;
        EXPECT_TRUE(Drew(Format("%+.2f dB", p.MarginDb))) << p.FrequencyMhz;
        EXPECT_FALSE(Drew(Format("%.2f dBc", p.MeasuredDbc + j.LossAtF0Db))) << p.FrequencyMhz;
    }
    // The verdict, broken to the column's width, reads whole.
    QString drawn;
    for (const DrawnText& t : window.DrawnTexts()) drawn += QLatin1Char(' ') + t.text.trimmed();
    EXPECT_TRUE(drawn.contains(QString::fromStdString(j.Verdict))) << j.Verdict;
    EXPECT_TRUE(DrewStarting(QStringLiteral("The sample m")));

    // The reference is the part chosen in the legend.
    EXPECT_EQ(window.Parts().MeasuredDeviations().PartNumber, ComputeResponseTable(Part(0)).PartNumber);
    window.SelectPart(1);
    Paint();
    const std::string second = ComputeResponseTable(Part(1)).PartNumber;
    EXPECT_EQ(window.Parts().MeasuredDeviations().PartNumber, second);
    EXPECT_TRUE(
        Drew(QStringLiteral("Measured vs %1 (chosen in the legend)").arg(QString::fromStdString(second))));

    // Export Datasheet hands over the whole requirement it was opened with.
    window.onFileMenuShown();
    window.Actions().Action(QStringLiteral("export_datasheet"))->trigger();
    ASSERT_EQ(hub.datasheetRequirements.size(), 1u);
    ASSERT_TRUE(hub.datasheetRequirements[0].has_value());
    EXPECT_EQ(hub.datasheetRequirements[0]->Stopbands.size(), 2u);
    EXPECT_EQ(hub.datasheetRequirements[0]->Stopbands[1].MinAttenuationDbc, 35.0);
    EXPECT_EQ(hub.datasheetRequirements[0]->MaxInsertionLossDb, 4.0);
    EXPECT_EQ(ComputeResponseTable(hub.datasheets[0]).PartNumber, second);
}

TEST_F(CompareWindowTest, SixPartsTheirMarginsAndAMeasuredFileFitTheHeightThePrintoutAndTheScrollAreaGet) {
    AddParts(6);
    const ResponseTable model = ComputeResponseTable(Part(0), {601, 0.0, 1400.0, 1650.0});
    AddMeasured(QStringLiteral("model.s2p"), TouchstoneText(model, "2026-01-01"));
    ASSERT_TRUE(window.Parts().HasMeasured());
    const QSize design = window.FormDesignSize();
    EXPECT_GT(design.height(), CompareWindow::kClientHeight);
    EXPECT_EQ(window.minimumHeight(), design.height());
    window.resize(design);
    Paint();
    int lowest = 0;
    for (const DrawnText& t : window.DrawnTexts()) lowest = std::max(lowest, t.at.y() + t.pixelSize);
    EXPECT_TRUE(Drew(QStringLiteral("Passband max")));
    EXPECT_LE(lowest, design.height());
    EXPECT_GT(lowest, design.height() - 4 * (program.Display.FontSizeMedium + 4));
}

TEST_F(CompareWindowTest, ARefusedFileIsOneMessageNamingFileAndLineAndAddsNothing) {
    AddParts(2);
    const QString path =
        AddMeasured(QStringLiteral("bad.s2p"),
                    "# MHz S DB R 50\n1500 -1 0 -20 0 -20 0 -1 0\n1501 -1 zero -20 0 -20 0 -1 0\n");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(path + QStringLiteral(":3: ")))
        << messages.texts[0].toStdString();
    EXPECT_FALSE(window.Parts().HasMeasured());
    EXPECT_EQ(window.SelectedPart(), 1);
    Paint();
    EXPECT_FALSE(DrewStarting(QStringLiteral("Measured")));

    // A cancelled dialog asks nothing more.
    openDialog.answer.clear();
    window.Actions().Action(QStringLiteral("add_measured"))->trigger();
    EXPECT_EQ(messages.texts.size(), 1);
    EXPECT_FALSE(window.Parts().HasMeasured());
}

TEST_F(CompareWindowTest, OpensOnEveryLimitAndGoToFrequencyPutsTheMarkerThereByCtrlG) {
    AddParts(3);
    Paint();
    // 1400 and 1620 MHz lie beyond three bandwidths of a 30 MHz part: both limits are drawn.
    EXPECT_TRUE(Drew(QStringLiteral("40.0 dBc")));
    EXPECT_TRUE(Drew(QStringLiteral("35.0 dBc")));

    QAction* go = window.Actions().Action(QStringLiteral("go_to_frequency"));
    ASSERT_NE(go, nullptr);
    EXPECT_EQ(go->text(), QStringLiteral("Go to &Frequency..."));
    EXPECT_EQ(go->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_G));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QString asked;
    QTimer::singleShot(0, [&asked] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        asked = dialog->windowTitle();
        dialog->setDoubleValue(1400.0);
        dialog->accept();
    });
    QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(asked, QStringLiteral("Go to Frequency"));
    EXPECT_DOUBLE_EQ(window.Parts().MarkerMhz(), 1400.0);
    Paint();
    EXPECT_TRUE(Drew(QStringLiteral("Marker 1400.00 MHz")));
    const ResponseTable at = ComputeResponseAt(Part(0), {1400.0});
    ASSERT_EQ(at.Points.size(), 1u);
    EXPECT_EQ(RowOf(QString::fromStdString(at.PartNumber)).value(1),
              Format("%.2f", at.Points[0].AttenuationDb - at.InsertionLossDb));

    // A cancelled dialog leaves the marker; a zoom keeps it at its frequency.
    QTimer::singleShot(0, [] {
        if (auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            dialog->setDoubleValue(1500.0);
            dialog->reject();
        }
    });
    go->trigger();
    EXPECT_DOUBLE_EQ(window.Parts().MarkerMhz(), 1400.0);
    QTest::keyClick(&window, Qt::Key_Plus);
    QTest::keyClick(&window, Qt::Key_Minus);
    EXPECT_DOUBLE_EQ(window.Parts().MarkerMhz(), 1400.0);
}

TEST_F(CompareWindowTest, InsertionLossViewShowsTheAbsoluteLossAndTheDbcViewComesBack) {
    AddParts(2);
    Trigger("view_insertion_loss");
    EXPECT_EQ(window.View(), CompareView::InsertionLoss);
    EXPECT_TRUE(window.Actions().Action(QStringLiteral("view_insertion_loss"))->isChecked());
    EXPECT_FALSE(window.Actions().Action(QStringLiteral("view_dbc"))->isChecked());
    Paint();
    EXPECT_TRUE(Drew(QStringLiteral("Insertion loss (dB)")));
    EXPECT_FALSE(Drew(QStringLiteral("Attenuation (dBc)")));
    EXPECT_TRUE(Drew(QStringLiteral("IL dB")));
    const double f = window.Parts().MarkerMhz();
    for (size_t i = 0; i < 2; ++i) {
        const ResponseTable at = ComputeResponseAt(Part(i), {f});
        ASSERT_EQ(at.Points.size(), 1u);
        EXPECT_EQ(RowOf(QString::fromStdString(at.PartNumber)).value(1),
                  Format("%.2f", at.Points[0].AttenuationDb));
    }
    Trigger("view_dbc");
    Paint();
    EXPECT_TRUE(Drew(QStringLiteral("Attenuation (dBc)")));
    EXPECT_TRUE(Drew(QStringLiteral("dBc")));
}

// The pixels of a colour inside a box.
int PixelsOf(const QImage& image, const QRect& box, const QColor& colour) {
    int n = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) n += image.pixelColor(x, y) == colour;
    return n;
}

TEST_F(CompareWindowTest, TheChosenRowsCurveIsHeavierAndEveryPartHasItsOwnDashes) {
    AddParts(2);
    const CompareLayout layout = LayoutFor(window.size(), program.Display.FontSizeMedium);
    window.SelectPart(0);
    const QImage first = Paint();
    window.SelectPart(1);
    const QImage second = Paint();
    const QRect graph = layout.Attenuation.adjusted(1, 1, -1, -1);
    EXPECT_GT(PixelsOf(first, graph, TraceColour(0)), PixelsOf(second, graph, TraceColour(0)) * 3 / 2);
    EXPECT_GT(PixelsOf(second, graph, TraceColour(1)), PixelsOf(first, graph, TraceColour(1)) * 3 / 2);
    // Without colour: the patterns differ, part from part and from the measured file.
    std::vector<QList<qreal>> patterns;
    for (int i = 0; i <= kMeasuredTrace; ++i) {
        const QPen pen = TracePen(i, false);
        patterns.push_back(pen.style() == Qt::SolidLine ? QList<qreal>{} : pen.dashPattern());
    }
    for (size_t i = 0; i < patterns.size(); ++i)
        for (size_t j = i + 1; j < patterns.size(); ++j) EXPECT_NE(patterns[i], patterns[j]) << i << " " << j;
}

TEST_F(CompareWindowTest, CopyPutsTheTableAsShownOnTheClipboardTabSeparated) {
    AddParts(3);
    const ResponseTable model = ComputeResponseTable(Part(0), {601, 0.0, 1400.0, 1650.0});
    AddMeasured(QStringLiteral("model.s2p"), TouchstoneText(model, "2026-01-01"));
    ASSERT_TRUE(window.Parts().HasMeasured());
    QAction* copy = window.Actions().Action(QStringLiteral("copy"));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->shortcut(), QKeySequence(QKeySequence::Copy));
    QApplication::clipboard()->clear();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_C, Qt::ControlModifier);
    const QString copied = QApplication::clipboard()->text();
    Paint();
    QStringList lines;
    for (const QString& line : copied.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString shown = line;
        while (shown.startsWith(QLatin1Char('\t'))) shown.remove(0, 1);  // the headings over the figures
        lines << shown;
    }
    // The window breaks the sample's long lines to fit its column; the clipboard keeps them whole.
    QStringList shown;
    for (const QString& line : TableLines()) {
        if (line.startsWith(QStringLiteral("  ")) && !shown.isEmpty()) {
            shown.back() += QLatin1Char(' ') + line.mid(2);
        } else {
            shown << line;
        }
    }
    EXPECT_EQ(lines, shown);
    EXPECT_TRUE(copied.contains(QStringLiteral("\nIL at F0\t")));
    EXPECT_TRUE(copied.contains(QStringLiteral("\nLoss, dB\tModel\tMeas.\tDev. dB\n")));
    EXPECT_TRUE(copied.startsWith(QStringLiteral("Marker ")));
}

TEST_F(CompareWindowTest, SaveThenOpenRestoresTheComparisonInAnotherWindow) {
    AddParts(3);
    const ResponseTable model = ComputeResponseTable(Part(0), {601, 0.0, 1400.0, 1650.0});
    const QString measured = AddMeasured(QStringLiteral("model.s2p"), TouchstoneText(model, "2026-01-01"));
    const QString saved = dir.filePath(QStringLiteral("work.vxcmp"));
    saveDialog.answer = saved;
    Trigger("save_comparison");
    ASSERT_EQ(saveDialog.proposed, QStringList{QStringLiteral("comparison.vxcmp")});
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();

    CompareWindow opened(program);
    opened.resize(window.size());
    openDialog.answer = saved;
    Trigger(opened, "open_comparison");
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(opened.Parts().Curves().size(), 3u);
    for (size_t i = 0; i < 3; ++i)
        EXPECT_EQ(opened.Parts().Curves()[i].Name, window.Parts().Curves()[i].Name);
    ASSERT_EQ(opened.Parts().Limits().size(), 2u);
    EXPECT_EQ(opened.Parts().Limits()[1].FrequencyMhz, 1620.0);
    EXPECT_EQ(opened.Parts().Limits()[1].MinAttenuationDbc, 35.0);
    ASSERT_TRUE(opened.Parts().HasMeasured());
    EXPECT_EQ(opened.MeasuredPath(), measured);
    EXPECT_EQ(opened.Parts().MeasuredCurve().FrequenciesMhz.size(), 601u);

    // The measured file gone: the comparison opens without it and says so.
    ASSERT_TRUE(QFile::remove(measured));
    CompareWindow without(program);
    Trigger(without, "open_comparison");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(measured)) << messages.texts[0].toStdString();
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("opens without it")));
    EXPECT_EQ(without.Parts().Curves().size(), 3u);
    EXPECT_FALSE(without.Parts().HasMeasured());
}

TEST_F(CompareWindowTest, AMalformedComparisonFileIsOneMessageAndLeavesTheWindowAsItWas) {
    AddParts(2);
    window.SelectPart(1);
    const std::vector<CompareCurve> before = window.Parts().Curves();
    struct Case {
        const char* name;
        std::string text;
        const char* problem;
    };
    for (const Case& c :
         {Case{"junk.vxcmp", "not json at all", "not JSON"},
          Case{"later.vxcmp", R"({"format": "veltrix-comparison", "version": 7})", "version 7"},
          Case{"other.vxcmp", R"({"format": "something else"})", "not a saved comparison"}}) {
        messages.texts.clear();
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        std::ofstream(path.toStdString(), std::ios::binary) << c.text;
        openDialog.answer = path;
        Trigger("open_comparison");
        ASSERT_EQ(messages.texts.size(), 1) << c.name;
        EXPECT_TRUE(messages.texts[0].startsWith(path)) << messages.texts[0].toStdString();
        EXPECT_TRUE(messages.texts[0].contains(QString::fromLatin1(c.problem)))
            << messages.texts[0].toStdString();
        EXPECT_EQ(messages.captions[0], QStringLiteral("Open Comparison"));
        ASSERT_EQ(window.Parts().Curves().size(), before.size());
        for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(window.Parts().Curves()[i].Name, before[i].Name);
        EXPECT_EQ(window.SelectedPart(), 1);
    }
}

TEST_F(CompareWindowTest, ExportCurvesWritesTheGridThroughTheSaveDialog) {
    AddParts(2);
    const QString path = dir.filePath(QStringLiteral("curves.csv"));
    saveDialog.answer = path;
    Trigger("export_curves");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kCompareSweepSteps + 2);
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("frequency_mhz,") +
                                    QString::fromStdString(window.Parts().Curves()[0].Name)));
    EXPECT_TRUE(messages.texts.isEmpty());
    // A folder that cannot take the file: one message naming it.
    saveDialog.answer = dir.filePath(QStringLiteral("missing/curves.csv"));
    Trigger("export_curves");
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("missing/curves.csv")))
        << messages.texts[0].toStdString();
}

}  // namespace
}  // namespace veltrix

namespace veltrix {
namespace {

// Larger than the window reads in place: a turning S21 across the first part's span.
std::string LargeMeasurement() {
    std::string text = "# MHz S DB R 50\n";
    char line[128];
    for (int i = 0; text.size() < CompareWindow::kReadAsideBytes + 4096; ++i) {
        std::snprintf(line, sizeof line, "%.5f -20 0 -1 %d -1 0 -20 0\n", 1400.0 + 0.001 * i,
                      (i * 7) % 360 - 179);
        text += line;
    }
    return text;
}

TEST_F(CompareWindowTest, LargeFileIsReadAsideAndAddedWhenDone) {
    AddParts(1);
    AddMeasured(QStringLiteral("large.s2p"), LargeMeasurement());
    EXPECT_FALSE(window.Parts().HasMeasured()) << "read on the window's thread";
    EXPECT_NE(window.findChild<QProgressDialog*>(), nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(window.Parts().HasMeasured(), 30000);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(window.SelectedPart(), 1);
    QTRY_COMPARE(window.findChild<QProgressDialog*>(), nullptr);
}

TEST_F(CompareWindowTest, CancelledReadAddsNothing) {
    AddParts(1);
    AddMeasured(QStringLiteral("large.s2p"), LargeMeasurement());
    auto* progress = window.findChild<QProgressDialog*>();
    ASSERT_NE(progress, nullptr);
    auto* cancel = progress->findChild<QPushButton*>();
    ASSERT_NE(cancel, nullptr);
    cancel->click();
    QTRY_COMPARE_WITH_TIMEOUT(window.findChild<QProgressDialog*>(), nullptr, 30000);
    EXPECT_FALSE(window.Parts().HasMeasured());
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(CompareWindowTest, WindowClosedWhileReadingWaitsForTheRead) {
    auto* reading = new CompareWindow(program);
    const QString path = dir.filePath(QStringLiteral("large.s2p"));
    std::ofstream(path.toStdString(), std::ios::binary) << LargeMeasurement();
    openDialog.answer = path;
    reading->Actions().Action(QStringLiteral("add_measured"))->trigger();
    delete reading;  // no crash, no thread left running
    SUCCEED();
}

}  // namespace
}  // namespace veltrix
