#pragma once

#include <cstdint>

namespace vantoril {

// The window's one record of numbers: inputs as last parsed from the controls
// and every intermediate and final quantity of the calculation. Widths matter:
// a float field holds exactly the rounded value later steps start from.
struct WorkingValues {
    double Longitude = 0;      // signed degrees, east positive
    double LngD = 0;           // longitude degrees as typed
    double LngM = 0;           // longitude arc minutes as typed
    double LngS = 0;           // longitude arc seconds as typed
    float Day = 0;
    float Month = 0;
    float Year = 0;
    double UT = 0;             // time of day in hours, then local mean time
    double T = 0;              // Julian centuries since JD 2415020.0
    double SiderealGain = 0;   // UT / 365.25, in hours
    float Hour = 0;
    float Minute = 0;
    float Second = 0;
    float LstHr = 0;
    float LstMin = 0;
    float LstSec = 0;
    double EWSign = 0;         // 1 east, -1 west, 0 before the first press
    float JanFeb = 0;          // 1 for January and February
    double YearDays = 0;
    std::int16_t MonthDays = 0;
    std::int16_t Century = 0;
    double JD0 = 0;            // Julian date at 0h UT of the date
    double DayFraction = 0;    // local mean time as a fraction of a day
    double SiderealDays = 0;   // sidereal time in days before reduction
    double LST = 0;            // local sidereal time in hours, 0 <= LST < 24
};

} // namespace vantoril
