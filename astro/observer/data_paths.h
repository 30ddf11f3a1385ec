// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

// Where the data files are looked for: the user's (XDG folders), the
// system's (tzdata) and the environment's choices for tests and scripts.

namespace vantoril::astro {

// The places file of the user: $XDG_CONFIG_HOME/vantoril-lst/places, or
// ~/.config/vantoril-lst/places; "" when neither variable is set.
std::string PlacesFilePath();

// The leap-second table: $VANTORIL_LEAP_SECONDS when set (`chosen`; empty:
// none at all), else the system's /usr/share/zoneinfo/leap-seconds.list.
struct LeapSecondsSource {
    std::string path;
    bool chosen = false;
};
LeapSecondsSource LeapSecondsPath();

// The IERS tables to look for when none is named: $VANTORIL_LST_EOP instead
// of the default places when set (a file, or "none" or empty for none);
// else, in the order searched, $XDG_DATA_HOME/vantoril-lst/ (or
// ~/.local/share/vantoril-lst/) finals2000A.all, finals.all,
// eopc04.1962-now and eopc04_IAU2000.62-now: a table the user put there.
std::vector<std::string> DefaultEopPlaces();

// The tables Debian's astropy packages carry. They are snapshots frozen when
// the package was built, so they are never used unasked (they would change
// every script's numbers on a machine that merely has astropy): --version
// names them for --eop.
std::vector<std::string> PackagedEopTables();

} // namespace vantoril::astro
