// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Decimal numbers as people type them, read to the double they name
// (correctly rounded, as strtod gives it) and, where a limit must hold for
// the number written and not only for its double, read exactly.

namespace vantoril::astro {

// PlainDecimal's texts of at most 15 digits, without calling the library:
// up to 15 digits make an exact integer and 10^k (k <= 22) is exact, so one
// division rounds correctly. False for anything else. Inline: a batch line
// reads several of these.
inline bool ReadFastDecimal(std::string_view text, double& value)
{
    static constexpr std::array<double, 16> kTens = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t mantissa = 0;
    auto digits = [&] {
        const char* start = p;
        for (unsigned d = 0; p < end && (d = static_cast<unsigned char>(*p) - '0') < 10; ++p)
            mantissa = mantissa * 10 + d;
        return p - start;
    };
    const auto whole = digits();
    std::ptrdiff_t decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        decimals = digits();
        if (decimals == 0) return false;
    }
    // Leading zeros beyond 15 digits, rare, go the library's way.
    if (whole == 0 || p != end || whole + decimals > 15) return false;
    // Below 10^15, so the signed conversion is exact.
    const auto exact = static_cast<double>(static_cast<std::int64_t>(mantissa));
    value = decimals == 0 ? exact : exact / kTens[static_cast<std::size_t>(decimals)];
    return true;
}

// Digits with at most one point and no sign, of any length, into `value`;
// false (value untouched) for anything else.
bool ReadLongDecimal(std::string_view text, double& value);

inline bool ReadPlainDecimal(std::string_view text, double& value)
{
    return ReadFastDecimal(text, value) || ReadLongDecimal(text, value);
}

// The same as optionals.
std::optional<double> PlainDecimal(std::string_view text);
std::optional<double> FastDecimal(std::string_view text);

// A decimal number read exactly: its magnitude is 0.digits x 10^exponent
// (digits without leading or trailing zeros, empty for zero); value is the
// correctly rounded double.
struct ExactDecimal {
    bool negative = false;
    std::string digits;
    long long exponent = 0;
    double value = 0;
};
// [sign] digits [. [digits]] or [sign] . digits, of any length; with
// `scientific` also [sign] and an exponent e or E [sign] digits after it.
// nullopt for anything else.
std::optional<ExactDecimal> ReadExactDecimal(std::string_view text, bool scientific);
// -1, 0 or 1 as |a| is below, equal to or above |b|.
int CompareMagnitude(const ExactDecimal& a, const ExactDecimal& b);

// Whether the plain decimal `text`, read as `value`, is above the whole
// number `limit` (or at it, with `orEqual`) by its written value: a long text
// may round to the limit's double.
bool Beyond(std::string_view text, double value, double limit, bool orEqual);

} // namespace vantoril::astro
