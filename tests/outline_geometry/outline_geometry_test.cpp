#include "outline_geometry/outline_geometry.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/rules.h"

namespace veltrix {

void PrintTo(const PlacedText& t, std::ostream* os) { *os << '"' << t.text << "\" at " << t.x << ',' << t.y; }

namespace {

constexpr DrawingUnits kInches = DrawingUnits::Inches;
constexpr DrawingUnits kMillimetres = DrawingUnits::Millimetres;

// The choices named as the part number names them.
FilterSpec Spec(char mounting, int sections, int profile, double f0 = 1000.0, char dielectric = 'R') {
    FilterSpec spec;
    spec.Mounting = ChoiceFromCode<MountingStyle>(mounting).value();
    spec.Sections = sections;
    spec.Profile = ProfileFromNumber(profile).value();
    spec.F0 = f0;
    spec.Dielectric = ChoiceFromCode<DielectricMaterial>(dielectric).value();
    spec.SelStatus = kSelectionValid;
    return spec;
}

struct DimensionCase {
    const char* name;
    FilterSpec spec;
    int number;
    std::vector<PlacedText> inches;
    std::vector<PlacedText> millimetres;
};

class DimensionTextTest : public ::testing::TestWithParam<DimensionCase> {};

TEST_P(DimensionTextTest, TextsAndPlacesInBothUnits) {
    const DimensionCase& c = GetParam();
    for (DrawingUnits units : {kInches, kMillimetres}) {
        const auto outline = OutlineFor(c.spec, units);
        ASSERT_TRUE(outline.has_value());
        const auto it = outline->dimensions.find(c.number);
        const std::vector<PlacedText> none;
        EXPECT_EQ(it == outline->dimensions.end() ? none : it->second,
                  units == kInches ? c.inches : c.millimetres)
            << "units " << CodeOf(units);
    }
}

const FilterSpec kDropIn5 = Spec('1', 5, 1);
const FilterSpec kTab = Spec('3', 3, 1);
const FilterSpec kLeadless2 = Spec('5', 2, 1);
const FilterSpec kLeadless6 = Spec('5', 6, 2);

INSTANTIATE_TEST_SUITE_P(
    Drawings, DimensionTextTest,
    ::testing::Values(
        // Drop-in, 5 sections of profile 1: the hundredths are rounded up so the chain adds up.
        DimensionCase{"DropIn5Between", kDropIn5, 1, {{"0.63", 155, 200}}, {{"16.0", 155, 200}}},
        DimensionCase{"DropIn5Length", kDropIn5, 4, {{"0.79", 155, 255}}, {{"20.1", 155, 255}}},
        DimensionCase{"DropIn5Half", kDropIn5, 5, {{"0.365", 118, 405}}, {{"9.27", 118, 405}}},
        DimensionCase{"DropIn5Body", kDropIn5, 6, {{"0.73", 155, 425}}, {{"18.5", 155, 425}}},
        DimensionCase{"DropIn3NoHalf", Spec('1', 3, 1), 5, {}, {}},
        DimensionCase{"DropIn5Profile2Half", Spec('1', 5, 2), 5, {{"0.66", 122, 405}}, {{"16.7", 122, 405}}},
        DimensionCase{"DropInProfile2Body", Spec('1', 5, 2), 6, {{"1.32", 155, 425}}, {{"33.5", 155, 425}}},
        DimensionCase{"DropInOddEndOffset", Spec('1', 2, 1), 3, {{"0.075", 74, 220}}, {{"1.90", 74, 220}}},
        DimensionCase{"DropInEvenEndOffset", Spec('1', 3, 1), 3, {{"0.08", 78, 215}}, {{"2.0", 78, 215}}},
        DimensionCase{"DropInProfile3Height", Spec('1', 3, 3), 2, {{"0.50", 305, 150}}, {{"12.7", 305, 150}}},
        DimensionCase{"DropInResonator",
                      Spec('1', 3, 1),
                      9,
                      {{"0.69 max", 305, 305}, {"0.66 typ", 305, 320}},
                      {{"17.6 max", 305, 305}, {"16.8 typ", 305, 320}}},
        DimensionCase{"DropInDiameter",
                      Spec('1', 3, 1),
                      13,
                      {{" .032", 520, 195}, {"\u00b1.003 Dia.", 520, 210}},
                      {{" 0.81", 520, 195}, {"\u00b10.08 Dia.", 520, 210}}},
        // Tab: the terminal length follows the frequency threshold of the dielectric and the resonator.
        DimensionCase{"TabAtThreshold", Spec('3', 3, 1, 600.0), 11, {{"0.75", 5, 336}}, {{"19.0", 5, 336}}},
        DimensionCase{"TabJustAbove", Spec('3', 3, 1, 600.001), 11, {{"0.45", 5, 336}}, {{"11.4", 5, 336}}},
        DimensionCase{
            "TabShortResonator", Spec('3', 3, 1, 1200.0), 11, {{"0.30", 5, 336}}, {{"7.6", 5, 336}}},
        DimensionCase{
            "TabShortestResonator", Spec('3', 3, 1, 2000.0), 12, {{"0.22", 30, 350}}, {{"5.6", 30, 350}}},
        DimensionCase{
            "TabHThreshold", Spec('3', 3, 1, 387.81439, 'H'), 11, {{"0.75", 5, 336}}, {{"19.0", 5, 336}}},
        DimensionCase{
            "TabLAboveThreshold", Spec('3', 3, 1, 800.0, 'L'), 12, {{"0.42", 30, 350}}, {{"10.7", 30, 350}}},
        DimensionCase{"TabLargeWidth", Spec('3', 5, 3), 4, {{"2.56", 155, 230}}, {{"65.0", 155, 230}}},
        DimensionCase{"TabLargeGround", Spec('3', 6, 3), 3, {{"1.90", 120, 210}}, {{"48.3", 120, 210}}},
        DimensionCase{"TabSmallNoGround", kTab, 2, {}, {}},
        DimensionCase{"TabLargeTerminal", Spec('3', 5, 3), 17, {{"0.10", 320, 368}}, {{"2.5", 320, 368}}},
        DimensionCase{"TabProfile1Terminal", kTab, 17, {{"0.07", 320, 368}}, {{"1.8", 320, 368}}},
        DimensionCase{
            "TabPadTextSmall", kTab, 14, {{".032 \u00b1.003", 132, 400}}, {{"0.81 \u00b10.08", 132, 400}}},
        DimensionCase{"TabPadTextLarge",
                      Spec('3', 5, 1),
                      14,
                      {{".032 \u00b1.003", 108, 408}},
                      {{"0.81 \u00b10.08", 108, 408}}},
        DimensionCase{"TabResonator",
                      kTab,
                      8,
                      {{"0.67 max", 410, 85}, {"0.64 typ", 410, 100}},
                      {{"17.1 max", 410, 85}, {"16.4 typ", 410, 100}}},
        // Leadless: the body grows with the sections; 0.075 prints as the binary value rounds.
        DimensionCase{"Leadless2Length", kLeadless2, 1, {{"0.40", 108, 95}}, {{"10.2", 108, 95}}},
        DimensionCase{"Leadless2Pitches",
                      kLeadless2,
                      4,
                      {{"0.12", 60, 260}, {"0.16", 100, 260}, {"0.07", 150, 260}},
                      {{"3.0", 60, 260}, {"4.1", 100, 260}, {"1.9", 150, 260}}},
        DimensionCase{"Leadless6Length", kLeadless6, 1, {{"1.52", 176, 95}}, {{"38.6", 176, 95}}},
        DimensionCase{"LeadlessChainClass2",
                      kLeadless2,
                      3,
                      {{"0.15", 214, 120}, {"0.22", 214, 144}, {"0.17", 214, 168}, {"0.20", 214, 190}},
                      {{"3.9", 214, 120}, {"5.6", 214, 144}, {"4.3", 214, 168}, {"5.2", 214, 190}}},
        DimensionCase{
            "LeadlessHeightClass3", Spec('5', 2, 1, 824.9), 2, {{"1.05", 13, 172}}, {{"26.7", 13, 172}}},
        DimensionCase{
            "LeadlessHeightClass2", Spec('5', 2, 1, 825.0), 2, {{"0.75", 13, 160}}, {{"19.0", 13, 160}}},
        DimensionCase{
            "LeadlessProtrusion", Spec('5', 2, 1, 1500.0), 10, {{"0.58", 511, 151}}, {{"14.7", 511, 151}}},
        DimensionCase{"LeadlessNoProtrusion", Spec('5', 2, 1, 2000.0), 10, {}, {}},
        DimensionCase{"LeadlessThickness", kLeadless6, 9, {{"0.27", 446, 70}}, {{"6.9", 446, 70}}}),
    [](const ::testing::TestParamInfo<DimensionCase>& info) { return std::string(info.param.name); });

TEST(LeadlessGeometry, BodyAndResonatorCentres) {
    const LeadlessGeometry two = LeadlessFor(kLeadless2);
    EXPECT_EQ(two.length, 104);
    EXPECT_EQ(two.centres, (std::vector<int>{23, 81}));  // 93 and 151 at the views' left edge 70

    const LeadlessGeometry six = LeadlessFor(kLeadless6);
    EXPECT_EQ(six.length, 240);
    EXPECT_EQ(six.centres, (std::vector<int>{29, 65, 101, 137, 173, 211}));  // last gap 38
}

TEST(LeadlessGeometry, HeightClassByDielectricAndFrequency) {
    struct Case {
        char dielectric;
        double f0;
        int k;
    };
    for (const Case& c : {Case{'R', 1395.0, 1}, Case{'R', 1394.9, 2}, Case{'R', 825.0, 2},
                          Case{'R', 824.9, 3}, Case{'H', 895.0, 1}, Case{'H', 525.0, 2}, Case{'H', 524.9, 3},
                          Case{'L', 1600.0, 1}, Case{'L', 100.0, 2}}) {
        const LeadlessGeometry g = LeadlessFor(Spec('5', 3, 1, c.f0, c.dielectric));
        EXPECT_EQ(g.heightClass, c.k) << c.dielectric << ' ' << c.f0;
        EXPECT_EQ(g.height, c.k == 1 ? 66 : c.k == 2 ? 90 : 114);
        EXPECT_EQ(g.notchRows.size(), c.k == 1 ? 2u : c.k == 2 ? 3u : 5u);
    }
}

TEST(LeadlessGeometry, ProtrusionFromBodyHeightLessEndAllowance) {
    // Class 1 body 0.55: the resonator protrudes from 0.29 inches, 481 / 0.29 = 1658.6 MHz.
    EXPECT_TRUE(LeadlessFor(Spec('5', 3, 1, 1658.0)).protrusion);
    EXPECT_FALSE(LeadlessFor(Spec('5', 3, 1, 1659.0)).protrusion);
}

TEST(OutlineFrame, TitlesPartAndToleranceLines) {
    EXPECT_EQ(OutlineTitle(MountingStyle::DropIn), "Drop in (PC) mounting            ");
    EXPECT_EQ(OutlineTitle(MountingStyle::DropIn).size(), 33u);
    EXPECT_EQ(OutlineTitle(MountingStyle::SurfaceTab), "Surface mounting - Tab           ");
    EXPECT_EQ(OutlineTitle(MountingStyle::SurfaceTab).size(), 33u);
    EXPECT_EQ(OutlineTitle(MountingStyle::Orbis), "Leadless Surface Mount - Orbis");

    FilterSpec pin = Spec('2', 3, 1);
    const auto outline = OutlineFor(pin, kInches);
    ASSERT_TRUE(outline.has_value());
    EXPECT_EQ(outline->title, "");
    EXPECT_TRUE(outline->dimensions.empty());
    EXPECT_EQ(outline->part, "3DR22-1000/U20 - 1.8");
    EXPECT_EQ(outline->tolerance,
              "Tolerances: All dimensions \u00b1 .02 inches unless otherwise specified.    ");
    EXPECT_EQ(OutlineFor(pin, kMillimetres)->tolerance,
              "Tolerances: All dimensions \u00b1 .5 millimeters unless otherwise specified.");
}

TEST(OutlineNotice, LeadlessOf12mmProfileComesFirst) {
    FilterSpec spec = Spec('5', 3, 3);
    spec.SelStatus = kRuleFailed;
    EXPECT_EQ(OutlineNotice(spec),
              (std::vector<std::string>{"No Outline Drawings to Display.", "No Leadless for DR4."}));
    spec.Dielectric = DielectricMaterial::DL;
    EXPECT_EQ(OutlineNotice(spec),
              (std::vector<std::string>{"No Outline Drawings to Display.", "No Leadless for DH4."}));
    EXPECT_FALSE(OutlineFor(spec, kInches).has_value());
}

TEST(OutlineNotice, AnyFailedSelectionShowsTheErrorNotice) {
    for (int status : {kRuleFailed, kInsufficientQ, kExtremeValues}) {
        FilterSpec spec = Spec('1', 3, 3);
        spec.SelStatus = status;
        EXPECT_EQ(OutlineNotice(spec),
                  (std::vector<std::string>{"No Outline Drawings to Display.",
                                            "Error Information on Filter Specification Screen."}));
        EXPECT_FALSE(OutlineFor(spec, kMillimetres).has_value());
    }
    EXPECT_FALSE(OutlineNotice(Spec('1', 3, 3)).has_value());
}

TEST(NumberFormats, InchesAndMillimetres) {
    EXPECT_EQ(ToDisplayUnits(0.5, kMillimetres), 12.7);
    EXPECT_EQ(ToDisplayUnits(0.5, kInches), 0.5);
    EXPECT_EQ(FormatStd(0.075, kInches), "0.07");
    EXPECT_EQ(FormatStd(1.905, kMillimetres), "1.9");
    EXPECT_EQ(FormatFine(0.365, kInches), "0.365");
    EXPECT_EQ(FormatFine(9.271, kMillimetres), "9.27");
    EXPECT_EQ(FormatMax(0.691, kInches), "0.69 max");
    EXPECT_EQ(FormatMax(17.5514, kMillimetres), "17.6 max");
    EXPECT_EQ(FormatTyp(0.661, kInches), "0.66 typ");
    EXPECT_EQ(FormatTyp(16.79, kMillimetres), "16.8 typ");
}

TEST(OutlineDescription, PartMountingAndUnitsOrTheNotice) {
    const struct {
        FilterSpec spec;
        DrawingUnits units;
        std::string description;
    } cases[] = {
        {Spec('5', 3, 1), kInches,
         "3DR25-1000/U20 - 1.8, Leadless Surface Mount - Orbis, dimensions in inches"},
        {Spec('1', 3, 1), kMillimetres,
         "3DR21-1000/U20 - 1.8, Drop in (PC) mounting, dimensions in millimeters"},
        {Spec('2', 3, 1), kInches, "3DR22-1000/U20 - 1.8, dimensions in inches"},
        {Spec('5', 3, 3), kInches, "No Outline Drawings to Display. No Leadless for DR4."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(OutlineDescription(c.spec, c.units), c.description);
        EXPECT_EQ(OutlineDescription(c.spec, c.units).find(FormatPartNumber(c.spec)) == 0,
                  OutlineFor(c.spec, c.units).has_value());
    }
    FilterSpec failed = Spec('3', 3, 1);
    failed.SelStatus = kRuleFailed;
    EXPECT_EQ(OutlineDescription(failed, kMillimetres),
              "No Outline Drawings to Display. Error Information on Filter Specification Screen.");
}

}  // namespace
}  // namespace veltrix
