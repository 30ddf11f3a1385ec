// SPDX-License-Identifier: MIT
#include "astro/search/day_search.h"

#include "astro/sidereal/catalogue.h"
#include "astro/sidereal/classic.h"

#include <algorithm>

#include <cmath>

namespace vantoril::astro {

namespace {

// Into [-12, +12) hours.
double Reduced(double hours)
{
    double r = std::fmod(hours + 12.0, 24.0);
    if (r < 0) r += 24.0;
    return r - 12.0;
}

// The whole seconds the window's text shows for the hours: h:mm:ss rounded.
std::int64_t WholeSecondsShown(double hours)
{
    std::int64_t total = std::llround(hours * 3600.0) % 86400;
    if (total < 0) total += 86400;
    return total;
}

// The classic model: the whole second whose text is the target's, the one
// before it showing another; near each crossing of the unrounded time.
bool ClassicSecond(std::int64_t mjd, double approx, std::int64_t targetSeconds, const Longitude& longitude,
                   double& second)
{
    auto shows = [&](double t) {
        double hours = 0;
        const Query q = QueryAt(PointAt(mjd, t, false), longitude);
        return ClockSeconds(ClassicLst(q, hours).view());
    };
    const double first = std::floor(approx) - 4;
    std::int64_t before = shows(first - 1);
    for (double t = first; t <= first + 8; ++t) {
        const std::int64_t now = shows(t);
        if (now == targetSeconds && before != targetSeconds) {
            second = t;
            return true;
        }
        before = now;
    }
    return false;
}

} // namespace

std::vector<double> FindSiderealCrossings(double begin, double end, double targetHours,
                                          const std::function<double(double)>& lstAt)
{
    std::vector<double> found;
    const double secondsPerTurn = 24 * 3600 / kSiderealPerSolar;
    // The first crossing at or after `begin` by the mean rate, and those a
    // sidereal day apart; one before and one after as well, for a rate that
    // the day's start misjudges.
    double ahead = std::fmod(targetHours - lstAt(begin), 24.0);
    if (ahead < 0) ahead += 24.0;
    const double first = begin + ahead * 3600 / kSiderealPerSolar;
    for (double guess = first - secondsPerTurn; guess < end + secondsPerTurn / 2; guess += secondsPerTurn) {
        if (guess < begin - 600 || guess > end + 600) continue;
        double t = guess;
        // Newton's steps with the mean rate as the slope. The true rate
        // differs from it by under 2e-7 (the equation of the equinoxes,
        // UT1 - UTC from a table), so a step below a millisecond leaves an
        // error below a nanosecond: no further step to confirm it.
        for (int i = 0; i < 8; ++i) {
            const double step = Reduced(targetHours - lstAt(t)) * 3600 / kSiderealPerSolar;
            t += step;
            if (std::fabs(step) < 1e-3) break;
        }
        if (t >= begin && t < end && (found.empty() || t - found.back() > 1)) found.push_back(t);
    }
    return found;
}

std::string_view EventName(Event e)
{
    switch (e) {
    case Event::Transit:
        return "transit";
    case Event::LowerTransit:
        return "lower_transit";
    case Event::SiderealTime:
        return "sidereal_time";
    }
    return "";
}

double TargetHours(const DaySearch& s)
{
    const double h = s.target.hours + (s.event == Event::LowerTransit ? 12.0 : 0.0);
    return h >= 24.0 ? h - 24.0 : h;
}

namespace {

// Seconds from 0h UTC of the span's day to a printed instant, counted with
// the leap seconds of the days between.
double SecondsInSpan(const UtcSpan& span, const PrintedInstant& p, bool withLeapSeconds)
{
    const double seconds = static_cast<double>(p.units) / static_cast<double>(UnitsPerSecond(p.decimals));
    double base = 0;
    for (std::int64_t mjd = span.mjd; mjd < p.mjd; ++mjd) base += DayLength(mjd, withLeapSeconds);
    for (std::int64_t mjd = p.mjd; mjd < span.mjd; ++mjd) base -= DayLength(mjd, withLeapSeconds);
    return base + seconds;
}

// The sidereal time the search follows, in hours: the model's at the
// longitude, or for a catalogue place its hour angle plus its right
// ascension, which runs at the same rate and equals the right ascension at
// the transit.
struct Follower {
    const DaySearch& s;
    Model model = Model::Classic;
    const TimeScaleContext& context;
    DayResult& result;
    CalendarDate date;
    double length = 0;

    double operator()(double t) const
    {
        const bool leap = model != Model::Classic;
        Query q = t >= 0 && t < length ? QueryAt({s.span.mjd, t}, date, s.longitude)
                                       : QueryAt(PointAt(s.span.mjd, t, leap), s.longitude);
        if (!leap) {
            double hours = 0;
            (void)ClassicLst(q, hours);
            return hours;
        }
        if (s.dec) {
            q.ra = s.target;
            q.dec = s.dec;
            const double ha = CatalogueHourAngle(q, context, &result.searched);
            return std::fmod(ha + s.target.hours + 24.0, 24.0);
        }
        const SiderealAnswer a = Evaluate(model, q, context);
        result.searched = a.ut1;
        return a.lstHours;
    }
};

} // namespace

DayResult SearchDay(const DaySearch& s, Model model, int decimals, const TimeScaleContext& context)
{
    const bool classic = model == Model::Classic;
    const double target = TargetHours(s);
    DayResult result;
    // The search stays near the day: its date and length are worked out once.
    const Follower follow{s, model, context, result, DateOfMjd(s.span.mjd), DayLength(s.span.mjd, !classic)};
    const std::function<double(double)> lstAt = std::cref(follow);
    // The span widened by `by` either side, within the years the models take.
    const auto widened = [&s](double by) {
        const auto first = static_cast<double>(MjdOf(0, 1, 1) - s.span.mjd) * 86400;
        const auto last = static_cast<double>(MjdOf(10000, 1, 1) - s.span.mjd) * 86400 - 1;
        return std::pair{std::max(s.span.begin - by, std::min(first, s.span.begin)),
                         std::min(s.span.end + by, std::max(last, s.span.end))};
    };
    // A second either side: an instant just outside may round into the day.
    const auto [lo, hi] = widened(1);
    const std::vector<double> crossings = FindSiderealCrossings(lo, hi, target, lstAt);
    for (const double t : crossings) {
        PrintedInstant p;
        if (classic) {
            double second = 0;
            if (!ClassicSecond(s.span.mjd, t, WholeSecondsShown(target), s.longitude, second)) continue;
            p = Rounded(s.span.mjd, second, 0, false);
        } else {
            p = Rounded(s.span.mjd, t, decimals, true);
        }
        const double at = SecondsInSpan(s.span, p, !classic);
        if (at >= s.span.begin && at < s.span.end) result.instants.push_back(p);
    }
    if (!result.instants.empty()) return result;
    const bool inside =
        std::any_of(crossings.begin(), crossings.end(), [&](double t) { return t >= s.span.begin && t < s.span.end; });
    if (classic && inside) {
        result.none = NoInstant::WholeSeconds;
        return result;
    }
    // The day falls between two: the nearest either side, from a span a day wider.
    result.none = NoInstant::OutsideDay;
    std::optional<std::pair<double, PrintedInstant>> before;
    std::optional<std::pair<double, PrintedInstant>> after;
    const auto [wideLo, wideHi] = widened(86400);
    for (const double t : FindSiderealCrossings(wideLo, wideHi, target, lstAt)) {
        double second = t;
        if (classic) (void)ClassicSecond(s.span.mjd, t, WholeSecondsShown(target), s.longitude, second);
        const PrintedInstant p = Rounded(s.span.mjd, second, classic ? 0 : decimals, !classic);
        const double at = SecondsInSpan(s.span, p, !classic);
        if (at < s.span.begin && (!before || at > before->first)) before = {at, p};
        if (at >= s.span.end && (!after || at < after->first)) after = {at, p};
    }
    if (before) result.nearest.push_back(before->second);
    if (after) result.nearest.push_back(after->second);
    return result;
}

} // namespace vantoril::astro
