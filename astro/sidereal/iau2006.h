// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/query.h"
#include "astro/time/time_scales.h"

// Local sidereal time by the IAU 2006 models.
//
// Given: a query (UTC instant, longitude), mean or apparent, and the time
//   scales' context (UT1 - UTC, IERS table, leap seconds).
// Returned: local sidereal time in hours, 0 <= h < 24; where UT1 - UTC came
//   from and what to doubt.
// Called: eraGmst06 (mean, mirrored below for speed); for apparent the mean
//   plus the equation of the equinoxes (equinoxes.h: eraEe06a, IAU
//   2006/2000A, as eraGst06a), through FromUtc's TT and UT1.
// Notes: years 0000 to 9999; a day past its month's end counts on, as in
//   the window.

namespace vantoril::astro {

// Throws CalculationError for years ERFA's calendar is not used for here, a
// second the minute does not have, an instant a named IERS table does not
// cover.
double Iau2006Lst(const Query& q, bool apparent, const TimeScaleContext& context, Ut1Detail* detail);
// UT1 = UTC + dut1, no table.
double Iau2006Lst(const Query& q, bool apparent, double dut1);

// All the sidereal angles of an instant at once, in hours: Greenwich mean
// and apparent sidereal time, the same at the longitude, the equation of
// the equinoxes (apparent less mean, in [-12, +12)) and the Earth rotation
// angle, each but the equation in [0, 24).
// Called: eraEra00, eraGmst06 (as Gmst06), eraEe06a (equinoxes.h).
struct SiderealSet {
    double gmst = 0;
    double gast = 0;
    double lmst = 0;
    double last = 0;
    double eqeq = 0;
    double era = 0;
};
SiderealSet Iau2006Set(const Query& q, const TimeScaleContext& context, Ut1Detail* detail);

// The time scales of an instant for the IAU 2006 models: the year checked, a
// day past its month's end counted on. Throws as Iau2006Lst.
TimeScales Iau2006Scales(const Instant& at, const TimeScaleContext& context, Ut1Detail* detail);

// The local sidereal time in hours, 0 <= h < 24, of those time scales: what
// Iau2006Lst gives after them. A table works out many scales first and then
// their sidereal times, which lets the processor overlap them.
double Iau2006LstAt(const TimeScales& t, double eastDegrees, bool apparent);

// ERFA's eraGmst06 for UT1 = jd0 + ut1 and TT = jd0 + tt, jd0 ending in .5,
// with its angle reductions done without fmod: the same value to the last
// bit or two. ReduceTurns: an angle into [0, 2pi).
double Gmst06(double jd0, double ut1, double tt);
double ReduceTurns(double angle);

} // namespace vantoril::astro
