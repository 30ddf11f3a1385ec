// SPDX-License-Identifier: MIT
#pragma once

#include "astro/base/data_files.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// --place NAME: the user's places file first, then the tz database's tables
// of zones with coordinates (zone1970.tab, zone.tab).

namespace vantoril::astro {

struct Place {
    std::string name;      // as the source spells it
    std::string longitude; // a text ParseLongitude reads
    std::string zone;      // "" when the places file gives none
};

// The places of a places file's text: one "NAME LONGITUDE [ZONE]" a line
// (NAME without blanks, '_' standing for one; '#' starts a comment). A bad
// line is left out and described in `problems` as "FILE:LINE: reason".
std::vector<Place> ReadPlacesFile(std::string_view text, std::string_view file, std::vector<std::string>& problems);

// The zones of a zone.tab or zone1970.tab text, each named by its city (the
// zone name's last part, '_' as a blank) with its longitude.
std::vector<Place> ReadZoneTable(std::string_view text);

// The place named `name` (case, '_' and blanks aside; also a whole zone
// name), from the places file, else the tz tables in `zoneFolder`. Problems
// with the file go to `problems`. Throws InputError listing the closest
// names for a name that matches none or several, MissingData when the
// tables are needed and missing.
Place FindPlace(std::string_view name, const std::string& placesFile, std::string_view zoneFolder,
                const DataFiles& files, std::vector<std::string>& problems);

// Every name FindPlace knows (blanks written as '_', so that a shell takes
// each as one word), sorted: for the shells' completions.
std::vector<std::string> PlaceNames(const std::string& placesFile, std::string_view zoneFolder, const DataFiles& files);

} // namespace vantoril::astro
