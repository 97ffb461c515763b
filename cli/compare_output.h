#pragma once

#include <ostream>

#include "compare/sample_judgement.h"
#include "measured/comparison.h"

namespace veltrix {

// The comparison with the model, then the sample's judgement against the requirement.
void WriteCompareText(const MeasuredComparison& comparison, const SampleJudgement& judgement,
                      std::ostream& out);
void WriteCompareJson(const MeasuredComparison& comparison, const SampleJudgement& judgement,
                      std::ostream& out);

}  // namespace veltrix
