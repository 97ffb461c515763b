#pragma once

#include "engine/choices.h"

namespace veltrix {

enum class StartupPage { Notes, Characteristics, Introduction, License };

// Whether a start-up page shows itself at creation: once the introduction has been seen only the
// characteristics and the notes do, once the preferences are preserved none does.
constexpr bool ShownAtStart(StartupPage page, StartupPagesState state) {
    switch (page) {
        case StartupPage::Notes:
        case StartupPage::Characteristics:
            return state != StartupPagesState::Preserved;
        case StartupPage::Introduction:
        case StartupPage::License:
            return state == StartupPagesState::AllShown;
    }
    return false;
}

}  // namespace veltrix
