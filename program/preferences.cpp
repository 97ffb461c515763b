#include "program/preferences.h"

#include <cstdio>
#include <optional>
#include <sstream>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/choices.h"
#include "files/user_file.h"
#include "program/integer_text.h"

namespace veltrix {
namespace {

constexpr int kLineCount = 14;
// The file is read through a 60-character line buffer: at most 59 characters of a line count.
constexpr std::size_t kLineLimit = 59;

// The twelve rectangle values in file order: Left, Top, Width, Height of Select, Outline, Tabular.
template <typename P>
auto& RectField(P& prefs, int index) {
    auto& r = index < 4 ? prefs.SelectRect : index < 8 ? prefs.OutlineRect : prefs.TabularRect;
    switch (index % 4) {
        case 0:
            return r.Left;
        case 1:
            return r.Top;
        case 2:
            return r.Width;
        default:
            return r.Height;
    }
}

// A line may run on (only its first kLineLimit characters count), but a file is read only as far as
// fourteen generous lines reach: a huge or endless file costs no more than a normal one.
constexpr std::size_t kLineBytes = 4096;
constexpr std::size_t kReadLimit = kLineCount * kLineBytes;

// One value per line; what lies beyond the limit on a long line is dropped rather than read as the
// next value, so every later value stays on its own line. A short file gives the lines it has.
std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    const auto data = ReadRegularFile(path, kReadLimit);
    if (!data) return lines;
    std::istringstream in(*data);
    std::string line;
    while (lines.size() < kLineCount && std::getline(in, line)) {
        // A line the read limit cut off is not the line the file holds.
        if (in.eof() && data->size() == kReadLimit) break;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kLineLimit) line.resize(kLineLimit);
        lines.push_back(std::move(line));
    }
    return lines;
}

// A choice is stored as its code, the first character of its line.
template <typename E>
E ChoiceOnLine(const std::string& line, E otherwise) {
    return line.empty() ? otherwise : ChoiceFromCode<E>(line.front()).value_or(otherwise);
}

std::string FileText(const Preferences& prefs) {
    std::string text;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%c\n%c\n", CodeOf(prefs.PrefUnits), CodeOf(prefs.StartupScreens));
    text += buffer;
    for (int i = 0; i < 12; ++i) {
        std::snprintf(buffer, sizeof buffer, "%d\n", static_cast<int>(RectField(prefs, i)));
        text += buffer;
    }
    return text;
}

}  // namespace

Preferences ValidatePreferences(const Preferences& read) {
    const Preferences defaults;
    Preferences prefs = read;
    for (int i = 0; i < 12; ++i) {
        if (RectField(prefs, i) < 0) RectField(prefs, i) = RectField(defaults, i);
    }
    return prefs;
}

Preferences ReadPreferences(const std::string& path) {
    const std::vector<std::string> lines = ReadLines(path);
    // The values the file holds are kept; those it lacks take their defaults.
    Preferences prefs;
    if (lines.size() > 0) prefs.PrefUnits = ChoiceOnLine(lines[0], DrawingUnits::Inches);
    if (lines.size() > 1) prefs.StartupScreens = ChoiceOnLine(lines[1], StartupPagesState::AllShown);
    for (size_t i = 0; i < 12 && 2 + i < lines.size(); ++i)
        RectField(prefs, static_cast<int>(i)) = ReadLeadingInteger(lines[2 + i]);
    return ValidatePreferences(prefs);
}

bool WritePreferences(const Preferences& prefs, const std::string& path) {
    return WriteUserFile(path, FileText(prefs)).Ok;
}

bool PreservePreferences(Preferences& prefs, DrawingUnits currentUnits, const WindowRect& select,
                         const WindowRect& outline, const WindowRect& tabular, const std::string& path) {
    prefs.PrefUnits = currentUnits;
    prefs.StartupScreens = StartupPagesState::Preserved;
    Preferences saved = prefs;
    saved.SelectRect = select;
    saved.OutlineRect = outline;
    saved.TabularRect = tabular;
    return WritePreferences(saved, path);
}

bool ResetPreferences(Preferences& prefs, const std::string& path) {
    prefs.PrefUnits = DrawingUnits::Inches;
    prefs.StartupScreens = StartupPagesState::AllShown;
    return WritePreferences(Preferences{}, path);
}

void RecordFirstIntroduction(Preferences& prefs, const std::string& path) {
    if (prefs.StartupScreens != StartupPagesState::AllShown) return;
    prefs.StartupScreens = StartupPagesState::IntroductionSeen;
    Preferences saved;
    saved.PrefUnits = prefs.PrefUnits;
    saved.StartupScreens = StartupPagesState::IntroductionSeen;
    WritePreferences(saved, path);
}

}  // namespace veltrix
