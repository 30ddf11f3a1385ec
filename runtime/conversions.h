// SPDX-License-Identifier: MIT
#pragma once

#include <cfloat>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <string>
#include <string_view>

// Text-to-number and number-to-text conversions, comparisons and code-page
// look-ups that the window's event procedures rely on. None depends on the
// process locale, which Qt switches about; StrictSingle alone reads the
// user's decimal separator, from the environment.

namespace vantoril {

// Reads the longest numeric prefix of text, ignoring blanks, tabs and line
// feeds anywhere: optional sign, digits, one decimal point, optional exponent;
// or &H / &O followed by hexadecimal or octal digits. No number reads as 0.
// Throws RunTimeError(Overflow) when the number is beyond the double range.
double LenientNumber(std::u16string_view text);
double LenientNumber(std::string_view text);

// The whole text, blanks around it allowed, must be a decimal number written
// with the user's decimal separator (UserDecimalSeparator), or with the one
// given. No grouping characters: under a decimal comma "1.5" is no number.
// Throws RunTimeError(TypeMismatch) otherwise, RunTimeError(Overflow) beyond
// the single range.
float StrictSingle(std::u16string_view text);
float StrictSingle(std::string_view text);
float StrictSingle(std::u16string_view text, char decimalSeparator);
float StrictSingle(std::string_view text, char decimalSeparator);

// The decimal separator of a numeric locale by name; "" names the user's, as
// the environment sets it (LC_ALL, LC_NUMERIC, LANG). A full stop when the
// locale is unknown or its separator is not a single ASCII character.
char DecimalSeparatorOf(const char* localeName);
// The user's decimal separator, read from the environment at the first call.
char UserDecimalSeparator();

// Rounds a double into single precision the way a store into a single field
// does: to nearest, and to infinity of its sign beyond the range, with no error.
// Inline, as the calculation stores five singles a result: only a value
// beyond the single range takes the call.
float StoreSingleBeyondRange(double value) noexcept;
inline float StoreSingle(double value) noexcept
{
    if (std::fabs(value) <= static_cast<double>(FLT_MAX) || std::isnan(value)) [[likely]]
        return static_cast<float>(value);
    return StoreSingleBeyondRange(value);
}

// Largest integral value not above x, in the width of x. Inline, with the
// common case done by conversion: without SSE4.1 std::floor is a library call,
// and the calculation floors eight times.
inline double FloorInt(double x) noexcept
{
    constexpr double kExactBeyond = 4503599627370496.0; // 2^52: every double from here on is integral
    if (x > -kExactBeyond && x < kExactBeyond) {
        const auto truncated = static_cast<double>(static_cast<std::int64_t>(x));
        return truncated > x ? truncated - 1 : truncated;
    }
    return std::floor(x); // large, infinite or NaN
}
inline float FloorInt(float x) noexcept { return static_cast<float>(FloorInt(static_cast<double>(x))); }

// Floor of x as a 16-bit integer; NaN, infinity and anything outside
// -32768..32767 throw RunTimeError(Overflow). Inline like FloorInt.
[[noreturn]] void ThrowOverflow();
inline std::int16_t FloorToInt16(double x)
{
    const double f = FloorInt(x);
    if (f >= -32768.0 && f <= 32767.0) [[likely]] // false for NaN too
        return static_cast<std::int16_t>(f);
    ThrowOverflow();
}

// Decimal text of x: integral values of up to 7 (single) or 15 (double)
// significant digits are bare digits with "-" when negative; other values use
// up to that many significant digits, and exponent form ("1.5E+08") when they
// are very large or very small.
std::string NumberText(float x);
std::string NumberText(double x);
// Whole numbers read as doubles, so NumberText(7) is not ambiguous.
template <std::integral Integer>
std::string NumberText(Integer x)
{
    return NumberText(static_cast<double>(x));
}

// Binary comparisons of UTF-16 code units; a proper prefix sorts first.
bool StrEqual(std::u16string_view a, std::u16string_view b) noexcept;
bool StrLess(std::u16string_view a, std::u16string_view b) noexcept;
bool StrGreater(std::u16string_view a, std::u16string_view b) noexcept;

// The one-character string of an ANSI (Windows-1252) character code.
std::u16string CharOfAnsiCode(std::uint8_t code);

// The Windows-1252 code of a Unicode character, or '?' (63) when the code
// page has no such character.
std::uint8_t AnsiCodeOfChar(char32_t ch) noexcept;

} // namespace vantoril
