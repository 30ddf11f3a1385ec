// SPDX-License-Identifier: MIT
#include "app/exit_watchdog.h"
#include "app/startup_probe.h"
#include "ui/frm_vantoril_time.h"
#include "ui/images.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    using namespace std::chrono_literals;
    int status = 0;
    {
        QApplication app(argc, argv);
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
