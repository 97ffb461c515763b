#include "compare/compare.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "exports/exports.h"

namespace veltrix {

std::string Comparison::Add(const FilterSpec& spec) {
    const ResponseTable table = ComputeResponseTable(spec);
    if (!table.Standard) {
        return "Only a standard part can be compared: " + table.Refusal;
    }
    for (const CompareCurve& curve : curves_) {
        if (curve.Name == table.PartNumber) {
            return table.PartNumber + " is already in the comparison";
        }
    }
    if (static_cast<int>(parts_.size()) >= kMaxComparedParts) {
        return "The comparison holds at most 6 parts; remove one before adding " + table.PartNumber;
    }
    parts_.push_back(spec);
    Recompute();
    RecomputeMeasured();
    return {};
}

void Comparison::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(parts_.size())) {
        return;
    }
    parts_.erase(parts_.begin() + index);
    if (reference_ >= static_cast<int>(parts_.size()) || reference_ == index)
        reference_ = 0;
    else if (reference_ > index)
        --reference_;
    Recompute();
    RecomputeMeasured();
}

void Comparison::SetLimits(std::vector<StopbandRequirement> limits) {
    limits_ = std::move(limits);
    widthChosen_ = false;
    Recompute();
    RecomputeMeasured();
}

void Comparison::SetRequirement(FinderRequirement requirement) {
    limits_ = requirement.Stopbands;
    requirement_ = std::move(requirement);
    Recompute();
    RecomputeMeasured();
}

FinderRequirement Comparison::JudgedRequirement() const {
    if (requirement_) return *requirement_;
    FinderRequirement own;
    own.Stopbands = limits_;
    if (parts_.empty()) return own;
    const FilterSpec& part = parts_[static_cast<size_t>(reference_)];
    const ResponseTable table = ComputeResponseTable(part, {2, 1.0});
    own.F0 = table.CentreFrequencyMhz;
    own.BW = part.BW;
    own.PassbandIndex = std::max(0, PassbandIndex(part.PBD));
    return own;
}

void Comparison::SetReference(int part) {
    if (part < 0 || part >= static_cast<int>(parts_.size()) || part == reference_) return;
    reference_ = part;
    RecomputeMeasured();
}

void Comparison::SetGraphWidth(int bandwidths) {
    width_ = std::clamp(bandwidths, 1, 6);
    widthChosen_ = true;
    Recompute();
}

void Comparison::ZoomIn() {
    zoom_ = std::min(zoom_ + 1, kMaxCompareZoom);
    Recompute();
}

void Comparison::ZoomOut() {
    zoom_ = std::max(zoom_ - 1, 0);
    Recompute();
}

double Comparison::HalfSpanMhz(double centreMhz, double bandwidthMhz) const {
    double half = width_ * bandwidthMhz / 2.0;
    if (widthChosen_) return half;
    // A tenth of the distance beyond the farthest point, so its limit is not drawn on the frame.
    for (const StopbandRequirement& limit : limits_)
        half = std::max(half, std::abs(limit.FrequencyMhz - centreMhz) * 1.1);
    return half;
}

CompareSpan Comparison::Span() const {
    if (parts_.empty()) {
        if (!measured_ || measured_->FrequenciesMhz.empty()) return {};
        const double from = measured_->FrequenciesMhz.front();
        const double to = measured_->FrequenciesMhz.back();
        const double half = (to - from) / std::pow(2.0, zoom_) / 2.0;
        return {(from + to) / 2.0 - half, (from + to) / 2.0 + half};
    }
    const ResponseTable first = ComputeResponseTable(parts_.front(), {2, 1.0});
    const double half = HalfSpanMhz(first.CentreFrequencyMhz, first.BandwidthMhz) / std::pow(2.0, zoom_);
    const double from = std::max(first.CentreFrequencyMhz - half, first.CentreFrequencyMhz * 1e-3);
    return {from, first.CentreFrequencyMhz + half};
}

int Comparison::MarkerIndex() const {
    const CompareSpan span = Span();
    if (span.ToMhz <= span.FromMhz) return kCompareSweepSteps / 2;
    const double t = (MarkerMhz() - span.FromMhz) / (span.ToMhz - span.FromMhz);
    return std::clamp(static_cast<int>(std::lround(t * kCompareSweepSteps)), 0, kCompareSweepSteps);
}

void Comparison::MoveMarker(int steps) {
    const CompareSpan span = Span();
    const int index = std::clamp(MarkerIndex() + steps, 0, kCompareSweepSteps);
    markerMhz_ = span.FromMhz + (span.ToMhz - span.FromMhz) * index / kCompareSweepSteps;
    RecomputeMarker();
}

void Comparison::PlaceMarker(double frequencyMhz) {
    const CompareSpan span = Span();
    if (span.ToMhz <= span.FromMhz || std::isnan(frequencyMhz)) {
        return;
    }
    markerMhz_ = std::clamp(frequencyMhz, span.FromMhz, span.ToMhz);
    RecomputeMarker();
}

double Comparison::MarkerMhz() const {
    const CompareSpan span = Span();
    if (!markerMhz_) return span.FromMhz + (span.ToMhz - span.FromMhz) / 2.0;
    return std::clamp(*markerMhz_, span.FromMhz, span.ToMhz);
}

void Comparison::RecomputeMarker() {
    markerRows_.clear();
    const double at = MarkerMhz();
    for (size_t i = 0; i < parts_.size(); ++i) {
        // The engine's own figures at the marker, not the curve's between two of its points.
        const ResponseTable table = ComputeResponseAt(parts_[i], {at});
        MarkerRow row{curves_[i].Name,
                      std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::quiet_NaN(),
                      std::numeric_limits<double>::quiet_NaN(),
                      margins_[i],
                      std::numeric_limits<double>::quiet_NaN()};
        if (!table.Points.empty()) {
            const ResponsePoint& p = table.Points.front();
            row.AttenuationDbc = p.AttenuationDb - table.InsertionLossDb;
            row.ReturnLossDb = p.ReturnLossDb;
            row.DelayNs = p.DelayNs;
            row.InsertionLossDb = p.AttenuationDb;
        }
        markerRows_.push_back(std::move(row));
    }
}

void Comparison::SetMeasured(std::string name, MeasuredTrace trace) {
    measured_ = std::move(trace);
    measuredCurve_.Name = std::move(name);
    RecomputeMeasured();
}

void Comparison::RemoveMeasured() {
    measured_.reset();
    measuredCurve_ = {};
    deviations_ = {};
    judgement_ = {};
}

MarkerRow Comparison::MeasuredAtMarker() const {
    constexpr double kNone = std::numeric_limits<double>::quiet_NaN();
    MarkerRow row{measuredCurve_.Name, kNone, kNone, kNone, {}, kNone};
    const std::vector<double>& f = measuredCurve_.FrequenciesMhz;
    const double at = MarkerMhz();
    if (!measured_ || f.empty() || at < f.front() || at > f.back()) return row;
    row.ReturnLossDb = InterpolateAt(f, measuredCurve_.ReturnLossDb, at);
    if (!measuredCurve_.AttenuationDbc.empty()) {
        row.AttenuationDbc = InterpolateAt(f, measuredCurve_.AttenuationDbc, at);
        row.DelayNs = InterpolateAt(f, measuredCurve_.DelayNs, at);
        row.InsertionLossDb = row.AttenuationDbc + measuredCurve_.ReferenceLossDb;
    }
    return row;
}

void Comparison::RecomputeMeasured() {
    if (!measured_) return;
    MeasuredTrace& t = *measured_;
    const FinderRequirement judged = JudgedRequirement();
    // Without a part or a requirement there is no centre to fit the delay around: the file's middle.
    const double centre = parts_.empty() && !requirement_ && !t.FrequenciesMhz.empty()
                              ? 0.5 * (t.FrequenciesMhz.front() + t.FrequenciesMhz.back())
                              : judged.F0;
    FitDelays(t, centre);
    measuredCurve_.FrequenciesMhz = t.FrequenciesMhz;
    measuredCurve_.ReturnLossDb = t.ReturnLossDb;
    measuredCurve_.DelayNs = t.DelayNs;
    measuredCurve_.AttenuationDbc.clear();
    deviations_ = {};
    judgement_ = {};
    if (t.AttenuationDb.empty() || t.FrequenciesMhz.empty()) return;
    // The parts' curves are in dBc: their attenuation less their insertion loss at F0. The measured
    // loss is taken against its own loss at the judged F0, as the requirement reads it, so that the
    // curves meet there and differ only in shape; the loss itself is in the judgement. Without a part,
    // or with F0 outside the file, its least loss stands in.
    double reference = *std::min_element(t.AttenuationDb.begin(), t.AttenuationDb.end());
    if (!parts_.empty() || requirement_) {
        if (judged.F0 >= t.FrequenciesMhz.front() && judged.F0 <= t.FrequenciesMhz.back())
            reference = InterpolateAt(t.FrequenciesMhz, t.AttenuationDb, judged.F0);
        judgement_ = JudgeSample(t, judged);
    }
    if (!parts_.empty()) {
        std::vector<double> points;
        for (const StopbandRequirement& limit : limits_) points.push_back(limit.FrequencyMhz);
        deviations_ = CompareWithModel(parts_[static_cast<size_t>(reference_)], t, points);
    }
    measuredCurve_.ReferenceLossDb = reference;
    for (const double a : t.AttenuationDb) measuredCurve_.AttenuationDbc.push_back(a - reference);
}

void Comparison::Recompute() {
    curves_.clear();
    margins_.clear();
    const CompareSpan span = Span();
    for (const FilterSpec& spec : parts_) {
        const ResponseTable table =
            ComputeResponseTable(spec, {kCompareSweepSteps + 1, 0.0, span.FromMhz, span.ToMhz});
        CompareCurve curve{table.PartNumber, {}, {}, {}, {}, table.InsertionLossDb};
        for (const ResponsePoint& p : table.Points) {
            curve.FrequenciesMhz.push_back(p.FrequencyMhz);
            curve.AttenuationDbc.push_back(p.AttenuationDb - table.InsertionLossDb);
            curve.ReturnLossDb.push_back(p.ReturnLossDb);
            curve.DelayNs.push_back(p.DelayNs);
        }
        curve.FrequenciesMhz.resize(kCompareSweepSteps + 1);
        curve.AttenuationDbc.resize(kCompareSweepSteps + 1);
        curve.ReturnLossDb.resize(kCompareSweepSteps + 1);
        curve.DelayNs.resize(kCompareSweepSteps + 1);
        curves_.push_back(std::move(curve));
        margins_.push_back(WorstCaseStopbands(spec, limits_));
    }
    RecomputeMarker();
}

}  // namespace veltrix
