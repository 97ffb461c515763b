#include "engine/rules.h"

#include <cstdio>
#include <functional>
#include <optional>

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
    std::optional<MountingStyle> mounting;         // none: any
    std::optional<DielectricMaterial> dielectric;  // none: any
    std::optional<ResonatorProfile> profile;       // none: any
    std::function<bool(double)> frequencyHolds;
    const char* message;
    unsigned flags;
};

bool AnyFrequency(double) { return true; }
auto Above(double limit) {
    return [limit](double f0) { return f0 > limit; };
}
auto Below(double limit) {
    return [limit](double f0) { return f0 < limit; };
}

using M = MountingStyle;
using D = DielectricMaterial;
using P = ResonatorProfile;
constexpr std::nullopt_t kAny = std::nullopt;

// clang-format off
const ProductRule kProductRules[] = {
    {MountMatch::Only, M::DropIn, D::DL, kAny, AnyFrequency, "No DL Parts for Drop-in Mounting", kNoFlags},
    {MountMatch::Any, kAny, D::DL, P::Mm12, AnyFrequency, "No 12mm DL Parts", kNoFlags},
    {MountMatch::Only, M::Orbis, D::DH, P::Mm12, AnyFrequency, "No 12mm DH for Orbis Leadless", kNoFlags},
    {MountMatch::Only, M::Orbis, D::DR, P::Mm12, AnyFrequency, "No 12mm DR for Orbis Leadless", kNoFlags},
    {MountMatch::Any, kAny, kAny, kAny, Above(3000), "Maximum Frequency is 3000 MHz", kAboveMax | kFocus},
    {MountMatch::Any, kAny, kAny, kAny, Below(270), "Minimum Frequency is 270 MHz", kBelowMin | kFocus},
    {MountMatch::Only, M::Orbis, D::DH, P::Mm4, Above(1500), "fo < 1500 MHz for Orbis 4mm DH", kHigh | kFocus},
    {MountMatch::Only, M::Orbis, D::DH, P::Mm6, Above(1300), "fo < 1300 MHz for Orbis 6mm DH", kHigh | kFocus},
    {MountMatch::Only, M::Orbis, D::DR, P::Mm4, Above(2500), "fo < 2500 MHz for Orbis 4mm DR", kHigh | kFocus},
    {MountMatch::Only, M::Orbis, D::DR, P::Mm6, Above(2100), "fo < 2100 MHz for Orbis 6mm DR", kHigh | kFocus},
    {MountMatch::Only, M::Orbis, D::DH, kAny, Below(270), "fo > 270 for Orbis DH", kFocus},
    {MountMatch::Not, M::DropIn, D::DL, P::Mm6, Above(2500), "fo < 2500 MHz for 6mm DL", kHigh | kFocus},
    {MountMatch::Not, M::DropIn, D::DL, P::Mm6, Below(1500), "fo > 1500 MHz for 6mm DL", kLow | kFocus},
    {MountMatch::Not, M::DropIn, D::DL, P::Mm4, Above(3000), "fo < 3000 MHz for 4mm DL", kHigh | kFocus},
    {MountMatch::Not, M::DropIn, D::DL, P::Mm4, Below(2000), "fo > 2000 MHz for 4mm DL", kLow | kFocus},
    {MountMatch::Not, M::Orbis, kAny, kAny, Below(400), "Use Orbis 4mm or 6mm DH for fo < 400", kLow},
    {MountMatch::Not, M::Orbis, D::DH, P::Mm4, Above(1500), "fo < 1500 MHz for 4mm DH", kHigh | kFocus},
    {MountMatch::Not, M::Orbis, D::DH, P::Mm6, Above(1300), "fo < 1300 MHz for 6mm DH", kHigh | kFocus},
    {MountMatch::Not, M::Orbis, D::DH, P::Mm12, Above(650), "fo < 650 MHz for 12mm DH4", kHigh | kFocus},
    {MountMatch::Not, M::Orbis, D::DR, P::Mm4, Above(2500), "fo < 2500 MHz for 4mm DR", kHigh | kFocus},
    {MountMatch::Not, M::Orbis, D::DR, P::Mm6, Above(2100), "fo < 2100 MHz for 6mm DR", kHigh | kFocus},
    {MountMatch::Not, M::Orbis, D::DR, P::Mm12, Above(1200), "fo < 1200 MHz for 12mm DR", kHigh | kFocus},
    {MountMatch::Any, kAny, D::DR, kAny, [](double f0) { return f0 >= 270 && f0 < 800; }, "Use DH for fo < 800 MHz",
     kLow},
};
// clang-format on

bool Holds(const ProductRule& rule, const FilterSpec& spec) {
    const bool mountingMatches = rule.mounting && spec.Mounting == *rule.mounting;
    if (rule.mountMatch == MountMatch::Only && !mountingMatches) return false;
    if (rule.mountMatch == MountMatch::Not && mountingMatches) return false;
    if (rule.dielectric && spec.Dielectric != *rule.dielectric) return false;
    if (rule.profile && spec.Profile != *rule.profile) return false;
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
    std::snprintf(text, sizeof text, "%dD%c%c%c-%.5g/%c%.4g - " VELTRIX_VERSION,
                  static_cast<int>(spec.Sections), CodeOf(spec.Dielectric), CodeOf(spec.Profile),
                  CodeOf(spec.Mounting), spec.F0, CodeOf(spec.Passband), spec.BW);
    return text;
}

double GuaranteedAttenuationDbc(double f0) { return f0 >= kGuaranteeLimitF0 ? 30.0 : 60.0; }

std::string AttenuationGuarantee(double f0, bool over30dB, bool over60dB) {
    if (f0 >= kGuaranteeLimitF0 && over30dB) return "Only 30 dB attenuation guaranteed";
    if (over60dB) return "Only 60 dB attenuation guaranteed";
    return "";
}

}  // namespace veltrix
