#pragma once

namespace veltrix {

// The manufacturing tolerances the Tolerances dialog and the Notes page state: the insertion loss may
// exceed its value by 10 % at most; the attenuation at a point may vary by 10 % either way, and the
// maker guarantees it only up to 60 dBc below 2000 MHz and 30 dBc from there.
inline constexpr double kInsertionLossAllowance = 1.10;
inline constexpr double kAttenuationAllowance = 0.90;
// "Actual 3dB bandwidth may be wider than specified (typically 10-20%)."
inline constexpr double kWider3dBBandwidthLow = 1.10;
inline constexpr double kWider3dBBandwidthHigh = 1.20;

struct WorstCaseAttenuation {
    double Dbc = 0.0;
    bool Capped = false;  // the guarantee, not the tolerance, sets it
};

// The least a part can show, from the engine's typical figures.
double WorstCaseInsertionLossDb(double typicalDb);
WorstCaseAttenuation WorstCaseAttenuationDbc(double computedDbc, double f0);

}  // namespace veltrix
