// SPDX-License-Identifier: MIT
#pragma once

// Start-up probe for bench/startup.sh, shared by the program and the bare Qt
// window it is compared with, so both are timed by the same code. With
// VANTORIL_STARTUP_PROBE set, the program prints the wall-clock time at which
// its window's first frame was painted and flushed; with
// VANTORIL_STARTUP_PROBE=exit it then quits, so its peak memory can be read.
// Unset, Install() does nothing.

#include <QByteArray>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>
#include <QWidget>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>
#include <unistd.h>

namespace vantoril::startup_probe {

// Milliseconds since the kernel started this process. /proc/self/stat counts
// in clock ticks (10 ms), so the script times from its own launch instead and
// this is only a cross-check.
inline double ProcessAgeMs()
{
    std::ifstream stat("/proc/self/stat");
    std::string line;
    std::getline(stat, line);
    const auto close = line.rfind(')'); // the command name may hold blanks
    if (close == std::string::npos) return -1;
    unsigned long long startTicks = 0;
    // starttime is field 22; field 3 is the first after the name.
    if (std::sscanf(line.c_str() + close + 1,
                    " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %*u %*u %*d %*d %*d %*d %*d %*d %llu",
                    &startTicks) != 1) {
        return -1;
    }
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double ticks = static_cast<double>(sysconf(_SC_CLK_TCK));
    return (static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9 -
            static_cast<double>(startTicks) / ticks) *
           1000.0;
}

class FirstPaint final : public QObject {
public:
    FirstPaint(bool quit, QObject* parent) : QObject(parent), quit_(quit) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (!seen_ && event->type() == QEvent::Paint) {
            seen_ = true;
            // The children paint and the frame is flushed after this event;
            // report from the next turn of the event loop.
            QTimer::singleShot(0, this, &FirstPaint::Report);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void Report()
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        const long long micros = static_cast<long long>(now.tv_sec) * 1000000LL + now.tv_nsec / 1000;
        std::printf("startup-probe: first-paint-epoch-us=%lld process-age-ms=%.0f\n", micros, ProcessAgeMs());
        std::fflush(stdout);
        if (quit_) QCoreApplication::quit();
    }

    bool quit_;
    bool seen_ = false;
};

inline void Install(QWidget& window)
{
    const QByteArray mode = qgetenv("VANTORIL_STARTUP_PROBE");
    if (mode.isEmpty()) return;
    window.installEventFilter(new FirstPaint(mode == "exit", &window));
}

} // namespace vantoril::startup_probe
