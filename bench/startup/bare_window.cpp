// SPDX-License-Identifier: MIT
// The baseline the program's start-up is measured against: a plain Qt window
// of the same size and title, shown, with nothing in it.
#include "app/startup_probe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Bare window"));
    window.setFixedSize(484, 323);
    vantoril::startup_probe::Install(window);
    window.show();
    return QApplication::exec();
}
