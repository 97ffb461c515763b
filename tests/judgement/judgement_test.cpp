#include "judgement/judgement.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/rules.h"
#include "report/report.h"

namespace veltrix {
namespace {

// Every reader shows the same value: the verdict, the sweep the graph draws, the report's columns and the
// outline all come from one judgement of the inputs.
TEST(JudgeSelectionTest, AStandardPartHasItsSweepReportAndOutlineFromOneJudgement) {
    FilterSpec spec;
    spec.F0 = 1500.0;
    spec.BWRequested = 30.0;
    spec.F1 = 1400.0;
    spec.Units = DrawingUnits::Millimetres;
    const JudgedSelection judged = JudgeSelection(spec);
    ASSERT_TRUE(judged.Standard());
    EXPECT_EQ(judged.PartNumber(), FormatPartNumber(judged.Spec));
    EXPECT_EQ(judged.Spec.BW, 30.0);
    EXPECT_EQ(judged.Spec.LastF0, 1500.0);

    ASSERT_TRUE(judged.HasSweep);
    ASSERT_EQ(judged.Sweep.Count, 61);
    ASSERT_EQ(judged.Response.SweepCount, 61.0);
    for (int k = 1; k <= judged.Sweep.Count; ++k) {
        EXPECT_EQ(judged.Sweep.AttenuationDb[k - 1], judged.Response.SweepAtten[k]) << k;
        EXPECT_EQ(judged.Sweep.ReturnLossDb[k - 1], judged.Response.SweepReturnLoss[k]) << k;
    }
    // The report lists the judged sweep: its first row starts where the graph starts.
    EXPECT_EQ(judged.Sweep.Start, 1500.0 - 3.0 * 30.0);
    ASSERT_GT(judged.Report.size(), 7u);
    EXPECT_EQ(judged.Report[7].substr(0, 12), " 1410.00 MHz");
    EXPECT_NE(std::find_if(judged.Report.begin(), judged.Report.end(),
                           [](const std::string& line) { return line.find("        F1") == 0; }),
              judged.Report.end());

    ASSERT_TRUE(judged.Outline.has_value());
    EXPECT_EQ(judged.Outline->tolerance, ToleranceLine(DrawingUnits::Millimetres));
}

// A judgement depends on the inputs alone, never on an earlier one: the program's judgement and the
// companion's agree whatever was judged before.
TEST(JudgeSelectionTest, TheSameInputsGiveTheSameValue) {
    FilterSpec spec;
    spec.F2 = 1100.0;
    const JudgedSelection first = JudgeSelection(spec);
    FilterSpec other;
    other.F0 = 2400.0;
    other.Sections = 5;
    JudgeSelection(other);
    const JudgedSelection again = JudgeSelection(spec);
    EXPECT_EQ(again.Spec, first.Spec);
    EXPECT_EQ(again.Report, first.Report);
    EXPECT_EQ(again.Sweep.DelayNs, first.Sweep.DelayNs);
    EXPECT_EQ(again.Selection.F2Attenuation, first.Selection.F2Attenuation);
}

TEST(JudgeSelectionTest, ARefusedEntryHasNoPartSweepOrDrawingAndSaysWhy) {
    FilterSpec spec;
    spec.F0 = 3050.0;
    const JudgedSelection judged = JudgeSelection(spec);
    EXPECT_FALSE(judged.Standard());
    EXPECT_FALSE(judged.HasSweep);
    EXPECT_EQ(judged.Sweep.Count, 0);
    EXPECT_FALSE(judged.Outline.has_value());
    EXPECT_EQ(judged.Report,
              (std::vector<std::string>{" No Response Data.", " ",
                                        " There is an error on the filter selection screen."}));
    EXPECT_EQ(RefusalOf(judged), "No standard part for last inputs. Maximum Frequency is 3000 MHz");
}

}  // namespace
}  // namespace veltrix
