#pragma once

#include <string>

#include "compare/compare.h"

namespace veltrix {

// Every curve of the comparison on one frequency grid, the span's sweep: a column of frequencies,
// then for each part and the measured file its attenuation in dBc, insertion loss, return loss and
// delay. A measured file is interpolated onto the grid and left blank outside its own frequencies,
// as is a figure a 1-port file lacks.
std::string CurvesCsvText(const Comparison& comparison);

}  // namespace veltrix
