#include <gtest/gtest.h>

#include "engine/tables.h"

namespace veltrix {
namespace {

using D = DielectricMaterial;
using M = MountingStyle;
using P = ResonatorProfile;

TEST(UnloadedQTest, MatchesTheResonatorFigures) {
    struct Case {
        P profile;
        D dielectric;
        double q;
    } cases[] = {{P::Mm4, D::DR, 300.2},
                 {P::Mm6, D::DR, 432.1},
                 {P::Mm12, D::DR, 923.9},
                 {P::Mm4, D::DL, 311.1},
                 {P::Mm4, D::DH, 270.2}};
    for (const Case& c : cases) {
        EXPECT_NEAR(UnloadedQ(c.profile, c.dielectric, 1000.0), c.q, 0.05)
            << CodeOf(c.profile) << CodeOf(c.dielectric);
    }
    // A dielectric outside the table takes the DL constant.
    EXPECT_EQ(UnloadedQ(P::Mm4, static_cast<D>(99), 1000.0), UnloadedQ(P::Mm4, D::DL, 1000.0));
}

TEST(DelayTableTest, RowsAreWellFormed) {
    for (int row = 0; row < 5; ++row) {
        for (int i = 1; i < kDelayPoints; ++i) {
            EXPECT_GT(NormalisedDelayTable[row][i].x, NormalisedDelayTable[row][i - 1].x) << row << " " << i;
        }
        EXPECT_EQ(NormalisedDelayTable[row][19].x, 950);
        EXPECT_EQ(NormalisedDelayTable[row][57].x, 8000);
    }
    EXPECT_EQ(NormalisedDelayTable[4][1].x, 40);
    EXPECT_EQ(NormalisedDelayTable[3][57].y, 32);  // n = 5 ends below n = 4
    EXPECT_EQ(NormalisedDelayTable[4][19].y, 9756);
}

TEST(DelayLookupTest, InterpolatesAlongTheRow) {
    struct Case {
        double x;
        int32_t n;
        double expected;
    } cases[] = {
        {0.0, 2, 1.410},
        {0.0, 6, 4.530},
        {1.0, 2, 1.446},
        {1.025, 2, 1.4065},
        {8.0, 2, 0.030},
        {50.0, 5, 0.032},
        {0.045, 6, 4.537 + (4.555 - 4.537) * (0.005 / 0.06)},
        {0.975, 4, 4.6245},
        {2.1, 3, 0.520 - (0.520 - 0.392) * 0.4},
    };
    for (const Case& c : cases) EXPECT_NEAR(DelayLookup(c.x, c.n), c.expected, 1e-12) << c.x << " n=" << c.n;
}

TEST(MaxBandwidthTest, ReadsAndInterpolatesTheTables) {
    struct Case {
        double f0;
        P profile;
        D dielectric;
        M mounting;
        double expected;
    } cases[] = {
        {1500, P::Mm4, D::DR, M::SurfaceTab, 123.0},               // a row of its own: 8.2 percent
        {1550, P::Mm4, D::DR, M::SurfaceTab, 1550 * 8.55 * 0.01},  // halfway to the next row
        {1000, P::Mm6, D::DL, M::Orbis, 1000 * 12.1 * 0.01 * 1.3088},
        {800, P::Mm12, D::DH, M::Orbis, 80.0},  // 12 mm: ten percent whatever the table says
        {800, P::Mm12, D::DL, M::DropIn, 80.0},
        {500, P::Mm4, D::DR, M::Orbis, 19.5},
        {1000, P::Mm4, D::DH, M::DropIn, 32.0},
        {3100, P::Mm6, D::DR, M::SurfaceTab, 3100 * 23.7 * 0.01},
        {3500, P::Mm4, D::DR, M::Orbis, 3500 * 23.0 * 0.01},  // beyond the table the last row holds
    };
    for (const Case& c : cases) {
        EXPECT_NEAR(MaxBandwidth(c.f0, c.profile, c.dielectric, c.mounting), c.expected, 1e-9)
            << c.f0 << " " << CodeOf(c.profile) << CodeOf(c.dielectric) << CodeOf(c.mounting);
    }
    EXPECT_NEAR(MaxBandwidth(1550, P::Mm4, D::DR, M::SurfaceTab) / 1550 * 100, 8.55, 1e-12);
}

TEST(SectionLossTest, CoefficientsAndExtraLoss) {
    EXPECT_EQ(SectionLossTable[0], 0.0);
    EXPECT_EQ(SectionLossTable[2], 12.27735);
    EXPECT_EQ(SectionLossTable[6], 39.43914);
    EXPECT_EQ(SectionLossTable[16], 121.9127);
    // 0.2125 * 0.05783^(1/p) * p^-0.272 at p = 1 is 0.2125 * 0.05783.
    EXPECT_DOUBLE_EQ(SectionExtraLoss(1.0), 0.2125 * 0.05783);
}

}  // namespace
}  // namespace veltrix
