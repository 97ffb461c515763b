#include "compare/compare.h"

#include <algorithm>
#include <cmath>

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
    return {};
}

void Comparison::Remove(int index) {
    if (index < 0 || index >= static_cast<int>(parts_.size())) {
        return;
    }
    parts_.erase(parts_.begin() + index);
    Recompute();
}

void Comparison::SetLimits(std::vector<StopbandRequirement> limits) {
    limits_ = std::move(limits);
    Recompute();
}

void Comparison::SetGraphWidth(int bandwidths) {
    width_ = std::clamp(bandwidths, 1, 6);
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

CompareSpan Comparison::Span() const {
    if (parts_.empty()) {
        return {};
    }
    const ResponseTable first = ComputeResponseTable(parts_.front(), {2, 1.0});
    const double half = width_ * first.BandwidthMhz / std::pow(2.0, zoom_) / 2.0;
    const double from = std::max(first.CentreFrequencyMhz - half, first.CentreFrequencyMhz * 1e-3);
    return {from, first.CentreFrequencyMhz + half};
}

void Comparison::MoveMarker(int steps) { marker_ = std::clamp(marker_ + steps, 0, kCompareSweepSteps); }

void Comparison::PlaceMarker(double frequencyMhz) {
    const CompareSpan span = Span();
    if (span.ToMhz <= span.FromMhz) {
        return;
    }
    const double t = (frequencyMhz - span.FromMhz) / (span.ToMhz - span.FromMhz);
    marker_ = std::clamp(static_cast<int>(std::lround(t * kCompareSweepSteps)), 0, kCompareSweepSteps);
}

double Comparison::MarkerMhz() const {
    const CompareSpan span = Span();
    return span.FromMhz + (span.ToMhz - span.FromMhz) * marker_ / kCompareSweepSteps;
}

std::vector<MarkerRow> Comparison::MarkerRows() const {
    std::vector<MarkerRow> rows;
    for (size_t i = 0; i < curves_.size(); ++i) {
        const CompareCurve& c = curves_[i];
        rows.push_back(
            {c.Name, c.AttenuationDbc[marker_], c.ReturnLossDb[marker_], c.DelayNs[marker_], margins_[i]});
    }
    return rows;
}

void Comparison::Recompute() {
    curves_.clear();
    margins_.clear();
    const CompareSpan span = Span();
    for (const FilterSpec& spec : parts_) {
        const ResponseTable table =
            ComputeResponseTable(spec, {kCompareSweepSteps + 1, 0.0, span.FromMhz, span.ToMhz});
        CompareCurve curve{table.PartNumber, {}, {}, {}, {}};
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
        margins_.push_back(GuaranteedStopbands(spec, limits_));
    }
}

}  // namespace veltrix
