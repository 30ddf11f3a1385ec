#pragma once

#include <QComboBox>

namespace vantoril {

// A drop-down box that the mouse wheel steps only while it has the keyboard
// focus. Rolled over by a pointer passing on its way, it changes nothing and
// takes no focus: the wheel goes on to its parent, and the caret stays where
// the user is typing.
class FocusWheelComboBox final : public QComboBox {
public:
    explicit FocusWheelComboBox(QWidget* parent = nullptr);

protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace vantoril
