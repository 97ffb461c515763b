#pragma once

#include <optional>
#include <string>
#include <vector>

namespace veltrix {

// The fault of veltrix's own command line (the arguments after the program's name), as one line
// without the program's name, found before any display is looked for; nullopt when the line is sound.
// Qt's own options (-platform, -style, ...) are left to Qt; a --datasheet line is read by the
// datasheet command, and a line asking for help prints the help whatever else it holds.
std::optional<std::string> CommandLineProblem(const std::vector<std::string>& args);

}  // namespace veltrix
