// SPDX-License-Identifier: MIT
// The readers of the iau2006 model's tables on arbitrary bytes: an IERS
// Earth-orientation file (first byte even) or a leap-seconds.list (odd).
//
// Properties:
//  - a file is read or refused with InputError, nothing else escapes;
//  - every refusal names the file and says why;
//  - a table read gives finite UT1 - UTC over its span and none outside it,
//    and a leap-second list has steps in order, each a change.

#include "astro/base/errors.h"
#include "astro/time/iers.h"
#include "astro/time/leap_seconds.h"
#include "fuzz/fuzz_support.h"

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

using vantoril::fuzz::Check;

void CheckRefusal(const vantoril::astro::InputError& e, std::string_view bytes)
{
    const std::string message = e.what();
    Check(message.rfind("fuzz", 0) == 0 && message.size() > 6, "a refusal names the file and says why", bytes);
}

void FuzzEop(std::string_view bytes)
{
    try {
        const vantoril::astro::EopTable table = vantoril::astro::EopTable::Read(bytes, "fuzz");
        Check(!table.Describe().empty(), "a table read is described", bytes);
        double seconds = 0;
        bool predicted = false;
        Check(!table.Ut1MinusTai(-1e9, seconds, predicted), "nothing before the span", bytes);
        Check(!table.Ut1MinusTai(1e9, seconds, predicted), "nothing after the span", bytes);
        for (double mjd = 0; mjd < 100000; mjd += 0.37) {
            if (table.Ut1MinusTai(mjd, seconds, predicted)) {
                Check(std::isfinite(seconds), "UT1 - TAI finite over the span", bytes);
                return;
            }
        }
    } catch (const vantoril::astro::InputError& e) {
        CheckRefusal(e, bytes);
    }
}

void FuzzLeapSeconds(std::string_view bytes)
{
    try {
        const vantoril::astro::LeapSecondsList list = vantoril::astro::ReadLeapSecondsList(bytes, "fuzz");
        Check(!list.steps.empty(), "a list read has steps", bytes);
        for (std::size_t i = 1; i < list.steps.size(); ++i) {
            const auto& a = list.steps[i - 1];
            const auto& b = list.steps[i];
            Check(a.year * 12 + a.month < b.year * 12 + b.month, "steps in order", bytes);
            Check(a.taiMinusUtc != b.taiMinusUtc, "each step a change", bytes);
        }
    } catch (const vantoril::astro::InputError& e) {
        CheckRefusal(e, bytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        FuzzEop(bytes);
    } else {
        FuzzLeapSeconds(bytes);
    }
    return 0;
}
