// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace vantoril::astro {

// A right ascension (or a sidereal time sought) in hours, and its text.
struct RightAscension {
    std::string_view text;
    double hours = 0;
};

// HH:MM[:SS[.s]], below 24 hours. Throws InputError.
RightAscension ParseRightAscension(std::string_view text);

} // namespace vantoril::astro
