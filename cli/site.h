// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"
#include "cli/lst.h"
#include "cli/zones.h"

#include <optional>
#include <string>

// What --tz and --place name, found once for the whole run.

namespace vantoril::cli {

struct Site {
    Zone zone; // civil times are read and instants shown in it; UTC by default
    // The place of --place: its name as found, its zone ("" when it has
    // none) and its longitude, whose views point into longitudeText.
    std::string placeName;
    std::string placeZone;
    std::string longitudeText;
    std::optional<Longitude> longitude;

    // The longitude, set once the place is found or a table's longitude is
    // read; an InputError should it be missing.
    [[nodiscard]] const Longitude& KnownLongitude() const
    {
        if (!longitude) throw InputError("no longitude for the place");
        return *longitude;
    }
};

// The zone of the run: the site's, or UTC.
const Zone& ZoneOf(const Options& o);

// JSON's fields for the site, each after a comma: the instant in the zone
// and the zone (unless UTC), the place, its longitude and zone.
void AppendSiteJson(const Options& o, const Query& q, std::string& out);
// Only the place's fields.
void AppendPlaceJson(const Options& o, std::string& out);

} // namespace vantoril::cli
