#include "engine/rules.h"

#include <cstdio>
#include <functional>

#include "engine/tables.h"
#include "version/version.h"

namespace veltrix {

namespace {

enum RuleFlags : unsigned {
    kNoFlags = 0,
    kAboveMax = 1u << 0,
    kBelowMin = 1u << 1,
    kHigh = 1u << 2,
    kLow = 1u << 3,
    kFocus = 1u << 4,
};

// Which mountings a rule applies to.
enum class MountMatch { Any, Only, Not };

struct ProductRule {
    MountMatch mountMatch;
    char mounting;
    char dielectric;  // 0: any
    int32_t profile;  // 0: any
    std::function<bool(double)> frequencyHolds;
    const char* message;
    unsigned flags;
};

bool AnyFrequency(double) { return true; }
auto Above(double limit) { return [limit](double f0) { return f0 > limit; }; }
auto Below(double limit) { return [limit](double f0) { return f0 < limit; }; }

const ProductRule kProductRules[] = {
    {MountMatch::Only, kMountDropIn, 'L', 0, AnyFrequency, "No DL Parts for Drop-in Mounting", kNoFlags},
    {MountMatch::Any, 0, 'L', 3, AnyFrequency, "No 12mm DL Parts", kNoFlags},
    {MountMatch::Only, kMountOrbis, 'H', 3, AnyFrequency, "No 12mm DH for Orbis Leadless", kNoFlags},
    {MountMatch::Only, kMountOrbis, 'R', 3, AnyFrequency, "No 12mm DR for Orbis Leadless", kNoFlags},
    {MountMatch::Any, 0, 0, 0, Above(3000), "Maximum Frequency is 3000 MHz", kAboveMax | kFocus},
    {MountMatch::Any, 0, 0, 0, Below(270), "Minimum Frequency is 270 MHz", kBelowMin | kFocus},
    {MountMatch::Only, kMountOrbis, 'H', 1, Above(1500), "fo < 1500 MHz for Orbis 4mm DH", kHigh | kFocus},
    {MountMatch::Only, kMountOrbis, 'H', 2, Above(1300), "fo < 1300 MHz for Orbis 6mm DH", kHigh | kFocus},
    {MountMatch::Only, kMountOrbis, 'R', 1, Above(2500), "fo < 2500 MHz for Orbis 4mm DR", kHigh | kFocus},
    {MountMatch::Only, kMountOrbis, 'R', 2, Above(2100), "fo < 2100 MHz for Orbis 6mm DR", kHigh | kFocus},
    {MountMatch::Only, kMountOrbis, 'H', 0, Below(270), "fo > 270 for Orbis DH", kFocus},
    {MountMatch::Not, kMountDropIn, 'L', 2, Above(2500), "fo < 2500 MHz for 6mm DL", kHigh | kFocus},
    {MountMatch::Not, kMountDropIn, 'L', 2, Below(1500), "fo > 1500 MHz for 6mm DL", kLow | kFocus},
    {MountMatch::Not, kMountDropIn, 'L', 1, Above(3000), "fo < 3000 MHz for 4mm DL", kHigh | kFocus},
    {MountMatch::Not, kMountDropIn, 'L', 1, Below(2000), "fo > 2000 MHz for 4mm DL", kLow | kFocus},
    {MountMatch::Not, kMountOrbis, 0, 0, Below(400), "Use Orbis 4mm or 6mm DH for fo < 400", kLow},
    {MountMatch::Not, kMountOrbis, 'H', 1, Above(1500), "fo < 1500 MHz for 4mm DH", kHigh | kFocus},
    {MountMatch::Not, kMountOrbis, 'H', 2, Above(1300), "fo < 1300 MHz for 6mm DH", kHigh | kFocus},
    {MountMatch::Not, kMountOrbis, 'H', 3, Above(650), "fo < 650 MHz for 12mm DH4", kHigh | kFocus},
    {MountMatch::Not, kMountOrbis, 'R', 1, Above(2500), "fo < 2500 MHz for 4mm DR", kHigh | kFocus},
    {MountMatch::Not, kMountOrbis, 'R', 2, Above(2100), "fo < 2100 MHz for 6mm DR", kHigh | kFocus},
    {MountMatch::Not, kMountOrbis, 'R', 3, Above(1200), "fo < 1200 MHz for 12mm DR", kHigh | kFocus},
    {MountMatch::Any, 0, 'R', 0, [](double f0) { return f0 >= 270 && f0 < 800; }, "Use DH for fo < 800 MHz",
     kLow},
};

bool Holds(const ProductRule& rule, const FilterSpec& spec) {
    if (rule.mountMatch == MountMatch::Only && spec.Mounting != rule.mounting) return false;
    if (rule.mountMatch == MountMatch::Not && spec.Mounting == rule.mounting) return false;
    if (rule.dielectric != 0 && spec.Dielectric != rule.dielectric) return false;
    if (rule.profile != 0 && spec.Profile != rule.profile) return false;
    return rule.frequencyHolds(spec.F0);
}

void AddAdvice(RuleOutcome& outcome, const char* first, const char* second) {
    outcome.MessageLines.emplace_back();
    outcome.MessageLines.emplace_back(first);
    outcome.MessageLines.emplace_back(second);
}

}  // namespace

RuleOutcome EvaluateSpecification(FilterSpec& spec, ResponseData& rd) {
    RuleOutcome outcome;

    spec.LastPBD = spec.PBD;
    spec.LastSections = spec.Sections;
    spec.LastDielectric = spec.Dielectric;
    spec.LastProfile = spec.Profile;
    spec.LastF0 = spec.F0;
    spec.SelStatus = kSelectionValid;

    if (spec.F0 >= 3500.0) {
        spec.F0 = 3500.0;
        outcome.F0Clamped = true;
    }

    const double maximum = MaxBandwidth(spec.F0, spec.Profile, spec.Dielectric, spec.Mounting);
    if (spec.BWRequested > maximum) {
        spec.BW = maximum;
        outcome.BandwidthExceeded = true;
        outcome.MessageLines.emplace_back("Maximum Bandwidth Exceeded");
    } else {
        spec.BW = spec.BWRequested;
    }

    for (const ProductRule& rule : kProductRules) {
        if (!Holds(rule, spec)) continue;
        outcome.MessageLines.emplace_back(rule.message);
        outcome.RuleFailed = true;
        outcome.AboveMaxFrequency |= (rule.flags & kAboveMax) != 0;
        outcome.BelowMinFrequency |= (rule.flags & kBelowMin) != 0;
        outcome.TooHighForResonator |= (rule.flags & kHigh) != 0;
        outcome.TooLowForResonator |= (rule.flags & kLow) != 0;
        outcome.CentreFrequencyAtFault |= (rule.flags & kFocus) != 0;
    }

    if (outcome.BandwidthExceeded || outcome.RuleFailed) spec.SelStatus = kRuleFailed;

    outcome.AnalysisBlocked = AnalysisPrecluded(spec.F0, spec.BW);

    if (!outcome.AnalysisBlocked && !outcome.F0Clamped) {
        bool arithmeticFailure = false;
        outcome.FoLoss = InsertionLossAtF0(rd, spec.Sections, spec.SelStatus, spec.Profile, spec.F0, spec.BW,
                                           spec.PBD, spec.Dielectric, arithmeticFailure);
        if (arithmeticFailure) outcome.AnalysisBlocked = true;
    }

    if (spec.SelStatus == kSelectionValid && outcome.AnalysisBlocked) {
        spec.SelStatus = kExtremeValues;
        outcome.MessageLines.emplace_back("Extreme Values Preclude Analysis");
    }

    if (spec.SelStatus == kInsufficientQ) outcome.MessageLines.emplace_back("Insufficient Q");

    if (outcome.TooHighForResonator && !outcome.AboveMaxFrequency) {
        AddAdvice(outcome, "Decrease profile size and dielectric", "for higher frequencies.");
    }
    if (outcome.TooLowForResonator && !outcome.BelowMinFrequency) {
        AddAdvice(outcome, "Increase profile size and dielectric", "for lower frequencies.");
    }

    outcome.PartNumber = FormatPartNumber(spec);

    if (outcome.CentreFrequencyAtFault) {
        outcome.Focus = FocusTarget::F0Edit;
    } else if (outcome.BandwidthExceeded) {
        outcome.Focus = FocusTarget::BWEdit;
    }
    return outcome;
}

std::string FormatPartNumber(const FilterSpec& spec) {
    char text[160];
    std::snprintf(text, sizeof text, "%dD%c%d%c-%.5g/%c%.4g - " VELTRIX_VERSION, static_cast<int>(spec.Sections),
                  spec.Dielectric, static_cast<int>(spec.Profile + 1), spec.Mounting, spec.F0, spec.PBDCode,
                  spec.BW);
    return text;
}

double GuaranteedAttenuationDbc(double f0) { return f0 >= kGuaranteeLimitF0 ? 30.0 : 60.0; }

std::string AttenuationGuarantee(double f0, bool over30dB, bool over60dB) {
    if (f0 >= kGuaranteeLimitF0 && over30dB) return "Only 30 dB attenuation guaranteed";
    if (over60dB) return "Only 60 dB attenuation guaranteed";
    return "";
}

}  // namespace veltrix
