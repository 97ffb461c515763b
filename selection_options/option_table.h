#pragma once

// The pieces the option tables are made of: each option a row with its name, what it accepts and how
// it stores a value, so the companion's commands and the datasheet read the same option the same way.

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/choices.h"
#include "engine/filter_spec.h"
#include "finder/finder.h"

namespace veltrix::options {

template <typename T>
struct Choice {
    std::string_view text;
    T value;
};

// The companion's spellings of the engineer's choices, from the engine's tables in their order.
template <typename T, typename E, size_t N, typename Value>
constexpr std::array<Choice<T>, N> OptionsOf(const std::array<ChoiceRow<E>, N>& rows, Value value) {
    std::array<Choice<T>, N> choices{};
    for (size_t i = 0; i < N; ++i) choices[i] = {rows[i].Option, value(rows[i])};
    return choices;
}
inline constexpr auto kPassbandOptions =
    OptionsOf<int>(kPassbandChoices, [](const ChoiceRow<PassbandChoice>& row) { return IndexOf(row.Value); });
inline constexpr std::array<Choice<int>, 5> kSectionChoices{
    {{"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
inline constexpr auto kProfileOptions = OptionsOf<ResonatorProfile>(
    kProfileChoices, [](const ChoiceRow<ResonatorProfile>& row) { return row.Value; });
inline constexpr auto kDielectricOptions = OptionsOf<DielectricMaterial>(
    kDielectricChoices, [](const ChoiceRow<DielectricMaterial>& row) { return row.Value; });
inline constexpr auto kMountingOptions =
    OptionsOf<MountingStyle>(kMountingChoices, [](const ChoiceRow<MountingStyle>& row) { return row.Value; });
inline constexpr std::array<Choice<int>, 6> kGraphWidthChoices{
    {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
template <typename T, size_t N>
std::string Accepted(const std::array<Choice<T>, N>& choices) {
    std::string list;
    for (const auto& choice : choices) {
        if (!list.empty()) list += ", ";
        list += choice.text;
    }
    return list;
}

template <typename T, size_t N>
std::optional<T> Lookup(const std::array<Choice<T>, N>& choices, std::string_view text) {
    for (const auto& choice : choices) {
        if (choice.text == text) return choice.value;
    }
    return std::nullopt;
}

// A value of a user's option, on one of the option's callbacks: false when it is not accepted.
template <typename Target>
struct OptionDef {
    std::string name;  // without the leading dashes
    bool takesValue;
    std::string accepted;  // for error messages
    std::function<bool(std::string_view, Target&)> apply;
    bool repeatable = false;  // a list built up one value at a time
};

template <typename Target, typename T, size_t N, typename Store>
OptionDef<Target> ChoiceOption(std::string name, const std::array<Choice<T>, N>& choices, Store store) {
    return {std::move(name), true, Accepted(choices),
            [&choices, store](std::string_view text, Target& target) {
                const auto value = Lookup(choices, text);
                if (!value) return false;
                store(*value, target);
                return true;
            }};
}

// A comma-separated list of choices: every item must be one of them; the list replaces the default.
template <typename Target, typename T, size_t N, typename Store>
OptionDef<Target> ChoiceListOption(std::string name, const std::array<Choice<T>, N>& choices, Store store) {
    return {std::move(name), true, "a comma-separated list of " + Accepted(choices),
            [&choices, store](std::string_view text, Target& target) {
                std::vector<T> values;
                for (size_t start = 0;;) {
                    const size_t comma = text.find(',', start);
                    const auto value = Lookup(choices, text.substr(start, comma - start));
                    if (!value) return false;
                    if (std::find(values.begin(), values.end(), *value) == values.end())
                        values.push_back(*value);
                    if (comma == std::string_view::npos) break;
                    start = comma + 1;
                }
                // Kept in the offered order, so the search order does not depend on the typing.
                std::vector<T> ordered;
                for (const auto& choice : choices) {
                    if (std::find(values.begin(), values.end(), choice.value) != values.end())
                        ordered.push_back(choice.value);
                }
                store(std::move(ordered), target);
                return true;
            }};
}

// Digits with at most one point, perhaps signed: no exponent, no "inf", "nan", hexadecimal or comma,
// which the shell's user would not read as the number the program would take.
bool PlainDecimal(std::string_view text);

// A plain decimal number that a double holds.
std::optional<double> StrictNumber(std::string_view text);

inline const std::string kNumber = "a decimal number in MHz, such as 1500 or 1500.25";

// --max-il DB and --reject MHZ:DBC, the requirement's levels, wherever the target keeps them.
template <typename O, typename Field>
OptionDef<O> MaxInsertionLossOption(Field field) {
    return {"max-il", true, "a decimal number in dB", [field](std::string_view text, O& o) {
                const auto il = StrictNumber(text);
                if (!il) return false;
                field(o) = *il;
                return true;
            }};
}

template <typename O, typename Field>
OptionDef<O> RejectOption(Field field) {
    return {"reject", true, "MHZ:DBC, a frequency above 0 and a minimum attenuation",
            [field](std::string_view text, O& o) {
                const size_t colon = text.find(':');
                if (colon == std::string_view::npos) return false;
                const auto f = StrictNumber(text.substr(0, colon));
                const auto dbc = StrictNumber(text.substr(colon + 1));
                if (!f || !dbc || !(*f > 0.0)) return false;
                field(o).push_back({*f, *dbc});
                return true;
            },
            true};
}

// The options that state the selection, into a target's Spec.
// --max-il and --reject for a target that keeps them as MaxInsertionLossDb and RejectPoints.
template <typename O>
void AddRequirementLevelOptions(std::vector<OptionDef<O>>& t) {
    t.push_back(
        MaxInsertionLossOption<O>([](O& o) -> std::optional<double>& { return o.MaxInsertionLossDb; }));
    t.push_back(RejectOption<O>([](O& o) -> std::vector<StopbandRequirement>& { return o.RejectPoints; }));
}

template <typename O>
std::vector<OptionDef<O>> SelectionOptionDefs() {
    std::vector<OptionDef<O>> t;
    t.push_back({"f0", true, kNumber, [](std::string_view text, O& o) {
                     if (!PlainDecimal(text)) return false;
                     o.Spec.F0 = NormaliseCentreFrequency(ReadDecimal(text));
                     return true;
                 }});
    t.push_back({"bw", true, kNumber, [](std::string_view text, O& o) {
                     if (!PlainDecimal(text)) return false;
                     const double bw = NormaliseBandwidth(ReadDecimal(text));
                     o.Spec.BW = bw;
                     o.Spec.BWRequested = bw;
                     return true;
                 }});
    t.push_back({"f1", true, kNumber, [](std::string_view text, O& o) {
                     if (!PlainDecimal(text)) return false;
                     o.Spec.F1 = NormaliseStopband(ReadDecimal(text));
                     return true;
                 }});
    t.push_back({"f2", true, kNumber, [](std::string_view text, O& o) {
                     if (!PlainDecimal(text)) return false;
                     o.Spec.F2 = NormaliseStopband(ReadDecimal(text));
                     return true;
                 }});
    t.push_back(ChoiceOption<O>("pbd", kPassbandOptions, [](int index, O& o) {
        const PassbandDefinition pbd = PassbandFromIndex(index);
        o.Spec.PBD = pbd.PBD;
        o.Spec.Passband = pbd.Passband;
    }));
    t.push_back(ChoiceOption<O>("sections", kSectionChoices,
                                [](int n, O& o) { o.Spec.Sections = SectionsFromIndex(n - 2); }));
    t.push_back(ChoiceOption<O>("profile", kProfileOptions,
                                [](ResonatorProfile profile, O& o) { o.Spec.Profile = profile; }));
    t.push_back(ChoiceOption<O>("dielectric", kDielectricOptions,
                                [](DielectricMaterial dielectric, O& o) { o.Spec.Dielectric = dielectric; }));
    t.push_back(ChoiceOption<O>("mounting", kMountingOptions,
                                [](MountingStyle mounting, O& o) { o.Spec.Mounting = mounting; }));
    t.push_back(ChoiceOption<O>("graph-width", kGraphWidthChoices,
                                [](int n, O& o) { o.Spec.GraphHalfSpan = GraphHalfSpanFromIndex(n - 1); }));
    return t;
}

template <typename Target>
std::string OptionNames(const std::vector<OptionDef<Target>>& table) {
    std::string list;
    for (const auto& def : table) {
        if (!list.empty()) list += ", ";
        list += "--" + def.name;
    }
    return list;
}

}  // namespace veltrix::options
