// SPDX-License-Identifier: MIT
#pragma once

#include "cli/lst.h"
#include "cli/zones.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Instants as people write them: DATE [TIME] or one ISO 8601 text, with or
// without an offset from UTC, or civil time in a zone; and the UTC instant
// they name, which is what the calculation takes.

namespace vantoril::cli {

// Room for the texts of a UTC instant the program works out (from an offset
// or a zone): the Query's views then point here.
struct InstantTexts {
    std::array<char, 24> date{};
    std::array<char, 40> time{};
    std::size_t timeSize = 0; // of the text in `time`; the date's is always 10

    [[nodiscard]] std::string_view Date() const { return {date.data(), 10}; }
    [[nodiscard]] std::string_view Time() const { return {time.data(), timeSize}; }
};

// The forms an instant may take, for messages.
inline constexpr const char* kInstantForms =
    "DATE [TIME] as YYYY-MM-DD HH:MM[:SS[.fraction]] or one YYYY-MM-DDTHH:MM[:SS[.fraction]], "
    "either optionally ending in Z, +HH:MM or +HHMM (or -)";

// Whether a DATE field is one ISO 8601 instant (it has a T).
bool IsIsoInstant(std::string_view text);

// DATE with TIME (`time` is then the clock text) or one ISO text (`time`
// empty) into q.date and q.time, in UTC. A clock text without an offset is
// civil time in `zone`; one that does not exist there or exists twice is
// refused naming both UTC candidates, unless `fold` chooses one. Untouched
// UTC texts stay views into the caller's; the others are kept in `texts`.
// Throws InputError.
void ReadInstant(std::string_view date, std::string_view time, const Zone& zone, Fold fold, Query& q,
                 InstantTexts& texts);

// Seconds from 1970 of the whole UTC second of q (a leap second as its :59);
// the day may pass its month's end.
std::int64_t UtcSeconds(const Query& q);

// Days from 1970-01-01 of a proleptic Gregorian date (the day may pass its
// month's end), and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day);

// The date and time as ParseDate and ParseTime read them from texts this
// program wrote ("YYYY-MM-DD", "HH:MM:SS[.fraction]"), by position: a table
// or a batch in a zone reads a million. Only a fraction is read as a number.
void ReadWrittenInstant(std::string_view date, std::string_view time, Query& q);

// UTC seconds from 1970 and nanoseconds as the texts of ParseDate and
// ParseTime, with `decimals` digits of the second (0 to 9).
void WriteUtcTexts(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts);

// q's instant as civil time in `zone` with its offset, as
// YYYY-MM-DDTHH:MM:SS[.fraction]+HH:MM ("Z" for UTC).
void AppendInZone(std::string& out, const Query& q, const Zone& zone);

// An offset east of UTC as +HH:MM (+HH:MM:SS for one of odd seconds), Z when 0
// and `zulu`.
void AppendOffset(std::string& out, int seconds, bool zulu);

} // namespace vantoril::cli
