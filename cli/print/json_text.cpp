// SPDX-License-Identifier: MIT
#include "cli/print/json_text.h"

#include <utf8proc.h>

namespace vantoril::cli {

void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    std::size_t at = 0;
    while (at < s.size()) {
        const char c = s[at];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[(byte >> 4) & 15];
            out += "0123456789abcdef"[byte & 15];
        } else if (byte < 0x80) {
            out += c;
        } else {
            // Whole UTF-8 characters as they are; any other byte (a places
            // file in Latin-1, say) as U+FFFD, so the line stays JSON.
            utf8proc_int32_t code = 0;
            const utf8proc_ssize_t n = utf8proc_iterate(reinterpret_cast<const utf8proc_uint8_t*>(s.data() + at),
                                                        static_cast<utf8proc_ssize_t>(s.size() - at), &code);
            if (n > 0) {
                out.append(s.substr(at, static_cast<std::size_t>(n)));
                at += static_cast<std::size_t>(n);
                continue;
            }
            out += "\\ufffd";
        }
        ++at;
    }
    out += '"';
}

} // namespace vantoril::cli
