#include "finder/finder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/response.h"
#include "engine/rules.h"
#include "engine/text_format.h"
#include "engine/worst_case.h"

namespace veltrix {
namespace {

std::string FirstMessage(const RuleOutcome& outcome) {
    for (const std::string& line : outcome.MessageLines) {
        if (!line.empty()) return line;
    }
    return "Not a standard part";
}

// The first requirement the part misses, or "" when it meets them all.
std::string FirstShortfall(const FinderRequirement& requirement, double f0, const FoundPart& part,
                           const std::vector<bool>& computed) {
    if (requirement.MaxInsertionLossDb && part.WorstCaseInsertionLossDb > *requirement.MaxInsertionLossDb) {
        return FormatText(
            "Insertion loss %.2f dB worst case (%.2f dB computed) exceeds the maximum %.2f dB by %.2f dB",
            part.WorstCaseInsertionLossDb, part.InsertionLossDb, *requirement.MaxInsertionLossDb,
            part.WorstCaseInsertionLossDb - *requirement.MaxInsertionLossDb);
    }
    const double guarantee = GuaranteedAttenuationDbc(f0);
    for (size_t i = 0; i < part.Stopbands.size(); ++i) {
        const StopbandResult& point = part.Stopbands[i];
        if (!computed[i]) {
            return FormatText("Attenuation at %.2f MHz cannot be computed", point.FrequencyMhz);
        }
        if (point.RequiredDbc > guarantee) {
            // Beyond the guarantee no part of this centre frequency meets it, whatever its design.
            return FormatText(
                "Attenuation at %.2f MHz: %.2f dBc required, %.0f dBc guaranteed for fo %s %.0f MHz",
                point.FrequencyMhz, point.RequiredDbc, guarantee, f0 >= kGuaranteeLimitF0 ? ">=" : "<",
                kGuaranteeLimitF0);
        }
        if (point.MarginDb < 0.0) {
            return FormatText(
                "Attenuation at %.2f MHz is %.2f dBc worst case (%.2f dBc computed), %.2f dB short of %.2f "
                "dBc",
                point.FrequencyMhz, point.WorstCaseDbc, point.AttenuationDbc, -point.MarginDb,
                point.RequiredDbc);
        }
    }
    return "";
}

// The finder's order: the lower insertion loss first, then fewer sections, then the smaller profile.
bool RanksBefore(const FoundPart& a, const FoundPart& b) {
    if (a.InsertionLossDb != b.InsertionLossDb) return a.InsertionLossDb < b.InsertionLossDb;
    if (a.Sections != b.Sections) return a.Sections < b.Sections;
    return a.Profile < b.Profile;
}

struct Combination {
    int32_t Sections;
    ResonatorProfile Profile;
    DielectricMaterial Dielectric;
    MountingStyle Mounting;
};

// Judges one combination as the specification screen does and files it as a part or a miss.
void JudgeCombination(const FinderRequirement& requirement, const Combination& c, ResponseData& rd,
                      FinderResults& results) {
    FilterSpec spec = FinderSpec(requirement, c.Sections, c.Profile, c.Dielectric, c.Mounting);
    const RuleOutcome outcome = EvaluateSpecification(spec, rd);
    if (spec.SelStatus != kSelectionValid) {
        results.Misses.push_back({c.Sections, c.Profile, c.Dielectric, c.Mounting, FirstMessage(outcome)});
        return;
    }
    FoundPart part{outcome.PartNumber,
                   outcome.FoLoss,
                   WorstCaseInsertionLossDb(outcome.FoLoss),
                   c.Sections,
                   c.Profile,
                   c.Dielectric,
                   c.Mounting,
                   {}};
    part.Stopbands = WorstCaseStopbands(spec, requirement.Stopbands);
    std::vector<bool> computed(part.Stopbands.size());
    for (size_t i = 0; i < part.Stopbands.size(); ++i)
        computed[i] = std::isfinite(part.Stopbands[i].AttenuationDbc);
    std::string shortfall = FirstShortfall(requirement, spec.F0, part, computed);
    if (shortfall.empty()) {
        results.Parts.push_back(std::move(part));
    } else {
        results.Misses.push_back({c.Sections, c.Profile, c.Dielectric, c.Mounting, std::move(shortfall)});
    }
}

}  // namespace

FilterSpec FinderSpec(const FinderRequirement& requirement, int32_t sections, ResonatorProfile profile,
                      DielectricMaterial dielectric, MountingStyle mounting) {
    FilterSpec spec;
    spec.F0 = requirement.F0;
    spec.BW = requirement.BW;
    spec.BWRequested = requirement.BW;
    const PassbandDefinition pbd = PassbandFromIndex(requirement.PassbandIndex);
    spec.PBD = pbd.PBD;
    spec.Passband = pbd.Passband;
    spec.Sections = sections;
    spec.Profile = profile;
    spec.Dielectric = dielectric;
    spec.Mounting = mounting;
    return spec;
}

std::vector<StopbandResult> WorstCaseStopbands(const FilterSpec& spec,
                                               const std::vector<StopbandRequirement>& needs) {
    ResponseData rd;
    FilterSpec judged = spec;
    EvaluateSpecification(judged, rd);
    // The screen's stopband figure: the lossy design solved for the point, then its relative
    // attenuation. The design does not depend on the point, so it is solved once.
    const double guarantee = GuaranteedAttenuationDbc(judged.F0);
    const SolvedDesign design =
        DesignSolve(rd, judged.Sections, judged.Profile, judged.F0, judged.BW, judged.PBD, judged.Dielectric);
    std::vector<StopbandResult> results;
    for (const StopbandRequirement& need : needs) {
        const double a =
            RelativeAttenuation(rd, design, judged.Sections, need.FrequencyMhz, judged.F0, judged.BW);
        const double guaranteed = std::isfinite(a) ? std::min(a, guarantee) : a;
        const double worst = std::isfinite(a) ? WorstCaseAttenuationDbc(a, judged.F0).Dbc : a;
        results.push_back({need.FrequencyMhz, a, guaranteed, worst, need.MinAttenuationDbc,
                           worst - need.MinAttenuationDbc});
    }
    return results;
}

FinderResults FindParts(const FinderRequirement& requirement) {
    FinderResults results;
    ResponseData rd;
    for (int32_t sections = kFinderMinSections; sections <= kFinderMaxSections; ++sections) {
        for (const ResonatorProfile profile : requirement.Profiles) {
            for (const DielectricMaterial dielectric : requirement.Dielectrics) {
                for (const MountingStyle mounting : requirement.Mountings)
                    JudgeCombination(requirement, {sections, profile, dielectric, mounting}, rd, results);
            }
        }
    }
    std::stable_sort(results.Parts.begin(), results.Parts.end(), RanksBefore);
    return results;
}

}  // namespace veltrix
