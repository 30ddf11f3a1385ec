// SPDX-License-Identifier: MIT
#include "astro/time/date_time.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"

#include <initializer_list>
#include <string>

namespace vantoril::astro {

namespace {

[[noreturn]] void OutOfRange(std::string_view what, std::string_view text, std::string_view rule)
{
    throw InputError(std::string(what) + " " + Quoted(text) + ": " + std::string(rule));
}

constexpr std::string_view kTimeRanges = "hours 00 to 23, minutes 00 to 59, seconds below 60 (60 in a leap second)";

bool DigitsAt(std::string_view text, std::initializer_list<std::size_t> at)
{
    for (const std::size_t i : at) {
        if (!IsDigit(text[i])) return false;
    }
    return true;
}

// YYYY-MM-DD of a real month and day, the form nearly every line has: read
// by position, as ParseDate reads it. False for anything else.
bool ReadPlainDate(std::string_view text, Date& d)
{
    if (text.size() != 10 || text[4] != '-' || text[7] != '-' || !DigitsAt(text, {0, 1, 2, 3, 5, 6, 8, 9})) {
        return false;
    }
    d.yearText = text.substr(0, 4);
    d.monthText = text.substr(5, 2);
    d.dayText = text.substr(8, 2);
    d.year = SmallNumber(d.yearText);
    d.month = SmallNumber(d.monthText);
    d.day = SmallNumber(d.dayText);
    return d.month >= 1 && d.month <= 12 && d.day >= 1 && d.day <= 31;
}

// HH:MM:SS[.fraction] in range, read by position as ParseTime reads it.
bool ReadPlainTime(std::string_view text, Time& t)
{
    if (text.size() < 8 || text.size() > 18 || text[2] != ':' || text[5] != ':' ||
        !DigitsAt(text, {0, 1, 3, 4, 6, 7})) {
        return false;
    }
    t.hourText = text.substr(0, 2);
    t.minuteText = text.substr(3, 2);
    t.secondText = text.substr(6);
    t.hour = SmallNumber(t.hourText);
    t.minute = SmallNumber(t.minuteText);
    if (t.secondText.size() > 2 && t.secondText[2] != '.') return false;
    return ReadFastDecimal(t.secondText, t.second) && t.hour <= 23 && t.minute <= 59 && t.second < 61;
}

} // namespace

Date ParseDate(std::string_view text)
{
    if (Date fast; ReadPlainDate(text, fast)) return fast;
    bool found = false;
    auto [year, rest] = SplitAt(text, '-', found);
    auto [month, day] = SplitAt(rest, '-', found);
    if (!found || year.size() < 4 || !AllDigits(year) || month.size() != 2 || !AllDigits(month) || day.size() != 2 ||
        !AllDigits(day)) {
        ThrowExpected("date", text, "YYYY-MM-DD");
    }
    Date d;
    d.yearText = year;
    d.monthText = month;
    d.dayText = day;
    d.year = -1;
    const std::string_view significant = year.substr(std::min(year.find_first_not_of('0'), year.size()));
    if (significant.size() <= 18) {
        d.year = 0;
        for (const char c : significant) d.year = d.year * 10 + (c - '0');
    }
    d.month = SmallNumber(month);
    d.day = SmallNumber(day);
    if (d.month < 1 || d.month > 12) OutOfRange("date", text, "the month must be 01 to 12");
    if (d.day < 1 || d.day > 31) OutOfRange("date", text, "the day must be 01 to 31");
    return d;
}

Time ParseTime(std::string_view text)
{
    if (Time fast; ReadPlainTime(text, fast)) return fast;
    constexpr std::string_view kForm = "HH:MM:SS, seconds may have up to 9 decimals";
    bool found = false;
    auto [hour, rest] = SplitAt(text, ':', found);
    auto [minute, second] = SplitAt(rest, ':', found);
    if (!found || hour.empty() || hour.size() > 2 || !AllDigits(hour) || minute.size() != 2 || !AllDigits(minute) ||
        FindChar(second, '.') != 2 || second.size() > 12) {
        ThrowExpected("time", text, kForm);
    }
    double seconds = 0;
    if (!ReadPlainDecimal(second, seconds)) ThrowExpected("time", text, kForm);
    Time t;
    t.hourText = hour;
    t.minuteText = minute;
    t.secondText = second;
    t.hour = SmallNumber(hour);
    t.minute = SmallNumber(minute);
    t.second = seconds;
    if (t.hour > 23 || t.minute > 59 || t.second >= 61) OutOfRange("time", text, kTimeRanges);
    return t;
}

Time ParseClock(std::string_view text)
{
    constexpr std::string_view kForm = "HH:MM or HH:MM:SS, seconds may have up to 9 decimals";
    bool found = false;
    auto [hour, minute] = SplitAt(text, ':', found);
    if (found && FindChar(minute, ':') == minute.size()) {
        if (hour.empty() || hour.size() > 2 || !AllDigits(hour) || minute.size() != 2 || !AllDigits(minute)) {
            ThrowExpected("time", text, kForm);
        }
        Time t;
        t.hourText = hour;
        t.minuteText = minute;
        t.secondText = "00";
        t.hour = SmallNumber(hour);
        t.minute = SmallNumber(minute);
        if (t.hour > 23 || t.minute > 59) OutOfRange("time", text, kTimeRanges);
        return t;
    }
    try {
        return ParseTime(text);
    } catch (const InputError& e) {
        if (std::string_view(e.what()).find(": expected ") != std::string_view::npos)
            ThrowExpected("time", text, kForm);
        throw;
    }
}

bool ReadPlainDateTime(std::string_view date, std::string_view time, Date& d, Time& t)
{
    Date day;
    Time clock;
    if (!ReadPlainDate(date, day) || !ReadPlainTime(time, clock)) return false;
    d = day;
    t = clock;
    return true;
}

} // namespace vantoril::astro
