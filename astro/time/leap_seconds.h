// SPDX-License-Identifier: MIT
#pragma once

#include "astro/base/data_files.h"

#include <string>
#include <string_view>
#include <vector>

// The leap-second table ERFA converts UTC with: its own, or a newer one from
// a leap-seconds.list (the system's, from tzdata), with the expiry that file
// states.

namespace vantoril::astro {

// One step of TAI - UTC, beginning at 0h UTC on the first of a month.
struct LeapStep {
    int year = 0;
    int month = 0;
    double taiMinusUtc = 0;
};

// A leap-seconds.list as the IERS publishes it: NTP seconds (since 1900.0)
// of its last update (#$) and of its expiry (#@), and its steps.
struct LeapSecondsList {
    long long updated = 0;
    long long expires = 0;
    std::vector<LeapStep> steps;
};

// Reads the text of a leap-seconds.list. Checks its #h line (a table without
// one is refused: it could be an edited copy), and that the steps begin on
// the first of a month and follow each other. Throws InputError "NAME line
// N: reason" (N 0 for the whole file).
LeapSecondsList ReadLeapSecondsList(std::string_view text, std::string_view name);

// The SHA-1 digest of bytes, as 40 lowercase hexadecimal digits.
std::string Sha1Hex(std::string_view bytes);

// What the instants are converted with, for --version and the cautions.
struct LeapTableInUse {
    std::string description; // "FILE (updated ..., expires ...)" or ERFA's own
    double expiresMjd = 0;   // 0: no expiry known (ERFA's own table)
    std::string expiresText; // YYYY-MM-DD
};

// Gives ERFA the table at `path` (none when empty) when it reaches at least
// as far as ERFA's own; otherwise ERFA keeps its table. `warning` receives
// why a file could not be used (a file missing where the system keeps it is
// an ordinary system, and no warning unless `chosen`). ERFA holds one table
// for the process: call this once, before any instant is converted.
LeapTableInUse InstallLeapSeconds(const std::string& path, bool chosen, const DataFiles& files, std::string& warning);

// A number that changes whenever InstallLeapSeconds gives ERFA a table, so
// that what was worked out with the one before is not used again.
unsigned LeapTableGeneration();

} // namespace vantoril::astro
