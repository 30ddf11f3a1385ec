// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace vantoril {

// Whether the window has a display to open, decided before Qt starts: Qt
// ends the program with an abort when its platform plugin cannot connect,
// and tells the user to reinstall. The displays are looked for as Qt's own
// X11 (xcb) and Wayland plugins look for them: -platform or QT_QPA_PLATFORM
// first, then DISPLAY (or -display) and WAYLAND_DISPLAY.
struct DisplayCheck {
    // The one line to print when there is none; empty when there is one.
    std::string problem;
    // Set when only one of X11 and Wayland can be opened and nothing was
    // asked for: the platform Qt is to use, so it does not try the other.
    std::string platform;
};

DisplayCheck CheckDisplay(int argc, const char* const* argv);

} // namespace vantoril
