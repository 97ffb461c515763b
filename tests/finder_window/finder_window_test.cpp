#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "engine/rules.h"
#include "finder_window/finder_window.h"
#include "program/program.h"
#include "tests/support/fakes.h"

namespace veltrix {
namespace {

class FindPartsTest : public ::testing::Test {
  protected:
    FindPartsTest() {
        program.Hub = &hub;
        window.resize(780, 640);
    }
    // The requirement of an engineer who needs 1500 MHz, 30 MHz at 1.0 dB, 40 dBc at 1400 MHz and
    // 35 dBc at 1620 MHz.
    void EnterRequirement() {
        window.CentreFrequencyEdit()->setText(QStringLiteral("1500"));
        window.BandwidthEdit()->setText(QStringLiteral("30"));
        SetStopband(0, QStringLiteral("1400"), QStringLiteral("40"));
        SetStopband(1, QStringLiteral("1620"), QStringLiteral("35"));
    }
    void SetStopband(int row, const QString& frequency, const QString& minimum) {
        window.StopbandTable()->setItem(row, 0, new QTableWidgetItem(frequency));
        window.StopbandTable()->setItem(row, 1, new QTableWidgetItem(minimum));
    }
    QString Cell(int row, int column) const {
        return window.ResultsView()->model()->index(row, column).data().toString();
    }

    testing::FakeHub hub;
    Program program;
    FindPartsWindow window{program};
};

TEST_F(FindPartsTest, EntriesAreReadLikeTheSpecificationScreen) {
    EnterRequirement();
    window.MaxInsertionLossEdit()->setText(QStringLiteral("2.5xyz"));
    window.TabCheck()->setChecked(false);
    window.Profile4Check()->setChecked(false);
    SetStopband(2, QStringLiteral("-5"), QStringLiteral("20"));
    const FinderRequirement requirement = window.Requirement();
    EXPECT_EQ(requirement.F0, 1500.0);
    EXPECT_EQ(requirement.BW, 30.0);
    EXPECT_EQ(requirement.PassbandIndex, 1);
    ASSERT_TRUE(requirement.MaxInsertionLossDb.has_value());
    EXPECT_EQ(*requirement.MaxInsertionLossDb, 2.5);
    ASSERT_EQ(requirement.Stopbands.size(), 2u) << "a point at 0 MHz (here a negative one) is no point";
    EXPECT_EQ(requirement.Stopbands[1].FrequencyMhz, 1620.0);
    EXPECT_EQ(requirement.Stopbands[1].MinAttenuationDbc, 35.0);
    EXPECT_EQ(requirement.Mountings,
              (std::vector<MountingStyle>{MountingStyle::DropIn, MountingStyle::Orbis}));
    EXPECT_EQ(requirement.Profiles, (std::vector<ResonatorProfile>{ResonatorProfile::Mm6}));

    window.CentreFrequencyEdit()->setText(QStringLiteral("12"));
    window.BandwidthEdit()->setText(QStringLiteral("0"));
    window.MaxInsertionLossEdit()->clear();
    EXPECT_EQ(window.Requirement().F0, 100.0);
    EXPECT_EQ(window.Requirement().BW, 1.0);
    EXPECT_FALSE(window.Requirement().MaxInsertionLossDb.has_value());
}

TEST_F(FindPartsTest, TableFollowsTypingBestFirstAndListsTheMisses) {
    EnterRequirement();
    const FinderResults expected = FindParts(window.Requirement());
    ASSERT_FALSE(expected.Parts.empty());
    const QAbstractItemModel* model = window.ResultsView()->model();
    ASSERT_EQ(model->rowCount(), static_cast<int>(expected.Parts.size()));
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_EQ(Cell(row, 1).toStdString(), expected.Parts[static_cast<std::size_t>(row)].PartNumber);
    EXPECT_EQ(model->columnCount(), 9) << "one column per stopband point";
    EXPECT_EQ(window.MissesTable()->rowCount(), static_cast<int>(expected.Misses.size()));
    EXPECT_EQ(window.StopbandTable()->rowCount(), 3) << "a blank row stays for the next point";

    window.CentreFrequencyEdit()->setText(QStringLiteral("1000"));
    EXPECT_NE(Cell(0, 1).toStdString(), expected.Parts[0].PartNumber) << "results follow the entry";
}

TEST_F(FindPartsTest, SortingByColumnOrdersNumbersAsNumbers) {
    window.CentreFrequencyEdit()->setText(QStringLiteral("1500"));
    window.BandwidthEdit()->setText(QStringLiteral("30"));
    window.ResultsView()->sortByColumn(2, Qt::DescendingOrder);
    const QAbstractItemModel* model = window.ResultsView()->model();
    ASSERT_GT(model->rowCount(), 2);
    for (int row = 1; row < model->rowCount(); ++row)
        EXPECT_GE(Cell(row - 1, 2).toDouble(), Cell(row, 2).toDouble()) << row;
}

TEST_F(FindPartsTest, EnterOnARowPutsThatPartIntoTheSpecification) {
    EnterRequirement();
    window.ResultsView()->sortByColumn(2, Qt::DescendingOrder);
    window.show();
    window.ResultsView()->setFocus();
    window.ResultsView()->setCurrentIndex(window.ResultsView()->model()->index(0, 1));
    const QString partNumber = Cell(0, 1);
    QTest::keyClick(window.ResultsView(), Qt::Key_Return);
    ASSERT_TRUE(hub.chosen.has_value());
    FilterSpec spec = *hub.chosen;
    EXPECT_EQ(spec.F0, 1500.0);
    EXPECT_EQ(spec.F1, 1400.0);
    EXPECT_EQ(spec.F2, 1620.0);
    ResponseData response;
    const RuleOutcome outcome = EvaluateSpecification(spec, response);
    EXPECT_EQ(spec.SelStatus, kSelectionValid);
    EXPECT_EQ(QString::fromStdString(outcome.PartNumber), partNumber) << "the chosen row, not the best one";
}

TEST_F(FindPartsTest, EveryPartIsLabelledWithItsOwnProfileAndMounting) {
    FinderRequirement r;
    r.F0 = 1000.0;
    r.BW = 20.0;
    r.Profiles = {ResonatorProfile::Mm12};
    r.Dielectrics = {DielectricMaterial::DR};
    r.Mountings = {MountingStyle::DropIn, MountingStyle::SurfacePin, MountingStyle::Tessel};
    window.SearchFor(r);
    const std::map<MountingStyle, QString> mountings{
        {MountingStyle::DropIn, QStringLiteral("Drop-in")},
        {MountingStyle::SurfacePin, QStringLiteral("Surface mount - Pin")},
        {MountingStyle::Tessel, QStringLiteral("Tessel Leadless")}};
    const std::vector<FoundPart>& parts = window.Results().Parts;
    ASSERT_EQ(window.ResultsView()->model()->rowCount(), static_cast<int>(parts.size()));
    std::set<MountingStyle> seen;
    for (int row = 0; row < static_cast<int>(parts.size()); ++row) {
        const FoundPart& part = parts[static_cast<std::size_t>(row)];
        ASSERT_EQ(Cell(row, 1).toStdString(), part.PartNumber);
        EXPECT_EQ(Cell(row, 4), QStringLiteral("12 mm")) << part.PartNumber;
        EXPECT_EQ(Cell(row, 6), mountings.at(part.Mounting)) << part.PartNumber;
        seen.insert(part.Mounting);
    }
    EXPECT_EQ(seen.size(), 3u) << "every mounting has a standard 12 mm DR part at 1000 MHz";
    for (int row = 0; row < window.MissesTable()->rowCount(); ++row)
        EXPECT_EQ(window.MissesTable()->item(row, 1)->text(), QStringLiteral("12 mm"));
}

TEST_F(FindPartsTest, StopbandCellsShowTheWorstCaseFirst) {
    window.CentreFrequencyEdit()->setText(QStringLiteral("2400"));
    window.BandwidthEdit()->setText(QStringLiteral("40"));
    SetStopband(0, QStringLiteral("2250"), QStringLiteral("30"));
    const std::vector<FoundPart>& parts = window.Results().Parts;
    ASSERT_FALSE(parts.empty());
    bool capped = false;
    for (int row = 0; row < static_cast<int>(parts.size()); ++row) {
        const FoundPart& part = parts[static_cast<std::size_t>(row)];
        const StopbandResult& s = part.Stopbands.at(0);
        // 10 % below the computed figure, at most the 30 dBc guaranteed from 2000 MHz.
        const double worst = std::min(0.9 * s.AttenuationDbc, 30.0);
        const QString expected = QString::asprintf("%.1f dBc worst case (%.1f computed), %+.1f dB", worst,
                                                   s.AttenuationDbc, worst - 30.0);
        EXPECT_EQ(Cell(row, 7), expected);
        EXPECT_EQ(window.ResultsView()->model()->index(row, 7).data(Qt::ToolTipRole).toString(), expected);
        EXPECT_EQ(window.ResultsView()->model()->index(row, 2).data(Qt::ToolTipRole).toString(),
                  QString::asprintf("%.2f dB worst case (%.2f computed)", 1.1 * part.InsertionLossDb,
                                    part.InsertionLossDb));
        capped |= 0.9 * s.AttenuationDbc > 30.0 && s.WorstCaseDbc == 30.0;
    }
    EXPECT_TRUE(capped);

    // A part whose computed figure clears the level but whose worst case does not is left out.
    SetStopband(0, QStringLiteral("2250"), QStringLiteral("0"));
    std::vector<double> computed;
    for (const FoundPart& part : window.Results().Parts)
        computed.push_back(part.Stopbands.at(0).AttenuationDbc);
    ASSERT_FALSE(computed.empty());
    const double least = *std::min_element(computed.begin(), computed.end());
    SetStopband(0, QStringLiteral("2250"), QString::number(least - 0.05, 'f', 2));
    const int listed = window.ResultsView()->model()->rowCount();
    int expectedRows = 0;
    for (const double a : computed) expectedRows += std::min(0.9 * a, 30.0) >= least - 0.05 ? 1 : 0;
    EXPECT_EQ(listed, expectedRows);
    EXPECT_LT(listed, static_cast<int>(computed.size()))
        << "the part computing the least is judged 10 % lower";

    SetStopband(0, QStringLiteral("2250"), QStringLiteral("45"));
    EXPECT_EQ(window.ResultsView()->model()->rowCount(), 0) << "45 dBc is beyond the 30 dBc guaranteed";
    EXPECT_EQ(window.SummaryLabel()->text(), QStringLiteral("No standard part meets the requirement."));
}

}  // namespace
}  // namespace veltrix
