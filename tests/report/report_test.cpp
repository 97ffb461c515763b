#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/selection.h"
#include "report/report.h"

namespace veltrix {
namespace {

// The report reads the return-loss and delay columns the judgement left behind.
std::vector<std::string> ReportAfterJudgement(FilterSpec& spec, ResponseData& rd) {
    ComputeSelection(spec, rd);
    return BuildTabularReport(spec, rd);
}

TEST(TabularReportTest, DefaultTable) {
    FilterSpec spec;
    ResponseData rd;
    const std::vector<std::string> lines = ReportAfterJudgement(spec, rd);
    ASSERT_EQ(lines.size(), 7u + 61u + 1u);
    EXPECT_EQ(lines[0], " ");
    EXPECT_EQ(lines[1], "Veltrix Ceramic Filters from Norvane Microwave, Inc.");
    EXPECT_EQ(lines[3], " Response Data for 3DR25-1000/U20-1.8");
    EXPECT_EQ(lines[5], "  Frequency     Attenuation    Return Loss     Delay   ");
    EXPECT_EQ(lines[7], "  940.00 MHz      40.5 dB        0.0 dB       0.90 ns");
    EXPECT_EQ(lines[7 + 25], "  990.00 MHz       3.4 dB        6.5 dB      32.10 ns");
    EXPECT_EQ(lines[7 + 30], " 1000.00 MHz       2.4 dB       16.4 dB      21.96 ns");
    EXPECT_EQ(lines[7 + 35], " 1010.00 MHz       3.4 dB        6.5 dB      30.26 ns");
    EXPECT_EQ(lines[7 + 60], " 1060.00 MHz      37.3 dB        0.0 dB       1.02 ns");
    EXPECT_EQ(lines.back(), " ");
    EXPECT_EQ(rd.SweepCount, 61.0);
}

TEST(TabularReportTest, StopbandSectionListsOnlyGivenPoints) {
    FilterSpec spec;
    spec.F2 = 1100;
    ResponseData rd;
    std::vector<std::string> lines = ReportAfterJudgement(spec, rd);
    const std::vector<std::string> tail(lines.end() - 5, lines.end());
    EXPECT_EQ(tail[0], " ");
    EXPECT_EQ(tail[1], "  Stopband Point   Frequency    Attenuation");
    EXPECT_EQ(tail[2], " ");
    EXPECT_EQ(tail[3].substr(0, 32), "        F2       1100.00 MHz    ");
    EXPECT_NE(tail[3].find(" dBc"), std::string::npos);
    EXPECT_EQ(tail[4], " ");
    for (const std::string& line : lines) EXPECT_EQ(line.find("F1 "), std::string::npos);

    spec.F1 = 950;
    lines = ReportAfterJudgement(spec, rd);
    EXPECT_EQ(lines[lines.size() - 3], "        F1        950.00 MHz      33.1 dBc");
}

TEST(TabularReportTest, RefusedSelectionGivesTheNotice) {
    FilterSpec spec;
    spec.F0 = 5000;
    ResponseData rd;
    const std::vector<std::string> lines = ReportAfterJudgement(spec, rd);
    EXPECT_EQ(lines, (std::vector<std::string>{" No Response Data.", " ",
                                               " There is an error on the filter selection screen."}));
}

TEST(TabularReportTest, FarStopbandPoints) {
    FilterSpec spec;
    spec.F1 = 1e40;  // far out, but its attenuation is still a number
    ResponseData rd;
    std::vector<std::string> lines = ReportAfterJudgement(spec, rd);
    const std::string& f1 = lines[lines.size() - 2];
    EXPECT_EQ(f1.substr(0, 16), "        F1      ");
    EXPECT_NE(f1.find("10000000000000000303786028427003666890752.00 MHz"), std::string::npos) << f1;
    EXPECT_EQ(f1.find("inf"), std::string::npos);

    // So far out that the attenuation overflows: no figure is listed, as on the screen.
    spec.F1 = 1e300;
    lines = ReportAfterJudgement(spec, rd);
    EXPECT_EQ(lines[lines.size() - 2], " ");
    EXPECT_EQ(lines[lines.size() - 3], "  Stopband Point   Frequency    Attenuation");
    for (const std::string& line : lines) EXPECT_EQ(line.find("inf"), std::string::npos) << line;
}

}  // namespace
}  // namespace veltrix
