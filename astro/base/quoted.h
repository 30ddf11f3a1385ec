// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace vantoril::astro {

// A value made safe to echo in a message: printable characters kept (ASCII,
// and UTF-8 from U+00A0, as "São Paulo"), every other byte as \xNN, cut
// after a few dozen characters, in double quotes.
std::string Quoted(std::string_view value);

// Throws InputError "WHAT "TEXT": expected FORM".
[[noreturn]] void ThrowExpected(std::string_view what, std::string_view text, std::string_view form);

} // namespace vantoril::astro
