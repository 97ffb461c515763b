#include "program/selection_judgement.h"

#include <QMetaObject>

namespace veltrix {

SelectionJudgement::SelectionJudgement(FilterSpec& spec) : spec_(spec) {}

void SelectionJudgement::InputsChanged() {
    if (pending_) return;
    pending_ = true;
    // Queued, so a focus move that the verdict asks for never runs inside the handler that left a field.
    QMetaObject::invokeMethod(this, &SelectionJudgement::JudgePending, Qt::QueuedConnection);
}

void SelectionJudgement::JudgePending() {
    if (pending_) JudgeNow();
}

void SelectionJudgement::JudgeNow() {
    // A reaction that stores an input while the verdict is announced is judged after it.
    if (judging_) {
        pending_ = false;
        InputsChanged();
        return;
    }
    judging_ = true;
    pending_ = false;
    latest_ = JudgeSelection(spec_);
    spec_ = latest_.Spec;
    ++count_;
    emit Judged();
    judging_ = false;
}

}  // namespace veltrix
