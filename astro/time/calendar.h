// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

// The proleptic Gregorian calendar, once for the whole core: days from
// 1970-01-01 and Modified Julian Dates of civil dates and back, and the
// YYYY-MM-DD text of a date.

namespace vantoril::astro {

// MJD of 1970-01-01, where the system clock's days begin.
inline constexpr std::int64_t kMjdOf1970 = 40587;

struct CalendarDate {
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
};

bool IsLeapYear(std::int64_t year);
int DaysInMonth(std::int64_t year, int month);

// Days from 1970-01-01 of a date (the day may pass its month's end: it
// counts on), and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
CalendarDate CivilFromDays(std::int64_t days);

// The day (from 1970-01-01) that holds a second counted from 1970: every
// day 86,400 of them, as the system clock counts.
inline std::int64_t DayOfSecond(std::int64_t seconds)
{
    return seconds >= 0 ? seconds / 86400 : -((-seconds + 86399) / 86400);
}

// The same counted from MJD 0 (1858-11-17).
inline std::int64_t MjdOf(std::int64_t year, int month, int day)
{
    return DaysFromCivil(year, month, day) + kMjdOf1970;
}
inline CalendarDate DateOfMjd(std::int64_t mjd) { return CivilFromDays(mjd - kMjdOf1970); }

// A month 1 to 12 and a day that month has.
bool IsRealDate(std::int64_t year, int month, int day);

// YYYY-MM-DD (the year at least four digits, as printf's %04d writes it) at
// p, returning the end; and appended to a string.
char* WriteIsoDate(char* p, std::int64_t year, int month, int day);
void AppendIsoDate(std::string& out, std::int64_t year, int month, int day);
inline void AppendIsoDate(std::string& out, const CalendarDate& d) { AppendIsoDate(out, d.year, d.month, d.day); }
std::string IsoDateOfMjd(std::int64_t mjd);

} // namespace vantoril::astro
