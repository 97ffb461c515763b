#pragma once

#include <string>
#include <vector>

#include "engine/filter_spec.h"

namespace veltrix {

enum class OutputFormat { Text, Json };

struct CliOptions {
    FilterSpec Spec;  // the screen's defaults until an option changes them
    OutputFormat Format = OutputFormat::Text;
    bool Help = false;
};

struct ParseOutcome {
    bool Ok = false;
    CliOptions Options;
    std::string Error;  // one line, without its newline, when !Ok
};

// Reads the arguments that follow the program name. Both "--opt VALUE" and "--opt=VALUE" are
// accepted; the last of a repeated option wins. Numeric fields are normalised as the matching
// entry field does when it is left.
ParseOutcome ParseArguments(const std::vector<std::string>& args);

std::string UsageText();

}  // namespace veltrix
