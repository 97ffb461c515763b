#pragma once

namespace veltrix {

enum class StartupPage { Notes, Characteristics, Introduction, License };

// Whether a start-up page shows itself at creation: 'N' shows all four, 'I' (the introduction has
// been seen) only the characteristics and the notes, 'Y' (preferences preserved) none.
constexpr bool ShownAtStart(StartupPage page, char startupScreens) {
    switch (page) {
        case StartupPage::Notes:
        case StartupPage::Characteristics:
            return startupScreens == 'N' || startupScreens == 'I';
        case StartupPage::Introduction:
        case StartupPage::License:
            return startupScreens == 'N';
    }
    return false;
}

}  // namespace veltrix
