#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace veltrix {

// A measured filter as the graph overlays it, one entry per frequency of the file.
struct MeasuredTrace {
    int Ports = 0;                       // 1 or 2
    std::vector<double> FrequenciesMhz;  // strictly increasing
    std::vector<double> AttenuationDb;   // -20 log10 |S21|, positive = loss; empty for a 1-port file
    std::vector<double> ReturnLossDb;    // -20 log10 |S11|
    std::vector<double> DelayNs;         // from S21's unwrapped phase; empty for a 1-port file
    std::vector<double> PhaseRad;        // S21's phase, unwrapped; empty for a 1-port file
};

struct MeasuredRead {
    bool Ok = false;
    bool Cancelled = false;  // the progress callback asked to stop
    MeasuredTrace Trace;
    std::string Problem;  // one line "FILE:LINE: what" when !Ok
    std::string Notice;   // one line "FILE:LINE: what" of data read past (noise data); "" when none
};

// The most frequencies one file may hold; the reader's memory grows with them, not with the text.
constexpr std::uint64_t kMaxTouchstoneRows = 10'000'000;

// Called as the file is read: false stops the read (Cancelled).
using TouchstoneProgress = std::function<bool(std::uint64_t bytesRead, std::uint64_t bytesTotal)>;

// name is the file as the user gave it (shown escaped in a problem); its extension (.s1p/.s2p)
// gives the port count of a version 1.1 text.
MeasuredRead ParseTouchstone(std::string_view text, const std::string& name);
MeasuredRead ReadTouchstoneFile(const std::string& path, const TouchstoneProgress& progress = {});

// The group delay (ns) of a phase (radians, unwrapped) over frequency (MHz): central differences
// inside, one-sided at the ends.
std::vector<double> GroupDelayNs(const std::vector<double>& frequenciesMhz,
                                 const std::vector<double>& phaseRad);

// The aperture a measured delay is fitted over: +/- this fraction of the centre frequency.
constexpr double kDelayApertureFraction = 0.0025;

// The group delay (ns) at each frequency as the slope of the unwrapped phase fitted by least squares
// over +/- halfApertureMhz around it (at least its neighbours): noise that a two-point difference
// turns into swings of tens of ns averages out.
std::vector<double> FittedDelayNs(const std::vector<double>& frequenciesMhz,
                                  const std::vector<double>& phaseRad, double halfApertureMhz);
// The same fit at one frequency; NaN outside the frequencies.
double FittedDelayAtNs(const std::vector<double>& frequenciesMhz, const std::vector<double>& phaseRad,
                       double atMhz, double halfApertureMhz);

// Replaces a 2-port trace's delays by the fit over +/- kDelayApertureFraction of centreMhz.
void FitDelays(MeasuredTrace& trace, double centreMhz);

}  // namespace veltrix
