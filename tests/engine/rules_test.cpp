#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/rules.h"
#include "engine/selection.h"
#include "engine/worst_case.h"

namespace veltrix {
namespace {

using Lines = std::vector<std::string>;

struct RuleCase {
    const char* name;
    double f0;
    double bw;
    char dielectric;
    int32_t profile;
    char mounting;
    int32_t status;
    Lines lines;
    FocusTarget focus;
    bool lossDefined;
};

class EvaluationTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(EvaluationTest, MessagesStatusFocusAndLoss) {
    const RuleCase& c = GetParam();
    FilterSpec spec;
    spec.F0 = c.f0;
    spec.BWRequested = c.bw;
    // The cases name the choices as the part number does.
    spec.Dielectric = ChoiceFromCode<DielectricMaterial>(c.dielectric).value();
    spec.Profile = ProfileFromNumber(c.profile).value();
    spec.Mounting = ChoiceFromCode<MountingStyle>(c.mounting).value();
    ResponseData rd;
    const RuleOutcome outcome = EvaluateSpecification(spec, rd);
    EXPECT_EQ(outcome.MessageLines, c.lines);
    EXPECT_EQ(spec.SelStatus, c.status);
    EXPECT_EQ(outcome.Focus, c.focus);
    EXPECT_EQ(outcome.FoLossDefined(), c.lossDefined);
}

const Lines kLowAdvice{"", "Increase profile size and dielectric", "for lower frequencies."};

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Examples, EvaluationTest,
    ::testing::Values(
        RuleCase{"Defaults", 1000, 20, 'R', 1, '5', 0, {}, FocusTarget::None, true},
        RuleCase{"BandwidthCappedAt500",
                 500, 20, 'R', 1, '5', 1,
                 {"Maximum Bandwidth Exceeded", "Use DH for fo < 800 MHz", "", "Increase profile size and dielectric",
                  "for lower frequencies."},
                 FocusTarget::BWEdit, true},
        RuleCase{"AboveMaximumSuppressesHighAdvice", 3050, 20, 'R', 1, '5', 1,
                 {"Maximum Frequency is 3000 MHz", "fo < 2500 MHz for Orbis 4mm DR"}, FocusTarget::F0Edit, true},
        RuleCase{"ClampedAt3500", 5000, 20, 'R', 1, '5', 1,
                 {"Maximum Frequency is 3000 MHz", "fo < 2500 MHz for Orbis 4mm DR"}, FocusTarget::F0Edit, false},
        RuleCase{"DropInDL", 1000, 20, 'L', 1, '1', 1, {"No DL Parts for Drop-in Mounting"}, FocusTarget::None, true},
        RuleCase{"OrbisDHAtLimit", 1500, 20, 'H', 1, '5', 0, {}, FocusTarget::None, true},
        RuleCase{"OrbisDHAboveLimit", 1500.1, 20, 'H', 1, '5', 1,
                 {"fo < 1500 MHz for Orbis 4mm DH", "", "Decrease profile size and dielectric",
                  "for higher frequencies."},
                 FocusTarget::F0Edit, true},
        RuleCase{"NarrowestBandwidthPasses", 1000, 1.0, 'R', 2, '5', 2, {"Insufficient Q"}, FocusTarget::None, true},
        RuleCase{"ExtremeValues", 1000, 0.9, 'R', 1, '5', 7, {"Extreme Values Preclude Analysis"}, FocusTarget::None,
                 false},
        RuleCase{"RuleHidesExtremeValues", 300, 0.2, 'H', 1, '3', 1,
                 {"Use Orbis 4mm or 6mm DH for fo < 400", "", "Increase profile size and dielectric",
                  "for lower frequencies."},
                 FocusTarget::None, false},
        RuleCase{"BelowMinimumSuppressesLowAdvice", 250, 10, 'L', 2, '3', 1,
                 {"Minimum Frequency is 270 MHz", "fo > 1500 MHz for 6mm DL", "Use Orbis 4mm or 6mm DH for fo < 400"},
                 FocusTarget::F0Edit, true},
        RuleCase{"LowAdviceWithoutFocus", 700, 10, 'R', 3, '3', 1,
                 {"Use DH for fo < 800 MHz", "", "Increase profile size and dielectric", "for lower frequencies."},
                 FocusTarget::None, true},
        RuleCase{"TwelveMillimetreDLAndOrbis", 1000, 20, 'L', 3, '5', 1,
                 {"No 12mm DL Parts"}, FocusTarget::None, true},
        RuleCase{"NegativeBandwidthNeverComputed", 1000, -20, 'R', 1, '5', 7, {"Extreme Values Preclude Analysis"},
                 FocusTarget::None, false},
        RuleCase{"ZeroBandwidthNeverComputed", 1000, 0, 'R', 1, '5', 7, {"Extreme Values Preclude Analysis"},
                 FocusTarget::None, false},
        RuleCase{"ArithmeticFailureIsExtreme", 400, 0.4, 'H', 1, '5', 7, {"Extreme Values Preclude Analysis"},
                 FocusTarget::None, false},
        RuleCase{"AboveMaximumStillComputesLoss", 3200, 20, 'L', 2, '3', 1,
                 {"Maximum Frequency is 3000 MHz", "fo < 2500 MHz for 6mm DL"}, FocusTarget::F0Edit, true}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(EvaluationTest, RemembersInputsAndClampsCentreFrequency) {
    FilterSpec spec;
    spec.F0 = 5000;
    spec.PBD = 3.0;
    spec.Sections = 5;
    spec.Dielectric = DielectricMaterial::DH;
    spec.Profile = ResonatorProfile::Mm6;
    ResponseData rd;
    const RuleOutcome outcome = EvaluateSpecification(spec, rd);
    EXPECT_TRUE(outcome.F0Clamped);
    EXPECT_EQ(spec.F0, 3500.0);
    EXPECT_EQ(spec.LastF0, 5000.0);
    EXPECT_EQ(spec.LastPBD, 3.0);
    EXPECT_EQ(spec.LastSections, 5);
    EXPECT_EQ(spec.LastDielectric, DielectricMaterial::DH);
    EXPECT_EQ(spec.LastProfile, ResonatorProfile::Mm6);
}

TEST(EvaluationTest, RequestedBandwidthIsJudgedAgainEveryTime) {
    FilterSpec spec;
    spec.F0 = 500;
    ResponseData rd;
    EvaluateSpecification(spec, rd);
    EXPECT_EQ(spec.BW, 19.5);
    EXPECT_EQ(spec.BWRequested, 20.0);
    spec.F0 = 1000;
    EvaluateSpecification(spec, rd);
    EXPECT_EQ(spec.BW, 20.0);
    EXPECT_EQ(spec.SelStatus, 0);
}

TEST(PartNumberTest, FormatsTheRecord) {
    FilterSpec spec;
    EXPECT_EQ(FormatPartNumber(spec), "3DR25-1000/U20 - 1.8");
    spec.F0 = 1234.56;
    spec.BW = 35.5;
    EXPECT_EQ(FormatPartNumber(spec), "3DR25-1234.6/U35.5 - 1.8");
    spec.Sections = 6;
    spec.Dielectric = DielectricMaterial::DH;
    spec.Profile = ResonatorProfile::Mm6;
    spec.Mounting = MountingStyle::DropIn;
    spec.Passband = PassbandChoice::Db3_0;
    spec.BW = 19.5;
    EXPECT_EQ(FormatPartNumber(spec), "6DH31-1234.6/T19.5 - 1.8");
}

TEST(GuaranteeTest, ChoosesAtMostOneNotice) {
    EXPECT_EQ(AttenuationGuarantee(2000, true, false), "Only 30 dB attenuation guaranteed");
    EXPECT_EQ(AttenuationGuarantee(2000, true, true), "Only 30 dB attenuation guaranteed");
    EXPECT_EQ(AttenuationGuarantee(1999.9, true, true), "Only 60 dB attenuation guaranteed");
    EXPECT_EQ(AttenuationGuarantee(1999.9, true, false), "");
    EXPECT_EQ(AttenuationGuarantee(2500, false, false), "");
}

TEST(SelectionTest, CombinesTheFlagsOfEveryComputation) {
    FilterSpec spec;
    spec.GraphHalfSpan = 0.5;  // the sweep alone stays below 30 dB
    spec.F2 = 1200;            // far above 60 dB
    ResponseData rd;
    SelectionResults results = ComputeSelection(spec, rd);
    EXPECT_FALSE(results.F1Computed);
    EXPECT_TRUE(results.F2Computed);
    EXPECT_TRUE(results.Over30dB);
    EXPECT_TRUE(results.Over60dB);
    EXPECT_EQ(rd.Over30dB, 1);
    EXPECT_EQ(results.Guarantee, "Only 60 dB attenuation guaranteed");
    EXPECT_EQ(StopbandLabel(results.F1Computed, results.F1Attenuation), " ");

    // F1 computed last would clear the flag on its own; the combination keeps it.
    spec.F1 = 999;
    spec.F2 = 0;
    spec.GraphHalfSpan = 3.0;
    results = ComputeSelection(spec, rd);
    EXPECT_TRUE(results.Over30dB);
    EXPECT_FALSE(results.Over60dB);
    EXPECT_EQ(results.Guarantee, "");
}

TEST(SelectionTest, OverflowingStopbandPointIsNotComputed) {
    FilterSpec spec;
    spec.F1 = 1e308;
    spec.F2 = 950;
    ResponseData rd;
    const SelectionResults results = ComputeSelection(spec, rd);
    EXPECT_EQ(spec.SelStatus, 0);
    EXPECT_FALSE(results.F1Computed);
    EXPECT_EQ(StopbandLabel(results.F1Computed, results.F1Attenuation), " ");
    EXPECT_TRUE(results.F2Computed);
    EXPECT_FALSE(results.Over60dB);
}

TEST(SelectionTest, LabelsAsTheScreenShowsThem) {
    FilterSpec spec;
    spec.F1 = 950;
    ResponseData rd;
    const SelectionResults results = ComputeSelection(spec, rd);
    EXPECT_EQ(InsertionLossLabel(results.Outcome), "Insertion loss at Fo  =   2.4  dB");
    const std::string f1 = StopbandLabel(true, results.F1Attenuation);
    EXPECT_EQ(f1.size(), 6u);
    EXPECT_EQ(f1, "  33.1");

    FilterSpec refused;
    refused.BWRequested = 0.5;
    const SelectionResults blocked = ComputeSelection(refused, rd);
    EXPECT_EQ(InsertionLossLabel(blocked.Outcome), "Insertion loss at Fo is not defined");
    EXPECT_FALSE(blocked.F1Computed);
}

// The tolerance takes a tenth off the attenuation; the guarantee for the centre frequency caps what is left.
TEST(WorstCase, AttenuationLosesATenthAndStopsAtTheGuarantee) {
    const struct {
        double computed, f0, dbc;
        bool capped;
    } cases[] = {
        {25.0, 1000.0, 22.5, false}, {66.0, 1000.0, 59.4, false}, {70.0, 1000.0, 60.0, true},
        {70.0, 1999.9, 60.0, true},  {70.0, 2000.0, 30.0, true},  {33.0, 2400.0, 29.7, false},
        {34.0, 2400.0, 30.0, true},  {0.0, 900.0, 0.0, false},
    };
    for (const auto& c : cases) {
        const WorstCaseAttenuation worst = WorstCaseAttenuationDbc(c.computed, c.f0);
        EXPECT_NEAR(worst.Dbc, c.dbc, 1e-12) << c.computed << " dBc at fo " << c.f0;
        EXPECT_EQ(worst.Capped, c.capped) << c.computed << " dBc at fo " << c.f0;
    }
}

TEST(WorstCase, InsertionLossMayExceedByATenth) {
    EXPECT_NEAR(WorstCaseInsertionLossDb(2.39), 2.629, 1e-12);
    EXPECT_EQ(WorstCaseInsertionLossDb(0.0), 0.0);
}

}  // namespace
}  // namespace veltrix
