#include "compare/sample_judgement.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "engine/filter_spec.h"
#include "measured/comparison.h"

namespace veltrix {
namespace {

// The program's texts use ASCII signs; the verdict's margin is written as the requirement sheet
// reads, with a true minus.
std::string SignedMargin(double value, const char* unit) {
    char text[64];
    std::snprintf(text, sizeof text, "%.2f %s", std::abs(value), unit);
    const bool negative = value < 0.0 && std::abs(value) >= 0.005;
    return (negative ? std::string("\u2212") : std::string("+")) + text;
}

std::string Figures(const char* format, double a, double b) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

void FindPassband(const MeasuredTrace& t, double f0, double bw, double definitionDb, SamplePassband& band) {
    const std::vector<double>& f = t.FrequenciesMhz;
    const std::vector<double>& a = t.AttenuationDb;
    band.DefinitionDb = definitionDb;
    band.RequiredBandwidthMhz = bw;
    band.BandFromMhz = std::max(f.front(), f0 - 0.5 * bw);
    band.BandToMhz = std::min(f.back(), f0 + 0.5 * bw);
    double lowest = InterpolateAt(f, a, band.BandFromMhz);
    double highest = lowest;
    const double atTo = InterpolateAt(f, a, band.BandToMhz);
    lowest = std::min(lowest, atTo);
    highest = std::max(highest, atTo);
    const size_t first = std::lower_bound(f.begin(), f.end(), band.BandFromMhz) - f.begin();
    const size_t last = std::upper_bound(f.begin(), f.end(), band.BandToMhz) - f.begin();
    size_t start = std::min<size_t>(std::lower_bound(f.begin(), f.end(), f0) - f.begin(), f.size() - 1);
    for (size_t k = first; k < last; ++k) {
        if (a[k] < lowest) lowest = a[k];
        highest = std::max(highest, a[k]);
        if (a[k] < a[start] || start < first || start >= last) start = k;
    }
    band.LowestLossDb = lowest;
    band.HighestLossDb = highest;
    band.FlatnessDb = highest - lowest;

    // Walking out from the least loss, so a skirt's spurious return beyond the edge is never an edge.
    const double level = lowest + definitionDb;
    if (a[start] > level) return;
    size_t k = start;
    while (k > 0 && a[k - 1] <= level) --k;
    if (k == 0) return;
    const double lower = f[k - 1] + (f[k] - f[k - 1]) * (a[k - 1] - level) / (a[k - 1] - a[k]);
    k = start;
    while (k + 1 < f.size() && a[k + 1] <= level) ++k;
    if (k + 1 == f.size()) return;
    const double upper = f[k] + (f[k + 1] - f[k]) * (level - a[k]) / (a[k + 1] - a[k]);
    band.Found = true;
    band.LowerEdgeMhz = lower;
    band.UpperEdgeMhz = upper;
    band.BandwidthMhz = upper - lower;
    band.BandwidthPass = band.BandwidthMhz >= bw;
    band.CentreMhz = 0.5 * (lower + upper);
    band.ShiftMhz = band.CentreMhz - f0;
}

}  // namespace

SampleJudgement JudgeSample(const MeasuredTrace& t, const FinderRequirement& requirement) {
    SampleJudgement j;
    j.F0Mhz = requirement.F0;
    j.MaxInsertionLossDb = requirement.MaxInsertionLossDb;
    const std::vector<double>& f = t.FrequenciesMhz;
    if (t.Ports != 2 || t.AttenuationDb.size() != f.size() || f.empty()) {
        j.NotJudged = "the measurement has no S21";
        return j;
    }
    if (requirement.F0 < f.front() || requirement.F0 > f.back()) {
        char text[160];
        std::snprintf(text, sizeof text, "the measurement (%.3f to %.3f MHz) does not reach F0 %.3f MHz",
                      f.front(), f.back(), requirement.F0);
        j.NotJudged = text;
        return j;
    }
    j.Judged = true;
    j.LossAtF0Db = InterpolateAt(f, t.AttenuationDb, requirement.F0);
    std::vector<std::string> misses;
    if (j.MaxInsertionLossDb) {
        j.LossMarginDb = *j.MaxInsertionLossDb - j.LossAtF0Db;
        j.LossPass = j.LossMarginDb >= 0.0;
        if (!j.LossPass)
            misses.push_back(Figures("insertion loss %.2f dB against %.1f dB allowed", j.LossAtF0Db,
                                     *j.MaxInsertionLossDb) +
                             " (" + SignedMargin(j.LossMarginDb, "dB") + ")");
    }
    for (const StopbandRequirement& need : requirement.Stopbands) {
        SamplePoint p;
        p.FrequencyMhz = need.FrequencyMhz;
        p.RequiredDbc = need.MinAttenuationDbc;
        p.Measured = need.FrequencyMhz >= f.front() && need.FrequencyMhz <= f.back();
        if (p.Measured) {
            p.MeasuredDbc = InterpolateAt(f, t.AttenuationDb, need.FrequencyMhz) - j.LossAtF0Db;
            p.MarginDb = p.MeasuredDbc - p.RequiredDbc;
            p.Pass = p.MarginDb >= 0.0;
            if (!p.Pass)
                misses.push_back(Figures("%.2f MHz, %.2f dBc", p.FrequencyMhz, p.MeasuredDbc) + " against " +
                                 Figures("%.1f dBc required", p.RequiredDbc, 0.0) + " (" +
                                 SignedMargin(p.MarginDb, "dB") + ")");
        } else {
            misses.push_back(Figures("%.2f MHz not measured", p.FrequencyMhz, 0.0));
        }
        j.Points.push_back(p);
    }
    FindPassband(t, requirement.F0, requirement.BW, PassbandFromIndex(requirement.PassbandIndex).PBD,
                 j.Passband);
    if (!j.Passband.Found) {
        misses.push_back(Figures("no passband edges %.1f dB above its least loss in the file",
                                 j.Passband.DefinitionDb, 0.0));
    } else if (!j.Passband.BandwidthPass) {
        misses.push_back(
            Figures("bandwidth %.2f MHz against %.1f MHz required", j.Passband.BandwidthMhz,
                    j.Passband.RequiredBandwidthMhz) +
            " (" + SignedMargin(j.Passband.BandwidthMhz - j.Passband.RequiredBandwidthMhz, "MHz") + ")");
    }
    j.DelayApertureMhz = kDelayApertureFraction * requirement.F0;
    j.DelayAtF0Ns = FittedDelayAtNs(f, t.PhaseRad, requirement.F0, j.DelayApertureMhz);
    j.Meets = misses.empty();
    if (j.Meets) {
        j.Verdict = "The sample meets the requirement.";
    } else {
        j.Verdict = "The sample misses the requirement: ";
        for (size_t i = 0; i < misses.size(); ++i) j.Verdict += (i ? "; " : "") + misses[i];
    }
    return j;
}

std::vector<std::string> SampleJudgementLines(const SampleJudgement& j) {
    std::vector<std::string> lines;
    if (!j.Judged) {
        lines.push_back("The sample is not judged: " + j.NotJudged);
        return lines;
    }
    char text[320];
    const auto verdict = [](bool pass) { return pass ? "pass" : "FAIL"; };
    if (j.MaxInsertionLossDb) {
        std::snprintf(text, sizeof text,
                      "Insertion loss at %.2f MHz: %.2f dB, %.1f dB allowed, margin %+.2f dB, %s", j.F0Mhz,
                      j.LossAtF0Db, *j.MaxInsertionLossDb, j.LossMarginDb, verdict(j.LossPass));
    } else {
        std::snprintf(text, sizeof text, "Insertion loss at %.2f MHz: %.2f dB, no highest loss required",
                      j.F0Mhz, j.LossAtF0Db);
    }
    lines.push_back(text);
    for (const SamplePoint& p : j.Points) {
        if (p.Measured)
            std::snprintf(text, sizeof text, "At %.2f MHz: %.2f dBc, %.1f dBc required, margin %+.2f dB, %s",
                          p.FrequencyMhz, p.MeasuredDbc, p.RequiredDbc, p.MarginDb, verdict(p.Pass));
        else
            std::snprintf(text, sizeof text, "At %.2f MHz: not measured, %.1f dBc required, FAIL",
                          p.FrequencyMhz, p.RequiredDbc);
        lines.push_back(text);
    }
    const SamplePassband& b = j.Passband;
    if (b.Found) {
        std::snprintf(text, sizeof text,
                      "Passband %.1f dB above its least loss: %.2f to %.2f MHz, bandwidth %.2f MHz "
                      "(%.1f MHz required, %s), centre %.2f MHz, shift %+.2f MHz",
                      b.DefinitionDb, b.LowerEdgeMhz, b.UpperEdgeMhz, b.BandwidthMhz, b.RequiredBandwidthMhz,
                      verdict(b.BandwidthPass), b.CentreMhz, b.ShiftMhz);
    } else {
        std::snprintf(text, sizeof text,
                      "Passband %.1f dB above its least loss: edges not found in the file, FAIL",
                      b.DefinitionDb);
    }
    lines.push_back(text);
    std::snprintf(text, sizeof text, "Across %.2f to %.2f MHz: highest loss %.2f dB, flatness %.2f dB",
                  b.BandFromMhz, b.BandToMhz, b.HighestLossDb, b.FlatnessDb);
    lines.push_back(text);
    std::snprintf(text, sizeof text, "Delay at %.2f MHz: %.2f ns, the phase's slope fitted over +/-%.3f MHz",
                  j.F0Mhz, j.DelayAtF0Ns, j.DelayApertureMhz);
    lines.push_back(text);
    lines.push_back(j.Verdict);
    return lines;
}

}  // namespace veltrix
