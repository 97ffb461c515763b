#pragma once

#include <ostream>

#include "measured/comparison.h"

namespace veltrix {

void WriteCompareText(const MeasuredComparison& comparison, std::ostream& out);
void WriteCompareJson(const MeasuredComparison& comparison, std::ostream& out);

}  // namespace veltrix
