// SPDX-License-Identifier: MIT
#include "random_input.h"

#include <utility>

namespace vantoril::testing::monkey {

namespace {

QString Digits(Random& rng, int n)
{
    QString s;
    s.reserve(n);
    for (int i = 0; i < n; ++i) s += QChar(u'0' + rng.Below(10));
    return s;
}

} // namespace

QString RandomText(Random& rng)
{
    // Tables laid out by hand.
    // clang-format off
    static const std::array<const char16_t*, 34> pieces = {
        u"0", u"1", u"5", u"9", u"-", u"+", u".", u",", u"e", u"E", u"&H", u"&O", u"&h7FFF", u" ", u"\t",
        u"\n", u"a", u"Z", u"x", u"W", u"\u00e9", u"\u20ac", u"\u4e2d", u"\U0001F600", u"\u0663", u"\uff11",
        u"\u00a0", u"\u200b", u"\u0301", u"D", u"1e39", u"1E308", u"%", u"\r\n"};
    static const std::array<const char16_t*, 28> numbers = {
        u"0", u"59", u"60", u"179", u"180", u"2002", u"-1", u"+7", u"12.5", u"1,5", u" 12 ", u"1e3", u"1e39",
        u"-1e39", u"1e308", u"1e309", u"3276800", u"32767", u"32768", u"&H10", u"&O17", u"&HFFFFFFFFFFFFFFFFFFFF",
        u".5", u"5.", u"1e", u"E", u"W", u" 00"};
    // clang-format on
    switch (rng.Weighted(std::array{30, 8, 20, 24, 4, 14})) {
    case 0:
        return Digits(rng, 1 + rng.Below(6));
    case 1:
        return Digits(rng, 7 + rng.Below(394)); // up to 400 digits
    case 2:
        return QString::fromUtf16(rng.Of(numbers));
    case 3: {
        QString s;
        const int n = rng.Below(25);
        for (int i = 0; i < n; ++i) s += QString::fromUtf16(rng.Of(pieces));
        return s;
    }
    case 4:
        return {};
    default:
        return QStringLiteral("%1").arg(rng.Below(40), 2, 10, QLatin1Char(rng.Chance(0.8) ? '0' : ' '));
    }
}

Key RandomKey(Random& rng)
{
    const auto plain = [](Qt::Key k, Qt::KeyboardModifiers m, const char* name) {
        return Key{k, m, {}, 0, 0, false, name};
    };
    switch (rng.Weighted(std::array{26, 8, 6, 6, 7, 3, 12, 4, 5, 2, 2, 2, 2, 2, 1, 1, 1, 1, 1})) {
    case 0: { // digit, from the main row or the keypad
        const int d = rng.Below(10);
        const auto mods = rng.Chance(0.2) ? Qt::KeypadModifier : Qt::NoModifier;
        return {static_cast<Qt::Key>(Qt::Key_0 + d), mods, QString(QChar(u'0' + d)), 1, 0, false, "digit"};
    }
    case 1: { // letter, either case
        const int l = rng.Below(26);
        const bool upper = rng.Chance(0.3);
        const auto mods = upper ? Qt::ShiftModifier : Qt::NoModifier;
        const QChar letter((upper ? u'A' : u'a') + l);
        return {static_cast<Qt::Key>(Qt::Key_A + l), mods, QString(letter), 1, 1, false, "letter"};
    }
    case 2: { // punctuation and blank
        // clang-format off
        static const std::array<std::pair<Qt::Key, char16_t>, 12> marks = {{
            {Qt::Key_Space, u' '}, {Qt::Key_Period, u'.'}, {Qt::Key_Comma, u','}, {Qt::Key_Minus, u'-'},
            {Qt::Key_Plus, u'+'}, {Qt::Key_Colon, u':'}, {Qt::Key_Slash, u'/'}, {Qt::Key_Ampersand, u'&'},
            {Qt::Key_ParenLeft, u'('}, {Qt::Key_Equal, u'='}, {Qt::Key_Apostrophe, u'\''}, {Qt::Key_Asterisk, u'*'},
        }};
        // clang-format on
        const auto& [k, c] = rng.Of(marks);
        return {k, Qt::NoModifier, QString(QChar(c)), 1, 1, false, "mark"};
    }
    case 3: {
        const auto mods = rng.Chance(0.2) ? Qt::ControlModifier : Qt::NoModifier;
        return {Qt::Key_Backspace, mods, QStringLiteral("\b"), 1, 0, false, "backspace"};
    }
    case 4: { // Ctrl+letter: X sends the control character, synthesized events the letter
        static const std::array<int, 8> usual = {0, 2, 21, 23, 25, 1, 4, 7}; // A C V X Z B E H
        const int l = rng.Chance(0.7) ? rng.Of(usual) : rng.Below(26);
        auto mods = Qt::KeyboardModifiers(Qt::ControlModifier);
        if (rng.Chance(0.15)) mods |= Qt::ShiftModifier;
        const QString text = rng.Chance(0.5) ? QString(QChar(char16_t(1 + l))) : QString(QChar(u'a' + l));
        // Ctrl+H is the control code of Backspace, which the boxes accept.
        const int rejected = l == 'H' - 'A' ? 0 : 1;
        return {static_cast<Qt::Key>(Qt::Key_A + l), mods, text, 1, rejected, false, "ctrl+letter"};
    }
    case 5: {
        static const std::array<std::pair<Qt::Key, char16_t>, 3> controls = {
            {{Qt::Key_Return, u'\r'}, {Qt::Key_Enter, u'\r'}, {Qt::Key_Escape, u'\x1b'}}};
        const auto& [k, c] = rng.Of(controls);
        const auto mods = k == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier;
        return {k, mods, QString(QChar(c)), 1, 1, false, "enter/escape"};
    }
    case 6: { // moving the cursor or stepping a list
        static const std::array<Qt::Key, 8> moves = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down,
                                                     Qt::Key_Home, Qt::Key_End,   Qt::Key_PageUp, Qt::Key_PageDown};
        Qt::KeyboardModifiers mods = rng.Chance(0.25) ? Qt::ShiftModifier : Qt::NoModifier;
        if (rng.Chance(0.1)) mods |= Qt::ControlModifier;
        return plain(rng.Of(moves), mods, "move");
    }
    case 7: {
        const QString text = rng.Chance(0.5) ? QStringLiteral("\x7f") : QString();
        return {Qt::Key_Delete, Qt::NoModifier, text, 0, 0, false, "delete"};
    }
    case 8:
        return rng.Chance(0.7) ? plain(Qt::Key_Tab, Qt::NoModifier, "tab")
                               : plain(Qt::Key_Backtab, Qt::ShiftModifier, "backtab");
    case 9: // opens a combo's list
        return rng.Chance(0.5) ? plain(Qt::Key_F4, Qt::NoModifier, "F4")
                               : plain(rng.Chance(0.5) ? Qt::Key_Down : Qt::Key_Up, Qt::AltModifier, "alt+arrow");
    case 10: // the clipboard keys that are no characters
        switch (rng.Below(3)) {
        case 0:
            return {Qt::Key_Insert, Qt::ShiftModifier, {}, 0, 0, true, "shift+insert"};
        case 1:
            return plain(Qt::Key_Insert, Qt::ControlModifier, "ctrl+insert");
        default:
            return plain(Qt::Key_Delete, Qt::ShiftModifier, "shift+delete");
        }
    case 11: { // characters beyond ASCII, one code point each
        static const std::array<const char16_t*, 8> chars = {u"\u00e9",     u"\u00df", u"\u20ac", u"\u4e2d",
                                                             u"\U0001F600", u"\u0663", u"\uff11", u"\u00a0"};
        const QString text = QString::fromUtf16(rng.Of(chars));
        return {static_cast<Qt::Key>(0), Qt::NoModifier, text, 1, 1, false, "non-ascii"};
    }
    case 12: { // several characters in one event, as compose sequences deliver them
        QString text;
        int rejected = 0;
        const int n = 2 + rng.Below(3);
        for (int i = 0; i < n; ++i) {
            if (rng.Chance(0.6)) {
                text += QChar(u'0' + rng.Below(10));
            } else {
                text += QChar(u'a' + rng.Below(26));
                ++rejected;
            }
        }
        return {Qt::Key_unknown, Qt::NoModifier, text, n, rejected, false, "multi-char"};
    }
    case 13: {
        static const std::array<Qt::Key, 6> fs = {Qt::Key_F1,  Qt::Key_F2,  Qt::Key_F5,
                                                  Qt::Key_F10, Qt::Key_F12, Qt::Key_Pause};
        return plain(rng.Of(fs), Qt::NoModifier, "function");
    }
    case 14: {
        static const std::array<Qt::Key, 3> mods = {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt};
        return plain(rng.Of(mods), Qt::NoModifier, "modifier");
    }
    case 15: { // Ctrl with a digit types nothing
        const int d = rng.Below(10);
        const auto key = static_cast<Qt::Key>(Qt::Key_0 + d);
        return {key, Qt::ControlModifier, QString(QChar(u'0' + d)), 0, 0, false, "ctrl+digit"};
    }
    case 16: { // Ctrl+[ \ ] are Escape, FS and GS
        static const std::array<Qt::Key, 3> brackets = {Qt::Key_BracketLeft, Qt::Key_Backslash, Qt::Key_BracketRight};
        return {rng.Of(brackets), Qt::ControlModifier, {}, 1, 1, false, "ctrl+bracket"};
    }
    case 17:
        // A command (undo), not a character: swallowed.
        return {Qt::Key_Backspace, Qt::AltModifier, QStringLiteral("\b"), 0, 0, false, "alt+backspace"};
    default: { // Alt+letter: a menu accelerator where there is one, never a character
        const int l = rng.Below(26);
        const auto key = static_cast<Qt::Key>(Qt::Key_A + l);
        return {key, Qt::AltModifier, QString(QChar(u'a' + l)), 0, 0, false, "alt+letter"};
    }
    }
}

} // namespace vantoril::testing::monkey
