#pragma once

#include <QWidget>
#include <optional>

#include "finder/finder.h"

class QCheckBox;
class QComboBox;
class QFormLayout;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QStandardItemModel;
class QTableView;
class QTableWidget;

namespace veltrix {

struct Program;

// "Find Parts": the engineer states a requirement and sees every standard part that meets it,
// best first, and why the other combinations do not. Choosing a part puts it into the
// specification screen.
class FindPartsWindow : public QWidget {
    Q_OBJECT
  public:
    explicit FindPartsWindow(Program& program, QWidget* parent = nullptr);

    // The requirement as the entries state it, read like the specification screen's entries.
    FinderRequirement Requirement() const;
    // Searches again for what the entries state and fills both tables.
    void Search();
    // Searches for a requirement that need not come from the entries (it may allow any profile or
    // mounting the finder knows) and fills both tables.
    void SearchFor(const FinderRequirement& requirement);
    // Puts the part of the results row into the specification screen.
    void ChooseRow(int row);

    // The specification screen's records of the parts marked in the results, best first; the
    // current row's part when none is marked.
    std::vector<FilterSpec> MarkedParts() const;
    // "Co&mpare": the marked parts into "Compare Parts", with the stopband points as its limits.
    void onCompare();
    // "E&xport Datasheet...": the current row's part, as Enter would put it on the screen.
    void onExportDatasheet();

    const FinderResults& Results() const { return results_; }

    QLineEdit* CentreFrequencyEdit() const { return centreFrequencyEdit_; }
    QLineEdit* BandwidthEdit() const { return bandwidthEdit_; }
    QComboBox* PassbandDefinitionBox() const { return passbandDefinitionBox_; }
    QLineEdit* MaxInsertionLossEdit() const { return maxInsertionLossEdit_; }
    QTableWidget* StopbandTable() const { return stopbandTable_; }
    QCheckBox* DropInCheck() const { return dropInCheck_; }
    QCheckBox* TabCheck() const { return tabCheck_; }
    QCheckBox* OrbisCheck() const { return orbisCheck_; }
    QCheckBox* Profile4Check() const { return profile4Check_; }
    QCheckBox* Profile6Check() const { return profile6Check_; }
    QCheckBox* DielectricDLCheck() const { return dielectricDLCheck_; }
    QCheckBox* DielectricDRCheck() const { return dielectricDRCheck_; }
    QCheckBox* DielectricDHCheck() const { return dielectricDHCheck_; }
    QLabel* SummaryLabel() const { return summaryLabel_; }
    QTableView* ResultsView() const { return resultsView_; }
    QPushButton* CompareButton() const { return compareButton_; }
    QPushButton* ExportDatasheetButton() const { return exportDatasheetButton_; }
    QTableWidget* MissesTable() const { return missesTable_; }

  private:
    void BuildControls();
    QFormLayout* BuildRequirementFields(QGroupBox* requirement);
    QLabel* BuildStopbandPoints(QGroupBox* requirement);
    QGridLayout* BuildChoiceChecks(QGroupBox* requirement);
    void LayOutRequirement(QGroupBox* requirement, QFormLayout* form, QGridLayout* choices,
                           QLabel* stopLabel);
    QHBoxLayout* BuildResults();
    QLabel* BuildMisses();
    void LayOutWindow(QGroupBox* requirement, QHBoxLayout* partsRow, QLabel* missesLabel);
    void ConnectControls();
    void KeepOneBlankStopbandRow();
    void FillResults();
    void FillMisses();
    // The specification screen's record of the results row's part, as Enter chooses it.
    std::optional<FilterSpec> RowChoice(int row) const;

    Program& program_;
    FinderRequirement requirement_;
    FinderResults results_;
    QStandardItemModel* resultsModel_ = nullptr;
    QLineEdit* centreFrequencyEdit_ = nullptr;
    QLineEdit* bandwidthEdit_ = nullptr;
    QComboBox* passbandDefinitionBox_ = nullptr;
    QLineEdit* maxInsertionLossEdit_ = nullptr;
    QTableWidget* stopbandTable_ = nullptr;
    QCheckBox* dropInCheck_ = nullptr;
    QCheckBox* tabCheck_ = nullptr;
    QCheckBox* orbisCheck_ = nullptr;
    QCheckBox* profile4Check_ = nullptr;
    QCheckBox* profile6Check_ = nullptr;
    QCheckBox* dielectricDLCheck_ = nullptr;
    QCheckBox* dielectricDRCheck_ = nullptr;
    QCheckBox* dielectricDHCheck_ = nullptr;
    QLabel* summaryLabel_ = nullptr;
    QTableView* resultsView_ = nullptr;
    QTableWidget* missesTable_ = nullptr;
    QPushButton* compareButton_ = nullptr;
    QPushButton* exportDatasheetButton_ = nullptr;
};

}  // namespace veltrix
