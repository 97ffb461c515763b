#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "engine/filter_spec.h"

namespace veltrix {

constexpr int kMaxSections = 6;
constexpr int kSweepCapacity = 62;

// Shared results of the engine. Poles and CenterLoss are scratch state shared by the lossy and
// the near-lossless designs, which is why the order of a judgement's steps matters.
struct ResponseData {
    std::array<double, kMaxSections + 1> PoleRe{};  // index 1..n
    std::array<double, kMaxSections + 1> PoleIm{};
    double CenterLoss = 0.0;
    double BW3Ratio = 0.0;
    double SweepCount = 0.0;
    double SweepStart = 0.0;
    double SweepStop = 0.0;
    double SweepStep = 0.0;
    std::array<double, kSweepCapacity> SweepReturnLoss{};  // index 1..SweepCount
    std::array<double, kSweepCapacity> SweepAtten{};
    std::array<double, kSweepCapacity> SweepDelay{};
    int32_t SolveFailed = 0;
    int32_t Over30dB = 0;
};

struct SolvedDesign {
    double PBDEdge;
    double RippleOffset;
    double Dissipation;
};

struct SkirtOffset {
    double omegaN;     // normalised offset from the passband
    double asymmetry;  // 20 log10 of the distance from the nearer band edge, dB
};

// The double-precision unit roundoff, found by halving; the root search reads it.
double ComputeMachineEpsilon();
void SetMachineEpsilon(double eps);
double MachineEpsilon();

bool AnalysisPrecluded(double f0, double bw);
void ChebyshevPoles(ResponseData& rd, int32_t n, double rippleDb);
double PrototypeLoss(const ResponseData& rd, int32_t n, double dissipation, double omega);
double EdgeSearch(ResponseData& rd, int32_t n, double dissipation, double levelDb);
SolvedDesign DesignSolve(ResponseData& rd, int32_t n, ResonatorProfile profile, double f0, double bw,
                         double pbd, DielectricMaterial dielectric);
SolvedDesign LosslessDesignSolve(ResponseData& rd, int32_t n, double pbd);
double BandwidthRatio3dB(ResponseData& rd, int32_t n, ResonatorProfile profile, double f0, double bw,
                         double pbd, DielectricMaterial dielectric);

// Insertion loss at F0. An arithmetic failure (division by zero, overflow, invalid operation)
// inside it is reported through arithmeticFailure instead of a trap.
double InsertionLossAtF0(ResponseData& rd, int32_t n, int32_t& selStatus, ResonatorProfile profile, double f0,
                         double bw, double pbd, DielectricMaterial dielectric, bool& arithmeticFailure);

SkirtOffset SkirtTerms(double f, double f0, double bw);
double TwoSectionCorrection(int32_t n, double attenuation);
// Relative attenuation at f for a solved design: one point of the response sweep.
double RelativeAttenuation(const ResponseData& rd, const SolvedDesign& design, int32_t n, double f, double f0,
                           double bw);

// One point of the delay sweep, ns; reads BW3Ratio of the latest evaluation.
double GroupDelayAt(const ResponseData& rd, int32_t n, double f, double f0, double bw);
// One point of the return-loss sweep, dB, for the near-lossless design just solved.
double ReturnLossAt(const ResponseData& rd, const SolvedDesign& lossless, int32_t n, double f, double f0,
                    double bw);

// Returns whether the attenuation exceeds 60 dB; sets Over30dB from this computation alone.
bool AttenuationAt(ResponseData& rd, double f, int32_t n, ResonatorProfile profile, double f0, double bw,
                   double pbd, DielectricMaterial dielectric, double& attenuation);
// Returns whether any point exceeds 60 dB.
bool ResponseSweep(ResponseData& rd, const FilterSpec& spec, int32_t n, ResonatorProfile profile, double f0,
                   double pbd, double bw, DielectricMaterial dielectric);
void ReturnLossSweep(ResponseData& rd, const FilterSpec& spec, int32_t n, double f0, double bw, double pbd);

// The span fields every sweep shares.
void SetSweepSpan(ResponseData& rd, double f0, double bw, double graphHalfSpan);
// Visits the sweep's points k = 1, 2, ... at f = SweepStart + (k - 1) * SweepStep and stores SweepCount.
void ForEachSweepPoint(ResponseData& rd, const std::function<void(int k, double f)>& point);

}  // namespace veltrix
