// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

// A POSIX TZ string, as TZ may hold one (TZ=CET-1CEST,M3.5.0,M10.5.0/3): a
// standard offset and, optionally, a summer offset with the yearly rule of
// the changes between them. It is read and applied as the C library does,
// with the tz database's extensions (<+03> names, rule hours from -167 to
// 167).

namespace vantoril::astro {

// From `begin` (UTC seconds from 1970) on, until the next span's begin, the
// civil time is `offset` seconds east of UTC.
struct OffsetSpan {
    std::int64_t begin;
    int offset;
};

class PosixTz {
public:
    // Throws InputError saying what is wrong with a text that is not one
    // (the reason alone: the caller names the text).
    static PosixTz Parse(std::string_view text);

    // The offset, seconds east of UTC, at the UTC second `utc`.
    [[nodiscard]] int OffsetAt(std::int64_t utc) const;
    // The spans of the UTC years `first` to `last`: the first begins on
    // 1 January of `first`, each later one where the offset changes.
    [[nodiscard]] std::vector<OffsetSpan> Spans(std::int64_t first, std::int64_t last) const;

private:
    // The day of a change: Jn (1 to 365, 29 February never counted), n (0 to
    // 365) or Mm.w.d (the w-th weekday d of month m, 5 the last), at
    // `seconds` after midnight of the clocks before the change.
    struct Rule {
        enum Form { Julian, DayOfYear, MonthWeekDay } form = MonthWeekDay;
        int month = 0;
        int week = 0;
        int day = 0; // weekday (0 Sunday) for MonthWeekDay, else the day number
        std::int64_t seconds = 7200;
    };

    [[nodiscard]] std::int64_t ChangeIn(std::int64_t year, const Rule& rule, int before) const;
    [[nodiscard]] bool SummerAt(std::int64_t utc, std::int64_t year) const;

    int standard_ = 0; // seconds east of UTC
    int summer_ = 0;
    bool hasSummer_ = false;
    Rule start_;
    Rule end_;

    friend class PosixTzReader;
};

} // namespace vantoril::astro
