// Starts a program and prints the milliseconds from its exec to the first map of a top-level window
// whose title begins with a given text; the program is then ended. Used by launch_to_map.sh.
//
//   launch_to_map <title prefix> <timeout s> <program> [arguments...]
//
// It listens on the root window before it starts the program, so no map can be missed; the same
// listener times every program, so the method is the same for all of them.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;

std::string WindowTitle(xcb_connection_t* connection, xcb_window_t window) {
    const xcb_get_property_cookie_t cookie =
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_GET_PROPERTY_TYPE_ANY, 0, 256);
    std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
        xcb_get_property_reply(connection, cookie, nullptr), &std::free);
    if (!reply) return {};
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<size_t>(xcb_get_property_value_length(reply.get())));
}

void End(pid_t child) {
    kill(child, SIGTERM);
    int status = 0;
    for (int i = 0; i < 200; ++i) {
        if (waitpid(child, &status, WNOHANG) == child) return;
        usleep(10000);
    }
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <title prefix> <timeout s> <program> [arguments...]\n", argv[0]);
        return 2;
    }
    const std::string prefix = argv[1];
    const double timeout = std::atof(argv[2]);

    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "launch_to_map: cannot connect to the X server\n");
        return 1;
    }
    const xcb_setup_t* setup = xcb_get_setup(connection);
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(setup);
    for (int i = 0; i < screenNumber; ++i) xcb_screen_next(&screens);
    const xcb_window_t root = screens.data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_void_cookie_t listen =
        xcb_change_window_attributes_checked(connection, root, XCB_CW_EVENT_MASK, &mask);
    if (std::unique_ptr<xcb_generic_error_t, decltype(&std::free)> error(
            xcb_request_check(connection, listen), &std::free);
        error) {
        std::fprintf(stderr, "launch_to_map: cannot listen on the root window\n");
        return 1;
    }

    const Clock::time_point start = Clock::now();
    const pid_t child = fork();
    if (child < 0) return 1;
    if (child == 0) {
        execvp(argv[3], argv + 3);
        std::fprintf(stderr, "launch_to_map: cannot start %s\n", argv[3]);
        _exit(127);
    }

    const int fd = xcb_get_file_descriptor(connection);
    for (;;) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(xcb_poll_for_event(connection),
                                                                         &std::free);
        if (!event) {
            if (xcb_connection_has_error(connection)) break;
            const double waited = std::chrono::duration<double>(Clock::now() - start).count();
            if (waited > timeout) break;
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "launch_to_map: %s ended before it showed a window\n", argv[3]);
                return 1;
            }
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(fd, &readable);
            timeval step{0, 20000};
            select(fd + 1, &readable, nullptr, nullptr, &step);
            continue;
        }
        if ((event->response_type & 0x7f) != XCB_MAP_NOTIFY) continue;
        const Clock::time_point mapped = Clock::now();
        const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
        if (map->event != root) continue;
        if (WindowTitle(connection, map->window).rfind(prefix, 0) != 0) continue;
        std::printf("%.2f\n", std::chrono::duration<double, std::milli>(mapped - start).count());
        End(child);
        xcb_disconnect(connection);
        return 0;
    }
    std::fprintf(stderr, "launch_to_map: no window titled '%s...' was mapped\n", prefix.c_str());
    End(child);
    xcb_disconnect(connection);
    return 1;
}
