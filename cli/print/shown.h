// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/models.h"
#include "cli/print/settings.h"

#include <cstdint>

// What a result line shows of the sidereal time, for the live clock: which
// reading is on the screen and when the next begins.

namespace vantoril::cli {

// The sidereal time shown, as a whole number of the steps it is shown in (a
// second, a tenth, ... or, as hours, 10^-4 h and less), and the unrounded
// time it was rounded from.
struct Shown {
    double lstHours = 0;
    std::int64_t steps = 0;
    double stepHours = 0;
};

// Rounded exactly as the printers round and reduce: just before 24 h the
// clock shows 0:00:00.
Shown ShownOf(const PrintSettings& settings, const astro::SiderealAnswer& a);

// The hour angle of what is shown: that time less the right ascension
// rounded to the hour angle's step, so that the two change together.
double ShownHourAngle(const PrintSettings& settings, const Shown& shown, double raHours);

} // namespace vantoril::cli
