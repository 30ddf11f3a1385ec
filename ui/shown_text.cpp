// SPDX-License-Identifier: MIT
#include "ui/shown_text.h"

#include <utility>

namespace vantoril {

namespace {

// The no-break space, the narrow no-break space and the figure space.
bool IsNoBreakSpace(char32_t c) { return c == 0x00A0 || c == 0x202F || c == 0x2007; }

} // namespace

QString AsShown(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        // Whole code points, so digits and format characters beyond the
        // first plane (mathematical digits, tags) are met as well.
        qsizetype units = 1;
        char32_t c = text.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            units = 2;
        }
        if (c == U'\r' || QChar::category(c) == QChar::Other_Format) {
            // dropped: nothing on screen
        } else if (IsNoBreakSpace(c)) {
            shown += QLatin1Char(' ');
        } else if (c > 0x7F && QChar::category(c) == QChar::Number_DecimalDigit && QChar::digitValue(c) >= 0) {
            shown += QChar(u'0' + QChar::digitValue(c));
        } else {
            shown += QStringView(text).mid(i, units);
        }
        i += units;
    }
    return shown;
}

QValidator::State ShownTextValidator::validate(QString& input, int& pos) const
{
    QString shown = AsShown(input);
    if (shown != input) {
        // Each character is mended on its own, so the caret keeps its place
        // among what stays.
        pos = static_cast<int>(AsShown(input.left(pos)).size());
        input = std::move(shown);
    }
    return Acceptable;
}

} // namespace vantoril
