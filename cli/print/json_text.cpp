// SPDX-License-Identifier: MIT
#include "cli/print/json_text.h"

namespace vantoril::cli {

void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[(c >> 4) & 15];
            out += "0123456789abcdef"[c & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

} // namespace vantoril::cli
