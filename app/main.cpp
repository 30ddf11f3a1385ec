#include "ui/frm_vantoril_time.h"
#include "ui/images.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VantorilTime"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("org.example.VantorilTime"));
    QApplication::setWindowIcon(vantoril::ClockIcon());

    vantoril::frmVantorilTime window;
    window.show();
    return QApplication::exec();
}
