#include "exports/exports.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

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
#include "tabular/report.h"

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
        if (std::sscanf(line.c_str(), "%lf MHz %lf dB %lf dB %lf ns", &row[0], &row[1], &row[2], &row[3]) == 4)
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
    spec.Profile = 2;
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
    std::getline(in, option);
    EXPECT_EQ(first.rfind("! ", 0), 0u);
    EXPECT_NE(first.find("4DR35-1500/U30 - 1.8"), std::string::npos) << first;
    EXPECT_NE(first.find("2026-12-10"), std::string::npos) << first;
    EXPECT_EQ(second.rfind("! Model: ", 0), 0u);
    EXPECT_EQ(option, "# MHz S DB R 50");

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
    const ResponseTable table = ComputeResponseTable(FourSectionPart(), {201, 10.0});
    ASSERT_EQ(table.Points.size(), 201u);
    EXPECT_DOUBLE_EQ(table.Points.front().FrequencyMhz, 1500.0 - 150.0);
    EXPECT_EQ(table.Points.back().FrequencyMhz, 1500.0 + 150.0);
    EXPECT_DOUBLE_EQ(table.Points[100].FrequencyMhz, 1500.0);
    const auto rows = TouchstoneRows(TouchstoneText(table, "today"));
    EXPECT_NEAR(rows[100][4], 0.0, 1e-9);

    // Either alone takes the other from the graph: 61 points, or its six bandwidths.
    const ResponseTable wide = ComputeResponseTable(FourSectionPart(), {0, 10.0});
    ASSERT_EQ(wide.Points.size(), 61u);
    EXPECT_EQ(wide.Points.back().FrequencyMhz, 1650.0);
    const ResponseTable dense = ComputeResponseTable(FourSectionPart(), {7, 0.0});
    ASSERT_EQ(dense.Points.size(), 7u);
    EXPECT_EQ(dense.Points.back().FrequencyMhz, 1590.0);
}

TEST_F(Exports, RefusedSelectionWritesNothing) {
    FilterSpec refused;
    refused.F0 = 500.0;
    const std::string path = (dir_ / "part.s2p").string();
    const FileResult result = WriteTouchstoneFile(refused, {}, path, "today");
    EXPECT_FALSE(result.Ok);
    EXPECT_EQ(result.Error, "No standard part for last inputs. Maximum Bandwidth Exceeded");
    EXPECT_FALSE(fs::exists(path));
    EXPECT_FALSE(WriteCsvFile(refused, path).Ok);

    const std::string unwritable = (dir_ / "missing" / "part.s2p").string();
    const FileResult failed = WriteTouchstoneFile(FilterSpec{}, {}, unwritable, "today");
    EXPECT_EQ(failed.Error, unwritable + ": " + std::strerror(ENOENT));
}

TEST_F(Exports, CsvHoldsTheSweepThenTheStopbandPointsInAnyLocale) {
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
    for (const ResponsePoint& p : table.Points) {
        ASSERT_TRUE(std::getline(in, line));
        double f, a, rl, d;
        ASSERT_EQ(std::sscanf(line.c_str(), "%lf,%lf,%lf,%lf", &f, &a, &rl, &d), 4) << line;
        EXPECT_EQ(f, p.FrequencyMhz);
        EXPECT_EQ(a, p.AttenuationDb);
        EXPECT_EQ(rl, p.ReturnLossDb);
        EXPECT_EQ(d, p.DelayNs);
    }
    std::getline(in, line);
    EXPECT_EQ(line, "");
    std::getline(in, line);
    EXPECT_EQ(line, "stopband_point,frequency_mhz,attenuation_dbc");
    std::getline(in, line);
    EXPECT_EQ(line.rfind("F1,1400,", 0), 0u) << line;
    std::getline(in, line);
    EXPECT_EQ(line.rfind("F2,1620,", 0), 0u) << line;
    EXPECT_FALSE(std::getline(in, line));
}

// An independent reader: Debian's python3 with scikit-rf.
TEST_F(Exports, TouchstoneReadByScikitRf) {
    if (std::system("/usr/bin/python3 -c 'import skrf' >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "Debian's /usr/bin/python3 with scikit-rf (python3-skrf) is not installed";
    }
    const FilterSpec spec = FourSectionPart();
    const fs::path file = dir_ / "part.s2p";
    ASSERT_TRUE(WriteTouchstoneFile(spec, {}, file.string(), "2026-12-10").Ok);
    const fs::path script = dir_ / "read.py";
    std::ofstream(script) << R"(import json, sys, warnings
warnings.simplefilter('ignore')
import skrf
n = skrf.Network(sys.argv[1])
print('JSON ' + json.dumps({'ports': int(n.nports), 'reciprocal': bool(n.is_reciprocal(tol=1e-9)),
                  'passive': bool(n.is_passive(tol=1e-9)), 'f_mhz': list(n.f / 1e6),
                  's21_db': list(n.s_db[:, 1, 0])}))
)";
    const std::string command =
        "MPLBACKEND=Agg /usr/bin/python3 " + script.string() + " " + file.string() + " 2>/dev/null";
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    char buffer[4096];
    for (size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) output.append(buffer, got);
    ASSERT_EQ(pclose(pipe), 0) << output;
    // The reader may chat on standard output before its answer.
    const size_t answer = output.rfind("JSON ");
    ASSERT_NE(answer, std::string::npos) << output;
    const auto doc = nlohmann::json::parse(output.substr(answer + 5));
    EXPECT_EQ(doc["ports"], 2);
    EXPECT_TRUE(doc["reciprocal"].get<bool>());
    EXPECT_TRUE(doc["passive"].get<bool>());

    const auto rows = ReportRows(spec);
    const auto f = doc["f_mhz"].get<std::vector<double>>();
    const auto s21 = doc["s21_db"].get<std::vector<double>>();
    ASSERT_EQ(f.size(), rows.size());
    ASSERT_EQ(s21.size(), rows.size());
    for (size_t k = 0; k < rows.size(); ++k) {
        EXPECT_NEAR(f[k], rows[k][0], 0.005 + 1e-9);
        // The report prints one decimal: minus |S21| in dB rounds to the listed figure.
        EXPECT_NEAR(-s21[k], rows[k][1], 0.05 + 1e-6) << "at " << rows[k][0] << " MHz";
    }
}

}  // namespace
}  // namespace veltrix
