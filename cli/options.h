#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/filter_spec.h"
#include "exports/exports.h"
#include "finder/finder.h"

namespace veltrix {

enum class OutputFormat { Text, Json, Csv };

struct CliOptions {
    FilterSpec Spec;  // the screen's defaults until an option changes them
    OutputFormat Format = OutputFormat::Text;
    bool Help = false;
    bool Version = false;
    std::string TouchstoneFile;  // "" when no Touchstone file is asked for
    ExportSpan Span;             // of the Touchstone file and the CSV; nothing chosen: their defaults
    std::string MeasuredFile;    // compare: the measured Touchstone file
    std::vector<double> RequirementPointsMhz;       // compare: more points for the deviations
    std::vector<StopbandRequirement> RejectPoints;  // a datasheet's or a compared sample's requirement:
    std::optional<double> MaxInsertionLossDb;       // --reject and --max-il
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

// Reads only the selection options (--f0, --bw, --f1, --f2, --pbd, --sections, --profile, --dielectric,
// --mounting, --graph-width) into Options.Spec, for programs that take a selection beside options of
// their own. Error is one line with no program name.
ParseOutcome ParseSelectionArguments(const std::vector<std::string>& args);

// The selection options with --reject MHZ:DBC (repeatable) and --max-il DB, the levels of a
// requirement the datasheet judges the part against.
ParseOutcome ParseDatasheetArguments(const std::vector<std::string>& args);

std::string UsageText();
std::string VersionText();  // one line, as "veltrix --version" prints it
std::string FindUsageText();
std::string CompareUsageText();

// The option spellings of the choices, as the companion reads and writes them.
std::string ProfileName(int32_t profile);
std::string DielectricName(char dielectric);
std::string MountingName(char mounting);

// At most a few dozen characters of what the user typed, safe to echo in one line: control
// bytes and broken UTF-8 become '?', and a multi-byte character is never cut in half.
std::string Printable(std::string_view text);

}  // namespace veltrix
