#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <string>
#include <utility>

#include "engine/filter_spec.h"

namespace veltrix {
namespace {

struct DecimalCase {
    const char* name;
    std::string text;
    double expected;
};

class ReadDecimalTest : public ::testing::TestWithParam<DecimalCase> {};

TEST_P(ReadDecimalTest, ReadsThePlainDecimalPrefix) {
    const double value = ReadDecimal(GetParam().text);
    EXPECT_TRUE(std::isfinite(value));
    EXPECT_EQ(value, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ReadDecimalTest,
    ::testing::Values(DecimalCase{"Empty", "", 0.0}, DecimalCase{"Letters", "abc", 0.0},
                      DecimalCase{"Integer", "1500", 1500.0}, DecimalCase{"Decimal", "1234.56", 1234.56},
                      DecimalCase{"SecondPointEndsNumber", "1.5.3", 1.5},
                      DecimalCase{"TrailingLetters", "12abc", 12.0},
                      DecimalCase{"LeadingBlanks", "   42", 42.0}, DecimalCase{"Negative", "-5", -5.0},
                      DecimalCase{"PlusSign", "+7.25", 7.25}, DecimalCase{"LeadingPoint", ".5", 0.5},
                      DecimalCase{"TrailingPoint", "20.", 20.0}, DecimalCase{"PointAlone", ".", 0.0},
                      DecimalCase{"SignAlone", "-", 0.0}, DecimalCase{"NoExponent", "1e999", 1.0},
                      DecimalCase{"NoTinyExponent", "1e-300", 1.0}, DecimalCase{"NoInfinity", "inf", 0.0},
                      DecimalCase{"NoNan", "nan", 0.0}, DecimalCase{"NoHexadecimal", "0x1A", 0.0},
                      DecimalCase{"CommaEndsNumber", "1,5", 1.0},
                      DecimalCase{"InnerBlankEndsNumber", "1 5", 1.0},
                      DecimalCase{"HugeBecomesLargestDouble", std::string(400, '9'), DBL_MAX},
                      DecimalCase{"HugeNegative", "-" + std::string(400, '9'), -DBL_MAX},
                      DecimalCase{"TinyFraction", "0." + std::string(400, '0') + "1", 0.0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NormalisationTest, AppliesTheEntryFieldLimits) {
    EXPECT_EQ(NormaliseCentreFrequency(50.0), 100.0);
    EXPECT_EQ(NormaliseCentreFrequency(0.0), 100.0);
    EXPECT_EQ(NormaliseCentreFrequency(-5.0), 100.0);
    EXPECT_EQ(NormaliseCentreFrequency(99.999), 100.0);
    EXPECT_EQ(NormaliseCentreFrequency(5000.0), 5000.0);  // the paint clamps it, not the field
    EXPECT_EQ(NormaliseBandwidth(0.0), 1.0);
    EXPECT_EQ(NormaliseBandwidth(0.5), 0.5);
    EXPECT_EQ(NormaliseBandwidth(-3.0), -3.0);  // reaches the rules, which refuse it as extreme
    EXPECT_EQ(NormaliseStopband(-10.0), 0.0);
    EXPECT_EQ(NormaliseStopband(950.0), 950.0);
}

TEST(ChoiceEncodingTest, ListIndicesMapToRecordCodes) {
    const double pbds[] = {0.5, 1.0, 3.0};
    const PassbandChoice passbands[] = {PassbandChoice::Db0_5, PassbandChoice::Db1_0, PassbandChoice::Db3_0};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(PassbandFromIndex(i).PBD, pbds[i]);
        EXPECT_EQ(PassbandFromIndex(i).Passband, passbands[i]);
        EXPECT_EQ(PassbandIndex(pbds[i]), i);
    }
    EXPECT_EQ(DielectricFromIndex(0), DielectricMaterial::DL);
    EXPECT_EQ(DielectricFromIndex(1), DielectricMaterial::DR);
    EXPECT_EQ(DielectricFromIndex(2), DielectricMaterial::DH);
    EXPECT_EQ(IndexOf(DielectricMaterial::DH), 2);
    EXPECT_EQ(SectionsFromIndex(0), 2);
    EXPECT_EQ(SectionsFromIndex(4), 6);
    EXPECT_EQ(ProfileFromIndex(0), ResonatorProfile::Mm4);
    EXPECT_EQ(GraphHalfSpanFromIndex(0), 0.5);
    EXPECT_EQ(GraphHalfSpanFromIndex(5), 3.0);
}

TEST(FilterSpecTest, DefaultsAreTheFirstSelection) {
    const FilterSpec spec;
    EXPECT_EQ(spec.F0, 1000.0);
    EXPECT_EQ(spec.BW, 20.0);
    EXPECT_EQ(spec.BWRequested, 20.0);
    EXPECT_EQ(spec.Sections, 3);
    EXPECT_EQ(spec.Profile, ResonatorProfile::Mm4);
    EXPECT_EQ(spec.Dielectric, DielectricMaterial::DR);
    EXPECT_EQ(spec.Passband, PassbandChoice::Db1_0);
    EXPECT_EQ(spec.Mounting, MountingStyle::Orbis);
    EXPECT_EQ(spec.GraphHalfSpan, 3.0);
}

// The start takes the units from the preference and every other field from the defaults.
TEST(FilterSpecTest, TheStartDrawsInThePreferredUnits) {
    for (const DrawingUnits units : {DrawingUnits::Millimetres, DrawingUnits::Inches}) {
        const FilterSpec start = StartSpecification(units);
        FilterSpec expected;
        expected.Units = units;
        EXPECT_EQ(start, expected) << CodeOf(units);
    }
}

}  // namespace
}  // namespace veltrix
