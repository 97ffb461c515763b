#include "engine/response.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <optional>

#include "engine/root_search.h"
#include "engine/tables.h"

namespace veltrix {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDbPerNeper = 4.342944819;  // 10 / ln 10 as the loss function takes it
constexpr double kEdgeTolerance = 1e-6;
constexpr int kBracketRounds = 102;
// Brent's method ends by itself on a true bracket; the cap only guards against non-finite input.
constexpr int kMaxZeroinSteps = 1000;
constexpr int kMaxSecantSteps = 49;
constexpr int kMaxNewtonSteps = 1001;

double g_machineEpsilon = ComputeMachineEpsilon();

int32_t ClampSections(int32_t n) { return std::clamp<int32_t>(n, 1, kMaxSections); }

struct DesignParameters {
    double rippleDb;
    double m;
    double rippleOffset;
};

SolvedDesign SolveDissipation(ResponseData& rd, int32_t n, double pbd, const DesignParameters& params) {
    ChebyshevPoles(rd, n, params.rippleDb);
    const double m = params.m;
    const double level = pbd - params.rippleOffset;

    // delta = m * edge(delta): the prototype's band-edge scale depends on its own losses.
    double edge = 1.0;
    const auto excess = [&](double delta) {
        edge = EdgeSearch(rd, n, delta, level);
        return delta / edge - m;
    };
    const double h0 = excess(m);
    const double x1 = m / edge;
    const double h1 = excess(x1);
    const double delta = SecantRoot(excess, m, h0, x1, h1, 0.01, kMaxSecantSteps);
    return {edge, params.rippleOffset, delta};
}

}  // namespace

double ComputeMachineEpsilon() {
    volatile double e = 1.0;
    volatile double t;
    do {
        e = e * 0.5;
        t = e + 1.0;
    } while (t > 1.0);
    return e;
}

void SetMachineEpsilon(double eps) { g_machineEpsilon = eps; }

double MachineEpsilon() { return g_machineEpsilon; }

bool AnalysisPrecluded(double f0, double bw) {
    // A zero, negative or non-finite bandwidth is as extreme as a tiny one: never compute with it.
    if (!std::isfinite(f0) || !std::isfinite(bw) || bw <= 0.0) return true;
    if (f0 < 100.0) return true;
    return f0 / bw > 1000.0;
}

void ChebyshevPoles(ResponseData& rd, int32_t n, double rippleDb) {
    n = ClampSections(n);
    const double epsilon = std::sqrt(std::pow(10.0, 0.1 * rippleDb) - 1.0);
    const double beta = std::log(std::sqrt(1.0 / (epsilon * epsilon) + 1.0) + 1.0 / epsilon);
    const double a = std::exp(beta / n);
    const double sh = (a - 1.0 / a) / 2.0;
    const double ch = (a + 1.0 / a) / 2.0;
    for (int k = 1; k <= n; ++k) {
        const double theta = (2 * k - 1) * kPi / (2 * n);
        rd.PoleRe[k] = std::sin(theta) * sh;
        rd.PoleIm[k] = std::cos(theta) * ch;
    }
}

double PrototypeLoss(const ResponseData& rd, int32_t n, double dissipation, double omega) {
    n = ClampSections(n);
    double product = 1.0;
    for (int k = 1; k <= n; ++k) {
        const double im = omega - rd.PoleIm[k];
        const double re = dissipation + rd.PoleRe[k];
        product = product * (im * im + re * re);
    }
    return kDbPerNeper * std::log(product);
}

double EdgeSearch(ResponseData& rd, int32_t n, double dissipation, double levelDb) {
    rd.CenterLoss = PrototypeLoss(rd, n, dissipation, 0.0);
    const double target = rd.CenterLoss + levelDb;
    const auto aboveLevel = [&](double omega) { return PrototypeLoss(rd, n, dissipation, omega) - target; };
    auto fail = [&]() {
        rd.SolveFailed = 1;
        return 1.0;
    };

    const std::optional<Bracket> bracket = ExpandBracket(aboveLevel, 1.0, 1.5, kBracketRounds);
    if (!bracket) return fail();  // no bracket, or a non-finite value
    const std::optional<double> edge =
        BrentRoot(aboveLevel, *bracket, kEdgeTolerance, g_machineEpsilon, kMaxZeroinSteps);
    return edge ? *edge : fail();
}

SolvedDesign DesignSolve(ResponseData& rd, int32_t n, ResonatorProfile profile, double f0, double bw,
                         double pbd, DielectricMaterial dielectric) {
    const double qu = UnloadedQ(profile, dielectric, f0);
    const double m = f0 / (qu * bw);
    return SolveDissipation(rd, n, pbd, {0.0005, m, n % 2 == 0 ? 0.0005 : 0.0});
}

SolvedDesign LosslessDesignSolve(ResponseData& rd, int32_t n, double pbd) {
    return SolveDissipation(rd, n, pbd, {0.05, 1e-6, n % 2 == 0 ? 0.05 : 0.0});
}

double BandwidthRatio3dB(ResponseData& rd, int32_t n, ResonatorProfile profile, double f0, double bw,
                         double pbd, DielectricMaterial dielectric) {
    const SolvedDesign design = DesignSolve(rd, n, profile, f0, bw, pbd, dielectric);
    const double k = design.RippleOffset - rd.CenterLoss - 3.0;
    auto y = [&](double x) { return PrototypeLoss(rd, n, design.Dissipation, x * design.PBDEdge) + k; };

    double x = 1.0;
    double y1 = y(x - 0.0005);
    double y2 = y(x + 0.0005);
    double slope = (y2 - y1) * 1000.0;
    double ym = (y1 + y2) / 2.0;
    for (int step = 0; step < kMaxNewtonSteps && std::fabs(ym) >= 0.05; ++step) {
        x = x - ym / slope;
        y1 = y(x - 0.0005);
        y2 = y(x + 0.0005);
        slope = (y2 - y1) * 1000.0;
        ym = (y1 + y2) / 2.0;
    }
    if (!(std::fabs(ym) < 0.05)) rd.SolveFailed = 1;
    return x;
}

double InsertionLossAtF0(ResponseData& rd, int32_t n, int32_t& selStatus, ResonatorProfile profile, double f0,
                         double bw, double pbd, DielectricMaterial dielectric, bool& arithmeticFailure) {
    constexpr int kTraps = FE_DIVBYZERO | FE_OVERFLOW | FE_INVALID;
    arithmeticFailure = false;
    std::feclearexcept(FE_ALL_EXCEPT);

    const double qu = UnloadedQ(profile, dielectric, f0);
    rd.SolveFailed = 0;
    const double r = BandwidthRatio3dB(rd, n, profile, f0, bw, pbd, dielectric);
    rd.BW3Ratio = r;
    if (std::fetestexcept(kTraps)) {
        arithmeticFailure = true;
        return 0.0;
    }
    if (rd.SolveFailed) {
        selStatus = kInsufficientQ;
        return 0.0;
    }
    if (3.5 * f0 / (r * bw) > qu) selStatus = kInsufficientQ;

    const double fbw = r * bw / f0;
    const int32_t sections = std::clamp<int32_t>(n, 0, static_cast<int32_t>(SectionLossTable.size()) - 1);
    const double loss = SectionLossTable[sections] / (fbw * qu) + n * SectionExtraLoss(100.0 * fbw);
    if (std::fetestexcept(kTraps)) {
        arithmeticFailure = true;
        return 0.0;
    }
    return loss;
}

SkirtOffset SkirtTerms(double f, double f0, double bw) {
    const double f1 = f0 - 0.5 * bw;
    const double f2 = f1 + bw;
    const double omegaN = std::fabs((f - f1 * f2 / f) / bw);
    double d = 1.0;
    if (f < f1) {
        d = f / f1;
    } else if (f > f2) {
        d = f / f2;
    }
    return {omegaN, 20.0 * std::log10(d)};
}

double TwoSectionCorrection(int32_t n, double attenuation) {
    if (n == 2 && attenuation > 0.9) return attenuation <= 1.0 ? 0.9 : 0.9 * attenuation;
    return attenuation;
}

double RelativeAttenuation(const ResponseData& rd, const SolvedDesign& design, int32_t n, double f, double f0,
                           double bw) {
    const SkirtOffset skirt = SkirtTerms(f, f0, bw);
    const double a = PrototypeLoss(rd, n, design.Dissipation, skirt.omegaN * design.PBDEdge) - rd.CenterLoss +
                     design.RippleOffset + (1 - n) * skirt.asymmetry;
    return TwoSectionCorrection(n, a);
}

bool AttenuationAt(ResponseData& rd, double f, int32_t n, ResonatorProfile profile, double f0, double bw,
                   double pbd, DielectricMaterial dielectric, double& attenuation) {
    const SolvedDesign design = DesignSolve(rd, n, profile, f0, bw, pbd, dielectric);
    rd.Over30dB = 0;
    attenuation = RelativeAttenuation(rd, design, n, f, f0, bw);
    if (attenuation > 30.0) rd.Over30dB = 1;
    return attenuation > 60.0;
}

void ForEachSweepPoint(ResponseData& rd, const std::function<void(int k, double f)>& point) {
    double f = rd.SweepStart;
    for (int k = 1; k < kSweepCapacity; ++k) {
        point(k, f);
        f = k * rd.SweepStep + rd.SweepStart;
        // 60 or 61 points, as the rounding of the last step falls; never more than the arrays hold.
        if (f > rd.SweepStop || k == kSweepCapacity - 1 || std::isnan(f)) {
            rd.SweepCount = k;
            return;
        }
    }
}

void SetSweepSpan(ResponseData& rd, double f0, double bw, double graphHalfSpan) {
    rd.SweepStart = f0 - graphHalfSpan * bw;
    rd.SweepStop = f0 + graphHalfSpan * bw;
    rd.SweepStep = (rd.SweepStop - rd.SweepStart) / 60.0;
}

double GroupDelayAt(const ResponseData& rd, int32_t n, double f, double f0, double bw) {
    // The measured skirts are not symmetric: the delay leans towards the lower side.
    const double d0 = DelayLookup(0.0, n);
    double d = DelayLookup(SkirtTerms(f, f0, bw).omegaN / rd.BW3Ratio, n);
    const double t = 0.1 * std::max(0.0, d - d0);
    d = f > f0 ? d - t : d + t;
    return d / (bw * kPi * rd.BW3Ratio) * 900.0;
}

double ReturnLossAt(const ResponseData& rd, const SolvedDesign& lossless, int32_t n, double f, double f0,
                    double bw) {
    const SkirtOffset skirt = SkirtTerms(f, f0, bw);
    const double a0 = PrototypeLoss(rd, n, lossless.Dissipation, skirt.omegaN * lossless.PBDEdge) -
                      rd.CenterLoss + lossless.RippleOffset + (1 - n) * skirt.asymmetry;
    return 10.0 * std::fabs(std::log10(1.0 - std::pow(10.0, -0.1 * (a0 + 0.1))));
}

bool ResponseSweep(ResponseData& rd, const FilterSpec& spec, int32_t n, ResonatorProfile profile, double f0,
                   double pbd, double bw, DielectricMaterial dielectric) {
    const SolvedDesign design = DesignSolve(rd, n, profile, f0, bw, pbd, dielectric);
    SetSweepSpan(rd, f0, bw, spec.GraphHalfSpan);
    rd.Over30dB = 0;
    bool over60 = false;
    ForEachSweepPoint(rd, [&](int k, double f) {
        const double a = RelativeAttenuation(rd, design, n, f, f0, bw);
        if (a > 30.0) rd.Over30dB = 1;
        if (a > 60.0) over60 = true;
        rd.SweepAtten[k] = a;
        rd.SweepDelay[k] = GroupDelayAt(rd, n, f, f0, bw);
    });
    return over60;
}

void ReturnLossSweep(ResponseData& rd, const FilterSpec& spec, int32_t n, double f0, double bw, double pbd) {
    const SolvedDesign design = LosslessDesignSolve(rd, n, pbd);
    SetSweepSpan(rd, f0, bw, spec.GraphHalfSpan);
    ForEachSweepPoint(
        rd, [&](int k, double f) { rd.SweepReturnLoss[k] = ReturnLossAt(rd, design, n, f, f0, bw); });
}

}  // namespace veltrix
