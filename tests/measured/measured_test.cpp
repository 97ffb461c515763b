#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "exports/exports.h"
#include "measured/comparison.h"
#include "measured/touchstone_reader.h"

namespace veltrix {
namespace {

struct GoodCase {
    const char* name;
    const char* file;
    const char* text;
    int ports;
    double frequencyMhz;   // of the first row
    double attenuationDb;  // of the first row (2-port)
    double returnLossDb;
};

// Every row: |S11| = 0.1 (20 dB return loss); |S21| = 0.5 (6.0206 dB).
const GoodCase kGood[] = {
    {"v11 MHz DB", "a.s2p", "! c\n# MHz S DB R 50\n1000 -20 0 -6.0206 10 -6.0206 10 -40 0\n", 2, 1000, 6.0206,
     20},
    {"v11 GHz MA default", "a.S2P", "# GHz\n1.0 0.1 0 0.5 10 0.5 10 0.1 0\n", 2, 1000, 6.0206, 20},
    {"v11 Hz RI", "a.s2p", "# hz s ri r 50\n1e9 0.1 0 0 0.5 0 0.5 0.1 0\n", 2, 1000, 6.0206, 20},
    {"v11 kHz continued", "a.s2p", "#kHz S MA R 50\n1e6 0.1 0 ! S11\n 0.5 0 0.5 0\n0.1 0\n", 2, 1000, 6.0206,
     20},
    {"v11 one port", "a.s1p", "# MHz S DB R 50\n1000 -20 0\n1001 -20 0\n", 1, 1000, 0, 20},
    {"no option line fields", "a.s2p", "#\n1 0.1 0 0.5 0 0.5 0 0.1 0\n", 2, 1000, 6.0206, 20},
    {"v2 12_21", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Two-Port Data Order] 12_21\n"
     "[Number of Frequencies] 1\n[Reference] 50 50\n[Network Data]\n1000 -20 0 -40 0 -6.0206 0 -20 "
     "0\n[End]\n",
     2, 1000, 6.0206, 20},
    {"v2 21_12 lower case", "a.ts",
     "[version] 2.0\n# mhz s db r 50\n[number of ports] 2\n[two-port data order] 21_12\n"
     "[reference]\n50 50\n[network data]\n1000 -20 0 -6.0206 0 -40 0 -20 0\n[end]\n",
     2, 1000, 6.0206, 20},
    {"v2 one port", "a.ts",
     "[Version] 2.0\n# MHz S MA R 50\n[Number of Ports] 1\n[Network Data]\n1000 0.1 0\n[End]\n", 1, 1000, 0,
     20},
};

TEST(TouchstoneReader, ReadsEveryVersionUnitAndFormat) {
    for (const GoodCase& c : kGood) {
        SCOPED_TRACE(c.name);
        const MeasuredRead read = ParseTouchstone(c.text, c.file);
        ASSERT_TRUE(read.Ok) << read.Problem;
        EXPECT_EQ(read.Trace.Ports, c.ports);
        EXPECT_NEAR(read.Trace.FrequenciesMhz.at(0), c.frequencyMhz, 1e-9);
        EXPECT_NEAR(read.Trace.ReturnLossDb.at(0), c.returnLossDb, 1e-3);
        if (c.ports == 2) {
            EXPECT_NEAR(read.Trace.AttenuationDb.at(0), c.attenuationDb, 1e-3);
        } else {
            EXPECT_TRUE(read.Trace.AttenuationDb.empty());
        }
    }
}

struct BadCase {
    const char* file;
    const char* text;
    const char* problem;
};

const BadCase kBad[] = {
    {"a.s2p", "", "a.s2p:1: no network data"},
    {"a.s2p", "# MHz Y DB R 50\n1 0 0 0 0 0 0 0 0\n",
     "a.s2p:1: only S parameters are supported, not Y parameters"},
    {"a.s2p", "# MHz S DB R 75\n", "a.s2p:1: reference impedance is not 50 ohm"},
    {"a.s3p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n",
     "a.s3p:2: the port count is unknown: name the file .s1p or .s2p"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0\n",
     "a.s2p:3: frequencies are not increasing"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n2 0 0 0 x 0 0 0 0\n", "a.s2p:3: bad number 'x'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 nan 0 0 0 0\n", "a.s2p:2: bad number 'nan'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 inf 0 0 0 0\n", "a.s2p:2: bad number 'inf'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n2 0 0\n0 0\n",
     "a.s2p:4: wrong count of values: the frequency at line 3 has 4 values, 8 expected"},
    {"a.ts", "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 3\n",
     "a.ts:3: only 1- and 2-port files can be compared"},
    {"a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 1\n[Reference] 50\n[Network Data]\n1 0 0\n[Noise "
     "Data]\n",
     "a.ts:7: noise data is not supported"},
    {"a.ts", "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Reference] 50 75\n",
     "a.ts:4: reference impedance is not 50 ohm"},
    {"a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 1\n[Number of Frequencies] 2\n[Network Data]\n1 0 "
     "0\n[End]\n",
     "a.ts:7: [Number of Frequencies] is 2, the data has 1"},
    {"a\x1b[2J.s2p", "", "a\\x1b[2J.s2p:1: no network data"},
};

TEST(TouchstoneReader, RefusesWithFileLineAndReason) {
    for (const BadCase& c : kBad) {
        SCOPED_TRACE(c.text);
        const MeasuredRead read = ParseTouchstone(c.text, c.file);
        EXPECT_FALSE(read.Ok);
        EXPECT_EQ(read.Problem, c.problem);
    }
}

TEST(TouchstoneReader, MissingFileIsRefusedNamingIt) {
    const MeasuredRead read = ReadTouchstoneFile("/nonexistent/x.s2p");
    EXPECT_FALSE(read.Ok);
    EXPECT_EQ(read.Problem.rfind("/nonexistent/x.s2p:0: ", 0), 0u) << read.Problem;
}

TEST(MeasuredTrace, DelayOfLinearPhaseAcrossWraps) {
    // 5 ns of delay: the phase falls 360 degrees every 200 MHz, so it wraps many times.
    std::string text = "# MHz S MA R 50\n";
    for (int i = 0; i < 50; ++i) {
        const double f = 1000.0 + 7.0 * i;
        const double degrees = std::remainder(-360.0 * f * 1e6 * 5e-9, 360.0);
        text += std::to_string(f) + " 0.1 0 0.5 " + std::to_string(degrees) + " 0.5 0 0.1 0\n";
    }
    const MeasuredRead read = ParseTouchstone(text, "d.s2p");
    ASSERT_TRUE(read.Ok) << read.Problem;
    ASSERT_EQ(read.Trace.DelayNs.size(), 50u);
    for (double d : read.Trace.DelayNs) EXPECT_NEAR(d, 5.0, 1e-4);
}

FilterSpec Part() {
    FilterSpec spec;
    spec.F0 = 1500;
    spec.BW = spec.BWRequested = 30;
    spec.Sections = 4;
    spec.F1 = 1400;
    return spec;
}

// The model's own response as a measurement, shifted and with loss added.
MeasuredTrace ModelTrace(const FilterSpec& spec, double shiftMhz, double addedDb) {
    ExportSpan span;
    span.Points = 1201;
    span.SpanBandwidths = 8;
    const ResponseTable table = ComputeResponseTable(spec, span, ExportFormat::Touchstone);
    MeasuredTrace trace;
    trace.Ports = 2;
    for (const ResponsePoint& p : table.Points) {
        trace.FrequenciesMhz.push_back(p.FrequencyMhz + shiftMhz);
        trace.AttenuationDb.push_back(p.AttenuationDb + addedDb);
        trace.ReturnLossDb.push_back(p.ReturnLossDb);
        trace.DelayNs.push_back(p.DelayNs);
    }
    return trace;
}

const DeviationEntry* Find(const MeasuredComparison& c, const std::string& key) {
    for (const DeviationEntry& d : c.Summary)
        if (d.Key == key) return &d;
    return nullptr;
}

TEST(MeasuredComparison, ModelAgainstItselfHasNoDeviation) {
    const MeasuredComparison c = CompareWithModel(Part(), ModelTrace(Part(), 0, 0), {1620});
    ASSERT_TRUE(c.Standard) << c.Refusal;
    EXPECT_EQ(c.SpanFromMhz, 1500 - 3 * 30);
    EXPECT_FALSE(c.Points.empty());
    for (const ComparedPoint& p : c.Points) {
        EXPECT_GE(p.FrequencyMhz, c.SpanFromMhz);
        EXPECT_LE(p.FrequencyMhz, c.SpanToMhz);
        EXPECT_NEAR(p.Measured.AttenuationDb, p.Model.AttenuationDb, 1e-9);
    }
    for (const char* key : {"insertion_loss_db", "lower_edge_db", "upper_edge_db", "stopband_f1_db",
                            "requirement_1_db", "passband_largest_deviation_db", "centre_frequency_mhz"}) {
        const DeviationEntry* d = Find(c, key);
        ASSERT_NE(d, nullptr) << key;
        EXPECT_NEAR(d->Deviation, 0.0, 0.01) << key;
    }
}

TEST(MeasuredComparison, FindsAddedLossAndShiftBetweenSweepPoints) {
    // 1.37 MHz lies between the trace's points (0.2 MHz apart).
    const MeasuredComparison c = CompareWithModel(Part(), ModelTrace(Part(), 1.37, 0.7));
    ASSERT_NE(Find(c, "centre_frequency_mhz"), nullptr);
    EXPECT_NEAR(Find(c, "centre_frequency_mhz")->Deviation, 1.37, 0.02);
    EXPECT_NEAR(Find(c, "centre_loss_db")->Deviation, 0.7, 0.01);
}

TEST(MeasuredComparison, RefusedEntryGivesItsReason) {
    FilterSpec spec = Part();
    spec.F0 = 20000;
    const MeasuredComparison c = CompareWithModel(spec, ModelTrace(Part(), 0, 0));
    EXPECT_FALSE(c.Standard);
    EXPECT_NE(c.Refusal.find("No standard part"), std::string::npos) << c.Refusal;
}

}  // namespace
}  // namespace veltrix
