#pragma once

#include <optional>
#include <string>
#include <vector>

#include "finder/finder.h"
#include "measured/touchstone_reader.h"

namespace veltrix {

// A measured sample held against the requirement itself, not against a model: what a test station
// decides on.
struct SamplePoint {
    double FrequencyMhz = 0.0;
    bool Measured = false;     // false when the file does not reach the point
    double MeasuredDbc = 0.0;  // its loss there less its own loss at F0
    double RequiredDbc = 0.0;
    double MarginDb = 0.0;  // MeasuredDbc - RequiredDbc
    bool Pass = false;
};

struct SamplePassband {
    bool Found = false;         // false when the loss never rises by the definition within the file
    double DefinitionDb = 0.0;  // the edges lie this far above the lowest loss in the required band
    double LowestLossDb = 0.0;
    double LowerEdgeMhz = 0.0;
    double UpperEdgeMhz = 0.0;
    double BandwidthMhz = 0.0;
    double RequiredBandwidthMhz = 0.0;
    bool BandwidthPass = false;
    double CentreMhz = 0.0;  // the edges' mid-point
    double ShiftMhz = 0.0;   // CentreMhz - F0
    // Across the required band, F0 +/- half the required bandwidth.
    double BandFromMhz = 0.0;
    double BandToMhz = 0.0;
    double HighestLossDb = 0.0;
    double FlatnessDb = 0.0;  // highest - lowest
};

struct SampleJudgement {
    bool Judged = false;
    std::string NotJudged;  // why not, when !Judged: a 1-port file, F0 outside the file
    double F0Mhz = 0.0;
    double LossAtF0Db = 0.0;
    std::optional<double> MaxInsertionLossDb;
    double LossMarginDb = 0.0;  // MaxInsertionLossDb - LossAtF0Db, when there is one
    bool LossPass = true;
    std::vector<SamplePoint> Points;  // in the requirement's order
    SamplePassband Passband;
    double DelayAtF0Ns = 0.0;
    double DelayApertureMhz = 0.0;  // the fit's half width
    bool Meets = false;
    std::string Verdict;  // "The sample meets the requirement." or "The sample misses the requirement: ..."
};

// The sample's figures against the requirement: its loss at F0, its attenuation relative to that loss
// at each point, its own passband edges at the requirement's definition, and its delay at F0 fitted
// over +/- kDelayApertureFraction of F0.
SampleJudgement JudgeSample(const MeasuredTrace& trace, const FinderRequirement& requirement);

// The judgement as lines of text, the verdict last: for the companion's text, a copy or a printout.
std::vector<std::string> SampleJudgementLines(const SampleJudgement& judgement);

}  // namespace veltrix
