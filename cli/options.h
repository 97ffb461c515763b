#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/filter_spec.h"
#include "exports/exports.h"
#include "finder/finder.h"
#include "selection_options/printable.h"
#include "selection_options/selection_options.h"

namespace veltrix {

enum class OutputFormat { Text, Json, Csv };

// The selection with the screen's defaults until an option changes them; --reject and --max-il state a
// requirement.
struct CliOptions : SelectionOptions {
    OutputFormat Format = OutputFormat::Text;
    bool Help = false;
    bool Version = false;
    std::string TouchstoneFile;  // "" when no Touchstone file is asked for
    ExportSpan Span;             // of the Touchstone file and the CSV; nothing chosen: their defaults
    std::string MeasuredFile;    // compare: the measured Touchstone file
    std::vector<double> RequirementPointsMhz;  // compare: more points for the deviations
};

struct FindOptions {
    FinderRequirement Requirement;
    OutputFormat Format = OutputFormat::Text;
    bool Help = false;
};

enum class CliCommand { Judge, Find, Compare };

struct ParseOutcome {
    bool Ok = false;
    CliCommand Command = CliCommand::Judge;
    CliOptions Options;
    FindOptions Find;
    std::string Error;  // one line, without its newline, when !Ok
};

// Reads the arguments that follow the program name. Both "--opt VALUE" and "--opt=VALUE" are
// accepted; an option given twice is an error, but for those that build a list. Numbers are plain
// decimals (digits, one point, a sign), normalised as the matching entry field does when it is left.
// "find" as the first argument starts the part finder.
ParseOutcome ParseArguments(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();  // one line, as "veltrix --version" prints it
std::string FindUsageText();
std::string CompareUsageText();

// The option spellings of the choices, as the companion reads and writes them.
std::string ProfileName(ResonatorProfile profile);
std::string DielectricName(DielectricMaterial dielectric);
std::string MountingName(MountingStyle mounting);

}  // namespace veltrix
