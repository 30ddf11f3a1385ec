#pragma once

#include "engine/working_values.h"

#include <string>

namespace vantoril {

// Local sidereal time from the date, time and longitude held in v. Every
// intermediate quantity is written back into v as it is computed. A failed
// check throws RunTimeError: Overflow when a 16-bit quantity leaves its range,
// ArithmeticFault when a floating-point step overflows, is invalid or divides
// by zero. Fields written before the failure keep their new values.
void ComputeLst(WorkingValues& v);

// The same calculation in the three runs the compute command interleaves with
// its reads of the window:
// JanFeb from Month;
void ComputeLstStep1(WorkingValues& v);
// Longitude, Century, YearDays, MonthDays from Year, Month, LngD/M/S, EWSign;
void ComputeLstSteps2To5(WorkingValues& v);
// JD0 through LstSec from Day, Hour, Minute, Second.
void ComputeLstSteps6To16(WorkingValues& v);

// "h:m:s" without zero padding, seconds rounded half up and carried into the
// minutes and hours, so the text is always a real clock reading.
std::string FormatLst(const WorkingValues& v);

} // namespace vantoril
