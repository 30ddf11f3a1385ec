// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/longitude.h"
#include "astro/sidereal/query.h"
#include "astro/time/calendar.h"
#include "astro/time/date_time.h"
#include "astro/time/zones.h"

#include <cstdint>

// Days as spans of UTC seconds, counted with the leap seconds when the model
// counts them, and points inside them.

namespace vantoril::astro {

// A span of UTC: from `begin` to `end` seconds after 0h of the day `mjd`,
// counted with the leap seconds. A UTC day is [0, its length); a civil day
// is another such span.
struct UtcSpan {
    std::int64_t mjd = 0;
    double begin = 0;
    double end = 0;
};

// The UTC day of a date (a day past its month's end counting on). Throws
// CalculationError for a year outside 0000 to 9999.
UtcSpan UtcDay(const Date& date, bool withLeapSeconds);

// The civil day of a date in `zone`, from its first second to the next
// day's (23, 24 or 25 hours), as a span from 0h UTC of that date. Throws as
// UtcDay.
UtcSpan CivilDay(const Date& date, const Zone& zone, bool withLeapSeconds);

// A point of UTC as a day and the seconds since its 0h.
struct UtcPoint {
    std::int64_t mjd = 0;
    double seconds = 0;
};

// `t` seconds after 0h of `mjd`, counted on through the days' lengths.
UtcPoint PointAt(std::int64_t mjd, double t, bool withLeapSeconds);

// The query at a point of the day `date` (the point's own), its last minute
// holding the leap second when the day has one.
Query QueryAt(const UtcPoint& p, const CalendarDate& date, const Longitude& longitude);
inline Query QueryAt(const UtcPoint& p, const Longitude& longitude) { return QueryAt(p, DateOfMjd(p.mjd), longitude); }

} // namespace vantoril::astro
