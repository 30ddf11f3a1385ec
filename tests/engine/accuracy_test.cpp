// SPDX-License-Identifier: MIT
// Holds the engine against ERFA's Greenwich mean sidereal time (IAU 1982),
// with UT1 taken as UTC and the east longitude added.
#include "engine/sidereal.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace vantoril {
namespace {

TEST(Accuracy, WithinHalfASecondOfErfaFrom1900To2100)
{
    std::mt19937_64 rng(20021001);
    std::uniform_int_distribution<int> year(1900, 2099), month(1, 12), day(1, 28), hour(0, 23), minsec(0, 59);
    std::uniform_int_distribution<int> lngD(0, 179), ew(0, 1);

    double worst = 0;
    for (int i = 0; i < 5000; ++i) {
        WorkingValues v;
        v.Year = static_cast<float>(year(rng));
        v.Month = static_cast<float>(month(rng));
        v.Day = static_cast<float>(day(rng));
        v.Hour = static_cast<float>(hour(rng));
        v.Minute = static_cast<float>(minsec(rng));
        v.Second = static_cast<float>(minsec(rng));
        v.LngD = lngD(rng);
        v.LngM = minsec(rng);
        v.LngS = minsec(rng);
        v.EWSign = ew(rng) != 0 ? 1 : -1;
        ComputeLst(v);

        double mjd0 = 0, mjd = 0;
        ASSERT_EQ(eraCal2jd(static_cast<int>(v.Year), static_cast<int>(v.Month), static_cast<int>(v.Day), &mjd0, &mjd),
                  0);
        const double dayFraction = (v.Hour + v.Minute / 60.0 + v.Second / 3600.0) / 24.0;
        const double gmstHours = eraGmst82(mjd0, mjd + dayFraction) * 12.0 / ERFA_DPI;
        const double eastHours = v.EWSign * (v.LngD + v.LngM / 60.0 + v.LngS / 3600.0) / 15.0;
        const double expected = std::fmod(gmstHours + eastHours + 48.0, 24.0);

        double diff = std::fabs(v.LST - expected);
        diff = std::min(diff, 24.0 - diff); // either side of midnight
        worst = std::max(worst, diff * 3600.0);
        ASSERT_LT(diff * 3600.0, 0.5) << v.Year << '-' << v.Month << '-' << v.Day << ' ' << v.Hour << ':' << v.Minute
                                      << ':' << v.Second << " lng " << eastHours * 15;
    }
    RecordProperty("worst_seconds", std::to_string(worst));
}

} // namespace
} // namespace vantoril
