// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/query.h"
#include "cli/options/context.h"
#include "cli/print/shown.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// --watch: a live sidereal clock.

namespace vantoril::cli {

// Instants in nanoseconds since 1970-01-01 00:00 UTC, counted as the system
// clock counts them (without leap seconds).
using ClockTime = std::int64_t;

constexpr ClockTime kSecond = 1'000'000'000;
// Readings shown in steps finer than this are redrawn at a fixed rate.
constexpr double kFinestFollowedStepSeconds = 0.01;
constexpr ClockTime kFixedRedraw = kSecond / 10;

class WatchClock {
public:
    virtual ~WatchClock() = default;
    virtual ClockTime Now() = 0;
    // Returns at `instant` (at once when it has passed); false when the watch
    // is to stop.
    virtual bool SleepUntil(ClockTime instant) = 0;
};

// One line of the watch: the result (or error) line without its newline,
// and what it shows.
struct Reading {
    std::string line;
    Shown shown;
    bool ok = false;
    std::string why; // when not ok
};

// The reading at `instant` for the place (and right ascension) of `place`.
Reading ReadingAt(const Context& c, const astro::Query& place, ClockTime instant);

// The first instant after `after` whose reading shows another sidereal time
// than `reading`, found to the microsecond; for readings in steps finer than
// kFinestFollowedStepSeconds, the next multiple of kFixedRedraw.
ClockTime NextReadingBegins(const Context& c, const astro::Query& place, ClockTime after, const Reading& reading);

// Shows the reading now, then each next one as it begins, until the clock
// says stop or show returns false.
void Watch(const Context& c, const astro::Query& place, WatchClock& clock,
           const std::function<bool(std::string_view line)>& show);

// --watch on the system clock, to a descriptor; on SIGINT, SIGTERM or SIGHUP
// it ends the line it redraws and ends by that signal.
int RunWatch(const Context& c, int output, int errors);

} // namespace vantoril::cli
