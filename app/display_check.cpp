#include "app/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QByteArray>
#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <QtGlobal>
#include <cstdlib>
#include <cstring>

namespace veltrix {

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The connection Qt's X11 platform makes, authorisation included.
bool XDisplayOpens() {
    if (Environment("DISPLAY").empty()) return false;
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool opens = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return opens;
}

bool WaylandSocketAnswers() {
    const std::string name = Environment("WAYLAND_DISPLAY");
    if (name.empty()) return false;
    std::string path = name;
    if (name.front() != '/') {
        const std::string runtime = Environment("XDG_RUNTIME_DIR");
        if (runtime.empty()) return false;
        path = runtime + "/" + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answers;
}

// Debian ships the Wayland platform in a package of its own (qt6-wayland).
bool WaylandPluginInstalled() {
    QStringList folders =
        QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
    folders.append(QLibraryInfo::path(QLibraryInfo::PluginsPath));
    for (const QString& folder : folders) {
        const QDir platforms(folder + QStringLiteral("/platforms"));
        if (!platforms.entryList({QStringLiteral("*qwayland*")}, QDir::Files).isEmpty()) return true;
    }
    return false;
}

bool Starts(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

}  // namespace

std::string UnusableDisplay() {
    const std::string chosen = Environment("QT_QPA_PLATFORM");
    const std::string display = Environment("DISPLAY");
    const std::string wayland = Environment("WAYLAND_DISPLAY");
    const auto cannotOpen = [](const std::string& name) {
        return "the display " + name + " cannot be opened";
    };
    const auto noWayland = [&] {
        return WaylandPluginInstalled() ? "the Wayland display " + wayland + " cannot be reached"
                                        : "no Qt platform for the Wayland display " + wayland;
    };
    // Platforms that need no display server (offscreen, vnc, a framebuffer) are left to Qt.
    if (Starts(chosen, "xcb")) {
        if (display.empty()) return "DISPLAY is not set";
        return XDisplayOpens() ? "" : cannotOpen(display);
    }
    if (Starts(chosen, "wayland")) {
        if (wayland.empty()) return "WAYLAND_DISPLAY is not set";
        return WaylandSocketAnswers() && WaylandPluginInstalled() ? "" : noWayland();
    }
    if (!chosen.empty()) return "";
    if (display.empty() && wayland.empty()) return "DISPLAY and WAYLAND_DISPLAY are not set";

    const bool waylandWorks = !wayland.empty() && WaylandPluginInstalled() && WaylandSocketAnswers();
    if (waylandWorks && Environment("XDG_SESSION_TYPE") == "wayland") return "";
    if (!display.empty() && XDisplayOpens()) {
        // Qt follows a Wayland session's type even where it has no Wayland platform.
        if (Environment("XDG_SESSION_TYPE") == "wayland") qputenv("QT_QPA_PLATFORM", "xcb");
        return "";
    }
    if (waylandWorks) {
        qputenv("QT_QPA_PLATFORM", "wayland");
        return "";
    }
    return !display.empty() ? cannotOpen(display) : noWayland();
}

}  // namespace veltrix
