// Test names for parameterised cases that carry no name of their own: the
// case's text spelled in the letters, digits and underscores GoogleTest
// allows, so that CTest lists "ReadsTheNumericPrefix/Minus_5", not bytes.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace vantoril {

inline std::string ParamName(std::string_view text)
{
    if (text.empty()) return "Empty";
    std::string name;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            name += c;
            continue;
        }
        switch (c) {
        case ' ': name += '_'; break;
        case '-': name += "Minus"; break;
        case '+': name += "Plus"; break;
        case '.': name += "Point"; break;
        case ',': name += "Comma"; break;
        case '&': name += "Amp"; break;
        case '\t': name += "Tab"; break;
        case '\n': name += "Lf"; break;
        case '\r': name += "Cr"; break;
        default: {
            char hex[8];
            std::snprintf(hex, sizeof hex, "x%02X", static_cast<unsigned char>(c));
            name += hex;
        }
        }
    }
    return name;
}

} // namespace vantoril
