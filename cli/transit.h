// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"
#include "cli/parsers.h"
#include "cli/zones.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// --transit and --when: the instants of a day when a right ascension
// culminates or a sidereal time comes.

namespace vantoril::cli {

// Sidereal seconds in a second of UT, the mean rate: a first guess that the
// search then corrects.
constexpr double kSiderealPerSolar = 1.002737909350795;

// The instants t in [begin, end) (seconds on any scale, end - begin at most a
// few days) at which lstAt(t), a sidereal time in hours running at about the
// sidereal rate, equals targetHours: in order, each found to well under a
// microsecond.
std::vector<double> FindSiderealCrossings(double begin, double end, double targetHours,
                                          const std::function<double(double)>& lstAt);

// A span of UTC: from `begin` to `end` seconds after 0h of the day `mjd`,
// counted with the leap seconds. A UTC day is [0, its length); a civil day
// is another such span.
struct UtcSpan {
    long long mjd = 0;
    double begin = 0;
    double end = 0;
};

// The UTC day of a date (a day past its month's end counting on). Throws
// InputError for a year outside 0000 to 9999.
UtcSpan UtcDay(const Date& date, bool withLeapSeconds);

// The civil day of a date in `zone`, from its first second to the next
// day's (23, 24 or 25 hours), as a span from 0h UTC of that date. Throws as
// UtcDay.
UtcSpan CivilDay(const Date& date, const Zone& zone, bool withLeapSeconds);

enum class Event { Transit, LowerTransit, SiderealTime };

// One question: the instants in `span` at `longitude` of the event for the
// target (a right ascension, or the sidereal time sought).
struct DaySearch {
    UtcSpan span;
    Longitude longitude;
    RightAscension target;
    Event event = Event::Transit;
    const Zone* zone = nullptr; // the day's and the instants' zone; UTC when null
};

// Appends a line for each instant found, in the options' model and format,
// "\n" between them and none after; for a day without one (only the classic
// model's whole seconds can skip a sidereal second) a line that says so.
// Throws InputError.
void AppendDayAnswers(const Options& o, const DaySearch& search, std::string& out);

// A batch line "DATE LONGITUDE [TARGET]" answered as above; a blank or #
// line has no fields (false). Throws InputError.
bool AppendDayLine(const Options& o, std::string_view line, std::string& out);

// The event the options ask for.
Event EventOf(const Options& o);

} // namespace vantoril::cli
