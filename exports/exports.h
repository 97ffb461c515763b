#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/filter_spec.h"
#include "files/user_file.h"

namespace veltrix {

struct ResponsePoint {
    double FrequencyMhz = 0.0;
    double AttenuationDb = 0.0;  // as the tabular report lists it: relative attenuation plus the centre loss
    double ReturnLossDb = 0.0;
    double DelayNs = 0.0;
    int ChebyshevSign = 1;  // of the near-lossless design's polynomial at the signed prototype frequency
};

struct StopbandPoint {
    std::string Name;  // "F1", "F2"
    double FrequencyMhz = 0.0;
    double AttenuationDbc = 0.0;
};

// The sweep to export: both 0 is the graph's own; otherwise Points (0: as many as the graph has)
// evenly spaced over a span of SpanBandwidths bandwidths (0: the graph's width) centred on the
// centre frequency.
constexpr int kDefaultExportPoints = 61;
struct ExportSpan {
    int Points = 0;
    double SpanBandwidths = 0.0;
};

struct ResponseTable {
    bool Standard = false;
    std::string Refusal;  // why there is nothing to export, when !Standard
    std::string PartNumber;
    double CentreFrequencyMhz = 0.0;
    double InsertionLossDb = 0.0;
    double DelayAtCentreNs = 0.0;
    std::vector<ResponsePoint> Points;
    std::vector<StopbandPoint> Stopbands;  // the points the report lists
};

// Judges the record as one paint of the specification screen does, then computes the response
// at the span's points exactly as the tabular report computes its rows.
ResponseTable ComputeResponseTable(const FilterSpec& spec, const ExportSpan& span = {});

// A two-port Touchstone 1.1 file, "# MHz S DB R 50"; date is printed in its comment.
std::string TouchstoneText(const ResponseTable& table, std::string_view date);
// A header, a row per point (frequency MHz, attenuation dB, return loss dB, delay ns), then the
// stopband points; numbers are written the same in every locale.
std::string CsvText(const ResponseTable& table);

// Writes the file through a temporary beside it; a non-standard selection is refused with its reason.
FileResult WriteTouchstoneFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path,
                               std::string_view date);
FileResult WriteCsvFile(const FilterSpec& spec, const std::string& path);

}  // namespace veltrix
