// Export Datasheet driven in the real windows, with the fake save dialog.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <optional>

#include "app/frame.h"
#include "compare_window/compare_window.h"
#include "exports/exports.h"
#include "finder_window/finder_window.h"
#include "printing/vector_export.h"
#include "specification_window/specification_window.h"
#include "tests/app/shown_frame.h"
#include "tests/support/answer_save_dialog.h"
#include "tests/support/fakes.h"
#include "tests/support/poppler.h"

namespace veltrix {
namespace {

QString FileName(const std::string& partNumber) {
    return QString::fromStdString(ExportFileName(partNumber, ".pdf"));
}

class DatasheetWindowTest : public testing::ShownFrameTest {
  protected:
    void SetUp() override {
        testing::ShownFrameTest::SetUp();
        program_.SaveDialogs = &dialog_;
        QApplication::setActiveWindow(frame_.get());
        QCoreApplication::processEvents();
    }

    QAction* SpecificationAction(const char* name) const {
        return frame_->Specification()->Actions().Action(QString::fromLatin1(name));
    }
    // Opens the specification screen's File menu, as a user does before choosing from it.
    void ShowFileMenu() const {
        QMenu* file = qobject_cast<QMenu*>(SpecificationAction("export_datasheet")->parent());
        ASSERT_NE(file, nullptr);
        emit file->aboutToShow();
    }
    void ExpectDatasheetOf(const std::string& partNumber) const {
        ASSERT_TRUE(QFile::exists(dialog_.answer)) << messages_.texts.join('\n').toStdString();
        QFile file(dialog_.answer);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.read(5) == "%PDF-");
        if (const auto text = testing::Poppler("pdftotext", {dialog_.answer, QStringLiteral("-")})) {
            EXPECT_TRUE(text->contains(QString::fromStdString(partNumber))) << partNumber;
            EXPECT_TRUE(text->contains(QStringLiteral("Dimensions in millimetres")));
        }
    }

    testing::AnswerSaveDialog dialog_;
};

TEST_F(DatasheetWindowTest, SpecificationScreenWritesThePartOnScreen) {
    dialog_.answer = dir_.filePath(QStringLiteral("sheet.pdf"));
    ShowFileMenu();
    ASSERT_TRUE(SpecificationAction("export_datasheet")->isEnabled());
    EXPECT_EQ(SpecificationAction("export_datasheet")->text(), QStringLiteral("Export &Datasheet..."));
    SpecificationAction("export_datasheet")->trigger();
    EXPECT_EQ(dialog_.proposed, QStringList{QStringLiteral("3DR25-1000_U20.pdf")});
    EXPECT_TRUE(messages_.texts.isEmpty()) << messages_.texts.join('\n').toStdString();
    ExpectDatasheetOf("3DR25-1000/U20 - 1.8");
}

TEST_F(DatasheetWindowTest, ARefusedEntryIsDisabledAndRefusedWithAMessage) {
    SpecificationAction("dielectric_dl")->trigger();
    SpecificationAction("mounting_drop_in")->trigger();
    ShowFileMenu();
    EXPECT_FALSE(SpecificationAction("export_datasheet")->isEnabled());
    // The item reached anyway (the menu judged before the entry changed) gives the reason, and no dialog.
    SpecificationAction("export_datasheet")->setEnabled(true);
    SpecificationAction("export_datasheet")->trigger();
    EXPECT_TRUE(dialog_.proposed.isEmpty());
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("standard part")));
    EXPECT_TRUE(QDir(dir_.path()).entryList({QStringLiteral("*.pdf")}).isEmpty());
}

TEST_F(DatasheetWindowTest, CancelWritesNothingAndAFailureIsReportedWithItsPath) {
    dialog_.answer.clear();
    SpecificationAction("export_datasheet")->trigger();
    EXPECT_EQ(dialog_.proposed.size(), 1);
    EXPECT_TRUE(messages_.texts.isEmpty());

    dialog_.answer = dir_.filePath(QStringLiteral("no-such-folder/sheet.pdf"));
    SpecificationAction("export_datasheet")->trigger();
    ASSERT_EQ(messages_.texts.size(), 1);
    EXPECT_TRUE(messages_.texts[0].startsWith(QStringLiteral("Cannot write")))
        << messages_.texts[0].toStdString();
    EXPECT_TRUE(messages_.texts[0].contains(QStringLiteral("no-such-folder")));
}

TEST_F(DatasheetWindowTest, FinderWritesTheCurrentRowsPart) {
    FindPartsWindow* finder = testing::OpenFinderFor1500MHz(*frame_);
    // Three points with their levels and a highest loss: the sheet carries the whole requirement,
    // not only the two points the specification screen has room for.
    QTableWidget* points = finder->StopbandTable();
    points->setItem(1, 0, new QTableWidgetItem(QStringLiteral("1620")));
    points->setItem(1, 1, new QTableWidgetItem(QStringLiteral("30")));
    points->setItem(2, 0, new QTableWidgetItem(QStringLiteral("1350")));
    points->setItem(2, 1, new QTableWidgetItem(QStringLiteral("45")));
    finder->MaxInsertionLossEdit()->setText(QStringLiteral("4"));
    ASSERT_EQ(finder->Requirement().Stopbands.size(), 3u);
    ASSERT_GE(finder->Results().Parts.size(), 2u);
    QPushButton* button = finder->ExportDatasheetButton();
    EXPECT_EQ(button->text(), QStringLiteral("E&xport Datasheet..."));
    ASSERT_TRUE(button->isEnabled());
    testing::ClickRow(finder->ResultsView(), 1);
    const std::string part = finder->ResultsView()->model()->index(1, 1).data().toString().toStdString();
    dialog_.answer = dir_.filePath(QStringLiteral("finder.pdf"));
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(dialog_.proposed, QStringList{FileName(part)});
    ExpectDatasheetOf(part);
    if (const auto text =
            testing::Poppler("pdftotext", {QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                           QStringLiteral("1"), dialog_.answer, QStringLiteral("-")})) {
        for (const char* row : {"Attenuation at 1400.00 MHz", "40.0 dBc min", "Attenuation at 1620.00 MHz",
                                "30.0 dBc min", "Attenuation at 1350.00 MHz", "45.0 dBc min", "4.00 dB max"})
            EXPECT_TRUE(text->contains(QString::fromLatin1(row))) << row;
    }

    // With nothing that meets the requirement there is no part to write.
    finder->BandwidthEdit()->setText(QStringLiteral("900"));
    ASSERT_TRUE(finder->Results().Parts.empty());
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(DatasheetWindowTest, ComparePartsWritesTheLegendsChosenPart) {
    FindPartsWindow* finder = testing::OpenFinderFor1500MHz(*frame_);
    ASSERT_GE(finder->Results().Parts.size(), 3u);
    QTableView* results = finder->ResultsView();
    testing::ClickRow(results, 0);
    for (int row : {1, 2}) testing::ClickRow(results, row, Qt::ControlModifier);
    QTest::mouseClick(finder->CompareButton(), Qt::LeftButton);
    CompareWindow* compare = frame_->Comparison();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(compare->Parts().Parts().size(), 3u);
    compare->SelectPart(1);
    FilterSpec chosen = compare->Parts().Parts()[1];
    const std::string part = ComputeResponseTable(chosen).PartNumber;
    dialog_.answer = dir_.filePath(QStringLiteral("compare.pdf"));
    compare->Actions().Action(QStringLiteral("export_datasheet"))->trigger();
    EXPECT_EQ(dialog_.proposed, QStringList{FileName(part)});
    ExpectDatasheetOf(part);
}

}  // namespace
}  // namespace veltrix

namespace veltrix {
namespace {

// The outline drawing reaches the datasheet in its own colours: its note "Input and Output Shown In
// Red" must still be true on paper.
TEST(DatasheetOutlineColours, BlackAndWhiteSwapColoursKeepTheirHueReadableOnWhite) {
    const struct {
        QColor screen;
        QColor paper;
    } cases[] = {
        {QColor(0, 0, 0), QColor(255, 255, 255)},    {QColor(255, 255, 255), QColor(0, 0, 0)},
        {QColor(192, 192, 192), QColor(63, 63, 63)}, {QColor(255, 0, 0), QColor(160, 0, 0)},
        {QColor(0, 255, 0), QColor(0, 160, 0)},      {QColor(255, 0, 255), QColor(160, 0, 160)},
        {QColor(0, 0, 128), QColor(0, 0, 128)},      {QColor(255, 255, 0), QColor(160, 160, 0)},
    };
    for (const auto& c : cases) EXPECT_EQ(DarkenedColour(c.screen), c.paper) << c.screen.name().toStdString();
}

}  // namespace
}  // namespace veltrix
