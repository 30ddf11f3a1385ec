// SPDX-License-Identifier: MIT
#include "cli/print/numbers.h"

#include "astro/base/chars.h"

#include <array>
#include <charconv>
#include <cmath>

namespace vantoril::cli {

namespace {

constexpr std::array<std::int64_t, 11> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000,
};

// std::llround without the library call: rounded half away from zero. A
// double minus its truncation is exact, so the half is judged exactly.
std::int64_t Rounded(double x)
{
    auto whole = static_cast<std::int64_t>(x);
    const double rest = x - static_cast<double>(whole);
    if (rest >= 0.5) {
        ++whole;
    } else if (rest <= -0.5) {
        --whole;
    }
    return whole;
}

} // namespace

std::int64_t PowerOfTen(int n) { return kPowersOfTen[static_cast<std::size_t>(n)]; }

void AppendInt(std::string& out, std::int64_t n, int width)
{
    std::array<char, 24> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), n);
    for (auto len = end - buf.data(); len < width; ++len) out += '0';
    out.append(buf.data(), end);
}

void AppendShortest(std::string& out, double x)
{
    std::array<char, 32> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x);
    out.append(buf.data(), end);
}

namespace {

// The clock text of `hours` with D decimals at p, returning its end. D is a
// constant here so that every division by its unit is a multiplication: a
// table writes a million of these.
template <int D>
char* WriteClock(char* p, double hours, bool signedHours)
{
    constexpr std::int64_t kUnit = D == 0 ? 1 : 10 * ([] {
                                                    std::int64_t u = 1;
                                                    for (int i = 1; i < D; ++i) u *= 10;
                                                    return u;
                                                })();
    constexpr std::int64_t kDay = 86400 * kUnit;
    std::int64_t total = Rounded(hours * 3600.0 * static_cast<double>(kUnit));
    if (total < 0 || total >= kDay) {
        total %= kDay;
        if (total < 0) total += kDay;
    }
    if (signedHours && total >= kDay / 2) total -= kDay; // rounding may have reached +12 h
    if (signedHours) *p++ = total < 0 ? '-' : '+';
    const std::int64_t magnitude = total < 0 ? -total : total;
    const auto seconds = static_cast<int>(magnitude / kUnit);
    const int h = seconds / 3600;
    if (h >= 10) *p++ = static_cast<char>('0' + h / 10);
    *p++ = static_cast<char>('0' + h % 10);
    *p++ = ':';
    p = astro::PutTwoDigits(p, seconds / 60 % 60);
    *p++ = ':';
    p = astro::PutTwoDigits(p, seconds % 60);
    if constexpr (D > 0) {
        *p++ = '.';
        auto fraction = static_cast<int>(magnitude % kUnit);
        // In pairs from the right; of an odd count the first digit is left, alone.
        char* end = p + D;
        for (int i = D; i >= 2; i -= 2, fraction /= 100) astro::PutTwoDigits(p + i - 2, fraction % 100);
        if constexpr (D % 2 == 1) *p = static_cast<char>('0' + fraction);
        p = end;
    }
    return p;
}

} // namespace

char* PutClock(char* p, double hours, int decimals, bool signedHours)
{
    switch (decimals) {
    case 0:
        return WriteClock<0>(p, hours, signedHours);
    case 1:
        return WriteClock<1>(p, hours, signedHours);
    case 2:
        return WriteClock<2>(p, hours, signedHours);
    case 3:
        return WriteClock<3>(p, hours, signedHours);
    case 4:
        return WriteClock<4>(p, hours, signedHours);
    case 5:
        return WriteClock<5>(p, hours, signedHours);
    default:
        return WriteClock<6>(p, hours, signedHours);
    }
}

void AppendClock(std::string& out, double hours, int decimals, bool signedHours)
{
    // Written into a small buffer and appended once: a batch line's result
    // is mostly this text.
    std::array<char, kClockRoom> text{};
    out.append(text.data(), PutClock(text.data(), hours, decimals, signedHours));
}

double HourAngleAsShown(double hours, int decimals)
{
    const std::int64_t unit = PowerOfTen(decimals);
    const std::int64_t day = 86400 * unit;
    std::int64_t total = Rounded(hours * 3600.0 * static_cast<double>(unit)) % day;
    if (total < 0) total += day;
    return total >= day / 2 && hours > 0 ? hours - 24 : hours;
}

void AppendHours(std::string& out, double hours, int decimals, bool signedHours)
{
    const std::int64_t unit = PowerOfTen(decimals);
    const std::int64_t day = 24 * unit;
    std::int64_t total = Rounded(hours * static_cast<double>(unit)) % day;
    if (total < 0) total += day;
    if (signedHours && total >= day / 2) total -= day;
    if (signedHours) out += total < 0 ? '-' : '+';
    const std::int64_t magnitude = total < 0 ? -total : total;
    AppendInt(out, magnitude / unit);
    if (decimals > 0) {
        out += '.';
        AppendInt(out, magnitude % unit, decimals);
    }
}

} // namespace vantoril::cli
