#include "compare/compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

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

TEST_F(CompareParts, MarginsAreTheFindersWorstCaseMargins) {
    const std::vector<MarkerRow> rows = comparison_.MarkerRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        const FoundPart& part = found_.Parts[i];
        EXPECT_EQ(rows[i].Name, part.PartNumber);
        ASSERT_EQ(rows[i].Margins.size(), part.Stopbands.size());
        for (size_t k = 0; k < part.Stopbands.size(); ++k) {
            EXPECT_EQ(rows[i].Margins[k].GuaranteedDbc, part.Stopbands[k].GuaranteedDbc);
            EXPECT_EQ(rows[i].Margins[k].WorstCaseDbc, part.Stopbands[k].WorstCaseDbc);
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

// Four measured points around 1500 MHz: the least loss (1.0 dB) at 1490 MHz, 1.5 dB at F0.
MeasuredTrace FourPoints() {
    return {2,
            {1480.0, 1490.0, 1500.0, 1520.0},
            {3.0, 1.0, 1.5, 5.5},
            {10.0, 14.0, 20.0, 30.0},
            {5.0, 5.5, 6.0, 7.0}};
}

TEST_F(CompareParts, MeasuredIsInDbcAtTheFirstCentreAndInterpolatedAtTheMarker) {
    comparison_.SetMeasured("dut.s2p", FourPoints());
    ASSERT_TRUE(comparison_.HasMeasured());
    EXPECT_EQ(comparison_.Parts().size(), 3u) << "not counted among the parts";
    const CompareCurve& curve = comparison_.MeasuredCurve();
    EXPECT_EQ(curve.Name, "dut.s2p");
    EXPECT_EQ(curve.AttenuationDbc, (std::vector<double>{1.5, -0.5, 0.0, 4.0}));

    struct Case {
        double placedMhz;
        double dbc, returnLoss, delay;  // NaN: blank
    };
    const double none = std::nan("");
    for (const Case& c : {Case{1510.0, 2.0, 25.0, 6.5}, Case{1485.0, 0.5, 12.0, 5.25},
                          Case{1470.0, none, none, none}, Case{1530.0, none, none, none}}) {
        comparison_.PlaceMarker(c.placedMhz);
        ASSERT_NEAR(comparison_.MarkerMhz(), c.placedMhz, 1e-9) << "the case lies on a sweep point";
        const MarkerRow row = comparison_.MeasuredAtMarker();
        EXPECT_EQ(row.Name, "dut.s2p");
        const double got[] = {row.AttenuationDbc, row.ReturnLossDb, row.DelayNs};
        const double want[] = {c.dbc, c.returnLoss, c.delay};
        for (int k = 0; k < 3; ++k) {
            if (std::isnan(want[k]))
                EXPECT_TRUE(std::isnan(got[k])) << c.placedMhz << " " << k << " " << got[k];
            else
                EXPECT_NEAR(got[k], want[k], 1e-9) << c.placedMhz << " " << k;
        }
    }

    // Without a part the least loss is the reference, and the span is the file's.
    while (!comparison_.Parts().empty()) comparison_.Remove(0);
    EXPECT_EQ(comparison_.MeasuredCurve().AttenuationDbc, (std::vector<double>{2.0, 0.0, 0.5, 4.5}));
    EXPECT_EQ(comparison_.Span().FromMhz, 1480.0);
    EXPECT_EQ(comparison_.Span().ToMhz, 1520.0);
    EXPECT_TRUE(comparison_.MeasuredDeviations().Summary.empty());
}

TEST_F(CompareParts, ANewMeasuredFileReplacesTheOldAndRemovingLeavesTheParts) {
    comparison_.SetMeasured("first.s2p", FourPoints());
    MeasuredTrace onePort{1, {1400.0, 1600.0}, {}, {8.0, 18.0}, {}};
    comparison_.SetMeasured("second.s1p", onePort);
    EXPECT_EQ(comparison_.MeasuredCurve().Name, "second.s1p");
    EXPECT_TRUE(comparison_.MeasuredCurve().AttenuationDbc.empty());
    comparison_.PlaceMarker(1500.0);
    const MarkerRow row = comparison_.MeasuredAtMarker();
    EXPECT_NEAR(row.ReturnLossDb, 13.0, 1e-9);
    EXPECT_TRUE(std::isnan(row.AttenuationDbc));
    EXPECT_TRUE(std::isnan(row.DelayNs));
    EXPECT_TRUE(comparison_.MeasuredDeviations().Summary.empty()) << "no attenuation in a 1-port file";

    comparison_.RemoveMeasured();
    EXPECT_FALSE(comparison_.HasMeasured());
    EXPECT_EQ(comparison_.Parts().size(), 3u);
    EXPECT_TRUE(std::isnan(comparison_.MeasuredAtMarker().ReturnLossDb));
}

TEST_F(CompareParts, TheFirstPartsOwnResponseAsMeasuredDeviatesByNothing) {
    const FilterSpec& first = comparison_.Parts().front();
    std::vector<double> f;
    for (int i = 0; i <= 500; ++i) f.push_back(1400.0 + i * 0.5);
    const ResponseTable model = ComputeResponseAt(first, f);
    MeasuredTrace trace{2, f, {}, {}, {}};
    for (const ResponsePoint& p : model.Points) {
        trace.AttenuationDb.push_back(p.AttenuationDb + 0.25);
        trace.ReturnLossDb.push_back(p.ReturnLossDb);
        trace.DelayNs.push_back(p.DelayNs);
    }
    comparison_.SetMeasured("model.s2p", trace);
    const MeasuredComparison& d = comparison_.MeasuredDeviations();
    EXPECT_EQ(d.PartNumber, found_.Parts[0].PartNumber);
    std::vector<std::string> keys;
    for (const DeviationEntry& e : d.Summary) {
        keys.push_back(e.Key);
        if (e.Key.find("centre_frequency") == std::string::npos) {
            EXPECT_NEAR(e.Deviation, 0.25, 1e-6) << e.Key;
        }
    }
    for (const char* key : {"insertion_loss_db", "lower_edge_db", "upper_edge_db", "requirement_1_db",
                            "requirement_2_db", "passband_largest_deviation_db"})
        EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end()) << key;
    // The added loss is in the deviations, not in the dBc curve. The file is taken against its own
    // loss at F0 and the model against its insertion loss: they differ by the model's ripple at F0,
    // which an even number of sections has there.
    const ResponseTable centre = ComputeResponseAt(first, {first.F0});
    const double rippleAtF0 = centre.Points[0].AttenuationDb - centre.InsertionLossDb;
    comparison_.PlaceMarker(1520.0);
    const MarkerRow measured = comparison_.MeasuredAtMarker();
    EXPECT_NEAR(measured.AttenuationDbc, comparison_.MarkerRows()[0].AttenuationDbc - rippleAtF0, 1e-4);
    EXPECT_NEAR(measured.ReturnLossDb, comparison_.MarkerRows()[0].ReturnLossDb, 1e-6);
}

}  // namespace

namespace {

TEST(CompareSpanTest, OpensWideEnoughForEveryRequiredPointUntilAWidthIsChosen) {
    const FinderRequirement r = Example();
    const FinderResults found = FindParts(r);
    ASSERT_FALSE(found.Parts.empty());
    const FilterSpec part = SpecOf(r, found.Parts[0]);
    const ResponseTable first = ComputeResponseTable(part);
    const double threeBandwidths = 3.0 * first.BandwidthMhz;
    struct Case {
        std::vector<StopbandRequirement> limits;
        double lowest, highest;  // the points the span must show
    };
    for (const Case& c :
         {Case{{{1400.0, 40.0}}, 1400.0, 1400.0}, Case{{{1400.0, 40.0}, {1620.0, 35.0}}, 1400.0, 1620.0},
          Case{{{1570.0, 20.0}}, 1570.0, 1570.0},
          Case{{}, first.CentreFrequencyMhz, first.CentreFrequencyMhz}}) {
        Comparison comparison;
        comparison.SetLimits(c.limits);
        ASSERT_EQ(comparison.Add(part), "");
        const CompareSpan span = comparison.Span();
        EXPECT_LT(span.FromMhz, c.lowest) << c.lowest;
        EXPECT_GT(span.ToMhz, c.highest) << c.highest;
        EXPECT_GE(span.ToMhz - span.FromMhz, threeBandwidths - 1e-9) << "never narrower than the default";
        EXPECT_NEAR((span.ToMhz + span.FromMhz) / 2.0, first.CentreFrequencyMhz, 1e-9);
        // The curves are computed over the whole span, so the limits sit on them.
        EXPECT_NEAR(comparison.Curves()[0].FrequenciesMhz.front(), span.FromMhz, 1e-6);
        comparison.SetGraphWidth(1);
        EXPECT_NEAR(comparison.Span().ToMhz - comparison.Span().FromMhz, first.BandwidthMhz, 1e-9)
            << "a chosen width is kept";
    }
}

TEST_F(CompareParts, ZoomKeepsTheMarkerAtItsFrequencyAndATypedFrequencyIsExact) {
    comparison_.PlaceMarker(1491.234);
    EXPECT_DOUBLE_EQ(comparison_.MarkerMhz(), 1491.234);
    const ResponseTable at = ComputeResponseAt(comparison_.Parts()[0], {1491.234});
    ASSERT_EQ(at.Points.size(), 1u);
    EXPECT_NEAR(comparison_.MarkerRows()[0].AttenuationDbc, at.Points[0].AttenuationDb - at.InsertionLossDb,
                1e-9);
    EXPECT_NEAR(comparison_.MarkerRows()[0].InsertionLossDb, at.Points[0].AttenuationDb, 1e-9);
    comparison_.ZoomIn();
    EXPECT_DOUBLE_EQ(comparison_.MarkerMhz(), 1491.234);
    // Zoomed in past it, the marker waits at the nearer edge and comes back on the way out.
    for (int i = 0; i < kMaxCompareZoom; ++i) comparison_.ZoomIn();
    EXPECT_DOUBLE_EQ(comparison_.MarkerMhz(), comparison_.Span().FromMhz);
    EXPECT_EQ(comparison_.MarkerIndex(), 0);
    while (comparison_.Zoom() > 0) comparison_.ZoomOut();
    EXPECT_DOUBLE_EQ(comparison_.MarkerMhz(), 1491.234);
    // A step goes to the next sweep point.
    comparison_.MoveMarker(1);
    const CompareSpan span = comparison_.Span();
    const double step = (span.ToMhz - span.FromMhz) / kCompareSweepSteps;
    EXPECT_NEAR(comparison_.MarkerMhz(), comparison_.Curves()[0].FrequenciesMhz[comparison_.MarkerIndex()],
                1e-9);
    EXPECT_GT(comparison_.MarkerMhz(), 1491.234);
    EXPECT_LE(comparison_.MarkerMhz(), 1491.234 + step * 1.5);
}

}  // namespace
