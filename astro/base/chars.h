// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string_view>
#include <utility>

// The few character tests and splits every reader of typed text and data
// files needs: ASCII only, whatever the locale.

namespace vantoril::astro {

constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// A blank between fields: space or tab.
constexpr bool IsBlank(char c) { return c == ' ' || c == '\t'; }

constexpr bool AllDigits(std::string_view s)
{
    for (const char c : s) {
        if (!IsDigit(c)) return false;
    }
    return !s.empty();
}

constexpr std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Position of the first character of s that pred accepts, or s.size(). By
// hand rather than find_first_of, which calls memchr for each character:
// a batch splits millions of short texts.
template <typename Pred>
constexpr std::size_t FindIf(std::string_view s, Pred pred)
{
    std::size_t i = 0;
    while (i < s.size() && !pred(s[i])) ++i;
    return i;
}

constexpr std::size_t FindBlank(std::string_view s)
{
    return FindIf(s, [](char c) { return IsBlank(c); });
}

constexpr std::size_t FindChar(std::string_view s, char wanted)
{
    return FindIf(s, [wanted](char c) { return c == wanted; });
}

// The next blank-separated field of s, consumed from it with the blanks
// before it; empty at the end.
constexpr std::string_view NextField(std::string_view& s)
{
    s = Trim(s);
    const std::size_t end = FindBlank(s);
    const std::string_view field = s.substr(0, end);
    s.remove_prefix(end);
    return field;
}

// Splits at the first `sep`; the second part is empty and `found` false
// when there is none.
constexpr std::pair<std::string_view, std::string_view> SplitAt(std::string_view s, char sep, bool& found)
{
    const std::size_t at = FindChar(s, sep);
    found = at < s.size();
    if (!found) return {s, {}};
    return {s.substr(0, at), s.substr(at + 1)};
}

// The value of a few digits already checked to be digits.
constexpr int SmallNumber(std::string_view digits)
{
    int n = 0;
    for (const char c : digits) n = n * 10 + (c - '0');
    return n;
}

} // namespace vantoril::astro
