#pragma once

#include <array>
#include <string_view>

#include "engine/tolerance_texts.h"

// The Filter Characteristics and Notes pages' texts, plain text for the pages and the datasheet alike.
namespace veltrix {

struct CharacteristicsRow {
    int Y;
    std::string_view Label;  // "" continues the row above
    std::string_view Value;
    std::string_view Aside;  // the second column, "" when none
};

// clang-format off
inline constexpr std::array<CharacteristicsRow, 10> kCharacteristicsRows{{
    {136, "Center Frequency: ", "270 to 3000MHz", ""},
    {156, "Filter Type: ", "Chebyshev Bandpass", ""},
    {176, "Number of Sections: ", "2 to 6", ""},
    {196, "Bandwidth: ", "Up to 30%", ""},
    {216, "Attenuation: ", "Guaranteed to -60dBc (270 to 2000MHz)", ""},
    {236, "", "Guaranteed to -30dBc (2001 to 3000MHz)", ""},
    {276, "VSWR: ", "2.0 : 1 Maximum", ""},
    {296, "Temperature Range: ", "-40 to +85\u00B0C", "Operating"},
    {316, "", "-50 to +125\u00B0C", "Storage"},
    {336, "Temperature Stability: ", "+2 to +11 ppm / \u00B0C", ""},
}};
// clang-format on

// The rows the datasheet quotes, by their place in the table.
inline constexpr const CharacteristicsRow& kFilterTypeRow = kCharacteristicsRows[1];
inline constexpr const CharacteristicsRow& kVswrRow = kCharacteristicsRows[6];
inline constexpr const CharacteristicsRow& kOperatingRow = kCharacteristicsRows[7];
inline constexpr const CharacteristicsRow& kStorageRow = kCharacteristicsRows[8];
inline constexpr const CharacteristicsRow& kStabilityRow = kCharacteristicsRows[9];
// "2.0 : 1 Maximum" as a number.
inline constexpr double kMaximumVswr = 2.0;

enum class NoteLine {
    Numbered,   // the note's label in the margin, its first line beside it
    Following,  // a further line at the first line's place and size
    Indented,   // a smaller line, indented
    Closing,    // the page's last line, in the headings' colour
};

struct NotesRow {
    int Y;
    NoteLine Kind;
    std::string_view Label;  // "Note 1:" for a numbered line
    std::string_view Text;
};

// clang-format off
inline constexpr std::array<NotesRow, 14> kNotesRows{{
    {45,  NoteLine::Numbered,  "Note 1:", "Maximum bandwidth is dependent on center frequency, the"},
    {65,  NoteLine::Following, "", "dielectric constant of the resonator, and the resonator profile."},
    {90,  NoteLine::Numbered,  "Note 2:", "For fo < 2000MHz, attenuation levels are guaranteed to -60dBc."},
    {110, NoteLine::Indented,  "", "Values given are theoretical at levels > -60dBc."},
    {130, NoteLine::Following, "", "For fo > 2000MHz, attenuation levels are guaranteed to -30dBc."},
    {150, NoteLine::Indented,  "", "Values given are theoretical at levels > -30dBc."},
    {175, NoteLine::Numbered,  "Note 3:", "Ultimate rejection may be affected by:"},
    {195, NoteLine::Indented,  "", "3rd harmonic"},
    {215, NoteLine::Indented,  "", "Hybrid modes in coaxial resonator"},
    {235, NoteLine::Indented,  "", "Finite isolation properties of packaging (shielding)"},
    {260, NoteLine::Numbered,  "Note 4:", "Due to manufacturing variations, please observe these guidelines:"},
    {280, NoteLine::Indented,  "", kToleranceGuidelines[0]},
    {300, NoteLine::Indented,  "", kToleranceGuidelines[1]},
    {340, NoteLine::Closing,   "", kToleranceContact},
}};
// clang-format on

// Notes 2 and 3, which bound the figures the program computes.
inline constexpr std::size_t kGuaranteeNoteFirst = 2;
inline constexpr std::size_t kGuaranteeNoteEnd = 10;

}  // namespace veltrix
