#include "exports/exports.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <array>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "engine/response.h"
#include "engine/selection.h"
#include "report/report.h"

namespace veltrix {
namespace {

namespace fs = std::filesystem;

// The report's rows: frequency, attenuation, return loss, delay, as printed.
std::vector<std::array<double, 4>> ReportRows(const FilterSpec& input) {
    FilterSpec spec = input;
    ResponseData rd;
    ComputeSelection(spec, rd);
    std::vector<std::array<double, 4>> rows;
    for (const std::string& line : BuildTabularReport(spec, rd)) {
        std::array<double, 4> row{};
        if (std::sscanf(line.c_str(), "%lf MHz %lf dB %lf dB %lf ns", &row[0], &row[1], &row[2], &row[3]) ==
            4)
            rows.push_back(row);
    }
    return rows;
}

std::vector<std::vector<double>> TouchstoneRows(const std::string& text) {
    std::vector<std::vector<double>> rows;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '!' || line[0] == '#') continue;
        std::istringstream fields(line);
        std::vector<double> row;
        for (double v; fields >> v;) row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

FilterSpec FourSectionPart() {
    FilterSpec spec;
    spec.Sections = 4;
    spec.F0 = 1500.0;
    spec.BW = spec.BWRequested = 30.0;
    spec.Profile = ResonatorProfile::Mm6;
    spec.F1 = 1400.0;
    spec.F2 = 1620.0;
    return spec;
}

class Exports : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "veltrix-exports-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(Exports, TableRowsAreTheReportsRows) {
    for (const FilterSpec& spec : {FilterSpec{}, FourSectionPart()}) {
        const ResponseTable table = ComputeResponseTable(spec);
        ASSERT_TRUE(table.Standard) << table.Refusal;
        const auto rows = ReportRows(spec);
        ASSERT_EQ(table.Points.size(), rows.size());
        for (size_t k = 0; k < rows.size(); ++k) {
            char printed[128];
            const ResponsePoint& p = table.Points[k];
            std::snprintf(printed, sizeof printed, "%.2f %.1f %.1f %.2f", p.FrequencyMhz, p.AttenuationDb,
                          p.ReturnLossDb, p.DelayNs);
            char report[128];
            std::snprintf(report, sizeof report, "%.2f %.1f %.1f %.2f", rows[k][0], rows[k][1], rows[k][2],
                          rows[k][3]);
            EXPECT_STREQ(printed, report) << "row " << k + 1;
        }
    }
}

TEST_F(Exports, TouchstoneIsAPassiveQuadratureTwoPortWithTheReportsDelay) {
    const ResponseTable table = ComputeResponseTable(FourSectionPart());
    ASSERT_TRUE(table.Standard);
    const std::string text = TouchstoneText(table, "2026-12-10");
    std::istringstream in(text);
    std::string first, second, option;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_EQ(first.rfind("! ", 0), 0u);
    EXPECT_NE(first.find("4DR35-1500/U30 - 1.8"), std::string::npos) << first;
    EXPECT_NE(first.find("2026-12-10"), std::string::npos) << first;
    EXPECT_EQ(second.rfind("! Model: ", 0), 0u);
    std::string comments = first + "\n" + second + "\n";
    while (std::getline(in, option) && option.rfind("!", 0) == 0) comments += option + "\n";
    EXPECT_EQ(option, "# MHz S DB R 50");
    // What the numbers mean: the model's range and the maker's guarantee.
    EXPECT_NE(comments.find("Model valid from 1410 to 1590 MHz"), std::string::npos) << comments;
    EXPECT_NE(comments.find("60 dBc for F0 below 2000 MHz and to 30 dBc from 2000 MHz; this part: 60 dBc"),
              std::string::npos)
        << comments;

    const auto rows = TouchstoneRows(text);
    ASSERT_EQ(rows.size(), table.Points.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE("point " + std::to_string(k + 1));
        const auto& r = rows[k];
        ASSERT_EQ(r.size(), 9u);
        EXPECT_NEAR(r[3], -table.Points[k].AttenuationDb, 1e-6);
        EXPECT_EQ(r[5], r[3]) << "S12 = S21";
        EXPECT_EQ(r[6], r[4]);
        EXPECT_EQ(r[7], r[1]) << "S22 = S11";
        EXPECT_EQ(r[8], r[2]);
        const double s11 = std::pow(10.0, r[1] / 20.0);
        const double s21 = std::pow(10.0, r[3] / 20.0);
        EXPECT_LE(s11 * s11 + s21 * s21, 1.0);
        EXPECT_LE(r[1], -std::fabs(table.Points[k].ReturnLossDb) + 1e-6) << "|S11| only ever lowered";
        double quadrature = std::fmod(std::fabs(r[2] - r[4]), 180.0);
        EXPECT_NEAR(quadrature, 90.0, 1e-5);
    }
    // Phase 0 at the centre frequency, and the delay read back from the phase is the report's.
    const size_t centre = rows.size() / 2;
    ASSERT_EQ(rows[centre][0], 1500.0);
    EXPECT_EQ(rows[centre][4], 0.0);
    for (size_t k = 1; k < rows.size(); ++k) {
        double step = rows[k][4] - rows[k - 1][4];
        step -= 360.0 * std::round(step / 360.0);
        const double delayNs = -step / 360.0 / (rows[k][0] - rows[k - 1][0]) * 1e3;
        const double expected = 0.5 * (table.Points[k].DelayNs + table.Points[k - 1].DelayNs);
        EXPECT_NEAR(delayNs, expected, 1e-4 * expected + 1e-4) << "between points " << k << " and " << k + 1;
    }
}

TEST_F(Exports, ChosenSpanAndPoints) {
    const FilterSpec spec = FourSectionPart();
    const ResponseTable table = ComputeResponseTable(spec, {201, 10.0}, ExportFormat::Touchstone);
    ASSERT_EQ(table.Points.size(), 201u);
    EXPECT_DOUBLE_EQ(table.Points.front().FrequencyMhz, 1500.0 - 150.0);
    EXPECT_EQ(table.Points.back().FrequencyMhz, 1500.0 + 150.0);
    EXPECT_DOUBLE_EQ(table.Points[100].FrequencyMhz, 1500.0);
    const auto rows = TouchstoneRows(TouchstoneText(table, "today"));
    EXPECT_NEAR(rows[100][4], 0.0, 1e-9);

    // Either alone takes the other from the format's default: the graph's span, 601 or 61 points.
    const ResponseTable wide = ComputeResponseTable(spec, {0, 10.0}, ExportFormat::Touchstone);
    ASSERT_EQ(wide.Points.size(), 601u);
    EXPECT_EQ(wide.Points.back().FrequencyMhz, 1650.0);
    EXPECT_EQ(ComputeResponseTable(spec, {0, 10.0}, ExportFormat::Csv).Points.size(), 61u);
    const ResponseTable dense = ComputeResponseTable(spec, {7, 0.0}, ExportFormat::Touchstone);
    ASSERT_EQ(dense.Points.size(), 7u);
    EXPECT_EQ(dense.Points.back().FrequencyMhz, 1590.0);

    // A range of its own, which wins over a span.
    const ResponseTable range =
        ComputeResponseTable(spec, {5, 3.0, 1200.0, 1800.0}, ExportFormat::Touchstone);
    ASSERT_EQ(range.Points.size(), 5u);
    EXPECT_EQ(range.Points.front().FrequencyMhz, 1200.0);
    EXPECT_EQ(range.Points[1].FrequencyMhz, 1350.0);
    EXPECT_EQ(range.Points.back().FrequencyMhz, 1800.0);
}

// Spans from a tenth of a bandwidth to past zero: the rows a reader gets are positive and strictly
// increasing as printed, and a span that reaches zero is cut at its low end, never its high one.
TEST_F(Exports, FrequenciesArePositiveAndStrictlyIncreasingAsPrinted) {
    const FilterSpec spec = FourSectionPart();
    for (const double span : {0.1, 1.0, 6.0, 99.0, 100.0, 101.0, 200.0, 1000.0}) {
        for (const int points : {2, 61, 601}) {
            SCOPED_TRACE("span " + std::to_string(span) + ", " + std::to_string(points) + " points");
            const ResponseTable table = ComputeResponseTable(spec, {points, span}, ExportFormat::Touchstone);
            ASSERT_TRUE(table.Standard) << table.Refusal;
            const auto rows = TouchstoneRows(TouchstoneText(table, "today"));
            ASSERT_EQ(rows.size(), static_cast<size_t>(points));
            EXPECT_GT(rows.front()[0], 0.0);
            for (size_t k = 1; k < rows.size(); ++k) ASSERT_GT(rows[k][0], rows[k - 1][0]) << "row " << k + 1;
            EXPECT_DOUBLE_EQ(rows.back()[0], 1500.0 + 15.0 * span);
            if (1500.0 - 15.0 * span > 0.0) {
                EXPECT_NEAR(rows.front()[0], 1500.0 - 15.0 * span, 1e-6);
            }
        }
    }
    // Where the centre lies within the clipped span, the rows around it are the response's, not a floor.
    const auto clipped = TouchstoneRows(
        TouchstoneText(ComputeResponseTable(spec, {2001, 101.0}, ExportFormat::Touchstone), "today"));
    const auto centre = std::min_element(clipped.begin(), clipped.end(), [](const auto& a, const auto& b) {
        return std::fabs(a[0] - 1500.0) < std::fabs(b[0] - 1500.0);
    });
    EXPECT_GT((*centre)[3], -10.0) << "S21 near the centre, dB";
}

TEST_F(Exports, ASpanThatCannotGiveDistinctFrequenciesIsRefused) {
    struct Case {
        ExportSpan span;
        const char* mentions;
    };
    for (const Case& c : {Case{{3, 1e-9}, "not distinct"}, Case{{100001, 0.001}, "not distinct"},
                          Case{{2, 0.0, 1e-7, 2e-7}, "not distinct"}, Case{{5, 0.0, 1600.0, 1400.0}, "empty"},
                          Case{{1, 6.0}, "from 2 to 100001 points"}}) {
        SCOPED_TRACE(c.mentions);
        const ExportGrid grid = ExportFrequencies(FourSectionPart(), c.span, ExportFormat::Touchstone);
        EXPECT_TRUE(grid.FrequenciesMhz.empty());
        EXPECT_NE(grid.Problem.find(c.mentions), std::string::npos) << grid.Problem;
        const std::string path = (dir_ / "part.s2p").string();
        const FileResult result = WriteTouchstoneFile(FourSectionPart(), c.span, path, "today");
        EXPECT_FALSE(result.Ok);
        EXPECT_EQ(result.Error, grid.Problem);
        EXPECT_FALSE(fs::exists(path));
    }
    EXPECT_TRUE(ExportFrequencies(FourSectionPart(), {3, 1e-6}, ExportFormat::Touchstone).Problem.empty())
        << "0.000015 MHz apart is still distinct";
}

// The group delay a simulator reads from the default file's phase, by central differences (one-sided
// at the ends, as numpy's gradient), against the report's delay column at every frequency it lists.
TEST_F(Exports, DefaultTouchstoneDelayFromThePhaseIsTheReports) {
    FilterSpec twoSections;
    twoSections.Sections = 2;
    twoSections.F0 = 2400.0;
    twoSections.BW = twoSections.BWRequested = 80.0;
    twoSections.PBD = 3.0;
    twoSections.Passband = PassbandChoice::Db3_0;
    FilterSpec narrow = FourSectionPart();
    narrow.GraphHalfSpan = 1.0;
    for (const FilterSpec& spec : {FilterSpec{}, FourSectionPart(), twoSections, narrow}) {
        const std::string text =
            TouchstoneText(ComputeResponseTable(spec, {}, ExportFormat::Touchstone), "today");
        const auto rows = TouchstoneRows(text);
        const auto report = ReportRows(spec);
        ASSERT_FALSE(report.empty()) << "a standard part";
        SCOPED_TRACE(text.substr(0, text.find('\n')));
        std::vector<double> phase(rows.size());
        for (size_t k = 0; k < rows.size(); ++k) {
            phase[k] = rows[k][4];
            if (k > 0) phase[k] -= 360.0 * std::round((phase[k] - phase[k - 1]) / 360.0);
        }
        size_t k = 0;
        for (const auto& row : report) {
            while (k < rows.size() && rows[k][0] < row[0] - 0.005) ++k;
            ASSERT_LT(k, rows.size());
            char listed[32], printed[32];
            std::snprintf(listed, sizeof listed, "%.2f", row[0]);
            std::snprintf(printed, sizeof printed, "%.2f", rows[k][0]);
            ASSERT_STREQ(printed, listed) << "the file keeps every listed frequency";
            const size_t lo = k == 0 ? 0 : k - 1;
            const size_t hi = k + 1 == rows.size() ? k : k + 1;
            const double delayNs = -(phase[hi] - phase[lo]) / 360.0 / (rows[hi][0] - rows[lo][0]) * 1e3;
            // 2 % of the listed figure, plus the half unit the listing rounds away.
            EXPECT_NEAR(delayNs, row[3], 0.02 * row[3] + 0.005) << "at " << listed << " MHz";
        }
    }
}

TEST_F(Exports, RefusedSelectionWritesNothing) {
    FilterSpec refused;
    refused.F0 = 500.0;
    const std::string path = (dir_ / "part.s2p").string();
    const FileResult result = WriteTouchstoneFile(refused, {}, path, "today");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, "No standard part for last inputs. Maximum Bandwidth Exceeded");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(WriteCsvFile(refused, {}, path).Ok);

    const std::string unwritable = (dir_ / "missing" / "part.s2p").string();
    const FileResult failed = WriteTouchstoneFile(FilterSpec{}, {}, unwritable, "today");
    EXPECT_EQ(failed.Error, unwritable + ": " + std::strerror(ENOENT));
}

TEST_F(Exports, CsvHoldsOneTableTheSweepInAnyLocale) {
    // A locale with a decimal comma, where the system has one; the file must not change.
    const bool comma = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    const std::string text = CsvText(ComputeResponseTable(FourSectionPart()));
    std::setlocale(LC_ALL, "C");
    if (comma) {
        EXPECT_EQ(text, CsvText(ComputeResponseTable(FourSectionPart())));
    }

    std::istringstream in(text);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "frequency_mhz,attenuation_db,return_loss_db,delay_ns");
    const ResponseTable table = ComputeResponseTable(FourSectionPart());
    ASSERT_EQ(table.Stopbands.size(), 2u) << "the part has stopband points, which the CSV leaves out";
    for (const ResponsePoint& p : table.Points) {
        ASSERT_TRUE(std::getline(in, line));
        double f, a, rl, d;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &f, &a, &rl, &d), 4) << line;
        EXPECT_EQ(f, p.FrequencyMhz);
        EXPECT_EQ(a, p.AttenuationDb);
        EXPECT_EQ(rl, p.ReturnLossDb);
        EXPECT_EQ(d, p.DelayNs);
    }
    EXPECT_FALSE(std::getline(in, line)) << "after the sweep: " << line;

    // A chosen range gives the same one table over it.
    const ResponseTable chosen = ComputeResponseTable(FourSectionPart(), {11, 0.0, 1400.0, 1600.0});
    const std::string range = CsvText(chosen);
    EXPECT_EQ(std::count(range.begin(), range.end(), '\n'), 12);
    EXPECT_NE(range.find("\n1400,"), std::string::npos);
    EXPECT_NE(range.find("\n1600,"), std::string::npos);
}

TEST(ExportFileNames, ThePartNumberSafeInAFileName) {
    EXPECT_EQ(ExportFileName("3DR25-1000/U20 - 1.8", ".s2p"), "3DR25-1000_U20.s2p");
    EXPECT_EQ(ExportFileName("4DR35-1500/U30 - 1.8", ".csv"), "4DR35-1500_U30.csv");
    EXPECT_EQ(ExportFileName("../a\\b:c*d?\n", ".s2p"), "_._a_b_c_d__.s2p");
    EXPECT_EQ(ExportFileName("", ".csv"), "response.csv");
    FilterSpec spec;
    EXPECT_EQ(ExportFileName(ComputeResponseTable(spec).PartNumber, ".s2p"), "3DR25-1000_U20.s2p");
}

// An independent reader: Debian's python3 with scikit-rf.
TEST_F(Exports, TouchstoneReadByScikitRf) {
    if (std::system("/usr/bin/python3 -c 'import skrf' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Debian's /usr/bin/python3 with scikit-rf (python3-skrf) is not installed";
    }
    const FilterSpec spec = FourSectionPart();
    const fs::path file = dir_ / "part.s2p";
    ASSERT_TRUE(WriteTouchstoneFile(spec, {}, file.string(), "2026-12-10").Ok);
    const std::vector<double> spans{0.1, 1.0, 6.0, 50.0, 101.0, 200.0};
    std::string files = file.string();
    for (const double span : spans) {
        const fs::path other = dir_ / ("span-" + std::to_string(span) + ".s2p");
        ASSERT_TRUE(WriteTouchstoneFile(spec, {0, span}, other.string(), "2026-12-10").Ok);
        files += " " + other.string();
    }
    const fs::path script = dir_ / "read.py";
    std::ofstream(script) << R"(import json, sys, warnings
warnings.simplefilter('ignore')
import skrf
out = []
for name in sys.argv[1:]:
    n = skrf.Network(name)
    out.append({'ports': int(n.nports), 'reciprocal': bool(n.is_reciprocal(tol=1e-9)),
                'passive': bool(n.is_passive(tol=1e-9)), 'f_mhz': list(n.f / 1e6),
                's21_db': list(n.s_db[:, 1, 0]), 'delay_ns': list(n.group_delay[:, 1, 0].real * 1e9)})
print('JSON ' + json.dumps(out))
)";
    const std::string command =
        "MPLBACKEND=Agg /usr/bin/python3 " + script.string() + " " + files + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << output;
    // The reader may chat on standard output before its answer.
    const size_t answer = output.rfind("JSON ");
    ASSERT_NE(answer, std::string::npos) << output;
    const auto all = nlohmann::json::parse(output.substr(answer + 5));
    ASSERT_EQ(all.size(), 1 + spans.size());
    for (size_t i = 0; i < all.size(); ++i) {
        SCOPED_TRACE(i == 0 ? std::string("default") : "span " + std::to_string(spans[i - 1]));
        const auto& doc = all[i];
        EXPECT_EQ(doc["ports"], 2);
        EXPECT_TRUE(doc["reciprocal"].get<bool>());
        EXPECT_TRUE(doc["passive"].get<bool>());
        const auto f = doc["f_mhz"].get<std::vector<double>>();
        ASSERT_EQ(f.size(), static_cast<size_t>(kDefaultTouchstonePoints));
        EXPECT_GT(f.front(), 0.0);
        for (size_t k = 1; k < f.size(); ++k) ASSERT_GT(f[k], f[k - 1]) << "point " << k + 1;
    }

    // The default file: the report's attenuation at its frequencies, and the delay the reader takes
    // from the phase within 2 % of the report's.
    const auto& doc = all[0];
    const auto rows = ReportRows(spec);
    const auto f = doc["f_mhz"].get<std::vector<double>>();
    const auto s21 = doc["s21_db"].get<std::vector<double>>();
    const auto delay = doc["delay_ns"].get<std::vector<double>>();
    size_t k = 0;
    for (const auto& row : rows) {
        while (k < f.size() && f[k] < row[0] - 0.005) ++k;
        ASSERT_LT(k, f.size());
        EXPECT_NEAR(f[k], row[0], 0.005 + 1e-9);
        // The report prints one decimal: minus |S21| in dB rounds to the listed figure.
        EXPECT_NEAR(-s21[k], row[1], 0.05 + 1e-6) << "at " << row[0] << " MHz";
        EXPECT_NEAR(delay[k], row[3], 0.02 * row[3] + 0.005) << "at " << row[0] << " MHz";
    }
}

}  // namespace
}  // namespace veltrix
