// SPDX-License-Identifier: MIT
#pragma once

#include "astro/base/data_files.h"
#include "astro/time/zones.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// --place NAME: the user's places file first, then the tz database's tables
// of zones with coordinates (zone1970.tab, zone.tab) and the old names of
// those zones (tzdata.zi's links).

namespace vantoril::astro {

struct Place {
    std::string name;      // as the source spells it
    std::string longitude; // a text ParseLongitude reads
    std::string zone;      // "" when the places file gives none
    std::string line;      // "FILE:LINE" for a line of the places file
    std::string oldNameOf; // the zone whose place an old name (a link) takes
};

// A name as names are compared: case and accents folded (Unicode's case
// folding and compatibility decomposition, marks dropped), blanks and '_'
// left out; bytes that are not UTF-8 only lower-cased.
std::string FoldedName(std::string_view name);

// The places of a places file's text: one "NAME LONGITUDE [ZONE]" a line
// (NAME without blanks, '_' standing for one; '#' starts a comment). A bad
// line is left out and described in `problems` as "FILE:LINE: reason": a
// longitude out of range, or a zone that neither `zones` (unless empty) nor
// UTC names.
std::vector<Place> ReadPlacesFile(std::string_view text, std::string_view file, std::vector<std::string>& problems,
                                  const ZoneIndex& zones = {}, std::string_view zoneFolder = kZoneFolder);

// The zones of a zone.tab or zone1970.tab text, each named by its city (the
// zone name's last part, '_' as a blank) with its longitude.
std::vector<Place> ReadZoneTable(std::string_view text);

// The zone table's places under the old names that tzdata.zi links to their
// zones: Europe/Kiev and Kiev at Kyiv. An old name with a continent's or an
// ocean's prefix names a city; others (US/Eastern) only as a whole.
std::vector<Place> OldNamePlaces(const std::vector<Place>& table, const ZoneIndex& zones);

// The place named `name` (compared folded; also a whole zone name), from the
// places file, else the tz tables in `zoneFolder`. Problems with the file go
// to `problems`, and so does a note when an old name stands for a zone's
// place. Throws InputError listing the closest names for a name that
// matches none or several zones, or naming the lines of the places file
// that give it twice; MissingData when the tables are needed and missing.
Place FindPlace(std::string_view name, const std::string& placesFile, std::string_view zoneFolder,
                const DataFiles& files, std::vector<std::string>& problems);

// Every name FindPlace knows (blanks written as '_', so that a shell takes
// each as one word), sorted: for the shells' completions.
std::vector<std::string> PlaceNames(const std::string& placesFile, std::string_view zoneFolder, const DataFiles& files);

} // namespace vantoril::astro
