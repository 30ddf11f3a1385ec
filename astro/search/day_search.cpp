// SPDX-License-Identifier: MIT
#include "astro/search/day_search.h"

#include "astro/sidereal/classic.h"

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

DayResult SearchDay(const DaySearch& s, Model model, int decimals, const TimeScaleContext& context)
{
    const bool classic = model == Model::Classic;
    const double target = TargetHours(s);
    // The search stays near the day: its date and length are worked out once.
    const CalendarDate date = DateOfMjd(s.span.mjd);
    const double length = DayLength(s.span.mjd, !classic);
    DayResult result;
    auto lstAt = [&](double t) {
        const Query q = t >= 0 && t < length ? QueryAt({s.span.mjd, t}, date, s.longitude)
                                             : QueryAt(PointAt(s.span.mjd, t, !classic), s.longitude);
        if (classic) {
            double hours = 0;
            (void)ClassicLst(q, hours);
            return hours;
        }
        const SiderealAnswer a = Evaluate(model, q, context);
        result.searched = a.ut1;
        return a.lstHours;
    };
    for (const double t : FindSiderealCrossings(s.span.begin, s.span.end, target, lstAt)) {
        if (!classic) {
            result.instants.push_back(Rounded(s.span.mjd, t, decimals, true));
            continue;
        }
        double second = 0;
        if (!ClassicSecond(s.span.mjd, t, WholeSecondsShown(target), s.longitude, second)) continue;
        if (second < s.span.begin || second >= s.span.end) continue;
        result.instants.push_back(Rounded(s.span.mjd, second, 0, false));
    }
    return result;
}

} // namespace vantoril::astro
