#include "exports/exports.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "engine/response.h"
#include "engine/rules.h"
#include "engine/selection.h"
#include "judgement/judgement.h"
#include "version/version.h"

namespace veltrix {
namespace {

constexpr double kFloorDb = -300.0;  // what stands for "no signal at all" in a file of decibels
// The widest span the response graph shows, in bandwidths either side of the centre.
constexpr double kValidHalfSpanBandwidths = 3.0;

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

// The phase, in degrees within (-180, 180], that a delay integrated from the centre gives.
double WrappedDegrees(double degrees) {
    double wrapped = std::fmod(degrees, 360.0);
    if (wrapped > 180.0) wrapped -= 360.0;
    if (wrapped <= -180.0) wrapped += 360.0;
    return wrapped;
}

// A Touchstone row's frequency, as the file prints it and a reader reads it back.
constexpr const char* kFrequencyFormat = "%.6f";
constexpr const char* kPrintedMhzText = "0.000001";
double PrintedMhz(double f) {
    char text[64];
    std::snprintf(text, sizeof text, kFrequencyFormat, f);
    return std::strtod(text, nullptr);
}

bool IsNothingChosen(const ExportSpan& span) {
    return span.Points == 0 && span.SpanBandwidths == 0.0 && span.FromMhz == 0.0 && span.ToMhz == 0.0;
}

}  // namespace

ExportRange ResolveExportSpan(const FilterSpec& spec, const ExportSpan& span, ExportFormat format) {
    ExportRange range;
    range.Points = span.Points > 0
                       ? span.Points
                       : (format == ExportFormat::Touchstone ? kDefaultTouchstonePoints : kDefaultCsvPoints);
    if (span.FromMhz > 0.0 && span.ToMhz > 0.0) {
        range.FromMhz = span.FromMhz;
        range.ToMhz = span.ToMhz;
    } else {
        const double half = span.SpanBandwidths > 0.0 ? 0.5 * span.SpanBandwidths : spec.GraphHalfSpan;
        range.FromMhz = spec.F0 - half * spec.BW;
        range.ToMhz = spec.F0 + half * spec.BW;
    }
    if (!(range.FromMhz > 0.0) && range.ToMhz > 0.0 && range.Points > 1)
        range.FromMhz = range.ToMhz / range.Points;
    return range;
}

ExportGrid ExportFrequencies(const FilterSpec& spec, const ExportSpan& span, ExportFormat format) {
    ExportGrid grid;
    const ExportRange range = ResolveExportSpan(spec, span, format);
    const int count = range.Points;
    const double start = range.FromMhz;
    const double stop = range.ToMhz;
    char shown[160];
    if (count < kMinExportPoints || count > kMaxExportPoints) {
        std::snprintf(shown, sizeof shown, "%d points: from %d to %d points can be exported", count,
                      kMinExportPoints, kMaxExportPoints);
        grid.Problem = shown;
        return grid;
    }
    if (!std::isfinite(start) || !std::isfinite(stop) || !(stop > start)) {
        std::snprintf(shown, sizeof shown, "the range %s to %s MHz is empty: it must start below its end",
                      Number(start).c_str(), Number(stop).c_str());
        grid.Problem = shown;
        return grid;
    }
    // Over the graph's own span, every frequency the report lists is computed as the report does.
    const bool graphSpan = start == spec.F0 - spec.GraphHalfSpan * spec.BW &&
                           stop == spec.F0 + spec.GraphHalfSpan * spec.BW && (count - 1) % 60 == 0;
    const int perStep = (count - 1) / 60;
    const double reportStep = (stop - start) / 60.0;
    grid.FrequenciesMhz.reserve(static_cast<size_t>(count));
    double previous = 0.0;
    for (int k = 0; k < count; ++k) {
        double f = k + 1 == count ? stop : start + k * (stop - start) / (count - 1);
        if (graphSpan && k % perStep == 0 && k + 1 != count) f = (k / perStep) * reportStep + start;
        const double printed = PrintedMhz(f);
        if (!(printed > previous)) {
            grid.FrequenciesMhz.clear();
            std::snprintf(
                shown, sizeof shown,
                "%d points from %s to %s MHz are not distinct positive frequencies at %s MHz: widen "
                "the range or take fewer points",
                count, Number(start).c_str(), Number(stop).c_str(), kPrintedMhzText);
            grid.Problem = shown;
            return grid;
        }
        previous = printed;
        grid.FrequenciesMhz.push_back(f);
    }
    return grid;
}

static void FillResponseRows(const FilterSpec& spec, ResponseData& rd, const std::vector<double>& frequencies,
                             ResponseTable& table);

// The table of a judged entry; a refused one leaves it not standard, with its reason.
static ResponseTable JudgedTable(const JudgedSelection& judged) {
    ResponseTable table;
    if (!judged.Standard()) {
        table.Refusal = RefusalOf(judged);
        return table;
    }
    table.Standard = true;
    table.PartNumber = judged.PartNumber();
    table.CentreFrequencyMhz = judged.Spec.F0;
    table.BandwidthMhz = judged.Spec.BW;
    return table;
}

ResponseTable ComputeResponseTable(const FilterSpec& input, const ExportSpan& span, ExportFormat format) {
    JudgedSelection judged = JudgeSelection(input);
    const FilterSpec& spec = judged.Spec;
    ResponseData& rd = judged.Response;
    ResponseTable table = JudgedTable(judged);
    if (!table.Standard) return table;
    std::vector<double> frequencies;
    if (format == ExportFormat::Csv && IsNothingChosen(span)) {
        SetSweepSpan(rd, spec.F0, spec.BW, spec.GraphHalfSpan);
        ForEachSweepPoint(rd, [&](int, double f) { frequencies.push_back(f); });
    } else {
        ExportGrid grid = ExportFrequencies(spec, span, format);
        if (!grid.Problem.empty()) {
            table.Standard = false;
            table.Refusal = grid.Problem;
            return table;
        }
        frequencies = std::move(grid.FrequenciesMhz);
    }
    FillResponseRows(spec, rd, frequencies, table);
    return table;
}

ResponseTable ComputeResponseAt(const FilterSpec& input, const std::vector<double>& frequenciesMhz) {
    JudgedSelection judged = JudgeSelection(input);
    ResponseTable table = JudgedTable(judged);
    if (!table.Standard) return table;
    FillResponseRows(judged.Spec, judged.Response, frequenciesMhz, table);
    return table;
}

static void FillResponseRows(const FilterSpec& spec, ResponseData& rd, const std::vector<double>& frequencies,
                             ResponseTable& table) {
    const int32_t n = spec.Sections;
    table.Points.resize(frequencies.size());

    // The judgement's order: the near-lossless design for the return loss, then the lossy one.
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
    const double il0 = InsertionLossAtF0(rd, n, status, spec.Profile, spec.F0, spec.BW, spec.PBD,
                                         spec.Dielectric, arithmeticFailure);
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
}

std::string TouchstoneText(const ResponseTable& table, std::string_view date) {
    std::string text;
    const double f0 = table.CentreFrequencyMhz;
    const double bw = table.BandwidthMhz;
    text += "! Veltrix " VELTRIX_VERSION " ceramic bandpass filter " + table.PartNumber + ", written " +
            std::string(date) + "\n";
    text += "! Model: Chebyshev prototype with the resonators' unloaded Q; S21 phase from the group delay\n";
    text +=
        "! Part " + table.PartNumber + ": centre " + Number(f0) + " MHz, bandwidth " + Number(bw) + " MHz\n";
    if (!table.Points.empty()) {
        char rows[160];
        std::snprintf(rows, sizeof rows, "! Rows: %zu points from %.6f to %.6f MHz\n", table.Points.size(),
                      table.Points.front().FrequencyMhz, table.Points.back().FrequencyMhz);
        text += rows;
    }
    text += "! Model valid from " + Number(f0 - kValidHalfSpanBandwidths * bw) + " to " +
            Number(f0 + kValidHalfSpanBandwidths * bw) + " MHz (centre +/- " +
            Number(kValidHalfSpanBandwidths) +
            " bandwidths, the widest graph); rows outside it are extrapolated\n";
    text +=
        "! Attenuation guaranteed to 60 dBc for F0 below 2000 MHz and to 30 dBc from 2000 MHz; this part: " +
        std::string(f0 < 2000.0 ? "60" : "30") + " dBc. Deeper figures are computed, not guaranteed\n";
    text += "! S21 floor " + Number(kFloorDb) + " dB stands for no signal\n";
    text += "# MHz S DB R 50\n";
    const size_t count = table.Points.size();
    std::vector<double> phase(count, 0.0);
    // -360 degrees times the integral of the delay from the centre (ns times MHz is 1e-3 cycles).
    const auto step = [&](double fa, double ta, double fb, double tb) {
        return -0.36 * 0.5 * (ta + tb) * (fb - fa);
    };
    const double t0 = table.DelayAtCentreNs;
    const auto above = std::find_if(table.Points.begin(), table.Points.end(),
                                    [&](const ResponsePoint& p) { return p.FrequencyMhz >= f0; });
    const size_t first = static_cast<size_t>(above - table.Points.begin());
    for (size_t i = first; i < count; ++i) {
        const ResponsePoint& p = table.Points[i];
        phase[i] = i == first ? step(f0, t0, p.FrequencyMhz, p.DelayNs)
                              : phase[i - 1] + step(table.Points[i - 1].FrequencyMhz,
                                                    table.Points[i - 1].DelayNs, p.FrequencyMhz, p.DelayNs);
    }
    for (size_t i = first; i-- > 0;) {
        const ResponsePoint& p = table.Points[i];
        phase[i] = i + 1 == first
                       ? -step(p.FrequencyMhz, p.DelayNs, f0, t0)
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
        std::snprintf(line, sizeof line, "%.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f %.6f\n", p.FrequencyMhz,
                      s11Db, s11Angle, s21Db, s21Angle, s21Db, s21Angle, s11Db, s11Angle);
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
    return text;
}

FileResult WriteTouchstoneFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path,
                               std::string_view date) {
    const ResponseTable table = ComputeResponseTable(spec, span, ExportFormat::Touchstone);
    if (!table.Standard) return {false, table.Refusal};
    return WriteUserFile(path, TouchstoneText(table, date));
}

FileResult WriteCsvFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path) {
    const ResponseTable table = ComputeResponseTable(spec, span, ExportFormat::Csv);
    if (!table.Standard) return {false, table.Refusal};
    return WriteUserFile(path, CsvText(table));
}

std::string ExportFileName(const std::string& partNumber, std::string_view extension) {
    // The number without the program's revision after " - " names the file: "3DR25-1000_U20".
    std::string name = partNumber.substr(0, partNumber.find(" - "));
    for (char& c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7f || std::string_view("/\\:*?\"<>| ").find(c) != std::string_view::npos)
            c = '_';
    }
    if (name.empty()) name = "response";
    if (name.front() == '.') name.front() = '_';
    return name + std::string(extension);
}

}  // namespace veltrix
