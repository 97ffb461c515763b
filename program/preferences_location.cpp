#include "program/preferences_location.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "program/preferences.h"

namespace veltrix {

namespace fs = std::filesystem;

std::string ChoosePreferencesPath(const std::string& workingDir, const std::string& configDir) {
    std::error_code error;
    // A link or any other entry of that name counts: the reader decides what it can use.
    const bool here = fs::symlink_status(fs::path(workingDir) / kPreferencesFile, error).type() !=
                      fs::file_type::not_found && !error;
    if (here || configDir.empty()) return kPreferencesFile;
    return (fs::path(configDir) / kPreferencesFile).string();
}

std::string LocatePreferences() {
    // AppConfigLocation is $XDG_CONFIG_HOME/<organisation>/<application>; the program sets only the
    // application name "veltrix", which gives exactly $XDG_CONFIG_HOME/veltrix.
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    const std::string chosen = ChoosePreferencesPath(QDir::currentPath().toStdString(), configDir.toStdString());
    if (chosen != kPreferencesFile) QDir().mkpath(configDir);
    return chosen;
}

}  // namespace veltrix
