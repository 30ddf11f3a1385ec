// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Time zones of the system's tz database (/usr/share/zoneinfo): each zone
// file read by Abseil's time zone library, which follows the rule at the
// file's end for the years after its listed changes; the names, old ones
// included, from the database's text form (tzdata.zi). UTC needs no
// database at all.

namespace vantoril::astro {

// Where the tz database is looked for, and the package that installs it.
inline constexpr std::string_view kZoneFolder = "/usr/share/zoneinfo";
inline constexpr std::string_view kZonePackage = "tzdata";

// The civil time a clock text names in a zone: one UTC offset, none (the
// spring gap) or two (the autumn overlap); `before` applies before the
// change, `after` after it.
struct LocalOffsets {
    enum Kind { Unique, Gap, Overlap } kind = Unique;
    int before = 0; // seconds east of UTC
    int after = 0;
};

// The names of the tz database's text form, tzdata.zi: its zones ("Z NAME
// ...") and its links ("L ZONE NAME"), which keep the old names of the
// `backward` file working (Asia/Calcutta, US/Eastern, Europe/Kiev) also
// where their own zone files are not installed.
class ZoneIndex {
public:
    ZoneIndex() = default;
    static ZoneIndex Parse(std::string_view tzdataZi);
    // The index of the database in `folder`; empty without its tzdata.zi.
    static ZoneIndex Read(std::string_view folder = kZoneFolder);

    [[nodiscard]] bool empty() const { return zones_.empty(); }
    // The zone a name stands for: the name itself for a zone, the zone a
    // link leads to (through links to links) for a link; none for others.
    [[nodiscard]] std::optional<std::string> ZoneOf(std::string_view name) const;
    // Every link that leads to a zone, as {name, zone}, sorted by name.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> Links() const;
    // The zones and the links' names, sorted.
    [[nodiscard]] std::vector<std::string> Names() const;

private:
    std::vector<std::string> zones_;                         // sorted
    std::vector<std::pair<std::string, std::string>> links_; // {name, target}, sorted
};

// "UTC" in any case: the name for no zone at all.
bool IsUtcName(std::string_view name);

// The names of the zones and links in the database at `folder`, sorted;
// none when there is no database.
std::vector<std::string> ZoneNames(std::string_view folder = kZoneFolder);

class Zone {
public:
    // UTC.
    Zone() = default;

    // A zone or link name of the database, "UTC" in any case, or "local":
    // TZ as a zone name, ":NAME", a path under `folder` or a POSIX TZ
    // string, else the system's own zone (/etc/localtime). Throws
    // InputError for a name the database does not have (naming `folder`),
    // MissingData when there is no database in `folder`.
    static Zone Find(std::string_view name, std::string_view folder = kZoneFolder);

    [[nodiscard]] bool IsUtc() const { return rules_ == nullptr; }
    [[nodiscard]] const std::string& name() const { return name_; }

    // Offsets of the civil time `local` (seconds from 1970 read as if UTC).
    [[nodiscard]] LocalOffsets OffsetsOfLocal(std::int64_t local) const;
    // The offset at the UTC instant `utc` (seconds from 1970).
    [[nodiscard]] int OffsetAt(std::int64_t utc) const;
    // The first UTC second whose civil time is `local` or later: where a
    // civil day begins, also when its midnight falls in a gap.
    [[nodiscard]] std::int64_t FirstUtcAtOrAfter(std::int64_t local) const;

    // How a zone's offsets are found (in zones.cpp).
    class Rules;

private:
    std::shared_ptr<const Rules> rules_; // none for UTC; shared by copies
    std::string name_ = "UTC";
};

} // namespace vantoril::astro
