#include "cli/output.h"

#include <cmath>
#include <string>
#include <vector>

#include "cli/json_writer.h"
#include "tabular/fixed_format.h"

namespace veltrix {
namespace {

constexpr const char* kNoStandardPart = "No standard part for last inputs.";

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

std::string NumberOrNull(bool exists, double value) { return exists ? JsonNumber(value) : "null"; }

std::string Bool(bool value) { return value ? "true" : "false"; }

std::string NumberArray(const std::vector<double>& values) {
    std::string out = "[";
    for (size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ", ";
        out += JsonNumber(values[i]);
    }
    return out + "]";
}

std::string StringArray(const std::vector<std::string>& lines, const char* indent) {
    if (lines.empty()) return "[]";
    std::string out = "[\n";
    for (size_t i = 0; i < lines.size(); ++i) {
        out += indent;
        out += "  " + JsonString(lines[i]);
        out += i + 1 < lines.size() ? ",\n" : "\n";
    }
    return out + indent + "]";
}

}  // namespace

void WriteText(const PaintResults& results, std::ostream& out) {
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
}

void WriteJson(const PaintResults& results, std::ostream& out) {
    const SelectionResults& sel = results.Selection;
    const RuleOutcome& outcome = sel.Outcome;
    const FilterSpec& spec = results.Spec;
    const bool lossDefined = outcome.FoLossDefined();

    out << "{\n";
    out << "  \"status\": " << spec.SelStatus << ",\n";
    out << "  \"messages\": " << StringArray(outcome.MessageLines, "  ") << ",\n";
    out << "  \"focus\": " << JsonString(FocusName(outcome.Focus)) << ",\n";
    out << "  \"part_number\": " << JsonString(outcome.PartNumber) << ",\n";
    out << "  \"f0\": " << JsonNumber(spec.F0) << ",\n";
    out << "  \"bw\": " << JsonNumber(spec.BW) << ",\n";
    out << "  \"insertion_loss_defined\": " << Bool(lossDefined) << ",\n";
    out << "  \"insertion_loss_db\": " << NumberOrNull(lossDefined, outcome.FoLoss) << ",\n";
    out << "  \"il0_label\": " << JsonString(InsertionLossLabel(outcome)) << ",\n";
    out << "  \"il1_label\": " << JsonString(StopbandLabel(sel.F1Computed, sel.F1Attenuation)) << ",\n";
    out << "  \"il2_label\": " << JsonString(StopbandLabel(sel.F2Computed, sel.F2Attenuation)) << ",\n";
    out << "  \"f1_attenuation_db\": " << NumberOrNull(sel.F1Computed, sel.F1Attenuation) << ",\n";
    out << "  \"f2_attenuation_db\": " << NumberOrNull(sel.F2Computed, sel.F2Attenuation) << ",\n";
    out << "  \"over30db\": " << Bool(sel.Over30dB) << ",\n";
    out << "  \"over60db\": " << Bool(sel.Over60dB) << ",\n";
    out << "  \"guarantee\": " << JsonString(sel.Guarantee) << ",\n";
    if (results.HasSweep) {
        const SweepSnapshot& sweep = results.Sweep;
        out << "  \"sweep\": {\n";
        out << "    \"start\": " << JsonNumber(sweep.Start) << ",\n";
        out << "    \"stop\": " << JsonNumber(sweep.Stop) << ",\n";
        out << "    \"step\": " << JsonNumber(sweep.Step) << ",\n";
        out << "    \"count\": " << sweep.Count << ",\n";
        out << "    \"attenuation_db\": " << NumberArray(sweep.AttenuationDb) << ",\n";
        out << "    \"return_loss_db\": " << NumberArray(sweep.ReturnLossDb) << ",\n";
        out << "    \"delay_ns\": " << NumberArray(sweep.DelayNs) << "\n";
        out << "  },\n";
    } else {
        out << "  \"sweep\": null,\n";
    }
    out << "  \"report\": " << StringArray(results.Report, "  ") << "\n";
    out << "}\n";
}

}  // namespace veltrix
