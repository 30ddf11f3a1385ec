// SPDX-License-Identifier: MIT
#include "astro/sidereal/iau2006.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/sidereal/equinoxes.h"

#include <erfa.h>
#include <erfam.h>

#include <cmath>
#include <string>

namespace vantoril::astro {

namespace {

// fmod is exact but a slow library call; a - n * 2pi in one fused step is
// exact too when n is right, which the two corrections make sure of. n comes
// from a multiplication, not a division, which halves the wait; it is then
// one off a little more often (within an ulp or so of a whole turn), which
// they mend as well. A remainder that rounds up to 2pi (a small negative
// angle) becomes 0.
inline double Reduced(double angle)
{
    constexpr double kTurnsPerRadian = 1.0 / ERFA_D2PI;
    const double n = std::floor(angle * kTurnsPerRadian);
    double r = std::fma(-n, ERFA_D2PI, angle);
    if (r < 0) {
        r += ERFA_D2PI;
    } else if (r >= ERFA_D2PI) {
        r -= ERFA_D2PI;
    }
    return r;
}

} // namespace

double ReduceTurns(double angle) { return Reduced(angle); }

// Every iau2006 answer comes through here: where the processor has fused
// multiply-add, floor and fma are single instructions instead of library
// calls. Both are exact, so either version gives the same bits.
__attribute__((target_clones("fma", "default"))) double Gmst06(double jd0, double ut1, double tt)
{
    // eraEra00 with its two parts ordered (the day's fraction is the smaller)
    // and the fraction of jd0, which ends in .5, known.
    const double t = ut1 + (jd0 - ERFA_DJ00);
    const double f = (ut1 >= 0 && ut1 < 1 ? ut1 : std::fmod(ut1, 1.0)) + 0.5;
    const double era = Reduced(ERFA_D2PI * (f + 0.7790572732640 + 0.00273781191135448 * t));
    // eraGmst06: the precession polynomial in TT, operation for operation.
    const double c = ((jd0 - ERFA_DJ00) + tt) / ERFA_DJC;
    return Reduced(
        era + (0.014506 +
               (4612.156534 + (1.3915817 + (-0.00000044 + (-0.000029956 + (-0.0000000368) * c) * c) * c) * c) * c) *
                  ERFA_DAS2R);
}

namespace {

// eraGst06a, its nutation interpolated where instants follow one another.
double ApparentGreenwich(const TimeScales& t)
{
    double equation = 0;
    if (EquationOfEquinoxes(t.jd0, t.tt, equation)) return ReduceTurns(Gmst06(t.jd0, t.ut1, t.tt) + equation);
    return eraGst06a(t.jd0, t.ut1, t.jd0, t.tt);
}

// Greenwich sidereal time in radians. A plan often lists several targets or
// places at one instant: the previous line's value is kept for the next.
double Greenwich(const TimeScales& t, bool apparent)
{
    thread_local struct {
        TimeScales t{};
        bool apparent = false;
        double greenwich = -1;
    } last;
    if (last.greenwich < 0 || last.apparent != apparent || last.t.jd0 != t.jd0 || last.t.ut1 != t.ut1 ||
        last.t.tt != t.tt) {
        last = {t, apparent, apparent ? ApparentGreenwich(t) : Gmst06(t.jd0, t.ut1, t.tt)};
    }
    return last.greenwich;
}

} // namespace

TimeScales Iau2006Scales(const Instant& at, const TimeScaleContext& context, Ut1Detail* detail)
{
    const Date& date = at.date;
    if (date.year < 0 || date.year > 9999) {
        throw CalculationError("date year " + Quoted(date.yearText) + ": the iau2006 model takes years 0000 to 9999");
    }
    // A day past the month's end counts on, as in the window.
    const CalendarDate day = date.day <= 28 || date.day <= DaysInMonth(date.year, date.month)
                                 ? CalendarDate{date.year, date.month, date.day}
                                 : DateOfMjd(MjdOf(date.year, date.month, date.day));
    return FromUtc(day, at.time, context, detail);
}

double Iau2006LstAt(const TimeScales& t, double eastDegrees, bool apparent)
{
    // Both angles are reduced already, so one turn at most brings the sum back.
    double angle = Greenwich(t, apparent) + eastDegrees * ERFA_DD2R;
    if (angle < 0) {
        angle += ERFA_D2PI;
    } else if (angle >= ERFA_D2PI) {
        angle -= ERFA_D2PI;
    }
    const double hours = angle * (12.0 / ERFA_DPI);
    return hours < 24.0 ? hours : 0.0;
}

double Iau2006Lst(const Query& q, bool apparent, const TimeScaleContext& context, Ut1Detail* detail)
{
    return Iau2006LstAt(Iau2006Scales(q, context, detail), q.longitude.east, apparent);
}

SiderealSet Iau2006Set(const Query& q, const TimeScaleContext& context, Ut1Detail* detail)
{
    const TimeScales t = Iau2006Scales(q, context, detail);
    const double toHours = 12.0 / ERFA_DPI;
    const double longitude = q.longitude.east * ERFA_DD2R;
    const double gmst = Gmst06(t.jd0, t.ut1, t.tt);
    const double gast = ApparentGreenwich(t);
    SiderealSet set;
    set.gmst = gmst * toHours;
    set.gast = gast * toHours;
    set.lmst = eraAnp(gmst + longitude) * toHours;
    set.last = eraAnp(gast + longitude) * toHours;
    set.eqeq = eraAnpm(gast - gmst) * toHours;
    set.era = eraEra00(t.jd0, t.ut1) * toHours;
    return set;
}

double Iau2006Lst(const Query& q, bool apparent, double dut1)
{
    TimeScaleContext context;
    context.dut1 = dut1;
    return Iau2006Lst(q, apparent, context, nullptr);
}

} // namespace vantoril::astro
