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

enum class ExportFormat { Touchstone, Csv };

// A default Touchstone file divides each step of the graph's sweep in ten: the delay a simulator
// reads back from the phase by central differences then stays within 2 % of the report's, and
// every frequency the report lists is one of the file's.
constexpr int kSweepSubdivision = 10;
constexpr int kDefaultTouchstonePoints = 60 * kSweepSubdivision + 1;
constexpr int kDefaultCsvPoints = 61;
constexpr int kMinExportPoints = 2;
constexpr int kMaxExportPoints = 100001;
constexpr double kMaxSpanBandwidths = 1000.0;
// The frequency resolution of a Touchstone file's rows.
constexpr double kPrintedMhz = 1e-6;

// The sweep to export. The range is FromMhz to ToMhz when both are above 0, else a span of
// SpanBandwidths bandwidths centred on the centre frequency, else the graph's; Points 0 is the
// format's default. Nothing chosen at all is, for CSV, the report's own rows.
struct ExportSpan {
    int Points = 0;
    double SpanBandwidths = 0.0;
    double FromMhz = 0.0;
    double ToMhz = 0.0;
};

// A resolved range: evenly spaced points from FromMhz to ToMhz.
struct ExportRange {
    double FromMhz = 0.0;
    double ToMhz = 0.0;
    int Points = 0;
};

// The span as exported: a range reaching 0 MHz or below is clipped at its low end, to start one
// step above 0 with the same number of points.
ExportRange ResolveExportSpan(const FilterSpec& spec, const ExportSpan& span, ExportFormat format);

struct ExportGrid {
    std::vector<double> FrequenciesMhz;
    std::string Problem;  // why the span cannot be exported; FrequenciesMhz is then empty
};
// The frequencies of the export: positive and strictly increasing at the printed resolution, or
// the reason they cannot be.
ExportGrid ExportFrequencies(const FilterSpec& spec, const ExportSpan& span, ExportFormat format);

struct ResponseTable {
    bool Standard = false;
    std::string Refusal;  // why there is nothing to export, when !Standard
    std::string PartNumber;
    double CentreFrequencyMhz = 0.0;
    double BandwidthMhz = 0.0;
    double InsertionLossDb = 0.0;
    double DelayAtCentreNs = 0.0;
    std::vector<ResponsePoint> Points;
    std::vector<StopbandPoint> Stopbands;  // the points the report lists
};

// Judges the record as the specification screen does, then computes the response
// at the span's points exactly as the tabular report computes its rows. A span that cannot be
// exported gives no table, with the reason as its refusal.
ResponseTable ComputeResponseTable(const FilterSpec& spec, const ExportSpan& span = {},
                                   ExportFormat format = ExportFormat::Csv);

// The same rows at the given frequencies (MHz), for a comparison with a measurement.
ResponseTable ComputeResponseAt(const FilterSpec& spec, const std::vector<double>& frequenciesMhz);

// A two-port Touchstone 1.1 file, "# MHz S DB R 50"; date is printed in its comment.
std::string TouchstoneText(const ResponseTable& table, std::string_view date);
// One table: a header, then a row per point (frequency MHz, attenuation dB, return loss dB,
// delay ns); numbers are written the same in every locale.
std::string CsvText(const ResponseTable& table);

// Writes the file through a temporary beside it; a non-standard selection is refused with its reason.
FileResult WriteTouchstoneFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path,
                               std::string_view date);
FileResult WriteCsvFile(const FilterSpec& spec, const ExportSpan& span, const std::string& path);

// A file name for the part's export: its number with every character unsafe in a file name
// (a path separator, a control character, a leading dot) replaced by '_', then the extension.
std::string ExportFileName(const std::string& partNumber, std::string_view extension);

}  // namespace veltrix
