// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/declination.h"
#include "astro/observer/longitude.h"
#include "astro/observer/right_ascension.h"
#include "astro/search/found_instant.h"
#include "astro/search/utc_day.h"
#include "astro/sidereal/models.h"
#include "astro/time/time_scales.h"
#include "astro/time/zones.h"

#include <functional>
#include <optional>
#include <string_view>
#include <vector>

// The instants of a day when a right ascension culminates or a sidereal time
// comes.
//
// Given: a span of UTC (a UTC or civil day), a longitude, the target and the
//   event, a model with its time scales.
// Returned: the instants in the span, in order, each to well under a
//   microsecond (the classic model: the window's whole second that first
//   shows the target), rounded as printed.
// Called: the models (Evaluate), each a few times per instant: Newton's
//   steps on the sidereal time, with the mean rate as the slope.

namespace vantoril::astro {

// Sidereal seconds in a second of UT, the mean rate: a first guess that the
// search then corrects.
constexpr double kSiderealPerSolar = 1.002737909350795;

// The instants t in [begin, end) (seconds on any scale, end - begin at most a
// few days) at which lstAt(t), a sidereal time in hours running at about the
// sidereal rate, equals targetHours: in order, each found to well under a
// microsecond.
std::vector<double> FindSiderealCrossings(double begin, double end, double targetHours,
                                          const std::function<double(double)>& lstAt);

enum class Event { Transit, LowerTransit, SiderealTime };

// "transit", "lower_transit", "sidereal_time".
std::string_view EventName(Event e);

// One question: the instants in `span` at `longitude` of the event for the
// target (a right ascension, or the sidereal time sought).
struct DaySearch {
    UtcSpan span;
    Longitude longitude;
    RightAscension target;
    std::optional<Declination> dec; // with it, the target is a catalogue place (catalogue.h)
    Event event = Event::Transit;
    const Zone* zone = nullptr; // the day's and the instants' zone; UTC when null
};

// The sidereal time the event happens at, in hours.
double TargetHours(const DaySearch& s);

// Why a day has none of the instants sought.
enum class NoInstant {
    Found,        // it has some
    WholeSeconds, // the classic model's whole seconds skip the one sought
    OutsideDay,   // a civil day shorter than a sidereal day falls between two
};

struct DayResult {
    std::vector<PrintedInstant> instants;
    Ut1Detail searched; // the search's last evaluation, within a microsecond of each
    NoInstant none = NoInstant::Found;
    // For OutsideDay: the last instant before the day and the first after it.
    std::vector<PrintedInstant> nearest;
};

// The instants of the search by `model`, rounded to `decimals` (the classic
// model's to whole seconds): those that fall inside the day once rounded.
// Throws as the model does.
DayResult SearchDay(const DaySearch& s, Model model, int decimals, const TimeScaleContext& context);

} // namespace vantoril::astro
