#include "cli/options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

#include "version/version.h"

namespace veltrix {
namespace {

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
constexpr auto kPassbandOptions =
    OptionsOf<int>(kPassbandChoices, [](const ChoiceRow<PassbandChoice>& row) { return IndexOf(row.Value); });
constexpr std::array<Choice<int>, 5> kSectionChoices{{{"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
constexpr auto kProfileOptions = OptionsOf<int32_t>(
    kProfileChoices, [](const ChoiceRow<ResonatorProfile>& row) { return ProfileNumber(row.Value); });
constexpr auto kDielectricOptions =
    OptionsOf<char>(kDielectricChoices, [](const ChoiceRow<DielectricMaterial>& row) { return row.Code; });
constexpr auto kMountingOptions =
    OptionsOf<char>(kMountingChoices, [](const ChoiceRow<MountingStyle>& row) { return row.Code; });
constexpr std::array<Choice<int>, 6> kGraphWidthChoices{
    {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
constexpr std::array<Choice<OutputFormat>, 3> kFormatChoices{
    {{"text", OutputFormat::Text}, {"json", OutputFormat::Json}, {"csv", OutputFormat::Csv}}};
constexpr auto kUnitsOptions =
    OptionsOf<char>(kUnitsChoices, [](const ChoiceRow<DrawingUnits>& row) { return row.Code; });
constexpr std::array<Choice<OutputFormat>, 2> kFindFormatChoices{
    {{"text", OutputFormat::Text}, {"json", OutputFormat::Json}}};

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

// The length of the valid UTF-8 sequence starting text[i], or 0 when it is not one.
size_t Utf8Length(std::string_view text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xbf;  // the allowed range of the second byte
    if (lead >= 0xc2 && lead <= 0xdf) {
        length = 2;
    } else if (lead >= 0xe0 && lead <= 0xef) {
        length = 3;
        if (lead == 0xe0) low = 0xa0;
        if (lead == 0xed) high = 0x9f;  // no surrogates
    } else if (lead >= 0xf0 && lead <= 0xf4) {
        length = 4;
        if (lead == 0xf0) low = 0x90;
        if (lead == 0xf4) high = 0x8f;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xbf) return 0;
    }
    return length;
}

// A character that moves or hides text on a terminal: a C1 control, a line or paragraph separator,
// or a bidirectional control.
bool Invisible(std::string_view character) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(character[k]); };
    if (character.size() == 2)
        return (byte(0) == 0xc2 && byte(1) < 0xa0) || (byte(0) == 0xd8 && byte(1) == 0x9c);  // C1, U+061C
    if (character.size() == 3 && byte(0) == 0xe2 && byte(1) == 0x80)
        return byte(2) == 0x8e || byte(2) == 0x8f ||
               (byte(2) >= 0xa8 && byte(2) <= 0xae);  // 200E/F, 2028..202E
    if (character.size() == 3 && byte(0) == 0xe2 && byte(1) == 0x81)
        return byte(2) >= 0xa6 && byte(2) <= 0xa9;  // U+2066..U+2069
    return false;
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

// A plain decimal number that a double holds.
std::optional<double> StrictNumber(std::string_view text) {
    if (!PlainDecimal(text)) return std::nullopt;
    if (text[0] == '+') text.remove_prefix(1);
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

const std::string kNumber = "a decimal number in MHz, such as 1500 or 1500.25";

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

const std::vector<OptionDef<CliOptions>>& JudgeTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        using O = CliOptions;
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
            o.Spec.PBDCode = pbd.PBDCode;
        }));
        t.push_back(ChoiceOption<O>("sections", kSectionChoices,
                                    [](int n, O& o) { o.Spec.Sections = SectionsFromIndex(n - 2); }));
        t.push_back(ChoiceOption<O>("profile", kProfileOptions,
                                    [](int32_t profile, O& o) { o.Spec.Profile = profile; }));
        t.push_back(ChoiceOption<O>("dielectric", kDielectricOptions,
                                    [](char dielectric, O& o) { o.Spec.Dielectric = dielectric; }));
        t.push_back(ChoiceOption<O>("mounting", kMountingOptions,
                                    [](char mounting, O& o) { o.Spec.Mounting = mounting; }));
        t.push_back(ChoiceOption<O>("graph-width", kGraphWidthChoices, [](int n, O& o) {
            o.Spec.GraphHalfSpan = GraphHalfSpanFromIndex(n - 1);
        }));
        t.push_back(
            ChoiceOption<O>("format", kFormatChoices, [](OutputFormat format, O& o) { o.Format = format; }));
        t.push_back(ChoiceOption<O>("units", kUnitsOptions, [](char units, O& o) { o.Spec.Units = units; }));
        t.push_back({"touchstone", true, "a file name", [](std::string_view text, O& o) {
                         if (text.empty()) return false;
                         o.TouchstoneFile = std::string(text);
                         return true;
                     }});
        t.push_back({"points", true,
                     "a whole number from " + std::to_string(kMinExportPoints) + " to " +
                         std::to_string(kMaxExportPoints),
                     [](std::string_view text, O& o) {
                         int points = 0;
                         const auto [end, error] =
                             std::from_chars(text.data(), text.data() + text.size(), points);
                         if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
                             points < kMinExportPoints || points > kMaxExportPoints)
                             return false;
                         o.Span.Points = points;
                         return true;
                     }});
        t.push_back({"span-bandwidths", true, "a number of bandwidths above 0, at most 1000",
                     [](std::string_view text, O& o) {
                         const auto k = StrictNumber(text);
                         if (!k || !(*k > 0.0) || *k > kMaxSpanBandwidths) return false;
                         o.Span.SpanBandwidths = *k;
                         return true;
                     }});
        t.push_back({"from", true, "a frequency above 0 in MHz", [](std::string_view text, O& o) {
                         const auto f = StrictNumber(text);
                         if (!f || !(*f > 0.0)) return false;
                         o.Span.FromMhz = *f;
                         return true;
                     }});
        t.push_back({"to", true, "a frequency above 0 in MHz", [](std::string_view text, O& o) {
                         const auto f = StrictNumber(text);
                         if (!f || !(*f > 0.0)) return false;
                         o.Span.ToMhz = *f;
                         return true;
                     }});
        t.push_back({"help", false, "", [](std::string_view, O& o) {
                         o.Help = true;
                         return true;
                     }});
        t.push_back({"version", false, "", [](std::string_view, O& o) {
                         o.Version = true;
                         return true;
                     }});
        return t;
    }();
    return table;
}

// The judgement's options that state the selection.
const std::vector<OptionDef<CliOptions>>& SelectionTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        std::vector<OptionDef<CliOptions>> t;
        const std::vector<std::string> kept{"f0",       "bw",      "f1",         "f2",       "pbd",
                                            "sections", "profile", "dielectric", "mounting", "graph-width"};
        for (const auto& def : JudgeTable())
            if (std::find(kept.begin(), kept.end(), def.name) != kept.end()) t.push_back(def);
        return t;
    }();
    return table;
}

// The selection options with the requirement's levels, for a datasheet made for a requirement.
const std::vector<OptionDef<CliOptions>>& DatasheetTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        using O = CliOptions;
        std::vector<OptionDef<O>> t = SelectionTable();
        t.push_back(
            MaxInsertionLossOption<O>([](O& o) -> std::optional<double>& { return o.MaxInsertionLossDb; }));
        t.push_back(
            RejectOption<O>([](O& o) -> std::vector<StopbandRequirement>& { return o.RejectPoints; }));
        return t;
    }();
    return table;
}

// The selection options of the judgement, with the measured file and the requirement points.
const std::vector<OptionDef<CliOptions>>& CompareTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        using O = CliOptions;
        std::vector<OptionDef<O>> t = SelectionTable();
        for (const auto& def : JudgeTable())
            if (def.name == "help") t.push_back(def);
        t.push_back(ChoiceOption<O>("format", kFindFormatChoices,
                                    [](OutputFormat format, O& o) { o.Format = format; }));
        t.push_back({"measured", true, "a Touchstone file name", [](std::string_view text, O& o) {
                         if (text.empty()) return false;
                         o.MeasuredFile = std::string(text);
                         return true;
                     }});
        t.push_back({"requirement", true, "a frequency above 0 in MHz",
                     [](std::string_view text, O& o) {
                         const auto f = StrictNumber(text);
                         if (!f || !(*f > 0.0)) return false;
                         o.RequirementPointsMhz.push_back(*f);
                         return true;
                     },
                     true});
        t.push_back(
            MaxInsertionLossOption<O>([](O& o) -> std::optional<double>& { return o.MaxInsertionLossDb; }));
        t.push_back(
            RejectOption<O>([](O& o) -> std::vector<StopbandRequirement>& { return o.RejectPoints; }));
        return t;
    }();
    return table;
}

const std::vector<OptionDef<FindOptions>>& FindTable() {
    static const std::vector<OptionDef<FindOptions>> table = [] {
        using O = FindOptions;
        std::vector<OptionDef<O>> t;
        t.push_back({"f0", true, kNumber, [](std::string_view text, O& o) {
                         if (!PlainDecimal(text)) return false;
                         o.Requirement.F0 = NormaliseCentreFrequency(ReadDecimal(text));
                         return true;
                     }});
        t.push_back({"bw", true, kNumber, [](std::string_view text, O& o) {
                         if (!PlainDecimal(text)) return false;
                         o.Requirement.BW = NormaliseBandwidth(ReadDecimal(text));
                         return true;
                     }});
        t.push_back(ChoiceOption<O>("pbd", kPassbandOptions,
                                    [](int index, O& o) { o.Requirement.PassbandIndex = index; }));
        t.push_back(MaxInsertionLossOption<O>(
            [](O& o) -> std::optional<double>& { return o.Requirement.MaxInsertionLossDb; }));
        t.push_back(RejectOption<O>(
            [](O& o) -> std::vector<StopbandRequirement>& { return o.Requirement.Stopbands; }));
        t.push_back(ChoiceListOption<O>("mounting", kMountingOptions, [](std::vector<char> v, O& o) {
            o.Requirement.Mountings = std::move(v);
        }));
        t.push_back(ChoiceListOption<O>("profile", kProfileOptions, [](std::vector<int32_t> v, O& o) {
            o.Requirement.Profiles = std::move(v);
        }));
        t.push_back(ChoiceListOption<O>("dielectric", kDielectricOptions, [](std::vector<char> v, O& o) {
            o.Requirement.Dielectrics = std::move(v);
        }));
        t.push_back(ChoiceOption<O>("format", kFindFormatChoices,
                                    [](OutputFormat format, O& o) { o.Format = format; }));
        t.push_back({"help", false, "", [](std::string_view, O& o) {
                         o.Help = true;
                         return true;
                     }});
        return t;
    }();
    return table;
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

// argv never holds a NUL byte, so this stands for "no value followed the option".
const std::string kNoValue("\0none", 5);

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

ParseOutcome Failure(std::string message) {
    ParseOutcome outcome;
    outcome.Error = "veltrix-cli: " + std::move(message);  // one line: the message holds no newline
    return outcome;
}

// "--opt=" gives the option an empty value, which CLI11 would take for no value at all.
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

// The span options, once all are read: where they apply, in pairs, and able to give the frequencies.
std::optional<std::string> CheckExportSpan(const CliOptions& o) {
    const ExportSpan& span = o.Span;
    const char* given = span.FromMhz > 0.0          ? "--from"
                        : span.ToMhz > 0.0          ? "--to"
                        : span.SpanBandwidths > 0.0 ? "--span-bandwidths"
                        : span.Points != 0          ? "--points"
                                                    : nullptr;
    if (given == nullptr) return std::nullopt;
    const bool csv = o.Format == OutputFormat::Csv;
    if (o.TouchstoneFile.empty() && !csv) {
        return std::string(given) + " applies to --touchstone FILE or --format csv only";
    }
    if ((span.FromMhz > 0.0) != (span.ToMhz > 0.0)) {
        return span.FromMhz > 0.0 ? "--from needs --to (the range's end in MHz)"
                                  : "--to needs --from (the range's start in MHz)";
    }
    if (span.FromMhz > 0.0 && span.SpanBandwidths > 0.0) {
        return "--span-bandwidths cannot be given with --from and --to (both choose the range)";
    }
    if (span.FromMhz > 0.0 && !(span.FromMhz < span.ToMhz)) return "--from must be below --to";
    const char* rangeOption = span.FromMhz > 0.0          ? "--from"
                              : span.SpanBandwidths > 0.0 ? "--span-bandwidths"
                                                          : "--points";
    for (const ExportFormat format : {ExportFormat::Touchstone, ExportFormat::Csv}) {
        if (format == ExportFormat::Touchstone ? o.TouchstoneFile.empty() : !csv) continue;
        const ExportGrid grid = ExportFrequencies(o.Spec, span, format);
        if (!grid.Problem.empty()) return std::string(rangeOption) + ": " + grid.Problem;
    }
    return std::nullopt;
}

// Only the options of the table, each read as the companion reads it.
ParseOutcome ParseOptionsOf(const std::vector<std::string>& rawArgs,
                            const std::vector<OptionDef<CliOptions>>& table) {
    const std::vector<std::string> args = SplitEmptyValues(rawArgs);
    ParseOutcome outcome;
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

}  // namespace

std::string Printable(std::string_view text) {
    constexpr size_t kMaxEcho = 40;
    std::string shown;
    size_t i = 0;
    while (i < text.size() && shown.size() < kMaxEcho) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte < 0x80) {
            shown += (byte < 0x20 || byte == 0x7f) ? '?' : text[i];
            ++i;
            continue;
        }
        const size_t length = Utf8Length(text, i);
        if (length == 0 || Invisible(text.substr(i, length))) {
            shown += '?';
            i += std::max<size_t>(length, 1);
        } else {
            if (shown.size() + length > kMaxEcho) break;
            shown.append(text.substr(i, length));
            i += length;
        }
    }
    if (i < text.size()) shown += "...";
    return shown;
}

ParseOutcome ParseArguments(const std::vector<std::string>& rawArgs) {
    const std::vector<std::string> args = SplitEmptyValues(rawArgs);
    ParseOutcome outcome;
    CLI::App app{"", "veltrix-cli"};
    const auto judgeDefs = Declare(app, JudgeTable());
    CLI::App* find = app.add_subcommand("find");
    const auto findDefs = Declare(*find, FindTable());
    CLI::App* compare = app.add_subcommand("compare");
    const auto compareDefs = Declare(*compare, CompareTable());
    std::optional<std::string> error;
    try {
        app.parse(std::vector<std::string>(args.rbegin(), args.rend()));
    } catch (const CLI::ParseError&) {
        // Declared as above, the only fault CLI11 itself reports is a value given to a flag.
        const bool version = std::any_of(
            args.begin(), args.end(), [](const std::string& arg) { return arg.rfind("--version=", 0) == 0; });
        return Failure(version ? "--version takes no value" : "--help takes no value");
    }
    if (find->parsed()) {
        outcome.Command = CliCommand::Find;
        if (!app.parse_order().empty() || !app.remaining().empty()) {
            error = "its options go after the word find";
        } else {
            error = Apply(*find, findDefs, FindTable(), outcome.Find);
        }
        const auto given = [&](const char* name) { return find->get_option(name)->count() > 0; };
        if (!error && !outcome.Find.Help) {
            if (!given("--f0")) {
                error = "--f0 is required (the centre frequency in MHz)";
            } else if (!given("--bw")) {
                error = "--bw is required (the minimum bandwidth in MHz)";
            }
        }
    } else if (compare->parsed()) {
        outcome.Command = CliCommand::Compare;
        if (!app.parse_order().empty() || !app.remaining().empty()) {
            error = "its options go after the word compare";
        } else {
            error = Apply(*compare, compareDefs, CompareTable(), outcome.Options);
        }
        if (!error && !outcome.Options.Help && outcome.Options.MeasuredFile.empty())
            error = "--measured is required (the measured Touchstone file)";
    } else {
        error = Apply(app, judgeDefs, JudgeTable(), outcome.Options);
        if (!error) error = CheckExportSpan(outcome.Options);
    }
    if (error)
        return Failure(find->parsed()      ? "find: " + *error
                       : compare->parsed() ? "compare: " + *error
                                           : *error);
    outcome.Ok = true;
    return outcome;
}

ParseOutcome ParseSelectionArguments(const std::vector<std::string>& rawArgs) {
    return ParseOptionsOf(rawArgs, SelectionTable());
}

ParseOutcome ParseDatasheetArguments(const std::vector<std::string>& rawArgs) {
    return ParseOptionsOf(rawArgs, DatasheetTable());
}

std::string ProfileName(int32_t profile) { return std::string(ProfileOption(profile)); }
std::string DielectricName(char dielectric) { return std::string(DielectricOption(dielectric)); }
std::string MountingName(char mounting) { return std::string(MountingOption(mounting)); }

std::string UsageText() {
    return "Usage: veltrix-cli [options]\n"
           "  or:  veltrix-cli find --f0 MHZ --bw MHZ [options]   (see veltrix-cli find --help)\n"
           "  or:  veltrix-cli compare --measured FILE [options]  (see veltrix-cli compare --help)\n"
           "Judges one Veltrix ceramic bandpass filter specification and prints its part number,\n"
           "insertion loss, stopband attenuations and tabular response.\n"
           "\n"
           "Options (--opt VALUE or --opt=VALUE):\n"
           "  --f0 MHZ            centre frequency (default 1000; below 100 becomes 100)\n"
           "  --bw MHZ            bandwidth at the passband definition (default 20; 0 becomes 1)\n"
           "  --f1 MHZ            lower stopband point (default 0: none; negative becomes 0)\n"
           "  --f2 MHZ            upper stopband point (default 0: none; negative becomes 0)\n"
           "  --pbd DB            passband definition: " +
           Accepted(kPassbandOptions) +
           " (default 1.0)\n"
           "  --sections N        number of sections: 2 to 6 (default 3)\n"
           "  --profile P         resonator profile: " +
           Accepted(kProfileOptions) +
           " (default 4mm)\n"
           "  --dielectric D      dielectric: " +
           Accepted(kDielectricOptions) +
           " (default DR)\n"
           "  --mounting M        " +
           Accepted(kMountingOptions) +
           " (default orbis)\n"
           "  --graph-width N     sweep width in bandwidths: 1 to 6 (default 6)\n"
           "  --format F          text, json or csv (default text)\n"
           "  --units U           outline drawing units: in or mm (default in)\n"
           "  --touchstone FILE   also write the standard part's response as a Touchstone file\n"
           "  --points N          with --touchstone or --format csv: N points, 2 to 100001 (default\n"
           "                      601 for the Touchstone file, 61 for the CSV)\n"
           "  --span-bandwidths K\n"
           "                      with --touchstone or --format csv: a span of K bandwidths centred on\n"
           "                      F0 (default the graph's), clipped at its low end above 0 MHz\n"
           "  --from MHZ --to MHZ\n"
           "                      with --touchstone or --format csv: the range itself\n"
           "  --help              show this help\n"
           "  --version           show the version\n"
           "\n"
           "Exit status: 0 when the specification was judged (whatever the verdict),\n"
           "1 on an internal failure or an export that could not be made, 2 on a usage error.\n";
}

std::string VersionText() { return "Veltrix " VELTRIX_VERSION "\n"; }

std::string CompareUsageText() {
    return "Usage: veltrix-cli compare --measured FILE [options]\n"
           "Compares a measured filter (a Touchstone 1.1 or 2.0 file, 1- or 2-port S parameters\n"
           "at 50 ohm) with the model of the standard part: per measured frequency inside the\n"
           "graph's span, the model's and the measured attenuation, return loss and delay, then\n"
           "the deviations at F0, the passband edges, the stopband points, the largest in the\n"
           "passband and the shift of the centre frequency.\n"
           "Then it judges the sample against the requirement (--f0, --bw, --pbd, --reject,\n"
           "--max-il): its loss at F0 against the highest allowed; at each --reject point its\n"
           "attenuation in dBc (against its own loss at F0), the margin and pass or fail; its own\n"
           "passband edges at the definition above its least loss in the required band, its\n"
           "bandwidth against the required minimum, its centre and shift; the highest loss and\n"
           "the flatness across the required band; and one verdict line. Every measured delay is\n"
           "the slope of the unwrapped S21 phase fitted by least squares over +/-0.25 % of F0.\n"
           "\n"
           "Options (--opt VALUE or --opt=VALUE):\n"
           "  --measured FILE     the measured Touchstone file (.s1p or .s2p)\n"
           "  --reject MHZ:DBC    a stopband point and its minimum attenuation; repeat for more\n"
           "  --max-il DB         highest insertion loss of the sample at the centre frequency\n"
           "  --requirement MHZ   one more point for the deviations, without a level; repeat for\n"
           "                      more\n"
           "  --format F          text or json (default text)\n"
           "  --help              show this help\n"
           "\n"
           "The part, as for the judgement (see veltrix-cli --help):\n"
           "  --f0 MHZ            centre frequency\n"
           "  --bw MHZ            bandwidth at the passband definition\n"
           "  --f1 MHZ, --f2 MHZ  stopband points\n"
           "  --pbd DB            passband definition\n"
           "  --sections N        number of sections\n"
           "  --profile P         resonator profile\n"
           "  --dielectric D      dielectric\n"
           "  --mounting M        mounting\n"
           "  --graph-width N     sweep width in bandwidths\n"
           "\n"
           "Exit status: 0 when compared and the sample meets the requirement (or has no S21 to\n"
           "judge), 3 when the sample misses it, 1 when the entry is not a standard part,\n"
           "2 on a usage error or a malformed file (one line naming the file and its line).\n";
}

std::string FindUsageText() {
    return "Usage: veltrix-cli find --f0 MHZ --bw MHZ [options]\n"
           "Lists the standard parts that meet a requirement, best first, and why the others miss.\n"
           "Parts are judged on the worst case the maker's tolerances allow: 0.9 x the computed\n"
           "attenuation, at most 60 dBc below an fo of 2000 MHz and 30 dBc from there, and 1.1 x the\n"
           "computed insertion loss.\n"
           "\n"
           "Options (--opt VALUE or --opt=VALUE):\n"
           "  --f0 MHZ            centre frequency (below 100 becomes 100)\n"
           "  --bw MHZ            minimum bandwidth at the passband definition (0 becomes 1)\n"
           "  --pbd DB            passband definition: " +
           Accepted(kPassbandOptions) +
           " (default 1.0)\n"
           "  --max-il DB         highest insertion loss at the centre frequency, in the worst case\n"
           "  --reject MHZ:DBC    a stopband point and its minimum attenuation; repeat for more\n"
           "  --mounting LIST     allowed mountings, comma-separated: " +
           Accepted(kMountingOptions) +
           "\n"
           "  --profile LIST      allowed profiles: " +
           Accepted(kProfileOptions) +
           "\n"
           "  --dielectric LIST   allowed dielectrics: " +
           Accepted(kDielectricOptions) +
           "\n"
           "  --format F          text or json (default text)\n"
           "  --help              show this help\n"
           "\n"
           "Exit status: 0 when the search ran (whether or not a part fits), 2 on a usage error.\n";
}

}  // namespace veltrix
