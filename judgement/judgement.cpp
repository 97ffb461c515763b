#include "judgement/judgement.h"

#include <algorithm>
#include <cmath>

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

std::string RefusalOf(const JudgedSelection& judged) {
    std::string refusal(kNoStandardPart);
    for (const std::string& line : judged.Selection.Outcome.MessageLines) {
        if (!line.empty()) return refusal + " " + line;
    }
    return refusal;
}

JudgedSelection JudgeSelection(const FilterSpec& spec) {
    JudgedSelection judged;
    judged.Spec = spec;
    judged.Selection = ComputeSelection(judged.Spec, judged.Response);
    judged.HasSweep = judged.Standard();
    if (judged.HasSweep) judged.Sweep = TakeSweep(judged.Response);
    // The report solves again and rewrites the span: it works on a copy, so the record stays as the
    // graph draws it.
    ResponseData scratch = judged.Response;
    judged.Report = BuildTabularReport(judged.Spec, scratch);
    judged.Outline = OutlineFor(judged.Spec, judged.Spec.Units);
    return judged;
}

}  // namespace veltrix
