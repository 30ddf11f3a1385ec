// SPDX-License-Identifier: MIT
#include "astro/base/quoted.h"

#include "astro/base/errors.h"

namespace vantoril::astro {

std::string Quoted(std::string_view value)
{
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (std::size_t i = 0; i < value.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += "0123456789abcdef"[c >> 4];
            out += "0123456789abcdef"[c & 15];
        }
    }
    if (value.size() > kShown) out += "...";
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
