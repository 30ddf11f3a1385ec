// SPDX-License-Identifier: MIT
#include "cli/options/values.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"

#include <algorithm>
#include <string>

namespace vantoril::cli {

using astro::Quoted;

namespace {

// Nanoseconds over the whole range of steps.
__extension__ using Wide = __int128;

constexpr std::int64_t kSecondNs = 1'000'000'000;
// A step of more than a century is a typo too.
constexpr std::int64_t kMaxStepNs = 100LL * 366 * 86400 * kSecondNs;

[[noreturn]] void BadStep(std::string_view text, const char* why)
{
    throw UsageError("--step " + Quoted(text) + ": " + why);
}

std::int64_t StepUnit(char suffix)
{
    switch (suffix) {
    case 's':
        return kSecondNs;
    case 'm':
        return 60 * kSecondNs;
    case 'h':
        return 3600 * kSecondNs;
    case 'd':
        return 86400 * kSecondNs;
    default:
        return 0;
    }
}

} // namespace

double ParseDut1(std::string_view text)
{
    const auto value = astro::ReadExactDecimal(text, true);
    if (!value) {
        throw UsageError("--dut1 " + Quoted(text) +
                         ": expected seconds as a decimal number (0.3, -.25, 3e-1) from -0.9 to 0.9");
    }
    // Exactly, not after rounding to a double: 0.9 and a digit 1 twenty places
    // further on are both 0.9 as doubles.
    static const astro::ExactDecimal kLimit = astro::ReadExactDecimal("0.9", false).value_or(astro::ExactDecimal{});
    if (astro::CompareMagnitude(*value, kLimit) > 0) {
        throw UsageError("--dut1 " + Quoted(text) + ": out of range, expected seconds from -0.9 to 0.9");
    }
    return value->value;
}

Duration ParseDuration(std::string_view text)
{
    constexpr const char* kForms = "expected a step above zero such as 30s, 10m, 1h, 1d or seconds (90, 0.5)";
    std::int64_t unit = kSecondNs;
    std::string_view number = text;
    if (!number.empty() && !astro::IsDigit(number.back())) {
        unit = StepUnit(number.back());
        if (unit == 0) BadStep(text, kForms);
        number.remove_suffix(1);
    }
    const auto point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    if (whole.empty() && fraction.empty()) BadStep(text, kForms);
    if (point != std::string_view::npos && fraction.empty()) BadStep(text, kForms);
    const auto digits = [](std::string_view s) { return std::all_of(s.begin(), s.end(), astro::IsDigit); };
    if (!digits(whole) || !digits(fraction)) BadStep(text, kForms);
    Wide ns = 0;
    for (const char c : whole) {
        ns = ns * 10 + (c - '0');
        if (ns * unit > kMaxStepNs) BadStep(text, "at most 100 years");
    }
    ns *= unit;
    // Each fraction digit is a tenth of the one before; below a nanosecond
    // they must be zero.
    Wide scale = unit;
    for (const char c : fraction) {
        if ((scale == 0 || scale % 10 != 0) && c != '0') BadStep(text, "steps are whole nanoseconds");
        scale /= 10;
        ns += (c - '0') * scale;
    }
    if (ns > kMaxStepNs) BadStep(text, "at most 100 years");
    if (ns <= 0) BadStep(text, "the step must be above zero");
    Duration d;
    d.nanoseconds = static_cast<std::int64_t>(ns);
    for (std::int64_t rest = d.nanoseconds % kSecondNs; rest != 0; rest = (rest * 10) % kSecondNs) ++d.decimals;
    return d;
}

std::int64_t ParseCount(std::string_view text)
{
    std::int64_t n = 0;
    for (const char c : text) {
        if (!astro::IsDigit(c) || n > kMaxCount / 10) {
            n = -1;
            break;
        }
        n = n * 10 + (c - '0');
    }
    if (text.empty() || n < 1 || n > kMaxCount) {
        throw UsageError("--count " + Quoted(text) + ": expected a whole number of rows from 1 to " +
                         std::to_string(kMaxCount));
    }
    return n;
}

astro::RightAscension ParseTarget(std::string_view option, std::string_view value, bool& perLine)
{
    if (value == "-") {
        perLine = true;
        return {value, 0};
    }
    try {
        return astro::ParseRightAscension(value);
    } catch (const astro::InputError&) {
        throw UsageError(std::string(option) + " " + Quoted(value) + ": expected " + astro::kRightAscensionForms +
                         ", or -");
    }
}

} // namespace vantoril::cli
