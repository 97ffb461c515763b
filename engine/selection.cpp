#include "engine/selection.h"

#include <cstdio>

namespace veltrix {

SelectionResults ComputeSelection(FilterSpec& spec, ResponseData& rd) {
    SelectionResults results;
    results.Outcome = EvaluateSpecification(spec, rd);

    rd.Over30dB = 0;
    if (spec.SelStatus != kSelectionValid) return results;

    ReturnLossSweep(rd, spec, spec.Sections, spec.F0, spec.BW, spec.PBD);
    bool over60 = ResponseSweep(rd, spec, spec.Sections, spec.Profile, spec.F0, spec.PBD, spec.BW, spec.Dielectric);
    bool over30 = rd.Over30dB != 0;
    if (spec.F1 > 0.0) {
        results.F1Computed = true;
        over60 |= AttenuationAt(rd, spec.F1, spec.Sections, spec.Profile, spec.F0, spec.BW, spec.PBD,
                                spec.Dielectric, results.F1Attenuation);
        over30 |= rd.Over30dB != 0;
    }
    if (spec.F2 > 0.0) {
        results.F2Computed = true;
        over60 |= AttenuationAt(rd, spec.F2, spec.Sections, spec.Profile, spec.F0, spec.BW, spec.PBD,
                                spec.Dielectric, results.F2Attenuation);
        over30 |= rd.Over30dB != 0;
    }
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

}  // namespace veltrix
