#pragma once

#include <string>

namespace veltrix {

// Where the preferences file lives: "veltrix.dat" in the working directory when one is already there
// (files kept beside a project rely on it); otherwise "veltrix.dat" in the user's configuration folder,
// so a program started from the desktop menu neither litters the home folder nor writes to "/".
// An empty configDir (no home to be found) keeps the working directory.
std::string ChoosePreferencesPath(const std::string& workingDir, const std::string& configDir);

// The user's configuration folder: $XDG_CONFIG_HOME when it is an absolute path (a relative one is
// ignored, as the XDG rules say), else ~/.config; "" with neither.
std::string ConfigHome(const char* xdgConfigHome, const std::string& home);

// The path for this run: the working directory and $XDG_CONFIG_HOME/veltrix (created when chosen).
std::string LocatePreferences();

}  // namespace veltrix
