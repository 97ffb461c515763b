#include "measured/comparison.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "exports/exports.h"

namespace veltrix {
namespace {

std::string Mhz(double f) {
    char text[48];
    std::snprintf(text, sizeof text, "%.3f MHz", f);
    return text;
}

// Where ys first falls to level walking from the frequency outer towards inner, interpolated. Walking
// in from the skirt, a passband ripple as high as the level cannot be taken for an edge.
std::optional<double> Crossing(const std::vector<double>& xs, const std::vector<double>& ys, double outer,
                               double inner, double level) {
    const long n = static_cast<long>(xs.size());
    const int step = outer < inner ? 1 : -1;
    long k = step > 0 ? std::lower_bound(xs.begin(), xs.end(), outer) - xs.begin()
                      : (std::upper_bound(xs.begin(), xs.end(), outer) - xs.begin()) - 1;
    for (; k >= 0 && k + step >= 0 && k + step < n; k += step) {
        if ((xs[k + step] - inner) * step > 0) break;
        const double a = ys[k] - level;
        const double b = ys[k + step] - level;
        if (a > 0.0 && b <= 0.0) return xs[k] + (xs[k + step] - xs[k]) * a / (a - b);
    }
    return std::nullopt;
}

}  // namespace

double InterpolateAt(const std::vector<double>& xs, const std::vector<double>& ys, double x) {
    if (xs.empty()) return 0.0;
    if (x <= xs.front()) return ys.front();
    if (x >= xs.back()) return ys.back();
    const size_t i = std::upper_bound(xs.begin(), xs.end(), x) - xs.begin();
    const double t = (x - xs[i - 1]) / (xs[i] - xs[i - 1]);
    return ys[i - 1] + t * (ys[i] - ys[i - 1]);
}

MeasuredComparison CompareWithModel(const FilterSpec& spec, const MeasuredTrace& trace,
                                    const std::vector<double>& extraPointsMhz) {
    MeasuredComparison c;
    const ResponseTable probe = ComputeResponseAt(spec, {});
    if (!probe.Standard) {
        c.Refusal = probe.Refusal;
        return c;
    }
    c.Standard = true;
    c.PartNumber = probe.PartNumber;
    const double f0 = probe.CentreFrequencyMhz;
    const double bw = probe.BandwidthMhz;
    c.SpanFromMhz = f0 - spec.GraphHalfSpan * bw;
    c.SpanToMhz = f0 + spec.GraphHalfSpan * bw;

    std::vector<double> inside;
    std::vector<size_t> index;
    for (size_t i = 0; i < trace.FrequenciesMhz.size(); ++i) {
        const double f = trace.FrequenciesMhz[i];
        if (f >= c.SpanFromMhz && f <= c.SpanToMhz) {
            inside.push_back(f);
            index.push_back(i);
        }
    }
    const bool twoPort = trace.Ports == 2;
    const ResponseTable model = ComputeResponseAt(spec, inside);
    c.Points.reserve(inside.size());
    for (size_t k = 0; k < inside.size(); ++k) {
        ComparedPoint p;
        p.FrequencyMhz = inside[k];
        p.Model = {model.Points[k].AttenuationDb, model.Points[k].ReturnLossDb, model.Points[k].DelayNs,
                   true};
        const size_t i = index[k];
        p.Measured.ReturnLossDb = trace.ReturnLossDb[i];
        p.Measured.HasAttenuation = twoPort;
        if (twoPort) {
            p.Measured.AttenuationDb = trace.AttenuationDb[i];
            p.Measured.DelayNs = trace.DelayNs[i];
        }
        c.Points.push_back(p);
    }
    if (!twoPort || trace.FrequenciesMhz.empty()) {
        c.NoDeviations = "the measurement has no S21";
        return c;
    }
    if (c.Points.empty()) {
        char span[96];
        std::snprintf(span, sizeof span, "%.3f to %.3f MHz", c.SpanFromMhz, c.SpanToMhz);
        c.NoDeviations = std::string("no measured frequency lies inside the span ") + span;
        return c;
    }

    // The model at the summary's frequencies, computed as a row of the report.
    const double lower = f0 - 0.5 * bw;
    const double upper = f0 + 0.5 * bw;
    struct Named {
        std::string key, label;
        double f;
    };
    std::vector<Named> named{
        {"insertion_loss_db", "Insertion loss at " + Mhz(f0), f0},
        {"lower_edge_db", "Attenuation at the lower passband edge " + Mhz(lower), lower},
        {"upper_edge_db", "Attenuation at the upper passband edge " + Mhz(upper), upper}};
    if (spec.F1 > 0.0) named.push_back({"stopband_f1_db", "Attenuation at F1 " + Mhz(spec.F1), spec.F1});
    if (spec.F2 > 0.0) named.push_back({"stopband_f2_db", "Attenuation at F2 " + Mhz(spec.F2), spec.F2});
    for (size_t i = 0; i < extraPointsMhz.size(); ++i)
        named.push_back({"requirement_" + std::to_string(i + 1) + "_db",
                         "Attenuation at " + Mhz(extraPointsMhz[i]), extraPointsMhz[i]});
    std::vector<double> at;
    for (const Named& n : named) at.push_back(n.f);
    const ResponseTable atModel = ComputeResponseAt(spec, at);
    const auto& mf = trace.FrequenciesMhz;
    const auto& ma = trace.AttenuationDb;
    for (size_t i = 0; i < named.size(); ++i) {
        if (named[i].f < mf.front() || named[i].f > mf.back()) continue;  // not measured there
        const double m = InterpolateAt(mf, ma, named[i].f);
        const double model = atModel.Points[i].AttenuationDb;
        c.Summary.push_back({named[i].key, named[i].label, named[i].f, model, m, m - model});
    }

    // The largest attenuation deviation among the measured points inside the passband.
    const ComparedPoint* worst = nullptr;
    for (const ComparedPoint& p : c.Points) {
        if (p.FrequencyMhz < lower || p.FrequencyMhz > upper) continue;
        const double d = p.Measured.AttenuationDb - p.Model.AttenuationDb;
        if (!worst || std::abs(d) > std::abs(worst->Measured.AttenuationDb - worst->Model.AttenuationDb))
            worst = &p;
    }
    if (worst)
        c.Summary.push_back({"passband_largest_deviation_db",
                             "Largest passband deviation, at " + Mhz(worst->FrequencyMhz),
                             worst->FrequencyMhz, worst->Model.AttenuationDb, worst->Measured.AttenuationDb,
                             worst->Measured.AttenuationDb - worst->Model.AttenuationDb});

    // The shift: the centre of the measured edges at the model's edge level above its centre loss.
    const double modelCentre = atModel.Points[0].AttenuationDb;
    const double edgeRise =
        0.5 * (atModel.Points[1].AttenuationDb + atModel.Points[2].AttenuationDb) - modelCentre;
    double centre = f0;
    bool found = false;
    for (int iteration = 0; iteration < 8; ++iteration) {
        const double level = InterpolateAt(mf, ma, centre) + edgeRise;
        const auto lo = Crossing(mf, ma, c.SpanFromMhz, centre, level);
        const auto hi = Crossing(mf, ma, c.SpanToMhz, centre, level);
        if (!lo || !hi) break;
        const double next = 0.5 * (*lo + *hi);
        found = true;
        const bool settled = std::abs(next - centre) < 1e-9 * f0;
        centre = next;
        if (settled) break;
    }
    if (found) {
        c.Summary.push_back({"centre_frequency_mhz", "Centre frequency (passband edges' mid-point)", f0, f0,
                             centre, centre - f0});
        const double m = InterpolateAt(mf, ma, centre);
        c.Summary.push_back({"centre_loss_db", "Loss at the measured centre " + Mhz(centre), centre,
                             modelCentre, m, m - modelCentre});
    }
    return c;
}

}  // namespace veltrix
