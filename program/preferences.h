#pragma once

#include <cstdint>
#include <string>

#include "engine/choices.h"

namespace veltrix {

struct WindowRect {
    int32_t Left;
    int32_t Top;
    int32_t Width;
    int32_t Height;
    bool operator==(const WindowRect&) const = default;
};

// Units, start-up screen state and the three document windows' rectangles, kept in "veltrix.dat"
// where ChoosePreferencesPath puts it.
struct Preferences {
    DrawingUnits PrefUnits = DrawingUnits::Inches;
    StartupPagesState StartupScreens = StartupPagesState::AllShown;
    WindowRect SelectRect{50, 50, 480, 300};
    WindowRect OutlineRect{25, 25, 480, 300};
    WindowRect TabularRect{0, 0, 480, 300};
    bool operator==(const Preferences&) const = default;
};

inline constexpr const char* kPreferencesFile = "veltrix.dat";

// Reads and validates the file; the defaults when it is missing or unreadable. Never fails. Units
// other than 'E'/'M' read as inches, a start-up state other than 'Y'/'N'/'I' as all pages shown.
Preferences ReadPreferences(const std::string& path = kPreferencesFile);
// Replaces the file atomically; false when it could not be written (never reported to the user).
bool WritePreferences(const Preferences& prefs, const std::string& path = kPreferencesFile);

// Repairs the rectangles a file may hold: a negative value takes its own default.
Preferences ValidatePreferences(const Preferences& read);

// The current windows as they are now are saved as preserved. The in-memory rectangles stay as read
// at start-up; only the units and the start-up state change.
bool PreservePreferences(Preferences& prefs, DrawingUnits currentUnits, const WindowRect& select,
                         const WindowRect& outline, const WindowRect& tabular,
                         const std::string& path = kPreferencesFile);
// Writes the factory state; takes effect at the next start.
bool ResetPreferences(Preferences& prefs, const std::string& path = kPreferencesFile);
// The first hiding of the Introduction window: all pages shown becomes introduction seen, written once
// with the default rectangles. Any other state leaves memory and file alone.
void RecordFirstIntroduction(Preferences& prefs, const std::string& path = kPreferencesFile);

}  // namespace veltrix
