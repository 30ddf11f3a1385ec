#include "ui/images.h"

#include <QCursor>
#include <QIcon>
#include <QPixmap>

namespace vantoril {

QIcon ClockIcon()
{
    QIcon icon;
    for (const int size : {32, 48, 64, 128, 256}) {
        icon.addFile(QStringLiteral(":/images/clock-%1.png").arg(size), QSize(size, size));
    }
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
