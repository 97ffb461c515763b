#include "compare/sample_judgement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace veltrix;

namespace {

constexpr double kPiValue = 3.14159265358979323846;

// A V-shaped sample, 1 MHz apart from 900 to 1100 MHz: least loss 2.0 dB at 1002 MHz, rising
// 0.1 dB a MHz, and a delay of 10 ns. Linear between its points, so every figure is exact.
MeasuredTrace VSample() {
    MeasuredTrace t;
    t.Ports = 2;
    for (int f = 900; f <= 1100; ++f) {
        t.FrequenciesMhz.push_back(f);
        t.AttenuationDb.push_back(2.0 + 0.1 * std::abs(f - 1002));
        t.ReturnLossDb.push_back(20.0);
        t.PhaseRad.push_back(-2.0 * kPiValue * f * 10.0 / 1000.0);
        t.DelayNs.push_back(10.0);
    }
    return t;
}

FinderRequirement Need(double bw, std::vector<StopbandRequirement> points, std::optional<double> maxIl = {}) {
    FinderRequirement r;
    r.F0 = 1000.0;
    r.BW = bw;
    r.PassbandIndex = 1;  // 1.0 dB
    r.Stopbands = std::move(points);
    r.MaxInsertionLossDb = maxIl;
    return r;
}

TEST(SampleJudgement, VerdictNamesEveryMissInOneLine) {
    // At F0 the loss is 2.2 dB; 960 MHz is 4.0 dBc, 1040 MHz 3.6 dBc; the edges 992 and 1012 MHz.
    struct Case {
        const char* what;
        FinderRequirement need;
        bool meets;
        std::string verdict;
    };
    const std::string misses = "The sample misses the requirement: ";
    const Case cases[] = {
        {"exactly at every limit", Need(20.0, {{960.0, 4.0}}, 2.25), true,
         "The sample meets the requirement."},
        {"a point short", Need(20.0, {{960.0, 3.0}, {1040.0, 4.0}}), false,
         misses + "1040.00 MHz, 3.60 dBc against 4.0 dBc required (\u22120.40 dB)"},
        {"too narrow", Need(20.5, {}), false,
         misses + "bandwidth 20.00 MHz against 20.5 MHz required (\u22120.50 MHz)"},
        {"too lossy", Need(20.0, {}, 2.1), false,
         misses + "insertion loss 2.20 dB against 2.1 dB allowed (\u22120.10 dB)"},
        {"beyond the file", Need(20.0, {{1200.0, 10.0}}), false, misses + "1200.00 MHz not measured"},
        {"two misses", Need(20.0, {{960.0, 5.0}, {1040.0, 4.0}}), false,
         misses +
             "960.00 MHz, 4.00 dBc against 5.0 dBc required (\u22121.00 dB); 1040.00 MHz, 3.60 dBc against "
             "4.0 dBc required (\u22120.40 dB)"},
    };
    const MeasuredTrace sample = VSample();
    for (const Case& c : cases) {
        const SampleJudgement j = JudgeSample(sample, c.need);
        ASSERT_TRUE(j.Judged) << c.what;
        EXPECT_EQ(j.Meets, c.meets) << c.what;
        EXPECT_EQ(j.Verdict, c.verdict) << c.what;
        EXPECT_EQ(SampleJudgementLines(j).back(), c.verdict) << c.what;
    }
}

TEST(SampleJudgement, FiguresAreTheSamplesOwn) {
    const SampleJudgement j = JudgeSample(VSample(), Need(20.0, {{960.0, 3.0}, {1040.0, 4.0}}, 3.0));
    ASSERT_TRUE(j.Judged);
    EXPECT_NEAR(j.LossAtF0Db, 2.2, 1e-12);
    EXPECT_NEAR(j.LossMarginDb, 0.8, 1e-12);
    ASSERT_EQ(j.Points.size(), 2u);
    // dBc against the sample's own loss at F0, not the absolute loss (6.2 dB at 960 MHz).
    EXPECT_NEAR(j.Points[0].MeasuredDbc, 4.0, 1e-12);
    EXPECT_NEAR(j.Points[0].MarginDb, 1.0, 1e-12);
    EXPECT_TRUE(j.Points[0].Pass);
    EXPECT_NEAR(j.Points[1].MeasuredDbc, 3.6, 1e-12);
    EXPECT_FALSE(j.Points[1].Pass);
    const SamplePassband& b = j.Passband;
    ASSERT_TRUE(b.Found);
    EXPECT_NEAR(b.LowestLossDb, 2.0, 1e-12);
    EXPECT_NEAR(b.LowerEdgeMhz, 992.0, 1e-9);
    EXPECT_NEAR(b.UpperEdgeMhz, 1012.0, 1e-9);
    EXPECT_NEAR(b.BandwidthMhz, 20.0, 1e-9);
    EXPECT_NEAR(b.CentreMhz, 1002.0, 1e-9);
    EXPECT_NEAR(b.ShiftMhz, 2.0, 1e-9);
    // Across 990 to 1010 MHz the highest loss is at 990: 3.2 dB, 1.2 dB above the least.
    EXPECT_NEAR(b.HighestLossDb, 3.2, 1e-12);
    EXPECT_NEAR(b.FlatnessDb, 1.2, 1e-12);
    EXPECT_NEAR(j.DelayAtF0Ns, 10.0, 1e-9);
    EXPECT_NEAR(j.DelayApertureMhz, 2.5, 1e-12);
}

TEST(SampleJudgement, EdgesAreFoundWalkingOutOfThePassbandNotInFromTheSkirt) {
    // A spurious dip far out in the stopband dropping below the edge level must not become an edge.
    MeasuredTrace t = VSample();
    for (size_t i = 0; i < t.FrequenciesMhz.size(); ++i)
        if (t.FrequenciesMhz[i] >= 940 && t.FrequenciesMhz[i] <= 945) t.AttenuationDb[i] = 2.5;
    const SampleJudgement j = JudgeSample(t, Need(20.0, {}));
    EXPECT_NEAR(j.Passband.LowerEdgeMhz, 992.0, 1e-9);
    EXPECT_NEAR(j.Passband.UpperEdgeMhz, 1012.0, 1e-9);
}

TEST(SampleJudgement, WhatCannotBeJudgedSaysWhy) {
    MeasuredTrace onePort = VSample();
    onePort.Ports = 1;
    onePort.AttenuationDb.clear();
    onePort.PhaseRad.clear();
    const SampleJudgement a = JudgeSample(onePort, Need(20.0, {}));
    EXPECT_FALSE(a.Judged);
    EXPECT_EQ(a.NotJudged, "the measurement has no S21");
    FinderRequirement far = Need(20.0, {});
    far.F0 = 1500.0;
    const SampleJudgement b = JudgeSample(VSample(), far);
    EXPECT_FALSE(b.Judged);
    EXPECT_NE(b.NotJudged.find("does not reach F0 1500.000 MHz"), std::string::npos) << b.NotJudged;
    EXPECT_EQ(SampleJudgementLines(b).back(), "The sample is not judged: " + b.NotJudged);
}

TEST(FittedDelay, RunningSumsAgreeWithTheDirectFitAndAverageNoise) {
    // 20,000 points with a varying delay and phase noise: the whole-sweep fit (running sums) gives at
    // every point what the direct fit does, and the noise that a two-point difference shows averages out.
    std::mt19937 random(24);
    std::normal_distribution<double> noise(0.0, 3e-4);
    std::vector<double> f, phase, clean;
    double p = 0.0;
    for (int i = 0; i < 20000; ++i) {
        f.push_back(900.0 + i * 0.01);
        const double delay = 15.0 + 5.0 * std::sin(i * 1e-3);
        if (i > 0) p -= 2.0 * kPiValue * delay / 1000.0 * 0.01;
        clean.push_back(delay);
        phase.push_back(p + noise(random));
    }
    const std::vector<double> fitted = FittedDelayNs(f, phase, 2.5);
    const std::vector<double> twoPoint = GroupDelayNs(f, phase);
    double worstFit = 0.0, worstTwoPoint = 0.0;
    for (size_t i = 0; i < f.size(); i += 97) {
        EXPECT_NEAR(fitted[i], FittedDelayAtNs(f, phase, f[i], 2.5), 1e-6) << f[i];
        if (f[i] > 905.0 && f[i] < 1095.0) {
            worstFit = std::max(worstFit, std::abs(fitted[i] - clean[i]));
            worstTwoPoint = std::max(worstTwoPoint, std::abs(twoPoint[i] - clean[i]));
        }
    }
    EXPECT_LT(worstFit, 0.3);
    EXPECT_GT(worstTwoPoint, 1.0);
    EXPECT_TRUE(std::isnan(FittedDelayAtNs(f, phase, 1200.0, 2.5)));
}

}  // namespace
