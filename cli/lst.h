// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"
#include "cli/parsers.h"
#include "engine/sidereal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The two models and the three output formats of vantoril-lst.

namespace vantoril::cli {

// One instant at one place, as read; the texts are views into the caller's input.
struct Query {
    Date date;
    Time time;
    Longitude longitude;
    std::optional<RightAscension> ra;
};

// The text the window shows for a classic result, h:m:s, kept without
// allocating: a batch makes a million of them.
struct ClassicText {
    std::array<char, kLstTextSize> chars{};
    std::size_t size = 0;
    [[nodiscard]] std::string_view view() const { return {chars.data(), size}; }
};

// The window's calculation: the same texts through the same conversions in the
// order of its change procedures and its compute command. Returns the text the
// window would show; lstHours receives the unrounded sidereal time in hours.
// Throws RunTimeError as the window would report it, InputError for a second
// of 60 or more.
ClassicText ClassicLst(const Query& q, double& lstHours);

// Local mean (or apparent) sidereal time in hours, 0 <= h < 24, by ERFA's
// IAU 2006 (2006/2000A) functions, UT1 = UTC + dut1, TT from UTC through
// ERFA's leap-second table. Throws InputError for instants ERFA cannot take.
double Iau2006Lst(const Query& q, bool apparent, double dut1);

// The sidereal time a result line shows, as a whole number of the steps it
// is shown in (a second, a tenth, ... or, as hours, 10^-4 h and less), and
// the unrounded time it was rounded from.
struct Shown {
    double lstHours = 0;
    std::int64_t steps = 0;
    double stepHours = 0;
};

// ERFA's eraGmst06 for UT1 = jd0 + ut1 and TT = jd0 + tt, jd0 ending in .5,
// with its angle reductions done without fmod: the same value to the last
// bit or two. ReduceTurns: an angle into [0, 2pi).
double Gmst06(double jd0, double ut1, double tt);
double ReduceTurns(double angle);

// Appends the result line for q (without the newline) in the options' model
// and format. Throws InputError or RunTimeError; out is then unchanged.
// With `shown` (the live clock), it also receives the sidereal time shown,
// and the hour angle is that time less the right ascension rounded to the
// hour angle's step, so that the two change together.
void AppendResult(const Options& o, const Query& q, std::string& out, Shown* shown = nullptr);

// A JSON string of any bytes; those below 0x20 escaped. The caller's texts
// are ASCII (the readers' messages quote every other byte).
void AppendJsonString(std::string& out, std::string_view s);

// The instant of q as YYYY-MM-DDTHH:MM:SS[.f] with a day past its month's end
// counted on into the next month: the instant the calculation used.
void AppendNormalisedUtc(std::string& out, const Query& q);

// h:mm:ss with `decimals` decimals of the second, rounded, never 24:00:00;
// with `signedHours` a +/- sign and the range [-12 h, +12 h).
void AppendClock(std::string& out, double hours, int decimals, bool signedHours);

// Hour angle of a right ascension in hours, reduced into [-12, +12).
double HourAngle(double lstHours, double raHours);

} // namespace vantoril::cli
