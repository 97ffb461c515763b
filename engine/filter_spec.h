#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "engine/choices.h"

namespace veltrix {

// The one selection state: the filter the engineer is asking for. Its defaults are what the program
// starts with.
struct FilterSpec {
    double F0 = 1000.0;
    double BW = 20.0;
    double F1 = 0.0;
    double F2 = 0.0;
    double GraphHalfSpan = 3.0;
    double PBD = 1.0;
    int32_t Sections = 3;
    ResonatorProfile Profile = ResonatorProfile::Mm4;
    DielectricMaterial Dielectric = DielectricMaterial::DR;
    PassbandChoice Passband = PassbandChoice::Db1_0;
    MountingStyle Mounting = MountingStyle::Orbis;
    DrawingUnits Units = DrawingUnits::Inches;
    DielectricMaterial LastDielectric = DielectricMaterial::DR;
    int32_t SelStatus = 0;
    double BWRequested = 20.0;
    double LastF0 = 1000.0;
    double LastPBD = 1.0;
    int32_t LastSections = 3;
    ResonatorProfile LastProfile = ResonatorProfile::Mm4;

    bool operator==(const FilterSpec&) const = default;
};

enum SelectionStatus : int32_t {
    kSelectionValid = 0,
    kRuleFailed = 1,
    kInsufficientQ = 2,
    kExtremeValues = 7,
};

// The record the program starts with: the defaults, drawn in the preferred units (millimetres for
// 'M', inches for anything else).
FilterSpec StartSpecification(DrawingUnits preferredUnits);

// Reads an entry field's text as a plain decimal number: leading blanks, an optional sign,
// digits with at most one point; reading stops at the first other character. Text that is
// not a number reads as 0; a value too large for a double becomes the largest finite double.
double ReadDecimal(std::string_view text);

// Normalisations applied when an entry field is left.
double NormaliseCentreFrequency(double f0);  // below 100 becomes 100
double NormaliseBandwidth(double bw);        // 0 becomes 1.0
double NormaliseStopband(double f);          // negative becomes 0

// The record's values for the list indices of the specification screen.
struct PassbandDefinition {
    double PBD;
    PassbandChoice Passband;
};
PassbandDefinition PassbandFromIndex(int index);    // 0 -> 0.5 dB, 1 -> 1.0 dB, 2 -> 3.0 dB
int PassbandIndex(double pbd);                      // inverse; -1 when none matches
int32_t SectionsFromIndex(int index);               // index + 2
ResonatorProfile ProfileFromIndex(int index);       // 0 -> 4 mm, 1 -> 6 mm, 2 -> 12 mm; 4 mm outside
DielectricMaterial DielectricFromIndex(int index);  // 0 -> DL, 1 -> DR, 2 -> DH; DR outside
double GraphHalfSpanFromIndex(int index);           // (index + 1) / 2

}  // namespace veltrix
