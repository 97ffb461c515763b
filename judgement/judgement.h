#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "engine/response.h"
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

// Everything one judgement of a filter specification gives: the verdict, its figures and messages,
// the response, the report and the outline. The windows, the exports, the datasheet and the companion
// show this and judge nothing themselves.
struct JudgedSelection {
    FilterSpec Spec;  // as the judgement left it (clamped F0, effective BW, status)
    SelectionResults Selection;
    // The engine's record as the judgement left it: the graph's sweeps and the solved design.
    ResponseData Response;
    bool HasSweep = false;  // only a valid selection is swept
    SweepSnapshot Sweep;
    std::vector<std::string> Report;
    // The outline's texts in Spec.Units; std::nullopt where the outline shows a notice.
    std::optional<OutlineTexts> Outline;

    bool Standard() const { return Spec.SelStatus == kSelectionValid; }
    const std::string& PartNumber() const { return Selection.Outcome.PartNumber; }
};

JudgedSelection JudgeSelection(const FilterSpec& spec);

// Why a refused entry has no part: the verdict and the first of the rules' messages.
std::string RefusalOf(const JudgedSelection& judged);

}  // namespace veltrix
