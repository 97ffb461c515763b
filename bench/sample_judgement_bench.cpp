#include <benchmark/benchmark.h>

#include <cmath>

#include "compare/compare.h"
#include "exports/exports.h"

namespace {

using namespace veltrix;

// 1000 MHz, 25 MHz at 1.0 dB with 960:20 and 1040:18: the six best parts of the finder, and a
// 100,000-point sample of the first, 0.4 % high and 0.35 dB lossier, over 900 to 1100 MHz.
struct SixPartsAndASample {
    FinderRequirement requirement;
    Comparison comparison;
    MeasuredTrace sample;

    SixPartsAndASample() {
        requirement.F0 = 1000.0;
        requirement.BW = 25.0;
        requirement.PassbandIndex = 1;
        requirement.Stopbands = {{960.0, 20.0}, {1040.0, 18.0}};
        comparison.SetRequirement(requirement);
        const FinderResults found = FindParts(requirement);
        for (size_t i = 0; i < 6 && i < found.Parts.size(); ++i) {
            const FoundPart& p = found.Parts[i];
            comparison.Add(FinderSpec(requirement, p.Sections, p.Profile, p.Dielectric, p.Mounting));
        }
        constexpr int kPoints = 100000;
        std::vector<double> at;
        for (int i = 0; i < kPoints; ++i) at.push_back((900.0 + 200.0 * i / (kPoints - 1)) / 1.004);
        const ResponseTable model = ComputeResponseAt(comparison.Parts().front(), at);
        sample.Ports = 2;
        double phase = 0.0;
        for (int i = 0; i < kPoints; ++i) {
            const double f = at[i] * 1.004;
            if (i > 0)
                phase -= 2.0 * M_PI * model.Points[i].DelayNs / 1000.0 * (f - sample.FrequenciesMhz.back());
            sample.FrequenciesMhz.push_back(f);
            sample.AttenuationDb.push_back(model.Points[i].AttenuationDb + 0.35);
            sample.ReturnLossDb.push_back(model.Points[i].ReturnLossDb);
            sample.PhaseRad.push_back(phase);
            sample.DelayNs.push_back(model.Points[i].DelayNs);
        }
    }
};

// Adding the file: the fitted delay over the whole sweep, the deviations from the reference part's
// model and the judgement against the requirement.
void BM_JudgeSampleBesideSixParts(benchmark::State& state) {
    SixPartsAndASample six;
    for (auto _ : state) {
        six.comparison.SetMeasured("sample.s2p", six.sample);
        benchmark::DoNotOptimize(six.comparison.Judgement().Meets);
    }
    state.counters["parts"] = static_cast<double>(six.comparison.Parts().size());
    state.counters["points"] = static_cast<double>(six.sample.FrequenciesMhz.size());
    state.counters["meets"] = six.comparison.Judgement().Meets ? 1.0 : 0.0;
}
BENCHMARK(BM_JudgeSampleBesideSixParts)->Unit(benchmark::kMillisecond);

// Choosing another legend part judges the same file again against its model.
void BM_ChooseAnotherReference(benchmark::State& state) {
    SixPartsAndASample six;
    six.comparison.SetMeasured("sample.s2p", six.sample);
    int part = 0;
    for (auto _ : state) {
        part = (part + 1) % static_cast<int>(six.comparison.Parts().size());
        six.comparison.SetReference(part);
        benchmark::DoNotOptimize(six.comparison.Judgement().Meets);
    }
}
BENCHMARK(BM_ChooseAnotherReference)->Unit(benchmark::kMillisecond);

// The judgement alone on the same file.
void BM_JudgeSampleAlone(benchmark::State& state) {
    SixPartsAndASample six;
    for (auto _ : state) benchmark::DoNotOptimize(JudgeSample(six.sample, six.requirement).Meets);
}
BENCHMARK(BM_JudgeSampleAlone)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
