#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>

#include "specification_fixture.h"

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
    EXPECT_EQ(List("PBDCBox")->currentText(), "1.0 dB");
    EXPECT_EQ(List("NCBox")->currentText(), "3");
    EXPECT_EQ(List("RPBox")->currentText(), "4 mm ");
    EXPECT_EQ(List("DBox")->currentText(), "DR 37");
    EXPECT_EQ(List("comboGraphWidth")->currentText(), "6 * bandwidth");
    EXPECT_EQ(select->windowTitle(), "Specify Filter");
    EXPECT_EQ(select->size(), QSize(625, 406));
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(SelectTest, ControlsSitAtTheirPositionsInTabOrder) {
    const std::pair<const char*, QRect> layout[] = {{"F0Edit", {86, 152, 50, 21}},
                                                    {"NCBox", {86, 194, 77, 21}},
                                                    {"BWEdit", {251, 152, 50, 21}},
                                                    {"PBDCBox", {251, 194, 77, 21}},
                                                    {"RPBox", {86, 236, 77, 21}},
                                                    {"DBox", {251, 236, 77, 21}},
                                                    {"F1Edit", {148, 324, 50, 21}},
                                                    {"F2Edit", {245, 324, 50, 21}},
                                                    {"comboGraphWidth", {472, 380, 102, 21}},
                                                    {"SelMechBtn", {7, 375, 110, 25}},
                                                    {"SelRespBtn", {125, 375, 105, 25}},
                                                    {"TolBtn", {238, 375, 106, 25}},
                                                    {"IL0Label", {16, 266, 313, 16}},
                                                    {"IL1Label", {136, 348, 57, 16}},
                                                    {"IL2Label", {232, 348, 57, 16}},
                                                    {"VXImage", {43, 12, 225, 61}}};
    for (const auto& [name, rect] : layout) EXPECT_EQ(Child<QWidget>(name)->geometry(), rect) << name;
    EXPECT_EQ(Child<QPushButton>("SelMechBtn")->text(), "&Outline Drawing");
    EXPECT_EQ(Child<QPushButton>("SelRespBtn")->text(), "&Tabular Data");
    EXPECT_EQ(LabelText("SymLbl"), QString(QChar(0x00AE)));
    EXPECT_EQ(LabelText("VerLbl"), "V1.8");
    EXPECT_EQ(LabelText("Caption"), "Ceramic Filter Selection Program");
    EXPECT_EQ(LabelText("Caption2"), "from Norvane Microwave");

    const char* order[] = {"SelMechBtn", "SelRespBtn", "TolBtn", "F0Edit", "NCBox",  "BWEdit",
                           "PBDCBox",    "RPBox",      "DBox",   "F1Edit", "F2Edit", "comboGraphWidth"};
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

INSTANTIATE_TEST_SUITE_P(EditFields, KeyFilterTest, ::testing::Values("F0Edit", "BWEdit", "F1Edit", "F2Edit"),
                         [](const auto& info) { return std::string(info.param); });

TEST_F(SelectTest, ListsTakeWindowKeysButNotTheGraphWidthList) {
    QComboBox* sections = List("NCBox");
    QTest::keyClick(sections, 'o');
    QTest::keyClick(sections, 't');
    EXPECT_EQ(sections->currentIndex(), 1);
    EXPECT_EQ(hub.calls, (Calls{{"Front", DocumentWindow::Outline}, {"Front", DocumentWindow::TabularData}}));
    hub.Clear();
    QTest::keyClick(List("comboGraphWidth"), 'o');
    EXPECT_TRUE(hub.calls.empty());
}

TEST_F(SelectTest, EnterWalksTheFieldChainAndRunsTheExitHandler) {
    ShowActive();
    const char* chain[] = {"F0Edit", "NCBox",  "BWEdit", "PBDCBox", "RPBox",
                           "DBox",   "F1Edit", "F2Edit", "F0Edit"};
    Child<QWidget>(chain[0])->setFocus();
    for (size_t i = 1; i < std::size(chain); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        ASSERT_EQ(QApplication::focusWidget(), Child<QWidget>(chain[i])) << chain[i];
    }

    // Typing and Enter: leaving the field stores the value.
    const int before = select->RepaintRequests();
    QLineEdit* f2 = Edit("F2Edit");
    f2->setFocus();
    f2->selectAll();
    QTest::keyClicks(f2, "1100");
    QTest::keyClick(f2, Qt::Key_Enter);
    EXPECT_EQ(QApplication::focusWidget(), Edit("F0Edit"));
    EXPECT_EQ(program.Spec.F2, 1100.0);
    EXPECT_EQ(select->RepaintRequests(), before + 1);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
}

TEST_F(SelectTest, EnteringCentreAndBandwidthSelectsTheirText) {
    ShowActive();
    Edit("F0Edit")->setText("1000.0");
    Edit("BWEdit")->setText("20.00");
    Edit("F1Edit")->setFocus();
    Edit("F0Edit")->setFocus();
    EXPECT_EQ(Edit("F0Edit")->selectedText(), "1000.0");
    Edit("BWEdit")->setFocus();
    EXPECT_EQ(Edit("BWEdit")->selectedText(), "20.00");
    QTest::mouseClick(Edit("F1Edit"), Qt::LeftButton);
    EXPECT_EQ(Edit("F1Edit")->selectedText(), Edit("F1Edit")->text());
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
    if (field == "F0Edit") select->onCentreFrequencyExit();
    if (field == "BWEdit") select->onBandwidthExit();
    if (field == "F1Edit") select->onStopbandF1Exit();
    if (field == "F2Edit") select->onStopbandF2Exit();

    const FilterSpec& s = program.Spec;
    const double stored = field == "F0Edit"   ? s.F0
                          : field == "BWEdit" ? s.BW
                          : field == "F1Edit" ? s.F1
                                              : s.F2;
    EXPECT_EQ(stored, c.expected);
    EXPECT_EQ(select->RepaintRequests(), c.repaintSelf ? 1 : 0);
    // The outline follows the judgement, not the frame.
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
    if (field == "BWEdit" && c.repaintSelf) {
        EXPECT_EQ(s.BWRequested, c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ExitHandlerTest,
    ::testing::Values(ExitCase{"CentreBelow100Becomes100", "F0Edit", "50", 100.0, true},
                      ExitCase{"CentreUnchanged", "F0Edit", "1000.0", 1000.0, false},
                      ExitCase{"CentreEmptyReadsAsZero", "F0Edit", "", 100.0, true},
                      ExitCase{"CentreReadUpToSecondPoint", "F0Edit", "1.5.3", 100.0, true},
                      ExitCase{"CentreAboveLimitKeptUntilPaint", "F0Edit", "5000", 5000.0, true},
                      ExitCase{"CentrePastedNegative", "F0Edit", "-500", 100.0, true},
                      ExitCase{"BandwidthZeroBecomesOne", "BWEdit", "0", 1.0, true},
                      ExitCase{"BandwidthLettersBecomeOne", "BWEdit", "abc", 1.0, true},
                      ExitCase{"BandwidthUnchanged", "BWEdit", "20.00", 20.0, false},
                      ExitCase{"BandwidthChanged", "BWEdit", "35.5", 35.5, true},
                      ExitCase{"StopbandSet", "F1Edit", "950", 950.0, true},
                      ExitCase{"StopbandUnchanged", "F1Edit", "0.00", 0.0, false},
                      ExitCase{"StopbandNegativeBecomesZero", "F1Edit", "-10", 0.0, true},
                      ExitCase{"UpperStopbandSet", "F2Edit", "1100", 1100.0, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, BandwidthExitCountsARequestOfZeroAsOne) {
    program.Spec.BWRequested = 0.0;
    Edit("BWEdit")->setText("1");
    select->onBandwidthExit();
    EXPECT_EQ(select->RepaintRequests(), 0);
    EXPECT_EQ(program.Spec.BW, 1.0);
}

TEST_F(SelectTest, CentreExitComparesWithTheLastPaintedValue) {
    program.Spec.LastF0 = 1500.0;  // F0 is still 1000: the value of the last paint decides
    Edit("F0Edit")->setText("1500");
    select->onCentreFrequencyExit();
    EXPECT_EQ(select->RepaintRequests(), 0);
    EXPECT_EQ(program.Spec.F0, 1500.0);
}

// ---- Lists and menus --------------------------------------------------------------------------------

TEST_F(SelectTest, ListChoicesCompareWithTheLastPaintAndLeaveTheMenusAlone) {
    QComboBox* sections = List("NCBox");
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

    QComboBox* dielectric = List("DBox");
    emit dielectric->activated(1);  // DR again
    EXPECT_EQ(select->RepaintRequests(), 2);
    dielectric->setCurrentIndex(2);
    emit dielectric->activated(2);
    EXPECT_EQ(program.Spec.Dielectric, DielectricMaterial::DH);
    EXPECT_EQ(select->RepaintRequests(), 3);

    QComboBox* passband = List("PBDCBox");
    passband->setCurrentIndex(0);
    emit passband->activated(0);
    EXPECT_EQ(program.Spec.PBD, 0.5);
    EXPECT_EQ(program.Spec.Passband, PassbandChoice::Db0_5);

    QComboBox* profile = List("RPBox");
    profile->setCurrentIndex(1);
    emit profile->activated(1);
    EXPECT_EQ(program.Spec.Profile, ResonatorProfile::Mm6);
    EXPECT_EQ(select->RepaintRequests(), 5);
    EXPECT_EQ(hub.Count("Invalidate", DocumentWindow::Outline), 0);
}

TEST_F(SelectTest, GraphWidthListRepaintsOnlyThisWindow) {
    QComboBox* width = List("comboGraphWidth");
    width->setCurrentIndex(1);
    emit width->activated(1);
    EXPECT_EQ(program.Spec.GraphHalfSpan, 1.0);
    EXPECT_EQ(select->RepaintRequests(), 1);
    EXPECT_TRUE(hub.calls.empty());
    emit width->activated(1);
    EXPECT_EQ(select->RepaintRequests(), 1);
}

QAction* MenuItem(SpecificationWindow& select, const char* name) {
    auto* action = select.findChild<QAction*>(QString::fromLatin1(name));
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

INSTANTIATE_TEST_SUITE_P(Items, MenuSyncTest,
                         ::testing::Values(MenuCase{"HalfDb", "Definition05dB", "PBDCBox", 0},
                                           MenuCase{"ThreeDb", "Definition30dB", "PBDCBox", 2},
                                           MenuCase{"TwoSections", "TwoSections", "NCBox", 0},
                                           MenuCase{"SixSections", "SixSections", "NCBox", 4},
                                           MenuCase{"Profile6mm", "Profile6mm", "RPBox", 1},
                                           MenuCase{"DielectricDL", "DL221", "DBox", 0},
                                           MenuCase{"DielectricDH", "DH901", "DBox", 2},
                                           MenuCase{"OneBandwidth", "GraphWidth1", "comboGraphWidth", 0},
                                           MenuCase{"FourBandwidths", "GraphWidth4", "comboGraphWidth", 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SelectTest, MenuChoicesStoreTheirValues) {
    MenuItem(*select, "Definition05dB")->trigger();
    MenuItem(*select, "FiveSections")->trigger();
    MenuItem(*select, "Profile6mm")->trigger();
    MenuItem(*select, "DH901")->trigger();
    MenuItem(*select, "GraphWidth3")->trigger();
    const FilterSpec& s = program.Spec;
    EXPECT_EQ(s.PBD, 0.5);
    EXPECT_EQ(s.Passband, PassbandChoice::Db0_5);
    EXPECT_EQ(s.Sections, 5);
    EXPECT_EQ(s.Profile, ResonatorProfile::Mm6);
    EXPECT_EQ(s.Dielectric, DielectricMaterial::DH);
    EXPECT_EQ(s.GraphHalfSpan, 1.5);
    // Current values, not the last painted ones, decide: 6 bandwidths is the current width.
    MenuItem(*select, "GraphWidth3")->trigger();
    MenuItem(*select, "GraphWidth6")->trigger();
    EXPECT_EQ(s.GraphHalfSpan, 3.0);
    EXPECT_EQ(List("comboGraphWidth")->currentIndex(), 5);
}

TEST_F(SelectTest, MountingRepaintsTheOutlineAtOnceAndClearsTheStatus) {
    program.Spec.SelStatus = kRuleFailed;
    MenuItem(*select, "Dropin1")->trigger();
    EXPECT_EQ(program.Spec.Mounting, MountingStyle::DropIn);
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    EXPECT_EQ(hub.calls, (Calls{{"RepaintNow", DocumentWindow::Outline}}));
    EXPECT_EQ(select->RepaintRequests(), 1);

    program.Spec.SelStatus = kRuleFailed;
    MenuItem(*select, "Dropin1")->trigger();  // unchanged code: nothing at all
    EXPECT_EQ(program.Spec.SelStatus, kRuleFailed);
    EXPECT_EQ(select->RepaintRequests(), 1);

    const std::pair<void (SpecificationWindow::*)(), char> handlers[] = {
        {&SpecificationWindow::onMountingSurfaceTab, '3'},
        {&SpecificationWindow::onMountingSurfacePin, '2'},
        {&SpecificationWindow::onMountingTesselLeadless, '4'},
        {&SpecificationWindow::onMountingOrbisLeadless, '5'}};
    for (const auto& [handler, code] : handlers) {
        (select.get()->*handler)();
        EXPECT_EQ(CodeOf(program.Spec.Mounting), code);
    }
    EXPECT_EQ(hub.Count("RepaintNow", DocumentWindow::Outline), 5);
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
    QAction* profile12mm = MenuItem(*select, "Profile12mm");
    EXPECT_FALSE(profile12mm->isVisible());
    EXPECT_FALSE(profile12mm->isEnabled());
    for (QAction* action : select->findChildren<QAction*>())
        EXPECT_FALSE(action->isCheckable()) << action->text().toStdString();
    // Tessel leadless and surface-mount pin have handlers but no item.
    EXPECT_EQ(select->findChild<QAction*>("TesselLeadless1"), nullptr);
    EXPECT_EQ(select->findChild<QAction*>("SurfacemountPin1"), nullptr);
}

TEST_F(SelectTest, ViewItemsButtonsExitAndPrintGoThroughTheFrame) {
    MenuItem(*select, "OutlineDrawings1")->trigger();
    MenuItem(*select, "TabularData1")->trigger();
    Child<QPushButton>("SelMechBtn")->click();
    Child<QPushButton>("SelRespBtn")->click();
    MenuItem(*select, "Exit1")->trigger();
    MenuItem(*select, "Print1")->trigger();
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
    const std::pair<const char*, const char*> items[] = {
        {"Frequency1", "F0Edit"}, {"Bandwidth1", "BWEdit"}, {"F11", "F1Edit"}, {"F21", "F2Edit"}};
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
    QAction* print = select->findChild<QAction*>("Print1");
    select->onFileMenuShown();
    EXPECT_TRUE(print->isEnabled());
    sub->showMinimized();
    select->onFileMenuShown();
    EXPECT_FALSE(print->isEnabled());
    sub->showNormal();
    emit select->GroupedMenus().front().menu->aboutToShow();
    EXPECT_TRUE(print->isEnabled());
}

}  // namespace
}  // namespace veltrix::testing
