// SPDX-License-Identifier: MIT
#pragma once

#include "ui/captioned_combo_box.h"

namespace vantoril {

// The window's drop-down box: announced by its caption, and stepped by the
// mouse wheel only while it has the keyboard focus. Rolled over by a pointer
// passing on its way, it changes nothing and takes no focus: the wheel goes
// on to its parent, and the caret stays where the user is typing.
class FocusWheelComboBox final : public CaptionedComboBox {
    Q_OBJECT

public:
    explicit FocusWheelComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace vantoril
