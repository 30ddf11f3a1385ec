// SPDX-License-Identifier: MIT
#include "astro/time/time_scales.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/cautions.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>

namespace vantoril::astro {

namespace {

// TAI - UTC over one UTC day: at its 0h, its drift over the day (before
// 1972) and the leap that ends it.
struct DayOffsets {
    int status = 0; // eraDat's, at 0h
    double dat0 = 0;
    double drift = 0;
    double leap = 0;
};

DayOffsets OffsetsOf(const CalendarDate& day, bool lastMinute)
{
    DayOffsets o;
    const auto year = static_cast<int>(day.year);
    // The years reaching here (0 to 9999) are all valid for ERFA's calendar;
    // before 1960 TAI - UTC is 0 and the status only says "dubious".
    o.status = eraDat(year, day.month, day.day, 0.0, &o.dat0);
    // UTC drifted against TAI only before 1972, and a leap second ends a day
    // only at 23:59: elsewhere the other two readings equal the first.
    double dat12 = o.dat0;
    if (year < 1972) eraDat(year, day.month, day.day, 0.5, &dat12);
    double dat24 = o.dat0;
    if (lastMinute) {
        const CalendarDate next = DateOfMjd(MjdOf(day.year, day.month, day.day) + 1);
        eraDat(static_cast<int>(next.year), next.month, next.day, 0.0, &dat24);
    }
    o.drift = 2.0 * (dat12 - o.dat0);
    o.leap = dat24 - (o.dat0 + o.drift);
    return o;
}

// The offsets of a day, not counting the leap that may end it. Before 1960
// TAI - UTC is 0, and from 1972 on it steps only on the first of a month:
// there one reading at 0h of the month's first day holds for all its days,
// and is kept, so that a batch in random order looks up each month once
// rather than each day. The months are kept by their number modulo 4096
// (341 years), each with its own number to tell a month from another.
DayOffsets OffsetsBeforeLastMinute(const CalendarDate& day)
{
    if (day.year >= 1960 && day.year < 1972) return OffsetsOf(day, false);
    struct Month {
        std::int32_t key = 0; // the month's number + 1; 0 for none yet
        int status = 0;
        double dat0 = 0;
    };
    constexpr std::size_t kMonths = 4096;
    struct Free {
        void operator()(Month* p) const { std::free(p); }
    };
    // On the heap, and zeroed by calloc: a thread's static storage is
    // cleared whole when the thread starts, a page fault for each of its
    // pages in every thread, whereas fresh zero pages are touched only where
    // a month is kept.
    thread_local std::unique_ptr<Month[], Free> months;
    thread_local unsigned monthsGeneration = 0;
    const unsigned generation = LeapTableGeneration();
    if (!months) {
        months.reset(static_cast<Month*>(std::calloc(kMonths, sizeof(Month))));
        if (!months) return OffsetsOf(day, false);
        monthsGeneration = generation;
    } else if (monthsGeneration != generation) {
        std::fill_n(months.get(), kMonths, Month{});
        monthsGeneration = generation;
    }
    // Years 0 to 9999: the number fits, and is not negative.
    const auto number = static_cast<std::int32_t>(day.year * 12 + (day.month - 1));
    Month& month = months[static_cast<std::size_t>(number) % kMonths];
    if (month.key != number + 1) {
        month.key = number + 1;
        month.status = eraDat(static_cast<int>(day.year), day.month, 1, 0.0, &month.dat0);
    }
    DayOffsets o;
    o.status = month.status;
    o.dat0 = month.dat0;
    return o;
}

// A day's offsets and MJD, kept for the next instants of the same day: a
// table or a sorted batch asks for the same day many times over. The leap
// that ends the day is looked up only for its last minute.
struct Day {
    DayOffsets offsets;
    double mjd = 0;
};

const Day& DayOf(const CalendarDate& day, bool lastMinute)
{
    thread_local struct {
        CalendarDate date{-1, 0, 0};
        unsigned generation = 0;
        bool leapKnown = false;
        Day day;
    } cache;
    const unsigned generation = LeapTableGeneration();
    if (cache.date.year != day.year || cache.date.month != day.month || cache.date.day != day.day ||
        cache.generation != generation) {
        cache.date = day;
        cache.generation = generation;
        cache.day.offsets = lastMinute ? OffsetsOf(day, true) : OffsetsBeforeLastMinute(day);
        cache.day.mjd = static_cast<double>(MjdOf(day.year, day.month, day.day));
        cache.leapKnown = lastMinute;
    } else if (lastMinute && !cache.leapKnown) {
        cache.day.offsets = OffsetsOf(day, true);
        cache.leapKnown = true;
    }
    return cache.day;
}

std::string ShortestText(double x)
{
    std::array<char, 32> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x);
    return std::string(buf.data(), end);
}

// A second of 60 or more in a minute that is not that long: which day, and
// whether (and by how much) it ends with a leap.
CalculationError SecondBeyondMinute(const CalendarDate& day, const Time& time, double leap)
{
    std::string dayText;
    AppendIsoDate(dayText, day);
    std::string message =
        "time " +
        Quoted(std::string(time.hourText) + ":" + std::string(time.minuteText) + ":" + std::string(time.secondText)) +
        ": ";
    // The table's leaps are whole seconds or a few milliseconds.
    const double leapRounded = std::round(leap * 1e6) / 1e6;
    if (time.hour != 23 || time.minute != 59) {
        message += "only the last minute of a day (23:59) can have a leap second; seconds below 60";
    } else if (leapRounded == 0) {
        message += dayText + " has no leap second; seconds below 60";
    } else {
        message += "the last minute of " + dayText + " has a leap of " + ShortestText(leapRounded) +
                   " s; seconds below " + ShortestText(60 + leapRounded);
    }
    return CalculationError(message);
}

// UT1 - UTC of the instant from the context's IERS table, into `detail`.
void Ut1FromTable(double utcMjd, double taiMinusUtc, const TimeScaleContext& context, Ut1Detail& detail)
{
    const EopTable& eop = *context.eop;
    double ut1MinusTai = 0;
    bool predicted = false;
    if (eop.Ut1MinusTai(utcMjd, ut1MinusTai, predicted)) {
        // To a tenth of a nanosecond: the tables give a tenth of a microsecond,
        // and the result then shows no rounding noise.
        detail.dut1 = std::round((ut1MinusTai + taiMinusUtc) * 1e10) / 1e10;
        detail.dut1Source = predicted ? "predicted" : "final";
    } else if (context.eopNamed) {
        throw CalculationError("UT1-UTC: " + eop.name() + " covers " + eop.SpanText() + ", not this instant");
    } else {
        detail.dut1 = 0;
        detail.dut1Source = "none";
        detail.cautions |= kOutsideEopSpan;
    }
}

unsigned ScaleCautions(const CalendarDate& day, double utcMjd, int status, const TimeScaleContext& context)
{
    const double expiresMjd = context.leap != nullptr ? context.leap->expiresMjd : 0;
    if (day.year < 1960) return kBefore1960;
    if (expiresMjd > 0 && utcMjd >= expiresMjd) return kAfterLeapTableExpiry;
    if (status == 1 && expiresMjd == 0) return kErfaDubiousYear; // ERFA's own table, and no expiry to go by
    return 0;
}

} // namespace

TimeScales FromUtc(const CalendarDate& day, const Time& time, const TimeScaleContext& context, Ut1Detail* detail)
{
    const bool lastMinute = time.hour == 23 && time.minute == 59;
    const Day& cached = DayOf(day, lastMinute);
    const DayOffsets& offsets = cached.offsets;
    const double mjd = cached.mjd;
    double secondsInMinute = lastMinute ? 60.0 + offsets.leap : 60.0;
    // A month that ends after the leap-second table expires may end with a
    // leap second announced since: its 23:59:60 is taken (with the expiry's
    // caution), as the table cannot say it is not there.
    const double expires = context.leap != nullptr ? context.leap->expiresMjd : 0;
    if (lastMinute && offsets.leap == 0 && expires > 0 && mjd + 1 > expires &&
        day.day == DaysInMonth(day.year, day.month)) {
        secondsInMinute = 61.0;
    }
    if (time.second >= secondsInMinute) throw SecondBeyondMinute(day, time, offsets.leap);
    const double seconds = 60.0 * (60.0 * time.hour + time.minute) + time.second;
    const double tai =
        seconds / ERFA_DAYSEC * ((ERFA_DAYSEC + offsets.drift) / ERFA_DAYSEC) + offsets.dat0 / ERFA_DAYSEC;
    double dut1 = context.dut1;
    if (detail != nullptr) {
        const double utcMjd = mjd + seconds / ERFA_DAYSEC;
        detail->cautions |= ScaleCautions(day, utcMjd, offsets.status, context);
        detail->dut1 = context.dut1;
        if (context.eop != nullptr) Ut1FromTable(utcMjd, tai * ERFA_DAYSEC - seconds, context, *detail);
        dut1 = detail->dut1;
    }
    return {ERFA_DJM0 + mjd, tai + (dut1 - offsets.dat0) / ERFA_DAYSEC, tai + ERFA_TTMTAI / ERFA_DAYSEC};
}

double DayLength(std::int64_t mjd, bool withLeapSeconds)
{
    if (!withLeapSeconds) return ERFA_DAYSEC;
    const CalendarDate day = DateOfMjd(mjd);
    const DayOffsets offsets = OffsetsOf(day, true);
    return ERFA_DAYSEC + std::round(offsets.leap * 1e6) / 1e6;
}

std::string CautionText(unsigned cautions, const TimeScaleContext& context)
{
    std::string text;
    auto add = [&](const std::string& part) { text.append(text.empty() ? "" : "; ").append(part); };
    if ((cautions & kBefore1960) != 0) add("before 1960 UTC is not tied to TAI: TT-UTC taken as 32.184 s");
    if ((cautions & kAfterLeapTableExpiry) != 0 && context.leap != nullptr) {
        add("after " + context.leap->expiresText +
            ", when the leap-second table expires: a leap second announced since is not counted");
    }
    if ((cautions & kErfaDubiousYear) != 0) {
        add("beyond the years ERFA's leap-second table is sure for: a later leap second is not counted");
    }
    if ((cautions & kOutsideEopSpan) != 0 && context.eop != nullptr) {
        add("UT1-UTC taken as 0: " + context.eop->name() + " covers " + context.eop->SpanText());
    }
    if ((cautions & kFoundEopUsed) != 0 && context.eop != nullptr) {
        add("UT1-UTC from " + context.eop->name() + ", found in the default places (--eop none for 0)");
    }
    return text;
}

} // namespace vantoril::astro
