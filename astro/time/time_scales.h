// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/calendar.h"
#include "astro/time/date_time.h"
#include "astro/time/iers.h"
#include "astro/time/leap_seconds.h"

#include <cstdint>
#include <string>

// UTC to TAI, TT and UT1.
//
// Given:
//   a UTC calendar day (its month's end already counted on) and a time of
//   day, the second up to 60 and more in a minute that ends with a leap;
//   the context: UT1 - UTC given (dut1), or an IERS table of it, and the
//   leap-second table in use.
// Returned:
//   UT1 and TT as two-part Julian dates sharing the whole day jd0 (which
//   ends in .5), and, when asked, where UT1 - UTC came from and what to
//   doubt (cautions.h).
// Called:
//   eraDat, as eraUtctai, eraUtcut1 and eraTaitt call it, but once for the
//   day instead of from the Julian date again in each of them (which was half
//   the cost of an iau2006 batch line), and once for the month where it holds
//   all month (before 1960 and from 1972). TAI - UTC is read at 0h, at 12h
//   (the drift of a pre-1972 day) and at 0h of the next day (a leap second).
// Notes:
//   Before 1960 TAI - UTC is taken as 0 (eraDat's "dubious year").

namespace vantoril::astro {

struct TimeScales {
    double jd0 = 0;
    double ut1 = 0;
    double tt = 0;
};

// What the time scales of a run are worked out with.
struct TimeScaleContext {
    double dut1 = 0;               // UT1 - UTC, s, when no table gives it
    const EopTable* eop = nullptr; // an IERS table of UT1 - UTC, or none
    bool eopNamed = true;          // the table was asked for, not found in the default places
    const LeapTableInUse* leap = nullptr;
};

// Where an instant's UT1 - UTC came from, and what to doubt.
struct Ut1Detail {
    double dut1 = 0;
    const char* dut1Source = nullptr; // "final", "predicted" or "none"; null without an IERS table
    unsigned cautions = 0;
};

// Throws CalculationError for a second the minute does not have, and for an
// instant a named IERS table does not cover.
TimeScales FromUtc(const CalendarDate& day, const Time& time, const TimeScaleContext& context,
                   Ut1Detail* detail = nullptr);

// UTC seconds in the day `mjd`: 86400 and a leap second, or more or less
// before 1972, when UTC also stepped by fractions of a second; 86400 without
// leap seconds.
double DayLength(std::int64_t mjd, bool withLeapSeconds);

// The text of a set of cautions, "; " between them; empty for none.
std::string CautionText(unsigned cautions, const TimeScaleContext& context);

} // namespace vantoril::astro
