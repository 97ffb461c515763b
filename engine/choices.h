#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace veltrix {

// The engineer's choices. Each has one table: the windows, the companion, the part number and the
// preferences file all name and encode a choice from its row, in the enumeration's order.
enum class PassbandChoice { Db0_5, Db1_0, Db3_0 };
enum class ResonatorProfile { Mm4, Mm6, Mm12 };
enum class DielectricMaterial { DL, DR, DH };
enum class MountingStyle { DropIn, SurfacePin, SurfaceTab, Tessel, Orbis };
enum class DrawingUnits { Inches, Millimetres };
// Which start-up pages show themselves: all four, all but the introduction once it has been seen,
// or none once the engineer has preserved the preferences.
enum class StartupPagesState { AllShown, IntroductionSeen, Preserved };

template <typename E>
struct ChoiceRow {
    E Value;
    std::string_view Label;     // the windows' name of it (the finder's cells and check boxes)
    std::string_view ListText;  // the specification screen's drop-down item; "" when it has none
    std::string_view MenuText;  // the menu item's caption; "" when no menu shows it
    std::string_view Option;    // the companion's spelling
    char Code;                  // what is stored and printed: the record, part number, preferences file
    double Number;              // the record's number: the passband's dB, the profile's 1 to 3; else 0
    bool Offered;               // the program's windows offer it
};

// clang-format off
inline constexpr std::array<ChoiceRow<PassbandChoice>, 3> kPassbandChoices{{
    {PassbandChoice::Db0_5, "0.5 dB", "0.5 dB", "0.5 dB", "0.5", 'H', 0.5, true},
    {PassbandChoice::Db1_0, "1.0 dB", "1.0 dB", "1.0 dB", "1.0", 'U', 1.0, true},
    {PassbandChoice::Db3_0, "3.0 dB", "3.0 dB", "3.0 dB", "3.0", 'T', 3.0, true},
}};

// The code is the part number's profile digit, which is also the menu's caption. The 12 mm
// profile is withdrawn: its menu item stays hidden and no list shows it.
inline constexpr std::array<ChoiceRow<ResonatorProfile>, 3> kProfileChoices{{
    {ResonatorProfile::Mm4,  "4 mm",  "4 mm ", "2", "4mm",  '2', 1, true},
    {ResonatorProfile::Mm6,  "6 mm",  "6 mm",  "3", "6mm",  '3', 2, true},
    {ResonatorProfile::Mm12, "12 mm", "",      "4", "12mm", '4', 3, false},
}};

inline constexpr std::array<ChoiceRow<DielectricMaterial>, 3> kDielectricChoices{{
    {DielectricMaterial::DL, "DL 21.5", "DL 21.5", "D&L 21.5", "DL", 'L', 0, true},
    {DielectricMaterial::DR, "DR 37",   "DR 37",   "D&R 37",   "DR", 'R', 0, true},
    {DielectricMaterial::DH, "DH 90",   "DH 90",   "D&H 90",   "DH", 'H', 0, true},
}};

inline constexpr std::array<ChoiceRow<MountingStyle>, 5> kMountingChoices{{
    {MountingStyle::DropIn,     "Drop-in",             "", "&Drop-in",             "drop-in", '1', 0, true},
    {MountingStyle::SurfacePin, "Surface mount - Pin", "", "",                     "pin",     '2', 0, false},
    {MountingStyle::SurfaceTab, "Surface mount - Tab", "", "Surface mount - &Tab", "tab",     '3', 0, true},
    {MountingStyle::Tessel,     "Tessel Leadless",     "", "",                     "tessel",  '4', 0, false},
    {MountingStyle::Orbis,      "Orbis Leadless",      "", "&Orbis Leadless",      "orbis",   '5', 0, true},
}};

inline constexpr std::array<ChoiceRow<DrawingUnits>, 2> kUnitsChoices{{
    {DrawingUnits::Inches,      "Inches",      "", "&Inches",      "in", 'E', 0, true},
    {DrawingUnits::Millimetres, "Millimeters", "", "&Millimeters", "mm", 'M', 0, true},
}};

// Kept only in the preferences file; no window or option names it.
inline constexpr std::array<ChoiceRow<StartupPagesState>, 3> kStartupPagesStates{{
    {StartupPagesState::AllShown,         "", "", "", "", 'N', 0, true},
    {StartupPagesState::IntroductionSeen, "", "", "", "", 'I', 0, true},
    {StartupPagesState::Preserved,        "", "", "", "", 'Y', 0, true},
}};
// clang-format on

constexpr const auto& ChoicesOf(PassbandChoice) { return kPassbandChoices; }
constexpr const auto& ChoicesOf(ResonatorProfile) { return kProfileChoices; }
constexpr const auto& ChoicesOf(DielectricMaterial) { return kDielectricChoices; }
constexpr const auto& ChoicesOf(MountingStyle) { return kMountingChoices; }
constexpr const auto& ChoicesOf(DrawingUnits) { return kUnitsChoices; }
constexpr const auto& ChoicesOf(StartupPagesState) { return kStartupPagesStates; }

// Each table lists its enumeration in order, so a value's row is found by its position.
template <typename E>
constexpr bool InEnumerationOrder() {
    const auto& rows = ChoicesOf(E{});
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (static_cast<std::size_t>(rows[i].Value) != i) return false;
    }
    return true;
}
static_assert(InEnumerationOrder<PassbandChoice>() && InEnumerationOrder<ResonatorProfile>() &&
              InEnumerationOrder<DielectricMaterial>() && InEnumerationOrder<MountingStyle>() &&
              InEnumerationOrder<DrawingUnits>() && InEnumerationOrder<StartupPagesState>());

template <typename E>
constexpr const ChoiceRow<E>& RowOf(E value) {
    return ChoicesOf(E{})[static_cast<std::size_t>(value)];
}

template <typename E>
constexpr char CodeOf(E value) {
    return RowOf(value).Code;
}

// The position in the table, which is the specification screen's list index.
template <typename E>
constexpr int IndexOf(E value) {
    return static_cast<int>(value);
}

template <typename E>
constexpr std::optional<E> ChoiceAt(int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= ChoicesOf(E{}).size()) return std::nullopt;
    return static_cast<E>(index);
}

template <typename E>
constexpr std::optional<E> ChoiceFromCode(char code) {
    for (const auto& row : ChoicesOf(E{})) {
        if (row.Code == code) return row.Value;
    }
    return std::nullopt;
}

template <typename E>
constexpr std::optional<E> ChoiceFromOption(std::string_view option) {
    for (const auto& row : ChoicesOf(E{})) {
        if (row.Option == option) return row.Value;
    }
    return std::nullopt;
}

template <typename E>
constexpr std::optional<E> ChoiceFromNumber(double number) {
    for (const auto& row : ChoicesOf(E{})) {
        if (row.Number == number) return row.Value;
    }
    return std::nullopt;
}

// The record holds the profile as its number 1 to 3.
constexpr int32_t ProfileNumber(ResonatorProfile profile) {
    return static_cast<int32_t>(RowOf(profile).Number);
}
constexpr std::optional<ResonatorProfile> ProfileFromNumber(int32_t number) {
    return ChoiceFromNumber<ResonatorProfile>(number);
}

// The part number's digit for a profile number, '?' when there is none.
constexpr char ProfileDigit(int32_t profileNumber) {
    const auto profile = ProfileFromNumber(profileNumber);
    return profile ? CodeOf(*profile) : '?';
}

// The choices the program offers, in the table's order.
template <typename E>
std::vector<E> OfferedChoices() {
    std::vector<E> choices;
    for (const auto& row : ChoicesOf(E{})) {
        if (row.Offered) choices.push_back(row.Value);
    }
    return choices;
}

// The stored codes of the choices the program offers, in the table's order.
template <typename E>
std::vector<char> OfferedCodes() {
    std::vector<char> codes;
    for (const auto& row : ChoicesOf(E{})) {
        if (row.Offered) codes.push_back(row.Code);
    }
    return codes;
}
std::vector<int32_t> OfferedProfileNumbers();

// The windows' name of a stored code or number; "?" when no row has it.
std::string_view ProfileLabel(int32_t profileNumber);
std::string_view DielectricLabel(char code);
std::string_view MountingLabel(char code);

// The companion's spelling of a stored code or number; "?" when no row has it.
std::string_view ProfileOption(int32_t profileNumber);
std::string_view DielectricOption(char code);
std::string_view MountingOption(char code);

}  // namespace veltrix
