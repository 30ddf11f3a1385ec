// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The names of the system's tz database, old ones included, from its text
// form (tzdata.zi), and the small files around it, read whole.

namespace vantoril::astro {

// Where the tz database is looked for, and the package that installs it.
inline constexpr std::string_view kZoneFolder = "/usr/share/zoneinfo";
inline constexpr std::string_view kZonePackage = "tzdata";

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

// Whether a name is written as the database writes them: parts of letters,
// digits, '_', '-', '+' and '.', none "." or "..", so that it stays a path
// inside the database's folder.
bool LooksLikeZoneName(std::string_view name);

// A small file of the tz database (or /etc/timezone), whole, if it has at
// most `most` bytes: the database is read here and by Abseil, not through
// the program's data files, as the C library reads it.
bool ReadZoneData(const std::string& path, std::size_t most, std::string& text);

// Whether a character separates tzdata.zi's fields.
inline bool IsZoneBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

} // namespace vantoril::astro
