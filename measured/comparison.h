#pragma once

#include <string>
#include <vector>

#include "engine/filter_spec.h"
#include "measured/touchstone_reader.h"

namespace veltrix {

struct ResponseFigures {
    double AttenuationDb = 0.0;
    double ReturnLossDb = 0.0;
    double DelayNs = 0.0;
    bool HasAttenuation = true;  // false for a 1-port measurement (return loss only)
};

struct ComparedPoint {
    double FrequencyMhz = 0.0;
    ResponseFigures Model;
    ResponseFigures Measured;
};

// One line of the deviations table; Deviation is Measured - Model.
struct DeviationEntry {
    std::string Key;    // "insertion_loss_db", "lower_edge_db", ... (the JSON key)
    std::string Label;  // "Insertion loss at 1500.000 MHz"
    double FrequencyMhz = 0.0;
    double Model = 0.0;
    double Measured = 0.0;
    double Deviation = 0.0;
};

struct MeasuredComparison {
    bool Standard = false;
    std::string Refusal;  // the entry's reason, when !Standard
    std::string PartNumber;
    double SpanFromMhz = 0.0;  // the graph's sweep span of the part
    double SpanToMhz = 0.0;
    std::vector<ComparedPoint> Points;    // the measured frequencies inside the span
    std::vector<DeviationEntry> Summary;  // empty of attenuation entries for a 1-port measurement
    std::string NoDeviations;             // why Summary is empty, when it is
};

// The model at every measured frequency inside the part's graph span (F0 +/- GraphHalfSpan * BW),
// and the deviations: insertion loss at F0, both passband edges, the entry's F1/F2 stopband points and
// extraPointsMhz, the largest passband deviation and the centre's shift.
MeasuredComparison CompareWithModel(const FilterSpec& spec, const MeasuredTrace& trace,
                                    const std::vector<double>& extraPointsMhz = {});

// Linear interpolation of ys over increasing xs; outside them, the nearest end.
double InterpolateAt(const std::vector<double>& xs, const std::vector<double>& ys, double x);

}  // namespace veltrix
