#include "report/report.h"

#include "engine/rules.h"
#include "report/fixed_format.h"
#include "version/version.h"

#include <cmath>
#include <cstdio>
#include <utility>

namespace veltrix {

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    // One pass into a stack buffer covers every ordinary line; only absurd figures need a second.
    char buffer[128];
    const int length = std::snprintf(buffer, sizeof buffer, format, args...);
    if (length < 0) return std::string();
    if (static_cast<size_t>(length) < sizeof buffer) return std::string(buffer, length);
    std::string line(length, '\0');
    std::snprintf(line.data(), line.size() + 1, format, args...);
    return line;
}

}  // namespace

std::string TabularDescription(const FilterSpec& spec) {
    if (spec.SelStatus != kSelectionValid) {
        return "No Response Data. There is an error on the filter selection screen.";
    }
    return "Tabular response of " + FormatPartNumber(spec);
}

std::vector<std::string> BuildTabularReport(const FilterSpec& spec, ResponseData& rd) {
    if (spec.SelStatus != kSelectionValid) {
        return {" No Response Data.", " ", " There is an error on the filter selection screen."};
    }

    std::vector<std::string> lines{" ", "Veltrix Ceramic Filters from Norvane Microwave, Inc.", " "};
    lines.push_back(Format(" Response Data for %dD%c%c%c-%.5g/%c%.4g-" VELTRIX_VERSION,
                           static_cast<int>(spec.Sections), CodeOf(spec.Dielectric), CodeOf(spec.Profile),
                           CodeOf(spec.Mounting), spec.F0, CodeOf(spec.Passband), spec.BW));
    lines.insert(lines.end(), {" ", "  Frequency     Attenuation    Return Loss     Delay   ", " "});

    const int32_t n = spec.Sections;
    const SolvedDesign design = DesignSolve(rd, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric);
    SetSweepSpan(rd, spec.F0, spec.BW, spec.GraphHalfSpan);
    // The report lists the insertion loss, so the centre loss is added to every relative figure.
    int32_t status = spec.SelStatus;
    bool arithmeticFailure = false;
    const double il0 = InsertionLossAtF0(rd, n, status, spec.Profile, spec.F0, spec.BW, spec.PBD,
                                         spec.Dielectric, arithmeticFailure);

    ForEachSweepPoint(rd, [&](int k, double f) {
        const double a = RelativeAttenuation(rd, design, n, f, spec.F0, spec.BW);
        // "%8.2f MHz   %7.1f dB    %7.1f dB    %7.2f ns"
        std::string line;
        line.reserve(64);
        AppendFixed(line, f, 8, 2);
        line += " MHz   ";
        AppendFixed(line, a + il0, 7, 1);
        line += " dB    ";
        AppendFixed(line, rd.SweepReturnLoss[k], 7, 1);
        line += " dB    ";
        AppendFixed(line, rd.SweepDelay[k], 7, 2);
        line += " ns";
        lines.push_back(std::move(line));
    });
    lines.emplace_back(" ");

    if (spec.F1 > 0.0 || spec.F2 > 0.0) {
        lines.insert(lines.end(), {" ", "  Stopband Point   Frequency    Attenuation", " "});
        auto stopbandLine = [&](const char* format, double f) {
            if (!(f > 0.0)) return;
            double attenuation = 0.0;
            AttenuationAt(rd, f, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric, attenuation);
            // As on the screen, a point whose attenuation overflows is not listed.
            if (std::isfinite(attenuation)) lines.push_back(Format(format, f, attenuation));
        };
        stopbandLine("        F1      %8.2f MHz   %7.1f dBc", spec.F1);
        stopbandLine("        F2      %8.2f MHz   %7.1f dBc", spec.F2);
        lines.emplace_back(" ");
    }
    return lines;
}

}  // namespace veltrix
