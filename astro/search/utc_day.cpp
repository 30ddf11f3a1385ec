// SPDX-License-Identifier: MIT
#include "astro/search/utc_day.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/time_scales.h"

#include <string>

namespace vantoril::astro {

namespace {

constexpr double kDay = 86400;

} // namespace

UtcSpan UtcDay(const Date& date, bool withLeapSeconds)
{
    if (date.year < 0 || date.year > 9999) {
        throw CalculationError("date year " + Quoted(date.yearText) + ": the day search takes years 0000 to 9999");
    }
    const std::int64_t mjd = MjdOf(date.year, date.month, date.day);
    return {mjd, 0, DayLength(mjd, withLeapSeconds)};
}

UtcSpan CivilDay(const Date& date, const Zone& zone, bool withLeapSeconds)
{
    UtcSpan span = UtcDay(date, withLeapSeconds);
    if (zone.IsUtc()) return span;
    const double length = span.end;
    const std::int64_t midnight = (span.mjd - kMjdOf1970) * 86400;
    // A UTC second as seconds from 0h UTC of the date, counting the leap
    // seconds of the days either side (a civil day reaches into both).
    auto from = [&](std::int64_t utc) {
        const auto t = static_cast<double>(utc - midnight);
        if (t < 0) return t + kDay - DayLength(span.mjd - 1, withLeapSeconds);
        if (t >= kDay) return t - kDay + length;
        return t;
    };
    // The date's 0h read as civil time, and the next day's.
    span.begin = from(zone.FirstUtcAtOrAfter(midnight));
    span.end = from(zone.FirstUtcAtOrAfter(midnight + 86400));
    // The models take UTC years 0000 to 9999: a civil day that reaches
    // past them (0000-01-01 east of UTC, 9999-12-31 west of it) cannot be
    // searched whole.
    if ((span.begin < 0 && span.mjd == MjdOf(0, 1, 1)) || (span.end > length && span.mjd == MjdOf(9999, 12, 31))) {
        throw CalculationError(
            "date " +
            Quoted(std::string(date.yearText) + "-" + std::string(date.monthText) + "-" + std::string(date.dayText)) +
            " in " + zone.name() + " reaches outside the UTC years 0000 to 9999, which the day search takes");
    }
    return span;
}

UtcPoint PointAt(std::int64_t mjd, double t, bool withLeapSeconds)
{
    while (t < 0) t += DayLength(--mjd, withLeapSeconds);
    for (double length = DayLength(mjd, withLeapSeconds); t >= length; length = DayLength(mjd, withLeapSeconds)) {
        t -= length;
        ++mjd;
    }
    return {mjd, t};
}

Query QueryAt(const UtcPoint& p, const CalendarDate& date, const Longitude& longitude)
{
    Query q;
    q.date.year = date.year;
    q.date.month = date.month;
    q.date.day = date.day;
    // The last minute holds a leap second, when the day has one.
    if (p.seconds >= kDay - 60) {
        q.time.hour = 23;
        q.time.minute = 59;
        q.time.second = p.seconds - (kDay - 60);
    } else {
        const auto whole = static_cast<int>(p.seconds);
        q.time.hour = whole / 3600;
        q.time.minute = whole / 60 % 60;
        q.time.second = p.seconds - 60.0 * (60.0 * q.time.hour + q.time.minute);
    }
    q.longitude = longitude;
    return q;
}

} // namespace vantoril::astro
