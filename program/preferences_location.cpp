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
    const std::string base = ConfigHome(std::getenv("XDG_CONFIG_HOME"), QDir::homePath().toStdString());
    // The program sets the application name "veltrix", which names the folder.
    const std::string configDir =
        base.empty() ? "" : (fs::path(base) / QCoreApplication::applicationName().toStdString()).string();
    const std::string chosen = ChoosePreferencesPath(QDir::currentPath().toStdString(), configDir);
    if (chosen != kPreferencesFile) QDir().mkpath(QString::fromStdString(configDir));
    return chosen;
}

}  // namespace veltrix
