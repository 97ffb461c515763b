#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <functional>

#include "specification_fixture.h"
#include "tests/support/menu_commands.h"

namespace veltrix::testing {
namespace {

using Calls = std::vector<FakeHub::Call>;

// ---- Creation ---------------------------------------------------------------------------------------

TEST_F(SelectTest, CreationSetsTheDefaultsTheUserSeesFirst) {
    const FilterSpec& s = program.Spec;
    EXPECT_EQ(s.F0, 1000.0);
    EXPECT_EQ(s.BWRequested, 20.0);
    EXPECT_EQ(s.Sections, 3);
    EXPECT_EQ(s.Profile, ResonatorProfile::Mm4);
    EXPECT_EQ(s.Dielectric, DielectricMaterial::DR);
    EXPECT_EQ(s.Mounting, MountingStyle::Orbis);
    EXPECT_EQ(s.GraphHalfSpan, 3.0);
    EXPECT_EQ(List("passband_definition")->currentText(), "1.0 dB");
    EXPECT_EQ(List("sections")->currentText(), "3");
    EXPECT_EQ(List("profile")->currentText(), "4 mm ");
    EXPECT_EQ(List("dielectric")->currentText(), "DR 37");
    EXPECT_EQ(List("graph_width")->currentText(), "6 * bandwidth");
    EXPECT_EQ(select->windowTitle(), "Specify Filter");
    EXPECT_EQ(select->size(), QSize(625, 406));
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(SelectTest, ControlsSitAtTheirPositionsInTabOrder) {
    const std::pair<const char*, QRect> layout[] = {{"centre_frequency", {86, 152, 50, 21}},
                                                    {"sections", {86, 194, 77, 21}},
                                                    {"bandwidth", {251, 152, 50, 21}},
                                                    {"passband_definition", {251, 194, 77, 21}},
                                                    {"profile", {86, 236, 77, 21}},
                                                    {"dielectric", {251, 236, 77, 21}},
                                                    {"stopband_f1", {148, 324, 50, 21}},
                                                    {"stopband_f2", {245, 324, 50, 21}},
                                                    {"graph_width", {472, 380, 102, 21}},
                                                    {"outline_drawing_button", {7, 375, 110, 25}},
                                                    {"tabular_data_button", {125, 375, 105, 25}},
                                                    {"tolerances_button", {238, 375, 106, 25}},
                                                    {"insertion_loss", {16, 266, 313, 16}},
                                                    {"stopband_f1_attenuation", {136, 348, 57, 16}},
                                                    {"stopband_f2_attenuation", {232, 348, 57, 16}},
                                                    {"logo", {43, 12, 225, 61}}};
    for (const auto& [name, rect] : layout) EXPECT_EQ(Child<QWidget>(name)->geometry(), rect) << name;
    EXPECT_EQ(Child<QPushButton>("outline_drawing_button")->text(), "&Outline Drawing");
    EXPECT_EQ(Child<QPushButton>("tabular_data_button")->text(), "&Tabular Data");
    EXPECT_EQ(LabelText("registered_mark"), QString(QChar(0x00AE)));
    EXPECT_EQ(LabelText("version"), "V1.8");
    EXPECT_EQ(LabelText("caption"), "Ceramic Filter Selection Program");
    EXPECT_EQ(LabelText("maker_caption"), "from Norvane Microwave");

    const char* order[] = {"outline_drawing_button",
                           "tabular_data_button",
                           "tolerances_button",
                           "centre_frequency",
                           "sections",
                           "bandwidth",
                           "passband_definition",
                           "profile",
                           "dielectric",
                           "stopband_f1",
                           "stopband_f2",
                           "graph_width"};
    ShowActive();
    Child<QWidget>(order[0])->setFocus(Qt::TabFocusReason);
    for (size_t i = 1; i < std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), Child<QWidget>(order[i])) << order[i];
    }
}

// ---- Key filter -------------------------------------------------------------------------------------

class KeyFilterTest : public SelectTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(KeyFilterTest, EditFieldsKeepOnlyDigitsPointsAndBackspace) {
    QLineEdit* edit = Edit(GetParam());
    edit->clear();
    QTest::keyClicks(edit, "1a.5-3e ,+x");
    EXPECT_EQ(edit->text(), "1.53");
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), "1.5");
    QTest::keyClicks(edit, ".3");
    EXPECT_EQ(edit->text(), "1.5.3");  // several points pass; reading stops at the second
}

TEST_P(KeyFilterTest, WindowKeysBringOtherWindowsForwardAndLeaveTheField) {
    QLineEdit* edit = Edit(GetParam());
    edit->setText("12");
    QTest::keyClick(edit, 'o');
    QTest::keyClick(edit, 'T', Qt::ShiftModifier);
    EXPECT_EQ(edit->text(), "12");
    EXPECT_EQ(hub.calls, (Calls{{"Front", DocumentWindow::Outline}, {"Front", DocumentWindow::TabularData}}));
}

INSTANTIATE_TEST_SUITE_P(EditFields, KeyFilterTest,
                         ::testing::Values("centre_frequency", "bandwidth", "stopband_f1", "stopband_f2"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(SelectTest, ListsTakeWindowKeysButNotTheGraphWidthList) {
    QComboBox* sections = List("sections");
    QTest::keyClick(sections, 'o');
    QTest::keyClick(sections, 't');
    EXPECT_EQ(sections->currentIndex(), 1);
    EXPECT_EQ(hub.calls, (Calls{{"Front", DocumentWindow::Outline}, {"Front", DocumentWindow::TabularData}}));
    hub.Clear();
    QTest::keyClick(List("graph_width"), 'o');
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(SelectTest, EnterWalksTheFieldChainAndRunsTheExitHandler) {
    ShowActive();
    const char* chain[] = {"centre_frequency", "sections",    "bandwidth",   "passband_definition", "profile",
                           "dielectric",       "stopband_f1", "stopband_f2", "centre_frequency"};
    Child<QWidget>(chain[0])->setFocus();
    for (size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), Child<QWidget>(chain[i])) << chain[i];
    }

    // Typing and Enter: leaving the field stores the value.
    const int before = select->RepaintRequests();
    QLineEdit* f2 = Edit("stopband_f2");
    f2->setFocus();
    f2->selectAll();
    QTest::keyClicks(f2, "1100");
    QTest::keyClick(f2, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), Edit("centre_frequency"));
    EXPECT_EQ(program.Spec.F2, 1100.0);
    EXPECT_EQ(select->RepaintRequests(), before + 1);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
}

TEST_F(SelectTest, EnteringCentreAndBandwidthSelectsTheirText) {
    ShowActive();
    Edit("centre_frequency")->setText("1000.0");
    Edit("bandwidth")->setText("20.00");
    Edit("stopband_f1")->setFocus();
    Edit("centre_frequency")->setFocus();
    EXPECT_EQ(Edit("centre_frequency")->selectedText(), "1000.0");
    Edit("bandwidth")->setFocus();
    EXPECT_EQ(Edit("bandwidth")->selectedText(), "20.00");
    QTest::mouseClick(Edit("stopband_f1"), Qt::LeftButton);
    EXPECT_EQ(Edit("stopband_f1")->selectedText(), Edit("stopband_f1")->text());
}

// ---- Exit handlers ----------------------------------------------------------------------------------

struct ExitCase {
    const char* name;
    const char* field;
    const char* text;
    double expected;  // stored value of the field's record entry
    bool repaintSelf;
};

class ExitHandlerTest : public SelectTest, public ::testing::WithParamInterface<ExitCase> {};

TEST_P(ExitHandlerTest, StoresTheNormalisedValueAndRepaintsOnlyOnChange) {
    const ExitCase& c = GetParam();
    const std::string field = c.field;
    Edit(c.field)->setText(QString::fromLatin1(c.text));
    Leave(c.field);

    const FilterSpec& s = program.Spec;
    const double stored = field == "centre_frequency" ? s.F0
                          : field == "bandwidth"      ? s.BW
                          : field == "stopband_f1"    ? s.F1
                                                      : s.F2;
    EXPECT_EQ(stored, c.expected);
    EXPECT_EQ(select->RepaintRequests(), c.repaintSelf ? 1 : 0);
    // The outline follows the judgement, not the frame.
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
    if (field == "bandwidth" && c.repaintSelf) {
        EXPECT_EQ(s.BWRequested, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ExitHandlerTest,
    ::testing::Values(ExitCase{"CentreBelow100Becomes100", "centre_frequency", "50", 100.0, true},
                      ExitCase{"CentreUnchanged", "centre_frequency", "1000.0", 1000.0, false},
                      ExitCase{"CentreEmptyReadsAsZero", "centre_frequency", "", 100.0, true},
                      ExitCase{"CentreReadUpToSecondPoint", "centre_frequency", "1.5.3", 100.0, true},
                      ExitCase{"CentreAboveLimitKeptUntilPaint", "centre_frequency", "5000", 5000.0, true},
                      ExitCase{"CentrePastedNegative", "centre_frequency", "-500", 100.0, true},
                      ExitCase{"BandwidthZeroBecomesOne", "bandwidth", "0", 1.0, true},
                      ExitCase{"BandwidthLettersBecomeOne", "bandwidth", "abc", 1.0, true},
                      ExitCase{"BandwidthUnchanged", "bandwidth", "20.00", 20.0, false},
                      ExitCase{"BandwidthChanged", "bandwidth", "35.5", 35.5, true},
                      ExitCase{"StopbandSet", "stopband_f1", "950", 950.0, true},
                      ExitCase{"StopbandUnchanged", "stopband_f1", "0.00", 0.0, false},
                      ExitCase{"StopbandNegativeBecomesZero", "stopband_f1", "-10", 0.0, true},
                      ExitCase{"UpperStopbandSet", "stopband_f2", "1100", 1100.0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, BandwidthExitCountsARequestOfZeroAsOne) {
    program.Spec.BWRequested = 0.0;
    Edit("bandwidth")->setText("1");
    Leave("bandwidth");
    EXPECT_EQ(select->RepaintRequests(), 0);
    EXPECT_EQ(program.Spec.BW, 1.0);
}

TEST_F(SelectTest, CentreExitComparesWithTheLastPaintedValue) {
    program.Spec.LastF0 = 1500.0;  // F0 is still 1000: the value of the last paint decides
    Edit("centre_frequency")->setText("1500");
    Leave("centre_frequency");
    EXPECT_EQ(select->RepaintRequests(), 0);
    EXPECT_EQ(program.Spec.F0, 1500.0);
}

// ---- Lists and menus --------------------------------------------------------------------------------

TEST_F(SelectTest, ListChoicesCompareWithTheLastPaintAndLeaveTheMenusAlone) {
    QComboBox* sections = List("sections");
    // A program's selection runs no handler.
    sections->setCurrentIndex(3);
    EXPECT_EQ(program.Spec.Sections, 3);

    sections->setCurrentIndex(2);
    emit sections->activated(2);
    EXPECT_EQ(program.Spec.Sections, 4);
    EXPECT_EQ(select->RepaintRequests(), 1);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0) << "the outline follows the judgement";
    // No paint in between: still different from the last painted value, so another repaint.
    emit sections->activated(2);
    EXPECT_EQ(select->RepaintRequests(), 2);

    QComboBox* dielectric = List("dielectric");
    emit dielectric->activated(1);  // DR again
    EXPECT_EQ(select->RepaintRequests(), 2);
    dielectric->setCurrentIndex(2);
    emit dielectric->activated(2);
    EXPECT_EQ(program.Spec.Dielectric, DielectricMaterial::DH);
    EXPECT_EQ(select->RepaintRequests(), 3);

    QComboBox* passband = List("passband_definition");
    passband->setCurrentIndex(0);
    emit passband->activated(0);
    EXPECT_EQ(program.Spec.PBD, 0.5);
    EXPECT_EQ(program.Spec.Passband, PassbandChoice::Db0_5);

    QComboBox* profile = List("profile");
    profile->setCurrentIndex(1);
    emit profile->activated(1);
    EXPECT_EQ(program.Spec.Profile, ResonatorProfile::Mm6);
    EXPECT_EQ(select->RepaintRequests(), 5);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
}

TEST_F(SelectTest, GraphWidthListRepaintsOnlyThisWindow) {
    QComboBox* width = List("graph_width");
    width->setCurrentIndex(1);
    emit width->activated(1);
    EXPECT_EQ(program.Spec.GraphHalfSpan, 1.0);
    EXPECT_EQ(select->RepaintRequests(), 1);
    EXPECT_TRUE(hub.calls.empty());
    emit width->activated(1);
    EXPECT_EQ(select->RepaintRequests(), 1);
}

QAction* MenuItem(SpecificationWindow& select, const char* name) {
    auto* action = select.Actions().Action(QString::fromLatin1(name));
    EXPECT_NE(action, nullptr) << name;
    return action;
}

struct MenuCase {
    const char* name;
    const char* item;
    const char* list;
    int index;
};

class MenuSyncTest : public SelectTest, public ::testing::WithParamInterface<MenuCase> {};

TEST_P(MenuSyncTest, MenuChoiceSelectsTheListRowAndRepaintsOnce) {
    const MenuCase& c = GetParam();
    MenuItem(*select, c.item)->trigger();
    EXPECT_EQ(List(c.list)->currentIndex(), c.index);
    EXPECT_EQ(select->RepaintRequests(), 1);
    // The outline follows the judgement, not the frame.
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
    // Menus compare with the current value: the same choice again does nothing.
    MenuItem(*select, c.item)->trigger();
    EXPECT_EQ(select->RepaintRequests(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Items, MenuSyncTest,
    ::testing::Values(MenuCase{"HalfDb", "passband_definition_0_5db", "passband_definition", 0},
                      MenuCase{"ThreeDb", "passband_definition_3_0db", "passband_definition", 2},
                      MenuCase{"TwoSections", "sections_2", "sections", 0},
                      MenuCase{"SixSections", "sections_6", "sections", 4},
                      MenuCase{"Profile6mm", "profile_6mm", "profile", 1},
                      MenuCase{"DielectricDL", "dielectric_dl", "dielectric", 0},
                      MenuCase{"DielectricDH", "dielectric_dh", "dielectric", 2},
                      MenuCase{"OneBandwidth", "graph_width_1", "graph_width", 0},
                      MenuCase{"FourBandwidths", "graph_width_4", "graph_width", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, MenuChoicesStoreTheirValues) {
    MenuItem(*select, "passband_definition_0_5db")->trigger();
    MenuItem(*select, "sections_5")->trigger();
    MenuItem(*select, "profile_6mm")->trigger();
    MenuItem(*select, "dielectric_dh")->trigger();
    MenuItem(*select, "graph_width_3")->trigger();
    const FilterSpec& s = program.Spec;
    EXPECT_EQ(s.PBD, 0.5);
    EXPECT_EQ(s.Passband, PassbandChoice::Db0_5);
    EXPECT_EQ(s.Sections, 5);
    EXPECT_EQ(s.Profile, ResonatorProfile::Mm6);
    EXPECT_EQ(s.Dielectric, DielectricMaterial::DH);
    EXPECT_EQ(s.GraphHalfSpan, 1.5);
    // Current values, not the last painted ones, decide: 6 bandwidths is the current width.
    MenuItem(*select, "graph_width_3")->trigger();
    MenuItem(*select, "graph_width_6")->trigger();
    EXPECT_EQ(s.GraphHalfSpan, 3.0);
    EXPECT_EQ(List("graph_width")->currentIndex(), 5);
}

TEST_F(SelectTest, MountingRepaintsTheOutlineAtOnceAndClearsTheStatus) {
    program.Spec.SelStatus = kRuleFailed;
    MenuItem(*select, "mounting_drop_in")->trigger();
    EXPECT_EQ(program.Spec.Mounting, MountingStyle::DropIn);
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    EXPECT_EQ(hub.calls, (Calls{{"RepaintNow", DocumentWindow::Outline}}));
    EXPECT_EQ(select->RepaintRequests(), 1);

    program.Spec.SelStatus = kRuleFailed;
    MenuItem(*select, "mounting_drop_in")->trigger();  // unchanged code: nothing at all
    EXPECT_EQ(program.Spec.SelStatus, kRuleFailed);
    EXPECT_EQ(select->RepaintRequests(), 1);

    // The withdrawn mountings have no item; only code chooses them.
    const std::pair<std::function<void()>, char> choices[] = {
        {[&] { MenuItem(*select, "mounting_surface_tab")->trigger(); }, '3'},
        {[&] { select->SetMounting(MountingStyle::SurfacePin); }, '2'},
        {[&] { select->SetMounting(MountingStyle::Tessel); }, '4'},
        {[&] { MenuItem(*select, "mounting_orbis_leadless")->trigger(); }, '5'}};
    for (const auto& [choose, code] : choices) {
        choose();
        EXPECT_EQ(CodeOf(program.Spec.Mounting), code);
    }
    EXPECT_EQ(hub.Count("RepaintNow", DocumentWindow::Outline), 5);
}

TEST_F(SelectTest, EveryMenuCommandIsFoundByItsName) {
    QList<QMenu*> menus;
    for (const GroupedMenu& grouped : select->GroupedMenus()) menus << grouped.menu;
    EXPECT_EQ(testing::UnnamedCommands(select->Actions(), menus), QStringList());
}

TEST_F(SelectTest, MenusCarryTheirGroupsAndNoMarks) {
    const QList<GroupedMenu> menus = select->GroupedMenus();
    std::vector<std::pair<int, QString>> seen;
    for (const GroupedMenu& m : menus) seen.emplace_back(m.group, m.menu->title());
    EXPECT_EQ(seen, (std::vector<std::pair<int, QString>>{{0, "&File"},
                                                          {1, "&Passband"},
                                                          {2, "Stop&band"},
                                                          {5, "&Graph"},
                                                          {5, "&Mounting"},
                                                          {5, "&View"}}));
    QAction* profile12mm = MenuItem(*select, "profile_12mm");
    EXPECT_FALSE(profile12mm->isVisible());
    EXPECT_FALSE(profile12mm->isEnabled());
    for (QAction* action : select->findChildren<QAction*>())
        EXPECT_FALSE(action->isCheckable()) << action->text().toStdString();
    // Tessel leadless and surface-mount pin have handlers but no item.
    EXPECT_EQ(select->Actions().Action("mounting_tessel_leadless"), nullptr);
    EXPECT_EQ(select->Actions().Action("mounting_surface_pin"), nullptr);
}

TEST_F(SelectTest, ViewItemsButtonsExitAndPrintGoThroughTheFrame) {
    MenuItem(*select, "outline_drawings")->trigger();
    MenuItem(*select, "tabular_data")->trigger();
    Child<QPushButton>("outline_drawing_button")->click();
    Child<QPushButton>("tabular_data_button")->click();
    MenuItem(*select, "exit")->trigger();
    MenuItem(*select, "print")->trigger();
    EXPECT_EQ(hub.calls, (Calls{{"Front", DocumentWindow::Outline},
                                {"Front", DocumentWindow::TabularData},
                                {"Front", DocumentWindow::Outline},
                                {"Front", DocumentWindow::TabularData},
                                {"Exit", DocumentWindow::Specification},
                                {"Print", DocumentWindow::Specification}}));
    EXPECT_EQ(hub.printedForms, std::vector<PaintedForm*>{select.get()});
    EXPECT_EQ(hub.printTitles, QStringList{"Veltrix Filter Specification"});
}

TEST_F(SelectTest, FocusItemsMoveToTheirFields) {
    ShowActive();
    const std::pair<const char*, const char*> items[] = {{"passband_frequency", "centre_frequency"},
                                                         {"passband_bandwidth", "bandwidth"},
                                                         {"stopband_f1", "stopband_f1"},
                                                         {"stopband_f2", "stopband_f2"}};
    for (const auto& [item, field] : items) {
        MenuItem(*select, item)->trigger();
        EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(field)) << item;
    }
}

TEST(SelectPrintItem, IsDisabledWhileTheWindowIsMinimised) {
    Program program;
    QMdiArea area;
    auto* select = new SpecificationWindow(program);
    QMdiSubWindow* sub = area.addSubWindow(select);
    area.show();
    sub->showNormal();
    QAction* print = select->Actions().Action("print");
    emit select->Actions().Menu("file")->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
    sub->showMinimized();
    emit select->Actions().Menu("file")->aboutToShow();
    EXPECT_FALSE(print->isEnabled());
    sub->showNormal();
    emit select->GroupedMenus().front().menu->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
}

}  // namespace
}  // namespace veltrix::testing
