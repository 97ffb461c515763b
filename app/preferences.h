#pragma once

#include <cstdint>
#include <string>

namespace veltrix {

struct WindowRect {
    int32_t Left;
    int32_t Top;
    int32_t Width;
    int32_t Height;
    bool operator==(const WindowRect&) const = default;
};

// Units, start-up screen state and the three document windows' rectangles, kept in
// "veltrix.dat" in the working directory.
struct Preferences {
    char PrefUnits = 'E';
    char StartupScreens = 'N';
    WindowRect SelectRect{50, 50, 480, 300};
    WindowRect OutlineRect{25, 25, 480, 300};
    WindowRect TabularRect{0, 0, 480, 300};
    bool operator==(const Preferences&) const = default;
};

inline constexpr const char* kPreferencesFile = "veltrix.dat";

// Reads and validates the file; the defaults when it is missing or unreadable. Never fails.
Preferences ReadPreferences(const std::string& path = kPreferencesFile);
// Replaces the file atomically; false when it could not be written (never reported to the user).
bool WritePreferences(const Preferences& prefs, const std::string& path = kPreferencesFile);

}  // namespace veltrix
