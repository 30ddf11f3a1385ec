// SPDX-License-Identifier: MIT
#include "ui/images.h"

#include <QCursor>
#include <QIcon>
#include <QImageReader>
#include <QPixmap>

namespace vantoril {

namespace {

// Decodes one of the program's own PNG images. Naming the format and
// switching detection off keeps Qt from loading every image-format plugin
// to probe the file, which cost more at start-up than the decoding itself.
QPixmap OwnPng(const QString& path)
{
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return QPixmap::fromImage(reader.read());
}

} // namespace

QIcon ClockIcon()
{
    // Decoded once: the window and the application share it. Title bars and
    // task switchers want 32 to 64 pixels, also at scale 2; launchers take
    // the larger renders from the icon theme instead.
    static const QIcon icon = [] {
        QIcon sizes;
        for (const int size : {32, 48, 64}) {
            sizes.addPixmap(OwnPng(QStringLiteral(":/images/clock-%1.png").arg(size)));
        }
        return sizes;
    }();
    return icon;
}

QCursor HandCursor(double devicePixelRatio)
{
    constexpr int kHotX = 10;
    constexpr int kHotY = 1;
    const bool sharp = devicePixelRatio > 1.5;
    QPixmap hand =
        OwnPng(sharp ? QStringLiteral(":/images/hand-cursor-64.png") : QStringLiteral(":/images/hand-cursor-32.png"));
    if (hand.isNull()) return QCursor(Qt::PointingHandCursor);
    if (sharp) hand.setDevicePixelRatio(2.0);
    return QCursor(hand, kHotX, kHotY);
}

} // namespace vantoril
