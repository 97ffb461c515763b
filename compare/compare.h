#pragma once

#include <optional>
#include <string>
#include <vector>

#include "compare/sample_judgement.h"
#include "engine/filter_spec.h"
#include "finder/finder.h"
#include "measured/comparison.h"
#include "measured/touchstone_reader.h"

namespace veltrix {

constexpr int kMaxComparedParts = 6;
constexpr int kCompareSweepSteps = 180;
constexpr int kDefaultCompareWidth = 3;  // bandwidths, one of the graph-width choices 1..6
constexpr int kMaxCompareZoom = 4;       // each step halves the span

// One trace: a computed part, or a measured file over frequencies of its own.
struct CompareCurve {
    std::string Name;
    std::vector<double> FrequenciesMhz;
    std::vector<double> AttenuationDbc;
    std::vector<double> ReturnLossDb;
    std::vector<double> DelayNs;
    // The loss the dBc figures are taken against: adding it back gives the insertion loss in dB.
    double ReferenceLossDb = 0.0;
};

struct CompareSpan {
    double FromMhz = 0.0;
    double ToMhz = 0.0;
};

// A figure that is not there (outside a measured file's range, or a 1-port file's attenuation and
// delay) is NaN.
struct MarkerRow {
    std::string Name;
    double AttenuationDbc = 0.0;
    double ReturnLossDb = 0.0;
    double DelayNs = 0.0;
    std::vector<StopbandResult> Margins;  // at each requirement point, as the finder judges them
    double InsertionLossDb = 0.0;         // the absolute loss at the marker
};

class Comparison {
  public:
    // "" when added, else why not: a part that is not standard, a repeat, or a seventh part.
    std::string Add(const FilterSpec& spec);
    void Remove(int index);
    const std::vector<FilterSpec>& Parts() const { return parts_; }
    const std::vector<CompareCurve>& Curves() const { return curves_; }

    void SetLimits(std::vector<StopbandRequirement> limits);
    const std::vector<StopbandRequirement>& Limits() const { return limits_; }
    // The whole requirement the comparison was opened with; its points become the limits.
    void SetRequirement(FinderRequirement requirement);
    const std::optional<FinderRequirement>& OpenedRequirement() const { return requirement_; }
    // What the sample is judged against: the opened requirement, or else the reference part's own
    // centre frequency, bandwidth and definition with the limits.
    FinderRequirement JudgedRequirement() const;

    // The part the measured file is held against (the legend's chosen part); the first by default.
    void SetReference(int part);
    int Reference() const { return reference_; }

    // Until a width is chosen, the span reaches past the farthest requirement point.
    void SetGraphWidth(int bandwidths);
    int GraphWidth() const { return width_; }
    void ZoomIn();
    void ZoomOut();
    int Zoom() const { return zoom_; }
    CompareSpan Span() const;

    // The marker is a frequency: a zoom keeps it there, or at the span's nearer edge while the span
    // leaves it out. Until it is placed it stays at the span's centre.
    int MarkerIndex() const;     // the nearest point of the sweep
    void MoveMarker(int steps);  // from sweep point to sweep point, clamped to the sweep
    void PlaceMarker(double frequencyMhz);
    double MarkerMhz() const;
    const std::vector<MarkerRow>& MarkerRows() const { return markerRows_; }

    // At most one measured file, beside the parts and not counted among them; a new one replaces it.
    // name is the file's name as the legend shows it.
    void SetMeasured(std::string name, MeasuredTrace trace);
    void RemoveMeasured();
    bool HasMeasured() const { return measured_.has_value(); }
    // Its attenuation in dBc, against its own loss at the judged centre frequency; its delay fitted
    // over +/- kDelayApertureFraction of it.
    const CompareCurve& MeasuredCurve() const { return measuredCurve_; }
    // Its figures at the marker, interpolated between its frequencies; NaN outside them.
    MarkerRow MeasuredAtMarker() const;
    // The file against the reference part's model, the limits' frequencies as requirement points.
    const MeasuredComparison& MeasuredDeviations() const { return deviations_; }
    // The file against the judged requirement; !Judged without a measured file.
    const SampleJudgement& Judgement() const { return judgement_; }

  private:
    void Recompute();
    void RecomputeMeasured();
    void RecomputeMarker();
    // Half the span at no zoom.
    double HalfSpanMhz(double centreMhz, double bandwidthMhz) const;

    std::vector<FilterSpec> parts_;
    std::vector<CompareCurve> curves_;
    std::vector<std::vector<StopbandResult>> margins_;
    std::vector<StopbandRequirement> limits_;
    std::optional<FinderRequirement> requirement_;
    int reference_ = 0;
    int width_ = kDefaultCompareWidth;
    bool widthChosen_ = false;
    int zoom_ = 0;
    std::optional<double> markerMhz_;
    std::vector<MarkerRow> markerRows_;
    std::optional<MeasuredTrace> measured_;
    CompareCurve measuredCurve_;
    MeasuredComparison deviations_;
    SampleJudgement judgement_;
};

}  // namespace veltrix
