#pragma once

// Reading a table of options from the command line with CLI11: "--opt VALUE" and "--opt=VALUE", an option
// given twice refused but for those that build a list, the first fault the one reported.

#include <CLI/CLI.hpp>

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "selection_options/option_table.h"
#include "selection_options/printable.h"

namespace veltrix::options {

// argv never holds a NUL byte, so this stands for "no value followed the option".
inline const std::string kNoValue("\0none", 5);

template <typename Target>
std::map<const CLI::Option*, const OptionDef<Target>*> Declare(CLI::App& app,
                                                               const std::vector<OptionDef<Target>>& table) {
    app.set_help_flag();
    app.allow_extras();
    std::map<const CLI::Option*, const OptionDef<Target>*> defs;
    for (const auto& def : table) {
        CLI::Option* option = nullptr;
        if (def.takesValue) {
            // Zero or one value: an option followed by another option has none, which is reported
            // as such rather than taking the next option as its value.
            option = app.add_option("--" + def.name)
                         ->expected(0, 1)
                         ->default_str(kNoValue)
                         ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
        } else {
            option = app.add_flag("--" + def.name)->disable_flag_override();
        }
        defs[option] = &def;
    }
    return defs;
}

// Applies the options in the order they were typed; the first fault is the one reported.
template <typename Target>
std::optional<std::string> Apply(const CLI::App& app,
                                 const std::map<const CLI::Option*, const OptionDef<Target>*>& defs,
                                 const std::vector<OptionDef<Target>>& table, Target& target) {
    const std::vector<std::string> extras = app.remaining();
    if (!extras.empty()) {
        const std::string& arg = extras.front();
        if (arg.size() >= 3 && arg.compare(0, 2, "--") == 0) {
            return "unknown option '--" + Printable(std::string_view(arg).substr(2, arg.find('=') - 2)) +
                   "' (accepted options: " + OptionNames(table) + ")";
        }
        return "unexpected argument '" + Printable(arg) + "' (accepted options: " + OptionNames(table) + ")";
    }
    std::map<const CLI::Option*, size_t> used;
    for (const CLI::Option* option : app.parse_order()) {
        const OptionDef<Target>& def = *defs.at(option);
        const std::string name = "--" + def.name;
        // Taking the last of two would quietly drop what the user typed first.
        if (!def.repeatable && used.count(option) > 0) return name + " is given more than once";
        if (!def.takesValue) {
            used[option] = 1;
            def.apply({}, target);
            continue;
        }
        const size_t index = used[option]++;
        const std::string& value = option->results().at(index);
        if (value == kNoValue) return name + " needs a value (accepted: " + def.accepted + ")";
        if (!def.apply(value, target)) {
            return name + ": invalid value '" + Printable(value) + "' (accepted: " + def.accepted + ")";
        }
    }
    return std::nullopt;
}

// "--opt=" gives the option an empty value, which CLI11 would take for no value at all.
std::vector<std::string> SplitEmptyValues(const std::vector<std::string>& args);

}  // namespace veltrix::options
