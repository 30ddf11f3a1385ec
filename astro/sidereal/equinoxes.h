// SPDX-License-Identifier: MIT
#pragma once

// The equation of the equinoxes, IAU 2006/2000A: apparent less mean
// sidereal time, a function of TT alone.
//
// Given: TT as a two-part Julian date (jd0 ending in .5, tt its fraction).
// Returned: radians.
// Called: eraEe06a (the IAU 2000A nutation series, some 30 us an instant).
// Notes: the series' terms of any size have periods of days, so over an
//   hour the equation is a smooth curve: where instants follow one another
//   (a table, a sorted batch, a day's search), it is interpolated (cubic,
//   through four hourly nodes computed once each) to a few 1e-12 rad, far
//   below a microsecond of time. An instant far from the last one asked for
//   is not interpolated (false): its caller takes ERFA's own apparent
//   sidereal time then. Each thread keeps its own nodes.

namespace vantoril::astro {

bool EquationOfEquinoxes(double jd0, double tt, double& radians);

} // namespace vantoril::astro
