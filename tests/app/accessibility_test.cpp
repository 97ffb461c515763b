// What a screen reader finds in the running program, read through Qt's accessibility interfaces.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include "app/frame.h"
#include "compare_window/compare_window.h"
#include "finder_window/finder_window.h"
#include "info/info_windows.h"
#include "product_texts/contact_data.h"
#include "specification_window/specification_window.h"
#include "tests/app/shown_frame.h"

namespace veltrix {
namespace {

QAccessibleInterface* Accessible(QObject* object) {
    QAccessibleInterface* face = QAccessible::queryAccessibleInterface(object);
    EXPECT_NE(face, nullptr);
    return face;
}

QString Text(QAccessibleInterface* face, QAccessible::Text t) { return face ? face->text(t) : QString(); }

QAccessibleInterface* ChildNamed(QAccessibleInterface* parent, const QString& name) {
    for (int i = 0; parent != nullptr && i < parent->childCount(); ++i)
        if (QAccessibleInterface* child = parent->child(i); child && child->text(QAccessible::Name) == name)
            return child;
    return nullptr;
}

using AccessibilityTest = testing::ShownFrameTest;

TEST_F(AccessibilityTest, TheSpecificationFieldsAndListsAreNamedByTheirLabels) {
    QWidget* screen = frame_->Specification();
    const struct {
        const char* field;
        const char* name;
    } fields[] = {{"centre_frequency", "Center Frequency"},
                  {"bandwidth", "Bandwidth (minimum)"},
                  {"stopband_f1", "F1 Frequency"},
                  {"stopband_f2", "F2 Frequency"}};
    for (const auto& f : fields) {
        auto* edit = screen->findChild<QLineEdit*>(QString::fromLatin1(f.field));
        ASSERT_NE(edit, nullptr) << f.field;
        QAccessibleInterface* face = Accessible(edit);
        EXPECT_EQ(face->role(), QAccessible::EditableText) << f.field;
        EXPECT_EQ(Text(face, QAccessible::Name), QString::fromLatin1(f.name));
        EXPECT_EQ(Text(face, QAccessible::Value), edit->text()) << f.field;
    }
    const struct {
        const char* list;
        const char* name;
    } lists[] = {{"sections", "Number of Sections"},
                 {"passband_definition", "Passband Definition"},
                 {"profile", "Resonator Profile"},
                 {"dielectric", "Dielectric Constant"},
                 {"graph_width", "Graph Width"}};
    for (const auto& l : lists) {
        auto* box = screen->findChild<QComboBox*>(QString::fromLatin1(l.list));
        ASSERT_NE(box, nullptr) << l.list;
        QAccessibleInterface* face = Accessible(box);
        EXPECT_EQ(face->role(), QAccessible::ComboBox) << l.list;
        EXPECT_EQ(Text(face, QAccessible::Name), QString::fromLatin1(l.name));
        EXPECT_EQ(Text(face, QAccessible::Value), box->currentText()) << l.list;
        // The value follows the list; the name stays.
        box->setCurrentIndex((box->currentIndex() + 1) % box->count());
        EXPECT_EQ(Text(face, QAccessible::Value), box->currentText()) << l.list;
        EXPECT_EQ(Text(face, QAccessible::Name), QString::fromLatin1(l.name));
    }
}

TEST_F(AccessibilityTest, FinderTablesAreNamedAndContactLinksAreLinks) {
    testing::OpenFinderFor1500MHz(*frame_);
    FindPartsWindow* finder = frame_->FindParts();
    for (QTableView* table : {static_cast<QTableView*>(finder->StopbandTable()), finder->ResultsView(),
                              static_cast<QTableView*>(finder->MissesTable())}) {
        QAccessibleInterface* face = Accessible(table);
        EXPECT_EQ(face->role(), QAccessible::Table) << table->objectName().toStdString();
        EXPECT_FALSE(Text(face, QAccessible::Name).isEmpty()) << table->objectName().toStdString();
    }
    EXPECT_EQ(Text(Accessible(finder->MissesTable()), QAccessible::Name),
              QStringLiteral("Combinations that do not meet the requirement"));

    ContactPage* contact = frame_->ContactInformation();
    contact->show();
    for (QLabel* link : {static_cast<QLabel*>(contact->SalesEmailLink()),
                         static_cast<QLabel*>(contact->EuropeSalesEmailLink())}) {
        QAccessibleInterface* face = Accessible(link);
        EXPECT_EQ(face->role(), QAccessible::Link);
        EXPECT_EQ(Text(face, QAccessible::Name), link->text());
        EXPECT_TRUE(face->state().focusable);
        ASSERT_NE(face->actionInterface(), nullptr);
        EXPECT_TRUE(
            face->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
    }
    // The press action is the link's click.
    shell_.opened.clear();
    Accessible(contact->SalesEmailLink())
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(shell_.opened, QStringList{QString::fromLatin1(contact::kSalesMailto)});
}

TEST_F(AccessibilityTest, ComparePartsExposesItsLegendMarkerAndMarginsAndFollowsChanges) {
    FindPartsWindow* finder = testing::OpenFinderFor1500MHz(*frame_);
    QTableView* results = finder->ResultsView();
    ASSERT_GE(results->model()->rowCount(), 2);
    results->selectionModel()->select(results->model()->index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    results->selectionModel()->select(results->model()->index(1, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    finder->onCompare();
    CompareWindow* compare = frame_->Comparison();
    ASSERT_NE(compare, nullptr);
    ASSERT_EQ(compare->Parts().Parts().size(), 2u);

    QAccessibleInterface* pane = Accessible(compare);
    EXPECT_EQ(Text(pane, QAccessible::Name), QStringLiteral("Compare Parts"));
    QAccessibleInterface* legend = ChildNamed(pane, QStringLiteral("Parts"));
    ASSERT_NE(legend, nullptr) << "no legend among " << pane->childCount() << " children";
    EXPECT_EQ(legend->role(), QAccessible::List);
    ASSERT_EQ(legend->childCount(), 2);
    for (int i = 0; i < 2; ++i) {
        QAccessibleInterface* item = legend->child(i);
        EXPECT_EQ(item->role(), QAccessible::ListItem);
        EXPECT_EQ(item->parent(), legend);
        EXPECT_EQ(legend->indexOfChild(item), i);
        EXPECT_EQ(Text(item, QAccessible::Name), QString::fromStdString(compare->Parts().Curves()[i].Name));
    }
    compare->SelectPart(1);
    EXPECT_FALSE(legend->child(0)->state().selected);
    EXPECT_TRUE(legend->child(1)->state().selected);

    // The marker's frequency is its name and its table the description; both follow the marker.
    QAccessibleInterface* marker = nullptr;
    for (int i = 0; i < pane->childCount(); ++i)
        if (Text(pane->child(i), QAccessible::Name).startsWith(QStringLiteral("Marker ")))
            marker = pane->child(i);
    ASSERT_NE(marker, nullptr);
    const QString before = Text(marker, QAccessible::Name);
    const QString table = Text(marker, QAccessible::Description);
    EXPECT_TRUE(table.contains(QString::fromStdString(compare->Parts().Curves()[1].Name)))
        << table.toStdString();
    EXPECT_TRUE(table.contains(QStringLiteral(" dBc"))) << table.toStdString();
    compare->setFocus();
    QTest::keyClick(compare, Qt::Key_Right);
    EXPECT_NE(Text(marker, QAccessible::Name), before);

    // The verdict: each part's worst-case attenuation and margin at the required point.
    QAccessibleInterface* margins = ChildNamed(pane, QStringLiteral("Margins at the required points"));
    ASSERT_NE(margins, nullptr);
    const QStringList verdict = Text(margins, QAccessible::Description).split(QLatin1Char('\n'));
    ASSERT_EQ(verdict.size(), 3) << verdict.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(verdict[0], QStringLiteral("At 1400.00 MHz, 40.0 dBc required"));
    const StopbandResult first = compare->Parts().MarkerRows()[0].Margins[0];
    EXPECT_TRUE(verdict[1].endsWith(QString::asprintf("%+.1f dB", first.MarginDb)))
        << verdict[1].toStdString();

    // A part removed leaves the legend with one item.
    compare->SelectPart(0);
    compare->onRemovePart();
    EXPECT_EQ(legend->childCount(), 1);
    EXPECT_EQ(Text(legend->child(0), QAccessible::Name),
              QString::fromStdString(compare->Parts().Curves()[0].Name));
}

}  // namespace
}  // namespace veltrix
