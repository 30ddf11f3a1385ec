// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// A date and a time of day as typed: each keeps the texts of its pieces
// (views into the input) beside their values, so that the classic model can
// read them again exactly as the window reads its boxes.

namespace vantoril::astro {

// YYYY-MM-DD, the year four digits or more. The day may pass its month's
// end (2002-02-30); it counts on into the next month.
struct Date {
    std::string_view yearText, monthText, dayText;
    long long year = 0; // -1 when the year has more digits than fit
    int month = 0;
    int day = 0;
};

// HH:MM:SS or HH:MM:SS.fff (hour and minute may have one digit); second 60
// is read, for the leap seconds of UTC.
struct Time {
    std::string_view hourText, minuteText, secondText;
    int hour = 0;
    int minute = 0;
    double second = 0;
};

// Throw InputError naming the text and the form expected, or the field out
// of range.
Date ParseDate(std::string_view text);
Time ParseTime(std::string_view text);
// ParseTime's forms and HH:MM, the minute's first second (secondText "00").
Time ParseClock(std::string_view text);

// DATE and TIME in the form nearly every batch line has, YYYY-MM-DD and
// HH:MM:SS[.fraction] in range, read by position as ParseDate and ParseClock
// read them; false, with nothing written, for anything else (those readers
// take it, and word what is wrong).
bool ReadPlainDateTime(std::string_view date, std::string_view time, Date& d, Time& t);

} // namespace vantoril::astro
