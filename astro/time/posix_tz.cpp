// SPDX-License-Identifier: MIT
#include "astro/time/posix_tz.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"

#include <algorithm>
#include <string>

namespace vantoril::astro {

namespace {

constexpr std::int64_t kDay = 86400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsAlpha(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

std::int64_t YearOf(std::int64_t utc)
{
    const std::int64_t days = utc >= 0 ? utc / kDay : -((-utc + kDay - 1) / kDay);
    return CivilFromDays(days).year;
}

} // namespace

// The grammar of tzset(3) and tzfile(5), one field after the other.
class PosixTzReader {
public:
    explicit PosixTzReader(std::string_view text) : rest_(text) {}

    PosixTz Read()
    {
        PosixTz tz;
        Name("standard time");
        tz.standard_ = -Offset("standard time's offset", 24);
        if (rest_.empty()) return tz;
        Name("summer time");
        tz.hasSummer_ = true;
        tz.summer_ = tz.standard_ + 3600;
        if (!rest_.empty() && rest_.front() != ',') tz.summer_ = -Offset("summer time's offset", 24);
        if (rest_.empty()) Fail("a summer time needs its rule: ,START[/TIME],END[/TIME]");
        Expect(',');
        tz.start_ = Change("the start of summer time");
        Expect(',');
        tz.end_ = Change("the end of summer time");
        if (!rest_.empty()) Fail("unexpected " + Quoted(rest_) + " after the rule");
        return tz;
    }

private:
    [[noreturn]] static void Fail(const std::string& why) { throw InputError(why); }

    void Expect(char c)
    {
        if (rest_.empty() || rest_.front() != c) Fail(std::string("expected '") + c + "' at " + Quoted(rest_));
        rest_.remove_prefix(1);
    }

    // Three letters or more, or <...> of letters, digits, '+' and '-'.
    void Name(const char* what)
    {
        std::size_t length = 0;
        if (!rest_.empty() && rest_.front() == '<') {
            const std::size_t close = rest_.find('>');
            if (close == std::string_view::npos) Fail(std::string("the name of ") + what + " has no closing '>'");
            const std::string_view name = rest_.substr(1, close - 1);
            const bool fine = std::all_of(name.begin(), name.end(),
                                          [](char c) { return IsAlpha(c) || IsDigit(c) || c == '+' || c == '-'; });
            if (!fine || name.size() < 3)
                Fail(std::string("the name of ") + what + " is not 3 or more letters, digits, + or -");
            length = close + 1;
        } else {
            while (length < rest_.size() && IsAlpha(rest_[length])) ++length;
            if (length < 3)
                Fail(std::string("expected the name of ") + what + " (3 or more letters) at " + Quoted(rest_));
        }
        rest_.remove_prefix(length);
    }

    int Number(std::size_t maxDigits, const char* what)
    {
        std::size_t digits = 0;
        int n = 0;
        while (digits < rest_.size() && IsDigit(rest_[digits])) {
            if (digits == maxDigits) Fail(std::string("too many digits in ") + what);
            n = n * 10 + (rest_[digits] - '0');
            ++digits;
        }
        if (digits == 0) Fail(std::string("expected ") + what + " at " + Quoted(rest_));
        rest_.remove_prefix(digits);
        return n;
    }

    // [+-]hh[:mm[:ss]], seconds; hours up to maxHours.
    std::int64_t HoursMinutesSeconds(const char* what, int maxHours)
    {
        int sign = 1;
        if (!rest_.empty() && (rest_.front() == '+' || rest_.front() == '-')) {
            sign = rest_.front() == '-' ? -1 : 1;
            rest_.remove_prefix(1);
        }
        const int hours = Number(maxHours > 99 ? 3 : 2, what);
        int minutes = 0;
        int seconds = 0;
        if (!rest_.empty() && rest_.front() == ':') {
            rest_.remove_prefix(1);
            minutes = Number(2, what);
            if (!rest_.empty() && rest_.front() == ':') {
                rest_.remove_prefix(1);
                seconds = Number(2, what);
            }
        }
        if (hours > maxHours || minutes > 59 || seconds > 59) {
            Fail(std::string(what) + " beyond " + std::to_string(maxHours) + " hours, minutes and seconds below 60");
        }
        return sign * (hours * std::int64_t{3600} + minutes * std::int64_t{60} + seconds);
    }

    // West of UTC is positive in TZ.
    int Offset(const char* what, int maxHours) { return static_cast<int>(HoursMinutesSeconds(what, maxHours)); }

    PosixTz::Rule Change(const char* what)
    {
        PosixTz::Rule rule;
        if (!rest_.empty() && rest_.front() == 'J') {
            rest_.remove_prefix(1);
            rule.form = PosixTz::Rule::Julian;
            rule.day = Number(3, what);
            if (rule.day < 1 || rule.day > 365) Fail(std::string(what) + ": Jn counts days 1 to 365");
        } else if (!rest_.empty() && rest_.front() == 'M') {
            rest_.remove_prefix(1);
            rule.form = PosixTz::Rule::MonthWeekDay;
            rule.month = Number(2, what);
            Expect('.');
            rule.week = Number(1, what);
            Expect('.');
            rule.day = Number(1, what);
            if (rule.month < 1 || rule.month > 12 || rule.week < 1 || rule.week > 5 || rule.day > 6) {
                Fail(std::string(what) + ": Mm.w.d takes a month 1 to 12, a week 1 to 5 and a weekday 0 to 6");
            }
        } else {
            rule.form = PosixTz::Rule::DayOfYear;
            rule.day = Number(3, what);
            if (rule.day > 365) Fail(std::string(what) + ": n counts days 0 to 365");
        }
        if (!rest_.empty() && rest_.front() == '/') {
            rest_.remove_prefix(1);
            rule.seconds = HoursMinutesSeconds(what, 167);
        }
        return rule;
    }

    std::string_view rest_;
};

PosixTz PosixTz::Parse(std::string_view text) { return PosixTzReader(text).Read(); }

std::int64_t PosixTz::ChangeIn(std::int64_t year, const Rule& rule, int before) const
{
    std::int64_t days = DaysFromCivil(year, 1, 1);
    switch (rule.form) {
    case Rule::Julian:
        days += rule.day - 1 + (rule.day >= 60 && IsLeapYear(year) ? 1 : 0);
        break;
    case Rule::DayOfYear:
        days += rule.day;
        break;
    case Rule::MonthWeekDay: {
        const std::int64_t first = DaysFromCivil(year, rule.month, 1);
        // 1970-01-01 was a Thursday (4).
        const auto weekday = static_cast<int>(((first % 7) + 7 + 4) % 7);
        int day = (rule.day - weekday + 7) % 7;
        const int length = DaysInMonth(year, rule.month);
        for (int week = 1; week < rule.week && day + 7 < length; ++week) day += 7;
        days = first + day;
        break;
    }
    }
    return days * kDay + rule.seconds - before;
}

bool PosixTz::SummerAt(std::int64_t utc, std::int64_t year) const
{
    // As the C library decides it: by the changes of the instant's UTC year.
    const std::int64_t start = ChangeIn(year, start_, standard_);
    const std::int64_t end = ChangeIn(year, end_, summer_);
    return start > end ? (utc < end || utc >= start) : (utc >= start && utc < end);
}

int PosixTz::OffsetAt(std::int64_t utc) const
{
    if (!hasSummer_) return standard_;
    return SummerAt(utc, YearOf(utc)) ? summer_ : standard_;
}

std::vector<OffsetSpan> PosixTz::Spans(std::int64_t first, std::int64_t last) const
{
    std::vector<OffsetSpan> spans;
    for (std::int64_t year = first; year <= last; ++year) {
        const std::int64_t begin = DaysFromCivil(year, 1, 1) * kDay;
        std::vector<std::int64_t> at = {begin};
        if (hasSummer_) {
            const std::int64_t end = DaysFromCivil(year + 1, 1, 1) * kDay;
            for (const std::int64_t change : {ChangeIn(year, start_, standard_), ChangeIn(year, end_, summer_)}) {
                if (change > begin && change < end) at.push_back(change);
            }
            std::sort(at.begin(), at.end());
        }
        for (const std::int64_t t : at) {
            const int offset = hasSummer_ && SummerAt(t, year) ? summer_ : standard_;
            if (spans.empty() || spans.back().offset != offset) spans.push_back({t, offset});
        }
    }
    return spans;
}

} // namespace vantoril::astro
