// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace vantoril::astro {

// A right ascension (or a sidereal time sought) in hours, and its text.
struct RightAscension {
    std::string_view text;
    double hours = 0;
};

// The forms, for messages.
inline constexpr const char* kRightAscensionForms =
    "HH:MM[:SS[.s]], 5h35m17.3s, decimal hours as 5.588h or degrees as 83.82d, below 24 hours";

// HH:MM[:SS[.s]]; 5h35m17.3s, 5h35m, 5h (the last letter may be left out,
// its part may have decimals); 5.588h; 83.82d (degrees, below 360). Throws
// InputError.
RightAscension ParseRightAscension(std::string_view text);

// Whether a field of a line is written as a right ascension rather than a
// part of a longitude: it has a colon or an h, or (not `alone`, where a
// longitude in degrees could not stand) it is degrees ending in d.
bool LooksLikeRightAscension(std::string_view field, bool alone);

} // namespace vantoril::astro
