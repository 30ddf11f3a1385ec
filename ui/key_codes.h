#pragma once

#include <cstdint>
#include <vector>

class QKeyEvent;

namespace vantoril {

// The ANSI character codes a key event types, as the key procedures expect
// them: Backspace 8, Enter 13, Escape 27, Ctrl+A..Ctrl+Z 1..26, printable text
// through the Windows-1252 code page ('?' where it has no such character).
// Empty for keys that type no character: arrows, Home, End, Delete, Tab,
// function keys, modifiers alone, Alt combinations.
std::vector<std::uint8_t> AnsiKeyCodes(const QKeyEvent& event);

} // namespace vantoril
