#include "program/evaluation.h"

namespace veltrix {

SelectionResults EvaluateSelection(Program& program) {
    SelectionResults results = ComputeSelection(program.Spec, program.Response);
    program.EvaluatedSpec = program.Spec;
    return results;
}

void EvaluateSelectionIfStale(Program& program) {
    if (program.EvaluatedSpec && *program.EvaluatedSpec == program.Spec) return;
    EvaluateSelection(program);
}

}  // namespace veltrix
