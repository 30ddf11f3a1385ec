// SPDX-License-Identifier: MIT
// Test names for parameterised cases that carry no name of their own: the
// case's text spelled in the letters, digits and underscores GoogleTest
// allows, so that CTest lists "ReadsTheNumericPrefix/Minus_5", not bytes.
#pragma once

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

namespace vantoril {

inline std::string ParamName(std::string_view text)
{
    static constexpr std::pair<char, std::string_view> kSpelled[] = {{' ', "_"},     {'-', "Minus"}, {'+', "Plus"},
                                                                     {'.', "Point"}, {',', "Comma"}, {'&', "Amp"},
                                                                     {'\t', "Tab"},  {'\n', "Lf"},   {'\r', "Cr"}};
    if (text.empty()) return "Empty";
    std::string name;
    for (const char c : text) {
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
            name += c;
            continue;
        }
        const auto* spelled =
            std::find_if(std::begin(kSpelled), std::end(kSpelled), [c](const auto& s) { return s.first == c; });
        if (spelled != std::end(kSpelled)) {
            name += spelled->second;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "x%02X", static_cast<unsigned char>(c));
            name += hex;
        }
    }
    return name;
}

} // namespace vantoril
