#include "program/preferences_location.h"

#include <QCoreApplication>
#include <QDir>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "program/preferences.h"

namespace veltrix {

namespace fs = std::filesystem;

std::string ChoosePreferencesPath(const std::string& workingDir, const std::string& configDir) {
    std::error_code error;
    // A link or any other entry of that name counts: the reader decides what it can use.
    const bool here = fs::symlink_status(fs::path(workingDir) / kPreferencesFile, error).type() !=
                          fs::file_type::not_found &&
                      !error;
    if (here || configDir.empty()) return kPreferencesFile;
    return (fs::path(configDir) / kPreferencesFile).string();
}

std::string ConfigHome(const char* xdgConfigHome, const std::string& home) {
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/') return xdgConfigHome;
    if (home.empty()) return "";
    return (fs::path(home) / ".config").string();
}

std::string LocatePreferences() {
    // The folders' names are kept as the bytes the environment and the system give, UTF-8 or not.
    const char* home = std::getenv("HOME");
    const std::string base =
        ConfigHome(std::getenv("XDG_CONFIG_HOME"),
                   home != nullptr && home[0] != '\0' ? std::string(home) : QDir::homePath().toStdString());
    // The program sets the application name "veltrix", which names the folder.
    const std::string configDir =
        base.empty() ? "" : (fs::path(base) / QCoreApplication::applicationName().toStdString()).string();
    std::error_code error;
    const fs::path workingDir = fs::current_path(error);
    const std::string chosen = ChoosePreferencesPath(error ? "." : workingDir.string(), configDir);
    if (chosen != kPreferencesFile) fs::create_directories(configDir, error);
    return chosen;
}

}  // namespace veltrix
