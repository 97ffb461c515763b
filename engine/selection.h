#pragma once

#include <string>
#include <string_view>

#include "engine/filter_spec.h"
#include "engine/response.h"
#include "engine/rules.h"

namespace veltrix {

// The verdict on inputs no standard part meets, wherever it is shown or written.
inline constexpr std::string_view kNoStandardPart = "No standard part for last inputs.";

// The figures of one judgement, in the order they are solved: the evaluation, then for a valid part
// the return-loss sweep, the response sweep, the stopband points and the guarantee.
struct SelectionResults {
    RuleOutcome Outcome;
    bool F1Computed = false;
    bool F2Computed = false;
    double F1Attenuation = 0.0;
    double F2Attenuation = 0.0;
    bool Over30dB = false;
    bool Over60dB = false;
    std::string Guarantee;  // "" when none
};

SelectionResults ComputeSelection(FilterSpec& spec, ResponseData& rd);

// The three result labels as the screen sets them.
std::string InsertionLossLabel(const RuleOutcome& outcome);
std::string StopbandLabel(bool computed, double attenuation);  // "%6.1f", or a single blank

// What the screen says, in one line for a screen reader: the part number and its figures, or the
// verdict and the rules' messages.
std::string SelectionSummary(const FilterSpec& spec, const SelectionResults& results);

}  // namespace veltrix
