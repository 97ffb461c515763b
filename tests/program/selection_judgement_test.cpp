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
    const SelectionResults& results = program.Judgement.Latest().Selection;
    EXPECT_NE(results.Outcome.PartNumber.find("1500"), std::string::npos) << results.Outcome.PartNumber;
    EXPECT_TRUE(results.F1Computed);
    EXPECT_FALSE(results.F2Computed);
    // The figures are the engine's for the same inputs.
    FilterSpec spec = program.Judgement.Latest().Spec;
    ResponseData rd;
    EXPECT_EQ(ComputeSelection(spec, rd).F1Attenuation, results.F1Attenuation);

    RunPendingEvents();
    EXPECT_EQ(program.Judgement.Count(), 1);
}

TEST(SelectionJudgementTest, ReadingNeverJudgesAndJudgePendingJudgesOnlyAnAnnouncedChange) {
    Program program;
    program.Judgement.JudgeNow();
    program.Judgement.JudgePending();
    EXPECT_EQ(program.Judgement.Count(), 1);

    program.Spec.F0 = 3050.0;  // stored without a word: the latest judgement stays as it was
    EXPECT_TRUE(program.Judgement.Latest().Selection.Outcome.MessageLines.empty());
    EXPECT_TRUE(program.Judgement.Standard());
    program.Judgement.JudgePending();
    EXPECT_EQ(program.Judgement.Count(), 1);

    // A change announced is judged by the first command that needs it, and only once.
    program.Judgement.InputsChanged();
    program.Judgement.JudgePending();
    EXPECT_EQ(program.Spec.SelStatus, kRuleFailed);
    EXPECT_FALSE(program.Judgement.Standard());
    EXPECT_FALSE(program.Judgement.Latest().Selection.Outcome.MessageLines.empty());
    RunPendingEvents();
    EXPECT_EQ(program.Judgement.Count(), 2);
}

TEST(SelectionJudgementTest, TheLatestValueIsTheOneJudgementOfTheRecord) {
    Program program;
    EXPECT_FALSE(program.Judgement.Standard()) << "nothing is standard before the first judgement";
    program.Spec.F1 = 950.0;
    program.Judgement.JudgeNow();
    const JudgedSelection expected = JudgeSelection(program.Spec);
    const JudgedSelection& latest = program.Judgement.Latest();
    EXPECT_EQ(latest.Spec, expected.Spec);
    EXPECT_EQ(latest.Report, expected.Report);
    EXPECT_EQ(latest.PartNumber(), "3DR25-1000/U20 - 1.8");
    EXPECT_EQ(latest.Selection.F1Attenuation, expected.Selection.F1Attenuation);
    EXPECT_EQ(latest.Sweep.AttenuationDb, expected.Sweep.AttenuationDb);
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
    EXPECT_FALSE(program.Judgement.Latest().Selection.F2Computed);
    RunPendingEvents();
    EXPECT_EQ(reactions, 2);
    EXPECT_EQ(program.Judgement.Count(), 2);
    EXPECT_TRUE(program.Judgement.Latest().Selection.F2Computed);
}

}  // namespace
}  // namespace veltrix
