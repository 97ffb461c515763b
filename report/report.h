#pragma once

#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "engine/response.h"

namespace veltrix {

// The lines of the tabular report for the record. For a valid selection it solves the lossy
// design again and rewrites the sweep span; the return-loss and delay columns are read from the
// sweeps the judgement of the record left in rd.
std::vector<std::string> BuildTabularReport(const FilterSpec& spec, ResponseData& rd);

// What a screen reader says of the report: the part it lists, or the no-data notice.
std::string TabularDescription(const FilterSpec& spec);

}  // namespace veltrix
