// SPDX-License-Identifier: MIT
// NumberText for singles and doubles: raw bit patterns, integers and short
// decimals (where the rounding and notation thresholds live).
//
// Properties, with 7 digits for a single and 15 for a double:
//  - the text reads back (strtod, whole text) as the value rounded to that
//    many significant digits, as printf's "%.*e" rounds it;
//  - it has no more significant digits than that, no blanks, no comma, only
//    the characters of a decimal number with an optional "E+nn" exponent;
//  - an integral value below 10^7 / 10^15 in magnitude is bare digits, with
//    "-" when negative;
//  - infinities and NaN read back as themselves;
//  - all of it with a decimal-comma LC_NUMERIC when the system has one.

#include "fuzz/fuzz_support.h"
#include "runtime/conversions.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using vantoril::fuzz::Check;

// A decimal text "[-]mantissa e exponent" for strtod/strtof to round once.
std::string DecimalText(FuzzedDataProvider& in)
{
    const bool negative = in.ConsumeBool();
    const auto mantissa = in.ConsumeIntegralInRange<std::uint64_t>(0, 999999999999999999ULL);
    const int exponent = in.ConsumeIntegralInRange(-340, 330);
    return (negative ? "-" : "") + std::to_string(mantissa) + "e" + std::to_string(exponent);
}

double MakeDouble(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return std::bit_cast<double>(in.ConsumeIntegral<std::uint64_t>());
    case 1:
        return static_cast<double>(
            in.ConsumeIntegralInRange<std::int64_t>(-(std::int64_t{1} << 53), std::int64_t{1} << 53));
    default:
        return std::strtod(DecimalText(in).c_str(), nullptr);
    }
}

float MakeSingle(FuzzedDataProvider& in)
{
    switch (in.ConsumeIntegralInRange(0, 2)) {
    case 0:
        return std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());
    case 1:
        return static_cast<float>(in.ConsumeIntegralInRange<std::int32_t>(-(1 << 24), 1 << 24));
    default:
        return std::strtof(DecimalText(in).c_str(), nullptr);
    }
}

bool IsBareInteger(const std::string& text)
{
    std::size_t i = text.empty() || text[0] != '-' ? 0 : 1;
    if (i == text.size()) return false;
    for (; i < text.size(); ++i) {
        if (!vantoril::fuzz::IsAsciiDigit(text[i])) return false;
    }
    return true;
}

// Digits of the mantissa from the first non-zero one on.
int SignificantDigits(const std::string& text)
{
    int count = 0;
    bool leading = true;
    for (const char c : text) {
        if (c == 'E') break;
        if (!vantoril::fuzz::IsAsciiDigit(c)) continue;
        if (c != '0') leading = false;
        if (!leading) ++count;
    }
    return count;
}

void CheckText(double x, const std::string& text, int digits)
{
    const vantoril::fuzz::CNumbers cNumbers;
    char* end = nullptr;
    const double back = std::strtod(text.c_str(), &end);
    Check(!text.empty() && *end == '\0', "text does not read back as one number", text);

    if (std::isnan(x)) {
        Check(std::isnan(back), "NaN does not read back as NaN", text);
        return;
    }
    if (std::isinf(x)) {
        Check(back == x, "an infinity does not read back as itself", text);
        return;
    }

    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool sign = c == '-' && (i == 0 || text[i - 1] == 'E');
        const bool expSign = c == '+' && i > 0 && text[i - 1] == 'E';
        Check(vantoril::fuzz::IsAsciiDigit(c) || c == '.' || c == 'E' || sign || expSign,
              "text has a character outside a plain decimal number", text);
    }
    Check(SignificantDigits(text) <= digits, "text has more significant digits than the width allows", text);

    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*e", digits - 1, x);
    const double rounded = std::strtod(buf, nullptr);
    Check(back == rounded, "text does not read back as the value rounded to its significant digits", text);

    if (x == std::floor(x) && std::fabs(x) < std::pow(10.0, digits)) {
        std::snprintf(buf, sizeof buf, "%.0f", x);
        const std::string expected = x == 0 ? std::string("0") : std::string(buf);
        Check(IsBareInteger(text) && text == expected, "integral value is not written as bare digits", text);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vantoril::fuzz::UseDecimalCommaLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    double d = 0;
    float f = 0;
    {
        const vantoril::fuzz::CNumbers cNumbers;
        d = MakeDouble(in);
        f = MakeSingle(in);
    }
    CheckText(d, vantoril::NumberText(d), 15);
    CheckText(static_cast<double>(f), vantoril::NumberText(f), 7);
    return 0;
}
