#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"

namespace veltrix {

struct StopbandRequirement {
    double FrequencyMhz = 0.0;
    double MinAttenuationDbc = 0.0;
};

// What the engineer needs; the lists hold the allowed choices, by default every offered one.
struct FinderRequirement {
    double F0 = 1000.0;
    double BW = 20.0;       // the minimum bandwidth at the passband definition
    int PassbandIndex = 1;  // 0.5, 1.0, 3.0 dB
    std::optional<double> MaxInsertionLossDb;
    std::vector<StopbandRequirement> Stopbands;
    std::vector<ResonatorProfile> Profiles = OfferedChoices<ResonatorProfile>();
    std::vector<DielectricMaterial> Dielectrics = OfferedChoices<DielectricMaterial>();
    std::vector<MountingStyle> Mountings = OfferedChoices<MountingStyle>();
};

struct StopbandResult {
    double FrequencyMhz = 0.0;
    double AttenuationDbc = 0.0;  // computed
    double GuaranteedDbc = 0.0;   // the computed figure, at most the maker's guarantee
    double WorstCaseDbc = 0.0;    // the least the maker's tolerances allow: what is judged
    double RequiredDbc = 0.0;
    double MarginDb = 0.0;  // WorstCaseDbc - RequiredDbc
};

struct FoundPart {
    std::string PartNumber;
    double InsertionLossDb = 0.0;           // computed
    double WorstCaseInsertionLossDb = 0.0;  // what the highest allowed loss is held against
    int32_t Sections = 0;
    ResonatorProfile Profile{};
    DielectricMaterial Dielectric{};
    MountingStyle Mounting{};
    std::vector<StopbandResult> Stopbands;  // in the requirement's order
};

struct FinderMiss {
    int32_t Sections = 0;
    ResonatorProfile Profile{};
    DielectricMaterial Dielectric{};
    MountingStyle Mounting{};
    std::string Reason;
};

struct FinderResults {
    std::vector<FoundPart> Parts;    // best first
    std::vector<FinderMiss> Misses;  // in search order
};

constexpr int32_t kFinderMinSections = 2;
constexpr int32_t kFinderMaxSections = 6;

// The record the specification screen would hold for one combination of the requirement.
FilterSpec FinderSpec(const FinderRequirement& requirement, int32_t sections, ResonatorProfile profile,
                      DielectricMaterial dielectric, MountingStyle mounting);

// The part's figures at each requirement point: the computed relative attenuation, that figure
// capped at the maker's guarantee, and the worst case the finder judges.
std::vector<StopbandResult> WorstCaseStopbands(const FilterSpec& spec,
                                               const std::vector<StopbandRequirement>& needs);

// Judges every allowed combination as the specification screen does and keeps the standard
// parts meeting every requirement in the worst case the maker's tolerances allow, ranked by insertion loss,
// then fewer sections, then the smaller profile.
FinderResults FindParts(const FinderRequirement& requirement);

}  // namespace veltrix
