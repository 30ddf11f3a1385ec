// SPDX-License-Identifier: MIT
#include "ui/key_codes.h"

#include "runtime/conversions.h"

#include <QKeyEvent>

namespace vantoril {

std::vector<std::uint8_t> AnsiKeyCodes(const QKeyEvent& event)
{
    const int key = event.key();
    const Qt::KeyboardModifiers mods = event.modifiers();
    switch (key) {
    case Qt::Key_Backspace:
        // Alt+Backspace is a command (undo), not a character.
        if (mods.testFlag(Qt::AltModifier)) return {};
        return {8};
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return {13};
    case Qt::Key_Escape:
        return {27};
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }

    // Derived from the key, not the text: X sends Ctrl+V as "\x16", a
    // synthesized event sends "v" with the Ctrl modifier.
    if (mods.testFlag(Qt::ControlModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return {static_cast<std::uint8_t>(key - Qt::Key_A + 1)};
        if (key == Qt::Key_Space) return {32};
        if (key == Qt::Key_BracketLeft) return {27};
        if (key == Qt::Key_Backslash) return {28};
        if (key == Qt::Key_BracketRight) return {29};
        return {};
    }
    if (mods.testFlag(Qt::AltModifier)) return {};

    return AnsiTextCodes(event.text());
}

std::vector<std::uint8_t> AnsiTextCodes(const QString& text)
{
    std::vector<std::uint8_t> codes;
    for (const char32_t ch : text.toUcs4()) {
        if (ch == 0x7f) continue; // X gives Delete this text; it types nothing
        codes.push_back(AnsiCodeOfChar(ch));
    }
    return codes;
}

} // namespace vantoril
