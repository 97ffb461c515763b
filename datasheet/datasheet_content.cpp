#include "datasheet/datasheet_content.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "engine/choices.h"
#include "engine/rules.h"
#include "engine/selection.h"
#include "exports/exports.h"
#include "tabular/report.h"

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

}  // namespace

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

DatasheetContent ComposeDatasheet(const FilterSpec& part) {
    DatasheetContent sheet;
    const ResponseTable judged = ComputeResponseTable(part);
    if (!judged.Standard) {
        sheet.Refusal = judged.Refusal;
        return sheet;
    }
    sheet.Spec = part;
    const SelectionResults selection = ComputeSelection(sheet.Spec, sheet.Graph);
    const FilterSpec& spec = sheet.Spec;
    sheet.Standard = true;
    sheet.PartNumber = selection.Outcome.PartNumber;
    sheet.Entries = {
        {"Centre frequency", Format("%.1f MHz", spec.F0)},
        {"Bandwidth", Format("%.2f MHz", spec.BW) + Format(" at the %.1f dB points", spec.PBD)},
        {"Sections", std::to_string(spec.Sections)},
        {"Resonator profile", std::string(ProfileLabel(spec.Profile))},
        {"Dielectric", std::string(DielectricLabel(spec.Dielectric))},
        {"Mounting", std::string(MountingLabel(spec.Mounting))},
    };
    sheet.InsertionLoss = InsertionLossLabel(selection.Outcome);
    if (spec.F1 > 0.0)
        sheet.Stopbands.push_back(
            StopbandRow("F1", spec.F1, selection.F1Computed, selection.F1Attenuation, spec.F0));
    if (spec.F2 > 0.0)
        sheet.Stopbands.push_back(
            StopbandRow("F2", spec.F2, selection.F2Computed, selection.F2Attenuation, spec.F0));
    sheet.Guarantee = selection.Guarantee;
    sheet.OutlineInches = OutlineFor(spec, CodeOf(DrawingUnits::Inches));
    sheet.OutlineMillimetres = OutlineFor(spec, CodeOf(DrawingUnits::Millimetres));
    sheet.OutlineNoticeLines = OutlineNotice(spec).value_or(std::vector<std::string>{});
    // The report solves again and rewrites the span; the graph keeps its own copy of the sweep.
    ResponseData scratch = sheet.Graph;
    sheet.Report = BuildTabularReport(spec, scratch);
    return sheet;
}

}  // namespace veltrix
