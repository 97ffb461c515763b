#include "finder/finder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
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

// The maker's tolerances, as the Tolerances dialog states them: attenuation 10 % lower, at most the
// guarantee (60 dBc below 2000 MHz, 30 dBc from there); insertion loss 10 % higher.
double WorstDbc(double computed, double f0) { return std::min(0.9 * computed, f0 < 2000.0 ? 60.0 : 30.0); }
double WorstLossDb(double computed) { return 1.1 * computed; }

// What one paint of the specification screen shows for the combination, the points as F1 and F2.
struct Painted {
    FilterSpec spec;
    SelectionResults sel;
};
Painted Paint(const FinderRequirement& r, int32_t sections, ResonatorProfile profile,
              DielectricMaterial dielectric, MountingStyle mounting) {
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
        EXPECT_DOUBLE_EQ(part.WorstCaseInsertionLossDb, WorstLossDb(p.sel.Outcome.FoLoss));
        ASSERT_EQ(part.Stopbands.size(), 2u);
        EXPECT_EQ(part.Stopbands[0].AttenuationDbc, p.sel.F1Attenuation);
        EXPECT_EQ(part.Stopbands[1].AttenuationDbc, p.sel.F2Attenuation);
        for (size_t i = 0; i < 2; ++i) {
            EXPECT_EQ(part.Stopbands[i].RequiredDbc, r.Stopbands[i].MinAttenuationDbc);
            EXPECT_EQ(part.Stopbands[i].GuaranteedDbc, std::min(part.Stopbands[i].AttenuationDbc, 60.0));
            EXPECT_DOUBLE_EQ(part.Stopbands[i].WorstCaseDbc,
                             WorstDbc(part.Stopbands[i].AttenuationDbc, r.F0));
            EXPECT_DOUBLE_EQ(part.Stopbands[i].MarginDb, WorstDbc(part.Stopbands[i].AttenuationDbc, r.F0) -
                                                             r.Stopbands[i].MinAttenuationDbc);
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
        const double worst1 = WorstDbc(p.sel.F1Attenuation, r.F0);
        const double worst2 = WorstDbc(p.sel.F2Attenuation, r.F0);
        const bool firstShort = worst1 < 40.0;
        ASSERT_TRUE(firstShort || worst2 < 35.0);
        char expected[200];
        if (firstShort) {
            std::snprintf(
                expected, sizeof expected,
                "Attenuation at 1400.00 MHz is %.2f dBc worst case (%.2f dBc computed), %.2f dB short of "
                "40.00 dBc",
                worst1, p.sel.F1Attenuation, 40.0 - worst1);
        } else {
            std::snprintf(
                expected, sizeof expected,
                "Attenuation at 1620.00 MHz is %.2f dBc worst case (%.2f dBc computed), %.2f dB short of "
                "35.00 dBc",
                worst2, p.sel.F2Attenuation, 35.0 - worst2);
        }
        EXPECT_EQ(miss.Reason, expected);
    }
    EXPECT_GT(shortfalls, 0) << "two sections fall short of 40 dBc at 1400 MHz";
    const auto dlDropIn = std::find_if(found.Misses.begin(), found.Misses.end(), [](const FinderMiss& m) {
        return m.Dielectric == DielectricMaterial::DL && m.Mounting == MountingStyle::DropIn;
    });
    ASSERT_NE(dlDropIn, found.Misses.end());
    EXPECT_EQ(dlDropIn->Reason, "No DL Parts for Drop-in Mounting");
}

TEST(Finder, RestrictionsAndMaximumLossNarrowTheSearch) {
    FinderRequirement r = Example();
    r.Mountings = {MountingStyle::SurfaceTab};
    r.Profiles = {ResonatorProfile::Mm4};
    r.MaxInsertionLossDb = 3.2;
    const FinderResults found = FindParts(r);
    EXPECT_EQ(found.Parts.size() + found.Misses.size(), 5u * 1u * 3u * 1u);
    ASSERT_FALSE(found.Parts.empty());
    for (const FoundPart& part : found.Parts) {
        EXPECT_EQ(part.Mounting, MountingStyle::SurfaceTab);
        EXPECT_EQ(part.Profile, ResonatorProfile::Mm4);
        EXPECT_LE(WorstLossDb(part.InsertionLossDb), 3.2);
    }
    const bool lossNamed = std::any_of(found.Misses.begin(), found.Misses.end(), [](const FinderMiss& m) {
        return m.Reason.rfind("Insertion loss ", 0) == 0 &&
               m.Reason.find("exceeds the maximum 3.20 dB by") != std::string::npos;
    });
    EXPECT_TRUE(lossNamed);

    // Nothing allowed: nothing judged.
    r.Dielectrics.clear();
    const FinderResults none = FindParts(r);
    EXPECT_TRUE(none.Parts.empty());
    EXPECT_TRUE(none.Misses.empty());
}

// Nothing beyond the maker's guarantee is counted: at most 60 dBc below an fo of 2000 MHz and 30 dBc
// from there, however much the design computes.
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
        EXPECT_DOUBLE_EQ(s.WorstCaseDbc, std::min(0.9 * s.AttenuationDbc, c.guarantee));
        EXPECT_DOUBLE_EQ(s.MarginDb,
                         std::min(0.9 * s.AttenuationDbc, c.guarantee) - c.point.MinAttenuationDbc);
        EXPECT_GE(s.WorstCaseDbc, c.point.MinAttenuationDbc);
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
            return 0.9 * part.Stopbands[0].AttenuationDbc > c.guarantee &&
                   part.Stopbands[0].GuaranteedDbc == c.guarantee &&
                   part.Stopbands[0].WorstCaseDbc == c.guarantee;
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

// Pass and fail at the edges of the worst case, for one combination: each level is set from the
// engine's computed figures, and the worst case is worked out here from the tolerances alone.
constexpr ResonatorProfile kMm4 = ResonatorProfile::Mm4;
constexpr ResonatorProfile kMm6 = ResonatorProfile::Mm6;
constexpr DielectricMaterial kDR = DielectricMaterial::DR;

enum class Basis { Fixed, WorstCase, ComputedLoss, WorstCaseLoss };

struct BoundaryCase {
    const char* name;
    double f0;
    double bw;
    int32_t sections;
    ResonatorProfile profile;
    DielectricMaterial dielectric;
    MountingStyle mounting;
    double pointMhz;  // 0: no stopband point
    Basis levelBasis;
    double level;     // dBc, or the offset from the basis
    Basis lossBasis;  // Fixed: no highest insertion loss
    bool computedMeets;
    bool meets;
};

void PrintTo(const BoundaryCase& c, std::ostream* os) { *os << c.name; }

class FinderWorstCase : public ::testing::TestWithParam<BoundaryCase> {};

TEST_P(FinderWorstCase, JudgesTheWorstCaseAtItsEdges) {
    const BoundaryCase& c = GetParam();
    FinderRequirement r;
    r.F0 = c.f0;
    r.BW = c.bw;
    r.Profiles = {c.profile};
    r.Dielectrics = {c.dielectric};
    r.Mountings = {c.mounting};
    if (c.pointMhz > 0.0) r.Stopbands = {{c.pointMhz, 0.0}};
    const Painted p = Paint(r, c.sections, c.profile, c.dielectric, c.mounting);
    ASSERT_EQ(p.spec.SelStatus, kSelectionValid);
    const double computed = p.sel.F1Attenuation;
    const double worst = WorstDbc(computed, c.f0);
    const double loss = p.sel.Outcome.FoLoss;
    double required = 0.0;
    if (c.pointMhz > 0.0) {
        required = c.levelBasis == Basis::WorstCase ? worst + c.level : c.level;
        r.Stopbands[0].MinAttenuationDbc = required;
    }
    if (c.lossBasis != Basis::Fixed)
        r.MaxInsertionLossDb = c.lossBasis == Basis::ComputedLoss ? loss : WorstLossDb(loss);

    const bool attenuationMet = c.pointMhz <= 0.0 || worst >= required;
    const bool lossMet = !r.MaxInsertionLossDb || WorstLossDb(loss) <= *r.MaxInsertionLossDb;
    ASSERT_EQ(attenuationMet && lossMet, c.meets) << "the case does not sit where its name says";
    const bool computedMet = (c.pointMhz <= 0.0 || computed >= required) &&
                             (!r.MaxInsertionLossDb || loss <= *r.MaxInsertionLossDb);
    ASSERT_EQ(computedMet, c.computedMeets) << "the case does not sit where its name says";

    const FinderResults found = FindParts(r);
    const auto part = std::find_if(found.Parts.begin(), found.Parts.end(),
                                   [&](const FoundPart& f) { return f.Sections == c.sections; });
    const auto miss = std::find_if(found.Misses.begin(), found.Misses.end(),
                                   [&](const FinderMiss& m) { return m.Sections == c.sections; });
    if (c.meets) {
        ASSERT_NE(part, found.Parts.end()) << miss->Reason;
        EXPECT_EQ(part->PartNumber, p.sel.Outcome.PartNumber);
        EXPECT_DOUBLE_EQ(part->WorstCaseInsertionLossDb, WorstLossDb(loss));
        if (c.pointMhz > 0.0) {
            EXPECT_DOUBLE_EQ(part->Stopbands[0].WorstCaseDbc, worst);
            EXPECT_DOUBLE_EQ(part->Stopbands[0].MarginDb, worst - required);
        }
        return;
    }
    ASSERT_NE(miss, found.Misses.end()) << part->PartNumber << " listed";
    char expected[200];
    const double cap = c.f0 < 2000.0 ? 60.0 : 30.0;
    if (!lossMet) {
        std::snprintf(
            expected, sizeof expected,
            "Insertion loss %.2f dB worst case (%.2f dB computed) exceeds the maximum %.2f dB by %.2f dB",
            WorstLossDb(loss), loss, *r.MaxInsertionLossDb, WorstLossDb(loss) - *r.MaxInsertionLossDb);
    } else if (required > cap) {
        std::snprintf(expected, sizeof expected,
                      "Attenuation at %.2f MHz: %.2f dBc required, %.0f dBc guaranteed for fo %s 2000 MHz",
                      c.pointMhz, required, cap, c.f0 < 2000.0 ? "<" : ">=");
    } else {
        std::snprintf(
            expected, sizeof expected,
            "Attenuation at %.2f MHz is %.2f dBc worst case (%.2f dBc computed), %.2f dB short of %.2f dBc",
            c.pointMhz, worst, computed, required - worst, required);
    }
    EXPECT_EQ(miss->Reason, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FinderWorstCase,
    ::testing::Values(
        // 10 % below its computed 21.9 dBc, the 4 mm three-section DR part misses 20 dBc at 960 MHz.
        BoundaryCase{"ComputedPassesWorstCaseFails", 1000.0, 25.0, 3, kMm4, kDR, MountingStyle::Orbis, 960.0,
                     Basis::Fixed, 20.0, Basis::Fixed, true, false},
        BoundaryCase{"TheWorstCaseItselfIsMet", 1000.0, 25.0, 3, kMm4, kDR, MountingStyle::Orbis, 960.0,
                     Basis::WorstCase, 0.0, Basis::Fixed, true, true},
        BoundaryCase{"JustBeyondTheWorstCaseMisses", 1000.0, 25.0, 3, kMm4, kDR, MountingStyle::Orbis, 960.0,
                     Basis::WorstCase, 0.01, Basis::Fixed, true, false},
        BoundaryCase{"Below2000The60CapsTheWorstCase", 1500.0, 30.0, 6, kMm6, kDR, MountingStyle::DropIn,
                     1300.0, Basis::Fixed, 60.0, Basis::Fixed, true, true},
        BoundaryCase{"Below2000BeyondThe60Misses", 1500.0, 30.0, 6, kMm6, kDR, MountingStyle::DropIn, 1300.0,
                     Basis::Fixed, 60.01, Basis::Fixed, true, false},
        BoundaryCase{"From2000The30CapsTheWorstCase", 2000.0, 40.0, 6, kMm6, kDR, MountingStyle::DropIn,
                     1850.0, Basis::Fixed, 30.0, Basis::Fixed, true, true},
        BoundaryCase{"From2000BeyondThe30Misses", 2000.0, 40.0, 6, kMm6, kDR, MountingStyle::DropIn, 1850.0,
                     Basis::Fixed, 30.01, Basis::Fixed, true, false},
        BoundaryCase{"WorstCaseLossAtTheMaximumIsMet", 1000.0, 25.0, 3, kMm4, kDR, MountingStyle::Orbis, 0.0,
                     Basis::Fixed, 0.0, Basis::WorstCaseLoss, true, true},
        BoundaryCase{"ComputedLossAtTheMaximumMisses", 1000.0, 25.0, 3, kMm4, kDR, MountingStyle::Orbis, 0.0,
                     Basis::Fixed, 0.0, Basis::ComputedLoss, true, false}),
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
