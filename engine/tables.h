#pragma once

#include <array>
#include <cstdint>

#include "engine/filter_spec.h"

namespace veltrix {

// Insertion-loss coefficient by number of sections (entries 0 and 1 unused).
extern const std::array<double, 17> SectionLossTable;

constexpr int kDelayPoints = 58;
struct DelayPoint {
    int32_t x;  // offset in 3 dB half-bandwidths, times 1000
    int32_t y;  // normalised group delay, times 1000
};
// Rows for n = 2 to 6 at indices 0 to 4.
extern const std::array<std::array<DelayPoint, kDelayPoints>, 5> NormalisedDelayTable;

constexpr int kMaxBandwidthRows = 32;  // 0, 100, ..., 3100 MHz
struct MaxBandwidthRow {
    double profile4mm;
    double profile6mm;
};
struct MaxBandwidthHalves {
    std::array<MaxBandwidthRow, kMaxBandwidthRows> orbis;
    std::array<MaxBandwidthRow, kMaxBandwidthRows> other;
};
// Percent of the centre frequency.
extern const MaxBandwidthHalves MaxBandwidthTableDH;
extern const MaxBandwidthHalves MaxBandwidthTableDR;

double UnloadedQ(ResonatorProfile profile, DielectricMaterial dielectric, double f0);
double SectionExtraLoss(double percentBandwidth3dB);
double DelayLookup(double x, int32_t sections);
double MaxBandwidth(double f0, ResonatorProfile profile, DielectricMaterial dielectric,
                    MountingStyle mounting);

}  // namespace veltrix
