// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>

namespace vantoril {

// A combo box that screen readers announce by its caption. On Linux Qt's own
// accessible combo box reports its current text as its name and ignores the
// accessible name, so a reader says "01, combo box" without saying what the
// 01 is. This one reports the accessible name when there is one; the current
// text stays readable as its value, in its text field and in its list, and
// the caption label still labels it.
class CaptionedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit CaptionedComboBox(QWidget* parent = nullptr);
};

} // namespace vantoril
