// SPDX-License-Identifier: MIT
// The IAU 2006 models against ERFA called directly: the mean sidereal time's
// own arithmetic to the last bits, and the whole road from a UTC calendar
// instant through leap seconds and the drifting UTC of the 1960s.
#include "astro/sidereal/iau2006.h"
#include "astro/time/date_time.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>

namespace vantoril::astro {
namespace {

// Angles an ulp or a few from a whole number of turns, where the number of
// turns is easily taken one off (11, 22, 44): the reduction must still be
// fmod's exact value, in [0, 2pi).
TEST(Iau2006, ReductionNearWholeTurnsIsExact)
{
    for (const double turns : {1.0, 11.0, 13.0, 22.0, 44.0, 1000.0, 65536.0}) {
        double angle = turns * ERFA_D2PI;
        for (int i = 0; i < 6; ++i) angle = std::nextafter(angle, 0.0);
        for (int i = 0; i < 12; ++i, angle = std::nextafter(angle, 1e300)) {
            const double reduced = ReduceTurns(angle);
            ASSERT_EQ(reduced, std::fmod(angle, ERFA_D2PI)) << turns << " turns, step " << i;
            const double back = ERFA_D2PI - reduced; // -angle's remainder, rounded once
            ASSERT_EQ(ReduceTurns(-angle), back < ERFA_D2PI ? back : 0.0) << turns << " turns, step " << i;
        }
    }
    // Its remainder rounds up to 2pi, which is a whole turn: 0.
    ASSERT_EQ(ReduceTurns(-1e-20), 0.0);
}

TEST(Iau2006, MeanSiderealTimeIsErfasToTheLastBits)
{
    std::mt19937_64 rng(606);
    std::uniform_int_distribution<int> day(-800000, 2900000); // years 0 to 9999 around J2000
    std::uniform_real_distribution<double> fraction(-0.001, 1.0002), turns(-1e4, 1e4);
    for (int i = 0; i < 200000; ++i) {
        const double jd0 = 2451544.5 + day(rng) % 3652425;
        const double ut1 = fraction(rng);
        const double tt = ut1 + 69.184 / 86400;
        const double ours = Gmst06(jd0, ut1, tt);
        const double erfa = eraGmst06(jd0, ut1, jd0, tt);
        ASSERT_GE(ours, 0.0);
        ASSERT_LT(ours, ERFA_D2PI);
        const double diff = std::fabs(ours - erfa);
        ASSERT_LE(std::min(diff, ERFA_D2PI - diff), 4e-15) << jd0 << ' ' << ut1;
        const double angle = turns(rng);
        const double reduced = ReduceTurns(angle);
        const double anp = eraAnp(angle);
        ASSERT_LE(std::min(std::fabs(reduced - anp), ERFA_D2PI - std::fabs(reduced - anp)), 2e-12) << angle;
    }
}

// ERFA's own route from a UTC calendar instant to sidereal time.
double ErfaLst(int y, int m, int d, int h, int mi, double s, double eastDeg, double dut1, bool apparent)
{
    double u1 = 0, u2 = 0, ut1a = 0, ut1b = 0, tai1 = 0, tai2 = 0, tt1 = 0, tt2 = 0;
    EXPECT_GE(eraDtf2d("UTC", y, m, d, h, mi, s, &u1, &u2), 0);
    EXPECT_GE(eraUtcut1(u1, u2, dut1, &ut1a, &ut1b), 0);
    EXPECT_GE(eraUtctai(u1, u2, &tai1, &tai2), 0);
    eraTaitt(tai1, tai2, &tt1, &tt2);
    const double gst = apparent ? eraGst06a(ut1a, ut1b, tt1, tt2) : eraGmst06(ut1a, ut1b, tt1, tt2);
    return eraAnp(gst + eastDeg * ERFA_DD2R) * 12 / ERFA_DPI;
}

TEST(Iau2006, AgreesWithErfaCalledDirectlyIncludingLeapSecondsAndDriftingUtc)
{
    std::mt19937_64 rng(2006);
    std::uniform_int_distribution<int> year(1900, 2100), month(1, 12), day(1, 28), hour(0, 23), minute(0, 59);
    std::uniform_real_distribution<double> second(0, 60), lng(-180, 180), dut1(-0.9, 0.9);
    // Ends of leap-second days, and 1960s days whose UTC runs at another rate.
    const int leapDays[][3] = {{1972, 6, 30}, {1987, 12, 31}, {2016, 12, 31}, {1968, 1, 31}, {1965, 8, 31}};
    for (int i = 0; i < 3000; ++i) {
        int y = year(rng), m = month(rng), d = day(rng), h = hour(rng), mi = minute(rng);
        double s = std::floor(second(rng) * 1000) / 1000;
        if (i % 10 == 0) {
            const auto& leap = leapDays[i / 10 % 5];
            y = leap[0], m = leap[1], d = leap[2], h = 23, mi = 59;
            if (i % 20 == 0 && i / 10 % 5 < 3) s += 0.999; // into the leap second itself
        }
        char date[16], time[24], lon[24];
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
        std::snprintf(time, sizeof time, "%02d:%02d:%06.3f", h, mi, s);
        const double east = std::round(lng(rng) * 1e4) / 1e4;
        std::snprintf(lon, sizeof lon, "%.4f", east);
        Query q{{ParseDate(date), ParseTime(time)}, ParseLongitude(lon), std::nullopt, std::nullopt};
        const bool apparent = i % 50 == 0; // the nutation series is slow
        const double offset = dut1(rng);
        const double ours = Iau2006Lst(q, apparent, offset);
        const double erfa = ErfaLst(y, m, d, h, mi, q.time.second, east, offset, apparent);
        double diff = std::fabs(ours - erfa);
        diff = std::min(diff, 24 - diff);
        ASSERT_LT(diff * 3600, 1e-6) << date << ' ' << time << ' ' << lon;
    }
}

// Every angle of --show against ERFA's own functions, the equation of the
// equinoxes against eraEe06a (not the difference the program takes).
TEST(Iau2006, EveryAngleOfAnInstantIsErfas)
{
    std::mt19937_64 rng(66);
    std::uniform_int_distribution<int> day(0, 73000);
    std::uniform_real_distribution<double> seconds(0, 86400), lng(-180, 180);
    for (int i = 0; i < 200; ++i) {
        const double mjd = 15020 + day(rng);
        char date[16], time[24], lon[24];
        int y = 0, m = 0, d = 0;
        double f = 0;
        eraJd2cal(ERFA_DJM0, mjd, &y, &m, &d, &f);
        const double s = std::floor(seconds(rng) * 1000) / 1000;
        std::snprintf(date, sizeof date, "%04d-%02d-%02d", y, m, d);
        std::snprintf(time, sizeof time, "%02d:%02d:%06.3f", static_cast<int>(s / 3600), static_cast<int>(s / 60) % 60,
                      std::fmod(s, 60));
        std::snprintf(lon, sizeof lon, "%.4f", lng(rng));
        const Query q{{ParseDate(date), ParseTime(time)}, ParseLongitude(lon), std::nullopt, std::nullopt};
        const SiderealSet set = Iau2006Set(q, TimeScaleContext{}, nullptr);
        double u1 = 0, u2 = 0, ut1a = 0, ut1b = 0, tai1 = 0, tai2 = 0, tt1 = 0, tt2 = 0;
        eraDtf2d("UTC", y, m, d, static_cast<int>(s / 3600), static_cast<int>(s / 60) % 60, std::fmod(s, 60), &u1, &u2);
        eraUtcut1(u1, u2, 0, &ut1a, &ut1b);
        eraUtctai(u1, u2, &tai1, &tai2);
        eraTaitt(tai1, tai2, &tt1, &tt2);
        const double east = q.longitude.east * ERFA_DD2R;
        const std::pair<double, double> pairs[] = {
            {set.gmst, eraGmst06(ut1a, ut1b, tt1, tt2)},
            {set.gast, eraGst06a(ut1a, ut1b, tt1, tt2)},
            {set.lmst, eraGmst06(ut1a, ut1b, tt1, tt2) + east},
            {set.last, eraGst06a(ut1a, ut1b, tt1, tt2) + east},
            {set.eqeq, eraEe06a(tt1, tt2)},
            {set.era, eraEra00(ut1a, ut1b)},
        };
        for (const auto& [ours, theirs] : pairs) {
            ASSERT_LT(std::fabs(eraAnpm((ours * ERFA_DPI / 12) - theirs)) * 86400 / ERFA_D2PI, 1e-6)
                << date << ' ' << time;
        }
        EXPECT_GE(set.era, 0.0);
        EXPECT_LT(set.era, 24.0);
    }
}

} // namespace
} // namespace vantoril::astro
