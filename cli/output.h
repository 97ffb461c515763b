#pragma once

#include <ostream>

#include "judgement/judgement.h"

namespace veltrix {

// What an engineer reads on the specification screen, then the tabular report.
void WriteText(const JudgedSelection& results, std::ostream& out);

// One JSON object for scripts.
void WriteJson(const JudgedSelection& results, std::ostream& out);

}  // namespace veltrix
