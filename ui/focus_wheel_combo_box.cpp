#include "ui/focus_wheel_combo_box.h"

#include <QWheelEvent>

namespace vantoril {

FocusWheelComboBox::FocusWheelComboBox(QWidget* parent) : QComboBox(parent)
{
    // The default, WheelFocus, would let the wheel take the focus.
    setFocusPolicy(Qt::StrongFocus);
}

void FocusWheelComboBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore();  // propagates to the parent
        return;
    }
    QComboBox::wheelEvent(event);
}

} // namespace vantoril
