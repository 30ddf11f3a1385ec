// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

namespace vantoril::astro {

// A declination in degrees, and its text.
struct Declination {
    std::string_view text;
    double degrees = 0;
};

inline constexpr const char* kDeclinationForms = "+-DD:MM[:SS[.s]], +-DDdMMmSSs or decimal degrees, from -90 to +90";

// ±DD:MM[:SS[.s]], ±DDdMMmSSs (the last letter may be left out, its part may
// have decimals) or decimal degrees (-5.391), the sign optional for the
// north. Throws InputError.
Declination ParseDeclination(std::string_view text);

} // namespace vantoril::astro
