// SPDX-License-Identifier: MIT
// Apparent sidereal time with the nutation interpolated between hourly
// nodes, against eraGst06a at the same instants: 100,000 seeded instants
// from 1900 to 2100, as tables of every step from a second to days and as
// batches in random order, each within 1 us.
#include "astro/sidereal/iau2006.h"
#include "astro/time/date_time.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

namespace vantoril::astro {
namespace {

// The query at `seconds` after 1900-01-01 00:00 UTC (days of 86,400 s).
struct Instant1900 {
    std::string date, time;
    Query q;
};

Instant1900 At(double seconds, double east)
{
    Instant1900 at;
    const auto days = static_cast<std::int64_t>(seconds / 86400);
    const double inDay = seconds - static_cast<double>(days) * 86400;
    const CalendarDate d = DateOfMjd(MjdOf(1900, 1, 1) + days);
    char date[16], time[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", static_cast<int>(d.year), d.month, d.day);
    std::snprintf(time, sizeof time, "%02d:%02d:%012.9f", static_cast<int>(inDay / 3600),
                  static_cast<int>(inDay / 60) % 60, std::fmod(inDay, 60));
    at.date = date;
    at.time = time;
    at.q.date = ParseDate(at.date);
    at.q.time = ParseTime(at.time);
    at.q.longitude.east = east;
    return at;
}

TEST(Equinoxes, InterpolatedWithinAMicrosecondOfTheSeriesInTablesAndBatches)
{
    std::mt19937_64 rng(2000);
    std::uniform_real_distribution<double> start(0, 200.0 * 365.25 * 86400 - 40 * 86400), east(-180, 180);
    const double steps[] = {0, 1, 60, 600, 3599, 3600, 3 * 3600, 86400}; // 0: a batch in random order
    double worst = 0;
    int count = 0;
    const TimeScaleContext context;
    for (int run = 0; count < 100000; ++run) {
        const double step = steps[run % 8];
        double t = start(rng);
        const double lng = east(rng);
        for (int row = 0; row < 1000; ++row, t += step) {
            const Instant1900 at = At(step == 0 ? start(rng) : t, lng);
            const double ours = Iau2006Lst(at.q, true, context, nullptr);
            const TimeScales s = Iau2006Scales(at.q, context, nullptr);
            const double theirs = eraAnp(eraGst06a(s.jd0, s.ut1, s.jd0, s.tt) + lng * ERFA_DD2R) * 12 / ERFA_DPI;
            double diff = std::fabs(ours - theirs);
            diff = std::min(diff, 24 - diff) * 3600;
            worst = std::max(worst, diff);
            ASSERT_LT(diff, 1e-6) << at.date << ' ' << at.time << " step " << step;
            ++count;
        }
    }
    RecordProperty("worst_seconds", std::to_string(worst));
}

} // namespace
} // namespace vantoril::astro
