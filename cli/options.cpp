#include "cli/options.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <functional>
#include <map>
#include <optional>

#include "selection_options/option_parser.h"
#include "version/version.h"

namespace veltrix {
namespace {

using namespace options;

constexpr std::array<Choice<OutputFormat>, 3> kFormatChoices{
    {{"text", OutputFormat::Text}, {"json", OutputFormat::Json}, {"csv", OutputFormat::Csv}}};
constexpr auto kUnitsOptions =
    OptionsOf<DrawingUnits>(kUnitsChoices, [](const ChoiceRow<DrawingUnits>& row) { return row.Value; });
constexpr std::array<Choice<OutputFormat>, 2> kFindFormatChoices{
    {{"text", OutputFormat::Text}, {"json", OutputFormat::Json}}};

const std::vector<OptionDef<CliOptions>>& JudgeTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        using O = CliOptions;
        std::vector<OptionDef<O>> t = SelectionOptionDefs<O>();
        t.push_back(
            ChoiceOption<O>("format", kFormatChoices, [](OutputFormat format, O& o) { o.Format = format; }));
        t.push_back(
            ChoiceOption<O>("units", kUnitsOptions, [](DrawingUnits units, O& o) { o.Spec.Units = units; }));
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

const std::vector<OptionDef<CliOptions>>& CompareTable() {
    static const std::vector<OptionDef<CliOptions>> table = [] {
        using O = CliOptions;
        std::vector<OptionDef<O>> t = SelectionOptionDefs<O>();
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
        AddRequirementLevelOptions(t);
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
        t.push_back(ChoiceListOption<O>("mounting", kMountingOptions, [](std::vector<MountingStyle> v, O& o) {
            o.Requirement.Mountings = std::move(v);
        }));
        t.push_back(ChoiceListOption<O>(
            "profile", kProfileOptions,
            [](std::vector<ResonatorProfile> v, O& o) { o.Requirement.Profiles = std::move(v); }));
        t.push_back(ChoiceListOption<O>(
            "dielectric", kDielectricOptions,
            [](std::vector<DielectricMaterial> v, O& o) { o.Requirement.Dielectrics = std::move(v); }));
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

ParseOutcome Failure(std::string message) {
    ParseOutcome outcome;
    outcome.Error = "veltrix-cli: " + std::move(message);  // one line: the message holds no newline
    return outcome;
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

}  // namespace

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

std::string ProfileName(ResonatorProfile profile) { return std::string(RowOf(profile).Option); }
std::string DielectricName(DielectricMaterial dielectric) { return std::string(RowOf(dielectric).Option); }
std::string MountingName(MountingStyle mounting) { return std::string(RowOf(mounting).Option); }

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
