#include "finder/finder.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/response.h"
#include "engine/rules.h"
#include "engine/text_format.h"

namespace veltrix {
namespace {

std::string FirstMessage(const RuleOutcome& outcome) {
    for (const std::string& line : outcome.MessageLines) {
        if (!line.empty()) return line;
    }
    return "Not a standard part";
}

// The first requirement the part misses, or "" when it meets them all.
std::string FirstShortfall(const FinderRequirement& requirement, const FoundPart& part,
                           const std::vector<bool>& computed) {
    if (requirement.MaxInsertionLossDb && part.InsertionLossDb > *requirement.MaxInsertionLossDb) {
        return FormatText("Insertion loss %.2f dB exceeds the maximum %.2f dB by %.2f dB", part.InsertionLossDb,
                      *requirement.MaxInsertionLossDb, part.InsertionLossDb - *requirement.MaxInsertionLossDb);
    }
    for (size_t i = 0; i < part.Stopbands.size(); ++i) {
        const StopbandResult& point = part.Stopbands[i];
        if (!computed[i]) {
            return FormatText("Attenuation at %.2f MHz cannot be computed", point.FrequencyMhz);
        }
        if (point.MarginDb < 0.0) {
            return FormatText("Attenuation at %.2f MHz is %.2f dBc, %.2f dB short of %.2f dBc", point.FrequencyMhz,
                          point.AttenuationDbc, -point.MarginDb, point.RequiredDbc);
        }
    }
    return "";
}

}  // namespace

FilterSpec FinderSpec(const FinderRequirement& requirement, int32_t sections, int32_t profile, char dielectric,
                      char mounting) {
    FilterSpec spec;
    spec.F0 = requirement.F0;
    spec.BW = requirement.BW;
    spec.BWRequested = requirement.BW;
    const PassbandDefinition pbd = PassbandFromIndex(requirement.PassbandIndex);
    spec.PBD = pbd.PBD;
    spec.PBDCode = pbd.PBDCode;
    spec.Sections = sections;
    spec.Profile = profile;
    spec.Dielectric = dielectric;
    spec.Mounting = mounting;
    return spec;
}

FinderResults FindParts(const FinderRequirement& requirement) {
    FinderResults results;
    ResponseData rd;
    std::vector<bool> computed(requirement.Stopbands.size());
    for (int32_t sections = kFinderMinSections; sections <= kFinderMaxSections; ++sections) {
        for (const int32_t profile : requirement.Profiles) {
            for (const char dielectric : requirement.Dielectrics) {
                for (const char mounting : requirement.Mountings) {
                    FilterSpec spec = FinderSpec(requirement, sections, profile, dielectric, mounting);
                    const RuleOutcome outcome = EvaluateSpecification(spec, rd);
                    if (spec.SelStatus != kSelectionValid) {
                        results.Misses.push_back({sections, profile, dielectric, mounting, FirstMessage(outcome)});
                        continue;
                    }
                    FoundPart part{outcome.PartNumber, outcome.FoLoss, sections, profile, dielectric, mounting, {}};
                    // The screen's stopband figure: the lossy design solved for the point, then its
                    // relative attenuation. The design does not depend on the point, so it is solved once.
                    const SolvedDesign design = DesignSolve(rd, spec.Sections, spec.Profile, spec.F0, spec.BW,
                                                            spec.PBD, spec.Dielectric);
                    for (size_t i = 0; i < requirement.Stopbands.size(); ++i) {
                        const StopbandRequirement& need = requirement.Stopbands[i];
                        const double a =
                            RelativeAttenuation(rd, design, spec.Sections, need.FrequencyMhz, spec.F0, spec.BW);
                        computed[i] = std::isfinite(a);
                        part.Stopbands.push_back(
                            {need.FrequencyMhz, a, need.MinAttenuationDbc, a - need.MinAttenuationDbc});
                    }
                    std::string shortfall = FirstShortfall(requirement, part, computed);
                    if (shortfall.empty()) {
                        results.Parts.push_back(std::move(part));
                    } else {
                        results.Misses.push_back({sections, profile, dielectric, mounting, std::move(shortfall)});
                    }
                }
            }
        }
    }
    std::stable_sort(results.Parts.begin(), results.Parts.end(), [](const FoundPart& a, const FoundPart& b) {
        if (a.InsertionLossDb != b.InsertionLossDb) return a.InsertionLossDb < b.InsertionLossDb;
        if (a.Sections != b.Sections) return a.Sections < b.Sections;
        return a.Profile < b.Profile;
    });
    return results;
}

}  // namespace veltrix
