#include "tabular/report.h"

#include <cstdio>

namespace veltrix {

namespace {

template <typename... Args>
std::string Format(const char* format, Args... args) {
    const int length = std::snprintf(nullptr, 0, format, args...);
    std::string line(length > 0 ? length : 0, '\0');
    std::snprintf(line.data(), line.size() + 1, format, args...);
    return line;
}

}  // namespace

std::vector<std::string> BuildTabularReport(const FilterSpec& spec, ResponseData& rd) {
    if (spec.SelStatus != kSelectionValid) {
        return {" No Response Data.", " ", " There is an error on the filter selection screen."};
    }

    std::vector<std::string> lines{" ", "Veltrix Ceramic Filters from Norvane Microwave, Inc.", " "};
    lines.push_back(Format(" Response Data for %dD%c%d%c-%.5g/%c%.4g-1.8", static_cast<int>(spec.Sections),
                           spec.Dielectric, static_cast<int>(spec.Profile + 1), spec.Mounting, spec.F0,
                           spec.PBDCode, spec.BW));
    lines.insert(lines.end(), {" ", "  Frequency     Attenuation    Return Loss     Delay   ", " "});

    const int32_t n = spec.Sections;
    const SolvedDesign design = DesignSolve(rd, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric);
    SetSweepSpan(rd, spec.F0, spec.BW, spec.GraphHalfSpan);
    // The report lists the insertion loss, so the centre loss is added to every relative figure.
    int32_t status = spec.SelStatus;
    bool arithmeticFailure = false;
    const double il0 = InsertionLossAtF0(rd, n, status, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric,
                                         arithmeticFailure);

    ForEachSweepPoint(rd, [&](int k, double f) {
        const double a = RelativeAttenuation(rd, design, n, f, spec.F0, spec.BW);
        lines.push_back(Format("%8.2f MHz   %7.1f dB    %7.1f dB    %7.2f ns", f, a + il0, rd.SweepReturnLoss[k],
                               rd.SweepDelay[k]));
    });
    lines.emplace_back(" ");

    if (spec.F1 > 0.0 || spec.F2 > 0.0) {
        lines.insert(lines.end(), {" ", "  Stopband Point   Frequency    Attenuation", " "});
        double attenuation = 0.0;
        if (spec.F1 > 0.0) {
            AttenuationAt(rd, spec.F1, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric, attenuation);
            lines.push_back(Format("        F1      %8.2f MHz   %7.1f dBc", spec.F1, attenuation));
        }
        if (spec.F2 > 0.0) {
            AttenuationAt(rd, spec.F2, n, spec.Profile, spec.F0, spec.BW, spec.PBD, spec.Dielectric, attenuation);
            lines.push_back(Format("        F2      %8.2f MHz   %7.1f dBc", spec.F2, attenuation));
        }
        lines.emplace_back(" ");
    }
    return lines;
}

}  // namespace veltrix
