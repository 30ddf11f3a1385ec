// SPDX-License-Identifier: MIT
// The day search called directly: the generic crossing finder on sidereal
// times of known shape, civil days of 23, 24 and 25 hours, and every
// instant found by the models where the model says it should be.
#include "astro/search/day_search.h"
#include "astro/time/date_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace vantoril::astro {
namespace {

// A sidereal time running at the mean rate times (1 + drift), at `start`
// hours at t = 0.
struct Clock {
    double start;
    double drift;
    double operator()(double t) const
    {
        return std::fmod(start + t / 3600 * kSiderealPerSolar * (1 + drift) + 240, 24.0);
    }
};

TEST(Crossings, EveryOneInTheSpanToWellUnderAMicrosecond)
{
    const struct {
        Clock clock;
        double begin, end, target;
        int expected;
    } cases[] = {
        {{0, 0}, 0, 86400, 6, 1},          // once a day
        {{5.99, 0}, 0, 86400, 6, 2},       // just after the start, and again a sidereal day on
        {{6.0001, 0}, 0, 86400, 6, 1},     // just missed at the start
        {{0, 2e-7}, 0, 90000, 23.9999, 1}, // a rate a little off the mean
        {{12, 0}, 3600, 3600 + 23 * 3600, 11.99, 1},
        {{0, 0}, 0, 3600, 6, 0},
    };
    for (const auto& c : cases) {
        const std::vector<double> found = FindSiderealCrossings(c.begin, c.end, c.target, c.clock);
        ASSERT_EQ(static_cast<int>(found.size()), c.expected) << c.clock.start << ' ' << c.target;
        for (const double t : found) {
            EXPECT_GE(t, c.begin);
            EXPECT_LT(t, c.end);
            const double off = std::remainder(c.clock(t) - c.target, 24.0) * 3600;
            EXPECT_LT(std::fabs(off), 1e-7) << t;
        }
    }
}

TEST(CivilDays, AreTheHoursTheClocksShow)
{
    const struct {
        const char* zone;
        const char* date;
        double hours;
        double beginHours; // after 0h UTC of the date
    } cases[] = {
        {"Europe/Paris", "2024-03-31", 23, -1}, {"Europe/Paris", "2024-10-27", 25, -2},
        {"Europe/Paris", "2024-06-01", 24, -2}, {"America/Santiago", "2024-09-08", 23, 4},
        {"Asia/Tokyo", "2016-12-31", 24, -9},   {"UTC", "2016-12-31", 24 + 1 / 3600.0, 0},
    };
    for (const auto& c : cases) {
        const Zone zone = Zone::Find(c.zone);
        const UtcSpan span = CivilDay(ParseDate(c.date), zone, true);
        EXPECT_NEAR((span.end - span.begin) / 3600, c.hours, 1e-9) << c.zone << ' ' << c.date;
        EXPECT_NEAR(span.begin / 3600, c.beginHours, 1e-9) << c.zone << ' ' << c.date;
    }
}

struct SearchCase {
    Model model;
    Event event;
    const char* date;
    const char* longitude;
    double targetHours;
};

class Search : public ::testing::TestWithParam<SearchCase> {};

// Each instant is where the event happens (to the rounding of six decimals,
// or the window's first whole second showing it), one sidereal day apart,
// and inside the day.
TEST_P(Search, FindsTheEventWhereTheModelPutsIt)
{
    const SearchCase& c = GetParam();
    LeapTableInUse leap;
    TimeScaleContext context;
    context.leap = &leap;
    DaySearch s;
    s.event = c.event;
    s.longitude = ParseLongitude(c.longitude);
    s.target = {"", c.targetHours};
    s.span = UtcDay(ParseDate(c.date), c.model != Model::Classic);
    const DayResult result = SearchDay(s, c.model, 6, context);
    ASSERT_FALSE(result.instants.empty());
    ASSERT_LE(result.instants.size(), 2U);
    const double wanted = TargetHours(s);
    for (const PrintedInstant& p : result.instants) {
        EXPECT_GE(p.mjd, s.span.mjd);
        EXPECT_LE(p.mjd, s.span.mjd + 1);
        const SiderealAnswer a = Evaluate(c.model, QueryOf(p, s.longitude), context);
        if (c.model == Model::Classic) {
            EXPECT_EQ(ClockSeconds(a.classicText.view()), std::llround(wanted * 3600) % 86400);
        } else {
            EXPECT_LT(std::fabs(HourAngle(a.lstHours, wanted)) * 3600, 2e-6) << c.date;
        }
    }
    if (result.instants.size() == 2) {
        const double apart = static_cast<double>(result.instants[1].units - result.instants[0].units) /
                             static_cast<double>(UnitsPerSecond(result.instants[0].decimals));
        EXPECT_NEAR(apart, 86164.09, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Days, Search,
    ::testing::Values(SearchCase{Model::Iau2006Mean, Event::Transit, "2024-03-20", "-79.85", 5.588},
                      SearchCase{Model::Iau2006Apparent, Event::LowerTransit, "2016-12-31", "139.7", 1.5},
                      SearchCase{Model::Iau2006Mean, Event::SiderealTime, "1962-01-01", "0", 6.6},
                      SearchCase{Model::Iau2006Mean, Event::SiderealTime, "2024-09-22", "2.35E", 0.0172},
                      SearchCase{Model::Classic, Event::Transit, "2002-01-01", "79d51mW", 1.375},
                      SearchCase{Model::Classic, Event::SiderealTime, "1989-02-25", "0", 23.9999}),
    [](const ::testing::TestParamInfo<SearchCase>& p) { return "Case" + std::to_string(p.index); });

} // namespace
} // namespace vantoril::astro
