#pragma once

#include <QObject>
#include <optional>

#include "engine/filter_spec.h"
#include "engine/response.h"
#include "engine/selection.h"

namespace veltrix {

// The one judgement of the selection: the rules, the response, the guarantee and the part number
// of the program's filter specification. Handlers store an input and say so; the judgement follows
// once, after the event that changed it, and is announced. Windows show the last judgement and
// never judge while they paint.
class SelectionJudgement : public QObject {
    Q_OBJECT

  public:
    SelectionJudgement(FilterSpec& spec, ResponseData& response);

    // An input changed: judged once after the current event, however many changed in it.
    void InputsChanged();
    // Judges at once, for a window that must see the verdict before it draws.
    void JudgeNow();
    // The judgement of the specification as it stands, made first where it changed since the last
    // one (the figures stay current while no window paints).
    const SelectionResults& Current();

    // The last judgement and the specification as it left it.
    const SelectionResults& Latest() const { return results_; }
    bool HasJudged() const { return judged_.has_value(); }
    const FilterSpec& JudgedSpec() const { return judged_ ? *judged_ : spec_; }
    // How many judgements were made.
    int Count() const { return count_; }

  signals:
    // A new judgement is in the records; its reactions (focus, texts, repaints) follow from here.
    void Judged();

  private:
    void JudgePending();

    FilterSpec& spec_;
    ResponseData& response_;
    SelectionResults results_;
    std::optional<FilterSpec> judged_;
    bool pending_ = false;
    bool judging_ = false;
    int count_ = 0;
};

}  // namespace veltrix
