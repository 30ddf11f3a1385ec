// SPDX-License-Identifier: MIT
#pragma once

#include "engine/working_values.h"

#include <string>

namespace vantoril {

// ComputeLst: local mean sidereal time from a Gregorian date, UT and longitude.
//
// Given (fields of v):
//   Year          float   year of the proleptic Gregorian calendar (1 = AD 1, 0 = 1 BC)
//   Month         float   month, 1 = January (note 5)
//   Day           float   day of the month (note 5)
//   Hour          float   UT, hours
//   Minute        float   UT, minutes
//   Second        float   UT, seconds
//   LngD          double  longitude, degrees
//   LngM          double  longitude, arc minutes
//   LngS          double  longitude, arc seconds
//   EWSign        double  +1 east of Greenwich, -1 west
//
// Returned (fields of v, written in this order, one step each):
//    1 JanFeb       float   1 for January and February, else 0
//    2 Longitude    double  degrees, east positive
//    3 Century      int16   whole centuries of the year counted from March (note 3)
//    4 YearDays     double  days to the start of that year (note 3)
//    5 MonthDays    int16   days from that year's start to the month's (note 3)
//    6 JD0          double  Julian date at 0h UT of the date
//    7 UT           double  UT, hours
//    8 SiderealGain double  hours sidereal time gains on UT since 0h: UT / 365.25
//    9 UT           double  local mean time, hours: UT + longitude / 15
//   10 DayFraction  double  local mean time, days
//   11 T            double  Julian centuries of 36525 days from JD 2415020.0
//   12 SiderealDays double  local sidereal time in days, before reduction (note 1)
//   13 LST          double  local sidereal time, hours, 0 <= LST < 24
//   14 LstHr        float   whole hours of LST
//   15 LstMin       float   minutes of LST past LstHr, rounded to single (may be 60.0)
//   16 LstSec       float   seconds of LST past the whole minutes of LstMin
//
// Notes:
//
// 1) Step 12 is Newcomb's right ascension of the fictitious mean sun,
//        alpha = 18h38m45.836s + 8640184.542s T + 0.0929s T^2,
//    with T in Julian centuries from JD 2415020.0 (1900 January 0.5, the
//    Greenwich mean noon his tables count from). In hours that is
//    18.6460656 h + 2400.05126 h T; 2400 h of the rate are whole turns (the
//    mean sun goes round once a year, a hundred times a century), so only
//    0.05126 h a century shows. Step 12 takes 18.64604 h (0.09 s short of
//    Newcomb's constant) and 2400.0513 h, and leaves out the T^2 term
//    (0.37 s by 2100).
//    Greenwich mean sidereal time at 0h UT is alpha + 12 h, the mean sun then
//    standing 12 h from the meridian: the 0.5 day step 12 adds. Step 12 also
//    adds the local mean time (step 10: UT and longitude) in days; step 13
//    keeps the fraction of a day, in hours, adds the sidereal gain of the
//    time of day (step 8) and reduces again into 0..24 h.
//
// 2) Validity: against IAU 1982 Greenwich mean sidereal time (ERFA's
//    eraGmst82, UT1 taken as UT) plus the longitude, the result drifts from
//    -0.09 s in 1900 to -0.35 s in 2100; tests/engine/accuracy_test.cpp
//    finds 0.354 s the worst of 5,000 random instants in 1900-2100 (limit
//    0.5 s). Beyond those years the dropped T^2 term grows as the square of
//    the distance from 1900. UTC for UT1 costs up to 0.9 s more.
//
// 3) The date becomes a Julian date by a March-based count: January and
//    February belong to the year before (step 1), so the leap day ends its
//    year. YearDays = floor(floor(365.25 y) - 0.75 c), y the March-based
//    year and c its century (steps 3, 4): the Julian leap days less the
//    three in four century years the Gregorian calendar drops. MonthDays =
//    floor(367 ((Month - 2) / 12 + JanFeb)), raised by one when negative:
//    30 for March to 367 for February; 1721088.5 in step 6 is the rest.
//
// 4) Arithmetic is done in double, every step as written: the order of the
//    operations and every store into a float field fix the rounding of the
//    result. Do not reorder, fuse or widen.
//
// 5) No input is range-checked: a day of 0 is the last day of the month
//    before, month 14 is February of the next year, a negative hour counts
//    back into the day before. The result is always a clock reading.
//
// 6) Errors throw RunTimeError; the fields written before the failing step
//    keep their new values, the others their old ones.
//      Overflow (6):        step 3 or 5, when Century or MonthDays would
//                           fall outside -32768..32767 (an infinite year or
//                           month included).
//      ArithmeticFault (16): step 1 when Month is NaN; any step whose result
//                           is infinite from finite operands (overflow,
//                           division by zero) or NaN (invalid, as
//                           infinity - floor(infinity) in step 13 when Minute
//                           or Second is infinite). An infinite operand
//                           carried through (inf + 1) is no fault.
//
// References:
//   Newcomb, S., 1895, Tables of the Sun, Astronomical Papers of the American
//     Ephemeris, vol. 6.
//   Explanatory Supplement to the Astronomical Ephemeris and the American
//     Ephemeris and Nautical Almanac, HMSO, 1961 (sidereal time, Julian date).
//   Aoki, S. et al., 1982, Astron. Astrophys. 105, 359 (IAU 1982 sidereal time).
void ComputeLst(WorkingValues& v);

// The same calculation in the three runs the compute command interleaves with
// its reads of the window, so that a failed read leaves exactly the fields the
// runs before it stored. Run in this order they equal ComputeLst.
//
// Step 1. Given Month; returns JanFeb. ArithmeticFault when Month is NaN.
void ComputeLstStep1(WorkingValues& v);
// Steps 2-5. Given LngD, LngM, LngS, EWSign, Year, Month, JanFeb; returns
// Longitude, Century, YearDays, MonthDays. Overflow from step 3 or 5,
// ArithmeticFault when the longitude overflows or the year is NaN.
void ComputeLstSteps2To5(WorkingValues& v);
// Steps 6-16. Given Day, Hour, Minute, Second, Longitude, YearDays, MonthDays;
// returns JD0, UT, SiderealGain, DayFraction, T, SiderealDays, LST, LstHr,
// LstMin, LstSec. ArithmeticFault only.
void ComputeLstSteps6To16(WorkingValues& v);

// "h:m:s" without zero padding, seconds rounded half up and carried into the
// minutes and hours, so the text is always a real clock reading. Given
// LstHr, LstMin, LstSec; ArithmeticFault when any of them is not finite.
std::string FormatLst(const WorkingValues& v);
// The same text written to `text`, which has room for kLstTextSize
// characters; returns the end of what was written. No allocation: a batch
// formats a million of these.
constexpr int kLstTextSize = 8;
char* FormatLst(const WorkingValues& v, char* text);

} // namespace vantoril
