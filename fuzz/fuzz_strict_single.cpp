// SPDX-License-Identifier: MIT
// StrictSingle on arbitrary bytes.
//
// Properties:
//  - the only errors are TypeMismatch and Overflow;
//  - TypeMismatch exactly when the text, blanks and tabs around it removed,
//    is not one plain decimal number;
//  - a result is finite, and the 8-bit and UTF-16 entry points agree;
//  - against LenientNumber, which reads the same accepted text as a double:
//    the single is that double rounded to single precision, except that
//    rounding twice may differ from rounding the decimal once. That can only
//    happen when the double lies exactly halfway between two singles, because
//    every such halfway point is itself a double. So the single is the
//    double's nearest single, or the double is the midpoint next to it.
//  - Overflow exactly when the double reaches the point halfway between
//    FLT_MAX and the next power of two (where rounding gives infinity);
//  - all of it with a decimal-comma LC_NUMERIC when the system has one.

#include "fuzz/fuzz_support.h"
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace {

using vantoril::ErrorKind;
using vantoril::RunTimeError;
using vantoril::fuzz::Check;

// FLT_MAX plus half an ulp: from here on, rounding to single gives infinity.
const double kOverflowPoint = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);

bool SameBits(float a, float b) { return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b); }

struct Outcome {
    std::optional<ErrorKind> error;
    float value = 0;

    bool operator==(const Outcome& other) const { return error == other.error && SameBits(value, other.value); }
};

template <class Text>
Outcome Strict(Text text)
{
    Outcome o;
    try {
        o.value = vantoril::StrictSingle(text, '.');
    } catch (const RunTimeError& e) {
        Check(e.kind() == ErrorKind::TypeMismatch || e.kind() == ErrorKind::Overflow,
              "StrictSingle raised an error other than TypeMismatch or Overflow", text);
        o.error = e.kind();
        return o;
    }
    Check(std::isfinite(o.value), "StrictSingle returned a value that is not finite", text);
    return o;
}

// Round to nearest, ties to even, with the range of a single.
float NearestSingle(double d)
{
    const double magnitude = std::fabs(d);
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    if (magnitude >= kOverflowPoint) return d > 0 ? kInfinity : -kInfinity;
    if (magnitude > FLT_MAX) return d > 0 ? FLT_MAX : -FLT_MAX;
    return static_cast<float>(d);
}

std::string_view TrimBlanks(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vantoril::fuzz::UseDecimalCommaLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const Outcome single = Strict(bytes);
    const std::u16string widened = vantoril::fuzz::WidenBytes(bytes);
    Check(Strict(std::u16string_view(widened)) == single,
          "8-bit and UTF-16 entry points read the same text differently", bytes);
    const std::u16string units = vantoril::fuzz::Utf16Units(data, size);
    Strict(std::u16string_view(units));

    const bool isNumber = vantoril::fuzz::IsPlainDecimal(TrimBlanks(bytes));
    Check(isNumber == (single.error != ErrorKind::TypeMismatch),
          isNumber ? "a plain decimal number was refused" : "a text that is no plain decimal number was accepted",
          bytes);
    if (!isNumber) return 0;

    double d = 0;
    try {
        d = vantoril::LenientNumber(bytes);
    } catch (const RunTimeError&) {
        Check(single.error == ErrorKind::Overflow, "LenientNumber overflows where StrictSingle does not", bytes);
        return 0;
    }

    if (single.error == ErrorKind::Overflow) {
        Check(std::fabs(d) >= kOverflowPoint, "Overflow on a number that rounds to a finite single", bytes);
        return 0;
    }

    const float f = single.value;
    const float nearest = NearestSingle(d);
    if (SameBits(f, nearest)) return 0;
    // Only a double exactly halfway between f and its neighbour towards d
    // can round differently from the decimal text.
    const float neighbour =
        std::nextafter(f, d > f ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity());
    const double midpoint = std::isinf(neighbour) ? std::copysign(kOverflowPoint, static_cast<double>(f))
                                                  : (static_cast<double>(f) + static_cast<double>(neighbour)) / 2;
    Check(d == midpoint, "single differs from the double rounded to single precision", bytes);
    return 0;
}
