// SPDX-License-Identifier: MIT
#include "astro/time/calendar.h"

#include <array>
#include <charconv>

namespace vantoril::astro {

bool IsLeapYear(std::int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(std::int64_t year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    // Lines in time order ask for the same day again and again.
    thread_local struct {
        bool known = false;
        std::int64_t year = 0;
        int month = 0;
        int day = 0;
        std::int64_t days = 0;
    } last;
    if (last.known && day == last.day && month == last.month && year == last.year) return last.days;
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    last = {true, year, month, day, era * 146097 + doe - 719468};
    return last.days;
}

CalendarDate CivilFromDays(std::int64_t days)
{
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    CalendarDate d;
    d.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    d.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    d.year = yoe + era * 400 + (d.month <= 2 ? 1 : 0);
    return d;
}

bool IsRealDate(std::int64_t year, int month, int day)
{
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInMonth(year, month);
}

char* WriteIsoDate(char* p, std::int64_t year, int month, int day)
{
    if (year >= 0 && year <= 9999) {
        // By hand: a batch in a zone writes a million of them.
        for (int i = 3, y = static_cast<int>(year); i >= 0; --i, y /= 10) p[i] = static_cast<char>('0' + y % 10);
        p += 4;
    } else {
        std::array<char, 24> digits{};
        const auto magnitude = year < 0 ? -year : year;
        const auto [end, ec] = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude);
        if (year < 0) *p++ = '-';
        for (auto length = end - digits.data() + (year < 0 ? 1 : 0); length < 4; ++length) *p++ = '0';
        for (const char* d = digits.data(); d != end; ++d) *p++ = *d;
    }
    *p++ = '-';
    *p++ = static_cast<char>('0' + month / 10);
    *p++ = static_cast<char>('0' + month % 10);
    *p++ = '-';
    *p++ = static_cast<char>('0' + day / 10);
    *p++ = static_cast<char>('0' + day % 10);
    return p;
}

void AppendIsoDate(std::string& out, std::int64_t year, int month, int day)
{
    std::array<char, 40> text{};
    out.append(text.data(), WriteIsoDate(text.data(), year, month, day));
}

std::string IsoDateOfMjd(std::int64_t mjd)
{
    std::string text;
    AppendIsoDate(text, DateOfMjd(mjd));
    return text;
}

} // namespace vantoril::astro
