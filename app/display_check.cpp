// SPDX-License-Identifier: MIT
#include "app/display_check.h"

#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

namespace vantoril {

namespace {

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// The value of a Qt option given as -name VALUE or --name VALUE; empty when absent.
std::string QtOption(int argc, const char* const* argv, std::string_view name)
{
    for (int i = 1; i + 1 < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg.substr(0, 2) == "--") arg.remove_prefix(1);
        if (arg.size() == name.size() + 1 && arg[0] == '-' && arg.substr(1) == name) return argv[i + 1];
    }
    return "";
}

struct Probe {
    bool opened = false;
    std::string why; // when not opened
};

Probe ProbeX11(const std::string& option)
{
    const std::string name = option.empty() ? Env("DISPLAY") : option;
    if (name.empty()) return {false, "DISPLAY is unset"};
    // libxcb, as Qt's xcb plugin connects: it parses the name and authenticates.
    xcb_connection_t* connection = xcb_connect(name.c_str(), nullptr);
    const bool opened = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return {opened,
            "the X display \"" + name + "\" (" + (option.empty() ? "DISPLAY" : "-display") + ") cannot be opened"};
}

// What wl_display_connect does, short of the protocol: WAYLAND_SOCKET is a
// connection already made; otherwise WAYLAND_DISPLAY (default wayland-0) is a
// socket in XDG_RUNTIME_DIR, or a path of its own.
Probe ProbeWayland()
{
    if (!Env("WAYLAND_SOCKET").empty()) return {true, ""};
    const std::string given = Env("WAYLAND_DISPLAY");
    const std::string name = given.empty() ? "wayland-0" : given;
    const std::string runtime = Env("XDG_RUNTIME_DIR");
    const std::string why = given.empty() ? "WAYLAND_DISPLAY is unset"
                                          : "the Wayland display \"" + given + "\" (WAYLAND_DISPLAY) cannot be opened";
    if (name[0] != '/' && runtime.empty()) return {false, why + (given.empty() ? "" : " (XDG_RUNTIME_DIR is unset)")};
    const std::string path = name[0] == '/' ? name : runtime + "/" + name;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof(address.sun_path)) return {false, why};
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socket < 0) return {false, why};
    // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's own cast
    const bool opened = ::connect(socket, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
    ::close(socket);
    return {opened, why};
}

std::string Line(const std::string& why)
{
    return "vantoriltime: no display to show the window on: " + why + "; in a terminal, use vantoril-lst";
}

} // namespace

DisplayCheck CheckDisplay(int argc, const char* const* argv)
{
    const std::string displayOption = QtOption(argc, argv, "display");
    std::string asked = QtOption(argc, argv, "platform");
    const char* askedBy = "-platform ";
    if (asked.empty()) {
        asked = Env("QT_QPA_PLATFORM");
        askedBy = "QT_QPA_PLATFORM=";
    }

    if (asked.empty()) {
        const Probe x11 = ProbeX11(displayOption);
        const Probe wayland = ProbeWayland();
        if (x11.opened && wayland.opened) return {};
        if (x11.opened) return {"", "xcb"};
        if (wayland.opened) return {"", "wayland"};
        if (displayOption.empty() && Env("DISPLAY").empty() && Env("WAYLAND_DISPLAY").empty()) {
            return {Line("DISPLAY and WAYLAND_DISPLAY are unset"), ""};
        }
        return {Line(x11.why + " and " + wayland.why), ""};
    }

    // A list such as "wayland;xcb", each name perhaps followed by ":options".
    // Only X11 and Wayland are looked into; any other platform is Qt's to open.
    std::vector<std::string> whys;
    std::string_view rest = asked;
    while (!rest.empty()) {
        const std::size_t end = rest.find(';');
        std::string_view item = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::string_view name = item.substr(0, item.find(':'));
        Probe probe;
        if (name == "xcb") {
            probe = ProbeX11(displayOption);
        } else if (name.substr(0, 7) == "wayland") {
            probe = ProbeWayland();
        } else if (!name.empty()) {
            return {};
        }
        if (probe.opened) return {};
        if (!name.empty()) whys.push_back(probe.why);
    }
    if (whys.empty()) return {};
    std::string why;
    for (const std::string& w : whys) why += (why.empty() ? "" : " and ") + w;
    return {Line(why + " (" + askedBy + asked + ")"), ""};
}

} // namespace vantoril
