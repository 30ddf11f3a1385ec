#include "ui/images.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace vantoril {

QIcon ClockIcon()
{
    // Decoded once: the window and the application share it. Title bars and
    // task switchers want 32 to 64 pixels, also at scale 2; launchers take
    // the larger renders from the icon theme instead.
    static const QIcon icon = [] {
        QIcon sizes;
        for (const int size : {32, 48, 64}) {
            sizes.addFile(QStringLiteral(":/images/clock-%1.png").arg(size), QSize(size, size));
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
    QPixmap hand(sharp ? QStringLiteral(":/images/hand-cursor-64.png") : QStringLiteral(":/images/hand-cursor-32.png"));
    if (hand.isNull()) return QCursor(Qt::PointingHandCursor);
    if (sharp) hand.setDevicePixelRatio(2.0);
    return QCursor(hand, kHotX, kHotY);
}

} // namespace vantoril
