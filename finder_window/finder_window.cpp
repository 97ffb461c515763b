#include "finder_window/finder_window.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "engine/filter_spec.h"
#include "platform/accessible.h"
#include "program/choice_text.h"
#include "program/program.h"

namespace veltrix {

namespace {

constexpr int kRankRole = Qt::UserRole + 1;

QString Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return QString::fromLatin1(text);
}

double Read(const QString& text) { return ReadDecimal(text.toStdString()); }

QString ProfileName(ResonatorProfile profile) { return LabelOf(profile); }
QString DielectricName(DielectricMaterial dielectric) { return LabelOf(dielectric); }
QString MountingName(MountingStyle mounting) { return LabelOf(mounting); }

// A choice's name with its mnemonic before the character at `at`: this window's own keys.
template <typename E>
QString WithMnemonic(E choice, int at) {
    QString text = LabelOf(choice);
    text.insert(at, QLatin1Char('&'));
    return text;
}

// The choices of a click on a table's header, for the keyboard: the Menu key or Shift+F10 on the
// table opens them, as does a right click on the header.
class SortMenu : public QObject {
  public:
    explicit SortMenu(QTableView* table) : QObject(table), table_(table) {
        table->installEventFilter(this);
        QHeaderView* header = table->horizontalHeader();
        header->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(header, &QWidget::customContextMenuRequested, this,
                [this, header](const QPoint& at) { Open(header->mapToGlobal(at)); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != table_) return false;
        if (event->type() == QEvent::ContextMenu) {
            if (static_cast<QContextMenuEvent*>(event)->reason() != QContextMenuEvent::Keyboard) return false;
        } else if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier) return false;
        } else {
            return false;
        }
        const QModelIndex current = table_->currentIndex();
        const QPoint at = current.isValid() ? table_->visualRect(current).bottomLeft() : QPoint(0, 0);
        Open(table_->viewport()->mapToGlobal(at));
        return true;
    }

  private:
    void Open(const QPoint& at) {
        const QAbstractItemModel* model = table_->model();
        QHeaderView* header = table_->horizontalHeader();
        const int sorted = header->sortIndicatorSection();
        const Qt::SortOrder order = header->sortIndicatorOrder();
        QMenu menu(table_);
        auto* columns = new QActionGroup(&menu);
        for (int column = 0; column < model->columnCount(); ++column) {
            const QString name = model->headerData(column, Qt::Horizontal).toString();
            QAction* item = menu.addAction(QStringLiteral("Sort by %1").arg(name));
            item->setCheckable(true);
            item->setChecked(column == sorted);
            columns->addAction(item);
            connect(item, &QAction::triggered, table_, [this, column, order, sorted] {
                table_->sortByColumn(column, sorted >= 0 ? order : Qt::AscendingOrder);
            });
        }
        menu.addSeparator();
        auto* orders = new QActionGroup(&menu);
        for (const auto& [caption, choice] :
             {std::pair{QStringLiteral("&Ascending"), Qt::AscendingOrder},
              std::pair{QStringLiteral("&Descending"), Qt::DescendingOrder}}) {
            QAction* item = menu.addAction(caption);
            item->setCheckable(true);
            item->setChecked(sorted >= 0 && order == choice);
            item->setEnabled(sorted >= 0);
            orders->addAction(item);
            connect(item, &QAction::triggered, table_,
                    [this, sorted, choice = choice] { table_->sortByColumn(sorted, choice); });
        }
        if (!menu.actions().isEmpty()) menu.setActiveAction(menu.actions().value(std::max(sorted, 0)));
        menu.exec(at);
    }

    QTableView* table_;
};

// The results, where several parts can be marked: Ctrl or Shift with the mouse, Space from the keyboard
// on the current row. As in a file manager's list, the arrow keys move the current row and leave the
// marks alone; Shift with them still marks the rows passed over.
class MarkingTableView : public QTableView {
  public:
    using QTableView::QTableView;

  protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override {
        if (event != nullptr && event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<const QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space) return QItemSelectionModel::Toggle | QItemSelectionModel::Rows;
            if (!key->modifiers().testFlag(Qt::ShiftModifier)) return QItemSelectionModel::NoUpdate;
        }
        return QTableView::selectionCommand(index, event);
    }
};

// A table cell that shows its text and sorts by its value.
QStandardItem* Cell(const QString& text, double sortValue) {
    auto* item = new QStandardItem(text);
    item->setData(sortValue, Qt::UserRole);
    item->setEditable(false);
    return item;
}

QCheckBox* Check(const QString& text, const char* name, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setChecked(true);
    return box;
}

}  // namespace

FindPartsWindow::FindPartsWindow(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setWindowTitle(QStringLiteral("Find Parts"));
    BuildControls();
    Search();
}

void FindPartsWindow::BuildControls() {
    auto* requirement = new QGroupBox(QStringLiteral("Requirement"), this);
    QFormLayout* fields = BuildRequirementFields(requirement);
    QLabel* stopLabel = BuildStopbandPoints(requirement);
    QGridLayout* choices = BuildChoiceChecks(requirement);
    LayOutRequirement(requirement, fields, choices, stopLabel);
    QHBoxLayout* partsRow = BuildResults();
    QLabel* missesLabel = BuildMisses();
    for (QTableView* table :
         {static_cast<QTableView*>(stopbandTable_), resultsView_, static_cast<QTableView*>(missesTable_)})
        table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    LayOutWindow(requirement, partsRow, missesLabel);
    ConnectControls();
}

// The centre frequency, the bandwidth with its definition and the highest insertion loss.
QFormLayout* FindPartsWindow::BuildRequirementFields(QGroupBox* requirement) {
    centreFrequencyEdit_ = new QLineEdit(QStringLiteral("1000"), requirement);
    centreFrequencyEdit_->setObjectName(QStringLiteral("centre_frequency"));
    bandwidthEdit_ = new QLineEdit(QStringLiteral("20"), requirement);
    bandwidthEdit_->setObjectName(QStringLiteral("bandwidth"));
    passbandDefinitionBox_ = new QComboBox(requirement);
    passbandDefinitionBox_->setObjectName(QStringLiteral("passband_definition"));
    passbandDefinitionBox_->addItems(ListItemsOf<PassbandChoice>());
    passbandDefinitionBox_->setCurrentIndex(IndexOf(PassbandChoice::Db1_0));
    NameList(passbandDefinitionBox_, QStringLiteral("Passband definition"));
    maxInsertionLossEdit_ = new QLineEdit(requirement);
    maxInsertionLossEdit_->setObjectName(QStringLiteral("max_insertion_loss"));
    maxInsertionLossEdit_->setPlaceholderText(QStringLiteral("any"));
    for (QLineEdit* edit : {centreFrequencyEdit_, bandwidthEdit_, maxInsertionLossEdit_})
        edit->setMaximumWidth(90);

    auto* bandwidth = new QHBoxLayout;
    bandwidth->addWidget(bandwidthEdit_);
    bandwidth->addWidget(new QLabel(QStringLiteral("MHz at"), requirement));
    bandwidth->addWidget(passbandDefinitionBox_);
    bandwidth->addStretch();
    auto* withUnit = [](QLineEdit* edit, const QString& unit, QWidget* parent) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(new QLabel(unit, parent));
        row->addStretch();
        return row;
    }(centreFrequencyEdit_, QStringLiteral("MHz"), requirement);
    auto* maxIL = new QHBoxLayout;
    maxIL->addWidget(maxInsertionLossEdit_);
    maxIL->addWidget(new QLabel(QStringLiteral("dB"), requirement));
    maxIL->addStretch();

    auto* form = new QFormLayout;
    auto* f0Label = new QLabel(QStringLiteral("C&entre frequency"), requirement);
    f0Label->setBuddy(centreFrequencyEdit_);
    form->addRow(f0Label, withUnit);
    auto* bwLabel = new QLabel(QStringLiteral("Minimum &bandwidth"), requirement);
    bwLabel->setBuddy(bandwidthEdit_);
    form->addRow(bwLabel, bandwidth);
    auto* ilLabel = new QLabel(QStringLiteral("Maximum &insertion loss"), requirement);
    ilLabel->setBuddy(maxInsertionLossEdit_);
    form->addRow(ilLabel, maxIL);
    return form;
}

// The stopband points, a table that keeps one blank row for the next; returns its label.
QLabel* FindPartsWindow::BuildStopbandPoints(QGroupBox* requirement) {
    stopbandTable_ = new QTableWidget(0, 2, requirement);
    stopbandTable_->setObjectName(QStringLiteral("stopband_points"));
    stopbandTable_->setHorizontalHeaderLabels(
        {QStringLiteral("Frequency (MHz)"), QStringLiteral("Minimum (dBc)")});
    stopbandTable_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    stopbandTable_->verticalHeader()->setVisible(false);
    stopbandTable_->setTabKeyNavigation(false);
    stopbandTable_->setMinimumHeight(80);
    KeepOneBlankStopbandRow();
    stopbandTable_->setAccessibleName(QStringLiteral("Stopband points"));
    auto* stopLabel = new QLabel(QStringLiteral("S&topband points"), requirement);
    stopLabel->setBuddy(stopbandTable_);
    return stopLabel;
}

// The mountings, profiles and dielectrics the search may use.
QGridLayout* FindPartsWindow::BuildChoiceChecks(QGroupBox* requirement) {
    dropInCheck_ = Check(WithMnemonic(MountingStyle::DropIn, 0), "DropInCheck", requirement);
    tabCheck_ = Check(WithMnemonic(MountingStyle::SurfaceTab, 17), "TabCheck", requirement);
    orbisCheck_ = Check(WithMnemonic(MountingStyle::Orbis, 0), "OrbisCheck", requirement);
    profile4Check_ = Check(WithMnemonic(ResonatorProfile::Mm4, 0), "Profile4Check", requirement);
    profile6Check_ = Check(WithMnemonic(ResonatorProfile::Mm6, 0), "Profile6Check", requirement);
    dielectricDLCheck_ = Check(WithMnemonic(DielectricMaterial::DL, 1), "DLCheck", requirement);
    dielectricDRCheck_ = Check(WithMnemonic(DielectricMaterial::DR, 1), "DRCheck", requirement);
    dielectricDHCheck_ = Check(WithMnemonic(DielectricMaterial::DH, 3), "DHCheck", requirement);
    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("Mounting:"), requirement), 0, 0);
    choices->addWidget(dropInCheck_, 0, 1);
    choices->addWidget(tabCheck_, 0, 2);
    choices->addWidget(orbisCheck_, 0, 3);
    choices->addWidget(new QLabel(QStringLiteral("Profile:"), requirement), 1, 0);
    choices->addWidget(profile4Check_, 1, 1);
    choices->addWidget(profile6Check_, 1, 2);
    choices->addWidget(new QLabel(QStringLiteral("Dielectric:"), requirement), 2, 0);
    choices->addWidget(dielectricDLCheck_, 2, 1);
    choices->addWidget(dielectricDRCheck_, 2, 2);
    choices->addWidget(dielectricDHCheck_, 2, 3);
    return choices;
}

void FindPartsWindow::LayOutRequirement(QGroupBox* requirement, QFormLayout* form, QGridLayout* choices,
                                        QLabel* stopLabel) {
    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(choices);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(stopLabel);
    right->addWidget(stopbandTable_);
    auto* requirementLayout = new QHBoxLayout(requirement);
    requirementLayout->addLayout(left, 3);
    requirementLayout->addLayout(right, 2);
}

// The summary, the parts found with the buttons that act on them; returns the row above the parts.
QHBoxLayout* FindPartsWindow::BuildResults() {
    summaryLabel_ = new QLabel(this);
    summaryLabel_->setObjectName(QStringLiteral("summary"));
    resultsModel_ = new QStandardItemModel(this);
    resultsModel_->setSortRole(Qt::UserRole);
    resultsView_ = new MarkingTableView(this);
    resultsView_->setObjectName(QStringLiteral("results"));
    resultsView_->setModel(resultsModel_);
    resultsView_->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    resultsView_->setSortingEnabled(true);
    resultsView_->setSelectionBehavior(QAbstractItemView::SelectRows);
    resultsView_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    resultsView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    resultsView_->setTabKeyNavigation(false);
    resultsView_->verticalHeader()->setVisible(false);
    resultsView_->horizontalHeader()->setStretchLastSection(true);
    resultsView_->setAccessibleName(QStringLiteral("Standard parts that meet the requirement"));
    auto* partsLabel = new QLabel(QStringLiteral("Standard &parts (Enter or double-click puts a part on the "
                                                 "specification screen)"),
                                  this);
    partsLabel->setBuddy(resultsView_);
    compareButton_ = new QPushButton(QStringLiteral("Co&mpare"), this);
    compareButton_->setObjectName(QStringLiteral("compare_button"));
    compareButton_->setToolTip(QStringLiteral(
        "Show the marked parts (Ctrl or Shift with the mouse, Space from the keyboard) on one graph"));
    exportDatasheetButton_ = new QPushButton(QStringLiteral("E&xport Datasheet..."), this);
    exportDatasheetButton_->setObjectName(QStringLiteral("export_datasheet_button"));
    exportDatasheetButton_->setToolTip(QStringLiteral("Write the current part's datasheet as a PDF"));
    // Outside a dialog only an auto-default button answers Enter.
    for (QPushButton* button : {compareButton_, exportDatasheetButton_}) button->setAutoDefault(true);
    auto* partsRow = new QHBoxLayout;
    partsRow->addWidget(partsLabel, 1);
    partsRow->addWidget(compareButton_);
    partsRow->addWidget(exportDatasheetButton_);
    return partsRow;
}

// The combinations that miss, each with why; returns the table's label.
QLabel* FindPartsWindow::BuildMisses() {
    missesTable_ = new QTableWidget(0, 5, this);
    missesTable_->setObjectName(QStringLiteral("misses"));
    missesTable_->setHorizontalHeaderLabels({QStringLiteral("Sections"), QStringLiteral("Profile"),
                                             QStringLiteral("Dielectric"), QStringLiteral("Mounting"),
                                             QStringLiteral("Why not")});
    missesTable_->horizontalHeader()->setStretchLastSection(true);
    missesTable_->verticalHeader()->setVisible(false);
    missesTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    missesTable_->setTabKeyNavigation(false);
    missesTable_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    missesTable_->setSortingEnabled(true);
    new SortMenu(resultsView_);
    new SortMenu(missesTable_);
    missesTable_->setAccessibleName(QStringLiteral("Combinations that do not meet the requirement"));
    auto* missesLabel = new QLabel(QStringLiteral("Combi&nations that do not meet it"), this);
    missesLabel->setBuddy(missesTable_);
    return missesLabel;
}

void FindPartsWindow::LayOutWindow(QGroupBox* requirement, QHBoxLayout* partsRow, QLabel* missesLabel) {
    // In a scroll area, so a small frame can still hold the window and the frame's own size never
    // depends on it.
    auto* content = new QWidget;
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);
    auto* layout = new QVBoxLayout(content);
    layout->addWidget(requirement);
    layout->addWidget(summaryLabel_);
    layout->addLayout(partsRow);
    layout->addWidget(resultsView_, 3);
    layout->addWidget(missesLabel);
    layout->addWidget(missesTable_, 2);
    scroll->setWidget(content);
}

// Every change of the requirement searches again; the buttons and Enter act on the parts.
void FindPartsWindow::ConnectControls() {
    for (QLineEdit* edit : {centreFrequencyEdit_, bandwidthEdit_, maxInsertionLossEdit_})
        connect(edit, &QLineEdit::textChanged, this, &FindPartsWindow::Search);
    connect(passbandDefinitionBox_, &QComboBox::currentIndexChanged, this, &FindPartsWindow::Search);
    for (QCheckBox* box : {dropInCheck_, tabCheck_, orbisCheck_, profile4Check_, profile6Check_,
                           dielectricDLCheck_, dielectricDRCheck_, dielectricDHCheck_})
        connect(box, &QCheckBox::toggled, this, &FindPartsWindow::Search);
    connect(stopbandTable_, &QTableWidget::cellChanged, this, [this] {
        KeepOneBlankStopbandRow();
        Search();
    });
    connect(compareButton_, &QPushButton::clicked, this, &FindPartsWindow::onCompare);
    connect(exportDatasheetButton_, &QPushButton::clicked, this, &FindPartsWindow::onExportDatasheet);
    connect(resultsView_, &QTableView::activated, this,
            [this](const QModelIndex& index) { ChooseRow(index.row()); });
}

void FindPartsWindow::KeepOneBlankStopbandRow() {
    const auto blank = [this](int row) {
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem* item = stopbandTable_->item(row, column);
            if (item != nullptr && !item->text().trimmed().isEmpty()) return false;
        }
        return true;
    };
    const QSignalBlocker block(stopbandTable_);
    // Rows emptied by the engineer go; one blank row stays at the end for the next point.
    for (int row = stopbandTable_->rowCount() - 2; row >= 0; --row)
        if (blank(row)) stopbandTable_->removeRow(row);
    if (stopbandTable_->rowCount() == 0 || !blank(stopbandTable_->rowCount() - 1))
        stopbandTable_->insertRow(stopbandTable_->rowCount());
}

FinderRequirement FindPartsWindow::Requirement() const {
    FinderRequirement requirement;
    requirement.F0 = NormaliseCentreFrequency(Read(centreFrequencyEdit_->text()));
    requirement.BW = NormaliseBandwidth(Read(bandwidthEdit_->text()));
    requirement.PassbandIndex = passbandDefinitionBox_->currentIndex();
    if (!maxInsertionLossEdit_->text().trimmed().isEmpty())
        requirement.MaxInsertionLossDb = Read(maxInsertionLossEdit_->text());
    for (int row = 0; row < stopbandTable_->rowCount(); ++row) {
        const QTableWidgetItem* frequency = stopbandTable_->item(row, 0);
        const QTableWidgetItem* minimum = stopbandTable_->item(row, 1);
        const double f = frequency ? NormaliseStopband(Read(frequency->text())) : 0.0;
        // A stopband frequency of 0 is no point, as on the specification screen.
        if (f == 0.0) continue;
        requirement.Stopbands.push_back({f, minimum ? Read(minimum->text()) : 0.0});
    }
    requirement.Mountings.clear();
    if (dropInCheck_->isChecked()) requirement.Mountings.push_back(MountingStyle::DropIn);
    if (tabCheck_->isChecked()) requirement.Mountings.push_back(MountingStyle::SurfaceTab);
    if (orbisCheck_->isChecked()) requirement.Mountings.push_back(MountingStyle::Orbis);
    requirement.Profiles.clear();
    if (profile4Check_->isChecked()) requirement.Profiles.push_back(ResonatorProfile::Mm4);
    if (profile6Check_->isChecked()) requirement.Profiles.push_back(ResonatorProfile::Mm6);
    requirement.Dielectrics.clear();
    if (dielectricDLCheck_->isChecked()) requirement.Dielectrics.push_back(DielectricMaterial::DL);
    if (dielectricDRCheck_->isChecked()) requirement.Dielectrics.push_back(DielectricMaterial::DR);
    if (dielectricDHCheck_->isChecked()) requirement.Dielectrics.push_back(DielectricMaterial::DH);
    return requirement;
}

void FindPartsWindow::Search() { SearchFor(Requirement()); }

void FindPartsWindow::SearchFor(const FinderRequirement& requirement) {
    requirement_ = requirement;
    results_ = FindParts(requirement_);
    FillResults();
    FillMisses();
    const auto count = results_.Parts.size();
    summaryLabel_->setText(count == 0 ? QStringLiteral("No standard part meets the requirement.")
                           : count == 1
                               ? QStringLiteral("1 standard part meets the requirement.")
                               : QStringLiteral("%1 standard parts meet the requirement.").arg(count));
}

void FindPartsWindow::FillResults() {
    const int sortColumn = resultsView_->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder sortOrder = resultsView_->horizontalHeader()->sortIndicatorOrder();
    resultsModel_->clear();
    QStringList headers{QStringLiteral("#"),       QStringLiteral("Part number"),
                        QStringLiteral("IL (dB)"), QStringLiteral("Sections"),
                        QStringLiteral("Profile"), QStringLiteral("Dielectric"),
                        QStringLiteral("Mounting")};
    for (const StopbandRequirement& point : requirement_.Stopbands)
        headers << QStringLiteral("At %1 MHz (dBc)").arg(Format("%.2f", point.FrequencyMhz));
    resultsModel_->setHorizontalHeaderLabels(headers);

    for (std::size_t rank = 0; rank < results_.Parts.size(); ++rank) {
        const FoundPart& part = results_.Parts[rank];
        QList<QStandardItem*> row{Cell(QString::number(rank + 1), static_cast<double>(rank)),
                                  Cell(QString::fromStdString(part.PartNumber), static_cast<double>(rank)),
                                  Cell(Format("%.2f", part.InsertionLossDb), part.InsertionLossDb),
                                  Cell(QString::number(part.Sections), part.Sections),
                                  Cell(ProfileName(part.Profile), IndexOf(part.Profile)),
                                  Cell(DielectricName(part.Dielectric), IndexOf(part.Dielectric)),
                                  Cell(MountingName(part.Mounting), IndexOf(part.Mounting))};
        row[1]->setData(QString::fromStdString(part.PartNumber), Qt::UserRole);
        row[2]->setToolTip(Format("%.2f", part.WorstCaseInsertionLossDb) +
                           QStringLiteral(" dB worst case (") + Format("%.2f", part.InsertionLossDb) +
                           QStringLiteral(" computed)"));
        // The worst case is the figure judged; the computed one follows it.
        for (const StopbandResult& point : part.Stopbands) {
            row << Cell(Format("%.1f", point.WorstCaseDbc) + QStringLiteral(" dBc worst case (") +
                            Format("%.1f", point.AttenuationDbc) + QStringLiteral(" computed), ") +
                            Format("%+.1f", point.MarginDb) + QStringLiteral(" dB"),
                        point.WorstCaseDbc);
            row.back()->setToolTip(row.back()->text());
        }
        row[0]->setData(static_cast<int>(rank), kRankRole);
        resultsModel_->appendRow(row);
    }
    resultsView_->sortByColumn(sortColumn < resultsModel_->columnCount() ? sortColumn : 0, sortOrder);
    resultsView_->resizeColumnsToContents();
    // The first part is current but not marked: Space marks it.
    if (resultsModel_->rowCount() > 0)
        resultsView_->selectionModel()->setCurrentIndex(resultsModel_->index(0, 1),
                                                        QItemSelectionModel::NoUpdate);
    exportDatasheetButton_->setEnabled(resultsModel_->rowCount() > 0);
}

void FindPartsWindow::FillMisses() {
    missesTable_->setSortingEnabled(false);
    missesTable_->setRowCount(static_cast<int>(results_.Misses.size()));
    for (int row = 0; row < static_cast<int>(results_.Misses.size()); ++row) {
        const FinderMiss& miss = results_.Misses[static_cast<std::size_t>(row)];
        const QString cells[] = {QString::number(miss.Sections), ProfileName(miss.Profile),
                                 DielectricName(miss.Dielectric), MountingName(miss.Mounting),
                                 QString::fromStdString(miss.Reason)};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // A long reason is cut short in its cell; the tip shows it whole.
            if (column == 4) item->setToolTip(cells[column]);
            missesTable_->setItem(row, column, item);
        }
    }
    missesTable_->setSortingEnabled(true);
    missesTable_->resizeColumnsToContents();
    missesTable_->horizontalHeader()->setStretchLastSection(true);
}

std::vector<FilterSpec> FindPartsWindow::MarkedParts() const {
    std::vector<int> ranks;
    for (const QModelIndex& index : resultsView_->selectionModel()->selectedRows(0))
        ranks.push_back(resultsModel_->item(index.row(), 0)->data(kRankRole).toInt());
    const QModelIndex current = resultsView_->currentIndex();
    if (ranks.empty() && current.isValid())
        ranks.push_back(resultsModel_->item(current.row(), 0)->data(kRankRole).toInt());
    std::sort(ranks.begin(), ranks.end());
    std::vector<FilterSpec> parts;
    for (const int rank : ranks) {
        if (rank < 0 || rank >= static_cast<int>(results_.Parts.size())) continue;
        const FoundPart& part = results_.Parts[static_cast<std::size_t>(rank)];
        parts.push_back(
            FinderSpec(requirement_, part.Sections, part.Profile, part.Dielectric, part.Mounting));
    }
    return parts;
}

void FindPartsWindow::onCompare() {
    if (program_.Hub) program_.Hub->CompareParts(MarkedParts(), requirement_);
}

std::optional<FilterSpec> FindPartsWindow::RowChoice(int row) const {
    if (row < 0 || row >= resultsModel_->rowCount()) return std::nullopt;
    const int rank = resultsModel_->item(row, 0)->data(kRankRole).toInt();
    if (rank < 0 || rank >= static_cast<int>(results_.Parts.size())) return std::nullopt;
    const FoundPart& part = results_.Parts[static_cast<std::size_t>(rank)];
    FilterSpec choice = FinderSpec(requirement_, part.Sections, part.Profile, part.Dielectric, part.Mounting);
    // The screen has two stopband points: the first two of the requirement.
    choice.F1 = requirement_.Stopbands.size() > 0 ? requirement_.Stopbands[0].FrequencyMhz : 0.0;
    choice.F2 = requirement_.Stopbands.size() > 1 ? requirement_.Stopbands[1].FrequencyMhz : 0.0;
    return choice;
}

void FindPartsWindow::ChooseRow(int row) {
    const std::optional<FilterSpec> choice = RowChoice(row);
    if (choice && program_.Hub) program_.Hub->ShowChoice(*choice);
}

void FindPartsWindow::onExportDatasheet() {
    const std::optional<FilterSpec> choice = RowChoice(resultsView_->currentIndex().row());
    // The sheet carries the whole requirement: every point with its level and the highest loss.
    if (choice && program_.Hub) program_.Hub->ExportDatasheet(*choice, &requirement_);
}

}  // namespace veltrix
