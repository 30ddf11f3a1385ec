// SPDX-License-Identifier: MIT
#include "astro/base/quoted.h"

#include "astro/base/errors.h"

#include <cstdint>

namespace vantoril::astro {

namespace {

// The length of the UTF-8 sequence of a printable character at the start of
// `text` (0 for none): code points from U+00A0 that show, no overlong forms,
// no surrogates.
std::size_t PrintableSequence(std::string_view text)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(0);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 0;
    if (length == 0 || lead > 0xF4 || text.size() < length) return 0;
    std::uint32_t point = lead & (0x7F >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        point = (point << 6) | (byte(i) & 0x3F);
    }
    static constexpr std::uint32_t kLeast[] = {0, 0, 0xA0, 0x800, 0x10000};
    if (point < kLeast[length] || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) return 0;
    // Characters that show nothing or turn the text around: escaped, so that
    // the message shows what was typed.
    const bool invisible = point == 0xAD || (point >= 0x200B && point <= 0x200F) ||
                           (point >= 0x2028 && point <= 0x202E) || (point >= 0x2060 && point <= 0x206F) ||
                           point == 0xFEFF;
    return invisible ? 0 : length;
}

} // namespace

std::string Quoted(std::string_view value)
{
    constexpr std::size_t kShown = 40; // characters
    std::string out = "\"";
    std::size_t shown = 0;
    while (!value.empty() && shown < kShown) {
        const auto c = static_cast<unsigned char>(value.front());
        std::size_t length = 1;
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else if (const std::size_t printable = PrintableSequence(value); printable > 0) {
            length = printable;
            out.append(value.substr(0, length));
        } else {
            out += "\\x";
            out += "0123456789abcdef"[c >> 4];
            out += "0123456789abcdef"[c & 15];
        }
        value.remove_prefix(length);
        ++shown;
    }
    if (!value.empty()) out += "...";
    out += '"';
    return out;
}

void ThrowExpected(std::string_view what, std::string_view text, std::string_view form)
{
    std::string message(what);
    message.append(" ").append(Quoted(text)).append(": expected ").append(form);
    throw InputError(message);
}

} // namespace vantoril::astro
