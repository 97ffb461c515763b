#include "cli/output.h"

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "cli/json_number.h"
#include "outline_geometry/outline_geometry.h"
#include "report/fixed_format.h"

namespace veltrix {
namespace {

std::string FocusName(FocusTarget focus) {
    switch (focus) {
        case FocusTarget::F0Edit:
            return "F0Edit";
        case FocusTarget::BWEdit:
            return "BWEdit";
        case FocusTarget::None:
            break;
    }
    return "none";
}

std::string Mhz(double f) {
    std::string text;
    AppendFixed(text, f, 0, 2);
    return text;
}

void WriteStopbandLine(std::ostream& out, const char* name, double f, bool computed, double attenuation) {
    if (!(f > 0.0)) return;
    out << "Attenuation at " << name << " (" << Mhz(f) << " MHz): ";
    if (computed) {
        out << StopbandLabel(computed, attenuation) << " dBc\n";
    } else {
        out << "not computed\n";
    }
}

Json NumberOrNull(bool exists, double value) { return exists ? JsonNumber(value) : Json(nullptr); }

void WriteOutlineText(const JudgedSelection& results, std::ostream& out) {
    out << "\nOutline drawing ("
        << (results.Spec.Units == DrawingUnits::Millimetres ? "millimetres" : "inches") << "):\n";
    if (!results.Outline) {
        for (const std::string& line : OutlineNotice(results.Spec).value_or(std::vector<std::string>{}))
            out << "  " << line << '\n';
        return;
    }
    const OutlineTexts& outline = *results.Outline;
    // Quoted where blanks at either end are part of the text.
    out << "  Title: \"" << outline.title << "\"\n";
    out << "  Part: " << outline.part << '\n';
    out << "  " << outline.tolerance << '\n';
    if (outline.dimensions.empty()) out << "  Dimensions: none\n";
    for (const auto& [number, texts] : outline.dimensions) {
        for (const PlacedText& placed : texts) {
            out << "  Dimension " << number << ": \"" << placed.text << "\" at (" << placed.x << ", "
                << placed.y << ")\n";
        }
    }
}

Json OutlineJson(const std::optional<OutlineTexts>& outline) {
    if (!outline) return nullptr;
    Json object;
    object["title"] = outline->title;
    object["part"] = outline->part;
    object["tolerance"] = outline->tolerance;
    Json& dimensions = object["dimensions"] = Json::object();
    for (const auto& [number, texts] : outline->dimensions) {
        Json& list = dimensions[std::to_string(number)] = Json::array();
        for (const PlacedText& placed : texts) {
            Json text;
            text["text"] = placed.text;
            text["x"] = placed.x;
            text["y"] = placed.y;
            list.push_back(std::move(text));
        }
    }
    return object;
}

Json NumberArray(const std::vector<double>& values) {
    Json array = Json::array();
    for (const double value : values) array.push_back(JsonNumber(value));
    return array;
}

}  // namespace

void WriteText(const JudgedSelection& results, std::ostream& out) {
    const SelectionResults& sel = results.Selection;
    const RuleOutcome& outcome = sel.Outcome;
    const bool valid = results.Spec.SelStatus == kSelectionValid;

    if (valid) {
        out << "Part number: " << outcome.PartNumber << '\n';
    } else {
        out << kNoStandardPart << '\n';
    }
    if (!outcome.MessageLines.empty()) {
        out << "Messages:\n";
        for (const std::string& line : outcome.MessageLines) {
            out << (line.empty() ? "" : "  ") << line << '\n';
        }
    }
    out << InsertionLossLabel(outcome) << '\n';
    WriteStopbandLine(out, "F1", results.Spec.F1, sel.F1Computed, sel.F1Attenuation);
    WriteStopbandLine(out, "F2", results.Spec.F2, sel.F2Computed, sel.F2Attenuation);
    if (!sel.Guarantee.empty()) out << "Notice: " << sel.Guarantee << '\n';

    out << "\nTabular report:\n";
    for (const std::string& line : results.Report) out << line << '\n';

    WriteOutlineText(results, out);
}

void WriteJson(const JudgedSelection& results, std::ostream& out) {
    const SelectionResults& sel = results.Selection;
    const RuleOutcome& outcome = sel.Outcome;
    const FilterSpec& spec = results.Spec;
    const bool valid = spec.SelStatus == kSelectionValid;
    const bool lossDefined = outcome.FoLossDefined();

    Json doc;
    doc["status"] = spec.SelStatus;
    doc["messages"] = outcome.MessageLines;
    doc["focus"] = FocusName(outcome.Focus);
    // A refused entry has no part number, whatever the record would spell.
    doc["part_number"] = valid ? Json(outcome.PartNumber) : Json(nullptr);
    doc["f0"] = JsonNumber(spec.F0);
    doc["bw"] = JsonNumber(spec.BW);
    doc["insertion_loss_defined"] = lossDefined;
    doc["insertion_loss_db"] = NumberOrNull(lossDefined, outcome.FoLoss);
    doc["il0_label"] = InsertionLossLabel(outcome);
    doc["il1_label"] = StopbandLabel(sel.F1Computed, sel.F1Attenuation);
    doc["il2_label"] = StopbandLabel(sel.F2Computed, sel.F2Attenuation);
    doc["f1_attenuation_db"] = NumberOrNull(sel.F1Computed, sel.F1Attenuation);
    doc["f2_attenuation_db"] = NumberOrNull(sel.F2Computed, sel.F2Attenuation);
    doc["over30db"] = sel.Over30dB;
    doc["over60db"] = sel.Over60dB;
    doc["guarantee"] = sel.Guarantee;
    if (results.HasSweep) {
        const SweepSnapshot& sweep = results.Sweep;
        Json& s = doc["sweep"];
        s["start"] = JsonNumber(sweep.Start);
        s["stop"] = JsonNumber(sweep.Stop);
        s["step"] = JsonNumber(sweep.Step);
        s["count"] = sweep.Count;
        s["attenuation_db"] = NumberArray(sweep.AttenuationDb);
        s["return_loss_db"] = NumberArray(sweep.ReturnLossDb);
        s["delay_ns"] = NumberArray(sweep.DelayNs);
    } else {
        doc["sweep"] = nullptr;
    }
    doc["report"] = results.Report;
    doc["outline"] = OutlineJson(results.Outline);
    // Text that is not UTF-8 is replaced rather than refused: the document is always written.
    out << doc.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

}  // namespace veltrix
