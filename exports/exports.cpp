#include "exports/exports.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "engine/response.h"
#include "engine/rules.h"
#include "engine/selection.h"
#include "version/version.h"

namespace veltrix {
namespace {

constexpr double kFloorDb = -300.0;  // what stands for "no signal at all" in a file of decibels

int ChebyshevSign(int32_t n, double x) {
    double previous = 1.0;
    double current = x;
    for (int32_t k = 1; k < n; ++k) {
        const double next = 2.0 * x * current - previous;
        previous = current;
        current = next;
    }
    return current < 0.0 ? -1 : 1;
}

std::string Number(double value) {
    if (!std::isfinite(value)) return "";
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

std::string FirstMessage(const RuleOutcome& outcome) {
    for (const std::string& line : outcome.MessageLines) {
        if (!line.empty()) return line;
    }
    return "";
}

// The phase, in degrees within (-180, 180], that a delay integrated from the centre gives.
double WrappedDegrees(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped > 180.0) wrapped -= 360.0;
    if (wrapped <= -180.0) wrapped += 360.0;
    return wrapped;
}

}  // namespace

ResponseTable ComputeResponseTable(const FilterSpec& input, const ExportSpan& span) {
    ResponseTable table;
    FilterSpec spec = input;
    ResponseData rd;
    const SelectionResults paint = ComputeSelection(spec, rd);
    if (spec.SelStatus != kSelectionValid) {
        const std::string reason = FirstMessage(paint.Outcome);
        table.Refusal = "No standard part for last inputs." + (reason.empty() ? "" : " " + reason);
        return table;
    }
    table.Standard = true;
    table.PartNumber = paint.Outcome.PartNumber;
    table.CentreFrequencyMhz = spec.F0;

    const int32_t n = spec.Sections;
    std::vector<double> frequencies;
    if (span.Points == 0 && span.SpanBandwidths == 0.0) {
        SetSweepSpan(rd, spec.F0, spec.BW, spec.GraphHalfSpan);
        ForEachSweepPoint(rd, [&](int, double f) { frequencies.push_back(f); });
    } else {
        const double half = 0.5 * (span.SpanBandwidths > 0.0 ? span.SpanBandwidths : 2.0 * spec.GraphHalfSpan);
        const double start = spec.F0 - half * spec.BW;
        const double stop = spec.F0 + half * spec.BW;
        const int count = span.Points > 1 ? span.Points : kDefaultExportPoints;
        for (int k = 0; k < count; ++k) {
            frequencies.push_back(k + 1 == count ? stop : start + k * (stop - start) / (count - 1));
        }
    }
    table.Points.resize(frequencies.size());

    // The paint's order: the near-lossless design for the return loss, then the lossy one.
    const SolvedDesign lossless = LosslessDesignSolve(rd, n, spec.PBD);
    const double f1 = spec.F0 - 0.5 * spec.BW;
    const double f2 = f1 + spec.BW;
    for (size_t i = 0; i < frequencies.size(); ++i) {
        const double f = frequencies[i];
        ResponsePoint& point = table.Points[i];
        point.FrequencyMhz = f;
        point.ReturnLossDb = ReturnLossAt(rd, lossless, n, f, spec.F0, spec.BW);
        point.ChebyshevSign = ChebyshevSign(n, (f - f1 * f2 / f) / spec.BW * lossless.PBDEdge);
    }

    // As the tabular report: the lossy design, then the centre loss added to each relative figure.
    const SolvedDesign design = DesignSolve(rd, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric);
    int32_t status = spec.SelStatus;
    bool arithmeticFailure = false;
    const double il0 = InsertionLossAtF0(rd, n, status, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric,
                                         arithmeticFailure);
    table.InsertionLossDb = il0;
    table.DelayAtCentreNs = GroupDelayAt(rd, n, spec.F0, spec.F0, spec.BW);
    for (ResponsePoint& point : table.Points) {
        point.AttenuationDb = RelativeAttenuation(rd, design, n, point.FrequencyMhz, spec.F0, spec.BW) + il0;
        point.DelayNs = GroupDelayAt(rd, n, point.FrequencyMhz, spec.F0, spec.BW);
    }
    auto stopband = [&](const char* name, double f) {
        if (!(f > 0.0)) return;
        double attenuation = 0.0;
        AttenuationAt(rd, f, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric, attenuation);
        if (std::isfinite(attenuation)) table.Stopbands.push_back({name, f, attenuation});
    };
    stopband("F1", spec.F1);
    stopband("F2", spec.F2);
    return table;
}

std::string TouchstoneText(const ResponseTable& table, std::string_view date) {
    std::string text;
    text += "! Veltrix " VELTRIX_VERSION " ceramic bandpass filter " + table.PartNumber + ", written " + std::string(date) + "\n";
    text += "! Model: Chebyshev prototype with the resonators' unloaded Q; S21 phase from the group delay\n";
    text += "# MHz S DB R 50\n";
    const size_t count = table.Points.size();
    std::vector<double> phase(count, 0.0);
    // -360 degrees times the integral of the delay from the centre (ns times MHz is 1e-3 cycles).
    const auto step = [&](double fa, double ta, double fb, double tb) { return -0.36 * 0.5 * (ta + tb) * (fb - fa); };
    const double f0 = table.CentreFrequencyMhz;
    const double t0 = table.DelayAtCentreNs;
    const auto above = std::find_if(table.Points.begin(), table.Points.end(),
                                    [&](const ResponsePoint& p) { return p.FrequencyMhz >= f0; });
    const size_t first = static_cast<size_t>(above - table.Points.begin());
    for (size_t i = first; i < count; ++i) {
        const ResponsePoint& p = table.Points[i];
        phase[i] = i == first ? step(f0, t0, p.FrequencyMhz, p.DelayNs)
                              : phase[i - 1] + step(table.Points[i - 1].FrequencyMhz, table.Points[i - 1].DelayNs,
                                                    p.FrequencyMhz, p.DelayNs);
    }
    for (size_t i = first; i-- > 0;) {
        const ResponsePoint& p = table.Points[i];
        phase[i] = i + 1 == first ? -step(p.FrequencyMhz, p.DelayNs, f0, t0)
                                  : phase[i + 1] - step(p.FrequencyMhz, p.DelayNs, table.Points[i + 1].FrequencyMhz,
                                                        table.Points[i + 1].DelayNs);
    }

    for (size_t i = 0; i < count; ++i) {
        const ResponsePoint& p = table.Points[i];
        // A passive part never gains: a figure below 0 dB of loss is written as no loss.
        double s21Db = std::isfinite(p.AttenuationDb) ? -std::max(p.AttenuationDb, 0.0) : kFloorDb;
        s21Db = std::max(s21Db, kFloorDb);
        double s11Db = std::isfinite(p.ReturnLossDb) ? -std::fabs(p.ReturnLossDb) : kFloorDb;
        s11Db = std::max(s11Db, kFloorDb);
        // Keep |S11|^2 + |S21|^2 below 1 with room for the printed rounding.
        const double s21 = std::pow(10.0, s21Db / 20.0);
        const double s11 = std::pow(10.0, s11Db / 20.0);
        constexpr double kMaxPower = 1.0 - 1e-6;
        if (s11 * s11 + s21 * s21 > kMaxPower) {
            const double room = std::max(kMaxPower - s21 * s21, 0.0);
            s11Db = std::max(room > 0.0 ? 10.0 * std::log10(room) : kFloorDb, kFloorDb);
        }
        const double s21Angle = WrappedDegrees(phase[i]);
        const double s11Angle = WrappedDegrees(phase[i] + 90.0 * p.ChebyshevSign);
        char line[256];
        std::snprintf(line, sizeof line, "%.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f\n", p.FrequencyMhz, s11Db,
                      s11Angle, s21Db, s21Angle, s21Db, s21Angle, s11Db, s11Angle);
        text += line;
    }
    return text;
}

std::string CsvText(const ResponseTable& table) {
    std::string text = "frequency_mhz,attenuation_db,return_loss_db,delay_ns\n";
    for (const ResponsePoint& p : table.Points) {
        text += Number(p.FrequencyMhz) + "," + Number(p.AttenuationDb) + "," + Number(p.ReturnLossDb) + "," +
                Number(p.DelayNs) + "\n";
    }
    if (!table.Stopbands.empty()) {
        text += "\nstopband_point,frequency_mhz,attenuation_dbc\n";
        for (const StopbandPoint& s : table.Stopbands) {
            text += s.Name + "," + Number(s.FrequencyMhz) + "," + Number(s.AttenuationDbc) + "\n";
        }
    }
    return text;
}

FileResult WriteTouchstoneFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path,
                               std::string_view date) {
    const ResponseTable table = ComputeResponseTable(spec, span);
    if (!table.Standard) return {false, table.Refusal};
    return WriteFileAtomically(path, TouchstoneText(table, date));
}

FileResult WriteCsvFile(const FilterSpec& spec, const std::string& path) {
    const ResponseTable table = ComputeResponseTable(spec);
    if (!table.Standard) return {false, table.Refusal};
    return WriteFileAtomically(path, CsvText(table));
}

}  // namespace veltrix
