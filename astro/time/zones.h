// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/zone_index.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Time zones of the system's tz database (/usr/share/zoneinfo): each zone
// file read by Abseil's time zone library, which follows the rule at the
// file's end for the years after its listed changes. UTC needs no database
// at all.

namespace vantoril::astro {

// The civil time a clock text names in a zone: one UTC offset, none (the
// spring gap) or two (the autumn overlap); `before` applies before the
// change, `after` after it.
struct LocalOffsets {
    enum Kind { Unique, Gap, Overlap } kind = Unique;
    int before = 0; // seconds east of UTC
    int after = 0;
};

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
