// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/longitude.h"
#include "astro/observer/right_ascension.h"
#include "astro/time/instant.h"

#include <optional>

namespace vantoril::astro {

// One question to the models: a UTC instant at a longitude, and the right
// ascension whose hour angle is wanted, if any. The texts are views into the
// caller's input.
struct Query : Instant {
    Longitude longitude;
    std::optional<RightAscension> ra;
};

} // namespace vantoril::astro
