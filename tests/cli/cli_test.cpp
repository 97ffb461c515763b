#include <gtest/gtest.h>

#include <cfloat>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <regex>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include <nlohmann/json.hpp>

#include "cli/json_number.h"
#include "cli/options.h"
#include "cli/run.h"
#include "engine/response.h"
#include "engine/selection.h"
#include "exports/exports.h"
#include "finder/finder.h"
#include "judgement/judgement.h"
#include "outline_geometry/outline_geometry.h"
#include "version/version.h"

namespace veltrix {
namespace {

using JsonValue = nlohmann::ordered_json;

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
    try {
        return JsonValue::parse(text);
    } catch (const nlohmann::json::exception& e) {
        ADD_FAILURE() << "not valid JSON: " << e.what() << "\n" << text;
        return {};
    }
}

std::vector<std::string> Keys(const JsonValue& object) {
    std::vector<std::string> keys;
    for (const auto& item : object.items()) keys.push_back(item.key());
    return keys;
}

JsonValue RunJson(std::vector<std::string> args) {
    args.push_back("--format=json");
    const CliRun run = Invoke(args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    return ParseOrFail(run.out);
}

std::vector<std::string> Strings(const JsonValue& array) { return array.get<std::vector<std::string>>(); }

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
    // Whole words only: "Information" in the outline notice is no infinity.
    static const std::regex word("(^|[^A-Za-z])(nan|inf|infinity)($|[^A-Za-z])", std::regex::icase);
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
                                            "report",
                                            "outline"};

// --- the default filter ------------------------------------------------------------------------

TEST(CliDefaults, JsonDescribesTheDefaultPart) {
    const JsonValue doc = RunJson({});
    EXPECT_EQ(Keys(doc), kJsonKeys);
    EXPECT_EQ(doc["status"].get<double>(), 0);
    EXPECT_EQ(doc["part_number"].get<std::string>(), "3DR25-1000/U20 - 1.8");
    EXPECT_TRUE(doc["messages"].empty());
    EXPECT_EQ(doc["focus"].get<std::string>(), "none");
    EXPECT_EQ(doc["f0"].get<double>(), 1000.0);
    EXPECT_EQ(doc["bw"].get<double>(), 20.0);
    ASSERT_TRUE(doc["insertion_loss_defined"].get<bool>());
    ASSERT_EQ(doc["insertion_loss_db"].is_number(), true);
    EXPECT_EQ(doc["il0_label"].get<std::string>(),
              "Insertion loss at Fo  =" + Format("%6.1f", doc["insertion_loss_db"].get<double>()) + "  dB");
    EXPECT_EQ(doc["il1_label"].get<std::string>(), " ");
    EXPECT_EQ(doc["il2_label"].get<std::string>(), " ");
    EXPECT_TRUE(doc["f1_attenuation_db"].is_null());
    EXPECT_TRUE(doc["f2_attenuation_db"].is_null());
    // The sweep's edges (about 38 dB relative) pass 30 dB but not 60 dB; below 2000 MHz that is no notice.
    EXPECT_TRUE(doc["over30db"].get<bool>());
    EXPECT_FALSE(doc["over60db"].get<bool>());
    EXPECT_EQ(doc["guarantee"].get<std::string>(), "");

    const JsonValue& sweep = doc["sweep"];
    ASSERT_EQ(sweep.is_object(), true);
    EXPECT_EQ(Keys(sweep), (std::vector<std::string>{"start", "stop", "step", "count", "attenuation_db",
                                                     "return_loss_db", "delay_ns"}));
    EXPECT_EQ(sweep["start"].get<double>(), 940.0);
    EXPECT_EQ(sweep["stop"].get<double>(), 1060.0);
    EXPECT_EQ(sweep["step"].get<double>(), 2.0);
    EXPECT_EQ(sweep["count"].get<double>(), 61);
    EXPECT_EQ(sweep["attenuation_db"].size(), 61u);
    EXPECT_EQ(sweep["return_loss_db"].size(), 61u);
    EXPECT_EQ(sweep["delay_ns"].size(), 61u);

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
    const double il0 = doc["insertion_loss_db"].get<double>();
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
        EXPECT_NEAR(rows[k][1], sweep["attenuation_db"][k].get<double>() + il0, 0.05 + 1e-9);
        EXPECT_NEAR(rows[k][2], sweep["return_loss_db"][k].get<double>(), 0.05 + 1e-9);
        EXPECT_NEAR(rows[k][3], sweep["delay_ns"][k].get<double>(), 0.005 + 1e-9);
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
    EXPECT_TRUE(HasLine(run.out, doc["il0_label"].get<std::string>())) << run.out;
    EXPECT_TRUE(
        HasLine(run.out, "Attenuation at F1 (950.00 MHz): " + doc["il1_label"].get<std::string>() + " dBc"))
        << run.out;
    EXPECT_EQ(run.out.find("F2"), std::string::npos) << "F2 was not given";
    EXPECT_EQ(run.out.find("No standard part"), std::string::npos);
    // Every report line follows, in order, then the outline drawing.
    const auto lines = Lines(run.out);
    const auto report = Strings(doc["report"]);
    const auto heading = std::find(lines.begin(), lines.end(), "Tabular report:");
    ASSERT_GE(lines.end() - heading, static_cast<long>(report.size()) + 3) << run.out;
    EXPECT_TRUE(std::equal(report.begin(), report.end(), heading + 1));
    EXPECT_EQ(*(heading + 1 + static_cast<long>(report.size())), "");
    EXPECT_EQ(*(heading + 2 + static_cast<long>(report.size())), "Outline drawing (inches):");
}

// --- verdicts ----------------------------------------------------------------------------------

TEST(CliVerdicts, RefusedSelectionKeepsMessagesInOrderWithTheirEmptyLine) {
    const JsonValue doc = RunJson({"--f0", "500"});
    EXPECT_EQ(doc["status"].get<double>(), 1);
    EXPECT_EQ(Strings(doc["messages"]),
              (std::vector<std::string>{"Maximum Bandwidth Exceeded", "Use DH for fo < 800 MHz", "",
                                        "Increase profile size and dielectric", "for lower frequencies."}));
    EXPECT_EQ(doc["focus"].get<std::string>(), "BWEdit");
    EXPECT_EQ(doc["bw"].get<double>(), 19.5);
    // The record would spell 3DR25-500/U19.5 - 1.8, but a refused entry names no part.
    EXPECT_TRUE(doc["part_number"].is_null());
    EXPECT_TRUE(doc["insertion_loss_defined"].get<bool>());
    EXPECT_TRUE(doc["sweep"].is_null());
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
    EXPECT_EQ(doc["status"].get<double>(), 1);
    EXPECT_EQ(doc["f0"].get<double>(), 3500.0);
    EXPECT_EQ(doc["focus"].get<std::string>(), "F0Edit");
    EXPECT_FALSE(doc["insertion_loss_defined"].get<bool>());
    EXPECT_TRUE(doc["insertion_loss_db"].is_null());
    EXPECT_EQ(doc["il0_label"].get<std::string>(), "Insertion loss at Fo is not defined");
}

TEST(CliVerdicts, ExtremeValuesGiveStatusSeven) {
    const JsonValue doc = RunJson({"--bw", "0.9"});
    EXPECT_EQ(doc["status"].get<double>(), 7);
    EXPECT_EQ(Strings(doc["messages"]), std::vector<std::string>{"Extreme Values Preclude Analysis"});
    EXPECT_TRUE(doc["insertion_loss_db"].is_null());
    EXPECT_TRUE(doc["sweep"].is_null());
}

TEST(CliVerdicts, StopbandPointsAndGuaranteeNotices) {
    const JsonValue upper = RunJson({"--f2", "1020"});
    EXPECT_TRUE(upper["f1_attenuation_db"].is_null());
    EXPECT_EQ(upper["il1_label"].get<std::string>(), " ");
    ASSERT_EQ(upper["f2_attenuation_db"].is_number(), true);
    EXPECT_EQ(upper["il2_label"].get<std::string>(),
              Format("%6.1f", upper["f2_attenuation_db"].get<double>()));
    EXPECT_GT(upper["f2_attenuation_db"].get<double>(), 3.0);

    // Far out of band the attenuation passes 60 dB.
    const JsonValue far = RunJson({"--f1", "800"});
    EXPECT_GT(far["f1_attenuation_db"].get<double>(), 60.0);
    EXPECT_TRUE(far["over60db"].get<bool>());
    EXPECT_EQ(far["guarantee"].get<std::string>(), "Only 60 dB attenuation guaranteed");
    EXPECT_TRUE(HasLine(Invoke({"--f1", "800"}).out, "Notice: Only 60 dB attenuation guaranteed"));

    const JsonValue high = RunJson({"--f0", "2000"});
    EXPECT_EQ(high["status"].get<double>(), 0);
    EXPECT_EQ(high["guarantee"].get<std::string>(), "Only 30 dB attenuation guaranteed");

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
    EXPECT_EQ(doc["part_number"].get<std::string>(), GetParam().partNumber);
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliChoices,
    ::testing::Values(
        ChoiceCase{"pbd_half", {"--pbd", "0.5"}, "3DR25-1000/H20 - 1.8"},
        ChoiceCase{"pbd_three", {"--pbd=3.0"}, "3DR25-1000/T20 - 1.8"},
        ChoiceCase{"sections_six", {"--sections", "6"}, "6DR25-1000/U20 - 1.8"},
        ChoiceCase{"sections_two", {"--sections=2"}, "2DR25-1000/U20 - 1.8"},
        ChoiceCase{"profile_6mm", {"--profile", "6mm"}, "3DR35-1000/U20 - 1.8"},
        ChoiceCase{"profile_12mm", {"--profile", "12mm", "--mounting", "drop-in"}, "3DR41-1000/U20 - 1.8"},
        ChoiceCase{"dielectric_dh", {"--dielectric", "DH"}, "3DH25-1000/U20 - 1.8"},
        ChoiceCase{"dielectric_dl", {"--dielectric=DL", "--f0", "2500"}, "3DL25-2500/U20 - 1.8"},
        ChoiceCase{"drop_in", {"--mounting", "drop-in"}, "3DR21-1000/U20 - 1.8"},
        ChoiceCase{"pin", {"--mounting", "pin"}, "3DR22-1000/U20 - 1.8"},
        ChoiceCase{"tab", {"--mounting", "tab"}, "3DR23-1000/U20 - 1.8"},
        ChoiceCase{"tessel", {"--mounting", "tessel"}, "3DR24-1000/U20 - 1.8"},
        ChoiceCase{"frequencies", {"--f0", "1234.56", "--bw", "35.5"}, "3DR25-1234.6/U35.5 - 1.8"}),
    [](const auto& info) { return std::string(info.param.name); });

// Refused entries name no part, so the record's normalised figures are read instead.
TEST(CliOptions, NumbersAreNormalisedLikeTheEntryFields) {
    const JsonValue low = RunJson({"--f0", "50", "--bw", "2"});
    EXPECT_EQ(low["f0"].get<double>(), 100.0);
    EXPECT_EQ(low["bw"].get<double>(), 2.0);
    const JsonValue zero = RunJson({"--bw", "0"});
    EXPECT_EQ(zero["f0"].get<double>(), 1000.0);
    EXPECT_EQ(zero["bw"].get<double>(), 1.0);
}

TEST(CliOptions, GraphWidthSetsTheSweepSpan) {
    const JsonValue doc = RunJson({"--graph-width", "2"});
    EXPECT_EQ(doc["sweep"]["start"].get<double>(), 980.0);
    EXPECT_EQ(doc["sweep"]["stop"].get<double>(), 1020.0);
    const JsonValue narrow = RunJson({"--graph-width=1"});
    EXPECT_EQ(narrow["sweep"]["start"].get<double>(), 990.0);
    EXPECT_EQ(narrow["sweep"]["stop"].get<double>(), 1010.0);
}

TEST(CliOptions, HelpGoesToStandardOutput) {
    const CliRun run = Invoke({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out.rfind("Usage: veltrix-cli", 0), 0u) << run.out;
    EXPECT_NE(run.out.find("--mounting"), std::string::npos);
}

TEST(CliOptions, VersionGoesToStandardOutputAsTheProgramPrintsIt) {
    for (const auto& args : {std::vector<std::string>{"--version"}, {"--f0", "900", "--version"}}) {
        const CliRun run = Invoke(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, "Veltrix " VELTRIX_VERSION "\n");
    }
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
        OptionErrorCase{"units", {"--units", "cm"}, "--units: invalid value 'cm' (accepted: in, mm)"},
        OptionErrorCase{"units_inches_spelt_out", {"--units=inches"}, "--units: invalid value"},
        OptionErrorCase{"units_missing_value", {"--units"}, "--units needs a value (accepted: in, mm)"},
        OptionErrorCase{"unknown", {"--bogus"}, "--f0"},
        OptionErrorCase{"unknown_with_c1_control",
                        {"--bo\xc2\x9b"
                         "2Jgus"},
                        "unknown option '--bo?2Jgus'"},
        OptionErrorCase{"unknown_with_bidi_override",
                        {"--a\xe2\x80\xae"
                         "b"},
                        "unknown option '--a?b'"},
        OptionErrorCase{"single_dash", {"-f0", "1000"}, "--f0"},
        OptionErrorCase{"positional", {"1000"}, "--f0"},
        OptionErrorCase{"missing_value_at_end", {"--f0"}, "--f0 needs a value"},
        OptionErrorCase{"missing_value_before_option", {"--bw", "--f0", "900"}, "--bw needs a value"},
        OptionErrorCase{"choice_missing_value", {"--mounting"}, "drop-in, pin, tab, tessel, orbis"},
        OptionErrorCase{"help_with_value", {"--help=yes"}, "--help takes no value"},
        OptionErrorCase{"version_with_value", {"--version=1.9"}, "--version takes no value"},
        OptionErrorCase{
            "find_has_no_version", {"find", "--f0", "1500", "--bw", "30", "--version"}, "--version"},
        OptionErrorCase{"newline_in_value", {"--dielectric", "DR\nDH"}, "DL, DR, DH"},
        OptionErrorCase{"error_after_valid", {"--f0", "900", "--format", "yaml"}, "text, json, csv"},
        OptionErrorCase{
            "points_alone", {"--points", "11"}, "--points applies to --touchstone FILE or --format csv"},
        OptionErrorCase{"range_alone", {"--from", "1400", "--to", "1600"}, "--from applies to --touchstone"},
        OptionErrorCase{"equal_frequencies",
                        {"--f0", "1500", "--bw", "30", "--touchstone", "x.s2p", "--points", "3",
                         "--span-bandwidths", "0.000000001"},
                        "--span-bandwidths: 3 points from"},
        OptionErrorCase{"csv_equal_frequencies",
                        {"--format", "csv", "--from", "1000", "--to", "1000.0000001"},
                        "--from: "},
        OptionErrorCase{"too_many_points_for_range",
                        {"--touchstone", "x.s2p", "--points", "100001", "--from", "1000", "--to", "1000.01"},
                        "not distinct positive frequencies"},
        OptionErrorCase{"from_alone", {"--touchstone", "x.s2p", "--from", "1400"}, "--from needs --to"},
        OptionErrorCase{"to_alone", {"--touchstone", "x.s2p", "--to", "1400"}, "--to needs --from"},
        OptionErrorCase{"from_above_to",
                        {"--touchstone", "x.s2p", "--from", "1600", "--to", "1400"},
                        "--from must be below --to"},
        OptionErrorCase{
            "from_zero", {"--touchstone", "x.s2p", "--from", "0", "--to", "1400"}, "--from: invalid"},
        OptionErrorCase{"range_and_span",
                        {"--touchstone", "x.s2p", "--from", "900", "--to", "1100", "--span-bandwidths", "4"},
                        "--span-bandwidths cannot be given with --from"},
        OptionErrorCase{
            "points_too_few", {"--touchstone", "x.s2p", "--points", "1"}, "--points: invalid value '1'"},
        OptionErrorCase{
            "points_not_whole", {"--touchstone", "x.s2p", "--points=5.5"}, "--points: invalid value"},
        OptionErrorCase{
            "span_zero", {"--touchstone", "x.s2p", "--span-bandwidths", "0"}, "--span-bandwidths"},
        OptionErrorCase{"touchstone_without_file", {"--touchstone"}, "--touchstone needs a value"},
        OptionErrorCase{"find_mounting_list",
                        {"find", "--f0", "1500", "--bw", "30", "--mounting", "tab,sideways"},
                        "--mounting: invalid value 'tab,sideways'"},
        OptionErrorCase{"find_empty_item",
                        {"find", "--f0", "1500", "--bw", "30", "--dielectric", "DL,,DR"},
                        "--dielectric"},
        OptionErrorCase{
            "find_profile_empty", {"find", "--f0", "1500", "--bw", "30", "--profile="}, "--profile"},
        OptionErrorCase{"find_reject_no_colon",
                        {"find", "--f0", "1500", "--bw", "30", "--reject", "1400"},
                        "--reject: invalid value '1400'"},
        OptionErrorCase{
            "find_reject_text", {"find", "--f0", "1500", "--bw", "30", "--reject=1400:lots"}, "--reject"},
        OptionErrorCase{"find_max_il", {"find", "--f0", "1500", "--bw", "30", "--max-il", "low"}, "--max-il"},
        OptionErrorCase{"find_csv", {"find", "--f0", "1500", "--bw", "30", "--format", "csv"}, "text, json"},
        OptionErrorCase{"find_needs_bw", {"find", "--f0", "1500"}, "--bw is required"},
        OptionErrorCase{
            "find_unknown", {"find", "--f0", "1500", "--bw", "30", "--sections", "3"}, "--sections"},
        OptionErrorCase{"find_after_options", {"--f0", "1500", "find", "--bw", "30"}, "after the word find"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- hostile entries ---------------------------------------------------------------------------

struct HostileValue {
    const char* name;
    std::string text;
};

// Plain decimals the entry fields would take, however far out of range.
const std::vector<HostileValue> kHostileValues = {
    {"negative", "-5"},   {"digits400", std::string(400, '9')},
    {"zero", "0"},        {"just_below_100", "99.999"},
    {"at_clamp", "3500"}, {"signed_point", "+.5"},
};

// Texts that are not plain decimal numbers: the user may mean something other than what a
// lenient reading would judge.
const std::vector<HostileValue> kNotPlainDecimals = {
    {"empty", ""},
    {"letters", "abc"},
    {"two_points", "1.5.3"},
    {"exponent", "1e3"},
    {"overflowing_exponent", "1e999"},
    {"tiny_exponent", "1e-300"},
    {"nan", "nan"},
    {"inf", "inf"},
    {"hexadecimal", "0x10"},
    {"decimal_comma", "1,5"},
    {"trailing_letters", "1000abc"},
    {"lone_point", "."},
    {"lone_sign", "-"},
    {"inner_space", "10 00"},
};

class CliNumberErrors : public ::testing::TestWithParam<std::tuple<std::string, HostileValue>> {};

TEST_P(CliNumberErrors, AreUsageErrorsNamingTheOption) {
    const auto& [option, value] = GetParam();
    std::vector<std::string> args{option, value.text};
    if (option.rfind("find ", 0) == 0) {
        args = {"find", "--f0", "1500", "--bw", "30", option.substr(5), value.text};
    } else if (option.rfind("compare ", 0) == 0) {
        args = {"compare", "--measured", "m.s2p", option.substr(8), value.text};
    } else if (option == "--from" || option == "--to") {
        args = {"--touchstone", "x.s2p", option == "--from" ? "--to" : "--from", "1100", option, value.text};
    }
    const std::string name = args[args.size() - 2];
    for (const bool joined : {false, true}) {
        std::vector<std::string> typed = args;
        if (joined) {
            typed.pop_back();
            typed.back() += "=" + value.text;
        }
        const CliRun run = Invoke(typed);
        EXPECT_EQ(run.status, kExitUsage) << run.out;
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(name + ": invalid value"), std::string::npos) << run.err;
        EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
    }
}

INSTANTIATE_TEST_SUITE_P(Entries, CliNumberErrors,
                         ::testing::Combine(::testing::Values("--f0", "--bw", "--f1", "--f2", "--from",
                                                              "--to", "--span-bandwidths", "find --max-il",
                                                              "compare --requirement", "compare --f0",
                                                              "compare --max-il"),
                                            ::testing::ValuesIn(kNotPlainDecimals)),
                         [](const auto& info) {
                             std::string name = std::get<0>(info.param) + "_" + std::get<1>(info.param).name;
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

struct RepeatCase {
    const char* name;
    std::vector<std::string> args;
    const char* mentions;
};

class CliRepeatedOptions : public ::testing::TestWithParam<RepeatCase> {};

TEST_P(CliRepeatedOptions, AreUsageErrors) {
    const CliRun run = Invoke(GetParam().args);
    EXPECT_EQ(run.status, kExitUsage) << run.out;
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().mentions), std::string::npos) << run.err;
}

INSTANTIATE_TEST_SUITE_P(
    Options, CliRepeatedOptions,
    ::testing::Values(
        RepeatCase{"f0", {"--f0", "1000", "--f0", "1500"}, "--f0 is given more than once"},
        RepeatCase{"same_value", {"--bw=20", "--bw", "20"}, "--bw is given more than once"},
        RepeatCase{"choice", {"--format", "json", "--format", "text"}, "--format is given more than once"},
        RepeatCase{"sections", {"--sections", "2", "--sections", "5"}, "--sections is given more than once"},
        RepeatCase{"flag", {"--version", "--version"}, "--version is given more than once"},
        RepeatCase{
            "find", {"find", "--f0", "1500", "--bw", "30", "--bw", "40"}, "--bw is given more than once"},
        RepeatCase{"compare",
                   {"compare", "--measured", "a.s2p", "--measured", "b.s2p"},
                   "--measured is given more than once"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliRepeatedOptions, ListsAreBuiltOneValueAtATime) {
    const CliRun run =
        Invoke({"find", "--f0", "1500", "--bw", "30", "--reject", "1400:20", "--reject", "1600:20"});
    EXPECT_EQ(run.status, 0) << run.err;
}

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
        EXPECT_EQ(Keys(doc), kJsonKeys);
        const double status = doc["status"].get<double>();
        EXPECT_TRUE(status == 0 || status == 1 || status == 2 || status == 7) << status;
        EXPECT_EQ(doc["sweep"].is_null(), status != 0);
        EXPECT_EQ(doc["part_number"].is_null(), status != 0);
        EXPECT_EQ(doc["outline"].is_null(), status != 0)
            << "the 4 mm leadless drawing exists for every valid entry";
        if (status == 0) {
            const JsonValue& sweep = doc["sweep"];
            const auto count = static_cast<size_t>(sweep["count"].get<double>());
            EXPECT_GE(count, 1u);
            EXPECT_EQ(sweep["attenuation_db"].size(), count);
            EXPECT_EQ(sweep["delay_ns"].size(), count);
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

TEST(CliJson, NumbersRoundTripAndNonFiniteIsNull) {
    EXPECT_TRUE(JsonNumber(std::numeric_limits<double>::infinity()).is_null());
    EXPECT_TRUE(JsonNumber(-std::numeric_limits<double>::infinity()).is_null());
    EXPECT_TRUE(JsonNumber(std::nan("")).is_null());
    EXPECT_EQ(JsonNumber(1000.0).dump(), "1000");
    EXPECT_EQ(JsonNumber(-3500.0).dump(), "-3500");
    for (const double value :
         {0.1, 1.0 / 3.0, 19.5, -2.5e-300, 1e300, -0.0, std::numeric_limits<double>::max()}) {
        const std::string text = JsonNumber(value).dump();
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), value) << text;
        EXPECT_EQ(std::signbit(std::strtod(text.c_str(), nullptr)), std::signbit(value)) << text;
    }
}

// The compare document is written as text a point at a time: its numbers read as a whole document's.
TEST(CliJson, NumberTextIsTheDumpOfTheNumber) {
    for (const double value :
         {0.0, -0.0, 1000.0, -3500.0, 0.1, 1.0 / 3.0, 6.0205999132796242, 1e-300, -2.5e-7, 1e15, 1e16,
          9007199254740992.0, 1e300, std::numeric_limits<double>::max(),
          std::numeric_limits<double>::denorm_min(), std::numeric_limits<double>::infinity(), std::nan("")}) {
        std::array<char, 64> buffer;
        EXPECT_EQ(std::string(JsonNumberText(value, buffer)), JsonNumber(value).dump()) << value;
    }
}

// A long argument is echoed shortened, but never with half a character: the line stays UTF-8.
bool ValidUtf8(const std::string& text) {
    for (size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        const size_t length = lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc2 ? 2 : 0;
        if (length == 0 || i + length > text.size()) return false;
        for (size_t k = 1; k < length; ++k) {
            if ((static_cast<unsigned char>(text[i + k]) & 0xc0) != 0x80) return false;
        }
        i += length;
    }
    return true;
}

TEST(CliOptions, EchoOfALongArgumentStaysValidUtf8) {
    for (const std::string& piece :
         {std::string("\u00e9"), std::string("\u20ac"), std::string("\U0001F4E1")}) {
        for (size_t prefix = 0; prefix < 4; ++prefix) {
            std::string value(prefix, 'x');
            for (int i = 0; i < 30; ++i) value += piece;
            for (const auto& args :
                 {std::vector<std::string>{"--mounting", value}, std::vector<std::string>{"--" + value},
                  std::vector<std::string>{value}}) {
                const CliRun run = Invoke(args);
                EXPECT_EQ(run.status, kExitUsage);
                EXPECT_TRUE(ValidUtf8(run.err)) << run.err;
                EXPECT_NE(run.err.find("..."), std::string::npos) << run.err;
                EXPECT_NE(run.err.find(piece), std::string::npos) << run.err;
            }
        }
    }
    // Bytes that are not UTF-8 at all are not passed on either.
    const CliRun broken = Invoke({"--profile", "4mm\xff\xc3"});
    EXPECT_TRUE(ValidUtf8(broken.err)) << broken.err;
    EXPECT_NE(broken.err.find("'4mm?"
                              "?'"),
              std::string::npos)
        << broken.err;
}

// --- the outline drawing -----------------------------------------------------------------------

const std::string kInchTolerance =
    "Tolerances: All dimensions \u00b1 .02 inches unless otherwise specified.    ";
const std::string kMillimetreTolerance =
    "Tolerances: All dimensions \u00b1 .5 millimeters unless otherwise specified.";

// The index-th text of dimension `number`, as read off the drawing by hand.
struct DrawnText {
    int number;
    size_t index;
    std::string text;
    int x;
    int y;
};

struct OutlineCase {
    const char* name;
    std::vector<std::string> args;
    std::string title;
    std::string part;
    bool millimetres;
    std::vector<DrawnText> drawn;
    std::vector<int> absent;  // dimensions this entry's drawing leaves out
};

void PrintTo(const OutlineCase& c, std::ostream* os) { *os << c.name; }

class CliOutline : public ::testing::TestWithParam<OutlineCase> {};

TEST_P(CliOutline, JsonCarriesTheDrawingsTexts) {
    const OutlineCase& c = GetParam();
    std::vector<std::string> args = c.args;
    args.push_back("--format=json");
    const CliRun run = Invoke(args);
    ASSERT_EQ(run.status, 0) << run.err;
    // The plus-minus sign travels as UTF-8, neither escaped nor replaced.
    EXPECT_NE(run.out.find("\xc2\xb1"), std::string::npos);
    const JsonValue doc = ParseOrFail(run.out);
    EXPECT_EQ(Keys(doc), kJsonKeys);
    const JsonValue& outline = doc["outline"];
    ASSERT_TRUE(outline.is_object()) << outline.dump();
    EXPECT_EQ(Keys(outline), (std::vector<std::string>{"title", "part", "tolerance", "dimensions"}));
    EXPECT_EQ(outline["title"].get<std::string>(), c.title);
    EXPECT_EQ(outline["part"].get<std::string>(), c.part);
    EXPECT_EQ(outline["part"], doc["part_number"]);
    EXPECT_EQ(outline["tolerance"].get<std::string>(), c.millimetres ? kMillimetreTolerance : kInchTolerance);

    const JsonValue& dimensions = outline["dimensions"];
    ASSERT_TRUE(dimensions.is_object());
    for (const DrawnText& d : c.drawn) {
        SCOPED_TRACE("dimension " + std::to_string(d.number) + " text " + std::to_string(d.index));
        const std::string key = std::to_string(d.number);
        ASSERT_TRUE(dimensions.contains(key));
        ASSERT_LT(d.index, dimensions[key].size());
        const JsonValue& placed = dimensions[key][d.index];
        EXPECT_EQ(placed["text"].get<std::string>(), d.text);
        EXPECT_EQ(placed["x"].get<int>(), d.x);
        EXPECT_EQ(placed["y"].get<int>(), d.y);
    }
    for (const int number : c.absent) EXPECT_FALSE(dimensions.contains(std::to_string(number))) << number;

    // The whole of it is what the outline screen writes for the evaluated entry, in the same order.
    const ParseOutcome parsed = ParseArguments(c.args);
    ASSERT_TRUE(parsed.Ok);
    const JudgedSelection judged = JudgeSelection(parsed.Options.Spec);
    const auto expected =
        OutlineFor(judged.Spec, c.millimetres ? DrawingUnits::Millimetres : DrawingUnits::Inches);
    ASSERT_TRUE(expected.has_value());
    std::vector<std::string> numbers;
    for (const auto& [number, texts] : expected->dimensions) {
        const std::string key = std::to_string(number);
        numbers.push_back(key);
        ASSERT_TRUE(dimensions.contains(key)) << key;
        ASSERT_EQ(dimensions[key].size(), texts.size()) << key;
        for (size_t i = 0; i < texts.size(); ++i) {
            const JsonValue& placed = dimensions[key][i];
            EXPECT_EQ(Keys(placed), (std::vector<std::string>{"text", "x", "y"}));
            EXPECT_EQ((PlacedText{placed["text"].get<std::string>(), placed["x"].get<int>(),
                                  placed["y"].get<int>()}),
                      texts[i])
                << key << "[" << i << "]";
        }
    }
    EXPECT_EQ(Keys(dimensions), numbers) << "numeric order, 10 after 9";
}

TEST_P(CliOutline, TextListsTheSameTextsLast) {
    const OutlineCase& c = GetParam();
    std::vector<std::string> jsonArgs = c.args;
    jsonArgs.push_back("--format=json");
    const JsonValue outline = ParseOrFail(Invoke(jsonArgs).out)["outline"];
    ASSERT_TRUE(outline.is_object());
    std::vector<std::string> expected = {
        "", c.millimetres ? "Outline drawing (millimetres):" : "Outline drawing (inches):",
        "  Title: \"" + c.title + "\"", "  Part: " + c.part, "  " + outline["tolerance"].get<std::string>()};
    for (const auto& [number, texts] : outline["dimensions"].items()) {
        for (const auto& placed : texts) {
            expected.push_back("  Dimension " + number + ": \"" + placed["text"].get<std::string>() +
                               "\" at (" + std::to_string(placed["x"].get<int>()) + ", " +
                               std::to_string(placed["y"].get<int>()) + ")");
        }
    }
    if (outline["dimensions"].empty()) expected.push_back("  Dimensions: none");

    const CliRun run = Invoke(c.args);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(expected.size()), lines.end()),
              expected)
        << run.out;
}

// Literal texts and places below come from the drawings' own rules, worked by hand.
INSTANTIATE_TEST_SUITE_P(
    Drawings, CliOutline,
    ::testing::Values(
        // 3 sections of 4 mm: L = 32 x 3 + 40 = 136, DR at 1000 MHz is height class 2 (H = 90), no protrusion
        // (0.75 - 0.26 > 481 / 1000).
        OutlineCase{"leadless_inches",
                    {},
                    "Leadless Surface Mount - Orbis",
                    "3DR25-1000/U20 - 1.8",
                    false,
                    {{1, 0, "0.56", 124, 95},
                     {2, 0, "0.75", 13, 160},
                     {3, 1, "0.22", 246, 144},
                     {3, 2, "0.17", 246, 168},
                     {4, 0, "0.12", 60, 260},
                     {4, 1, "0.16", 100, 260},
                     {6, 0, "0.26", 30, 354},
                     {9, 0, "0.19", 446, 70}},
                    {10}},
        OutlineCase{"leadless_millimetres",
                    {"--units", "mm"},
                    "Leadless Surface Mount - Orbis",
                    "3DR25-1000/U20 - 1.8",
                    true,
                    {{1, 0, "14.2", 124, 95}, {5, 0, "4.8", 13, 309}, {7, 0, "3.0", 221, 343}},
                    {10}},
        // 1500 MHz: height class 1 (H = 66) and 481 / 1500 >= 0.55 - 0.26, so the resonator protrudes.
        OutlineCase{"leadless_protruding",
                    {"--f0", "1500", "--units=in"},
                    "Leadless Surface Mount - Orbis",
                    "3DR25-1500/U20 - 1.8",
                    false,
                    {{2, 0, "0.55", 13, 148}, {3, 1, "0.22", 246, 144}, {10, 0, "0.58", 511, 151}},
                    {}},
        // p = h = 0.156, R = 0.481: end offset 47 - 31 is even, so p / 2 in the standard format.
        OutlineCase{"drop_in_inches",
                    {"--mounting", "drop-in"},
                    "Drop in (PC) mounting            ",
                    "3DR21-1000/U20 - 1.8",
                    false,
                    {{1, 0, "0.31", 155, 200},
                     {2, 0, "0.18", 305, 150},
                     {3, 0, "0.08", 78, 215},
                     {4, 0, "0.47", 155, 255},
                     {9, 0, "0.69 max", 305, 305},
                     {9, 1, "0.66 typ", 305, 320},
                     {13, 0, " .032", 520, 195},
                     {13, 1, "\u00b1.003 Dia.", 520, 210},
                     {15, 0, "0.80 max", 434, 85}},
                    {5}},
        // 5 sections of 4 mm snap to 0.63 and 0.79; dimension 5 is 0.365 in the fine format.
        OutlineCase{"drop_in_five_sections_millimetres",
                    {"--mounting", "drop-in", "--sections", "5", "--units", "mm"},
                    "Drop in (PC) mounting            ",
                    "5DR21-1000/U20 - 1.8",
                    true,
                    {{1, 0, "16.0", 155, 200},
                     {4, 0, "20.1", 155, 255},
                     {5, 0, "9.27", 118, 405},
                     {7, 0, "2.67", 315, 370},
                     {13, 1, "\u00b10.08 Dia.", 520, 210}},
                    {}},
        OutlineCase{"drop_in_12mm",
                    {"--mounting", "drop-in", "--profile", "12mm"},
                    "Drop in (PC) mounting            ",
                    "3DR41-1000/U20 - 1.8",
                    false,
                    {{2, 0, "0.50", 305, 150}},
                    {5}},
        // R = 499 / 1000 and 1000 MHz is above DR's 600 MHz, so the terminal is 0.45.
        OutlineCase{"tab_inches",
                    {"--mounting", "tab"},
                    "Surface mounting - Tab           ",
                    "3DR23-1000/U20 - 1.8",
                    false,
                    {{1, 0, "0.47", 155, 100},
                     {4, 0, "0.62", 155, 230},
                     {7, 1, " \u00b1.003", 15, 145},
                     {8, 0, "0.67 max", 410, 85},
                     {11, 0, "0.45", 5, 336},
                     {12, 0, "0.42", 30, 350},
                     {14, 0, ".032 \u00b1.003", 132, 400},
                     {17, 0, "0.07", 320, 368}},
                    {2, 3}},
        OutlineCase{"tab_millimetres",
                    {"--mounting", "tab", "--units", "mm"},
                    "Surface mounting - Tab           ",
                    "3DR23-1000/U20 - 1.8",
                    true,
                    {{6, 0, "4.6", 325, 135}, {11, 0, "11.4", 5, 336}, {14, 0, "0.81 \u00b10.08", 132, 400}},
                    {2, 3}},
        // Pins have the frame's texts only: no title, no drawing.
        OutlineCase{"pin_frame_only", {"--mounting", "pin"}, "", "3DR22-1000/U20 - 1.8", false, {}, {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliOutline, PinHasNoDimensionsAtAll) {
    const JsonValue doc = RunJson({"--mounting", "pin"});
    ASSERT_TRUE(doc["outline"]["dimensions"].is_object());
    EXPECT_TRUE(doc["outline"]["dimensions"].empty());
}

struct NoticeCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> notice;
};

void PrintTo(const NoticeCase& c, std::ostream* os) { *os << c.name; }

class CliOutlineNotice : public ::testing::TestWithParam<NoticeCase> {};

TEST_P(CliOutlineNotice, JsonIsNullAndTextShowsTheNotice) {
    const JsonValue doc = RunJson(GetParam().args);
    EXPECT_EQ(Keys(doc), kJsonKeys);
    EXPECT_TRUE(doc["outline"].is_null()) << doc["outline"].dump();

    const CliRun run = Invoke(GetParam().args);
    ASSERT_EQ(run.status, 0) << run.err;
    std::vector<std::string> expected = {"Outline drawing (inches):"};
    for (const auto& line : GetParam().notice) expected.push_back("  " + line);
    const auto lines = Lines(run.out);
    ASSERT_GE(lines.size(), expected.size());
    EXPECT_EQ(std::vector<std::string>(lines.end() - static_cast<long>(expected.size()), lines.end()),
              expected)
        << run.out;
}

const std::vector<std::string> kRefusedNotice = {"No Outline Drawings to Display.",
                                                 "Error Information on Filter Specification Screen."};
const std::vector<std::string> kLeadlessNotice = {"No Outline Drawings to Display.", "No Leadless for DR4."};

INSTANTIATE_TEST_SUITE_P(
    Notices, CliOutlineNotice,
    ::testing::Values(NoticeCase{"refused_entry", {"--f0", "500"}, kRefusedNotice},
                      NoticeCase{"refused_tab", {"--mounting", "tab", "--bw", "0.9"}, kRefusedNotice},
                      NoticeCase{"leadless_12mm", {"--profile", "12mm"}, kLeadlessNotice},
                      // The leadless notice wins over a refused entry's.
                      NoticeCase{
                          "leadless_12mm_refused", {"--profile", "12mm", "--f0", "500"}, kLeadlessNotice},
                      NoticeCase{"leadless_12mm_dl",
                                 {"--profile", "12mm", "--dielectric", "DL", "--f0", "2500"},
                                 {"No Outline Drawings to Display.", "No Leadless for DH4."}}),
    [](const auto& info) { return std::string(info.param.name); });

// --- the part finder ---------------------------------------------------------------------------

const std::vector<std::string> kFindExample = {"find",  "--f0", "1500",     "--bw",    "30",
                                               "--pbd", "1.0",  "--reject", "1400:40", "--reject=1620:35"};

TEST(CliFind, JsonListsTheFindersPartsAndMisses) {
    std::vector<std::string> args = kFindExample;
    args.push_back("--format=json");
    const CliRun run = Invoke(args);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_FALSE(MentionsNonFinite(run.out));
    const JsonValue doc = ParseOrFail(run.out);
    EXPECT_EQ(Keys(doc), (std::vector<std::string>{"parts", "misses"}));

    FinderRequirement requirement;
    requirement.F0 = 1500.0;
    requirement.BW = 30.0;
    requirement.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}};
    const FinderResults expected = FindParts(requirement);
    ASSERT_FALSE(expected.Parts.empty());
    ASSERT_EQ(doc["parts"].size(), expected.Parts.size());
    ASSERT_EQ(doc["misses"].size(), expected.Misses.size());
    for (size_t i = 0; i < expected.Parts.size(); ++i) {
        const JsonValue& part = doc["parts"][i];
        const FoundPart& want = expected.Parts[i];
        EXPECT_EQ(Keys(part),
                  (std::vector<std::string>{"part_number", "insertion_loss_db", "worst_case_il_db",
                                            "sections", "profile", "dielectric", "mounting", "stopbands"}));
        EXPECT_EQ(part["part_number"].get<std::string>(), want.PartNumber);
        EXPECT_EQ(part["insertion_loss_db"].get<double>(), want.InsertionLossDb) << "unrounded";
        EXPECT_DOUBLE_EQ(part["worst_case_il_db"].get<double>(), 1.1 * want.InsertionLossDb);
        EXPECT_EQ(part["sections"].get<int>(), want.Sections);
        ASSERT_EQ(part["stopbands"].size(), 2u);
        const JsonValue& point = part["stopbands"][0];
        EXPECT_EQ(Keys(point), (std::vector<std::string>{"frequency_mhz", "attenuation_dbc", "guaranteed_dbc",
                                                         "worst_case_dbc", "required_dbc", "margin_db"}));
        EXPECT_EQ(point["frequency_mhz"].get<double>(), 1400.0);
        EXPECT_EQ(point["attenuation_dbc"].get<double>(), want.Stopbands[0].AttenuationDbc);
        EXPECT_EQ(point["guaranteed_dbc"].get<double>(), want.Stopbands[0].GuaranteedDbc);
        const double worst = std::min(0.9 * want.Stopbands[0].AttenuationDbc, 60.0);
        EXPECT_DOUBLE_EQ(point["worst_case_dbc"].get<double>(), worst);
        EXPECT_EQ(point["required_dbc"].get<double>(), 40.0);
        EXPECT_EQ(point["margin_db"].get<double>(), want.Stopbands[0].MarginDb);
        EXPECT_DOUBLE_EQ(point["margin_db"].get<double>(), worst - 40.0);
    }
    // The option spellings name the choices. The three-section 3DL33 computes 43.2 dBc at 1400 MHz, 38.9 in
    // the worst case: the four-section part leads.
    const JsonValue& best = doc["parts"][0];
    EXPECT_EQ(best["part_number"].get<std::string>(), "4DL33-1500/U30 - 1.8");
    EXPECT_EQ(best["profile"].get<std::string>(), "6mm");
    EXPECT_EQ(best["dielectric"].get<std::string>(), "DL");
    EXPECT_EQ(best["mounting"].get<std::string>(), "tab");
    const JsonValue& miss = doc["misses"][0];
    EXPECT_EQ(Keys(miss),
              (std::vector<std::string>{"sections", "profile", "dielectric", "mounting", "reason"}));
    EXPECT_EQ(miss["mounting"].get<std::string>(), "drop-in");
    EXPECT_EQ(miss["reason"].get<std::string>(), expected.Misses[0].Reason);
}

TEST(CliFind, TextListsTheSamePartsBestFirstAndTheReasons) {
    std::vector<std::string> args = kFindExample;
    args.push_back("--format=json");
    const JsonValue doc = ParseOrFail(Invoke(args).out);
    const CliRun text = Invoke(kFindExample);
    ASSERT_EQ(text.status, 0) << text.err;
    size_t at = 0;
    for (const auto& part : doc["parts"]) {
        const size_t found = text.out.find(". " + part["part_number"].get<std::string>() + " ", at);
        ASSERT_NE(found, std::string::npos) << part["part_number"] << " missing or out of order";
        at = found;
    }
    EXPECT_TRUE(HasLine(text.out, "  2 sections, 4mm, DL, drop-in: No DL Parts for Drop-in Mounting"))
        << text.out;
    EXPECT_NE(text.out.find("1400.00 MHz: "), std::string::npos);

    // Restricted to what cannot be made: the finder says so.
    const CliRun none =
        Invoke({"find", "--f0", "1500", "--bw", "30", "--mounting", "drop-in", "--dielectric", "DL"});
    ASSERT_EQ(none.status, 0);
    EXPECT_TRUE(HasLine(none.out, "No standard part meets the requirement.")) << none.out;
    // A point too far out for a figure is named whole and missed with its reason.
    const CliRun far =
        Invoke({"find", "--f0", "1500", "--bw", "30", "--reject", "1" + std::string(308, '0') + ":1"});
    ASSERT_EQ(far.status, 0) << far.err;
    const std::string requirementLine = Lines(far.out).front();
    EXPECT_EQ(requirementLine.substr(requirementLine.size() - 4), " MHz");
    EXPECT_NE(far.out.find(" MHz cannot be computed\n"), std::string::npos);
    const CliRun help = Invoke({"find", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("--reject MHZ:DBC"), std::string::npos);
}

// The maker's tolerances decide: 10 % less attenuation, at most the guarantee, and 10 % more loss.
TEST(CliFind, JudgesTheWorstCaseTheTolerancesAllow) {
    const std::vector<std::string> find = {"find",     "--f0",   "1000",     "--bw",   "25",
                                           "--reject", "960:20", "--reject", "1040:18"};
    // The 4 mm three-section DR part computes past both points, but not with 10 % less.
    FilterSpec part;
    part.F0 = 1000.0;
    part.BW = part.BWRequested = 25.0;
    part.Sections = 3;
    part.Profile = ResonatorProfile::Mm4;
    part.Dielectric = DielectricMaterial::DR;
    part.Mounting = MountingStyle::Orbis;
    part.F1 = 960.0;
    part.F2 = 1040.0;
    ResponseData rd;
    const SelectionResults computed = ComputeSelection(part, rd);
    ASSERT_EQ(computed.Outcome.PartNumber, "3DR25-1000/U25 - 1.8");
    ASSERT_GE(computed.F1Attenuation, 20.0);
    ASSERT_GE(computed.F2Attenuation, 18.0);
    const double worst = 0.9 * computed.F1Attenuation;
    ASSERT_LT(worst, 20.0);

    const CliRun text = Invoke(find);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_EQ(text.out.find("3DR25-"), std::string::npos) << text.out;
    char reason[200];
    std::snprintf(reason, sizeof reason,
                  "  3 sections, 4mm, DR, orbis: Attenuation at 960.00 MHz is %.2f dBc worst case (%.2f dBc "
                  "computed), %.2f dB short of 20.00 dBc",
                  worst, computed.F1Attenuation, 20.0 - worst);
    EXPECT_TRUE(HasLine(text.out, reason)) << text.out;

    std::vector<std::string> args = find;
    args.push_back("--format=json");
    const JsonValue doc = ParseOrFail(Invoke(args).out);
    ASSERT_FALSE(doc["parts"].empty());
    double lowest = doc["parts"][0]["worst_case_il_db"].get<double>();
    for (const JsonValue& listed : doc["parts"]) {
        EXPECT_EQ(listed["part_number"].get<std::string>().rfind("3DR25-", 0), std::string::npos);
        EXPECT_DOUBLE_EQ(listed["worst_case_il_db"].get<double>(),
                         1.1 * listed["insertion_loss_db"].get<double>());
        for (const JsonValue& point : listed["stopbands"]) {
            const double figure = std::min(0.9 * point["attenuation_dbc"].get<double>(), 60.0);
            EXPECT_DOUBLE_EQ(point["worst_case_dbc"].get<double>(), figure);
            EXPECT_GE(figure, point["required_dbc"].get<double>());
        }
        lowest = std::min(lowest, listed["worst_case_il_db"].get<double>());
    }

    const CliRun help = Invoke({"find", "--help"});
    EXPECT_NE(help.out.find("judged on the worst case the maker's tolerances allow: 0.9 x the computed"),
              std::string::npos)
        << help.out;

    // --max-il holds the worst-case loss: the best part's computed loss alone is not enough.
    const double best = doc["parts"][0]["insertion_loss_db"].get<double>();
    for (const auto& [wanted, listedAtAll] :
         {std::pair{best * 1.05, false}, std::pair{lowest + 0.005, true}}) {
        char number[32];
        std::snprintf(number, sizeof number, "%.3f", wanted);
        const double limit = std::stod(number);
        std::vector<std::string> capped = args;
        capped.insert(capped.end(), {"--max-il", number});
        const JsonValue within = ParseOrFail(Invoke(capped).out);
        EXPECT_EQ(!within["parts"].empty(), listedAtAll) << limit;
        for (const JsonValue& listed : within["parts"])
            EXPECT_LE(listed["worst_case_il_db"].get<double>(), limit) << listed["part_number"];
    }
}

// Beyond the maker's guarantee (30 dBc from an fo of 2000 MHz, 60 dBc below) no part is listed,
// however much its design computes.
struct BeyondGuaranteeCase {
    const char* name;
    std::vector<std::string> args;
    const char* reason;
};

class CliFindBeyondGuarantee : public ::testing::TestWithParam<BeyondGuaranteeCase> {};

TEST_P(CliFindBeyondGuarantee, ListsNoPartAndSaysWhy) {
    const BeyondGuaranteeCase& c = GetParam();
    const CliRun text = Invoke(c.args);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_TRUE(HasLine(text.out, "No standard part meets the requirement.")) << text.out;
    EXPECT_NE(text.out.find(std::string(": ") + c.reason + "\n"), std::string::npos) << text.out;

    std::vector<std::string> args = c.args;
    args.push_back("--format=json");
    const JsonValue doc = ParseOrFail(Invoke(args).out);
    EXPECT_TRUE(doc["parts"].empty()) << doc["parts"].size() << " parts listed";
    const bool named = std::any_of(doc["misses"].begin(), doc["misses"].end(),
                                   [&](const JsonValue& miss) { return miss["reason"] == c.reason; });
    EXPECT_TRUE(named);

    // The figure judged and the one computed, side by side, where the requirement can be met.
    for (std::string& arg : args) {
        if (arg.find(':') != std::string::npos) arg = arg.substr(0, arg.find(':')) + ":30";
    }
    const JsonValue met = ParseOrFail(Invoke(args).out);
    args.pop_back();
    const std::string metText = Invoke(args).out;
    EXPECT_TRUE(std::regex_search(
        metText,
        std::regex(
            R"(\n {7}\d+\.00 MHz: \d+\.\d dBc worst case \(\d+\.\d dBc computed\), \+\d+\.\d dB over the 30\.0 dBc required\n)")))
        << metText;
    ASSERT_FALSE(met["parts"].empty());
    for (const JsonValue& part : met["parts"]) {
        const JsonValue& point = part["stopbands"][0];
        const double computed = point["attenuation_dbc"].get<double>();
        const double guaranteed = point["guaranteed_dbc"].get<double>();
        const double worst = point["worst_case_dbc"].get<double>();
        EXPECT_LE(guaranteed, computed);
        EXPECT_LE(worst, guaranteed);
        EXPECT_GE(worst, 30.0);
        EXPECT_DOUBLE_EQ(worst, std::min(0.9 * computed, guaranteed));
        EXPECT_EQ(point["margin_db"].get<double>(), worst - 30.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Examples, CliFindBeyondGuarantee,
    ::testing::Values(
        BeyondGuaranteeCase{
            "Above2000",
            {"find", "--f0", "2400", "--bw", "40", "--reject", "2250:45"},
            "Attenuation at 2250.00 MHz: 45.00 dBc required, 30 dBc guaranteed for fo >= 2000 MHz"},
        BeyondGuaranteeCase{
            "Below2000",
            {"find", "--f0", "1500", "--bw", "30", "--reject", "1400:75"},
            "Attenuation at 1400.00 MHz: 75.00 dBc required, 60 dBc guaranteed for fo < 2000 MHz"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CliFind, ListsLimitTheCombinations) {
    const JsonValue doc =
        ParseOrFail(Invoke({"find", "--f0", "1500", "--bw", "30", "--mounting", "tab,orbis", "--profile=4mm",
                            "--dielectric", "DR,DL,DR", "--format", "json"})
                        .out);
    EXPECT_EQ(doc["parts"].size() + doc["misses"].size(), 5u * 2u * 1u * 2u);
    for (const char* list : {"parts", "misses"}) {
        for (const auto& item : doc[list]) {
            EXPECT_EQ(item["profile"].get<std::string>(), "4mm");
            EXPECT_NE(item["dielectric"].get<std::string>(), "DH");
            const std::string mounting = item["mounting"].get<std::string>();
            EXPECT_TRUE(mounting == "tab" || mounting == "orbis") << mounting;
        }
    }
}

// --- exports -----------------------------------------------------------------------------------

class CliExports : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "veltrix-cli-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path dir_;
};

TEST_F(CliExports, CsvIsTheExportOfTheJudgedPart) {
    const CliRun run = Invoke({"--f1", "950", "--format", "csv"});
    ASSERT_EQ(run.status, 0) << run.err;
    FilterSpec spec;
    spec.F1 = 950.0;
    EXPECT_EQ(run.out, CsvText(ComputeResponseTable(spec)));
    EXPECT_EQ(Lines(run.out).size(), 1u + 61u) << "one table: the stopband point is in the text and JSON";

    const CliRun range = Invoke({"--format", "csv", "--from", "990", "--to", "1010", "--points", "5"});
    ASSERT_EQ(range.status, 0) << range.err;
    EXPECT_EQ(range.out, CsvText(ComputeResponseTable(FilterSpec{}, {5, 0.0, 990.0, 1010.0})));
    EXPECT_EQ(Lines(range.out)[1].rfind("990,", 0), 0u);

    const CliRun refused = Invoke({"--f0", "500", "--format", "csv"});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "veltrix-cli: --format csv: No standard part for last inputs. Maximum Bandwidth Exceeded\n");
}

TEST_F(CliExports, TouchstoneFileIsWrittenWholeOrNotAtAll) {
    const std::string path = (dir_ / "part.s2p").string();
    const CliRun run =
        Invoke({"--touchstone", path, "--points", "11", "--span-bandwidths=4", "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ParseOrFail(run.out)["status"].get<int>(), 0) << "the usual output still follows";
    std::ifstream in(path);
    std::vector<std::string> data;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '!' && line[0] != '#') data.push_back(line);
    }
    ASSERT_EQ(data.size(), 11u);
    EXPECT_EQ(data.front().rfind("960.000000 ", 0), 0u) << data.front();
    EXPECT_EQ(data.back().rfind("1040.000000 ", 0), 0u) << data.back();

    const std::string refusedPath = (dir_ / "refused.s2p").string();
    const CliRun refused = Invoke({"--f0", "500", "--touchstone", refusedPath});
    EXPECT_EQ(refused.status, kExitFailure);
    EXPECT_EQ(refused.out, "");
    EXPECT_EQ(refused.err,
              "veltrix-cli: --touchstone: No standard part for last inputs. Maximum Bandwidth Exceeded\n");
    EXPECT_FALSE(std::filesystem::exists(refusedPath));

    const std::string unwritable = (dir_ / "no-such-folder" / "part.s2p").string();
    const CliRun failed = Invoke({"--touchstone", unwritable});
    EXPECT_EQ(failed.status, kExitFailure);
    EXPECT_EQ(failed.err, "veltrix-cli: --touchstone: " + unwritable + ": " + std::strerror(ENOENT) + "\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()),
              1)
        << "only the first file";
}

std::vector<std::vector<double>> TouchstoneData(const std::string& path, std::string* comments = nullptr) {
    std::ifstream in(path);
    std::vector<std::vector<double>> rows;
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        if (line[0] == '!') {
            if (comments) *comments += line + "\n";
            continue;
        }
        std::istringstream fields(line);
        std::vector<double> row;
        for (double v; fields >> v;) row.push_back(v);
        rows.push_back(row);
    }
    return rows;
}

TEST_F(CliExports, TouchstoneRangesStayAboveZeroAndSayWhatTheyHold) {
    const std::string wide = (dir_ / "wide.s2p").string();
    ASSERT_EQ(Invoke({"--f0", "1500", "--bw", "30", "--sections", "4", "--touchstone", wide,
                      "--span-bandwidths", "101"})
                  .status,
              0);
    const auto rows = TouchstoneData(wide);
    ASSERT_EQ(rows.size(), static_cast<size_t>(kDefaultTouchstonePoints));
    EXPECT_GT(rows.front()[0], 0.0) << "clipped at the low end";
    EXPECT_EQ(rows.back()[0], 1500.0 + 50.5 * 30.0) << "the high end stays";
    for (size_t k = 1; k < rows.size(); ++k) ASSERT_GT(rows[k][0], rows[k - 1][0]);

    const std::string chosen = (dir_ / "chosen.s2p").string();
    ASSERT_EQ(Invoke({"--f0", "2400", "--bw", "40", "--touchstone", chosen, "--from", "2300", "--to", "2500",
                      "--points", "201"})
                  .status,
              0);
    std::string comments;
    const auto range = TouchstoneData(chosen, &comments);
    ASSERT_EQ(range.size(), 201u);
    EXPECT_EQ(range.front()[0], 2300.0);
    EXPECT_EQ(range[1][0], 2301.0);
    EXPECT_EQ(range.back()[0], 2500.0);
    EXPECT_NE(comments.find("3DR25-2400/U40"), std::string::npos) << comments;
    EXPECT_NE(comments.find("Model valid from 2280 to 2520 MHz"), std::string::npos) << comments;
    EXPECT_NE(comments.find("this part: 30 dBc"), std::string::npos) << comments;
}

// A measured file: the part's own export, written by the companion.
std::string MeasuredModelFile(const std::string& name) {
    const std::string path = (std::filesystem::temp_directory_path() / name).string();
    const CliRun wrote = Invoke({"--f0", "1500", "--bw", "30", "--sections", "4", "--touchstone", path});
    EXPECT_EQ(wrote.status, 0) << wrote.err;
    return path;
}

TEST(CliCompare, JsonHasThePointsAndTheSummaryTriples) {
    const std::string path = MeasuredModelFile("veltrix_cli_compare.s2p");
    const CliRun run = Invoke({"compare", "--measured", path, "--f0", "1500", "--bw", "30", "--sections", "4",
                               "--f1", "1420", "--requirement", "1580", "--format", "json"});
    ASSERT_EQ(run.status, 0) << run.err;
    const JsonValue j = ParseOrFail(run.out);
    EXPECT_EQ(j["part_number"], "4DR25-1500/U30 - 1.8");
    ASSERT_EQ(j["points"].size(), 601u);
    for (const auto& p : j["points"]) {
        for (const char* side : {"model", "measured"})
            for (const char* key : {"attenuation_db", "return_loss_db", "delay_ns"})
                EXPECT_TRUE(p[side][key].is_number()) << side << " " << key;
    }
    for (const char* key : {"insertion_loss_db", "lower_edge_db", "upper_edge_db", "stopband_f1_db",
                            "requirement_1_db", "passband_largest_deviation_db", "centre_frequency_mhz"}) {
        const auto& entry = j["summary"][key];
        ASSERT_TRUE(entry.is_object()) << key;
        EXPECT_NEAR(entry["measured"].get<double>() - entry["model"].get<double>(),
                    entry["deviation"].get<double>(), 1e-9);
        EXPECT_LT(std::abs(entry["deviation"].get<double>()), 0.01) << key;
    }
    // A point the file does not reach has no entry rather than an extrapolated one.
    const CliRun outside = Invoke({"compare", "--measured", path, "--f0", "1500", "--bw", "30", "--sections",
                                   "4", "--f1", "1400", "--format", "json"});
    EXPECT_FALSE(ParseOrFail(outside.out)["summary"].contains("stopband_f1_db"));
    std::filesystem::remove(path);
}

TEST(CliCompare, TextListsPointsAndDeviations) {
    const std::string path = MeasuredModelFile("veltrix_cli_compare_text.s2p");
    const CliRun run =
        Invoke({"compare", "--measured", path, "--f0", "1500", "--bw", "30", "--sections", "4"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("Part number: 4DR25-1500/U30 - 1.8"), std::string::npos);
    EXPECT_NE(run.out.find("Insertion loss at 1500.000 MHz: model 2.813, measured 2.813"), std::string::npos)
        << run.out;
    std::filesystem::remove(path);
}

TEST(CliCompare, MalformedFileIsAUsageErrorNamingTheLine) {
    const std::string path = (std::filesystem::temp_directory_path() / "veltrix_cli_bad.s2p").string();
    std::ofstream(path) << "# MHz S DB R 50\n1500 0 0 0 0 0 0 0 0\n1501 0 0 0 oops 0 0 0 0\n";
    const CliRun run = Invoke({"compare", "--measured", path});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.err, "veltrix-cli: compare: " + path + ":3: bad number 'oops'\n");
    EXPECT_TRUE(run.out.empty());
    std::filesystem::remove(path);
}

TEST(CliCompare, RefusedEntryExitsOneWithItsReason) {
    const std::string path = MeasuredModelFile("veltrix_cli_compare_refused.s2p");
    const CliRun run = Invoke({"compare", "--measured", path, "--f0", "20000"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.rfind("veltrix-cli: compare: No standard part for last inputs.", 0), 0u) << run.err;
    std::filesystem::remove(path);
}

TEST(CliCompare, SampleIsJudgedAgainstTheLevelsAndMissingExitsThree) {
    const std::string path = MeasuredModelFile("veltrix_cli_compare_judged.s2p");
    const std::vector<std::string> part{"compare", "--measured", path,         "--f0", "1500",
                                        "--bw",    "30",         "--sections", "4",    "--format"};
    const auto run = [&](std::vector<std::string> extra) {
        std::vector<std::string> args = part;
        args.push_back("json");
        args.insert(args.end(), extra.begin(), extra.end());
        return Invoke(args);
    };
    // The sample's own figures, from the comparison's absolute losses: dBc at 1420 MHz is its loss
    // there less its loss at F0.
    const JsonValue plain = ParseOrFail(run({"--requirement", "1420"}).out);
    const double loss = plain["summary"]["insertion_loss_db"]["measured"].get<double>();
    const double dbc = plain["summary"]["requirement_1_db"]["measured"].get<double>() - loss;
    EXPECT_TRUE(plain["requirement"]["points"].empty()) << "--requirement is a point without a level";
    const auto fixed = [](double v, int places) {
        char text[32];
        std::snprintf(text, sizeof text, "%.*f", places, v);
        return std::string(text);
    };
    struct Case {
        std::vector<std::string> extra;
        int status;
        std::string verdictStart;
    };
    const std::string meets = "The sample meets the requirement.";
    const std::string misses = "The sample misses the requirement: ";
    const Case cases[] = {
        {{"--reject", "1420:" + fixed(dbc - 0.5, 2)}, 0, meets},
        {{"--reject", "1420:" + fixed(dbc + 0.5, 2)},
         3,
         misses + "1420.00 MHz, " + fixed(dbc, 2) + " dBc against "},
        {{"--max-il", fixed(loss + 0.1, 2)}, 0, meets},
        {{"--max-il", fixed(loss - 0.1, 2)}, 3, misses + "insertion loss " + fixed(loss, 2) + " dB against "},
        {{"--reject", "1420:1", "--reject", "1580:1", "--max-il", "9"}, 0, meets},
        {{"--reject", "1600:1"}, 3, misses + "1600.00 MHz not measured"},
    };
    for (const Case& c : cases) {
        const CliRun judged = run(c.extra);
        EXPECT_EQ(judged.status, c.status) << c.extra[1] << judged.err;
        const JsonValue j = ParseOrFail(judged.out);
        EXPECT_EQ(j["verdict"].get<std::string>().rfind(c.verdictStart, 0), 0u) << j["verdict"];
        EXPECT_EQ(j["meets"].get<bool>(), c.status == 0);
        for (const auto& point : j["requirement"]["points"]) {
            if (point["measured_dbc"].is_null()) {  // beyond the file: no figure, and a miss
                EXPECT_FALSE(point["pass"].get<bool>());
                continue;
            }
            for (const char* key : {"frequency_mhz", "measured_dbc", "required_dbc", "margin_db"})
                EXPECT_TRUE(point[key].is_number()) << key;
            EXPECT_NEAR(point["margin_db"].get<double>(),
                        point["measured_dbc"].get<double>() - point["required_dbc"].get<double>(), 1e-12);
            EXPECT_EQ(point["pass"].get<bool>(), point["margin_db"].get<double>() >= 0.0);
        }
        const auto& band = j["passband"];
        for (const char* key : {"lower_edge_mhz", "upper_edge_mhz", "bandwidth_mhz", "centre_mhz",
                                "shift_mhz", "highest_loss_db", "flatness_db"})
            EXPECT_TRUE(band[key].is_number()) << key;
        EXPECT_NEAR(band["bandwidth_mhz"].get<double>(),
                    band["upper_edge_mhz"].get<double>() - band["lower_edge_mhz"].get<double>(), 1e-9);
        // The model against itself: its own band, where it was designed.
        EXPECT_NEAR(band["shift_mhz"].get<double>(), 0.0, 0.05);
    }
    const CliRun text = Invoke({"compare", "--measured", path, "--f0", "1500", "--bw", "30", "--sections",
                                "4", "--reject", "1420:" + fixed(dbc + 0.5, 2)});
    EXPECT_EQ(text.status, 3);
    EXPECT_NE(text.out.find("\n" + misses + "1420.00 MHz"), std::string::npos) << text.out;
    EXPECT_NE(text.out.find("At 1420.00 MHz: " + fixed(dbc, 2) + " dBc, "), std::string::npos) << text.out;
    // Levels are read as strictly as the finder reads them.
    for (const char* bad : {"1420", "1420:", ":20", "1420:2e1", "0:20", "1420:20:1"})
        EXPECT_EQ(run({"--reject", bad}).status, kExitUsage) << bad;
    std::filesystem::remove(path);
}

TEST(CliCompare, MeasuredIsRequiredAndHelpIsItsOwn) {
    EXPECT_EQ(Invoke({"compare"}).status, 2);
    EXPECT_EQ(Invoke({"compare"}).err,
              "veltrix-cli: compare: --measured is required (the measured Touchstone file)\n");
    const CliRun help = Invoke({"compare", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out, CompareUsageText());
    EXPECT_NE(Invoke({"--help"}).out.find("veltrix-cli compare --measured FILE"), std::string::npos);
}

}  // namespace
}  // namespace veltrix
