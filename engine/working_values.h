// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace vantoril {

// The window's one record of numbers: inputs as last parsed from the controls
// and every intermediate and final quantity of the calculation. Widths matter:
// a float field holds exactly the rounded value later steps start from.
struct WorkingValues {
    double Longitude = 0;       // signed degrees, east positive
    double LngD = 0;            // longitude degrees as typed
    double LngM = 0;            // longitude arc minutes as typed
    double LngS = 0;            // longitude arc seconds as typed
    float Day = 0;              // day of the month
    float Month = 0;            // month, 1 = January
    float Year = 0;             // Gregorian year, 1 = AD 1
    double UT = 0;              // time of day in hours, then local mean time
    double T = 0;               // Julian centuries of 36525 days since JD 2415020.0
    double SiderealGain = 0;    // UT / 365.25, in hours
    float Hour = 0;             // UT, hours
    float Minute = 0;           // UT, minutes
    float Second = 0;           // UT, seconds
    float LstHr = 0;            // local sidereal time, whole hours
    float LstMin = 0;           // minutes past LstHr, fraction kept (may round to 60.0)
    float LstSec = 0;           // seconds past the whole minutes of LstMin
    double EWSign = 0;          // 1 east, -1 west, 0 before the first press
    float JanFeb = 0;           // 1 for January and February, which count with the year before
    double YearDays = 0;        // days to the start of the March-based year
    std::int16_t MonthDays = 0; // days from that year's start to the month's, plus 30
    std::int16_t Century = 0;   // whole centuries of the March-based year
    double JD0 = 0;             // Julian date at 0h UT of the date
    double DayFraction = 0;     // local mean time as a fraction of a day
    double SiderealDays = 0;    // sidereal time in days before reduction
    double LST = 0;             // local sidereal time in hours, 0 <= LST < 24
};

} // namespace vantoril
