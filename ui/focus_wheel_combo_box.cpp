// SPDX-License-Identifier: MIT
#include "ui/focus_wheel_combo_box.h"

#include <QWheelEvent>

namespace vantoril {

FocusWheelComboBox::FocusWheelComboBox(QWidget* parent) : CaptionedComboBox(parent)
{
    // The default, WheelFocus, would let the wheel take the focus.
    setFocusPolicy(Qt::StrongFocus);
}

void FocusWheelComboBox::wheelEvent(QWheelEvent* event)
{
    if (!hasFocus()) {
        event->ignore(); // propagates to the parent
        return;
    }
    CaptionedComboBox::wheelEvent(event);
}

} // namespace vantoril
