#include "datasheet_content/datasheet_content.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "engine/choices.h"
#include "engine/response.h"
#include "engine/selection.h"
#include "engine/worst_case.h"
#include "exports/exports.h"
#include "judgement/judgement.h"

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

// A selection as the entries would hold it after typing these figures.
FilterSpec PartOf(double f0, double bw, int sections) {
    FilterSpec part;
    part.F0 = part.LastF0 = f0;
    part.BW = part.BWRequested = bw;
    part.Sections = part.LastSections = sections;
    return part;
}

TEST_F(DatasheetContentTest, TheFiguresAreTheCompanions) {
    FilterSpec part;
    part.F1 = 950.0;
    part.F2 = 1060.0;
    const DatasheetContent sheet = ComposeDatasheet(part);
    ASSERT_TRUE(sheet.Standard) << sheet.Refusal;
    const JudgedSelection companion = JudgeSelection(part);
    EXPECT_EQ(sheet.PartNumber, companion.Selection.Outcome.PartNumber);
    EXPECT_EQ(sheet.PartNumber, "3DR25-1000/U20 - 1.8");
    EXPECT_EQ(sheet.InsertionLoss, InsertionLossLabel(companion.Selection.Outcome));
    EXPECT_EQ(sheet.Report, companion.Report);
    EXPECT_EQ(sheet.Guarantee, companion.Selection.Guarantee);
    ASSERT_TRUE(sheet.OutlineInches && companion.Outline);
    EXPECT_EQ(sheet.OutlineInches->dimensions, companion.Outline->dimensions);
    ASSERT_TRUE(sheet.OutlineMillimetres);
    EXPECT_EQ(sheet.OutlineMillimetres->dimensions,
              OutlineFor(companion.Spec, DrawingUnits::Millimetres)->dimensions);
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
    part.Dielectric = DielectricMaterial::DL;
    part.Mounting = MountingStyle::DropIn;
    const DatasheetContent sheet = ComposeDatasheet(part);
    EXPECT_FALSE(sheet.Standard);
    EXPECT_EQ(sheet.Refusal, ComputeResponseTable(part).Refusal);
    EXPECT_EQ(sheet.Refusal.rfind("No standard part for last inputs. ", 0), 0u) << sheet.Refusal;
    EXPECT_TRUE(sheet.PartNumber.empty());
    EXPECT_TRUE(sheet.Report.empty());
}

// The electrical table's figures are the engine's, and the worst case follows from them by the stated
// tolerances; the figures the sweep gives are read at the points the report lists.
TEST_F(DatasheetContentTest, ElectricalTableIsTheEnginesFiguresAndTheirWorstCase) {
    const struct {
        double f0, bw, f1, f2;
        int sections;
    } cases[] = {
        {1000.0, 20.0, 950.0, 1060.0, 3}, {2400.0, 80.0, 2200.0, 2650.0, 5}, {900.0, 20.0, 860.0, 700.0, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.f0);
        FilterSpec part = PartOf(c.f0, c.bw, c.sections);
        part.F1 = c.f1;
        part.F2 = c.f2;
        const DatasheetContent sheet = ComposeDatasheet(part);
        ASSERT_TRUE(sheet.Standard) << sheet.Refusal;
        const JudgedSelection companion = JudgeSelection(part);
        const auto row = [&sheet](const std::string& start) -> const DatasheetFigure& {
            for (const DatasheetFigure& figure : sheet.Electrical)
                if (figure.Parameter.rfind(start, 0) == 0) return figure;
            ADD_FAILURE() << "no row " << start;
            static const DatasheetFigure none;
            return none;
        };
        const auto fixed = [](double value, int decimals) {
            char text[64];
            std::snprintf(text, sizeof text, "%.*f", decimals, value);
            return std::string(text);
        };
        const double loss = companion.Selection.Outcome.FoLoss;
        EXPECT_EQ(row("Insertion loss at F0").Typical, fixed(loss, 2));
        EXPECT_EQ(row("Insertion loss at F0").WorstCase, fixed(loss * 1.1, 2));
        const double guarantee = c.f0 < 2000.0 ? 60.0 : 30.0;
        const double points[] = {companion.Selection.F1Attenuation, companion.Selection.F2Attenuation};
        const char* names[] = {"Attenuation at F1", "Attenuation at F2"};
        for (int i = 0; i < 2; ++i) {
            EXPECT_EQ(row(names[i]).Typical, fixed(points[i], 1));
            EXPECT_EQ(row(names[i]).WorstCase, fixed(std::min(points[i] * 0.9, guarantee), 1));
            EXPECT_EQ(row(names[i]).Unit, "dBc");
        }
        // The sweep: the lowest return loss between the band edges, the delay at the centre point.
        double lowest = 1e9;
        const SweepSnapshot& sweep = companion.Sweep;
        for (int k = 0; k < sweep.Count; ++k) {
            const double f = sweep.Start + k * sweep.Step;
            if (std::fabs(f - c.f0) <= c.bw / 2) lowest = std::min(lowest, sweep.ReturnLossDb[size_t(k)]);
        }
        EXPECT_EQ(row("Return loss").Typical, fixed(lowest, 1));
        ASSERT_EQ(sweep.Start + 30 * sweep.Step, c.f0);
        EXPECT_EQ(row("Group delay at F0").Typical, fixed(sweep.DelayNs[30], 2));
        const double reflection = std::pow(10.0, -lowest / 20.0);
        const double vswr = (1 + reflection) / (1 - reflection);
        EXPECT_EQ(row("VSWR").Typical, fixed(vswr, 2) + " : 1");
        // The product line's maximum is no worst case for a part the engine finds above it.
        EXPECT_EQ(row("VSWR").WorstCase, vswr <= 2.0 ? "2.0 : 1" : "");
        if (vswr > 2.0) {
            EXPECT_NE(row("VSWR").Basis.find("above the 2.0 : 1 maximum"), std::string::npos);
        }
        ResponseData rd;
        FilterSpec judged = part;
        ComputeSelection(judged, rd);
        EXPECT_EQ(row("3 dB bandwidth").Typical, fixed(rd.BW3Ratio * c.bw, 2));
        EXPECT_EQ(row("3 dB bandwidth").WorstCase,
                  fixed(rd.BW3Ratio * c.bw * 1.1, 2) + " to " + fixed(rd.BW3Ratio * c.bw * 1.2, 2));
        EXPECT_EQ(row("Centre frequency").Typical, fixed(c.f0, 1));
    }
}

// The requirement judged by the worst case: the screen's computed figure at each point, 0.9 of it at
// most the guarantee, against the level; the loss x1.1 against the highest allowed.
TEST_F(DatasheetContentTest, RequirementRowsJudgeTheWorstCaseAgainstEachLevel) {
    const struct {
        double f0, bw;
        int sections;
        std::optional<double> maxLoss;
        std::vector<StopbandRequirement> points;
    } cases[] = {
        {1000.0, 25.0, 3, 3.0, {{960.0, 20.0}, {1040.0, 18.0}, {1100.0, 40.0}}},
        {2400.0, 80.0, 5, 1.0, {{2250.0, 45.0}, {2550.0, 25.0}}},  // the 30 dBc guarantee caps 2250
        {900.0, 20.0, 3, 2.5, {}},
        {900.0, 20.0, 3, std::nullopt, {{860.0, 10.0}}},
    };
    const auto fixed = [](const char* format, double value) {
        char text[64];
        std::snprintf(text, sizeof text, format, value);
        return std::string(text);
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.f0);
        FilterSpec part = PartOf(c.f0, c.bw, c.sections);
        FinderRequirement requirement;
        requirement.F0 = c.f0;
        requirement.BW = c.bw;
        requirement.MaxInsertionLossDb = c.maxLoss;
        requirement.Stopbands = c.points;
        EXPECT_TRUE(ComposeDatasheet(part).Requirement.empty()) << "no requirement, no table";
        const DatasheetContent sheet = ComposeDatasheet(part, requirement);
        ASSERT_TRUE(sheet.Standard) << sheet.Refusal;
        ASSERT_EQ(sheet.Requirement.size(), c.points.size() + (c.maxLoss ? 1u : 0u));
        size_t row = 0;
        if (c.maxLoss) {
            const double loss = JudgeSelection(part).Selection.Outcome.FoLoss;
            const RequirementCheck& il = sheet.Requirement[row++];
            EXPECT_EQ(il.Quantity, "Insertion loss at F0");
            EXPECT_EQ(il.Required, fixed("%.2f dB max", *c.maxLoss));
            EXPECT_EQ(il.Typical, fixed("%.2f dB", loss));
            EXPECT_EQ(il.WorstCase, fixed("%.2f dB", loss * 1.1));
            EXPECT_EQ(il.Margin, fixed("%+.2f dB", *c.maxLoss - loss * 1.1));
            EXPECT_EQ(il.Pass, loss * 1.1 <= *c.maxLoss);
            EXPECT_EQ(il.FrequencyMhz, 0.0);
        }
        const double guarantee = c.f0 < 2000.0 ? 60.0 : 30.0;
        for (const StopbandRequirement& point : c.points) {
            SCOPED_TRACE(point.FrequencyMhz);
            // The specification screen's own figure at the point, as its F1.
            FilterSpec screen = part;
            screen.F1 = point.FrequencyMhz;
            const JudgedSelection companion = JudgeSelection(screen);
            ASSERT_TRUE(companion.Selection.F1Computed);
            const double a = companion.Selection.F1Attenuation;
            const double worst = std::min(0.9 * a, guarantee);
            const RequirementCheck& check = sheet.Requirement[row++];
            EXPECT_EQ(check.Quantity, fixed("Attenuation at %.2f MHz", point.FrequencyMhz));
            EXPECT_EQ(check.Required, fixed("%.1f dBc min", point.MinAttenuationDbc));
            EXPECT_EQ(check.Typical, fixed("%.1f dBc", a));
            EXPECT_EQ(check.WorstCase, fixed("%.1f dBc", worst));
            EXPECT_EQ(check.Margin, fixed("%+.1f dB", worst - point.MinAttenuationDbc));
            EXPECT_EQ(check.Pass, worst >= point.MinAttenuationDbc);
            EXPECT_EQ(check.FrequencyMhz, point.FrequencyMhz);
            EXPECT_EQ(check.RequiredLevel, point.MinAttenuationDbc);
        }
    }
    // The first case holds both results, so a table of only passes or only fails would be caught.
    FilterSpec part;
    part.BW = part.BWRequested = 25.0;
    FinderRequirement requirement;
    requirement.Stopbands = {{960.0, 20.0}, {1040.0, 18.0}};
    const DatasheetContent sheet = ComposeDatasheet(part, requirement);
    ASSERT_EQ(sheet.Requirement.size(), 2u);
    EXPECT_FALSE(sheet.Requirement[0].Pass);
    EXPECT_TRUE(sheet.Requirement[1].Pass);
}

TEST_F(DatasheetContentTest, TheKeyToThePartNumberSpellsItOut) {
    const struct {
        int sections;
        char dielectric, mounting, pbd;
        int profile;
        double f0, bw;
    } cases[] = {{3, 'R', '5', 'U', 1, 1000.0, 20.0},
                 {5, 'H', '2', 'H', 2, 2400.0, 80.0},
                 {2, 'L', '4', 'T', 1, 900.5, 12.25},
                 {6, 'R', '1', 'U', 3, 500.0, 10.0}};
    for (const auto& c : cases) {
        FilterSpec spec;
        spec.Sections = c.sections;
        spec.Dielectric = ChoiceFromCode<DielectricMaterial>(c.dielectric).value();
        spec.Mounting = ChoiceFromCode<MountingStyle>(c.mounting).value();
        spec.Passband = ChoiceFromCode<PassbandChoice>(c.pbd).value();
        spec.Profile = ProfileFromNumber(c.profile).value();
        spec.F0 = c.f0;
        spec.BW = c.bw;
        const std::vector<PartNumberField> key = PartNumberKey(spec);
        std::string joined;
        for (const PartNumberField& field : key) {
            joined += field.Separator + field.Text;
            EXPECT_FALSE(field.Meaning.empty());
            if (field.Codes.find(" = ") != std::string::npos) {
                // The part's own code is among the codes the field explains.
                EXPECT_NE(field.Codes.find(field.Text + " = "), std::string::npos) << field.Codes;
            }
        }
        EXPECT_EQ(joined, FormatPartNumber(spec));
    }
    const std::vector<PartNumberField> key = PartNumberKey(FilterSpec{});
    ASSERT_EQ(key.size(), 8u);
    EXPECT_EQ(key[3].Codes,
              "1 = Drop-in, 2 = Surface mount - Pin, 3 = Surface mount - Tab, 4 = Tessel Leadless, 5 = Orbis "
              "Leadless");
    EXPECT_EQ(key[5].Codes, "H = 0.5 dB, U = 1.0 dB, T = 3.0 dB");
    EXPECT_EQ(key[1].Codes, "DL = DL 21.5, DR = DR 37, DH = DH 90");
}

TEST(DatasheetReport, SplitsIntoTitleHeadingRowsAndTail) {
    FilterSpec part;
    part.F1 = 950.0;
    part.F2 = 1060.0;
    SetMachineEpsilon(ComputeMachineEpsilon());
    const JudgedSelection companion = JudgeSelection(part);
    const ReportParts parts = SplitReport(companion.Report);
    EXPECT_EQ(parts.Title.size(), 2u);
    EXPECT_NE(parts.ColumnHeading.find("Frequency"), std::string::npos);
    EXPECT_EQ(parts.Rows.size(), 61u);
    EXPECT_EQ(parts.Rows.front().find("940.00 MHz"), 2u) << parts.Rows.front();
    ASSERT_EQ(parts.Tail.size(), 3u);
    EXPECT_NE(parts.Tail[1].find("F1"), std::string::npos);
}

// Every row once, in order; no page after the first holds fewer than the fewest lines unless the report
// is shorter; no column runs past its lines.
TEST(DatasheetReport, PagesKeepTheTailWithRowsAndRunEveryRowOnce) {
    const struct {
        int rows, tail, linesPerColumn, columns;
    } cases[] = {{61, 3, 72, 2}, {61, 3, 34, 2}, {61, 3, 35, 2}, {61, 3, 36, 2},
                 {61, 3, 20, 2}, {61, 0, 33, 2}, {61, 3, 40, 1}, {61, 3, 70, 3},
                 {61, 3, 23, 3}, {5, 3, 6, 2},   {61, 3, 12, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.rows << " rows, tail " << c.tail << ", " << c.linesPerColumn
                                        << " lines by " << c.columns);
        ReportParts parts;
        parts.Title = {"maker", "title"};
        parts.ColumnHeading = "heading";
        for (int i = 0; i < c.rows; ++i) parts.Rows.push_back(std::to_string(i));
        for (int i = 0; i < c.tail; ++i) parts.Tail.push_back("tail");
        const std::vector<ReportPage> pages = PaginateReport(parts, c.linesPerColumn, c.columns);
        ASSERT_FALSE(pages.empty());
        int next = 0;
        for (size_t p = 0; p < pages.size(); ++p) {
            const ReportPage& page = pages[p];
            EXPECT_EQ(page.FirstRow, next);
            next += page.RowCount;
            EXPECT_EQ(page.Titled, p == 0);
            EXPECT_EQ(page.Tailed, p + 1 == pages.size());
            const int head = 2 + (page.Titled ? 3 : 0);
            const int depth = (page.RowCount + c.columns - 1) / c.columns;
            const int tail = page.Tailed && c.tail > 0 ? c.tail + 1 : 0;
            EXPECT_LE(head + depth + tail, std::max(c.linesPerColumn, head + 1 + tail));
            if (pages.size() > 1 && c.linesPerColumn >= 2 * kFewestReportLines) {
                EXPECT_GE(page.RowCount + (page.Tailed ? c.tail : 0), kFewestReportLines) << "page " << p;
            }
        }
        EXPECT_EQ(next, c.rows);
    }
}

}  // namespace
}  // namespace veltrix
