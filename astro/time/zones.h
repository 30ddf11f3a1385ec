// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Time zones of the system's tz database (/usr/share/zoneinfo), read through
// the date library; UTC needs no database at all.

namespace date {
class time_zone;
}

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

// The names of the zones in the database at `folder`, sorted; none when
// there is no database.
std::vector<std::string> ZoneNames(std::string_view folder = kZoneFolder);

class Zone {
public:
    // UTC.
    Zone() = default;

    // An IANA name, "UTC" or "local" (TZ, or else the system's own zone).
    // Throws InputError for a name the database does not have (naming
    // `folder`), MissingData when there is no database in `folder`.
    static Zone Find(std::string_view name, std::string_view folder = kZoneFolder);

    [[nodiscard]] bool IsUtc() const { return zone_ == nullptr; }
    [[nodiscard]] const std::string& name() const { return name_; }

    // Offsets of the civil time `local` (seconds from 1970 read as if UTC).
    [[nodiscard]] LocalOffsets OffsetsOfLocal(std::int64_t local) const;
    // The offset at the UTC instant `utc` (seconds from 1970).
    [[nodiscard]] int OffsetAt(std::int64_t utc) const;
    // The first UTC second whose civil time is `local` or later: where a
    // civil day begins, also when its midnight falls in a gap.
    [[nodiscard]] std::int64_t FirstUtcAtOrAfter(std::int64_t local) const;

private:
    // The zone's spans of one offset from 1800 to 2400, as the library gives
    // them (with the last listed years' rule carried on after 2037): looked
    // up by a binary search, without the library's strings.
    struct Span {
        std::int64_t begin; // UTC seconds from 1970
        int offset;
    };
    void Tabulate();
    void CarryRulesOn();
    [[nodiscard]] bool Tabulated(std::int64_t utc) const;
    [[nodiscard]] std::size_t SpanAt(std::int64_t utc) const;

    const date::time_zone* zone_ = nullptr;
    std::string name_ = "UTC";
    std::vector<Span> spans_; // the last one ends the table
};

} // namespace vantoril::astro
