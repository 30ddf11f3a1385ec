// SPDX-License-Identifier: MIT
#include "runtime/conversions.h"

#include "runtime/run_time_error.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <langinfo.h>
#include <locale.h>

namespace vantoril {

namespace {

// strtod_l with a private "C" locale: always reads the full stop as the
// decimal point, whatever the program's LC_NUMERIC is.
locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", nullptr);
    return c;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHexDigit(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsOctDigit(char c) { return c >= '0' && c <= '7'; }
bool IsLenientBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Anything outside ASCII cannot belong to a number; it becomes a character
// that stops every reader below.
std::string Narrow(std::u16string_view text)
{
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = text[i] < 0x80 ? static_cast<char>(text[i]) : '\x01';
    }
    return out;
}

// Length of "digits[.digits][e[sign]digits]" (with optional leading sign) at
// the start of s, or 0 when it holds no mantissa digit; point is the decimal
// separator.
std::size_t DecimalPrefix(std::string_view s, char point = '.')
{
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t digits = 0;
    while (i < s.size() && IsDigit(s[i])) {
        ++i;
        ++digits;
    }
    if (i < s.size() && s[i] == point) {
        ++i;
        while (i < s.size() && IsDigit(s[i])) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && IsDigit(s[j])) {
            while (j < s.size() && IsDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

double ParseDouble(const std::string& number)
{
    errno = 0;
    const double value = strtod_l(number.c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::isinf(value)) throw RunTimeError(ErrorKind::Overflow);
    return value;
}

// Hex digits are read exactly by strtod's own hexadecimal form; octal digits
// are regrouped into hex first, three bits at a time.
double RadixValue(std::string_view s)
{
    if (s.size() < 2) return 0.0;
    const char radix = s[1];
    std::string hex;
    std::size_t i = 2;
    if (radix == 'h' || radix == 'H') {
        while (i < s.size() && IsHexDigit(s[i])) hex.push_back(s[i++]);
    } else if (radix == 'o' || radix == 'O') {
        std::string bits;
        while (i < s.size() && IsOctDigit(s[i])) {
            const int d = s[i++] - '0';
            bits += static_cast<char>('0' + ((d >> 2) & 1));
            bits += static_cast<char>('0' + ((d >> 1) & 1));
            bits += static_cast<char>('0' + (d & 1));
        }
        bits.insert(0, (4 - bits.size() % 4) % 4, '0');
        for (std::size_t b = 0; b < bits.size(); b += 4) {
            const int nibble =
                (bits[b] - '0') * 8 + (bits[b + 1] - '0') * 4 + (bits[b + 2] - '0') * 2 + (bits[b + 3] - '0');
            hex.push_back("0123456789abcdef"[nibble]);
        }
    } else {
        return 0.0;
    }
    if (hex.empty()) return 0.0;
    return ParseDouble("0x" + hex);
}

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes the
// page leaves undefined map to the C1 control of the same number.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

std::string FormatSignificant(double x, int digits)
{
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Infinity" : "Infinity";
    if (x == 0.0) return "0";

    // d.ddddde[+-]xx, rounded to the wanted number of significant digits.
    std::array<char, 64> buf{};
    const auto res =
        std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(x), std::chars_format::scientific, digits - 1);
    const std::string_view sci(buf.data(), static_cast<std::size_t>(res.ptr - buf.data()));
    const std::size_t ePos = sci.find('e');
    std::string mantissa;
    for (char c : sci.substr(0, ePos)) {
        if (c != '.') mantissa.push_back(c);
    }
    int exponent = 0;
    const std::string_view expText = sci.substr(ePos + 1);
    std::from_chars(expText.data() + (expText[0] == '+' ? 1 : 0), expText.data() + expText.size(), exponent);
    while (mantissa.size() > 1 && mantissa.back() == '0') mantissa.pop_back();

    std::string out = x < 0 ? "-" : "";
    if (exponent >= digits || exponent < -4) {
        out += mantissa[0];
        if (mantissa.size() > 1) {
            out += '.';
            out.append(mantissa, 1);
        }
        out += exponent < 0 ? "E-" : "E+";
        const std::string e = std::to_string(std::abs(exponent));
        if (e.size() < 2) out += '0';
        out += e;
    } else if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (mantissa.size() <= intDigits) {
            out += mantissa;
            out.append(intDigits - mantissa.size(), '0');
        } else {
            out.append(mantissa, 0, intDigits);
            out += '.';
            out.append(mantissa, intDigits);
        }
    } else {
        out += "0.";
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += mantissa;
    }
    return out;
}

} // namespace

double LenientNumber(std::string_view text)
{
    std::string s;
    s.reserve(text.size());
    for (char c : text) {
        if (!IsLenientBlank(c)) s.push_back(c);
    }
    if (!s.empty() && s[0] == '&') return RadixValue(s);
    const std::size_t length = DecimalPrefix(s);
    if (length == 0) return 0.0;
    return ParseDouble(s.substr(0, length));
}

double LenientNumber(std::u16string_view text) { return LenientNumber(Narrow(text)); }

char DecimalSeparatorOf(const char* localeName)
{
    const locale_t numeric = newlocale(LC_NUMERIC_MASK, localeName, nullptr);
    if (numeric == nullptr) return '.';
    const char* radix = nl_langinfo_l(RADIXCHAR, numeric);
    // Only a one-byte ASCII separator can be told apart from the digits; a
    // locale with any other keeps the full stop.
    const char point = (radix != nullptr && radix[0] > 0 && radix[1] == '\0' && !IsDigit(radix[0])) ? radix[0] : '.';
    freelocale(numeric);
    return point;
}

char UserDecimalSeparator()
{
    // From the environment, not the process locale: Qt resets LC_NUMERIC, and
    // the user's setting is what counts.
    static const char point = DecimalSeparatorOf("");
    return point;
}

float StrictSingle(std::string_view text, char decimalSeparator)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) throw RunTimeError(ErrorKind::TypeMismatch);
    const auto last = text.find_last_not_of(" \t");
    std::string number(text.substr(first, last - first + 1));
    const std::size_t length = DecimalPrefix(number, decimalSeparator);
    if (length != number.size()) throw RunTimeError(ErrorKind::TypeMismatch);
    // Read in the C locale, with the separator written as a full stop.
    std::replace(number.begin(), number.end(), decimalSeparator, '.');
    errno = 0;
    const float value = strtof_l(number.c_str(), nullptr, CLocale());
    if (errno == ERANGE && std::isinf(value)) throw RunTimeError(ErrorKind::Overflow);
    return value;
}

float StrictSingle(std::string_view text) { return StrictSingle(text, UserDecimalSeparator()); }
float StrictSingle(std::u16string_view text) { return StrictSingle(Narrow(text), UserDecimalSeparator()); }
float StrictSingle(std::u16string_view text, char decimalSeparator)
{
    return StrictSingle(Narrow(text), decimalSeparator);
}

float StoreSingleBeyondRange(double value) noexcept
{
    // Between FLT_MAX and FLT_MAX + half an ulp, rounding to nearest still
    // gives FLT_MAX; beyond it the store gives infinity.
    const double roundsToInfinity = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    const float magnitude = std::fabs(value) < roundsToInfinity ? FLT_MAX : HUGE_VALF;
    return value < 0 ? -magnitude : magnitude;
}

void ThrowOverflow() { throw RunTimeError(ErrorKind::Overflow); }

std::string NumberText(float x)
{
    // Widening is exact, so rounding the double to 7 digits rounds the single.
    return FormatSignificant(static_cast<double>(x), 7);
}

std::string NumberText(double x) { return FormatSignificant(x, 15); }

bool StrEqual(std::u16string_view a, std::u16string_view b) noexcept { return a == b; }
bool StrLess(std::u16string_view a, std::u16string_view b) noexcept { return a < b; }
bool StrGreater(std::u16string_view a, std::u16string_view b) noexcept { return a > b; }

std::u16string CharOfAnsiCode(std::uint8_t code)
{
    const char16_t ch = (code >= 0x80 && code <= 0x9F) ? kCp1252High[code - 0x80] : char16_t{code};
    return std::u16string(1, ch);
}

std::uint8_t AnsiCodeOfChar(char32_t ch) noexcept
{
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF)) return static_cast<std::uint8_t>(ch);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] == ch) return static_cast<std::uint8_t>(0x80 + i);
    }
    return '?';
}

} // namespace vantoril
