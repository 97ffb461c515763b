#pragma once

#include <ostream>

#include "measured/comparison.h"

namespace veltrix {

void WriteCompareText(const Comparison& comparison, std::ostream& out);
void WriteCompareJson(const Comparison& comparison, std::ostream& out);

}  // namespace veltrix
