// SPDX-License-Identifier: MIT
#include "ui/cached_group_box.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <qdrawutil.h>

namespace vantoril {

namespace {

constexpr int kTitleInset = 8; // from the frame's left edge to the title's gap
constexpr int kTitleGap = 2;   // window colour on either side of the title

} // namespace

int CachedGroupBox::BorderTop() const { return fontMetrics().height() / 2; }

void CachedGroupBox::PaintFrame(QPainter& painter) const
{
    const QPalette& colours = palette();
    // An etched line in the palette's shades: the classic group box, and
    // right under any palette, light or dark. (Styles add their own margin
    // above the frame they draw, which is what puts it across the captions.)
    qDrawShadeRect(&painter, rect().adjusted(0, BorderTop(), 0, 0), colours, true, 1, 0);

    const QString caption = title();
    if (caption.isEmpty()) return;
    const QFontMetrics metrics = fontMetrics();
    const QRect text(kTitleInset + kTitleGap, 0, metrics.horizontalAdvance(caption) + 1, metrics.height());
    painter.fillRect(text.adjusted(-kTitleGap, 0, kTitleGap, 0), colours.brush(QPalette::Window));
    style()->drawItemText(&painter, text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextHideMnemonic, colours, isEnabled(),
                          caption, QPalette::WindowText);
}

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
        painter.setFont(font());
        PaintFrame(painter);
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
