// SPDX-License-Identifier: MIT
// ComputeLst and FormatLst on every combination of inputs the window could
// hand over: ordinary dates and longitudes, extremes, infinities and NaN.
//
// Properties:
//  - the calculation fails only with RunTimeError, and never with
//    TypeMismatch (there is no text to mistype);
//  - after a success 0 <= LST < 24, and the text is a clock reading
//    "h:m:s" without zero padding (h 0..23, m and s 0..59);
//  - the reading is LST rounded to the second: at most half a second off,
//    plus a millisecond for the minutes passing through a single.

#include "engine/sidereal.h"
#include "fuzz/fuzz_support.h"
#include "runtime/run_time_error.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
#include <string_view>

namespace {

using vantoril::ErrorKind;
using vantoril::RunTimeError;
using vantoril::WorkingValues;
using vantoril::fuzz::Fail;

// One input: mostly values a user could type, sometimes the awkward ones.
template <class T>
T Input(FuzzedDataProvider& in, T typicalLow, T typicalHigh)
{
    constexpr T kAwkward[] = {
        T(0),
        -T(0),
        T(1),
        T(-1),
        T(0.5),
        T(59.99999),
        T(1e-30),
        T(-1e-30),
        std::numeric_limits<T>::max(),
        std::numeric_limits<T>::lowest(),
        std::numeric_limits<T>::min(),
        std::numeric_limits<T>::denorm_min(),
        std::numeric_limits<T>::infinity(),
        -std::numeric_limits<T>::infinity(),
        std::numeric_limits<T>::quiet_NaN(),
    };
    switch (in.ConsumeIntegralInRange(0, 4)) {
    case 0:
        return in.ConsumeFloatingPointInRange(typicalLow, typicalHigh);
    case 1:
        return static_cast<T>(in.ConsumeIntegralInRange(static_cast<int>(typicalLow), static_cast<int>(typicalHigh)));
    case 2:
        return in.PickValueInArray(kAwkward);
    case 3:
        return in.ConsumeFloatingPoint<T>();
    default:
        // Any bit pattern, NaN payloads included.
        if constexpr (sizeof(T) == 4) {
            return std::bit_cast<T>(in.ConsumeIntegral<std::uint32_t>());
        } else {
            return std::bit_cast<T>(in.ConsumeIntegral<std::uint64_t>());
        }
    }
}

// Parses "h:m:s" with the exact shape of ^(\d|1\d|2[0-3]):(\d|[1-5]\d):(\d|[1-5]\d)$
// and returns the seconds of the day, or -1.
int ClockSeconds(std::string_view text)
{
    int parts[3] = {0, 0, 0};
    const int limits[3] = {24, 60, 60};
    std::size_t i = 0;
    for (int p = 0; p < 3; ++p) {
        if (p > 0) {
            if (i >= text.size() || text[i] != ':') return -1;
            ++i;
        }
        const std::size_t start = i;
        while (i < text.size() && vantoril::fuzz::IsAsciiDigit(text[i])) {
            parts[p] = parts[p] * 10 + (text[i] - '0');
            ++i;
        }
        const std::size_t length = i - start;
        if (length == 0 || length > 2 || (length == 2 && text[start] == '0')) return -1;
        if (parts[p] >= limits[p]) return -1;
    }
    if (i != text.size()) return -1;
    return parts[0] * 3600 + parts[1] * 60 + parts[2];
}

std::string Describe(const WorkingValues& v)
{
    char buf[512];
    std::snprintf(buf, sizeof buf,
                  "Year=%a Month=%a Day=%a Hour=%a Minute=%a Second=%a LngD=%a LngM=%a LngS=%a EWSign=%a LST=%a",
                  static_cast<double>(v.Year), static_cast<double>(v.Month), static_cast<double>(v.Day),
                  static_cast<double>(v.Hour), static_cast<double>(v.Minute), static_cast<double>(v.Second), v.LngD,
                  v.LngM, v.LngS, v.EWSign, v.LST);
    return buf;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    WorkingValues v;
    v.Year = Input(in, -5000.0f, 10000.0f);
    v.Month = Input(in, -30.0f, 40.0f);
    v.Day = Input(in, -40.0f, 400.0f);
    v.Hour = Input(in, -50.0f, 50.0f);
    v.Minute = Input(in, -100.0f, 100.0f);
    v.Second = Input(in, -100.0f, 100.0f);
    v.LngD = Input(in, -400.0, 400.0);
    v.LngM = Input(in, -100.0, 100.0);
    v.LngS = Input(in, -100.0, 100.0);
    v.EWSign = in.ConsumeBool() ? (in.ConsumeBool() ? 1.0 : -1.0) : Input(in, -2.0, 2.0);
    const WorkingValues inputs = v;

    std::string text;
    try {
        vantoril::ComputeLst(v);
        text = vantoril::FormatLst(v);
    } catch (const RunTimeError& e) {
        if (e.kind() == ErrorKind::TypeMismatch) Fail("the calculation raised a type mismatch", Describe(inputs));
        return 0;
    }

    if (!(v.LST >= 0 && v.LST < 24)) Fail("LST is outside [0, 24)", Describe(v) + " text=" + text);
    const int shown = ClockSeconds(text);
    if (shown < 0) Fail("text is no clock reading", Describe(v) + " text=" + text);
    double apart = std::fabs(shown - v.LST * 3600);
    apart = std::fmin(apart, 86400 - apart);
    if (!(apart <= 0.501)) Fail("text is not LST rounded to the second", Describe(v) + " text=" + text);
    return 0;
}
