#include "cli/paint_results.h"

#include <algorithm>
#include <cmath>

#include "engine/response.h"
#include "report/report.h"

namespace veltrix {
namespace {

// The arrays are 1-based; a count the engine did not bound must not read past them.
int UsableCount(double sweepCount) {
    if (!(sweepCount >= 1.0)) return 0;
    return static_cast<int>(std::min(sweepCount, static_cast<double>(kSweepCapacity - 1)));
}

SweepSnapshot TakeSweep(const ResponseData& rd) {
    SweepSnapshot sweep;
    sweep.Start = rd.SweepStart;
    sweep.Stop = rd.SweepStop;
    sweep.Step = rd.SweepStep;
    sweep.Count = UsableCount(rd.SweepCount);
    for (int k = 1; k <= sweep.Count; ++k) {
        sweep.AttenuationDb.push_back(rd.SweepAtten[k]);
        sweep.ReturnLossDb.push_back(rd.SweepReturnLoss[k]);
        sweep.DelayNs.push_back(rd.SweepDelay[k]);
    }
    return sweep;
}

}  // namespace

PaintResults ComputePaint(const FilterSpec& spec) {
    PaintResults results;
    results.Spec = spec;
    ResponseData rd;
    results.Selection = ComputeSelection(results.Spec, rd);
    // Taken before the report, which rewrites the span: this is what the graph draws.
    results.HasSweep = results.Spec.SelStatus == kSelectionValid;
    if (results.HasSweep) results.Sweep = TakeSweep(rd);
    results.Report = BuildTabularReport(results.Spec, rd);
    results.Outline = OutlineFor(results.Spec, results.Spec.Units);
    return results;
}

}  // namespace veltrix
