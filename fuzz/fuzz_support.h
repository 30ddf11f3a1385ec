// SPDX-License-Identifier: MIT
#pragma once

// Helpers shared by the fuzz targets: a check that stops the run with a
// readable message, and small independent readers used as references.

#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <locale.h>

namespace vantoril::fuzz {

// abort() is what libFuzzer records as a crash and saves the input for.
[[noreturn]] inline void Fail(const char* what, std::string_view text)
{
    std::fprintf(stderr, "\nFUZZ PROPERTY VIOLATED: %s\n  text: \"", what);
    for (const char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f && c != '"' && c != '\\') {
            std::fputc(c, stderr);
        } else {
            std::fprintf(stderr, "\\x%02x", u);
        }
    }
    std::fprintf(stderr, "\"\n");
    std::abort();
}

// The text is only formatted when the check fails, so it costs nothing per run.
inline void Check(bool ok, const char* what, std::string_view text)
{
    if (!ok) [[unlikely]]
        Fail(what, text);
}

// A Qt program runs with the user's LC_NUMERIC, so the code under test runs
// with a decimal comma whenever the system has such a locale (scripts/fuzz.sh
// generates de_DE.UTF-8); the reference functions switch back to "C".
inline void UseDecimalCommaLocale()
{
    std::setlocale(LC_ALL, "C");
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            std::fprintf(stderr, "code under test runs with LC_NUMERIC=%s\n", name);
            return;
        }
    }
    std::fprintf(stderr, "no decimal-comma locale installed; LC_NUMERIC stays C\n");
}

// "C" numbers on this thread for as long as it lives.
class CNumbers {
public:
    CNumbers() : previous_(uselocale(CLocale())) {}
    ~CNumbers() { uselocale(previous_); }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;

private:
    static locale_t CLocale()
    {
        static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
        return c;
    }
    locale_t previous_;
};

inline bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

// "[sign]digits[.digits][e[sign]digits]" with at least one mantissa digit
// and nothing else: the texts on which every decimal reader must agree with
// strtod. Deliberately written apart from the program's own reader.
inline bool IsPlainDecimal(std::string_view s)
{
    std::size_t i = 0;
    const auto digitsFrom = [&](std::size_t& at) {
        const std::size_t start = at;
        while (at < s.size() && IsAsciiDigit(s[at])) ++at;
        return at - start;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissa = digitsFrom(i);
    if (i < s.size() && s[i] == '.') {
        ++i;
        mantissa += digitsFrom(i);
    }
    if (mantissa == 0) return false;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digitsFrom(i) == 0) return false;
    }
    return i == s.size();
}

// The input bytes as little-endian UTF-16 code units; an odd last byte is dropped.
inline std::u16string Utf16Units(const std::uint8_t* data, std::size_t size)
{
    std::u16string units(size / 2, u'\0');
    for (std::size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    }
    return units;
}

// Every byte as the code unit of the same number (Latin-1).
inline std::u16string WidenBytes(std::string_view bytes)
{
    std::u16string units(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        units[i] = static_cast<unsigned char>(bytes[i]);
    }
    return units;
}

// Printable form of UTF-16 text for failure messages.
inline std::string Describe(std::u16string_view units)
{
    std::string out;
    for (const char16_t u : units) {
        if (u >= 0x20 && u < 0x7f) {
            out.push_back(static_cast<char>(u));
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "<%04x>", static_cast<unsigned>(u));
            out += buf;
        }
    }
    return out;
}

inline void Check(bool ok, const char* what, std::u16string_view units)
{
    if (!ok) [[unlikely]]
        Fail(what, Describe(units));
}

} // namespace vantoril::fuzz
