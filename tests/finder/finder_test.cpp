#include "finder/finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>

#include "engine/response.h"
#include "engine/selection.h"

namespace veltrix {
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

// What one paint of the specification screen shows for the combination, the points as F1 and F2.
struct Painted {
    FilterSpec spec;
    SelectionResults sel;
};
Painted Paint(const FinderRequirement& r, int32_t sections, int32_t profile, char dielectric, char mounting) {
    Painted p{FinderSpec(r, sections, profile, dielectric, mounting), {}};
    p.spec.F1 = r.Stopbands.size() > 0 ? r.Stopbands[0].FrequencyMhz : 0.0;
    p.spec.F2 = r.Stopbands.size() > 1 ? r.Stopbands[1].FrequencyMhz : 0.0;
    ResponseData rd;
    p.sel = ComputeSelection(p.spec, rd);
    return p;
}

TEST(Finder, EveryPartIsWhatTheScreenShowsAndMeetsTheRequirement) {
    const FinderRequirement r = Example();
    const FinderResults found = FindParts(r);
    ASSERT_FALSE(found.Parts.empty());
    EXPECT_EQ(found.Parts.size() + found.Misses.size(), 5u * 2u * 3u * 3u) << "every combination once";
    for (const FoundPart& part : found.Parts) {
        SCOPED_TRACE(part.PartNumber);
        const Painted p = Paint(r, part.Sections, part.Profile, part.Dielectric, part.Mounting);
        ASSERT_EQ(p.spec.SelStatus, kSelectionValid);
        EXPECT_EQ(part.PartNumber, p.sel.Outcome.PartNumber);
        EXPECT_EQ(part.InsertionLossDb, p.sel.Outcome.FoLoss);
        ASSERT_EQ(part.Stopbands.size(), 2u);
        EXPECT_EQ(part.Stopbands[0].AttenuationDbc, p.sel.F1Attenuation);
        EXPECT_EQ(part.Stopbands[1].AttenuationDbc, p.sel.F2Attenuation);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(part.Stopbands[i].RequiredDbc, r.Stopbands[i].MinAttenuationDbc);
            EXPECT_EQ(part.Stopbands[i].GuaranteedDbc, std::min(part.Stopbands[i].AttenuationDbc, 60.0));
            EXPECT_EQ(part.Stopbands[i].MarginDb,
                      part.Stopbands[i].GuaranteedDbc - part.Stopbands[i].RequiredDbc);
            EXPECT_GE(part.Stopbands[i].MarginDb, 0.0);
        }
    }
    // Best first: insertion loss, then fewer sections, then the smaller profile.
    for (size_t i = 1; i < found.Parts.size(); ++i) {
        const FoundPart& a = found.Parts[i - 1];
        const FoundPart& b = found.Parts[i];
        EXPECT_LE(std::tie(a.InsertionLossDb, a.Sections, a.Profile),
                  std::tie(b.InsertionLossDb, b.Sections, b.Profile))
            << a.PartNumber << " before " << b.PartNumber;
    }
}

TEST(Finder, EveryMissSaysTheFirstReasonTheScreenOrTheRequirementGives) {
    const FinderRequirement r = Example();
    const FinderResults found = FindParts(r);
    ASSERT_FALSE(found.Misses.empty());
    int shortfalls = 0;
    for (const FinderMiss& miss : found.Misses) {
        const Painted p = Paint(r, miss.Sections, miss.Profile, miss.Dielectric, miss.Mounting);
        SCOPED_TRACE(p.sel.Outcome.PartNumber + ": " + miss.Reason);
        if (p.spec.SelStatus != kSelectionValid) {
            const auto& lines = p.sel.Outcome.MessageLines;
            ASSERT_FALSE(lines.empty());
            EXPECT_EQ(miss.Reason, lines.front());
            continue;
        }
        ++shortfalls;
        const bool firstShort = p.sel.F1Attenuation < 40.0;
        ASSERT_TRUE(firstShort || p.sel.F2Attenuation < 35.0);
        char expected[160];
        if (firstShort) {
            std::snprintf(expected, sizeof expected,
                          "Attenuation at 1400.00 MHz is %.2f dBc, %.2f dB short of 40.00 dBc",
                          p.sel.F1Attenuation, 40.0 - p.sel.F1Attenuation);
        } else {
            std::snprintf(expected, sizeof expected,
                          "Attenuation at 1620.00 MHz is %.2f dBc, %.2f dB short of 35.00 dBc",
                          p.sel.F2Attenuation, 35.0 - p.sel.F2Attenuation);
        }
        EXPECT_EQ(miss.Reason, expected);
    }
    EXPECT_GT(shortfalls, 0) << "two sections fall short of 40 dBc at 1400 MHz";
    const auto dlDropIn = std::find_if(found.Misses.begin(), found.Misses.end(), [](const FinderMiss& m) {
        return m.Dielectric == 'L' && m.Mounting == kMountDropIn;
    });
    ASSERT_NE(dlDropIn, found.Misses.end());
    EXPECT_EQ(dlDropIn->Reason, "No DL Parts for Drop-in Mounting");
}

TEST(Finder, RestrictionsAndMaximumLossNarrowTheSearch) {
    FinderRequirement r = Example();
    r.Mountings = {kMountSurfaceTab};
    r.Profiles = {1};
    r.MaxInsertionLossDb = 2.5;
    const FinderResults found = FindParts(r);
    EXPECT_EQ(found.Parts.size() + found.Misses.size(), 5u * 1u * 3u * 1u);
    ASSERT_FALSE(found.Parts.empty());
    for (const FoundPart& part : found.Parts) {
        EXPECT_EQ(part.Mounting, kMountSurfaceTab);
        EXPECT_EQ(part.Profile, 1);
        EXPECT_LE(part.InsertionLossDb, 2.5);
    }
    const bool lossNamed = std::any_of(found.Misses.begin(), found.Misses.end(), [](const FinderMiss& m) {
        return m.Reason.rfind("Insertion loss ", 0) == 0 &&
               m.Reason.find("exceeds the maximum 2.50 dB by") != std::string::npos;
    });
    EXPECT_TRUE(lossNamed);

    // Nothing allowed: nothing judged.
    r.Dielectrics.clear();
    const FinderResults none = FindParts(r);
    EXPECT_TRUE(none.Parts.empty());
    EXPECT_TRUE(none.Misses.empty());
}

// A requirement is met by what the maker guarantees: the computed attenuation, at most 60 dBc below
// an fo of 2000 MHz and 30 dBc from there.
struct GuaranteeCase {
    const char* name;
    double f0;
    double bw;
    StopbandRequirement point;
    double guarantee;
    const char* reason;  // of every standard combination; nullptr when parts meet the requirement
};

class FinderGuarantee : public ::testing::TestWithParam<GuaranteeCase> {};

TEST_P(FinderGuarantee, OnlyTheGuaranteedFigureCounts) {
    const GuaranteeCase& c = GetParam();
    FinderRequirement r;
    r.F0 = c.f0;
    r.BW = c.bw;
    r.Stopbands = {c.point};
    const FinderResults found = FindParts(r);
    for (const FoundPart& part : found.Parts) {
        SCOPED_TRACE(part.PartNumber);
        ASSERT_EQ(part.Stopbands.size(), 1u);
        const StopbandResult& s = part.Stopbands[0];
        const Painted p = Paint(r, part.Sections, part.Profile, part.Dielectric, part.Mounting);
        EXPECT_EQ(s.AttenuationDbc, p.sel.F1Attenuation) << "the computed figure is still the screen's";
        EXPECT_EQ(s.GuaranteedDbc, std::min(s.AttenuationDbc, c.guarantee));
        EXPECT_EQ(s.MarginDb, s.GuaranteedDbc - c.point.MinAttenuationDbc);
        EXPECT_GE(s.GuaranteedDbc, c.point.MinAttenuationDbc);
    }
    // Some design computes past the requirement, so only the guarantee can keep it out.
    int reaching = 0;
    int standard = 0;
    for (const FinderMiss& miss : found.Misses) {
        const Painted p = Paint(r, miss.Sections, miss.Profile, miss.Dielectric, miss.Mounting);
        if (p.spec.SelStatus != kSelectionValid) continue;
        ++standard;
        if (p.sel.F1Attenuation >= c.point.MinAttenuationDbc) ++reaching;
        if (c.reason != nullptr) {
            EXPECT_EQ(miss.Reason, c.reason) << p.sel.Outcome.PartNumber;
        }
    }
    if (c.reason == nullptr) {
        EXPECT_FALSE(found.Parts.empty());
        const bool capped = std::any_of(found.Parts.begin(), found.Parts.end(), [&](const FoundPart& part) {
            return part.Stopbands[0].AttenuationDbc > c.guarantee &&
                   part.Stopbands[0].GuaranteedDbc == c.guarantee;
        });
        EXPECT_TRUE(capped) << "a part computing past the guarantee is judged at the guarantee";
    } else {
        EXPECT_TRUE(found.Parts.empty())
            << found.Parts.size() << " parts, the first " << found.Parts[0].PartNumber;
        EXPECT_GT(standard, 0);
        EXPECT_GT(reaching, 0) << "no design computes that much: the case shows nothing";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinderGuarantee,
    ::testing::Values(
        GuaranteeCase{"FromTwoGigahertzNothingBeyond30",
                      2400.0,
                      40.0,
                      {2250.0, 45.0},
                      30.0,
                      "Attenuation at 2250.00 MHz: 45.00 dBc required, 30 dBc guaranteed for fo >= 2000 MHz"},
        GuaranteeCase{"BelowTwoGigahertzNothingBeyond60",
                      1500.0,
                      30.0,
                      {1400.0, 75.0},
                      60.0,
                      "Attenuation at 1400.00 MHz: 75.00 dBc required, 60 dBc guaranteed for fo < 2000 MHz"},
        GuaranteeCase{"AtTwoGigahertzItselfThe30Applies",
                      2000.0,
                      40.0,
                      {1850.0, 31.0},
                      30.0,
                      "Attenuation at 1850.00 MHz: 31.00 dBc required, 30 dBc guaranteed for fo >= 2000 MHz"},
        GuaranteeCase{"The30ItselfIsMet", 2400.0, 40.0, {2250.0, 30.0}, 30.0, nullptr},
        GuaranteeCase{"JustBelowTwoGigahertzThe60IsMet", 1999.9, 40.0, {1850.0, 60.0}, 60.0, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Finder, WithoutStopbandsEveryStandardPartQualifies) {
    FinderRequirement r = Example();
    r.Stopbands.clear();
    const FinderResults found = FindParts(r);
    std::set<std::string> numbers;
    for (const FoundPart& part : found.Parts) numbers.insert(part.PartNumber);
    EXPECT_EQ(numbers.size(), found.Parts.size());
    for (const FinderMiss& miss : found.Misses) {
        const Painted p = Paint(r, miss.Sections, miss.Profile, miss.Dielectric, miss.Mounting);
        EXPECT_NE(p.spec.SelStatus, kSelectionValid) << miss.Reason;
    }
}

}  // namespace
}  // namespace veltrix
