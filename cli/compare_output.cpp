#include "cli/compare_output.h"

#include <cstdio>
#include <string>

#include "cli/json_number.h"

namespace veltrix {
namespace {

Json FiguresJson(const ResponseFigures& f) {
    Json j = Json::object();
    j["attenuation_db"] = f.HasAttenuation ? JsonNumber(f.AttenuationDb) : Json(nullptr);
    j["return_loss_db"] = JsonNumber(f.ReturnLossDb);
    j["delay_ns"] = f.HasAttenuation ? JsonNumber(f.DelayNs) : Json(nullptr);
    return j;
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

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string Cell(const ResponseFigures& f, bool attenuation, double value) {
    return attenuation && !f.HasAttenuation ? std::string("-") : Fixed(value, 3);
}

}  // namespace

void WriteCompareText(const MeasuredComparison& c, std::ostream& out) {
    out << "Part number: " << c.PartNumber << '\n';
    out << "Span: " << Fixed(c.SpanFromMhz, 3) << " to " << Fixed(c.SpanToMhz, 3) << " MHz\n\n";
    out << "Frequency MHz  Model att dB  Meas att dB  Model RL dB  Meas RL dB  Model delay ns  Meas delay "
           "ns\n";
    for (const ComparedPoint& p : c.Points) {
        char line[256];
        std::snprintf(line, sizeof line, "%13s  %12s  %11s  %11s  %10s  %14s  %13s\n",
                      Fixed(p.FrequencyMhz, 6).c_str(), Fixed(p.Model.AttenuationDb, 3).c_str(),
                      Cell(p.Measured, true, p.Measured.AttenuationDb).c_str(),
                      Fixed(p.Model.ReturnLossDb, 3).c_str(), Fixed(p.Measured.ReturnLossDb, 3).c_str(),
                      Fixed(p.Model.DelayNs, 3).c_str(), Cell(p.Measured, true, p.Measured.DelayNs).c_str());
        out << line;
    }
    out << "\nDeviations (measured - model):\n";
    for (const DeviationEntry& d : c.Summary) {
        out << "  " << d.Label << ": model " << Fixed(d.Model, 3) << ", measured " << Fixed(d.Measured, 3)
            << ", deviation " << Fixed(d.Deviation, 3) << '\n';
    }
    if (c.Summary.empty()) out << "  none: " << c.NoDeviations << '\n';
}

// Written a point at a time, laid out as a whole document's dump(2) would be: a large measurement is
// never held as text.
void WriteCompareJson(const MeasuredComparison& c, std::ostream& out) {
    out << "{\n  \"part_number\": " << Json(c.PartNumber).dump() << ",\n  \"span_mhz\": "
        << Nested(Json{{"from", JsonNumber(c.SpanFromMhz)}, {"to", JsonNumber(c.SpanToMhz)}}, 2)
        << ",\n  \"points\": ";
    if (c.Points.empty()) out << "[]";
    for (size_t i = 0; i < c.Points.size(); ++i) {
        const ComparedPoint& p = c.Points[i];
        Json point = Json::object();
        point["frequency_mhz"] = JsonNumber(p.FrequencyMhz);
        point["model"] = FiguresJson(p.Model);
        point["measured"] = FiguresJson(p.Measured);
        out << (i == 0 ? "[\n    " : ",\n    ") << Nested(point, 4);
        if (i + 1 == c.Points.size()) out << "\n  ]";
    }
    Json summary = Json::object();
    for (const DeviationEntry& d : c.Summary) {
        summary[d.Key] = {{"frequency_mhz", JsonNumber(d.FrequencyMhz)},
                          {"model", JsonNumber(d.Model)},
                          {"measured", JsonNumber(d.Measured)},
                          {"deviation", JsonNumber(d.Deviation)}};
    }
    out << ",\n  \"summary\": " << Nested(summary, 2) << "\n}\n";
}

}  // namespace veltrix
