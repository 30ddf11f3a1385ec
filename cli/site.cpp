// SPDX-License-Identifier: MIT
#include "cli/site.h"

#include "cli/instants.h"

namespace vantoril::cli {

const Zone& ZoneOf(const Options& o)
{
    static const Zone kUtc;
    return o.site != nullptr ? o.site->zone : kUtc;
}

void AppendSiteJson(const Options& o, const Query& q, std::string& out)
{
    if (o.site == nullptr) return;
    if (!o.site->zone.IsUtc()) {
        out += ",\"local\":\"";
        AppendInZone(out, q, o.site->zone);
        out += "\",\"zone\":";
        AppendJsonString(out, o.site->zone.name());
    }
    AppendPlaceJson(o, out);
}

void AppendPlaceJson(const Options& o, std::string& out)
{
    if (o.site == nullptr) return;
    if (!o.site->placeName.empty()) {
        out += ",\"place\":";
        AppendJsonString(out, o.site->placeName);
        out += ",\"place_zone\":";
        if (o.site->placeZone.empty()) {
            out += "null";
        } else {
            AppendJsonString(out, o.site->placeZone);
        }
    }
}

} // namespace vantoril::cli
