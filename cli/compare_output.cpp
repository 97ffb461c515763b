#include "cli/compare_output.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

#include "cli/json_number.h"

namespace veltrix {
namespace {

void AppendNumber(std::string& text, double value) {
    std::array<char, 64> buffer;
    text += JsonNumberText(value, buffer);
}

// A point's figures as dump(2) lays them out six spaces into the document; they are many, so they
// are written straight as text.
void AppendFigures(std::string& text, const ResponseFigures& f) {
    text += "{\n        \"attenuation_db\": ";
    AppendNumber(text, f.HasAttenuation ? f.AttenuationDb : NAN);
    text += ",\n        \"return_loss_db\": ";
    AppendNumber(text, f.ReturnLossDb);
    text += ",\n        \"delay_ns\": ";
    AppendNumber(text, f.HasAttenuation ? f.DelayNs : NAN);
    text += "\n      }";
}

// value.dump(2) as it stands at depth spaces into a document.
std::string Nested(const Json& value, size_t depth) {
    const std::string text = value.dump(2);
    std::string nested;
    nested.reserve(text.size() + text.size() / 8);
    for (const char ch : text) {
        nested += ch;
        if (ch == '\n') nested.append(depth, ' ');
    }
    return nested;
}

// printf's "%.*f", which costs many times more on a million rows.
std::string Fixed(double value, int decimals) {
    std::array<char, 400> text;  // the widest double in fixed notation
    const auto written =
        std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, decimals);
    return std::string(text.data(), written.ptr);
}

void RightAligned(std::string& line, const std::string& cell, size_t width) {
    if (cell.size() < width) line.append(width - cell.size(), ' ');
    line += cell;
}

std::string Cell(const ResponseFigures& f, bool attenuation, double value) {
    return attenuation && !f.HasAttenuation ? std::string("-") : Fixed(value, 3);
}

}  // namespace

void WriteCompareText(const MeasuredComparison& c, const SampleJudgement& j, std::ostream& out) {
    out << "Part number: " << c.PartNumber << '\n';
    out << "Span: " << Fixed(c.SpanFromMhz, 3) << " to " << Fixed(c.SpanToMhz, 3) << " MHz\n\n";
    out << "Frequency MHz  Model att dB  Meas att dB  Model RL dB  Meas RL dB  Model delay ns  Meas delay "
           "ns\n";
    std::string line;
    for (const ComparedPoint& p : c.Points) {
        line.clear();
        RightAligned(line, Fixed(p.FrequencyMhz, 6), 13);
        RightAligned(line += "  ", Fixed(p.Model.AttenuationDb, 3), 12);
        RightAligned(line += "  ", Cell(p.Measured, true, p.Measured.AttenuationDb), 11);
        RightAligned(line += "  ", Fixed(p.Model.ReturnLossDb, 3), 11);
        RightAligned(line += "  ", Fixed(p.Measured.ReturnLossDb, 3), 10);
        RightAligned(line += "  ", Fixed(p.Model.DelayNs, 3), 14);
        RightAligned(line += "  ", Cell(p.Measured, true, p.Measured.DelayNs), 13);
        out << (line += '\n');
    }
    out << "\nDeviations (measured - model):\n";
    for (const DeviationEntry& d : c.Summary) {
        out << "  " << d.Label << ": model " << Fixed(d.Model, 3) << ", measured " << Fixed(d.Measured, 3)
            << ", deviation " << Fixed(d.Deviation, 3) << '\n';
    }
    if (c.Summary.empty()) out << "  none: " << c.NoDeviations << '\n';
    out << "\nThe sample against the requirement:\n";
    const std::vector<std::string> lines = SampleJudgementLines(j);
    for (size_t i = 0; i + 1 < lines.size(); ++i) out << "  " << lines[i] << '\n';
    out << (lines.size() > 1 ? "" : "  ") << lines.back() << '\n';
}

// Written a point at a time, laid out as a whole document's dump(2) would be: a large measurement is
// never held as text.
void WriteCompareJson(const MeasuredComparison& c, const SampleJudgement& j, std::ostream& out) {
    out << "{\n  \"part_number\": " << Json(c.PartNumber).dump() << ",\n  \"span_mhz\": "
        << Nested(Json{{"from", JsonNumber(c.SpanFromMhz)}, {"to", JsonNumber(c.SpanToMhz)}}, 2)
        << ",\n  \"points\": ";
    if (c.Points.empty()) out << "[]";
    std::string text;
    for (size_t i = 0; i < c.Points.size(); ++i) {
        const ComparedPoint& p = c.Points[i];
        text.assign(i == 0 ? "[\n" : ",\n");
        text += "    {\n      \"frequency_mhz\": ";
        AppendNumber(text, p.FrequencyMhz);
        text += ",\n      \"model\": ";
        AppendFigures(text, p.Model);
        text += ",\n      \"measured\": ";
        AppendFigures(text, p.Measured);
        text += "\n    }";
        if (i + 1 == c.Points.size()) text += "\n  ]";
        out << text;
    }
    Json summary = Json::object();
    for (const DeviationEntry& d : c.Summary) {
        summary[d.Key] = {{"frequency_mhz", JsonNumber(d.FrequencyMhz)},
                          {"model", JsonNumber(d.Model)},
                          {"measured", JsonNumber(d.Measured)},
                          {"deviation", JsonNumber(d.Deviation)}};
    }
    out << ",\n  \"summary\": " << Nested(summary, 2);
    if (!j.Judged) {
        out << ",\n  \"requirement\": null,\n  \"passband\": null,\n  \"delay\": null,\n  \"verdict\": null"
            << ",\n  \"not_judged\": " << Json(j.NotJudged).dump() << "\n}\n";
        return;
    }
    Json points = Json::array();
    for (const SamplePoint& p : j.Points) {
        points.push_back({{"frequency_mhz", JsonNumber(p.FrequencyMhz)},
                          {"measured_dbc", p.Measured ? JsonNumber(p.MeasuredDbc) : Json(nullptr)},
                          {"required_dbc", JsonNumber(p.RequiredDbc)},
                          {"margin_db", p.Measured ? JsonNumber(p.MarginDb) : Json(nullptr)},
                          {"pass", p.Pass}});
    }
    const Json optionalIl = j.MaxInsertionLossDb ? JsonNumber(*j.MaxInsertionLossDb) : Json(nullptr);
    const Json requirement{{"centre_frequency_mhz", JsonNumber(j.F0Mhz)},
                           {"insertion_loss",
                            {{"frequency_mhz", JsonNumber(j.F0Mhz)},
                             {"measured_db", JsonNumber(j.LossAtF0Db)},
                             {"maximum_db", optionalIl},
                             {"margin_db", j.MaxInsertionLossDb ? JsonNumber(j.LossMarginDb) : Json(nullptr)},
                             {"pass", j.LossPass}}},
                           {"points", points}};
    const SamplePassband& b = j.Passband;
    const auto found = [&b](double v) { return b.Found ? JsonNumber(v) : Json(nullptr); };
    const Json passband{{"definition_db", JsonNumber(b.DefinitionDb)},
                        {"lowest_loss_db", JsonNumber(b.LowestLossDb)},
                        {"lower_edge_mhz", found(b.LowerEdgeMhz)},
                        {"upper_edge_mhz", found(b.UpperEdgeMhz)},
                        {"bandwidth_mhz", found(b.BandwidthMhz)},
                        {"required_bandwidth_mhz", JsonNumber(b.RequiredBandwidthMhz)},
                        {"bandwidth_pass", b.Found && b.BandwidthPass},
                        {"centre_mhz", found(b.CentreMhz)},
                        {"shift_mhz", found(b.ShiftMhz)},
                        {"band_from_mhz", JsonNumber(b.BandFromMhz)},
                        {"band_to_mhz", JsonNumber(b.BandToMhz)},
                        {"highest_loss_db", JsonNumber(b.HighestLossDb)},
                        {"flatness_db", JsonNumber(b.FlatnessDb)}};
    const Json delay{{"frequency_mhz", JsonNumber(j.F0Mhz)},
                     {"half_aperture_mhz", JsonNumber(j.DelayApertureMhz)},
                     {"measured_ns", JsonNumber(j.DelayAtF0Ns)}};
    out << ",\n  \"requirement\": " << Nested(requirement, 2) << ",\n  \"passband\": " << Nested(passband, 2)
        << ",\n  \"delay\": " << Nested(delay, 2) << ",\n  \"meets\": " << (j.Meets ? "true" : "false")
        << ",\n  \"verdict\": " << Json(j.Verdict).dump() << "\n}\n";
}

}  // namespace veltrix
