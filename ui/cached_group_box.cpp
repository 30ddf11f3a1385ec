#include "ui/cached_group_box.h"

#include <QEvent>
#include <QPainter>
#include <QStyleOptionGroupBox>

namespace vantoril {

void CachedGroupBox::paintEvent(QPaintEvent* /*event*/)
{
    const qreal ratio = devicePixelRatioF();
    if (picture_.isNull() || picture_.devicePixelRatio() != ratio) {
        picture_ = QPixmap(size() * ratio);
        picture_.setDevicePixelRatio(ratio);
        // Opaque, on the window's own colour, so text is smoothed against
        // the same background as when painted directly.
        picture_.fill(palette().color(QPalette::Window));
        QPainter painter(&picture_);
        // As a painter opened on the widget itself would start.
        painter.setFont(font());
        painter.setPen(palette().color(foregroundRole()));
        painter.setBackground(palette().brush(backgroundRole()));
        QStyleOptionGroupBox option;
        initStyleOption(&option);
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
    }
    QPainter(this).drawPixmap(0, 0, picture_);
}

void CachedGroupBox::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::StyleChange:
    case QEvent::PaletteChange:
    case QEvent::FontChange:
    case QEvent::EnabledChange:
        picture_ = QPixmap();
        break;
    default:
        break;
    }
    QGroupBox::changeEvent(event);
}

void CachedGroupBox::resizeEvent(QResizeEvent* event)
{
    picture_ = QPixmap();
    QGroupBox::resizeEvent(event);
}

} // namespace vantoril
