#pragma once

#include <ostream>

#include "cli/paint_results.h"

namespace veltrix {

// What an engineer reads on the specification screen, then the tabular report.
void WriteText(const PaintResults& results, std::ostream& out);

// One JSON object for scripts.
void WriteJson(const PaintResults& results, std::ostream& out);

}  // namespace veltrix
