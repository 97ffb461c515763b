#include "engine/selection.h"

#include <cmath>
#include <cstdio>

namespace veltrix {

SelectionResults ComputeSelection(FilterSpec& spec, ResponseData& rd) {
    SelectionResults results;
    results.Outcome = EvaluateSpecification(spec, rd);

    rd.Over30dB = 0;
    if (spec.SelStatus != kSelectionValid) return results;

    ReturnLossSweep(rd, spec, spec.Sections, spec.F0, spec.BW, spec.PBD);
    bool over60 =
        ResponseSweep(rd, spec, spec.Sections, spec.Profile, spec.F0, spec.PBD, spec.BW, spec.Dielectric);
    bool over30 = rd.Over30dB != 0;
    auto stopbandPoint = [&](double f, bool& computed, double& attenuation) {
        if (!(f > 0.0)) return;
        const bool above60 = AttenuationAt(rd, f, spec.Sections, spec.Profile, spec.F0, spec.BW, spec.PBD,
                                           spec.Dielectric, attenuation);
        // A point so far out that its attenuation overflows has no figure to show or to judge by.
        computed = std::isfinite(attenuation);
        if (!computed) return;
        over60 |= above60;
        over30 |= rd.Over30dB != 0;
    };
    stopbandPoint(spec.F1, results.F1Computed, results.F1Attenuation);
    stopbandPoint(spec.F2, results.F2Computed, results.F2Attenuation);
    rd.Over30dB = over30 ? 1 : 0;
    results.Over30dB = over30;
    results.Over60dB = over60;
    results.Guarantee = AttenuationGuarantee(spec.F0, over30, over60);
    return results;
}

std::string InsertionLossLabel(const RuleOutcome& outcome) {
    if (!outcome.FoLossDefined()) return "Insertion loss at Fo is not defined";
    char value[64];
    std::snprintf(value, sizeof value, "%6.1f", outcome.FoLoss);
    return std::string("Insertion loss at Fo  =") + value + "  dB";
}

std::string StopbandLabel(bool computed, double attenuation) {
    if (!computed) return " ";
    char value[64];
    std::snprintf(value, sizeof value, "%6.1f", attenuation);
    return value;
}

std::string SelectionSummary(const FilterSpec& spec, const SelectionResults& results) {
    const RuleOutcome& outcome = results.Outcome;
    std::string summary;
    if (spec.SelStatus != kSelectionValid) {
        summary = kNoStandardPart;
        for (const std::string& line : outcome.MessageLines) {
            if (!line.empty()) summary += " " + line;
        }
        return summary;
    }
    char text[160];
    summary = "Standard part " + outcome.PartNumber + ".";
    if (outcome.FoLossDefined()) {
        std::snprintf(text, sizeof text, " Insertion loss at Fo %.1f dB.", outcome.FoLoss);
        summary += text;
    }
    const auto point = [&](const char* name, double f, bool computed, double attenuation) {
        if (!computed) return;
        std::snprintf(text, sizeof text, " %s %.2f MHz: %.1f dBc.", name, f, attenuation);
        summary += text;
    };
    point("F1", spec.F1, results.F1Computed, results.F1Attenuation);
    point("F2", spec.F2, results.F2Computed, results.F2Attenuation);
    return summary;
}

}  // namespace veltrix
