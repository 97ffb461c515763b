#pragma once

#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "engine/response.h"

namespace veltrix {

enum class FocusTarget { None, F0Edit, BWEdit };

struct RuleOutcome {
    std::vector<std::string> MessageLines;  // empty strings are lines of their own
    bool BandwidthExceeded = false;
    bool RuleFailed = false;
    bool AboveMaxFrequency = false;
    bool BelowMinFrequency = false;
    bool TooHighForResonator = false;
    bool TooLowForResonator = false;
    bool CentreFrequencyAtFault = false;
    bool F0Clamped = false;
    bool AnalysisBlocked = false;
    double FoLoss = 0.0;
    std::string PartNumber;
    FocusTarget Focus = FocusTarget::None;

    // The insertion loss at Fo is defined when the analysis ran on an unclamped centre frequency.
    bool FoLossDefined() const { return !AnalysisBlocked && !F0Clamped; }
};

RuleOutcome EvaluateSpecification(FilterSpec& spec, ResponseData& rd);

std::string FormatPartNumber(const FilterSpec& spec);

// The maker guarantees attenuation up to 60 dBc for a centre frequency below 2000 MHz, 30 dBc from there.
constexpr double kGuaranteeLimitF0 = 2000.0;
double GuaranteedAttenuationDbc(double f0);

// "" when no notice applies.
std::string AttenuationGuarantee(double f0, bool over30dB, bool over60dB);

}  // namespace veltrix
