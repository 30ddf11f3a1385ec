// SPDX-License-Identifier: MIT
#pragma once

#include <QGroupBox>
#include <QPixmap>

namespace vantoril {

// A titled frame drawn the classic way: the border runs through the vertical
// middle of the title, which sits on it, inset from the left edge on a gap
// of window colour. The captions placed near the top of the frame then stand
// inside it, clear of the line; a style's own group box puts its title above
// the frame and its border lower, across them.
//
// It paints once into a picture and then copies it: pressing a button inside
// a frame repaints the frame behind it, and that cost more than the whole
// calculation at each PRESS. The picture is dropped whenever what it shows
// could change (palette, font, style, size, scale).
class CachedGroupBox final : public QGroupBox {
    Q_OBJECT

public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Height, in pixels from the frame's top, of the border's top row.
    [[nodiscard]] int BorderTop() const;
    void PaintFrame(QPainter& painter) const;

    QPixmap picture_;
};

} // namespace vantoril
