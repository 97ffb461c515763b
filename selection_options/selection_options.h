#pragma once

#include <optional>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "finder/finder.h"

namespace veltrix {

// A part as the selection options state it, with the requirement it may be judged against.
struct SelectionOptions {
    FilterSpec Spec;                                // the screen's defaults until an option changes them
    std::vector<StopbandRequirement> RejectPoints;  // --reject
    std::optional<double> MaxInsertionLossDb;       // --max-il
};

struct SelectionParse {
    bool Ok = false;
    SelectionOptions Options;
    std::string Error;  // one line with no program name, when !Ok
};

// The selection options (--f0, --bw, --f1, --f2, --pbd, --sections, --profile, --dielectric, --mounting,
// --graph-width) with --reject MHZ:DBC (repeatable) and --max-il DB, read as the companion reads them:
// for a datasheet, made for a requirement or for none.
SelectionParse ParseDatasheetArguments(const std::vector<std::string>& args);

}  // namespace veltrix
