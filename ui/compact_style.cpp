// SPDX-License-Identifier: MIT
#include "ui/compact_style.h"

#include <QApplication>
#include <QStyleFactory>

namespace vantoril {

CompactComboStyle::CompactComboStyle() : QProxyStyle(QStyleFactory::create(QApplication::style()->name())) {}

QRect CompactComboStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                                        const QWidget* widget) const
{
    const QRect rect = QProxyStyle::subControlRect(control, option, sub, widget);
    if (control != CC_ComboBox || (sub != SC_ComboBoxArrow && sub != SC_ComboBoxEditField)) return rect;
    const int spare = QProxyStyle::subControlRect(control, option, SC_ComboBoxArrow, widget).width() - kArrowWidth;
    if (spare <= 0) return rect;
    return sub == SC_ComboBoxArrow ? rect.adjusted(spare, 0, 0, 0) : rect.adjusted(0, 0, spare, 0);
}

} // namespace vantoril
