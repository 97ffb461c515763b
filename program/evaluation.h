#pragma once

#include "engine/selection.h"
#include "program/program.h"

namespace veltrix {

// The specification screen's computation (rules, then the sweeps and stopband points) on the
// program's records. Every window that shows its figures relies on it having run.
SelectionResults EvaluateSelection(Program& program);

// Runs the computation where it has not run since the specification last changed, so the figures
// are current even when the screen has not painted (a window of size 0 x 0, or a minimised one).
void EvaluateSelectionIfStale(Program& program);

}  // namespace veltrix
