#include "finder_window/finder_window.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QStandardItemModel>
#include <QTableView>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <string>

#include "engine/filter_spec.h"
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

QString ProfileName(int32_t profile) { return ChoiceText(ProfileLabel(profile)); }
QString DielectricName(char dielectric) { return ChoiceText(DielectricLabel(dielectric)); }
QString MountingName(char mounting) { return ChoiceText(MountingLabel(mounting)); }

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
        menu.setObjectName(QStringLiteral("SortMenu"));
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
        for (const auto& [caption, choice] : {std::pair{QStringLiteral("&Ascending"), Qt::AscendingOrder},
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

TFindParts::TFindParts(Program& program, QWidget* parent) : QWidget(parent), program_(program) {
    setWindowTitle(QStringLiteral("Find Parts"));
    BuildControls();
    Search();
}

void TFindParts::BuildControls() {
    auto* requirement = new QGroupBox(QStringLiteral("Requirement"), this);
    F0Edit = new QLineEdit(QStringLiteral("1000"), requirement);
    F0Edit->setObjectName(QStringLiteral("F0Edit"));
    BWEdit = new QLineEdit(QStringLiteral("20"), requirement);
    BWEdit->setObjectName(QStringLiteral("BWEdit"));
    PBDCBox = new QComboBox(requirement);
    PBDCBox->setObjectName(QStringLiteral("PBDCBox"));
    PBDCBox->addItems(ListItemsOf<PassbandChoice>());
    PBDCBox->setCurrentIndex(IndexOf(PassbandChoice::Db1_0));
    MaxILEdit = new QLineEdit(requirement);
    MaxILEdit->setObjectName(QStringLiteral("MaxILEdit"));
    MaxILEdit->setPlaceholderText(QStringLiteral("any"));
    for (QLineEdit* edit : {F0Edit, BWEdit, MaxILEdit}) edit->setMaximumWidth(90);

    auto* bandwidth = new QHBoxLayout;
    bandwidth->addWidget(BWEdit);
    bandwidth->addWidget(new QLabel(QStringLiteral("MHz at"), requirement));
    bandwidth->addWidget(PBDCBox);
    bandwidth->addStretch();
    auto* withUnit = [](QLineEdit* edit, const QString& unit, QWidget* parent) {
        auto* row = new QHBoxLayout;
        row->addWidget(edit);
        row->addWidget(new QLabel(unit, parent));
        row->addStretch();
        return row;
    }(F0Edit, QStringLiteral("MHz"), requirement);
    auto* maxIL = new QHBoxLayout;
    maxIL->addWidget(MaxILEdit);
    maxIL->addWidget(new QLabel(QStringLiteral("dB"), requirement));
    maxIL->addStretch();

    auto* form = new QFormLayout;
    auto* f0Label = new QLabel(QStringLiteral("C&entre frequency"), requirement);
    f0Label->setBuddy(F0Edit);
    form->addRow(f0Label, withUnit);
    auto* bwLabel = new QLabel(QStringLiteral("Minimum &bandwidth"), requirement);
    bwLabel->setBuddy(BWEdit);
    form->addRow(bwLabel, bandwidth);
    auto* ilLabel = new QLabel(QStringLiteral("Maximum &insertion loss"), requirement);
    ilLabel->setBuddy(MaxILEdit);
    form->addRow(ilLabel, maxIL);

    StopbandTable = new QTableWidget(0, 2, requirement);
    StopbandTable->setObjectName(QStringLiteral("StopbandTable"));
    StopbandTable->setHorizontalHeaderLabels({QStringLiteral("Frequency (MHz)"), QStringLiteral("Minimum (dBc)")});
    StopbandTable->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    StopbandTable->verticalHeader()->setVisible(false);
    StopbandTable->setTabKeyNavigation(false);
    StopbandTable->setMinimumHeight(80);
    KeepOneBlankStopbandRow();
    auto* stopLabel = new QLabel(QStringLiteral("S&topband points"), requirement);
    stopLabel->setBuddy(StopbandTable);

    DropInCheck = Check(WithMnemonic(MountingStyle::DropIn, 0), "DropInCheck", requirement);
    TabCheck = Check(WithMnemonic(MountingStyle::SurfaceTab, 17), "TabCheck", requirement);
    OrbisCheck = Check(WithMnemonic(MountingStyle::Orbis, 0), "OrbisCheck", requirement);
    Profile4Check = Check(WithMnemonic(ResonatorProfile::Mm4, 0), "Profile4Check", requirement);
    Profile6Check = Check(WithMnemonic(ResonatorProfile::Mm6, 0), "Profile6Check", requirement);
    DLCheck = Check(WithMnemonic(DielectricMaterial::DL, 1), "DLCheck", requirement);
    DRCheck = Check(WithMnemonic(DielectricMaterial::DR, 1), "DRCheck", requirement);
    DHCheck = Check(WithMnemonic(DielectricMaterial::DH, 3), "DHCheck", requirement);
    auto* choices = new QGridLayout;
    choices->addWidget(new QLabel(QStringLiteral("Mounting:"), requirement), 0, 0);
    choices->addWidget(DropInCheck, 0, 1);
    choices->addWidget(TabCheck, 0, 2);
    choices->addWidget(OrbisCheck, 0, 3);
    choices->addWidget(new QLabel(QStringLiteral("Profile:"), requirement), 1, 0);
    choices->addWidget(Profile4Check, 1, 1);
    choices->addWidget(Profile6Check, 1, 2);
    choices->addWidget(new QLabel(QStringLiteral("Dielectric:"), requirement), 2, 0);
    choices->addWidget(DLCheck, 2, 1);
    choices->addWidget(DRCheck, 2, 2);
    choices->addWidget(DHCheck, 2, 3);

    auto* left = new QVBoxLayout;
    left->addLayout(form);
    left->addLayout(choices);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(stopLabel);
    right->addWidget(StopbandTable);
    auto* requirementLayout = new QHBoxLayout(requirement);
    requirementLayout->addLayout(left, 3);
    requirementLayout->addLayout(right, 2);

    SummaryLabel = new QLabel(this);
    SummaryLabel->setObjectName(QStringLiteral("SummaryLabel"));
    resultsModel_ = new QStandardItemModel(this);
    resultsModel_->setSortRole(Qt::UserRole);
    ResultsView = new QTableView(this);
    ResultsView->setObjectName(QStringLiteral("ResultsView"));
    ResultsView->setModel(resultsModel_);
    ResultsView->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);
    ResultsView->setSortingEnabled(true);
    ResultsView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ResultsView->setSelectionMode(QAbstractItemView::SingleSelection);
    ResultsView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ResultsView->setTabKeyNavigation(false);
    ResultsView->verticalHeader()->setVisible(false);
    ResultsView->horizontalHeader()->setStretchLastSection(true);
    ResultsView->setAccessibleName(QStringLiteral("Standard parts that meet the requirement"));
    auto* partsLabel = new QLabel(QStringLiteral("Standard &parts (Enter or double-click puts a part on the "
                                                 "specification screen)"),
                                  this);
    partsLabel->setBuddy(ResultsView);

    MissesTable = new QTableWidget(0, 5, this);
    MissesTable->setObjectName(QStringLiteral("MissesTable"));
    MissesTable->setHorizontalHeaderLabels({QStringLiteral("Sections"), QStringLiteral("Profile"),
                                            QStringLiteral("Dielectric"), QStringLiteral("Mounting"),
                                            QStringLiteral("Why not")});
    MissesTable->horizontalHeader()->setStretchLastSection(true);
    MissesTable->verticalHeader()->setVisible(false);
    MissesTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    MissesTable->setTabKeyNavigation(false);
    MissesTable->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    MissesTable->setSortingEnabled(true);
    new SortMenu(ResultsView);
    new SortMenu(MissesTable);
    auto* missesLabel = new QLabel(QStringLiteral("Combinations that do not &meet it"), this);
    missesLabel->setBuddy(MissesTable);

    for (QTableView* table : {static_cast<QTableView*>(StopbandTable), ResultsView,
                              static_cast<QTableView*>(MissesTable)})
        table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);

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
    layout->addWidget(SummaryLabel);
    layout->addWidget(partsLabel);
    layout->addWidget(ResultsView, 3);
    layout->addWidget(missesLabel);
    layout->addWidget(MissesTable, 2);
    scroll->setWidget(content);

    for (QLineEdit* edit : {F0Edit, BWEdit, MaxILEdit}) connect(edit, &QLineEdit::textChanged, this, &TFindParts::Search);
    connect(PBDCBox, &QComboBox::currentIndexChanged, this, &TFindParts::Search);
    for (QCheckBox* box : {DropInCheck, TabCheck, OrbisCheck, Profile4Check, Profile6Check, DLCheck, DRCheck, DHCheck})
        connect(box, &QCheckBox::toggled, this, &TFindParts::Search);
    connect(StopbandTable, &QTableWidget::cellChanged, this, [this] {
        KeepOneBlankStopbandRow();
        Search();
    });
    connect(ResultsView, &QTableView::activated, this,
            [this](const QModelIndex& index) { ChooseRow(index.row()); });
}

void TFindParts::KeepOneBlankStopbandRow() {
    const auto blank = [this](int row) {
        for (int column = 0; column < 2; ++column) {
            const QTableWidgetItem* item = StopbandTable->item(row, column);
            if (item != nullptr && !item->text().trimmed().isEmpty()) return false;
        }
        return true;
    };
    const QSignalBlocker block(StopbandTable);
    // Rows emptied by the engineer go; one blank row stays at the end for the next point.
    for (int row = StopbandTable->rowCount() - 2; row >= 0; --row)
        if (blank(row)) StopbandTable->removeRow(row);
    if (StopbandTable->rowCount() == 0 || !blank(StopbandTable->rowCount() - 1))
        StopbandTable->insertRow(StopbandTable->rowCount());
}

FinderRequirement TFindParts::Requirement() const {
    FinderRequirement requirement;
    requirement.F0 = NormaliseCentreFrequency(Read(F0Edit->text()));
    requirement.BW = NormaliseBandwidth(Read(BWEdit->text()));
    requirement.PassbandIndex = PBDCBox->currentIndex();
    if (!MaxILEdit->text().trimmed().isEmpty()) requirement.MaxInsertionLossDb = Read(MaxILEdit->text());
    for (int row = 0; row < StopbandTable->rowCount(); ++row) {
        const QTableWidgetItem* frequency = StopbandTable->item(row, 0);
        const QTableWidgetItem* minimum = StopbandTable->item(row, 1);
        const double f = frequency ? NormaliseStopband(Read(frequency->text())) : 0.0;
        // A stopband frequency of 0 is no point, as on the specification screen.
        if (f == 0.0) continue;
        requirement.Stopbands.push_back({f, minimum ? Read(minimum->text()) : 0.0});
    }
    requirement.Mountings.clear();
    if (DropInCheck->isChecked()) requirement.Mountings.push_back(CodeOf(MountingStyle::DropIn));
    if (TabCheck->isChecked()) requirement.Mountings.push_back(CodeOf(MountingStyle::SurfaceTab));
    if (OrbisCheck->isChecked()) requirement.Mountings.push_back(CodeOf(MountingStyle::Orbis));
    requirement.Profiles.clear();
    if (Profile4Check->isChecked()) requirement.Profiles.push_back(ProfileNumber(ResonatorProfile::Mm4));
    if (Profile6Check->isChecked()) requirement.Profiles.push_back(ProfileNumber(ResonatorProfile::Mm6));
    requirement.Dielectrics.clear();
    if (DLCheck->isChecked()) requirement.Dielectrics.push_back(CodeOf(DielectricMaterial::DL));
    if (DRCheck->isChecked()) requirement.Dielectrics.push_back(CodeOf(DielectricMaterial::DR));
    if (DHCheck->isChecked()) requirement.Dielectrics.push_back(CodeOf(DielectricMaterial::DH));
    return requirement;
}

void TFindParts::Search() { SearchFor(Requirement()); }

void TFindParts::SearchFor(const FinderRequirement& requirement) {
    requirement_ = requirement;
    results_ = FindParts(requirement_);
    FillResults();
    FillMisses();
    const auto count = results_.Parts.size();
    SummaryLabel->setText(count == 0 ? QStringLiteral("No standard part meets the requirement.")
                          : count == 1 ? QStringLiteral("1 standard part meets the requirement.")
                                       : QStringLiteral("%1 standard parts meet the requirement.").arg(count));
}

void TFindParts::FillResults() {
    const int sortColumn = ResultsView->horizontalHeader()->sortIndicatorSection();
    const Qt::SortOrder sortOrder = ResultsView->horizontalHeader()->sortIndicatorOrder();
    resultsModel_->clear();
    QStringList headers{QStringLiteral("#"),        QStringLiteral("Part number"), QStringLiteral("IL (dB)"),
                        QStringLiteral("Sections"), QStringLiteral("Profile"),     QStringLiteral("Dielectric"),
                        QStringLiteral("Mounting")};
    for (const StopbandRequirement& point : requirement_.Stopbands)
        headers << QStringLiteral("At %1 MHz (dBc)").arg(Format("%.2f", point.FrequencyMhz));
    resultsModel_->setHorizontalHeaderLabels(headers);

    for (std::size_t rank = 0; rank < results_.Parts.size(); ++rank) {
        const FoundPart& part = results_.Parts[rank];
        QList<QStandardItem*> row{
            Cell(QString::number(rank + 1), static_cast<double>(rank)),
            Cell(QString::fromStdString(part.PartNumber), static_cast<double>(rank)),
            Cell(Format("%.2f", part.InsertionLossDb), part.InsertionLossDb),
            Cell(QString::number(part.Sections), part.Sections),
            Cell(ProfileName(part.Profile), part.Profile),
            Cell(DielectricName(part.Dielectric), DielectricIndex(part.Dielectric)),
            Cell(MountingName(part.Mounting), part.Mounting)};
        row[1]->setData(QString::fromStdString(part.PartNumber), Qt::UserRole);
        // The guaranteed figure is the one judged; the computed one follows it.
        for (const StopbandResult& point : part.Stopbands) {
            row << Cell(Format("%.1f", point.GuaranteedDbc) + QStringLiteral(" guaranteed (") +
                            Format("%+.1f", point.MarginDb) + QStringLiteral("; computed ") +
                            Format("%.1f", point.AttenuationDbc) + QLatin1Char(')'),
                        point.GuaranteedDbc);
            row.back()->setToolTip(row.back()->text());
        }
        row[0]->setData(static_cast<int>(rank), kRankRole);
        resultsModel_->appendRow(row);
    }
    ResultsView->sortByColumn(sortColumn < resultsModel_->columnCount() ? sortColumn : 0, sortOrder);
    ResultsView->resizeColumnsToContents();
    if (resultsModel_->rowCount() > 0) ResultsView->setCurrentIndex(resultsModel_->index(0, 1));
}

void TFindParts::FillMisses() {
    MissesTable->setSortingEnabled(false);
    MissesTable->setRowCount(static_cast<int>(results_.Misses.size()));
    for (int row = 0; row < static_cast<int>(results_.Misses.size()); ++row) {
        const FinderMiss& miss = results_.Misses[static_cast<std::size_t>(row)];
        const QString cells[] = {QString::number(miss.Sections), ProfileName(miss.Profile),
                                 DielectricName(miss.Dielectric), MountingName(miss.Mounting),
                                 QString::fromStdString(miss.Reason)};
        for (int column = 0; column < 5; ++column) {
            auto* item = new QTableWidgetItem(cells[column]);
            // A long reason is cut short in its cell; the tip shows it whole.
            if (column == 4) item->setToolTip(cells[column]);
            MissesTable->setItem(row, column, item);
        }
    }
    MissesTable->setSortingEnabled(true);
    MissesTable->resizeColumnsToContents();
    MissesTable->horizontalHeader()->setStretchLastSection(true);
}

void TFindParts::ChooseRow(int row) {
    if (row < 0 || row >= resultsModel_->rowCount()) return;
    const int rank = resultsModel_->item(row, 0)->data(kRankRole).toInt();
    if (rank < 0 || rank >= static_cast<int>(results_.Parts.size())) return;
    const FoundPart& part = results_.Parts[static_cast<std::size_t>(rank)];
    FilterSpec choice = FinderSpec(requirement_, part.Sections, part.Profile, part.Dielectric, part.Mounting);
    // The screen has two stopband points: the first two of the requirement.
    choice.F1 = requirement_.Stopbands.size() > 0 ? requirement_.Stopbands[0].FrequencyMhz : 0.0;
    choice.F2 = requirement_.Stopbands.size() > 1 ? requirement_.Stopbands[1].FrequencyMhz : 0.0;
    if (program_.Hub) program_.Hub->ShowChoice(choice);
}

}  // namespace veltrix
