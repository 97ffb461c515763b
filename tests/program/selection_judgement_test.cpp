#include "program/selection_judgement.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>

#include "program/program.h"

namespace veltrix {
namespace {

void RunPendingEvents() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

TEST(SelectionJudgementTest, InputChangesOfOneEventAreJudgedOnceAfterIt) {
    Program program;
    QSignalSpy judged(&program.Judgement, &SelectionJudgement::Judged);
    program.Spec.F0 = 1500.0;
    program.Judgement.InputsChanged();
    program.Spec.F1 = 1400.0;
    program.Judgement.InputsChanged();
    // Nothing is judged inside the handlers: the record still holds the last judged inputs.
    EXPECT_EQ(program.Judgement.Count(), 0);
    EXPECT_EQ(judged.count(), 0);
    EXPECT_EQ(program.Spec.LastF0, 1000.0);

    RunPendingEvents();
    EXPECT_EQ(program.Judgement.Count(), 1);
    EXPECT_EQ(judged.count(), 1);
    EXPECT_EQ(program.Spec.LastF0, 1500.0);
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    const SelectionResults& results = program.Judgement.Latest();
    EXPECT_NE(results.Outcome.PartNumber.find("1500"), std::string::npos) << results.Outcome.PartNumber;
    EXPECT_TRUE(results.F1Computed);
    EXPECT_FALSE(results.F2Computed);
    // The figures are the engine's for the same inputs.
    FilterSpec spec = program.Judgement.JudgedSpec();
    ResponseData rd;
    EXPECT_EQ(ComputeSelection(spec, rd).F1Attenuation, results.F1Attenuation);

    RunPendingEvents();
    EXPECT_EQ(program.Judgement.Count(), 1);
}

TEST(SelectionJudgementTest, CurrentJudgesOnlyWhereTheInputsChanged) {
    Program program;
    program.Judgement.Current();
    program.Judgement.Current();
    EXPECT_EQ(program.Judgement.Count(), 1);

    program.Spec.F0 = 3050.0;  // stored without a word: still judged before it is read
    EXPECT_FALSE(program.Judgement.Current().Outcome.MessageLines.empty());
    EXPECT_EQ(program.Spec.SelStatus, kRuleFailed);
    EXPECT_EQ(program.Judgement.Count(), 2);

    // A change already announced is judged by the first reader, and only once.
    program.Spec.F0 = 1200.0;
    program.Judgement.InputsChanged();
    program.Judgement.Current();
    EXPECT_EQ(program.Spec.SelStatus, kSelectionValid);
    RunPendingEvents();
    EXPECT_EQ(program.Judgement.Count(), 3);
}

TEST(SelectionJudgementTest, JudgeNowGivesTheVerdictBeforeItReturns) {
    Program program;
    QSignalSpy judged(&program.Judgement, &SelectionJudgement::Judged);
    program.Spec.F0 = 9000.0;
    program.Spec.SelStatus = kSelectionValid;
    program.Judgement.JudgeNow();
    EXPECT_NE(program.Spec.SelStatus, kSelectionValid);
    EXPECT_EQ(program.Spec.F0, 3500.0);
    EXPECT_EQ(judged.count(), 1);
}

TEST(SelectionJudgementTest, AnInputStoredWhileAJudgementIsAnnouncedIsJudgedAfterIt) {
    Program program;
    int reactions = 0;
    QObject::connect(&program.Judgement, &SelectionJudgement::Judged, [&] {
        ++reactions;
        if (reactions > 1) return;
        // As an exit handler run by the reaction's focus move would.
        program.Spec.F2 = 1100.0;
        program.Judgement.InputsChanged();
        program.Judgement.JudgeNow();
    });
    program.Judgement.JudgeNow();
    EXPECT_EQ(reactions, 1);
    EXPECT_FALSE(program.Judgement.Latest().F2Computed);
    RunPendingEvents();
    EXPECT_EQ(reactions, 2);
    EXPECT_EQ(program.Judgement.Count(), 2);
    EXPECT_TRUE(program.Judgement.Latest().F2Computed);
}

}  // namespace
}  // namespace veltrix
