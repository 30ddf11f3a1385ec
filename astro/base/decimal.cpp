// SPDX-License-Identifier: MIT
#include "astro/base/decimal.h"

#include "astro/base/chars.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace vantoril::astro {

bool ReadLongDecimal(std::string_view text, double& value)
{
    const auto point = text.find('.');
    if (!AllDigits(text.substr(0, point))) return false;
    if (point != std::string_view::npos && !AllDigits(text.substr(point + 1))) return false;
    double read = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(read)) return false;
    value = read;
    return true;
}

std::optional<double> FastDecimal(std::string_view text)
{
    double value = 0;
    if (!ReadFastDecimal(text, value)) return std::nullopt;
    return value;
}

std::optional<double> PlainDecimal(std::string_view text)
{
    double value = 0;
    if (!ReadPlainDecimal(text, value)) return std::nullopt;
    return value;
}

namespace {

// The exponent after "e", capped: beyond a billion the number is zero or
// huge whatever its digits. False when it is not [sign] digits.
bool ReadExponent(std::string_view rest, long long& exponent)
{
    bool negative = false;
    if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    if (!AllDigits(rest)) return false;
    for (const char c : rest) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
    if (negative) exponent = -exponent;
    return true;
}

// The significant digits of whole.fraction and where the point stands among them.
void Significant(std::string_view whole, std::string_view fraction, long long exponent, ExactDecimal& d)
{
    const std::string_view w = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    d.exponent = static_cast<long long>(w.size()) + exponent;
    d.digits.assign(w);
    if (w.empty()) {
        const std::size_t zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
        d.exponent -= static_cast<long long>(zeros);
        d.digits.assign(fraction.substr(zeros));
    } else {
        d.digits.append(fraction);
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
}

} // namespace

std::optional<ExactDecimal> ReadExactDecimal(std::string_view text, bool scientific)
{
    ExactDecimal d;
    std::string_view rest = text;
    if (scientific && !rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        d.negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::size_t wholeEnd = FindIf(rest, [](char c) { return !IsDigit(c); });
    const std::string_view whole = rest.substr(0, wholeEnd);
    rest.remove_prefix(wholeEnd);
    std::string_view fraction;
    if (!rest.empty() && rest.front() == '.') {
        rest.remove_prefix(1);
        const std::size_t fractionEnd = FindIf(rest, [](char c) { return !IsDigit(c); });
        fraction = rest.substr(0, fractionEnd);
        rest.remove_prefix(fractionEnd);
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;
    long long exponent = 0;
    if (!rest.empty()) {
        if (!scientific || (rest.front() != 'e' && rest.front() != 'E')) return std::nullopt;
        if (!ReadExponent(rest.substr(1), exponent)) return std::nullopt;
    }
    Significant(whole, fraction, exponent, d);
    // from_chars reads every length correctly rounded but takes no '+'.
    const std::string_view number = text.substr(!text.empty() && text.front() == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), d.value);
    if (ec == std::errc::result_out_of_range) {
        d.value = d.exponent > 0 ? HUGE_VAL : 0.0;
        if (d.negative) d.value = -d.value;
    } else if (ec != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return d;
}

int CompareMagnitude(const ExactDecimal& a, const ExactDecimal& b)
{
    if (a.digits.empty() || b.digits.empty()) return static_cast<int>(!a.digits.empty()) - !b.digits.empty();
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    const int order = a.digits.compare(b.digits);
    return (order > 0) - (order < 0);
}

bool Beyond(std::string_view text, double value, double limit, bool orEqual)
{
    // Up to 15 significant digits a value near these small whole limits
    // rounds to a double of its own side.
    if (text.size() <= 15) return orEqual ? value >= limit : value > limit;
    const auto exact = ReadExactDecimal(text, false);
    const auto bound = ReadExactDecimal(std::to_string(static_cast<int>(limit)), false);
    if (!exact || !bound) return orEqual ? value >= limit : value > limit;
    const int order = CompareMagnitude(*exact, *bound);
    return orEqual ? order >= 0 : order > 0;
}

} // namespace vantoril::astro
