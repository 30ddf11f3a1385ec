// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/declination.h"
#include "astro/observer/longitude.h"
#include "astro/observer/right_ascension.h"
#include "astro/time/instant.h"

#include <optional>

namespace vantoril::astro {

// One question to the models: a UTC instant at a longitude, and the right
// ascension whose hour angle is wanted, if any: of date, or with a
// declination the ICRS catalogue place of a star. The texts are views into
// the caller's input.
struct Query : Instant {
    Longitude longitude;
    std::optional<RightAscension> ra;
    std::optional<Declination> dec;
};

} // namespace vantoril::astro
