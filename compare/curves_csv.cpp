#include "compare/curves_csv.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "measured/comparison.h"

namespace veltrix {

namespace {

std::string Number(double value) {
    if (!std::isfinite(value)) return "";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

// A name with a comma, a quote or a line break is quoted, its quotes doubled.
std::string Field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// One curve's four figures at each grid frequency.
struct Columns {
    std::string name;
    std::vector<double> dbc, loss, returnLoss, delay;
};

double At(const CompareCurve& curve, const std::vector<double>& values, double mhz) {
    const std::vector<double>& f = curve.FrequenciesMhz;
    if (values.size() != f.size() || f.empty() || mhz < f.front() || mhz > f.back()) return std::nan("");
    return InterpolateAt(f, values, mhz);
}

Columns OnGrid(const CompareCurve& curve, const std::vector<double>& grid) {
    Columns columns{curve.Name, {}, {}, {}, {}};
    for (const double mhz : grid) {
        const double dbc = At(curve, curve.AttenuationDbc, mhz);
        columns.dbc.push_back(dbc);
        columns.loss.push_back(dbc + curve.ReferenceLossDb);
        columns.returnLoss.push_back(At(curve, curve.ReturnLossDb, mhz));
        columns.delay.push_back(At(curve, curve.DelayNs, mhz));
    }
    return columns;
}

std::vector<double> Grid(const Comparison& comparison) {
    if (!comparison.Curves().empty()) return comparison.Curves().front().FrequenciesMhz;
    const CompareSpan span = comparison.Span();
    std::vector<double> grid;
    if (span.ToMhz <= span.FromMhz) return grid;
    for (int i = 0; i <= kCompareSweepSteps; ++i)
        grid.push_back(span.FromMhz + (span.ToMhz - span.FromMhz) * i / kCompareSweepSteps);
    return grid;
}

}  // namespace

std::string CurvesCsvText(const Comparison& comparison) {
    const std::vector<double> grid = Grid(comparison);
    std::vector<Columns> curves;
    for (const CompareCurve& curve : comparison.Curves()) curves.push_back(OnGrid(curve, grid));
    if (comparison.HasMeasured()) {
        curves.push_back(OnGrid(comparison.MeasuredCurve(), grid));
        curves.back().name = "Measured: " + curves.back().name;
    }
    std::string text = "frequency_mhz";
    for (const Columns& c : curves)
        for (const char* figure : {" attenuation_dbc", " insertion_loss_db", " return_loss_db", " delay_ns"})
            text += "," + Field(c.name + figure);
    text += "\n";
    for (size_t i = 0; i < grid.size(); ++i) {
        text += Number(grid[i]);
        for (const Columns& c : curves)
            text += "," + Number(c.dbc[i]) + "," + Number(c.loss[i]) + "," + Number(c.returnLoss[i]) + "," +
                    Number(c.delay[i]);
        text += "\n";
    }
    return text;
}

}  // namespace veltrix
