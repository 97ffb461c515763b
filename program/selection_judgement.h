#pragma once

#include <QObject>

#include "engine/filter_spec.h"
#include "judgement/judgement.h"

namespace veltrix {

// The program's one judgement of its filter specification: the latest judged value, made again once
// after an input changed and announced. Handlers store an input and say so; windows, exports and the
// datasheet read the latest value and never judge, nor write a verdict, themselves.
class SelectionJudgement : public QObject {
    Q_OBJECT

  public:
    explicit SelectionJudgement(FilterSpec& spec);

    // An input changed: judged once after the current event, however many changed in it.
    void InputsChanged();
    // Judges at once, for a window that must see the verdict before it draws.
    void JudgeNow();
    // Judges at once where an announced change is still waiting, for a command that acts on the verdict.
    void JudgePending();

    // The latest judgement; the record holds the specification as it left it.
    const JudgedSelection& Latest() const { return latest_; }
    bool HasJudged() const { return count_ > 0; }
    // Whether the latest judgement found a standard part.
    bool Standard() const { return HasJudged() && latest_.Standard(); }
    // How many judgements were made.
    int Count() const { return count_; }

  signals:
    // A new judgement is in; its reactions (focus, texts, repaints) follow from here.
    void Judged();

  private:
    FilterSpec& spec_;
    JudgedSelection latest_;
    bool pending_ = false;
    bool judging_ = false;
    int count_ = 0;
};

}  // namespace veltrix
