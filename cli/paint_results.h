#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "engine/selection.h"
#include "outline_geometry/outline_geometry.h"

namespace veltrix {

struct SweepSnapshot {
    double Start = 0.0;
    double Stop = 0.0;
    double Step = 0.0;
    int Count = 0;
    std::vector<double> AttenuationDb;  // Count values each
    std::vector<double> ReturnLossDb;
    std::vector<double> DelayNs;
};

// What one paint of the specification screen computes and shows, plus the tabular report.
struct PaintResults {
    FilterSpec Spec;  // as the evaluation left it (clamped F0, effective BW, status)
    SelectionResults Selection;
    bool HasSweep = false;  // only a valid selection is swept
    SweepSnapshot Sweep;
    std::vector<std::string> Report;
    // What the outline screen writes in Spec.Units; std::nullopt where it shows a notice.
    std::optional<OutlineTexts> Outline;
};

PaintResults ComputePaint(const FilterSpec& spec);

}  // namespace veltrix
