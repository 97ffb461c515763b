#pragma once

#include <string>

namespace veltrix {

// Why the windows cannot be shown on the display the environment names, in a few words for the
// one-line message; empty when they can. Qt aborts on a display it cannot open, so this is asked
// before the application object is made. When Qt would pick a platform that cannot work while
// another can, the one that works is chosen through QT_QPA_PLATFORM.
std::string UnusableDisplay();

}  // namespace veltrix
