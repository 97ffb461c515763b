#include "app/command_line.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace veltrix {
namespace {

struct LineCase {
    const char* name;
    std::vector<std::string> args;
    std::optional<std::string> problem;
};

void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class CommandLineCases : public ::testing::TestWithParam<LineCase> {};

TEST_P(CommandLineCases, AreJudgedBeforeTheDisplay) {
    EXPECT_EQ(CommandLineProblem(GetParam().args), GetParam().problem);
}

const std::string kAccepted = " (accepted options: --screenshot, --datasheet, --help, --version)";

INSTANTIATE_TEST_SUITE_P(
    Lines, CommandLineCases,
    ::testing::Values(
        LineCase{"nothing", {}, std::nullopt},
        LineCase{"screenshot", {"--screenshot", "a.png"}, std::nullopt},
        LineCase{"screenshot_joined", {"--screenshot=a.png"}, std::nullopt},
        LineCase{"version", {"-v"}, std::nullopt},
        LineCase{"qt_platform", {"-platform", "offscreen", "--style=fusion", "-reverse"}, std::nullopt},
        LineCase{"help_beside_anything", {"--bogus", "--help"}, std::nullopt},
        LineCase{"datasheet_reads_its_own", {"--datasheet", "d.pdf", "--f0", "1500"}, std::nullopt},
        LineCase{"unknown", {"--bogus"}, "unknown option '--bogus'" + kAccepted},
        LineCase{"control_characters_escaped",
                 {"--bo\x1b[2Jgus\n"},
                 "unknown option '--bo\?[2Jgus\?'" + kAccepted},
        LineCase{
            "c1_and_broken_utf8", {"--x\xc2\x9b\xed\xa0\x80"}, "unknown option '--x\?\?\?\?'" + kAccepted},
        LineCase{"bidi_override",
                 {"--a\xe2\x80\xae"
                  "b\xe2\x80\xa8"},
                 "unknown option '--a\?b\?'" + kAccepted},
        LineCase{"positional", {"file.png"}, "unexpected argument 'file.png'" + kAccepted},
        LineCase{"screenshot_twice",
                 {"--screenshot", "a.png", "--screenshot=b.png"},
                 "--screenshot is given more than once"},
        LineCase{"version_twice", {"--version", "-v"}, "--version is given more than once"},
        LineCase{"screenshot_without_file", {"--screenshot"}, "--screenshot needs a value (a file name)"},
        LineCase{"version_with_value", {"--version=2"}, "--version takes no value"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace veltrix
