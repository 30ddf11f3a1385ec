// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <vector>

class QKeyEvent;
class QString;

namespace vantoril {

// The ANSI character codes a key event types, as the key procedures expect
// them: Backspace 8, Enter 13, Escape 27, Ctrl+A..Ctrl+Z 1..26, printable text
// through the Windows-1252 code page ('?' where it has no such character);
// Ctrl+H is 8 like Backspace and Ctrl+Space the blank, 32.
// Empty for keys that type no character: arrows, Home, End, Delete, Tab,
// function keys, modifiers alone, Alt combinations.
std::vector<std::uint8_t> AnsiKeyCodes(const QKeyEvent& event);

// The codes of typed text that arrives without a key, such as a composed
// character committed by the platform's compose handling.
std::vector<std::uint8_t> AnsiTextCodes(const QString& text);

} // namespace vantoril
