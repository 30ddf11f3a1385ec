// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

namespace vantoril {

// Once the window has closed, the program must end. Qt's Wayland client
// (seen with Qt 6.4 and 6.8) can deadlock while it tears down its display
// connection: the main thread waits for Qt's event thread, which waits in
// wl_display_read_events for a read that will never come. Nothing is left to
// save by then, so if the teardown has not finished after `grace`, the
// process ends with the status the event loop returned. The normal teardown
// is untouched: it finishes long before.
inline void EndAfterGrace(int status, std::chrono::milliseconds grace)
{
    std::thread([status, grace] {
        std::this_thread::sleep_for(grace);
        std::fflush(nullptr);
        std::_Exit(status);
    }).detach();
}

} // namespace vantoril
