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

// A number from 0 to 99 as two digits at p, from a table of the pairs
// (half the arithmetic of a digit at a time); returns the end.
inline char* PutTwoDigits(char* p, int value)
{
    static constexpr std::string_view kPairs =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    const std::size_t at = 2 * static_cast<std::size_t>(value);
    p[0] = kPairs[at];
    p[1] = kPairs[at + 1];
    return p + 2;
}

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
