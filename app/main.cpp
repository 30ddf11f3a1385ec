// SPDX-License-Identifier: MIT
#include "app/display_check.h"
#include "app/exit_watchdog.h"
#include "app/startup_probe.h"
#include "ui/frm_vantoril_time.h"
#include "ui/images.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char* argv[])
{
    using namespace std::chrono_literals;
    const vantoril::DisplayCheck display = vantoril::CheckDisplay(argc, argv);
    if (!display.problem.empty()) {
        std::fprintf(stderr, "%s\n", display.problem.c_str());
        return 1;
    }
    // Read by Qt as it starts, and not handed on to what the program opens.
    if (!display.platform.empty()) qputenv("QT_QPA_PLATFORM", display.platform.c_str());
    int status = 0;
    {
        QApplication app(argc, argv);
        if (!display.platform.empty()) qunsetenv("QT_QPA_PLATFORM");
        QApplication::setApplicationName(QStringLiteral("VantorilTime"));
        QApplication::setApplicationVersion(QStringLiteral("1.00"));
        QApplication::setDesktopFileName(QStringLiteral("org.example.VantorilTime"));
        QApplication::setWindowIcon(vantoril::ClockIcon());
        QApplication::setFont(vantoril::frmVantorilTime::DefaultFont());

        vantoril::frmVantorilTime window;
        // Times the first paint for bench/startup.sh when VANTORIL_STARTUP_PROBE is set; otherwise nothing.
        vantoril::startup_probe::Install(window);
        window.show();
        status = QApplication::exec();
        // The window and Qt are torn down at the end of this block, which
        // takes well under a second, sanitizers included.
        vantoril::EndAfterGrace(status, 5s);
    }
    return status;
}
