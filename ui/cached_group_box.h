#pragma once

#include <QGroupBox>
#include <QPixmap>

namespace vantoril {

// A group box that paints its frame and title once and then copies the
// picture. Pressing a button inside a frame repaints the frame behind it,
// and some styles load their frame image from disk at every paint; that
// cost several times the whole calculation at each PRESS. It stands on a
// plain background of the window colour.
class CachedGroupBox final : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPixmap picture_;
};

} // namespace vantoril
