// SPDX-License-Identifier: MIT
#pragma once

#include <QLineEdit>

namespace vantoril {

// The result box: read-only, yet focusable and selectable so the result can
// be copied. Assistive technology meets it read-only as well (see
// line_box_accessible.h).
class ResultBox final : public QLineEdit {
    Q_OBJECT

public:
    explicit ResultBox(const QString& text, QWidget* parent = nullptr);
};

} // namespace vantoril
