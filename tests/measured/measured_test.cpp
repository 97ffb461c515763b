#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
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
    size_t rows = 1;
    const char* notice = "";  // the reader's note of what it read past
};

// Every row: |S11| = 0.1 (20 dB return loss); |S21| = 0.5 (6.0206 dB).
const GoodCase kGood[] = {
    {"v11 MHz DB", "a.s2p", "! c\n# MHz S DB R 50\n1000 -20 0 -6.0206 10 -6.0206 10 -40 0\n", 2, 1000, 6.0206,
     20},
    {"v11 GHz MA default", "a.S2P", "# GHz\n1.0 0.1 0 0.5 10 0.5 10 0.1 0\n", 2, 1000, 6.0206, 20},
    {"v11 Hz RI", "a.s2p", "# hz s ri r 50\n1e9 0.1 0 0 0.5 0 0.5 0.1 0\n", 2, 1000, 6.0206, 20},
    {"v11 kHz continued", "a.s2p", "#kHz S MA R 50\n1e6 0.1 0 ! S11\n 0.5 0 0.5 0\n0.1 0\n", 2, 1000, 6.0206,
     20},
    {"v11 one port", "a.s1p", "# MHz S DB R 50\n1000 -20 0\n1001 -20 0\n", 1, 1000, 0, 20, 2},
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
    {"v11 noise block after a lower frequency", "a.s2p",
     "# GHz S MA R 50\n1.0 0.1 0 0.5 10 0.5 10 0.1 0\n1.1 0.1 0 0.5 10 0.5 10 0.1 0\n0.5 2.0 0.5 30 "
     "0.3\n0.9 2.1 0.5 35 0.3\n",
     2, 1000, 6.0206, 20, 2, "a.s2p:4: noise data skipped"},
    {"v2 noise data", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Number of Frequencies] 1\n[Number of Noise "
     "Frequencies] 1\n[Reference] 50 50\n[Network Data]\n1000 -20 0 -6.0206 0 -6.0206 0 -20 0\n[Noise "
     "Data]\n900 2 0.5 30 0.3\n[End]\n",
     2, 1000, 6.0206, 20, 1, "a.ts:9: noise data skipped"},
    {"v2 upper matrix", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Matrix Format] Upper\n[Network Data]\n1000 -20 "
     "0 -6.0206 0 -40 0\n1001 -20 0 -6.0206 0 -40 0\n[End]\n",
     2, 1000, 6.0206, 20, 2},
    {"v2 lower matrix", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Matrix Format] lower\n[Network Data]\n1000 -20 "
     "0\n-6.0206 0 -40 0\n[End]\n",
     2, 1000, 6.0206, 20},
    {"v11 CR line ends", "a.s2p",
     "# MHz S DB R 50\r1000 -20 0 -6.0206 10 -6.0206 10 -40 0\r1001 -20 0 -6.0206 10 -6.0206 10 -40 0\r", 2,
     1000, 6.0206, 20, 2},
    {"v11 CR LF line ends", "a.s2p",
     "# MHz S DB R 50\r\n1000 -20 0 -6.0206 10 -6.0206 10 -40 0\r\n1001 -20 0 -6.0206 10 -6.0206 10 -40 "
     "0\r\n",
     2, 1000, 6.0206, 20, 2},
    {"UTF-8 byte order mark", "a.s2p",
     "\xEF\xBB\xBF# MHz S DB R 50\n1000 -20 0 -6.0206 10 -6.0206 10 -40 0\n", 2, 1000, 6.0206, 20},
    {"v2 reference on the next lines", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Reference]\n50\n50\n[Network Data]\n1000 -20 0 "
     "-6.0206 0 -6.0206 0 -20 0\n[End]\n",
     2, 1000, 6.0206, 20},
    {"v2 reference continued", "a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Reference] 50\n50.0\n[Network Data]\n1000 -20 0 "
     "-6.0206 0 -6.0206 0 -20 0\n[End]\n",
     2, 1000, 6.0206, 20},
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
        EXPECT_EQ(read.Trace.FrequenciesMhz.size(), c.rows);
        EXPECT_EQ(read.Notice, c.notice);
    }
}

struct BadCase {
    std::string file;
    std::string text;
    std::string problem;
};

const std::string kLong(100000, '5');

const BadCase kBad[] = {
    {"a.s2p", "", "a.s2p:1: no network data"},
    {"a.s2p", "# MHz Y DB R 50\n1 0 0 0 0 0 0 0 0\n",
     "a.s2p:1: only S parameters are supported, not Y parameters"},
    {"a.s2p", "# MHz S DB R 75\n", "a.s2p:1: reference impedance is not 50 ohm"},
    {"a.s3p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n", "a.s3p:2: only 1- and 2-port files can be compared"},
    {"a.s4p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n", "a.s4p:2: only 1- and 2-port files can be compared"},
    {"a.txt", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n",
     "a.txt:2: the port count is unknown: name the file .s1p or .s2p"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n1 0 0 0 0 0 0 0 0\n",
     "a.s2p:3: frequencies are not increasing"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n2 0 0 0 x 0 0 0 0\n", "a.s2p:3: bad number 'x'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 nan 0 0 0 0\n", "a.s2p:2: bad number 'nan'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 inf 0 0 0 0\n", "a.s2p:2: bad number 'inf'"},
    {"a.s2p", "# MHz S DB R 50\n1 0 0 0 0 0 0 0 0\n2 0 0\n0 0\n",
     "a.s2p:4: wrong count of values: the frequency at line 3 has 5 values, 9 expected"},
    {"a.ts", "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 3\n",
     "a.ts:3: only 1- and 2-port files can be compared"},
    {"a.ts", "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Reference] 50 75\n",
     "a.ts:4: reference impedance is not 50 ohm"},
    {"a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 1\n[Number of Frequencies] 2\n[Network Data]\n1 0 "
     "0\n[End]\n",
     "a.ts:7: [Number of Frequencies] is 2, the data has 1"},
    {"a\x1b[2J.s2p", "", "a\\x1b[2J.s2p:1: no network data"},
    {"a.s2p", "# MHz S DB R 50\n1000 -20 0\n1001 -20 0\n1002 -20 0\n",
     "a.s2p:3: wrong count of values: the frequency at line 2 has 3 values, 9 expected"},
    {"a.s2p", "# MHz S DB R 50\n1000 -20 0\n",
     "a.s2p:2: wrong count of values: the frequency at line 2 has 3 values, 9 expected"},
    {"a.s1p", "# MHz S DB R 50\n1000 -20 0 -6 0 -6 0 -20 0\n",
     "a.s1p:2: wrong count of values: the frequency at line 2 has 9 values, 3 expected"},
    {"a.ts",
     "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 1\n[Number of Frequencies] 4294967297\n[Network "
     "Data]\n1 0 0\n[End]\n",
     "a.ts:7: [Number of Frequencies] is 4294967297, the data has 1"},
    {"a.ts", "[Version] 2.0\n[Number of Frequencies] 1e3\n", "a.ts:2: bad number of frequencies"},
    {"a.s2p", "# GHz S DB R 50\n1e308 -20 0 -6 0 -6 0 -20 0\n", "a.s2p:2: frequency out of range"},
    {"a.s2p", "# MHz S DB R 50\n1000 -20 0 1e308 0 -6 0 -20 0\n", "a.s2p:2: value out of range"},
    {"a.s2p", "# MHz S RI R 50\n1000 0 0 1.5e308 1.5e308 0 0 0 0\n", "a.s2p:2: value out of range"},
    {"a.s2p", "# MHz S DB R 50\n1000 -20 0 1e400 0 -6 0 -20 0\n", "a.s2p:2: bad number '1e400'"},
    {"a.s2p", "# MHz S DB R 50 " + kLong + "\n", "a.s2p:1: unknown option '" + kLong.substr(0, 40) + "...'"},
    {"a.s2p", "# MHz S DB R " + kLong + "\n", "a.s2p:1: bad number '" + kLong.substr(0, 40) + "...'"},
    {"a.ts", "[Version] 2.0\n[Number of Ports] 1\n[Reference] " + kLong + "\n",
     "a.ts:3: bad number '" + kLong.substr(0, 40) + "...'"},
    {"a.ts", "[" + kLong + "]\n", "a.ts:1: keyword '[" + kLong.substr(0, 39) + "...' before [Version]"},
    {"a.s2p", "# MHz S DB R 50\n1000 -20 0 -6 0 -6 0 -20 " + kLong + "x\n",
     "a.s2p:2: bad number '" + kLong.substr(0, 40) + "...'"},
    {"a.ts", "[Version] 2.0\n# MHz S DB R 50\n[Number of Ports] 2\n[Matrix Format] Diagonal\n",
     "a.ts:4: bad matrix format"},
};

TEST(TouchstoneReader, RefusesWithFileLineAndReason) {
    for (const BadCase& c : kBad) {
        SCOPED_TRACE(c.text.substr(0, 200));
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

// A scratch folder of the test's own, removed with its files.
class TouchstoneFileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char name[] = "/tmp/veltrix-measured-XXXXXX";
        ASSERT_NE(mkdtemp(name), nullptr);
        dir_ = name;
        chmod(name, 0755);  // open to the child that reads as nobody
    }
    void TearDown() override {
        chmod((dir_ + "/unreadable.s2p").c_str(), 0600);
        std::filesystem::remove_all(dir_);
    }
    std::string Write(const std::string& file, const std::string& text, mode_t mode = 0600) {
        const std::string path = dir_ + "/" + file;
        std::ofstream(path, std::ios::binary) << text;
        chmod(path.c_str(), mode);
        return path;
    }
    std::string dir_;
};

TEST_F(TouchstoneFileTest, FileThatCannotBeOpenedGivesTheSystemReason) {
    struct Case {
        std::string path;
        std::string reason;
    };
    const std::vector<Case> cases{{dir_ + "/missing.s2p", ": No such file or directory"},
                                  {dir_, ": Is a directory"},
                                  {Write("unreadable.s2p", "# MHz\n", 0000), ": Permission denied"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        // Root reads every file: the read runs as nobody in a child of its own.
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(3);
            const MeasuredRead read = ReadTouchstoneFile(c.path);
            const bool named = read.Problem.rfind(c.path + ":0: cannot be read: ", 0) == 0;
            const bool reason = read.Problem.find(c.reason) != std::string::npos;
            if (!read.Ok && named && reason) _exit(0);
            std::fprintf(stderr, "%s\n", read.Problem.c_str());
            _exit(1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    }
}

// Larger than any read buffer, so lines and CR LF pairs are cut between reads.
std::string ManyRows(size_t rows, const char* lineEnd) {
    std::string text = "# MHz S DB R 50";
    text += lineEnd;
    for (size_t i = 0; i < rows; ++i) {
        text += std::to_string(1000 + i) + " -20 0 -6.0206 " + std::to_string(i % 360) + " -6.0206 0 -40 0";
        text += lineEnd;
    }
    return text;
}

TEST_F(TouchstoneFileTest, LargeFileIsReadAsItStreamsWithEveryLineEnd) {
    constexpr size_t kRows = 40000;
    for (const char* lineEnd : {"\n", "\r\n", "\r"}) {
        const std::string path = Write("large.s2p", ManyRows(kRows, lineEnd));
        const MeasuredRead read = ReadTouchstoneFile(path);
        ASSERT_TRUE(read.Ok) << read.Problem;
        ASSERT_EQ(read.Trace.FrequenciesMhz.size(), kRows);
        EXPECT_EQ(read.Trace.FrequenciesMhz.back(), 1000.0 + kRows - 1);
        EXPECT_NEAR(read.Trace.AttenuationDb.back(), 6.0206, 1e-9);
    }
}

TEST_F(TouchstoneFileTest, ProgressIsReportedAndCancelStopsTheRead) {
    const std::string path = Write("large.s2p", ManyRows(40000, "\n"));
    std::vector<std::uint64_t> seen;
    const MeasuredRead whole = ReadTouchstoneFile(path, [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_LE(done, total);
        seen.push_back(done);
        return true;
    });
    ASSERT_TRUE(whole.Ok) << whole.Problem;
    ASSERT_GE(seen.size(), 2u);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(seen.back(), std::filesystem::file_size(path));

    const MeasuredRead cancelled =
        ReadTouchstoneFile(path, [](std::uint64_t, std::uint64_t) { return false; });
    EXPECT_FALSE(cancelled.Ok);
    EXPECT_TRUE(cancelled.Cancelled);
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

TEST(MeasuredComparison, TwoPortWhollyOutsideTheSpanSaysSo) {
    const MeasuredComparison c = CompareWithModel(Part(), ModelTrace(Part(), 1000, 0));
    ASSERT_TRUE(c.Standard);
    EXPECT_TRUE(c.Points.empty());
    EXPECT_TRUE(c.Summary.empty());
    EXPECT_EQ(c.NoDeviations, "no measured frequency lies inside the span 1410.000 to 1590.000 MHz");

    MeasuredTrace onePort = ModelTrace(Part(), 0, 0);
    onePort.Ports = 1;
    onePort.AttenuationDb.clear();
    onePort.DelayNs.clear();
    EXPECT_EQ(CompareWithModel(Part(), onePort).NoDeviations, "the measurement has no S21");
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
