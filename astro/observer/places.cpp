// SPDX-License-Identifier: MIT
#include "astro/observer/places.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/longitude.h"
#include "astro/time/zones.h"

#include <utf8proc.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>

namespace vantoril::astro {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string AsciiFolded(std::string_view name)
{
    std::string key;
    for (const char c : name) {
        if (IsBlank(c) || c == '_') continue;
        key += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return key;
}

std::string Key(std::string_view name) { return FoldedName(name); }

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) ++at;
        if (at > start) fields.push_back(line.substr(start, at - start));
    }
    return fields;
}

template <class Each>
void ForEachLine(std::string_view text, Each each)
{
    std::size_t number = 0;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++number;
        line = line.substr(0, std::min(line.find('#'), line.size()));
        each(line, number);
    }
}

// ±DDDMM or ±DDDMMSS, the longitude half of a zone table's coordinates,
// as degrees, minutes and seconds east or west.
std::optional<std::string> TableLongitude(std::string_view coordinates)
{
    const auto sign = coordinates.find_first_of("+-", 1);
    if (sign == std::string_view::npos) return std::nullopt;
    const std::string_view l = coordinates.substr(sign);
    if ((l.size() != 6 && l.size() != 8) ||
        !std::all_of(l.begin() + 1, l.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    // A damaged table is no reason for a longitude past 180 degrees.
    const auto number = [&](std::size_t at, std::size_t digits) {
        int n = 0;
        for (std::size_t i = at; i < at + digits; ++i) n = n * 10 + (l[i] - '0');
        return n;
    };
    const int degrees = number(1, 3);
    const int minutes = number(4, 2);
    const int seconds = l.size() == 8 ? number(6, 2) : 0;
    if (minutes > 59 || seconds > 59 || degrees * 3600 + minutes * 60 + seconds > 180 * 3600) return std::nullopt;
    std::string text(l.substr(1, 3));
    text.append("d").append(l.substr(4, 2)).append("m").append(l.size() == 8 ? l.substr(6, 2) : "00").append("s");
    text += l[0] == '-' ? 'W' : 'E';
    return text;
}

// Places files and zone tables are a few hundred kB at most.
constexpr std::size_t kMaxTableBytes = 16U << 20;

std::string ReadFile(const DataFiles& files, const std::string& path, int& error)
{
    std::string text;
    if (!files.ReadText(path, kMaxTableBytes, text, error)) return {};
    error = 0;
    return text;
}

// Levenshtein distance of two keys, for "did you mean".
std::size_t Distance(const std::string& a, const std::string& b)
{
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

} // namespace

std::string FoldedName(std::string_view name)
{
    // Blanks first, so that bytes either side of one never join into a
    // character.
    std::string joined = AsciiFolded(name);
    if (std::all_of(joined.begin(), joined.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        return joined;
    }
    // São Paulo, SAO PAULO and Sao_Paulo alike: compatibility forms and
    // case folded, accents dropped, blanks and dashes of other scripts
    // lumped with ASCII ones.
    utf8proc_uint8_t* folded = nullptr;
    const auto length = utf8proc_map(
        reinterpret_cast<const utf8proc_uint8_t*>(joined.data()), static_cast<utf8proc_ssize_t>(joined.size()), &folded,
        static_cast<utf8proc_option_t>(UTF8PROC_STABLE | UTF8PROC_COMPAT | UTF8PROC_DECOMPOSE | UTF8PROC_CASEFOLD |
                                       UTF8PROC_STRIPMARK | UTF8PROC_IGNORE | UTF8PROC_LUMP));
    if (length < 0) return joined; // not UTF-8: its ASCII letters lowered
    std::string key =
        AsciiFolded(std::string_view(reinterpret_cast<const char*>(folded), static_cast<std::size_t>(length)));
    std::free(folded);
    return key;
}

std::vector<Place> ReadPlacesFile(std::string_view text, std::string_view file, std::vector<std::string>& problems,
                                  const ZoneIndex& zones, std::string_view zoneFolder)
{
    std::vector<Place> places;
    ForEachLine(text, [&](std::string_view line, std::size_t number) {
        const auto fields = Fields(line);
        if (fields.empty()) return;
        auto problem = [&](const std::string& why) {
            problems.push_back(std::string(file) + ":" + std::to_string(number) + ": " + why);
        };
        if (fields.size() < 2) {
            problem("expected NAME LONGITUDE [ZONE], found " + Quoted(fields.front()));
            return;
        }
        Place p;
        p.name = std::string(fields[0]);
        std::replace(p.name.begin(), p.name.end(), '_', ' ');
        // The last field is a zone when it names one the way zones are named.
        std::size_t longitudeEnd = fields.size();
        const std::string_view last = fields.back();
        if (fields.size() > 2 && (last.find('/') != std::string_view::npos || last == "UTC")) {
            if (!zones.empty() && !IsUtcName(last) && !zones.ZoneOf(last)) {
                problem("zone " + Quoted(last) + ": no such zone in " + std::string(zoneFolder));
                return;
            }
            p.zone = std::string(last);
            --longitudeEnd;
        }
        // From the first longitude field to the end of its last: all views of the line.
        const std::string_view longitude(fields[1].begin(), fields[longitudeEnd - 1].end());
        try {
            (void)ParseLongitude(longitude);
        } catch (const InputError& e) {
            problem(e.what());
            return;
        }
        p.longitude = std::string(longitude);
        p.line = std::string(file) + ":" + std::to_string(number);
        places.push_back(std::move(p));
    });
    return places;
}

std::vector<Place> ReadZoneTable(std::string_view text)
{
    std::vector<Place> places;
    ForEachLine(text, [&](std::string_view line, std::size_t) {
        // Tab-separated: country codes, coordinates, zone, comment.
        std::vector<std::string_view> columns;
        for (std::size_t at = 0; at <= line.size();) {
            const std::size_t end = std::min(line.find('\t', at), line.size());
            columns.push_back(line.substr(at, end - at));
            at = end + 1;
        }
        if (columns.size() < 3 || columns[2].empty()) return;
        const auto longitude = TableLongitude(columns[1]);
        if (!longitude) return;
        Place p;
        p.zone = std::string(columns[2]);
        p.name = p.zone.substr(p.zone.rfind('/') + 1);
        std::replace(p.name.begin(), p.name.end(), '_', ' ');
        p.longitude = *longitude;
        places.push_back(std::move(p));
    });
    return places;
}

std::vector<Place> OldNamePlaces(const std::vector<Place>& table, const ZoneIndex& zones)
{
    // The areas of the tables' zones (Africa, America, ..., Pacific): an old
    // name in one of them names a city (Asia/Calcutta); US/Eastern or Japan
    // name a zone only.
    std::set<std::string, std::less<>> areas;
    std::map<std::string, const Place*, std::less<>> byZone;
    for (const Place& p : table) {
        if (p.zone.find('/') != std::string::npos) areas.insert(p.zone.substr(0, p.zone.find('/')));
        byZone.emplace(p.zone, &p);
    }
    std::vector<Place> places;
    for (const auto& [name, zone] : zones.Links()) {
        const auto found = byZone.find(zone);
        if (found == byZone.end()) continue;
        Place p;
        const std::size_t slash = name.find('/');
        const bool city = slash != std::string::npos && areas.count(std::string_view(name).substr(0, slash)) != 0;
        p.name = city ? name.substr(name.rfind('/') + 1) : name;
        if (city) std::replace(p.name.begin(), p.name.end(), '_', ' ');
        p.longitude = found->second->longitude;
        p.zone = name;
        p.oldNameOf = zone;
        places.push_back(std::move(p));
    }
    return places;
}

namespace {

std::vector<Place> UserPlaces(const std::string& placesFile, const DataFiles& files, std::string_view zoneFolder,
                              const ZoneIndex& zones, std::vector<std::string>& problems)
{
    if (placesFile.empty()) return {};
    int error = 0;
    const std::string text = ReadFile(files, placesFile, error);
    if (error != 0 && error != ENOENT) problems.push_back(placesFile + ": cannot be read: " + std::strerror(error));
    return ReadPlacesFile(text, placesFile, problems, zones, zoneFolder);
}

ZoneIndex ReadZoneIndex(std::string_view zoneFolder, const DataFiles& files)
{
    int error = 0;
    return ZoneIndex::Parse(ReadFile(files, std::string(zoneFolder) + "/tzdata.zi", error));
}

// The tz tables: zone1970.tab holds the zones since 1970, zone.tab the older
// ones a country still uses; then the old names of their zones.
std::vector<Place> ZonePlaces(std::string_view zoneFolder, const DataFiles& files, const ZoneIndex& zones)
{
    std::vector<Place> places;
    for (const char* table : {"/zone1970.tab", "/zone.tab"}) {
        int error = 0;
        const std::string text = ReadFile(files, std::string(zoneFolder) + table, error);
        for (Place& p : ReadZoneTable(text)) {
            const bool known =
                std::any_of(places.begin(), places.end(), [&](const Place& z) { return z.zone == p.zone; });
            if (!known) places.push_back(std::move(p));
        }
    }
    std::vector<Place> old = OldNamePlaces(places, zones);
    places.insert(places.end(), std::make_move_iterator(old.begin()), std::make_move_iterator(old.end()));
    return places;
}

std::string Shown(const Place& p) { return p.name + (p.zone.empty() ? "" : " (" + p.zone + ")"); }

// The message for a name that matches none of `all` (the five nearest) or
// several (`found`).
std::string NotFound(std::string_view name, const std::string& key, const std::vector<Place>& all,
                     std::vector<const Place*> found, const std::string& placesFile)
{
    const bool several = !found.empty();
    if (!several) {
        std::vector<std::pair<std::size_t, const Place*>> near;
        near.reserve(all.size());
        for (const Place& p : all) {
            if (p.oldNameOf.empty()) near.emplace_back(Distance(Key(p.name), key), &p);
        }
        std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (std::size_t i = 0; i < near.size() && i < 5; ++i) found.push_back(near[i].second);
    }
    std::string listed;
    for (const Place* p : found) listed += (listed.empty() ? "" : ", ") + Shown(*p);
    return Quoted(name) + (several ? ": several places have that name: " : ": no such place; the closest are ") +
           listed + (placesFile.empty() ? "" : "; your own places go in " + placesFile);
}

std::string Duplicated(std::string_view name, const std::vector<const Place*>& same)
{
    std::string lines;
    for (std::size_t i = 0; i < same.size(); ++i) {
        lines += (i == 0 ? "" : i + 1 == same.size() ? " and " : ", ") + same[i]->line;
    }
    return Quoted(name) + ": the places file gives that name " + std::to_string(same.size()) + " times, at " + lines +
           "; keep one";
}

} // namespace

Place FindPlace(std::string_view name, const std::string& placesFile, std::string_view zoneFolder,
                const DataFiles& files, std::vector<std::string>& problems)
{
    const std::string key = Key(name);
    if (key.empty()) throw InputError("\"\": expected the name of a place");
    const ZoneIndex zones = ReadZoneIndex(zoneFolder, files);
    std::vector<Place> all = UserPlaces(placesFile, files, zoneFolder, zones, problems);
    // The user's own names come first; one name twice is a mistake to fix,
    // not a choice to make silently.
    std::vector<const Place*> same;
    for (const Place& p : all) {
        if (Key(p.name) == key) same.push_back(&p);
    }
    if (same.size() == 1) return *same.front();
    if (same.size() > 1) throw InputError(Duplicated(name, same));
    std::vector<Place> tables = ZonePlaces(zoneFolder, files, zones);
    if (tables.empty()) {
        throw MissingData("no table of zones in " + std::string(zoneFolder) + ": install the " +
                          std::string(kZonePackage) + " package");
    }
    std::vector<const Place*> found;
    for (const Place& p : tables) {
        if (Key(p.name) == key || Key(p.zone) == key) found.push_back(&p);
    }
    // The same zone's place found by its name and by old ones (Indianapolis
    // and America/Indianapolis) is one place: the one named exactly, else
    // the zone's own.
    const auto zoneOf = [](const Place* p) { return p->oldNameOf.empty() ? p->zone : p->oldNameOf; };
    if (!found.empty() &&
        std::all_of(found.begin(), found.end(), [&](const Place* p) { return zoneOf(p) == zoneOf(found.front()); })) {
        const auto whole =
            std::find_if(found.begin(), found.end(), [&](const Place* p) { return Key(p->zone) == key; });
        const auto own = std::find_if(found.begin(), found.end(), [](const Place* p) { return p->oldNameOf.empty(); });
        const Place& place = **(whole != found.end() ? whole : own != found.end() ? own : found.begin());
        if (!place.oldNameOf.empty()) {
            std::string city = place.oldNameOf.substr(place.oldNameOf.rfind('/') + 1);
            std::replace(city.begin(), city.end(), '_', ' ');
            problems.push_back("note: " + Quoted(name) + " is an old name of the zone " + place.oldNameOf +
                               ", whose place is used: the longitude of " + city + ", " + place.longitude);
        }
        return place;
    }
    all.insert(all.end(), tables.begin(), tables.end());
    throw InputError(NotFound(name, key, all, found, placesFile));
}

std::vector<std::string> PlaceNames(const std::string& placesFile, std::string_view zoneFolder, const DataFiles& files)
{
    std::vector<std::string> problems;
    std::vector<std::string> names;
    const ZoneIndex zones = ReadZoneIndex(zoneFolder, files);
    for (const std::vector<Place>& places :
         {UserPlaces(placesFile, files, zoneFolder, zones, problems), ZonePlaces(zoneFolder, files, zones)}) {
        for (const Place& p : places) {
            std::string name = p.name;
            std::replace(name.begin(), name.end(), ' ', '_');
            names.push_back(std::move(name));
        }
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

} // namespace vantoril::astro
