// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace vantoril {

// The result box: read-only, yet focusable and selectable so the result can
// be copied. Assistive technology meets it read-only as well: no editable
// state, no way to set its text, and its text reported as one run, so a
// screen reader speaks the result whole.
class ResultBox final : public QLineEdit {
    Q_OBJECT

public:
    explicit ResultBox(const QString& text, QWidget* parent = nullptr);

    // Where the character at offset stands, in the box's own coordinates.
    [[nodiscard]] QRect CharacterRect(int offset) const;
};

} // namespace vantoril
