#include "datasheet_content/datasheet_content.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/choices.h"
#include "engine/rules.h"
#include "engine/selection.h"
#include "engine/worst_case.h"
#include "exports/exports.h"
#include "judgement/judgement.h"
#include "product_texts/page_texts.h"
#include "report/report.h"
#include "version/version.h"

namespace veltrix {
namespace {

// The territories whose locales set Letter paper.
constexpr std::array<std::string_view, 14> kLetterTerritories{"US", "CA", "MX", "PH", "PR", "CL", "CO",
                                                              "CR", "GT", "NI", "PA", "SV", "VE", "BO"};

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

const char* NonEmpty(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

DatasheetStopband StopbandRow(const char* name, double f, bool computed, double attenuation, double f0) {
    DatasheetStopband row;
    row.Name = name;
    row.Frequency = Format("%.2f MHz", f);
    if (!computed) {
        row.Computed = row.Guaranteed = "not computed";
        return row;
    }
    row.Computed = Format("%.1f dBc", attenuation);
    row.Guaranteed = Format("%.1f dBc", std::min(attenuation, GuaranteedAttenuationDbc(f0)));
    return row;
}

// The sweep's figures the table quotes: the lowest return loss between the band edges and the delay
// at the point on F0 (the sweep is centred on it, so the report lists the same figures).
struct SweepFigures {
    double LowestReturnLossDb = NAN;
    double DelayAtF0Ns = NAN;
};

SweepFigures FiguresOfSweep(const ResponseData& graph, const FilterSpec& spec) {
    SweepFigures figures;
    const int count = static_cast<int>(graph.SweepCount);
    double nearest = INFINITY;
    for (int k = 1; k <= count && k < kSweepCapacity; ++k) {
        const double f = (k - 1) * graph.SweepStep + graph.SweepStart;
        const size_t i = static_cast<size_t>(k);
        if (std::fabs(f - spec.F0) <= 0.5 * spec.BW &&
            !(graph.SweepReturnLoss[i] >= figures.LowestReturnLossDb))
            figures.LowestReturnLossDb = graph.SweepReturnLoss[i];
        if (std::fabs(f - spec.F0) < nearest) {
            nearest = std::fabs(f - spec.F0);
            figures.DelayAtF0Ns = graph.SweepDelay[i];
        }
    }
    return figures;
}

double VswrOfReturnLoss(double returnLossDb) {
    const double reflection = std::pow(10.0, -returnLossDb / 20.0);
    return (1.0 + reflection) / (1.0 - reflection);
}

std::string Text(std::string_view text) { return std::string(text); }

DatasheetFigure StopbandFigure(const char* name, double f, bool computed, double attenuation, double f0) {
    DatasheetFigure row{std::string("Attenuation at ") + name + Format(" (%.2f MHz)", f), "", "", "dBc", ""};
    if (!computed) {
        row.Typical = "not computed";
        return row;
    }
    const WorstCaseAttenuation worst = WorstCaseAttenuationDbc(attenuation, f0);
    row.Typical = Format("%.1f", attenuation);
    row.WorstCase = Format("%.1f", worst.Dbc);
    row.Basis = worst.Capped ? Format("the %.0f dBc guarantee", GuaranteedAttenuationDbc(f0))
                             : std::string("\u00B110 %");
    return row;
}

std::vector<DatasheetFigure> ElectricalTable(const FilterSpec& spec, const SelectionResults& selection,
                                             const ResponseData& graph) {
    std::vector<DatasheetFigure> rows;
    rows.push_back({"Centre frequency", Format("%.1f", spec.F0), "", "MHz", ""});
    rows.push_back(
        {Format("Bandwidth at the %.1f dB points", spec.PBD), Format("%.2f", spec.BW), "", "MHz", ""});
    const double bw3 = graph.BW3Ratio * spec.BW;
    rows.push_back(
        {"3 dB bandwidth", Format("%.2f", bw3),
         Format("%.2f", kWider3dBBandwidthLow * bw3) + Format(" to %.2f", kWider3dBBandwidthHigh * bw3),
         "MHz", "typically 10-20 % wider"});
    if (selection.Outcome.FoLossDefined()) {
        const double loss = selection.Outcome.FoLoss;
        rows.push_back({"Insertion loss at F0", Format("%.2f", loss),
                        Format("%.2f", WorstCaseInsertionLossDb(loss)), "dB", "10 % maximum"});
    } else {
        rows.push_back({"Insertion loss at F0", "not defined", "", "dB", ""});
    }
    const SweepFigures sweep = FiguresOfSweep(graph, spec);
    rows.push_back(
        {"Return loss in the passband, lowest", Format("%.1f", sweep.LowestReturnLossDb), "", "dB", ""});
    // The product line's maximum is the worst case only where the engine's figure lies within it: the
    // band edges of a wide passband definition reflect more, and the sheet says so rather than hide it.
    const double vswr = VswrOfReturnLoss(sweep.LowestReturnLossDb);
    const std::string maximum = Format("%.1f : 1", kMaximumVswr);
    rows.push_back({"VSWR in the passband, highest", Format("%.2f : 1", vswr),
                    vswr <= kMaximumVswr ? maximum : "", "",
                    vswr <= kMaximumVswr ? "the product line's maximum"
                                         : "band edges above the " + maximum + " maximum"});
    rows.push_back({"Group delay at F0", Format("%.2f", sweep.DelayAtF0Ns), "", "ns", ""});
    if (spec.F1 > 0.0)
        rows.push_back(StopbandFigure("F1", spec.F1, selection.F1Computed, selection.F1Attenuation, spec.F0));
    if (spec.F2 > 0.0)
        rows.push_back(StopbandFigure("F2", spec.F2, selection.F2Computed, selection.F2Attenuation, spec.F0));
    // The engine and the measured comparison both refer the filter to 50 ohm.
    rows.push_back({"Impedance", "50", "", "\u03A9", ""});
    return rows;
}

// "DL = DL 21.5, DR = DR 37, ...": every code of the table, the ones no window offers too, since the
// rules accept them.
template <typename E>
std::string CodesOf(std::string_view prefix) {
    std::string text;
    for (const auto& row : ChoicesOf(E{})) {
        if (!text.empty()) text += ", ";
        text += std::string(prefix) + row.Code + " = " + std::string(row.Label);
    }
    return text;
}

// The part judged by its worst case against each level of the requirement. Each attenuation is the
// judgement's own stopband figure: the lossy design, relative to F0.
std::vector<RequirementCheck> RequirementChecks(const FilterSpec& spec, const SelectionResults& selection,
                                                const FinderRequirement& requirement) {
    std::vector<RequirementCheck> checks;
    if (requirement.MaxInsertionLossDb) {
        const double allowed = *requirement.MaxInsertionLossDb;
        RequirementCheck check;
        check.Quantity = "Insertion loss at F0";
        check.Required = Format("%.2f dB max", allowed);
        check.Typical = "not defined";
        check.RequiredLevel = allowed;
        if (selection.Outcome.FoLossDefined()) {
            const double loss = selection.Outcome.FoLoss;
            const double worst = WorstCaseInsertionLossDb(loss);
            check.Typical = Format("%.2f dB", loss);
            check.WorstCase = Format("%.2f dB", worst);
            check.Margin = Format("%+.2f dB", allowed - worst);
            check.Pass = worst <= allowed;
        }
        checks.push_back(check);
    }
    for (const StopbandRequirement& point : requirement.Stopbands) {
        RequirementCheck check;
        check.Quantity = Format("Attenuation at %.2f MHz", point.FrequencyMhz);
        check.Required = Format("%.1f dBc min", point.MinAttenuationDbc);
        check.Typical = "not computed";
        check.FrequencyMhz = point.FrequencyMhz;
        check.RequiredLevel = point.MinAttenuationDbc;
        // The point judged as the screen judges a stopband point of its own.
        FilterSpec probe = spec;
        probe.F1 = point.FrequencyMhz;
        probe.F2 = 0.0;
        const SelectionResults at = JudgeSelection(probe).Selection;
        const double a = at.F1Attenuation;
        if (at.F1Computed) {
            const WorstCaseAttenuation worst = WorstCaseAttenuationDbc(a, spec.F0);
            check.Typical = Format("%.1f dBc", a);
            check.WorstCase = Format("%.1f dBc", worst.Dbc);
            check.Margin = Format("%+.1f dB", worst.Dbc - point.MinAttenuationDbc);
            check.Pass = worst.Dbc >= point.MinAttenuationDbc;
        }
        checks.push_back(check);
    }
    return checks;
}

std::string Description(const FilterSpec& spec) {
    return std::to_string(spec.Sections) + "-section " + Text(kFilterTypeRow.Value) + " filter, " +
           Text(RowOf(spec.Dielectric).Label) + " dielectric, " + Text(RowOf(spec.Profile).Label) +
           " resonator profile, " + Text(RowOf(spec.Mounting).Label);
}

}  // namespace

std::vector<PartNumberField> PartNumberKey(const FilterSpec& spec) {
    return {
        {"", std::to_string(spec.Sections), "Number of sections", Text(kCharacteristicsRows[2].Value)},
        {"", std::string("D") + CodeOf(spec.Dielectric), "Dielectric", CodesOf<DielectricMaterial>("D")},
        {"", std::string(1, CodeOf(spec.Profile)), "Resonator profile", CodesOf<ResonatorProfile>("")},
        {"", std::string(1, CodeOf(spec.Mounting)), "Mounting", CodesOf<MountingStyle>("")},
        {"-", Format("%.5g", spec.F0), "Centre frequency, MHz", ""},
        {"/", std::string(1, CodeOf(spec.Passband)), "Passband definition", CodesOf<PassbandChoice>("")},
        {"", Format("%.4g", spec.BW), "Bandwidth at the passband definition, MHz", ""},
        {" - ", VELTRIX_VERSION, "Program version", ""},
    };
}

ReportParts SplitReport(const std::vector<std::string>& report) {
    const auto blank = [](const std::string& line) {
        return line.find_first_not_of(' ') == std::string::npos;
    };
    ReportParts parts;
    size_t i = 0;
    for (; i < report.size(); ++i) {
        const std::string& line = report[i];
        if (line.find("Frequency") != std::string::npos && line.find("Attenuation") != std::string::npos)
            break;
        if (!blank(line)) parts.Title.push_back(line);
    }
    if (i == report.size()) {
        // No table: every line is a row.
        parts.Title.clear();
        for (const std::string& line : report)
            if (!blank(line)) parts.Rows.push_back(line);
        return parts;
    }
    parts.ColumnHeading = report[i++];
    while (i < report.size() && blank(report[i])) ++i;
    for (; i < report.size() && !blank(report[i]); ++i) parts.Rows.push_back(report[i]);
    for (; i < report.size(); ++i)
        if (!blank(report[i])) parts.Tail.push_back(report[i]);
    return parts;
}

std::vector<ReportPage> PaginateReport(const ReportParts& parts, int linesPerColumn, int columns) {
    columns = std::max(1, columns);
    const int rows = static_cast<int>(parts.Rows.size());
    const int title = parts.Title.empty() ? 0 : static_cast<int>(parts.Title.size()) + 1;
    const int tail = parts.Tail.empty() ? 0 : static_cast<int>(parts.Tail.size()) + 1;
    // The last page's rows, so that it holds at least the fewest lines with its tail.
    const int fewestLast =
        std::min(rows, std::max(1, kFewestReportLines - static_cast<int>(parts.Tail.size())));
    std::vector<ReportPage> pages;
    int first = 0;
    for (;;) {
        const bool titled = pages.empty();
        const int perColumn = std::max(1, linesPerColumn - 2 - (titled ? title : 0));
        const int remaining = rows - first;
        const int depth = (remaining + columns - 1) / columns;
        if (depth + (tail > 0 ? tail : 0) <= perColumn || (depth == 0 && remaining == 0)) {
            pages.push_back({first, remaining, titled, true});
            return pages;
        }
        int take = std::min(remaining, columns * perColumn);
        if (remaining - take < fewestLast) take = std::max(1, remaining - fewestLast);
        pages.push_back({first, take, titled, false});
        first += take;
        // A column too short for even the tail: give it a page of its own after all the rows.
        if (first >= rows) {
            pages.push_back({first, 0, false, true});
            return pages;
        }
    }
}

Paper PaperForDimensions(unsigned widthMm, unsigned heightMm) {
    return widthMm == 216 && heightMm == 279 ? Paper::Letter : Paper::A4;
}

Paper PaperForLocaleName(std::string_view name) {
    const size_t underscore = name.find('_');
    if (underscore == std::string_view::npos) return Paper::A4;
    const std::string_view territory = name.substr(underscore + 1, 2);
    return std::find(kLetterTerritories.begin(), kLetterTerritories.end(), territory) !=
                   kLetterTerritories.end()
               ? Paper::Letter
               : Paper::A4;
}

Paper LocalePaper() {
    const char* name = NonEmpty("LC_ALL");
    if (name == nullptr) name = NonEmpty("LC_PAPER");
    if (name == nullptr) name = NonEmpty("LANG");
    if (name == nullptr) return Paper::A4;
    if (locale_t locale = newlocale(LC_PAPER_MASK, name, static_cast<locale_t>(nullptr))) {
        // glibc hands the sizes in millimetres as integers in the pointer's place.
        union {
            const char* text;
            unsigned int number;
        } width{}, height{};
        width.text = nl_langinfo_l(_NL_PAPER_WIDTH, locale);
        height.text = nl_langinfo_l(_NL_PAPER_HEIGHT, locale);
        freelocale(locale);
        return PaperForDimensions(width.number, height.number);
    }
    return PaperForLocaleName(name);
}

std::string_view PaperName(Paper paper) { return paper == Paper::Letter ? "Letter" : "A4"; }

DatasheetContent ComposeDatasheet(const FilterSpec& part,
                                  const std::optional<FinderRequirement>& requirement) {
    DatasheetContent sheet;
    const JudgedSelection judged = JudgeSelection(part);
    if (!judged.Standard()) {
        sheet.Refusal = RefusalOf(judged);
        return sheet;
    }
    sheet.Spec = judged.Spec;
    sheet.Graph = judged.Response;
    const SelectionResults& selection = judged.Selection;
    const FilterSpec& spec = sheet.Spec;
    sheet.Standard = true;
    sheet.PartNumber = selection.Outcome.PartNumber;
    sheet.Description = Description(spec);
    sheet.Electrical = ElectricalTable(spec, selection, sheet.Graph);
    sheet.PartNumberKey = PartNumberKey(spec);
    sheet.Entries = {
        {"Centre frequency", Format("%.1f MHz", spec.F0)},
        {"Bandwidth", Format("%.2f MHz", spec.BW) + Format(" at the %.1f dB points", spec.PBD)},
        {"Sections", std::to_string(spec.Sections)},
        {"Resonator profile", std::string(RowOf(spec.Profile).Label)},
        {"Dielectric", std::string(RowOf(spec.Dielectric).Label)},
        {"Mounting", std::string(RowOf(spec.Mounting).Label)},
    };
    sheet.InsertionLoss = InsertionLossLabel(selection.Outcome);
    if (spec.F1 > 0.0)
        sheet.Stopbands.push_back(
            StopbandRow("F1", spec.F1, selection.F1Computed, selection.F1Attenuation, spec.F0));
    if (spec.F2 > 0.0)
        sheet.Stopbands.push_back(
            StopbandRow("F2", spec.F2, selection.F2Computed, selection.F2Attenuation, spec.F0));
    sheet.Guarantee = selection.Guarantee;
    if (requirement) sheet.Requirement = RequirementChecks(spec, selection, *requirement);
    sheet.OutlineInches = OutlineFor(spec, DrawingUnits::Inches);
    sheet.OutlineMillimetres = OutlineFor(spec, DrawingUnits::Millimetres);
    sheet.OutlineNoticeLines = OutlineNotice(spec).value_or(std::vector<std::string>{});
    sheet.Report = judged.Report;
    return sheet;
}

}  // namespace veltrix
