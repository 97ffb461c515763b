#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/response.h"
#include "engine/tables.h"

namespace veltrix {
namespace {

constexpr ResonatorProfile kMm4 = ResonatorProfile::Mm4;
constexpr DielectricMaterial kDR = DielectricMaterial::DR;

// Runs the computation a paint runs for a valid selection.
struct Computed {
    ResponseData rd;
    double il0 = 0.0;
    int32_t status = 0;
};

Computed ComputeDefaults(const FilterSpec& spec) {
    Computed c;
    bool failure = false;
    c.il0 = InsertionLossAtF0(c.rd, spec.Sections, c.status, spec.Profile, spec.F0, spec.BW, spec.PBD,
                              spec.Dielectric, failure);
    EXPECT_FALSE(failure);
    ReturnLossSweep(c.rd, spec, spec.Sections, spec.F0, spec.BW, spec.PBD);
    ResponseSweep(c.rd, spec, spec.Sections, spec.Profile, spec.F0, spec.PBD, spec.BW, spec.Dielectric);
    return c;
}

int PointAt(const ResponseData& rd, double f) {
    return static_cast<int>(std::lround((f - rd.SweepStart) / rd.SweepStep)) + 1;
}

TEST(MachineEpsilonTest, HalvingEndsAtTheUnitRoundoff) {
    EXPECT_EQ(ComputeMachineEpsilon(), std::ldexp(1.0, -53));
}

TEST(DefaultDesignTest, MatchesThePublishedFigures) {
    const FilterSpec spec;
    ResponseData rd;
    const SolvedDesign design = DesignSolve(rd, 3, kMm4, 1000, 20, 1.0, kDR);
    EXPECT_NEAR(1000 / (UnloadedQ(kMm4, kDR, 1000) * 20), 0.1665, 5e-5);
    EXPECT_NEAR(design.PBDEdge, 2.080, 5e-4);
    EXPECT_NEAR(design.Dissipation, 0.344, 5e-4);
    EXPECT_EQ(design.RippleOffset, 0.0);

    const Computed c = ComputeDefaults(spec);
    EXPECT_EQ(c.status, 0);
    EXPECT_NEAR(c.rd.BW3Ratio, 1.363, 5e-4);
    EXPECT_NEAR(c.il0, 2.39, 5e-3);
    EXPECT_EQ(c.rd.SweepStart, 940.0);
    EXPECT_EQ(c.rd.SweepStop, 1060.0);
    EXPECT_EQ(c.rd.SweepStep, 2.0);
    EXPECT_EQ(c.rd.SweepCount, 61.0);

    const ResponseData& rd2 = c.rd;
    EXPECT_NEAR(rd2.SweepAtten[PointAt(rd2, 990)], 1.0, 1e-3);
    EXPECT_NEAR(rd2.SweepAtten[PointAt(rd2, 1010)], 1.0, 1e-3);
    EXPECT_NEAR(rd2.SweepAtten[PointAt(rd2, 980)], 9.5, 0.05);
    EXPECT_NEAR(rd2.SweepAtten[PointAt(rd2, 1020)], 8.85, 0.06);
    EXPECT_NEAR(rd2.SweepReturnLoss[PointAt(rd2, 1000)], 16.4, 0.05);
    EXPECT_NEAR(rd2.SweepDelay[PointAt(rd2, 1000)], 21.96, 0.005);
    EXPECT_NEAR(rd2.SweepDelay[PointAt(rd2, 990)], 32.1, 0.05);
    EXPECT_NEAR(rd2.SweepDelay[PointAt(rd2, 1010)], 30.3, 0.05);
}

TEST(RippleOffsetTest, EvenSectionsAddTheRipple) {
    ResponseData rd;
    for (int32_t n = 2; n <= 6; ++n) {
        const bool even = n % 2 == 0;
        EXPECT_EQ(DesignSolve(rd, n, kMm4, 1000, 20, 1.0, kDR).RippleOffset, even ? 0.0005 : 0.0) << n;
        EXPECT_EQ(LosslessDesignSolve(rd, n, 1.0).RippleOffset, even ? 0.05 : 0.0) << n;
    }
}

TEST(TwoSectionCorrectionTest, OnlyTwoSectionsAreCapped) {
    struct Case {
        int32_t n;
        double in, out;
    } cases[] = {{2, 0.95, 0.9}, {2, 1.0, 0.9},   {2, 10.0, 9.0}, {2, 0.9, 0.9},
                 {2, 0.5, 0.5},  {3, 0.95, 0.95}, {3, 10.0, 10.0}};
    for (const Case& c : cases)
        EXPECT_DOUBLE_EQ(TwoSectionCorrection(c.n, c.in), c.out) << c.n << " " << c.in;
}

TEST(BandEdgeTest, EdgesOfTheBandSitAtThePassbandDefinition) {
    for (int32_t n : {2, 3}) {
        FilterSpec spec;
        spec.Sections = n;
        spec.GraphHalfSpan = 0.5;
        const Computed c = ComputeDefaults(spec);
        const int last = static_cast<int>(c.rd.SweepCount);
        EXPECT_EQ(c.rd.SweepStart, 990.0);
        EXPECT_EQ(SkirtTerms(990.0, 1000, 20).asymmetry, 0.0);
        const double expected = n == 2 ? 0.9 : 1.0;
        EXPECT_NEAR(c.rd.SweepAtten[1], expected, 1e-3) << n;
        EXPECT_NEAR(c.rd.SweepAtten[last], expected, 1e-3) << n;
    }
}

TEST(SkirtTermsTest, AsymmetryHasTheSignOfTheSide) {
    EXPECT_LT(SkirtTerms(950, 1000, 20).asymmetry, 0.0);
    EXPECT_GT(SkirtTerms(1050, 1000, 20).asymmetry, 0.0);
    EXPECT_EQ(SkirtTerms(1000, 1000, 20).asymmetry, 0.0);
    EXPECT_DOUBLE_EQ(SkirtTerms(1050, 1000, 20).asymmetry, 20 * std::log10(1050.0 / 1010.0));
}

TEST(DelayTest, LowerSideIsRaisedAndUpperSideLowered) {
    const Computed c = ComputeDefaults(FilterSpec{});
    const double below = c.rd.SweepDelay[PointAt(c.rd, 990)];
    const double above = c.rd.SweepDelay[PointAt(c.rd, 1010)];
    EXPECT_GT(below, above);
}

TEST(SweepPointRuleTest, SixtyOrSixtyOnePointsAsTheLastStepRounds) {
    struct Case {
        double f0, bw, halfSpan, count;
    } cases[] = {
        {1000, 20, 3.0, 61},
        {1234.56, 35.5, 1.5, 61},
        // Here 60 steps from the start round above the stop, so the sweep ends a point early.
        {956.34208854038025, 201.97893808985324, 2.5, 60},
        {1292.6927144684064, 163.64582117337972, 3.0, 60},
    };
    for (const Case& c : cases) {
        FilterSpec spec;
        spec.GraphHalfSpan = c.halfSpan;
        ResponseData rd;
        rd.BW3Ratio = 1.3;
        ResponseSweep(rd, spec, 3, kMm4, c.f0, 1.0, c.bw, kDR);
        EXPECT_EQ(rd.SweepCount, c.count) << c.f0;
        ReturnLossSweep(rd, spec, 3, c.f0, c.bw, 1.0);
        EXPECT_EQ(rd.SweepCount, c.count) << c.f0;
    }
}

TEST(AnalysisPrecludedTest, ExtremeRatiosAndBandwidths) {
    struct Case {
        double f0, bw;
        bool precluded;
    } cases[] = {
        {2000, 1.5, true}, {2000, 2.0, false}, {99, 20, true},
        {100, 20, false},  {1000, 1.0, false}, {1000, 0.9, true},
        {1000, 0.0, true}, {1000, -20, true},  {1000, std::numeric_limits<double>::infinity(), true},
    };
    for (const Case& c : cases) EXPECT_EQ(AnalysisPrecluded(c.f0, c.bw), c.precluded) << c.f0 << "/" << c.bw;
}

TEST(InsertionLossTest, InsufficientQStillReturnsTheLoss) {
    ResponseData rd;
    int32_t status = 0;
    bool failure = false;
    const double loss = InsertionLossAtF0(rd, 3, status, kMm4, 1000, 2, 1.0, kDR, failure);
    EXPECT_FALSE(failure);
    EXPECT_EQ(status, 2);
    EXPECT_GT(loss, 0.0);
    EXPECT_GT(3.5 * 1000 / (rd.BW3Ratio * 2), UnloadedQ(kMm4, kDR, 1000));
}

TEST(InsertionLossTest, ArithmeticFailureIsReportedNotTrapped) {
    // Near a ratio of 1000 the solve overflows; it must come back as a failure, not a value.
    ResponseData rd;
    int32_t status = 0;
    bool failure = false;
    ASSERT_FALSE(AnalysisPrecluded(400, 0.4));
    InsertionLossAtF0(rd, 3, status, kMm4, 400, 0.4, 1.0, DielectricMaterial::DH, failure);
    EXPECT_TRUE(failure);
}

TEST(EdgeSearchTest, GivesUpOnNonFiniteInput) {
    ResponseData rd;
    ChebyshevPoles(rd, 3, 0.0005);
    for (double bad : {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity()}) {
        rd.SolveFailed = 0;
        EXPECT_EQ(EdgeSearch(rd, 3, bad, 1.0), 1.0);
        EXPECT_EQ(rd.SolveFailed, 1);
        rd.SolveFailed = 0;
        EXPECT_EQ(EdgeSearch(rd, 3, 0.3, bad), 1.0);
        EXPECT_EQ(rd.SolveFailed, 1);
    }
}

TEST(EdgeSearchTest, FindsTheLevelCrossing) {
    ResponseData rd;
    ChebyshevPoles(rd, 4, 0.0005);
    const double edge = EdgeSearch(rd, 4, 0.2, 3.0);
    EXPECT_EQ(rd.SolveFailed, 0);
    EXPECT_NEAR(PrototypeLoss(rd, 4, 0.2, edge) - rd.CenterLoss, 3.0, 1e-4);
}

TEST(AttenuationAtTest, SetsTheFlagsOfItsOwnComputation) {
    ResponseData rd;
    rd.Over30dB = 1;
    double a = 0.0;
    EXPECT_FALSE(AttenuationAt(rd, 1000, 3, kMm4, 1000, 20, 1.0, kDR, a));
    EXPECT_EQ(rd.Over30dB, 0);
    EXPECT_NEAR(a, 0.0, 1e-3);
    EXPECT_TRUE(AttenuationAt(rd, 1200, 3, kMm4, 1000, 20, 1.0, kDR, a));
    EXPECT_EQ(rd.Over30dB, 1);
    EXPECT_GT(a, 60.0);
}

}  // namespace
}  // namespace veltrix
