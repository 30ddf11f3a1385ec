// SPDX-License-Identifier: MIT
// The fairer floor for the program's start-up: the bare window of the same
// size with one line of text in it, so it pays the font system's first use
// as any window that shows text does.
#include "app/startup_probe.h"

#include <QApplication>
#include <QLabel>
#include <QWidget>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Label window"));
    window.setFixedSize(484, 323);
    auto* label = new QLabel(QStringLiteral("Local Vantoril Time  ="), &window);
    label->move(48, 296);
    vantoril::startup_probe::Install(window);
    window.show();
    return QApplication::exec();
}
