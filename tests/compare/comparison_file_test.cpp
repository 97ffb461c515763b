#include "compare/comparison_file.h"

#include <gtest/gtest.h>

#include <string>

#include "compare/compare.h"
#include "exports/exports.h"

using namespace veltrix;

namespace {

// 1500 MHz, 30 MHz at 1.0 dB, at least 40 dBc at 1400 MHz and 35 dBc at 1620 MHz.
FinderRequirement Example() {
    FinderRequirement r;
    r.F0 = 1500.0;
    r.BW = 30.0;
    r.PassbandIndex = 1;
    r.Stopbands = {{1400.0, 40.0}, {1620.0, 35.0}};
    return r;
}

SavedComparison ThreeParts() {
    const FinderRequirement r = Example();
    const FinderResults found = FindParts(r);
    SavedComparison saved;
    saved.Requirement = r.Stopbands;
    for (size_t i = 0; i < 3 && i < found.Parts.size(); ++i) {
        const FoundPart& p = found.Parts[i];
        saved.Parts.push_back(FinderSpec(r, p.Sections, p.Profile, p.Dielectric, p.Mounting));
    }
    saved.MeasuredPath = "/data/bench 2/dut.s2p";
    return saved;
}

TEST(ComparisonFile, KeepsTheRequirementThePartsAndTheMeasuredPath) {
    const SavedComparison saved = ThreeParts();
    ASSERT_EQ(saved.Parts.size(), 3u);
    const std::string text = ComparisonFileText(saved);
    const ComparisonFileRead read = ReadComparisonFileText(text);
    ASSERT_TRUE(read.Ok) << read.Problem;
    ASSERT_EQ(read.Comparison.Requirement.size(), 2u);
    for (size_t k = 0; k < 2; ++k) {
        EXPECT_EQ(read.Comparison.Requirement[k].FrequencyMhz, saved.Requirement[k].FrequencyMhz);
        EXPECT_EQ(read.Comparison.Requirement[k].MinAttenuationDbc, saved.Requirement[k].MinAttenuationDbc);
    }
    ASSERT_EQ(read.Comparison.Parts.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        const std::string number = ComputeResponseTable(saved.Parts[i], {2, 1.0}).PartNumber;
        EXPECT_EQ(ComputeResponseTable(read.Comparison.Parts[i], {2, 1.0}).PartNumber, number);
        // Kept by its part number, without the program's revision.
        const std::string kept = number.substr(0, number.find(" - "));
        EXPECT_NE(kept, number);
        EXPECT_NE(text.find("\"" + kept + "\""), std::string::npos) << number;
    }
    EXPECT_EQ(read.Comparison.MeasuredPath, saved.MeasuredPath);
    // Written again, the same file.
    EXPECT_EQ(ComparisonFileText(read.Comparison), text);

    SavedComparison bare = saved;
    bare.MeasuredPath.clear();
    const ComparisonFileRead again = ReadComparisonFileText(ComparisonFileText(bare));
    ASSERT_TRUE(again.Ok) << again.Problem;
    EXPECT_EQ(again.Comparison.MeasuredPath, "");
}

TEST(ComparisonFile, KeepsTheWholeRequirementItWasOpenedWith) {
    SavedComparison saved = ThreeParts();
    FinderRequirement opened = Example();
    opened.PassbandIndex = 2;
    opened.MaxInsertionLossDb = 2.5;
    saved.Opened = opened;
    const ComparisonFileRead read = ReadComparisonFileText(ComparisonFileText(saved));
    ASSERT_TRUE(read.Ok) << read.Problem;
    ASSERT_TRUE(read.Comparison.Opened.has_value());
    const FinderRequirement& back = *read.Comparison.Opened;
    EXPECT_EQ(back.F0, 1500.0);
    EXPECT_EQ(back.BW, 30.0);
    EXPECT_EQ(back.PassbandIndex, 2);
    EXPECT_EQ(back.MaxInsertionLossDb, std::optional<double>(2.5));
    ASSERT_EQ(back.Stopbands.size(), 2u);
    EXPECT_EQ(back.Stopbands[1].FrequencyMhz, 1620.0);
    EXPECT_EQ(back.Stopbands[1].MinAttenuationDbc, 35.0);

    // Without a highest loss, none comes back; a file of stopbands alone opens none.
    saved.Opened->MaxInsertionLossDb.reset();
    const ComparisonFileRead unbounded = ReadComparisonFileText(ComparisonFileText(saved));
    ASSERT_TRUE(unbounded.Ok) << unbounded.Problem;
    EXPECT_FALSE(unbounded.Comparison.Opened->MaxInsertionLossDb.has_value());
    EXPECT_FALSE(ReadComparisonFileText(ComparisonFileText(ThreeParts())).Comparison.Opened.has_value());
}

// The saved text with one thing replaced.
std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST(ComparisonFile, AMalformedOrUnknownFileSaysWhatIsWrong) {
    const std::string good = ComparisonFileText(ThreeParts());
    const std::string revised = ComputeResponseTable(ThreeParts().Parts[0], {2, 1.0}).PartNumber;
    const std::string number = revised.substr(0, revised.find(" - "));
    struct Case {
        std::string name;
        std::string text;
        std::string problem;  // a part of the message
    };
    const Case cases[] = {
        {"empty", "", "not JSON"},
        {"cut short", good.substr(0, good.size() / 2), "not JSON"},
        {"a list", "[1, 2]", "not a saved comparison"},
        {"another program's JSON", R"({"name": "x"})", "not a saved comparison"},
        {"a later version", Replaced(good, "\"version\": 1", "\"version\": 2"), "version 2"},
        {"version as text", Replaced(good, "\"version\": 1", "\"version\": \"1\""),
         "version is not a number"},
        {"no parts", Replaced(good, "\"parts\"", "\"pieces\""), "no \"parts\""},
        {"parts not a list", Replaced(good, "\"parts\": [", "\"parts\": 3, \"x\": ["),
         "\"parts\" is not a list"},
        {"negative level", Replaced(good, "\"min_dbc\": 40.0", "\"min_dbc\": -40.0"),
         "requirement point 1: \"min_dbc\" is not a positive number"},
        {"unknown dielectric", Replaced(good, "\"dielectric\": \"", "\"dielectric\": \"X"),
         "part 1: \"dielectric\""},
        {"no sections", Replaced(good, "\"sections\"", "\"section\""), "part 1 has no \"sections\""},
        {"fractional sections", Replaced(good, "\"sections\": ", "\"sections\": 0.5, \"s\": "),
         "part 1: \"sections\" is not a number of sections"},
        {"part number that the figures do not give", Replaced(good, "\"" + number + "\"", "\"9XY99-1/Z1\""),
         "part 1 is kept as 9XY99-1/Z1 but its figures give " + number},
        {"measured file not a path",
         Replaced(good, "\"measured_file\": \"", "\"measured_file\": 3, \"m\": \""),
         "\"measured_file\" is not a path"},
    };
    // A file written by another revision of the program is read.
    const ComparisonFileRead revision =
        ReadComparisonFileText(Replaced(good, number + "\"", number + " - 9.9\""));
    EXPECT_TRUE(revision.Ok) << revision.Problem;
    for (const Case& c : cases) {
        const ComparisonFileRead read = ReadComparisonFileText(c.text);
        EXPECT_FALSE(read.Ok) << c.name;
        EXPECT_NE(read.Problem.find(c.problem), std::string::npos) << c.name << ": " << read.Problem;
    }
}

TEST(ComparisonFile, MoreThanSixPartsAreRefused) {
    const FinderRequirement r = Example();
    const FinderResults found = FindParts(r);
    ASSERT_GT(found.Parts.size(), 6u);
    SavedComparison saved;
    for (size_t i = 0; i < 7; ++i) {
        const FoundPart& p = found.Parts[i];
        saved.Parts.push_back(FinderSpec(r, p.Sections, p.Profile, p.Dielectric, p.Mounting));
    }
    const ComparisonFileRead read = ReadComparisonFileText(ComparisonFileText(saved));
    EXPECT_FALSE(read.Ok);
    EXPECT_NE(read.Problem.find("at most 6"), std::string::npos) << read.Problem;
}

}  // namespace
