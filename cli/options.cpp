#include "cli/options.h"

#include <array>
#include <functional>
#include <optional>
#include <string_view>

namespace veltrix {
namespace {

template <typename T>
struct Choice {
    std::string_view text;
    T value;
};

constexpr std::array<Choice<int>, 3> kPassbandChoices{{{"0.5", 0}, {"1.0", 1}, {"3.0", 2}}};
constexpr std::array<Choice<int>, 5> kSectionChoices{{{"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
constexpr std::array<Choice<int32_t>, 3> kProfileChoices{{{"4mm", 1}, {"6mm", 2}, {"12mm", 3}}};
constexpr std::array<Choice<char>, 3> kDielectricChoices{{{"DL", 'L'}, {"DR", 'R'}, {"DH", 'H'}}};
constexpr std::array<Choice<char>, 5> kMountingChoices{{{"drop-in", kMountDropIn},
                                                        {"pin", kMountSurfacePin},
                                                        {"tab", kMountSurfaceTab},
                                                        {"tessel", kMountTessel},
                                                        {"orbis", kMountOrbis}}};
constexpr std::array<Choice<int>, 6> kGraphWidthChoices{
    {{"1", 1}, {"2", 2}, {"3", 3}, {"4", 4}, {"5", 5}, {"6", 6}}};
constexpr std::array<Choice<OutputFormat>, 2> kFormatChoices{
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

// Whatever the user passed is echoed in one error line: keep it short and free of control bytes.
std::string Printable(std::string_view text) {
    constexpr size_t kMaxEcho = 40;
    std::string shown;
    for (char c : text.substr(0, kMaxEcho)) {
        const auto byte = static_cast<unsigned char>(c);
        shown += (byte < 0x20 || byte == 0x7f) ? '?' : c;
    }
    if (text.size() > kMaxEcho) shown += "...";
    return shown;
}

struct OptionDef {
    std::string_view name;  // without the leading dashes
    bool takesValue;
    std::string accepted;  // for error messages
    // Applies a value; returns false when the value is not accepted.
    std::function<bool(std::string_view, CliOptions&)> apply;
};

template <typename T, size_t N, typename Store>
OptionDef ChoiceOption(std::string_view name, const std::array<Choice<T>, N>& choices, Store store) {
    return {name, true, Accepted(choices), [&choices, store](std::string_view text, CliOptions& options) {
                const auto value = Lookup(choices, text);
                if (!value) return false;
                store(*value, options);
                return true;
            }};
}

const std::vector<OptionDef>& OptionTable() {
    static const std::vector<OptionDef> table = [] {
        const std::string number = "a decimal number in MHz";
        std::vector<OptionDef> t;
        t.push_back({"f0", true, number, [](std::string_view text, CliOptions& o) {
                         o.Spec.F0 = NormaliseCentreFrequency(ReadDecimal(text));
                         return true;
                     }});
        t.push_back({"bw", true, number, [](std::string_view text, CliOptions& o) {
                         const double bw = NormaliseBandwidth(ReadDecimal(text));
                         o.Spec.BW = bw;
                         o.Spec.BWRequested = bw;
                         return true;
                     }});
        t.push_back({"f1", true, number, [](std::string_view text, CliOptions& o) {
                         o.Spec.F1 = NormaliseStopband(ReadDecimal(text));
                         return true;
                     }});
        t.push_back({"f2", true, number, [](std::string_view text, CliOptions& o) {
                         o.Spec.F2 = NormaliseStopband(ReadDecimal(text));
                         return true;
                     }});
        t.push_back(ChoiceOption("pbd", kPassbandChoices, [](int index, CliOptions& o) {
            const PassbandDefinition pbd = PassbandFromIndex(index);
            o.Spec.PBD = pbd.PBD;
            o.Spec.PBDCode = pbd.PBDCode;
        }));
        t.push_back(ChoiceOption("sections", kSectionChoices,
                                 [](int n, CliOptions& o) { o.Spec.Sections = SectionsFromIndex(n - 2); }));
        t.push_back(ChoiceOption("profile", kProfileChoices,
                                 [](int32_t profile, CliOptions& o) { o.Spec.Profile = profile; }));
        t.push_back(ChoiceOption("dielectric", kDielectricChoices,
                                 [](char dielectric, CliOptions& o) { o.Spec.Dielectric = dielectric; }));
        t.push_back(ChoiceOption("mounting", kMountingChoices,
                                 [](char mounting, CliOptions& o) { o.Spec.Mounting = mounting; }));
        t.push_back(ChoiceOption("graph-width", kGraphWidthChoices, [](int n, CliOptions& o) {
            o.Spec.GraphHalfSpan = GraphHalfSpanFromIndex(n - 1);
        }));
        t.push_back(ChoiceOption("format", kFormatChoices,
                                 [](OutputFormat format, CliOptions& o) { o.Format = format; }));
        t.push_back({"help", false, "", [](std::string_view, CliOptions& o) {
                         o.Help = true;
                         return true;
                     }});
        return t;
    }();
    return table;
}

std::string OptionNames() {
    std::string list;
    for (const auto& def : OptionTable()) {
        if (!list.empty()) list += ", ";
        list += "--";
        list += def.name;
    }
    return list;
}

ParseOutcome Failure(std::string message) {
    ParseOutcome outcome;
    outcome.Error = "veltrix-cli: " + std::move(message);
    return outcome;
}

}  // namespace

ParseOutcome ParseArguments(const std::vector<std::string>& args) {
    ParseOutcome outcome;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg.size() < 3 || arg.substr(0, 2) != "--") {
            return Failure("unexpected argument '" + Printable(arg) +
                           "' (accepted options: " + OptionNames() + ")");
        }
        const size_t equals = arg.find('=');
        const std::string_view name = arg.substr(2, equals == std::string_view::npos ? arg.npos : equals - 2);
        const OptionDef* def = nullptr;
        for (const auto& candidate : OptionTable()) {
            if (candidate.name == name) def = &candidate;
        }
        if (def == nullptr) {
            return Failure("unknown option '--" + Printable(name) + "' (accepted options: " + OptionNames() +
                           ")");
        }
        const std::string option = "--" + std::string(def->name);
        if (!def->takesValue) {
            if (equals != std::string_view::npos) return Failure(option + " takes no value");
            def->apply({}, outcome.Options);
            continue;
        }
        std::string_view value;
        if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else {
            // A following option is not a value; "--f0=--x" still passes such text on purpose.
            if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) {
                return Failure(option + " needs a value (accepted: " + def->accepted + ")");
            }
            value = args[++i];
        }
        if (!def->apply(value, outcome.Options)) {
            return Failure(option + ": invalid value '" + Printable(value) + "' (accepted: " + def->accepted +
                           ")");
        }
    }
    outcome.Ok = true;
    return outcome;
}

std::string UsageText() {
    return "Usage: veltrix-cli [options]\n"
           "Judges one Veltrix ceramic bandpass filter specification and prints its part number,\n"
           "insertion loss, stopband attenuations and tabular response.\n"
           "\n"
           "Options (--opt VALUE or --opt=VALUE):\n"
           "  --f0 MHZ            centre frequency (default 1000; below 100 becomes 100)\n"
           "  --bw MHZ            bandwidth at the passband definition (default 20; 0 becomes 1)\n"
           "  --f1 MHZ            lower stopband point (default 0: none; negative becomes 0)\n"
           "  --f2 MHZ            upper stopband point (default 0: none; negative becomes 0)\n"
           "  --pbd DB            passband definition: 0.5, 1.0, 3.0 (default 1.0)\n"
           "  --sections N        number of sections: 2 to 6 (default 3)\n"
           "  --profile P         resonator profile: 4mm, 6mm, 12mm (default 4mm)\n"
           "  --dielectric D      dielectric: DL, DR, DH (default DR)\n"
           "  --mounting M        drop-in, pin, tab, tessel, orbis (default orbis)\n"
           "  --graph-width N     sweep width in bandwidths: 1 to 6 (default 6)\n"
           "  --format F          text or json (default text)\n"
           "  --help              show this help\n"
           "\n"
           "Exit status: 0 when the specification was judged (whatever the verdict),\n"
           "1 on an internal failure, 2 on a usage error.\n";
}

}  // namespace veltrix
