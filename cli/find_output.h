#pragma once

#include <ostream>

#include "finder/finder.h"

namespace veltrix {

// The parts best first, then why the other combinations miss.
void WriteFindText(const FinderRequirement& requirement, const FinderResults& results, std::ostream& out);
// One JSON object: "parts" and "misses".
void WriteFindJson(const FinderResults& results, std::ostream& out);

}  // namespace veltrix
