#include <gtest/gtest.h>

#include <cfloat>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "cli/json_writer.h"
#include "cli/run.h"
#include "tests/cli/mini_json.h"

namespace veltrix {
namespace {

using test::JsonReader;
using test::JsonValue;

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun Invoke(const std::vector<std::string>& args) {
    std::ostringstream out;
    std::ostringstream err;
    CliRun run;
    run.status = RunCli(args, out, err);
    run.out = out.str();
    run.err = err.str();
    return run;
}

JsonValue ParseOrFail(const std::string& text) {
    JsonReader reader(text);
    auto value = reader.Parse();
    if (!value) {
        ADD_FAILURE() << "not valid JSON: " << reader.error() << "\n" << text;
        return {};
    }
    return *value;
}

JsonValue RunJson(std::vector<std::string> args) {
    args.push_back("--format=json");
    const CliRun run = Invoke(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return ParseOrFail(run.out);
}

std::vector<std::string> Strings(const JsonValue& array) {
    std::vector<std::string> lines;
    for (const auto& item : array.items) lines.push_back(item.text);
    return lines;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

bool HasLine(const std::string& text, const std::string& line) {
    for (const auto& l : Lines(text)) {
        if (l == line) return true;
    }
    return false;
}

std::string Format(const char* format, double value) {
    std::string text(std::snprintf(nullptr, 0, format, value), '\0');
    std::snprintf(text.data(), text.size() + 1, format, value);
    return text;
}

// A printf of a non-finite value, as a word of its own ("inf", "-nan", "Infinity").
bool MentionsNonFinite(const std::string& text) {
    static const std::regex word("(^|[^A-Za-z])(nan|inf)", std::regex::icase);
    return std::regex_search(text, word);
}

const std::vector<std::string> kJsonKeys = {"status",
                                            "messages",
                                            "focus",
                                            "part_number",
                                            "f0",
                                            "bw",
                                            "insertion_loss_defined",
                                            "insertion_loss_db",
                                            "il0_label",
                                            "il1_label",
                                            "il2_label",
                                            "f1_attenuation_db",
                                            "f2_attenuation_db",
                                            "over30db",
                                            "over60db",
                                            "guarantee",
                                            "sweep",
                                            "report"};

// --- the default filter ------------------------------------------------------------------------

TEST(CliDefaults, JsonDescribesTheDefaultPart) {
    const JsonValue doc = RunJson({});
    EXPECT_EQ(doc.Keys(), kJsonKeys);
    EXPECT_EQ(doc["status"].number, 0);
    EXPECT_EQ(doc["part_number"].text, "3DR25-1000/U20 - 1.8");
    EXPECT_TRUE(doc["messages"].items.empty());
    EXPECT_EQ(doc["focus"].text, "none");
    EXPECT_EQ(doc["f0"].number, 1000.0);
    EXPECT_EQ(doc["bw"].number, 20.0);
    ASSERT_TRUE(doc["insertion_loss_defined"].boolean);
    ASSERT_EQ(doc["insertion_loss_db"].kind, JsonValue::Kind::Number);
    EXPECT_EQ(doc["il0_label"].text,
              "Insertion loss at Fo  =" + Format("%6.1f", doc["insertion_loss_db"].number) + "  dB");
    EXPECT_EQ(doc["il1_label"].text, " ");
    EXPECT_EQ(doc["il2_label"].text, " ");
    EXPECT_TRUE(doc["f1_attenuation_db"].IsNull());
    EXPECT_TRUE(doc["f2_attenuation_db"].IsNull());
    // The sweep's edges (about 38 dB relative) pass 30 dB but not 60 dB; below 2000 MHz that is no notice.
    EXPECT_TRUE(doc["over30db"].boolean);
    EXPECT_FALSE(doc["over60db"].boolean);
    EXPECT_EQ(doc["guarantee"].text, "");

    const JsonValue& sweep = doc["sweep"];
    ASSERT_EQ(sweep.kind, JsonValue::Kind::Object);
    EXPECT_EQ(sweep.Keys(), (std::vector<std::string>{"start", "stop", "step", "count", "attenuation_db",
                                                      "return_loss_db", "delay_ns"}));
    EXPECT_EQ(sweep["start"].number, 940.0);
    EXPECT_EQ(sweep["stop"].number, 1060.0);
    EXPECT_EQ(sweep["step"].number, 2.0);
    EXPECT_EQ(sweep["count"].number, 61);
    EXPECT_EQ(sweep["attenuation_db"].items.size(), 61u);
    EXPECT_EQ(sweep["return_loss_db"].items.size(), 61u);
    EXPECT_EQ(sweep["delay_ns"].items.size(), 61u);

    const auto report = Strings(doc["report"]);
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(report[1], "Veltrix Ceramic Filters from Norvane Microwave, Inc.");
    EXPECT_EQ(report[3], " Response Data for 3DR25-1000/U20-1.8");
}

// The sweep arrays start at index 1 of the engine's arrays: every report row must agree with the
// JSON point of the same rank, so an off-by-one in either shows here.
TEST(CliDefaults, ReportRowsAgreeWithTheSweepPointByPoint) {
    const JsonValue doc = RunJson({});
    const JsonValue& sweep = doc["sweep"];
    const double il0 = doc["insertion_loss_db"].number;
    const auto report = Strings(doc["report"]);

    std::vector<std::array<double, 4>> rows;  // frequency, attenuation, return loss, delay
    for (const auto& line : report) {
        std::array<double, 4> row{};
        if (std::sscanf(line.c_str(), "%lf MHz %lf dB %lf dB %lf ns", &row[0], &row[1], &row[2], &row[3]) ==
            4) {
            rows.push_back(row);
        }
    }
    ASSERT_EQ(rows.size(), 61u);
    for (size_t k = 0; k < rows.size(); ++k) {
        SCOPED_TRACE("row " + std::to_string(k + 1));
        EXPECT_NEAR(rows[k][0], 940.0 + 2.0 * static_cast<double>(k), 0.005 + 1e-9);
        EXPECT_NEAR(rows[k][1], sweep["attenuation_db"].items[k].number + il0, 0.05 + 1e-9);
        EXPECT_NEAR(rows[k][2], sweep["return_loss_db"].items[k].number, 0.05 + 1e-9);
        EXPECT_NEAR(rows[k][3], sweep["delay_ns"].items[k].number, 0.005 + 1e-9);
    }
    // The product line's published figures for this part.
    EXPECT_NEAR(rows[0][1], 40.5, 0.15);
    EXPECT_NEAR(rows[0][2], 0.0, 0.15);
    EXPECT_NEAR(rows[0][3], 0.90, 0.02);
    EXPECT_NEAR(rows[30][1], 2.4, 0.15);
    EXPECT_NEAR(rows[30][2], 16.4, 0.15);
    EXPECT_NEAR(rows[30][3], 21.96, 0.02);
    EXPECT_NEAR(rows[25][1], 3.4, 0.15);
    EXPECT_NEAR(rows[35][1], 3.4, 0.15);
}

TEST(CliDefaults, TextShowsTheScreensLines) {
    const CliRun json = Invoke({"--format", "json", "--f1", "950"});
    const JsonValue doc = ParseOrFail(json.out);
    const CliRun run = Invoke({"--f1", "950"});
    ASSERT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(HasLine(run.out, "Part number: 3DR25-1000/U20 - 1.8")) << run.out;
    EXPECT_TRUE(HasLine(run.out, doc["il0_label"].text)) << run.out;
    EXPECT_TRUE(HasLine(run.out, "Attenuation at F1 (950.00 MHz): " + doc["il1_label"].text + " dBc"))
        << run.out;
    EXPECT_EQ(run.out.find("F2"), std::string::npos) << "F2 was not given";
    EXPECT_EQ(run.out.find("No standard part"), std::string::npos);
    // Every report line follows, in order.
    const auto lines = Lines(run.out);
    const auto report = Strings(doc["report"]);
    ASSERT_GE(lines.size(), report.size());
    EXPECT_TRUE(std::equal(report.begin(), report.end(), lines.end() - static_cast<long>(report.size())));
}

// --- verdicts ----------------------------------------------------------------------------------

TEST(CliVerdicts, RefusedSelectionKeepsMessagesInOrderWithTheirEmptyLine) {
    const JsonValue doc = RunJson({"--f0", "500"});
    EXPECT_EQ(doc["status"].number, 1);
    EXPECT_EQ(Strings(doc["messages"]),
              (std::vector<std::string>{"Maximum Bandwidth Exceeded", "Use DH for fo < 800 MHz", "",
                                        "Increase profile size and dielectric", "for lower frequencies."}));
    EXPECT_EQ(doc["focus"].text, "BWEdit");
    EXPECT_EQ(doc["bw"].number, 19.5);
    EXPECT_EQ(doc["part_number"].text, "3DR25-500/U19.5 - 1.8");
    EXPECT_TRUE(doc["insertion_loss_defined"].boolean);
    EXPECT_TRUE(doc["sweep"].IsNull());
    EXPECT_EQ(Strings(doc["report"]),
              (std::vector<std::string>{" No Response Data.", " ",
                                        " There is an error on the filter selection screen."}));

    const CliRun text = Invoke({"--f0", "500", "--f1", "450"});
    EXPECT_TRUE(HasLine(text.out, "No standard part for last inputs.")) << text.out;
    EXPECT_EQ(text.out.find("Part number:"), std::string::npos);
    EXPECT_NE(text.out.find("Messages:\n  Maximum Bandwidth Exceeded\n  Use DH for fo < 800 MHz\n\n"
                            "  Increase profile size and dielectric\n  for lower frequencies.\n"),
              std::string::npos)
        << text.out;
    EXPECT_TRUE(HasLine(text.out, "Attenuation at F1 (450.00 MHz): not computed")) << text.out;
    EXPECT_TRUE(HasLine(text.out, " No Response Data.")) << text.out;
}

TEST(CliVerdicts, ClampedCentreFrequencyHasNoInsertionLoss) {
    const JsonValue doc = RunJson({"--f0=5000"});
    EXPECT_EQ(doc["status"].number, 1);
    EXPECT_EQ(doc["f0"].number, 3500.0);
    EXPECT_EQ(doc["focus"].text, "F0Edit");
    EXPECT_FALSE(doc["insertion_loss_defined"].boolean);
    EXPECT_TRUE(doc["insertion_loss_db"].IsNull());
    EXPECT_EQ(doc["il0_label"].text, "Insertion loss at Fo is not defined");
}

TEST(CliVerdicts, ExtremeValuesGiveStatusSeven) {
    const JsonValue doc = RunJson({"--bw", "0.9"});
    EXPECT_EQ(doc["status"].number, 7);
    EXPECT_EQ(Strings(doc["messages"]), std::vector<std::string>{"Extreme Values Preclude Analysis"});
    EXPECT_TRUE(doc["insertion_loss_db"].IsNull());
    EXPECT_TRUE(doc["sweep"].IsNull());
}

TEST(CliVerdicts, StopbandPointsAndGuaranteeNotices) {
    const JsonValue upper = RunJson({"--f2", "1020"});
    EXPECT_TRUE(upper["f1_attenuation_db"].IsNull());
    EXPECT_EQ(upper["il1_label"].text, " ");
    ASSERT_EQ(upper["f2_attenuation_db"].kind, JsonValue::Kind::Number);
    EXPECT_EQ(upper["il2_label"].text, Format("%6.1f", upper["f2_attenuation_db"].number));
    EXPECT_GT(upper["f2_attenuation_db"].number, 3.0);

    // Far out of band the attenuation passes 60 dB.
    const JsonValue far = RunJson({"--f1", "800"});
    EXPECT_GT(far["f1_attenuation_db"].number, 60.0);
    EXPECT_TRUE(far["over60db"].boolean);
    EXPECT_EQ(far["guarantee"].text, "Only 60 dB attenuation guaranteed");
    EXPECT_TRUE(HasLine(Invoke({"--f1", "800"}).out, "Notice: Only 60 dB attenuation guaranteed"));

    const JsonValue high = RunJson({"--f0", "2000"});
    EXPECT_EQ(high["status"].number, 0);
    EXPECT_EQ(high["guarantee"].text, "Only 30 dB attenuation guaranteed");

    // A point too far out for a figure is still named whole, not cut short.
    const CliRun huge = Invoke({"--f1", std::string(400, '9')});
    EXPECT_EQ(huge.status, 0);
    const std::string named = "Attenuation at F1 (" + Format("%.2f", DBL_MAX) + " MHz): not computed";
    EXPECT_TRUE(HasLine(huge.out, named)) << huge.out;
}

// --- choices -----------------------------------------------------------------------------------

struct ChoiceCase {
    const char* name;
    std::vector<std::string> args;
    const char* partNumber;
};

void PrintTo(const ChoiceCase& c, std::ostream* os) { *os << c.name; }

class CliChoices : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(CliChoices, ReachTheRecord) {
    const JsonValue doc = RunJson(GetParam().args);
    EXPECT_EQ(doc["part_number"].text, GetParam().partNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliChoices,
    ::testing::Values(
        ChoiceCase{"pbd_half", {"--pbd", "0.5"}, "3DR25-1000/H20 - 1.8"},
        ChoiceCase{"pbd_three", {"--pbd=3.0"}, "3DR25-1000/T20 - 1.8"},
        ChoiceCase{"sections_six", {"--sections", "6"}, "6DR25-1000/U20 - 1.8"},
        ChoiceCase{"sections_two", {"--sections=2"}, "2DR25-1000/U20 - 1.8"},
        ChoiceCase{"profile_6mm", {"--profile", "6mm"}, "3DR35-1000/U20 - 1.8"},
        ChoiceCase{"profile_12mm", {"--profile", "12mm"}, "3DR45-1000/U20 - 1.8"},
        ChoiceCase{"dielectric_dh", {"--dielectric", "DH"}, "3DH25-1000/U20 - 1.8"},
        ChoiceCase{"dielectric_dl", {"--dielectric=DL"}, "3DL25-1000/U20 - 1.8"},
        ChoiceCase{"drop_in", {"--mounting", "drop-in"}, "3DR21-1000/U20 - 1.8"},
        ChoiceCase{"pin", {"--mounting", "pin"}, "3DR22-1000/U20 - 1.8"},
        ChoiceCase{"tab", {"--mounting", "tab"}, "3DR23-1000/U20 - 1.8"},
        ChoiceCase{"tessel", {"--mounting", "tessel"}, "3DR24-1000/U20 - 1.8"},
        ChoiceCase{"frequencies", {"--f0", "1234.56", "--bw", "35.5"}, "3DR25-1234.6/U35.5 - 1.8"},
        ChoiceCase{"low_f0_normalised", {"--f0", "50", "--bw", "2"}, "3DR25-100/U2 - 1.8"},
        ChoiceCase{"zero_bw_is_one", {"--bw", "abc"}, "3DR25-1000/U1 - 1.8"},
        ChoiceCase{"last_repeat_wins", {"--sections", "2", "--sections", "5"}, "5DR25-1000/U20 - 1.8"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliOptions, GraphWidthSetsTheSweepSpan) {
    const JsonValue doc = RunJson({"--graph-width", "2"});
    EXPECT_EQ(doc["sweep"]["start"].number, 980.0);
    EXPECT_EQ(doc["sweep"]["stop"].number, 1020.0);
    const JsonValue narrow = RunJson({"--graph-width=1"});
    EXPECT_EQ(narrow["sweep"]["start"].number, 990.0);
    EXPECT_EQ(narrow["sweep"]["stop"].number, 1010.0);
}

TEST(CliOptions, HelpGoesToStandardOutput) {
    const CliRun run = Invoke({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Usage: veltrix-cli", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("--mounting"), std::string::npos);
}

struct OptionErrorCase {
    const char* name;
    std::vector<std::string> args;
    const char* mentions;  // the accepted values, or the option at fault
};

void PrintTo(const OptionErrorCase& c, std::ostream* os) { *os << c.name; }

class CliOptionErrors : public ::testing::TestWithParam<OptionErrorCase> {};

TEST_P(CliOptionErrors, OneLineOnStandardErrorAndNothingElse) {
    const CliRun run = Invoke(GetParam().args);
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_EQ(run.out, "");
    ASSERT_FALSE(run.err.empty());
    EXPECT_EQ(run.err.back(), '\n');
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliOptionErrors,
    ::testing::Values(
        OptionErrorCase{"pbd_value", {"--pbd", "2.0"}, "0.5, 1.0, 3.0"},
        OptionErrorCase{"pbd_unit", {"--pbd=1"}, "0.5, 1.0, 3.0"},
        OptionErrorCase{"sections_high", {"--sections", "7"}, "2, 3, 4, 5, 6"},
        OptionErrorCase{"sections_low", {"--sections=1"}, "2, 3, 4, 5, 6"},
        OptionErrorCase{"profile", {"--profile", "5mm"}, "4mm, 6mm, 12mm"},
        OptionErrorCase{"dielectric", {"--dielectric", "DX"}, "DL, DR, DH"},
        OptionErrorCase{"mounting", {"--mounting", "surface"}, "drop-in, pin, tab, tessel, orbis"},
        OptionErrorCase{"graph_width_zero", {"--graph-width", "0"}, "1, 2, 3, 4, 5, 6"},
        OptionErrorCase{"graph_width_high", {"--graph-width=7"}, "1, 2, 3, 4, 5, 6"},
        OptionErrorCase{"format", {"--format", "xml"}, "text, json"},
        OptionErrorCase{"unknown", {"--bogus"}, "--f0"},
        OptionErrorCase{"single_dash", {"-f0", "1000"}, "--f0"},
        OptionErrorCase{"positional", {"1000"}, "--f0"},
        OptionErrorCase{"missing_value_at_end", {"--f0"}, "--f0 needs a value"},
        OptionErrorCase{"missing_value_before_option", {"--bw", "--f0", "900"}, "--bw needs a value"},
        OptionErrorCase{"choice_missing_value", {"--mounting"}, "drop-in, pin, tab, tessel, orbis"},
        OptionErrorCase{"help_with_value", {"--help=yes"}, "--help"},
        OptionErrorCase{"newline_in_value", {"--dielectric", "DR\nDH"}, "DL, DR, DH"},
        OptionErrorCase{"error_after_valid", {"--f0", "900", "--format", "yaml"}, "text, json"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- hostile entries ---------------------------------------------------------------------------

struct HostileValue {
    const char* name;
    std::string text;
};

const std::vector<HostileValue> kHostileValues = {
    {"empty", ""},
    {"letters", "abc"},
    {"two_points", "1.5.3"},
    {"negative", "-5"},
    {"overflowing_exponent", "1e999"},
    {"digits400", std::string(400, '9')},
    {"zero", "0"},
    {"just_below_100", "99.999"},
    {"at_clamp", "3500"},
    {"tiny_exponent", "1e-300"},
};

void PrintTo(const HostileValue& v, std::ostream* os) { *os << v.name; }

class CliHostileEntries : public ::testing::TestWithParam<std::tuple<std::string, HostileValue>> {};

TEST_P(CliHostileEntries, GiveACleanVerdict) {
    const auto& [option, value] = GetParam();
    for (const bool joined : {false, true}) {
        const std::vector<std::string> args =
            joined ? std::vector<std::string>{option + "=" + value.text, "--format=json"}
                   : std::vector<std::string>{option, value.text, "--format", "json"};
        const CliRun run = Invoke(args);
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        EXPECT_FALSE(MentionsNonFinite(run.out)) << run.out;
        const JsonValue doc = ParseOrFail(run.out);
        EXPECT_EQ(doc.Keys(), kJsonKeys);
        const double status = doc["status"].number;
        EXPECT_TRUE(status == 0 || status == 1 || status == 2 || status == 7) << status;
        EXPECT_EQ(doc["sweep"].IsNull(), status != 0);
        if (status == 0) {
            const JsonValue& sweep = doc["sweep"];
            const auto count = static_cast<size_t>(sweep["count"].number);
            EXPECT_GE(count, 1u);
            EXPECT_EQ(sweep["attenuation_db"].items.size(), count);
            EXPECT_EQ(sweep["delay_ns"].items.size(), count);
        }
    }
    const CliRun text = Invoke({option, value.text});
    EXPECT_EQ(text.status, 0) << text.err;
    EXPECT_FALSE(MentionsNonFinite(text.out)) << text.out;
}

INSTANTIATE_TEST_SUITE_P(Entries, CliHostileEntries,
                         ::testing::Combine(::testing::Values("--f0", "--bw", "--f1", "--f2"),
                                            ::testing::ValuesIn(kHostileValues)),
                         [](const auto& info) {
                             return std::get<0>(info.param).substr(2) + "_" + std::get<1>(info.param).name;
                         });

// --- JSON pieces -------------------------------------------------------------------------------

TEST(CliJson, StringsAreEscapedAndNumbersRoundTrip) {
    EXPECT_EQ(JsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(JsonString("line\nnext\ttab\r"), R"("line\nnext\ttab\r")");
    EXPECT_EQ(JsonString(std::string("\x01\x1f", 2)), R"("\u0001\u001f")");
    EXPECT_EQ(JsonString(""), R"("")");

    EXPECT_EQ(JsonNumber(std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(-std::numeric_limits<double>::infinity()), "null");
    EXPECT_EQ(JsonNumber(std::nan("")), "null");
    for (const double value : {0.1, 1.0 / 3.0, 19.5, -2.5e-300, std::numeric_limits<double>::max()}) {
        EXPECT_EQ(std::strtod(JsonNumber(value).c_str(), nullptr), value) << JsonNumber(value);
    }
}

}  // namespace
}  // namespace veltrix
