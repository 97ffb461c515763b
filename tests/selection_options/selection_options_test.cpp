#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "selection_options/selection_options.h"

namespace veltrix {
namespace {

TEST(DatasheetArguments, ReadTheSelectionAndTheRequirement) {
    const SelectionParse parsed =
        ParseDatasheetArguments({"--f0", "1500", "--bw=30", "--sections", "4", "--reject", "1400:35",
                                 "--reject=1620.5:40", "--max-il", "2.5"});
    ASSERT_TRUE(parsed.Ok) << parsed.Error;
    EXPECT_EQ(parsed.Options.Spec.F0, 1500.0);
    EXPECT_EQ(parsed.Options.Spec.BW, 30.0);
    EXPECT_EQ(parsed.Options.Spec.Sections, 4);
    ASSERT_EQ(parsed.Options.RejectPoints.size(), 2u);
    EXPECT_EQ(parsed.Options.RejectPoints[1].FrequencyMhz, 1620.5);
    EXPECT_EQ(parsed.Options.RejectPoints[1].MinAttenuationDbc, 40.0);
    ASSERT_TRUE(parsed.Options.MaxInsertionLossDb.has_value());
    EXPECT_EQ(*parsed.Options.MaxInsertionLossDb, 2.5);
}

TEST(DatasheetArguments, NoRequirementWithoutItsOptions) {
    const SelectionParse parsed = ParseDatasheetArguments({"--f0", "900"});
    ASSERT_TRUE(parsed.Ok) << parsed.Error;
    EXPECT_TRUE(parsed.Options.RejectPoints.empty());
    EXPECT_FALSE(parsed.Options.MaxInsertionLossDb.has_value());
}

struct Refused {
    std::vector<std::string> args;
    std::string error;  // exactly, as the program prints it after "veltrix: --datasheet: "
};

class RefusedDatasheetArguments : public ::testing::TestWithParam<Refused> {};

TEST_P(RefusedDatasheetArguments, SayWhichOptionAndWhatItAccepts) {
    const SelectionParse parsed = ParseDatasheetArguments(GetParam().args);
    EXPECT_FALSE(parsed.Ok);
    EXPECT_EQ(parsed.Error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedDatasheetArguments,
    ::testing::Values(
        Refused{{"--reject", "1400"},
                "--reject: invalid value '1400' (accepted: MHZ:DBC, a frequency above 0 and a minimum "
                "attenuation)"},
        Refused{{"--reject", "0:30"},
                "--reject: invalid value '0:30' (accepted: MHZ:DBC, a frequency above 0 and a minimum "
                "attenuation)"},
        Refused{{"--max-il", "1e1"}, "--max-il: invalid value '1e1' (accepted: a decimal number in dB)"},
        Refused{{"--max-il", "1", "--max-il", "2"}, "--max-il is given more than once"},
        Refused{{"--f0"}, "--f0 needs a value (accepted: a decimal number in MHz, such as 1500 or 1500.25)"},
        // The companion's own options are not the datasheet's.
        Refused{{"--format", "json"},
                "unknown option '--format' (accepted options: --f0, --bw, --f1, --f2, --pbd, --sections, "
                "--profile, --dielectric, --mounting, --graph-width, --max-il, --reject)"},
        Refused{{"--f0", "1000", "extra"},
                "unexpected argument 'extra' (accepted options: --f0, --bw, --f1, --f2, --pbd, --sections, "
                "--profile, --dielectric, --mounting, --graph-width, --max-il, --reject)"}));

}  // namespace
}  // namespace veltrix
