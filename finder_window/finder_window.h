#pragma once

#include <QWidget>

#include "finder/finder.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QStandardItemModel;
class QTableView;
class QTableWidget;

namespace veltrix {

struct Program;

// "Find Parts": the engineer states a requirement and sees every standard part that meets it,
// best first, and why the other combinations do not. Choosing a part puts it into the
// specification screen.
class TFindParts : public QWidget {
    Q_OBJECT
  public:
    explicit TFindParts(Program& program, QWidget* parent = nullptr);

    // The requirement as the entries state it, read like the specification screen's entries.
    FinderRequirement Requirement() const;
    // Searches again for what the entries state and fills both tables.
    void Search();
    // Searches for a requirement that need not come from the entries (it may allow any profile or
    // mounting the finder knows) and fills both tables.
    void SearchFor(const FinderRequirement& requirement);
    // Puts the part of the results row into the specification screen.
    void ChooseRow(int row);

    const FinderResults& Results() const { return results_; }

    QLineEdit* F0Edit = nullptr;
    QLineEdit* BWEdit = nullptr;
    QComboBox* PBDCBox = nullptr;
    QLineEdit* MaxILEdit = nullptr;
    QTableWidget* StopbandTable = nullptr;
    QCheckBox* DropInCheck = nullptr;
    QCheckBox* TabCheck = nullptr;
    QCheckBox* OrbisCheck = nullptr;
    QCheckBox* Profile4Check = nullptr;
    QCheckBox* Profile6Check = nullptr;
    QCheckBox* DLCheck = nullptr;
    QCheckBox* DRCheck = nullptr;
    QCheckBox* DHCheck = nullptr;
    QLabel* SummaryLabel = nullptr;
    QTableView* ResultsView = nullptr;
    QTableWidget* MissesTable = nullptr;

  private:
    void BuildControls();
    void KeepOneBlankStopbandRow();
    void FillResults();
    void FillMisses();

    Program& program_;
    FinderRequirement requirement_;
    FinderResults results_;
    QStandardItemModel* resultsModel_ = nullptr;
};

}  // namespace veltrix
