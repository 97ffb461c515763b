#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/filter_spec.h"
#include "finder/finder.h"

namespace veltrix {

// What a saved comparison keeps: the requirement it was made for, its parts and the measured file by
// its path (the file itself stays where it is).
struct SavedComparison {
    std::vector<StopbandRequirement> Requirement;
    // The whole requirement the comparison was opened with (its stopbands are `Requirement`), when
    // it was opened with one.
    std::optional<FinderRequirement> Opened;
    std::vector<FilterSpec> Parts;
    std::string MeasuredPath;  // "" without one
};

constexpr std::string_view kComparisonFileFormat = "veltrix-comparison";
constexpr int kComparisonFileVersion = 1;

// The ".vxcmp" file: a small JSON document. Each part is kept by its part number together with the
// choices that make it, so a file whose figures no longer give that part is refused, not misread.
std::string ComparisonFileText(const SavedComparison& comparison);

struct ComparisonFileRead {
    bool Ok = false;
    std::string Problem;  // what is wrong with the file, when !Ok
    SavedComparison Comparison;
};
ComparisonFileRead ReadComparisonFileText(std::string_view text);

}  // namespace veltrix
