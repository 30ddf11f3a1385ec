// SPDX-License-Identifier: MIT
#include "astro/search/found_instant.h"

#include "astro/time/calendar.h"
#include "astro/time/time_scales.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace vantoril::astro {

std::int64_t UnitsPerSecond(int decimals)
{
    std::int64_t unit = 1;
    for (int i = 0; i < decimals; ++i) unit *= 10;
    return unit;
}

PrintedInstant Rounded(std::int64_t mjd, double t, int decimals, bool withLeapSeconds)
{
    static constexpr std::array<double, 10> kScale = {1, 10, 100, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double scale = kScale[static_cast<std::size_t>(decimals)];
    const UtcPoint p = PointAt(mjd, t, withLeapSeconds);
    PrintedInstant r{p.mjd, std::llround(p.seconds * scale), decimals};
    if (static_cast<double>(r.units) >= DayLength(p.mjd, withLeapSeconds) * scale) {
        r.units -= std::llround(DayLength(p.mjd, withLeapSeconds) * scale);
        ++r.mjd;
    }
    return r;
}

Query QueryOf(const PrintedInstant& p, const Longitude& longitude)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    const std::int64_t whole = p.units / unit;
    Query q = QueryAt({p.mjd, 0}, longitude);
    q.time.hour = whole >= 86340 ? 23 : static_cast<int>(whole / 3600);
    q.time.minute = whole >= 86340 ? 59 : static_cast<int>(whole / 60 % 60);
    q.time.second =
        static_cast<double>(p.units - (60 * (60 * static_cast<std::int64_t>(q.time.hour) + q.time.minute)) * unit) /
        static_cast<double>(unit);
    return q;
}

CivilReading ReadingIn(const Zone& zone, const PrintedInstant& p)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    // Civil readings here have no :60: a leap second reads as the second before it.
    const std::int64_t whole = std::min<std::int64_t>(p.units / unit, 86399);
    const std::int64_t utc = (p.mjd - kMjdOf1970) * 86400 + whole;
    CivilReading r;
    r.offset = zone.OffsetAt(utc);
    r.local = utc + r.offset;
    WriteUtcTexts(r.local, p.units % unit * (1000000000 / unit), p.decimals, r.texts);
    return r;
}

void AppendUtcDate(std::string& out, const PrintedInstant& p) { AppendIsoDate(out, DateOfMjd(p.mjd)); }

void AppendUtcTime(std::string& out, const PrintedInstant& p)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    const std::int64_t whole = p.units / unit;
    const int hour = whole >= 86340 ? 23 : static_cast<int>(whole / 3600);
    const int minute = whole >= 86340 ? 59 : static_cast<int>(whole / 60 % 60);
    const std::int64_t inMinute = p.units - (60 * (60 * static_cast<std::int64_t>(hour) + minute)) * unit;
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02lld", hour, minute, static_cast<long long>(inMinute / unit));
    out += text.data();
    if (p.decimals > 0) {
        out += '.';
        for (std::int64_t digit = unit / 10; digit > 0; digit /= 10) {
            out += static_cast<char>('0' + inMinute % unit / digit % 10);
        }
    }
}

} // namespace vantoril::astro
