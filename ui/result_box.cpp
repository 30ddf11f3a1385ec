// SPDX-License-Identifier: MIT
#include "ui/result_box.h"

#include "ui/line_box_accessible.h"

namespace vantoril {

ResultBox::ResultBox(const QString& text, QWidget* parent) : QLineEdit(parent)
{
    InstallLineBoxAccessibility();
    setReadOnly(true);
    setFocusPolicy(Qt::StrongFocus);
    setText(text);
}

} // namespace vantoril
