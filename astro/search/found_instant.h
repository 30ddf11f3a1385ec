// SPDX-License-Identifier: MIT
#pragma once

#include "astro/search/utc_day.h"
#include "astro/sidereal/query.h"
#include "astro/time/instant.h"
#include "astro/time/zones.h"

#include <cstdint>
#include <string>

// An instant the day search found, as it is printed: rounded to the decimals
// shown, and read back exactly as the readers would take its text.

namespace vantoril::astro {

// Whole units of 10^-decimals s since 0h of its UTC day.
struct PrintedInstant {
    std::int64_t mjd = 0;
    std::int64_t units = 0;
    int decimals = 0;
};

// `t` seconds after 0h of `mjd`, rounded; rounding may reach the end of the
// day, which is 0h of the next.
PrintedInstant Rounded(std::int64_t mjd, double t, int decimals, bool withLeapSeconds);

// The printed instant as a query at `longitude`.
Query QueryOf(const PrintedInstant& p, const Longitude& longitude);

// The printed instant as civil time in a zone, and the zone's offset then.
struct CivilReading {
    InstantTexts texts;
    int offset = 0;
    std::int64_t local = 0; // whole seconds from 1970 of the civil reading
};
CivilReading ReadingIn(const Zone& zone, const PrintedInstant& p);

// YYYY-MM-DD of the instant's UTC day, and HH:MM:SS[.fraction] of its time
// (the leap second as :60).
void AppendUtcDate(std::string& out, const PrintedInstant& p);
void AppendUtcTime(std::string& out, const PrintedInstant& p);

std::int64_t UnitsPerSecond(int decimals);

} // namespace vantoril::astro
