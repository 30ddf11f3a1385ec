// SPDX-License-Identifier: MIT
#include "astro/time/numeric_instant.h"

#include "astro/base/chars.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"
#include "astro/time/instant.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <string>

namespace vantoril::astro {

namespace {

constexpr const char* kForms = "JD or MJD and a day number (JD2460000.5, MJD60000.25), or @ and Unix seconds";

// [sign] digits [. digits]: the whole part and the fraction's digits.
struct Number {
    bool negative = false;
    std::int64_t whole = 0;
    std::string_view fraction;
};

bool ReadNumber(std::string_view text, bool signAllowed, Number& n)
{
    if (signAllowed && !text.empty() && (text.front() == '-' || text.front() == '+')) {
        n.negative = text.front() == '-';
        text.remove_prefix(1);
    }
    bool found = false;
    auto [whole, fraction] = SplitAt(text, '.', found);
    if (!AllDigits(whole) || whole.size() > 12 || (found && !AllDigits(fraction))) return false;
    for (const char c : whole) n.whole = n.whole * 10 + (c - '0');
    n.fraction = fraction;
    return true;
}

// The fraction's digits as a double below 1, correctly rounded.
double FractionOf(std::string_view digits)
{
    if (digits.empty()) return 0;
    const std::string text = "0." + std::string(digits);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The fraction's first nine digits as nanoseconds.
std::int64_t Nanoseconds(std::string_view digits)
{
    std::int64_t ns = 0;
    for (std::size_t i = 0; i < 9; ++i) ns = ns * 10 + (i < digits.size() ? digits[i] - '0' : 0);
    return ns;
}

// HH:MM:SS[.fraction] written for a time of day, trailing zeros dropped.
void WriteTexts(const CalendarDate& d, int hour, int minute, int second, std::int64_t ns, InstantTexts& texts)
{
    *WriteIsoDate(texts.date.data(), d.year, d.month, d.day) = '\0';
    std::array<char, 24> time{};
    int decimals = 9;
    while (decimals > 0 && ns % 10 == 0) {
        ns /= 10;
        --decimals;
    }
    const int n = std::snprintf(time.data(), time.size(), "%02d:%02d:%02d", hour, minute, second);
    std::string text(time.data(), static_cast<std::size_t>(n));
    if (decimals > 0) {
        std::array<char, 16> fraction{};
        std::snprintf(fraction.data(), fraction.size(), ".%0*lld", decimals, static_cast<long long>(ns));
        text += fraction.data();
    }
    texts.timeSize = text.copy(texts.time.data(), texts.time.size() - 1);
    texts.time[texts.timeSize] = '\0';
}

[[noreturn]] void OutsideYears(std::string_view text)
{
    throw CalculationError("instant " + Quoted(text) + ": outside the years 0000 to 9999");
}

void FromJulianDate(std::string_view text, double jd1, double jd2, InstantTexts& texts)
{
    int y = 0, m = 0, d = 0;
    std::array<int, 4> hmsf{};
    if (eraD2dtf("UTC", 9, jd1, jd2, &y, &m, &d, hmsf.data()) < 0 || y < 0 || y > 9999) OutsideYears(text);
    WriteTexts({y, m, d}, hmsf[0], hmsf[1], hmsf[2], hmsf[3], texts);
}

void FromUnixSeconds(std::string_view text, const Number& n, InstantTexts& texts)
{
    // Unix time has no leap seconds: every day is 86,400 of them.
    std::int64_t seconds = n.negative ? -n.whole : n.whole;
    std::int64_t ns = Nanoseconds(n.fraction);
    if (n.negative && ns > 0) {
        --seconds;
        ns = 1'000'000'000 - ns;
    }
    const std::int64_t days = DayOfSecond(seconds);
    const auto inDay = static_cast<int>(seconds - days * 86400);
    const CalendarDate d = CivilFromDays(days);
    if (d.year < 0 || d.year > 9999) OutsideYears(text);
    WriteTexts(d, inDay / 3600, inDay / 60 % 60, inDay % 60, ns, texts);
}

} // namespace

bool IsNumericInstant(std::string_view text)
{
    const auto starts = [text](std::string_view prefix) {
        if (text.size() <= prefix.size()) return false;
        for (std::size_t i = 0; i < prefix.size(); ++i) {
            if ((text[i] | 0x20) != (prefix[i] | 0x20)) return false;
        }
        return IsDigit(text[prefix.size()]) || text[prefix.size()] == '-' || text[prefix.size()] == '+' ||
               text[prefix.size()] == '.';
    };
    return starts("@") || starts("JD") || starts("MJD");
}

void ReadNumericInstant(std::string_view text, Date& date, Time& time, InstantTexts& texts)
{
    Number n;
    if (text.front() == '@') {
        if (!ReadNumber(text.substr(1), true, n)) ThrowExpected("instant", text, kForms);
        FromUnixSeconds(text, n, texts);
    } else {
        const bool modified = (text.front() | 0x20) == 'm';
        if (!ReadNumber(text.substr(modified ? 3 : 2), true, n)) ThrowExpected("instant", text, kForms);
        const double whole = static_cast<double>(n.negative ? -n.whole : n.whole);
        const double fraction = n.negative ? -FractionOf(n.fraction) : FractionOf(n.fraction);
        FromJulianDate(text, modified ? ERFA_DJM0 + whole : whole, fraction, texts);
    }
    Instant at;
    ReadWrittenInstant(texts.Date(), texts.Time(), at);
    date = at.date;
    time = at.time;
}

} // namespace vantoril::astro
