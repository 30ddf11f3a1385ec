// SPDX-License-Identifier: MIT
#pragma once

#include <QProxyStyle>

namespace vantoril {

// The window's combos are as narrow as 33 pixels; the usual drop-down
// button would leave no room for a letter. This style narrows the button
// and gives the text part the difference, and changes nothing else.
class CompactComboStyle final : public QProxyStyle {
public:
    static constexpr int kArrowWidth = 14;

    CompactComboStyle();

    [[nodiscard]] QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                       const QWidget* widget) const override;
};

} // namespace vantoril
