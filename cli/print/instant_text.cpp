// SPDX-License-Identifier: MIT
#include "cli/print/instant_text.h"

#include "astro/time/calendar.h"
#include "cli/print/numbers.h"

#include <algorithm>

namespace vantoril::cli {

void AppendNormalisedUtc(std::string& out, const astro::Instant& at)
{
    // The year as text, so that one of any length counts on too; whether it
    // is a leap year shows in its last four digits.
    const std::string_view typed = at.date.yearText;
    std::string year(typed.substr(std::min(typed.find_first_not_of('0'), typed.size())));
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    const int lastFour = std::stoi(year.substr(year.size() - 4));
    int month = at.date.month;
    int day = at.date.day;
    const int length = astro::DaysInMonth(lastFour, month);
    if (day > length) { // a day runs on by less than a month, and December has 31
        day -= length;
        ++month;
    }
    out += year;
    out += '-';
    AppendInt(out, month, 2);
    out += '-';
    AppendInt(out, day, 2);
    out += 'T';
    AppendInt(out, at.time.hour, 2);
    out.append(":").append(at.time.minuteText).append(":").append(at.time.secondText);
}

void AppendTypedDateTime(std::string& out, const astro::Instant& at, char between)
{
    out.append(at.date.yearText).append("-").append(at.date.monthText).append("-").append(at.date.dayText);
    out += between;
    out.append(at.time.hourText).append(":").append(at.time.minuteText).append(":").append(at.time.secondText);
}

} // namespace vantoril::cli
