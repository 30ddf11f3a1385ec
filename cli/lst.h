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

// Doubts about an instant's time scales, shown as warnings with the result.
enum Caution : unsigned {
    kBefore1960 = 1,           // UTC not yet tied to TAI
    kAfterLeapTableExpiry = 2, // a leap second announced since may be missing
    kErfaDubiousYear = 4,      // beyond the years ERFA's own table is trusted for
    kOutsideEopSpan = 8,       // a found IERS file does not cover it: UT1 - UTC 0
    kFoundEopUsed = 16,        // UT1 - UTC from a file found, not named (a note on standard error)
};
// The warning text of a set of cautions, "; " between them; empty for none.
std::string CautionText(unsigned cautions, const Options& o);

// Where the UT1 - UTC of an iau2006 result came from, and what to doubt.
struct Iau2006Detail {
    double dut1 = 0;
    const char* dut1Source = nullptr; // "final", "predicted" or "none"; null without an IERS file
    unsigned cautions = 0;
};

// Local mean (or apparent) sidereal time in hours, 0 <= h < 24, by ERFA's
// IAU 2006 (2006/2000A) functions, UT1 = UTC + dut1 (or from o's IERS
// table), TT from UTC through ERFA's leap-second table. Throws InputError for
// instants ERFA cannot take or a named IERS file does not cover.
double Iau2006Lst(const Query& q, bool apparent, double dut1);
double Iau2006Lst(const Query& q, const Options& o, Iau2006Detail& detail);

// The JSON members naming the iau2006 model, its kind and its UT1 - UTC.
void AppendIau2006Members(std::string& out, const Options& o, const Iau2006Detail& detail);
// ,"warning":"..." for a set of cautions; nothing for none.
void AppendWarningMember(std::string& out, unsigned cautions, const Options& o);

// The shortest decimal text that reads back as x.
void AppendShortest(std::string& out, double x);

// The whole seconds of the window's h:m:s text.
std::int64_t ClockSeconds(std::string_view text);

// Cautions met since the last call, gathered from every thread, for the
// warnings written once on standard error.
void NoteCautions(unsigned cautions);
unsigned TakeNotedCautions();
// Each caution noted, once, on standard error (JSON results carry theirs).
void WarnNotedCautions(const Options& o, int errors);

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
