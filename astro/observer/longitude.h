// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// Longitudes as people write them.

namespace vantoril::astro {

// Degrees, arc minutes and arc seconds as written, and the hemisphere. The
// texts of the parts are kept: the classic model reads them as the window
// reads its boxes.
struct Longitude {
    std::string_view text;                                  // the whole of it
    std::string_view degreesText, minutesText, secondsText; // empty when not given
    double degrees = 0, minutes = 0, seconds = 0;           // their values, 0 when not given
    bool west = false;
    double east = 0; // signed degrees, east positive
};

// 79d51m0sW, 79:51:00W, "79 51 0 W", -79.85, 79.85W (decimal: east positive
// unless signed or lettered); at most 180 degrees, parts below 60. Throws
// InputError.
Longitude ParseLongitude(std::string_view text);

} // namespace vantoril::astro
