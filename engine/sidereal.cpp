// SPDX-License-Identifier: MIT
#include "engine/sidereal.h"

#include "runtime/conversions.h"
#include "runtime/run_time_error.h"

#include <cmath>

namespace vantoril {

namespace {

[[noreturn]] void Fault() { throw RunTimeError(ErrorKind::ArithmeticFault); }

// Every step is checked as the FPU flags would be: an infinite result from
// finite operands is an overflow or a division by zero, a NaN result is an
// invalid operation. An infinite operand carried through (inf + 1) is no
// fault, so an infinite minute only fails where inf - floor(inf) is taken.
// Testing the result is far cheaper than clearing and reading <cfenv> flags.
inline double Checked(double result, double a, double b)
{
    if (std::isfinite(result)) [[likely]]
        return result;
    if (std::isinf(result) && (std::isinf(a) || std::isinf(b))) return result;
    Fault();
}

inline double Add(double a, double b) { return Checked(a + b, a, b); }
inline double Sub(double a, double b) { return Checked(a - b, a, b); }
inline double Mul(double a, double b) { return Checked(a * b, a, b); }
inline double Div(double a, double b) { return Checked(a / b, a, b); }

// The exact remainder of x (finite) in [0, period). The usual case, a value at
// most one period out, needs no division: that subtraction is exact.
inline double ReduceModulo(double x, double period)
{
    if (x >= 0 && x < period) [[likely]]
        return x;
    if (x >= period && x < 2 * period) return x - period;
    const double r = std::fmod(x, period);
    // A tiny negative remainder plus the period rounds up to the period itself.
    const double up = r < 0 ? r + period : r;
    return up < period ? up : 0.0;
}

// Appends 0..99 without padding. No branch on the number of digits: it
// follows the instant, so a branch would be mispredicted a line in three.
inline char* WriteSmall(char* out, unsigned n)
{
    const unsigned tens = n / 10;
    *out = static_cast<char>('0' + tens);
    out += tens != 0 ? 1 : 0; // a lone digit overwrites the 0
    *out++ = static_cast<char>('0' + n % 10);
    return out;
}

} // namespace

void ComputeLstStep1(WorkingValues& v)
{
    // Step 1: January and February count with the year before.
    if (std::isnan(v.Month)) Fault(); // an unordered comparison is invalid
    v.JanFeb = v.Month <= 2.0f ? 1.0f : 0.0f;
}

void ComputeLstSteps2To5(WorkingValues& v)
{
    // Step 2: minutes first, then degrees, then seconds: the order fixes the rounding.
    v.Longitude = Mul(Add(Add(Div(v.LngM, 60), v.LngD), Div(v.LngS, 3600)), v.EWSign);

    // Step 3: the year counts from March, so January and February belong to the year before.
    const double marchYear = Sub(v.Year, v.JanFeb);
    v.Century = FloorToInt16(Div(marchYear, 100));

    // Step 4: Gregorian century rule: floor the Julian day count, subtract 3/4 day per century, floor again.
    v.YearDays = FloorInt(Sub(FloorInt(Mul(marchYear, 365.25)), Mul(v.Century, 0.75)));

    // Step 5: days into the March-based year at the start of the month.
    std::int16_t monthDays = FloorToInt16(Mul(Add(Div(Sub(v.Month, 2), 12), v.JanFeb), 367));
    if (monthDays < 0) ++monthDays; // cannot overflow: the value is negative
    v.MonthDays = monthDays;
}

void ComputeLstSteps6To16(WorkingValues& v)
{
    // Step 6: Julian date at 0h UT.
    v.JD0 = Add(Add(Add(v.Day, 1721088.5), v.YearDays), v.MonthDays);

    // Step 7: single inputs, double arithmetic: a float division here would change results.
    v.UT = Add(Add(Div(v.Minute, 60), v.Hour), Div(v.Second, 3600));
    // Step 8: what sidereal time gains on UT over the time of day.
    v.SiderealGain = Div(v.UT, 365.25);

    // Step 9: local mean time replaces the UT.
    v.UT = Add(Div(Mul(v.Longitude, 24), 360), v.UT);
    // Step 10: the same in days.
    v.DayFraction = Div(v.UT, 24);

    // Step 11: Julian centuries from 1900 January 0.5.
    v.T = Div(Sub(v.JD0, 2415020), 36525);
    // Step 12: the mean sun's right ascension (Newcomb), plus 12 h for the
    // sidereal time at 0h UT, plus the local mean time.
    v.SiderealDays = Add(Add(Div(Add(Mul(v.T, 2400.0513), 18.64604), 24), 0.5), v.DayFraction);

    // Step 13: the fraction of a day in hours, plus the gain.
    const double reduced = Sub(v.SiderealDays, FloorInt(v.SiderealDays));
    const double lst = Add(Mul(reduced, 24), v.SiderealGain);
    if (!std::isfinite(lst)) Fault();
    // The gain can push the sum past 24 h (or, with a negative hour, below 0):
    // reduce again so the hours stay a clock reading.
    v.LST = ReduceModulo(lst, 24.0);

    // Steps 14 to 16: hours, minutes and seconds, each stored as a single.
    v.LstHr = StoreSingle(FloorInt(v.LST));
    v.LstMin = StoreSingle(Mul(Sub(v.LST, v.LstHr), 60));
    v.LstSec = StoreSingle(Mul(Sub(v.LstMin, FloorInt(v.LstMin)), 60));
}

void ComputeLst(WorkingValues& v)
{
    ComputeLstStep1(v);
    ComputeLstSteps2To5(v);
    ComputeLstSteps6To16(v);
}

std::string FormatLst(const WorkingValues& v)
{
    char text[kLstTextSize];
    return {text, FormatLst(v, text)};
}

char* FormatLst(const WorkingValues& v, char* text)
{
    constexpr double kDay = 86400;
    // Whole seconds of the day; rounding the seconds may carry into the
    // minutes and hours, and a float LstMin of 60.0 carries the same way.
    double total = Add(Add(Mul(v.LstHr, 3600), Mul(FloorInt(v.LstMin), 60)), FloorInt(Add(v.LstSec, 0.5)));
    if (!std::isfinite(total)) Fault();
    const auto seconds = static_cast<unsigned>(FloorInt(ReduceModulo(total, kDay)));

    char* end = WriteSmall(text, seconds / 3600);
    *end++ = ':';
    end = WriteSmall(end, seconds / 60 % 60);
    *end++ = ':';
    return WriteSmall(end, seconds % 60);
}

} // namespace vantoril
