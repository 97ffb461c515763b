#include "selection_options/selection_options.h"

#include <charconv>
#include <cmath>

#include "selection_options/option_parser.h"

namespace veltrix {
namespace options {

bool PlainDecimal(std::string_view text) {
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) text.remove_prefix(1);
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

std::optional<double> StrictNumber(std::string_view text) {
    if (!PlainDecimal(text)) return std::nullopt;
    if (text[0] == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::vector<std::string> SplitEmptyValues(const std::vector<std::string>& args) {
    std::vector<std::string> split;
    for (const std::string& arg : args) {
        if (arg.size() > 3 && arg.compare(0, 2, "--") == 0 && arg.find('=') == arg.size() - 1) {
            split.push_back(arg.substr(0, arg.size() - 1));
            split.emplace_back();
        } else {
            split.push_back(arg);
        }
    }
    return split;
}

}  // namespace options

namespace {

using namespace options;

// The selection options with the requirement's levels, for a datasheet made for a requirement.
const std::vector<OptionDef<SelectionOptions>>& DatasheetTable() {
    static const std::vector<OptionDef<SelectionOptions>> table = [] {
        using O = SelectionOptions;
        std::vector<OptionDef<O>> t = SelectionOptionDefs<O>();
        AddRequirementLevelOptions(t);
        return t;
    }();
    return table;
}

}  // namespace

SelectionParse ParseDatasheetArguments(const std::vector<std::string>& rawArgs) {
    const std::vector<OptionDef<SelectionOptions>>& table = DatasheetTable();
    const std::vector<std::string> args = SplitEmptyValues(rawArgs);
    SelectionParse outcome;
    CLI::App app{"", "veltrix"};
    const auto defs = Declare(app, table);
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ParseError&) {
        outcome.Error = "the selection options take values only";
        return outcome;
    }
    if (const auto error = Apply(app, defs, table, outcome.Options)) {
        outcome.Error = *error;
        return outcome;
    }
    outcome.Ok = true;
    return outcome;
}

}  // namespace veltrix
