// SPDX-License-Identifier: MIT
// UTC to TT and UT1 called directly: against ERFA's own road on the days
// where UTC is hard (leap seconds, the drifting 1960s, before 1960), the
// cautions each instant carries, the seconds a minute has, and day lengths.
#include "astro/time/time_scales.h"
#include "astro/base/errors.h"
#include "astro/time/cautions.h"
#include "astro/time/date_time.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

namespace vantoril::astro {
namespace {

struct ScaleCase {
    const char* date;
    const char* time;
    double dut1;
    unsigned cautions; // with a leap-second table that expires on 2020-06-28
};

// How far ours are from TT and UT1 by ERFA's own road, in seconds.
struct Off {
    double tt = 0, ut1 = 0;
};
Off OffFromErfa(const Date& d, const Time& t, double dut1, const TimeScales& ours)
{
    double u1 = 0, u2 = 0, tai1 = 0, tai2 = 0, tt1 = 0, tt2 = 0, ut1 = 0, ut2 = 0;
    const int year = static_cast<int>(d.year);
    if (eraDtf2d("UTC", year, d.month, d.day, t.hour, t.minute, t.second, &u1, &u2) < 0 ||
        eraUtctai(u1, u2, &tai1, &tai2) < 0 || eraTaitt(tai1, tai2, &tt1, &tt2) != 0 ||
        eraUtcut1(u1, u2, dut1, &ut1, &ut2) < 0) {
        ADD_FAILURE() << "ERFA refused " << year << '-' << d.month << '-' << d.day;
    }
    return {((ours.jd0 - tt1) - tt2 + ours.tt) * ERFA_DAYSEC, ((ours.jd0 - ut1) - ut2 + ours.ut1) * ERFA_DAYSEC};
}

class Scales : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(Scales, AreErfasAndCarryTheirCautions)
{
    const ScaleCase& c = GetParam();
    const Date d = ParseDate(c.date);
    const Time t = ParseTime(c.time);
    LeapTableInUse leap;
    leap.expiresMjd = static_cast<double>(MjdOf(2020, 6, 28));
    leap.expiresText = "2020-06-28";
    TimeScaleContext context;
    context.dut1 = c.dut1;
    context.leap = &leap;
    Ut1Detail detail;
    const Off off = OffFromErfa(d, t, c.dut1, FromUtc({d.year, d.month, d.day}, t, context, &detail));
    EXPECT_NEAR(off.tt, 0, 1e-6) << c.date << ' ' << c.time;
    EXPECT_NEAR(off.ut1, 0, 1e-6) << c.date << ' ' << c.time;
    EXPECT_EQ(detail.cautions, c.cautions);
    EXPECT_EQ(detail.dut1, c.dut1);
    EXPECT_EQ(detail.dut1Source, nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    HardDays, Scales,
    ::testing::Values(ScaleCase{"2016-12-31", "23:59:60.5", 0.4, 0}, ScaleCase{"2017-01-01", "00:00:00", -0.4, 0},
                      ScaleCase{"1972-06-30", "23:59:60.999", 0, 0}, ScaleCase{"1965-08-31", "23:59:59.9", 0.1, 0},
                      ScaleCase{"1968-01-31", "12:00:00", 0, 0}, ScaleCase{"1959-12-31", "12:00:00", 0, kBefore1960},
                      ScaleCase{"2020-06-28", "00:00:00", 0, kAfterLeapTableExpiry},
                      ScaleCase{"2020-06-27", "23:59:59", 0, 0}),
    [](const ::testing::TestParamInfo<ScaleCase>& p) { return "Case" + std::to_string(p.index); });

// Instants in random order over eight centuries, as a batch gives them: what
// is kept of one day or month must not be taken for another's.
TEST(Scales, InRandomOrderAreErfas)
{
    std::mt19937_64 rng(1972);
    std::uniform_int_distribution<int> year(1600, 2400), month(1, 12), day(1, 31), hour(0, 23), minute(0, 59);
    std::uniform_real_distribution<double> second(0, 59.999);
    TimeScaleContext context;
    context.dut1 = 0.3;
    double worst = 0;
    std::string worstAt;
    for (int i = 0; i < 20000; ++i) {
        Date d;
        d.year = year(rng);
        d.month = month(rng);
        d.day = std::min(day(rng), DaysInMonth(d.year, d.month));
        // One in four in a day's last minute, where a leap second is looked for.
        Time t;
        t.hour = i % 4 == 0 ? 23 : hour(rng);
        t.minute = i % 4 == 0 ? 59 : minute(rng);
        t.second = second(rng);
        const Off off = OffFromErfa(d, t, context.dut1, FromUtc({d.year, d.month, d.day}, t, context));
        if (const double apart = std::max(std::abs(off.tt), std::abs(off.ut1)); apart > worst) {
            worst = apart;
            worstAt = std::to_string(d.year) + '-' + std::to_string(d.month) + '-' + std::to_string(d.day);
        }
    }
    EXPECT_LT(worst, 1e-6) << worstAt;
}

TEST(Scales, ASecondTheMinuteDoesNotHaveIsNamedWithItsDay)
{
    const std::pair<const char*, const char*> cases[][1] = {
        {{"2016-12-30 23:59:60", "2016-12-30 has no leap second; seconds below 60"}},
        {{"2016-12-31 12:00:60", "only the last minute of a day (23:59) can have a leap second"}},
        {{"2016-12-31 23:59:60.999", ""}},
        {{"1960-12-31 23:59:60.05", "the last minute of 1960-12-31 has a leap of 0.005 s; seconds below 60.005"}},
    };
    for (const auto& [c] : cases) {
        const std::string text = c.first;
        const Date d = ParseDate(text.substr(0, 10));
        const Time t = ParseTime(std::string_view(text).substr(11));
        try {
            (void)FromUtc({d.year, d.month, d.day}, t, TimeScaleContext{});
            EXPECT_STREQ(c.second, "") << text;
        } catch (const CalculationError& e) {
            EXPECT_NE(std::string(e.what()).find(c.second), std::string::npos) << e.what();
            EXPECT_STRNE(c.second, "") << e.what();
        }
    }
}

TEST(Scales, DayLengthsCountTheLeapSeconds)
{
    const struct {
        int y, m, d;
        double seconds;
    } days[] = {{2016, 12, 31, 86401},
                {2017, 1, 1, 86400},
                {1972, 6, 30, 86401},
                {1960, 12, 31, 86400.005},
                {1958, 1, 1, 86400}};
    for (const auto& day : days) {
        const std::int64_t mjd = MjdOf(day.y, day.m, day.d);
        EXPECT_NEAR(DayLength(mjd, true), day.seconds, 1e-3) << day.y << '-' << day.m << '-' << day.d;
        EXPECT_EQ(DayLength(mjd, false), 86400);
    }
}

} // namespace
} // namespace vantoril::astro
