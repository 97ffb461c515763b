#include "compare/curves_csv.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "exports/exports.h"

using namespace veltrix;

namespace {

std::vector<std::string> Split(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    std::istringstream in(line);
    while (std::getline(in, cell, ',')) cells.push_back(cell);
    if (!line.empty() && line.back() == ',') cells.push_back("");
    return cells;
}

std::vector<std::vector<std::string>> Rows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) rows.push_back(Split(line));
    return rows;
}

TEST(CurvesCsv, EveryCurveOnTheSpansGridWithTheMeasuredFileInterpolatedAndBlankOutside) {
    FinderRequirement r;
    r.F0 = 1500.0;
    r.BW = 30.0;
    r.PassbandIndex = 1;
    r.Stopbands = {{1400.0, 40.0}};
    const FinderResults found = FindParts(r);
    ASSERT_GE(found.Parts.size(), 2u);
    Comparison comparison;
    comparison.SetLimits(r.Stopbands);
    std::vector<FilterSpec> parts;
    for (size_t i = 0; i < 2; ++i) {
        const FoundPart& p = found.Parts[i];
        parts.push_back(FinderSpec(r, p.Sections, p.Profile, p.Dielectric, p.Mounting));
        ASSERT_EQ(comparison.Add(parts.back()), "");
    }
    // A measured file over part of the span only, named with a comma.
    comparison.SetMeasured(
        "dut, bench 2.s2p",
        {2, {1490.0, 1500.0, 1510.0}, {2.0, 1.0, 4.0}, {10.0, 20.0, 30.0}, {5.0, 6.0, 7.0}});

    const auto rows = Rows(CurvesCsvText(comparison));
    ASSERT_EQ(rows.size(), static_cast<size_t>(kCompareSweepSteps + 2));
    const std::vector<std::string>& header = rows[0];
    // The quoted name's comma splits each of its four headings once more here.
    ASSERT_EQ(header.size(), 1u + 2u * 4u + 2u * 4u);
    EXPECT_EQ(header[0], "frequency_mhz");
    EXPECT_EQ(header[1], comparison.Curves()[0].Name + " attenuation_dbc");
    EXPECT_EQ(header[2], comparison.Curves()[0].Name + " insertion_loss_db");
    EXPECT_EQ(header[9], "\"Measured: dut");

    const CompareSpan span = comparison.Span();
    EXPECT_NEAR(std::stod(rows[1][0]), span.FromMhz, 1e-9);
    EXPECT_NEAR(std::stod(rows.back()[0]), span.ToMhz, 1e-9);
    size_t inside = 0;
    for (size_t i = 1; i < rows.size(); ++i) {
        const std::vector<std::string>& row = rows[i];
        ASSERT_EQ(row.size(), 13u) << i;
        const double f = std::stod(row[0]);
        // The parts against the engine at the same frequency, absolute and relative.
        for (size_t p = 0; p < 2; ++p) {
            const ResponseTable at = ComputeResponseAt(parts[p], {f});
            ASSERT_EQ(at.Points.size(), 1u);
            EXPECT_NEAR(std::stod(row[1 + 4 * p]), at.Points[0].AttenuationDb - at.InsertionLossDb, 1e-6)
                << f;
            EXPECT_NEAR(std::stod(row[2 + 4 * p]), at.Points[0].AttenuationDb, 1e-6) << f;
            EXPECT_NEAR(std::stod(row[3 + 4 * p]), at.Points[0].ReturnLossDb, 1e-6) << f;
            EXPECT_NEAR(std::stod(row[4 + 4 * p]), at.Points[0].DelayNs, 1e-6) << f;
        }
        if (f < 1490.0 || f > 1510.0) {
            for (size_t k = 9; k < 13; ++k) EXPECT_EQ(row[k], "") << f;
            continue;
        }
        ++inside;
        // Linear between the file's points; its loss at the first part's F0 is its dBc reference.
        const double loss = f <= 1500.0 ? 2.0 + (f - 1490.0) / 10.0 * -1.0 : 1.0 + (f - 1500.0) / 10.0 * 3.0;
        EXPECT_NEAR(std::stod(row[10]), loss, 1e-9) << f;
        EXPECT_NEAR(std::stod(row[9]), loss - comparison.MeasuredCurve().ReferenceLossDb, 1e-9) << f;
        EXPECT_NEAR(std::stod(row[11]), f <= 1500.0 ? 10.0 + (f - 1490.0) : 20.0 + (f - 1500.0), 1e-9) << f;
    }
    EXPECT_GT(inside, 3u);
    EXPECT_NEAR(comparison.MeasuredCurve().ReferenceLossDb, 1.0, 0.3);
}

}  // namespace
