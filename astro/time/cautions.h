// SPDX-License-Identifier: MIT
#pragma once

// Doubts about an instant's time scales, carried by each result that has
// them and shown as warnings with it.

namespace vantoril::astro {

enum Caution : unsigned {
    kBefore1960 = 1,           // UTC not yet tied to TAI
    kAfterLeapTableExpiry = 2, // a leap second announced since may be missing
    kErfaDubiousYear = 4,      // beyond the years ERFA's own table is trusted for
    kOutsideEopSpan = 8,       // a found IERS file does not cover it: UT1 - UTC 0
    kFoundEopUsed = 16,        // UT1 - UTC from a file found, not named (a note rather than a warning)
};

inline constexpr unsigned kLastCaution = kFoundEopUsed;

} // namespace vantoril::astro
