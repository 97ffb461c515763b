#include "datasheet/datasheet_content.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "cli/paint_results.h"
#include "engine/choices.h"
#include "engine/response.h"
#include "engine/selection.h"
#include "exports/exports.h"

namespace veltrix {
namespace {

TEST(DatasheetPaper, LetterWhereTheLocalesTerritoryUsesIt) {
    const struct {
        const char* name;
        Paper paper;
    } cases[] = {
        {"en_US.UTF-8", Paper::Letter}, {"en_CA", Paper::Letter},       {"fr_CA.UTF-8", Paper::Letter},
        {"es_MX.UTF-8", Paper::Letter}, {"en_PH.UTF-8", Paper::Letter}, {"de_DE.UTF-8", Paper::A4},
        {"en_GB.UTF-8", Paper::A4},     {"fr_FR@euro", Paper::A4},      {"C", Paper::A4},
        {"C.UTF-8", Paper::A4},         {"POSIX", Paper::A4},           {"", Paper::A4},
    };
    for (const auto& c : cases) EXPECT_EQ(PaperForLocaleName(c.name), c.paper) << c.name;
    EXPECT_EQ(PaperForDimensions(216, 279), Paper::Letter);
    EXPECT_EQ(PaperForDimensions(210, 297), Paper::A4);
}

// The environment's locale variables for one case, restored afterwards.
class LocaleEnvironment {
  public:
    LocaleEnvironment(const char* all, const char* paper, const char* lang) {
        Set("LC_ALL", all);
        Set("LC_PAPER", paper);
        Set("LANG", lang);
    }
    ~LocaleEnvironment() {
        for (const auto& [name, value] : saved_) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
    }

  private:
    void Set(const char* name, const char* value) {
        const char* old = std::getenv(name);
        saved_.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    std::vector<std::pair<const char*, std::optional<std::string>>> saved_;
};

TEST(DatasheetPaper, LcAllThenLcPaperThenLangDecide) {
    {
        LocaleEnvironment env(nullptr, "en_US.UTF-8", "de_DE.UTF-8");
        EXPECT_EQ(LocalePaper(), Paper::Letter);
    }
    {
        LocaleEnvironment env("de_DE.UTF-8", "en_US.UTF-8", nullptr);
        EXPECT_EQ(LocalePaper(), Paper::A4) << "LC_ALL overrides LC_PAPER";
    }
    {
        LocaleEnvironment env("", "", "en_CA.UTF-8");
        EXPECT_EQ(LocalePaper(), Paper::Letter) << "empty variables are not set";
    }
    {
        LocaleEnvironment env(nullptr, nullptr, nullptr);
        EXPECT_EQ(LocalePaper(), Paper::A4);
    }
    {
        // An installed locale answers with its own LC_PAPER.
        LocaleEnvironment env(nullptr, "C.UTF-8", nullptr);
        EXPECT_EQ(LocalePaper(), Paper::A4);
    }
}

class DatasheetContentTest : public ::testing::Test {
  protected:
    void SetUp() override { SetMachineEpsilon(ComputeMachineEpsilon()); }
};

TEST_F(DatasheetContentTest, TheFiguresAreTheCompanions) {
    FilterSpec part;
    part.F1 = 950.0;
    part.F2 = 1060.0;
    const DatasheetContent sheet = ComposeDatasheet(part);
    ASSERT_TRUE(sheet.Standard) << sheet.Refusal;
    const PaintResults companion = ComputePaint(part);
    EXPECT_EQ(sheet.PartNumber, companion.Selection.Outcome.PartNumber);
    EXPECT_EQ(sheet.PartNumber, "3DR25-1000/U20 - 1.8");
    EXPECT_EQ(sheet.InsertionLoss, InsertionLossLabel(companion.Selection.Outcome));
    EXPECT_EQ(sheet.Report, companion.Report);
    EXPECT_EQ(sheet.Guarantee, companion.Selection.Guarantee);
    ASSERT_TRUE(sheet.OutlineInches && companion.Outline);
    EXPECT_EQ(sheet.OutlineInches->dimensions, companion.Outline->dimensions);
    ASSERT_TRUE(sheet.OutlineMillimetres);
    EXPECT_EQ(sheet.OutlineMillimetres->dimensions, OutlineFor(companion.Spec, 'M')->dimensions);
    // The graph draws the screen's sweep, not the span the report leaves behind.
    EXPECT_EQ(sheet.Graph.SweepStart, companion.Sweep.Start);
    EXPECT_EQ(static_cast<int>(sheet.Graph.SweepCount), companion.Sweep.Count);
    EXPECT_EQ(sheet.Graph.SweepAtten[1], companion.Sweep.AttenuationDb[0]);

    ASSERT_EQ(sheet.Entries.size(), 6u);
    EXPECT_EQ(sheet.Entries[0].Value, "1000.0 MHz");
    EXPECT_EQ(sheet.Entries[1].Value, "20.00 MHz at the 1.0 dB points");
    EXPECT_EQ(sheet.Entries[2].Value, "3");
    EXPECT_EQ(sheet.Entries[3].Value, "4 mm");
    EXPECT_EQ(sheet.Entries[4].Value, "DR 37");
    EXPECT_EQ(sheet.Entries[5].Value, "Orbis Leadless");
    ASSERT_EQ(sheet.Stopbands.size(), 2u);
    EXPECT_EQ(sheet.Stopbands[0].Frequency, "950.00 MHz");
    char computed[32];
    std::snprintf(computed, sizeof computed, "%.1f dBc", companion.Selection.F1Attenuation);
    EXPECT_EQ(sheet.Stopbands[0].Computed, computed);
    EXPECT_EQ(sheet.Stopbands[0].Guaranteed, computed) << "below the guarantee, the computed figure";
}

TEST_F(DatasheetContentTest, GuaranteedAttenuationStopsAtTheMakersLimit) {
    const struct {
        double f0, bw, f1;
        const char* guaranteed;
    } cases[] = {{1000.0, 20.0, 700.0, "60.0 dBc"}, {2400.0, 40.0, 1800.0, "30.0 dBc"}};
    for (const auto& c : cases) {
        FilterSpec part;
        part.F0 = part.LastF0 = c.f0;
        part.BW = part.BWRequested = c.bw;
        part.F1 = c.f1;
        const DatasheetContent sheet = ComposeDatasheet(part);
        ASSERT_TRUE(sheet.Standard) << sheet.Refusal;
        ASSERT_EQ(sheet.Stopbands.size(), 1u);
        EXPECT_EQ(sheet.Stopbands[0].Guaranteed, c.guaranteed) << c.f0;
        EXPECT_NE(sheet.Stopbands[0].Computed, c.guaranteed) << "the computed figure lies beyond it";
        EXPECT_FALSE(sheet.Guarantee.empty()) << "the screen's notice comes with it";
    }
}

TEST_F(DatasheetContentTest, ARefusedEntryHasNoDatasheetOnlyItsReason) {
    FilterSpec part;
    part.Dielectric = CodeOf(DielectricMaterial::DL);
    part.Mounting = CodeOf(MountingStyle::DropIn);
    const DatasheetContent sheet = ComposeDatasheet(part);
    EXPECT_FALSE(sheet.Standard);
    EXPECT_EQ(sheet.Refusal, ComputeResponseTable(part).Refusal);
    EXPECT_EQ(sheet.Refusal.rfind("No standard part for last inputs. ", 0), 0u) << sheet.Refusal;
    EXPECT_TRUE(sheet.PartNumber.empty());
    EXPECT_TRUE(sheet.Report.empty());
}

}  // namespace
}  // namespace veltrix
