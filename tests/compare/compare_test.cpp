#include "compare/compare.h"

#include <gtest/gtest.h>

#include "exports/exports.h"

using namespace veltrix;

namespace {

// 1500 MHz, 30 MHz at 1.0 dB, at least 40 dBc at 1400 MHz and 35 dBc at 1620 MHz.
FinderRequirement Example() {
    FinderRequirement r;
    r.F0 = 1500.0;
    r.BW = 30.0;
    r.PassbandIndex = 1;
    r.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}};
    return r;
}

FilterSpec SpecOf(const FinderRequirement& r, const FoundPart& part) {
    return FinderSpec(r, part.Sections, part.Profile, part.Dielectric, part.Mounting);
}

class CompareParts : public ::testing::Test {
  protected:
    void SetUp() override {
        found_ = FindParts(requirement_);
        ASSERT_GE(found_.Parts.size(), 3u);
        comparison_.SetLimits(requirement_.Stopbands);
        for (size_t i = 0; i < 3; ++i) {
            ASSERT_EQ(comparison_.Add(SpecOf(requirement_, found_.Parts[i])), "");
        }
    }
    FinderRequirement requirement_ = Example();
    FinderResults found_;
    Comparison comparison_;
};

TEST_F(CompareParts, SpanFollowsGraphWidthAndZoomAroundFirstCentre) {
    const ResponseTable first = ComputeResponseTable(comparison_.Parts().front());
    struct Case {
        int width;
        int zoomIns;
        double spanBandwidths;
    };
    for (const Case& c :
         {Case{3, 0, 3.0}, Case{6, 0, 6.0}, Case{2, 1, 1.0}, Case{4, 2, 1.0}, Case{1, 9, 1.0 / 16.0}}) {
        comparison_.SetGraphWidth(c.width);
        while (comparison_.Zoom() > 0) comparison_.ZoomOut();
        for (int i = 0; i < c.zoomIns; ++i) comparison_.ZoomIn();
        const CompareSpan span = comparison_.Span();
        EXPECT_NEAR(span.ToMhz - span.FromMhz, c.spanBandwidths * first.BandwidthMhz, 1e-9) << c.width;
        EXPECT_NEAR((span.ToMhz + span.FromMhz) / 2.0, first.CentreFrequencyMhz, 1e-9);
        for (const CompareCurve& curve : comparison_.Curves()) {
            EXPECT_NEAR(curve.FrequenciesMhz.front(), span.FromMhz, 1e-6);
            EXPECT_NEAR(curve.FrequenciesMhz.back(), span.ToMhz, 1e-6);
        }
    }
    comparison_.ZoomOut();
    comparison_.ZoomOut();
    comparison_.ZoomOut();
    comparison_.ZoomOut();
    comparison_.ZoomOut();
    EXPECT_EQ(comparison_.Zoom(), 0);
}

TEST_F(CompareParts, MarkerStepsOnePointAndStaysOnTheSweep) {
    const int start = comparison_.MarkerIndex();
    comparison_.MoveMarker(1);
    EXPECT_EQ(comparison_.MarkerIndex(), start + 1);
    EXPECT_DOUBLE_EQ(comparison_.MarkerMhz(), comparison_.Curves()[0].FrequenciesMhz[start + 1]);
    comparison_.MoveMarker(-1000);
    EXPECT_EQ(comparison_.MarkerIndex(), 0);
    comparison_.MoveMarker(1000);
    EXPECT_EQ(comparison_.MarkerIndex(), kCompareSweepSteps);
    comparison_.PlaceMarker(comparison_.Span().FromMhz - 500.0);
    EXPECT_EQ(comparison_.MarkerIndex(), 0);
    comparison_.PlaceMarker(comparison_.Curves()[0].FrequenciesMhz[42]);
    EXPECT_EQ(comparison_.MarkerIndex(), 42);
}

TEST_F(CompareParts, MarkerTableIsTheEnginesFiguresAtTheMarker) {
    for (const int steps : {0, 37, -80}) {
        comparison_.MoveMarker(steps);
        const double f = comparison_.MarkerMhz();
        const std::vector<MarkerRow> rows = comparison_.MarkerRows();
        ASSERT_EQ(rows.size(), 3u);
        for (size_t i = 0; i < rows.size(); ++i) {
            const ResponseTable at = ComputeResponseTable(comparison_.Parts()[i], {2, 0.0, f, f + 1.0});
            ASSERT_TRUE(at.Standard);
            EXPECT_EQ(rows[i].Name, at.PartNumber);
            EXPECT_NEAR(rows[i].AttenuationDbc, at.Points[0].AttenuationDb - at.InsertionLossDb, 1e-6) << f;
            EXPECT_NEAR(rows[i].ReturnLossDb, at.Points[0].ReturnLossDb, 1e-6) << f;
            EXPECT_NEAR(rows[i].DelayNs, at.Points[0].DelayNs, 1e-6) << f;
        }
    }
}

TEST_F(CompareParts, MarginsAreTheFindersGuaranteedMargins) {
    const std::vector<MarkerRow> rows = comparison_.MarkerRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const FoundPart& part = found_.Parts[i];
        EXPECT_EQ(rows[i].Name, part.PartNumber);
        ASSERT_EQ(rows[i].Margins.size(), part.Stopbands.size());
        for (size_t k = 0; k < part.Stopbands.size(); ++k) {
            EXPECT_EQ(rows[i].Margins[k].GuaranteedDbc, part.Stopbands[k].GuaranteedDbc);
            EXPECT_EQ(rows[i].Margins[k].MarginDb, part.Stopbands[k].MarginDb);
            EXPECT_EQ(rows[i].Margins[k].RequiredDbc, part.Stopbands[k].RequiredDbc);
        }
    }
}

TEST_F(CompareParts, RefusesNonStandardRepeatedAndSeventhParts) {
    FilterSpec refused;
    refused.F0 = 500.0;
    EXPECT_NE(comparison_.Add(refused).find("Only a standard part can be compared"), std::string::npos);
    EXPECT_NE(comparison_.Add(comparison_.Parts()[0]).find("already in the comparison"), std::string::npos);
    ASSERT_GT(found_.Parts.size(), static_cast<size_t>(kMaxComparedParts));
    std::vector<FilterSpec> more;
    for (const FoundPart& part : found_.Parts) more.push_back(SpecOf(requirement_, part));
    for (const FilterSpec& spec : more) {
        if (comparison_.Parts().size() == kMaxComparedParts) break;
        comparison_.Add(spec);
    }
    ASSERT_EQ(comparison_.Parts().size(), static_cast<size_t>(kMaxComparedParts));
    const std::vector<CompareCurve> before = comparison_.Curves();
    std::string refusal;
    for (const FilterSpec& spec : more) {
        const std::string r = comparison_.Add(spec);
        if (r.find("at most 6 parts") != std::string::npos) refusal = r;
    }
    EXPECT_FALSE(refusal.empty());
    ASSERT_EQ(comparison_.Curves().size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(comparison_.Curves()[i].Name, before[i].Name);
    comparison_.Remove(1);
    EXPECT_EQ(comparison_.Parts().size(), 5u);
    EXPECT_EQ(comparison_.Curves()[1].Name, before[2].Name);
}

}  // namespace
