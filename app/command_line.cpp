#include "app/command_line.h"

#include <algorithm>
#include <array>
#include <map>
#include <string_view>

#include "selection_options/printable.h"

namespace veltrix {
namespace {

struct KnownOption {
    std::string_view name;  // as typed, dashes included
    bool takesValue;
    std::string_view canonical;  // the option a short name stands for
};

constexpr std::array<KnownOption, 5> kOwnOptions{{{"--screenshot", true, "--screenshot"},
                                                  {"--version", false, "--version"},
                                                  {"-v", false, "--version"},
                                                  {"--help", false, "--help"},
                                                  {"--help-all", false, "--help"}}};

// The options QGuiApplication and QApplication take out of the line before the program reads it,
// with one dash or two.
constexpr std::array<std::string_view, 13> kQtValueOptions{"platform",
                                                           "platformpluginpath",
                                                           "platformtheme",
                                                           "plugin",
                                                           "qwindowgeometry",
                                                           "qwindowicon",
                                                           "qwindowtitle",
                                                           "display",
                                                           "geometry",
                                                           "style",
                                                           "stylesheet",
                                                           "session",
                                                           "name"};
constexpr std::array<std::string_view, 6> kQtFlags{"reverse", "nograb",      "dograb",
                                                   "sync",    "widgetcount", "qmljsdebugger"};

// A Qt option's name without its dashes, or "" when arg is none.
std::string_view QtOptionName(std::string_view arg) {
    if (arg.size() < 2 || arg[0] != '-') return {};
    arg.remove_prefix(arg[1] == '-' ? 2 : 1);
    return arg.substr(0, arg.find('='));
}

}  // namespace

std::optional<std::string> CommandLineProblem(const std::vector<std::string>& args) {
    const auto asks = [&](auto test) { return std::any_of(args.begin(), args.end(), test); };
    if (asks([](const std::string& a) { return a == "-h" || a == "--help" || a == "--help-all"; }))
        return std::nullopt;
    if (asks([](const std::string& a) { return a == "--datasheet" || a.rfind("--datasheet=", 0) == 0; }))
        return std::nullopt;
    std::map<std::string_view, int> given;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const std::string_view name = std::string_view(arg).substr(0, arg.find('='));
        const auto own = std::find_if(kOwnOptions.begin(), kOwnOptions.end(),
                                      [&](const KnownOption& o) { return o.name == name; });
        if (own != kOwnOptions.end()) {
            if (++given[own->canonical] > 1) return std::string(own->canonical) + " is given more than once";
            const bool joined = name.size() < arg.size();
            if (!own->takesValue && joined) return std::string(own->canonical) + " takes no value";
            if (own->takesValue && !joined) {
                if (i + 1 == args.size()) return std::string(own->canonical) + " needs a value (a file name)";
                ++i;
            }
            continue;
        }
        const std::string_view qt = QtOptionName(arg);
        if (std::find(kQtFlags.begin(), kQtFlags.end(), qt) != kQtFlags.end()) continue;
        if (std::find(kQtValueOptions.begin(), kQtValueOptions.end(), qt) != kQtValueOptions.end()) {
            if (arg.find('=') == std::string::npos) ++i;
            continue;
        }
        const std::string accepted = " (accepted options: --screenshot, --datasheet, --help, --version)";
        if (arg.size() > 1 && arg[0] == '-') return "unknown option '" + Printable(arg) + "'" + accepted;
        return "unexpected argument '" + Printable(arg) + "'" + accepted;
    }
    return std::nullopt;
}

}  // namespace veltrix
