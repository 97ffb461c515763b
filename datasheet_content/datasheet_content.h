#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/filter_spec.h"
#include "engine/response.h"
#include "finder/finder.h"
#include "outline_geometry/outline_geometry.h"

namespace veltrix {

// The paper a datasheet is set on.
enum class Paper { A4, Letter };

// Letter for the 216 x 279 mm sheet a locale's LC_PAPER gives, A4 for anything else.
Paper PaperForDimensions(unsigned widthMm, unsigned heightMm);
// The paper of a locale by its name's territory ("en_US.UTF-8" is Letter, "de_DE" A4), for a locale
// the system has not installed; A4 where the name has no territory.
Paper PaperForLocaleName(std::string_view name);
// The paper of the user's locale: LC_ALL, else LC_PAPER, else LANG. An installed locale answers
// with its own LC_PAPER; one that is not installed is judged by its name.
Paper LocalePaper();
std::string_view PaperName(Paper paper);

struct DatasheetEntry {
    std::string Label;
    std::string Value;
};

struct DatasheetStopband {
    std::string Name;        // "F1", "F2"
    std::string Frequency;   // "950.00 MHz"
    std::string Computed;    // "25.3 dBc"
    std::string Guaranteed;  // the computed figure, at most the maker's guarantee
};

// One row of the electrical table: the engine's figure, the least a part may show after the stated
// tolerances ("" where no tolerance is stated), and what bounds it.
struct DatasheetFigure {
    std::string Parameter;
    std::string Typical;
    std::string WorstCase;
    std::string Unit;
    std::string Basis;
};

// One field of the part number: the text it adds (after its separator), what it stands for and the
// codes it can take, from the tables the part number is made from.
struct PartNumberField {
    std::string Separator;
    std::string Text;
    std::string Meaning;
    std::string Codes;
};

// One line of the requirement table: a stopband point (FrequencyMhz > 0) or the insertion loss at F0.
// The margin is what the worst case leaves over the requirement; below 0 the part fails it.
struct RequirementCheck {
    std::string Quantity;  // "Attenuation at 960.00 MHz", "Insertion loss at F0"
    std::string Required;  // "20.0 dBc min", "3.00 dB max"
    std::string Typical;
    std::string WorstCase;
    std::string Margin;
    bool Pass = false;
    double FrequencyMhz = 0.0;  // 0 for the insertion loss
    double RequiredLevel = 0.0;
};

// Everything a datasheet shows of one part, as text and the sweep its graph draws.
struct DatasheetContent {
    bool Standard = false;
    std::string Refusal;  // why there is no datasheet, when !Standard
    std::string PartNumber;
    std::string Description;  // one line: sections, filter type, dielectric, profile, mounting
    std::vector<DatasheetEntry> Entries;
    std::vector<DatasheetFigure> Electrical;
    std::vector<PartNumberField> PartNumberKey;
    std::string InsertionLoss;  // the specification screen's line
    std::vector<DatasheetStopband> Stopbands;
    std::string Guarantee;                      // "" when no notice applies
    std::vector<RequirementCheck> Requirement;  // empty when the sheet was made without one
    FilterSpec Spec;                            // as judged
    ResponseData Graph;                         // the sweep as the specification screen's graph draws it
    // In inches and in millimetres: the outline's texts, or the notice lines in their place.
    std::optional<OutlineTexts> OutlineInches;
    std::optional<OutlineTexts> OutlineMillimetres;
    std::vector<std::string> OutlineNoticeLines;
    std::vector<std::string> Report;  // the tabular report's lines
};

// Judges the part as the specification screen does and collects its datasheet; a refused entry gives
// no content, only its reason. The engine's machine epsilon must have been set.
// With a requirement, the sheet also judges the part against it by its worst case.
DatasheetContent ComposeDatasheet(const FilterSpec& part,
                                  const std::optional<FinderRequirement>& requirement = std::nullopt);

// The part number field by field; their separators and texts joined give FormatPartNumber(spec).
std::vector<PartNumberField> PartNumberKey(const FilterSpec& spec);

// The tabular report in its parts: the lines above the table, the table's heading, its rows and the
// stopband lines after it (blank lines left out).
struct ReportParts {
    std::vector<std::string> Title;
    std::string ColumnHeading;
    std::vector<std::string> Rows;
    std::vector<std::string> Tail;
};
ReportParts SplitReport(const std::vector<std::string>& report);

// One page of the report set in columns: its rows, whether the title lines head it and whether the
// tail ends it.
struct ReportPage {
    int FirstRow = 0;
    int RowCount = 0;
    bool Titled = false;
    bool Tailed = false;
};
// Fewest lines a page of the report holds when the report is longer: a tail never stands alone.
inline constexpr int kFewestReportLines = 10;
// Pages of linesPerColumn lines: each column starts with the heading and a blank line, the first page
// with the title and a blank line, the last ends with a blank line and the tail below the columns.
std::vector<ReportPage> PaginateReport(const ReportParts& parts, int linesPerColumn, int columns);

inline constexpr std::string_view kDatasheetMaker = "Veltrix Ceramic Filters from Norvane Microwave, Inc.";
inline constexpr std::string_view kRequirementPass = "Pass";
inline constexpr std::string_view kRequirementFail = "Fail";
inline constexpr std::string_view kNoStopbandPoints = "No stopband points were given.";

}  // namespace veltrix
