// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/calendar.h"
#include "astro/time/date_time.h"
#include "astro/time/zones.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

// Instants as people write them: DATE [TIME] or one ISO 8601 text, with or
// without an offset from UTC, or civil time in a zone; and the UTC instant
// they name, which is what the models take.

namespace vantoril::astro {

// A UTC date and time, as read or as worked out from an offset or a zone.
struct Instant {
    Date date;
    Time time;
};

// A civil time that does not exist or exists twice in the zone: refused, or
// read as the earlier or the later of its two UTC instants.
enum class Fold { Refuse, Earlier, Later };

// Room for the texts of a UTC instant worked out from an offset or a zone:
// the Instant's views then point here.
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
    "either optionally ending in Z, +HH:MM, +HHMM or +HH:MM:SS (or -); or JD2460000.5, MJD60000.25 or "
    "@1700000000 (Unix seconds)";

// Whether a DATE field is one ISO 8601 instant (it has a T).
bool IsIsoInstant(std::string_view text);
// Whether it is an instant of its own, with no TIME after it: ISO 8601, or
// a number (numeric_instant.h).
bool IsOneFieldInstant(std::string_view text);

// DATE with TIME (`time` is then the clock text) or one ISO text or number
// (`time` empty) into `at`, in UTC. An ISO date names a real day; in DATE
// TIME a day past its month's end counts on, as in the window. A clock text without an offset is civil time in
// `zone`; one that does not exist there or exists twice is refused naming
// both UTC candidates, unless `fold` chooses one. Untouched UTC texts stay
// views into the caller's; the others are kept in `texts`. Throws
// InputError for a text not in these forms, CalculationError for a civil
// time refused or an instant outside the years 0000 to 9999.
void ReadInstant(std::string_view date, std::string_view time, const Zone& zone, Fold fold, Instant& at,
                 InstantTexts& texts);

// Seconds from 1970 of the whole UTC second of `at` (a leap second as its
// :59); the day may pass its month's end.
std::int64_t UtcSeconds(const Instant& at);

// The date and time as ParseDate and ParseTime read them from texts this
// program wrote ("YYYY-MM-DD", "HH:MM:SS[.fraction]"), by position: a table
// or a batch in a zone reads a million. Only a fraction is read as a number.
void ReadWrittenInstant(std::string_view date, std::string_view time, Instant& at);

// UTC seconds from 1970 and nanoseconds as the texts of ParseDate and
// ParseTime, with `decimals` digits of the second (0 to 9); CalculationError
// outside the years 0000 to 9999.
void WriteUtcTexts(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts);

// The same, and `at` as ReadWrittenInstant would read the texts back, but
// without reading them: a table writes a million. The day's date is worked
// out once for all the instants of the day.
void WriteUtcInstant(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts, Instant& at);

// The date of a day (days from 1970) and its text, kept per thread for the
// next instants of the same day: a table or a batch in a zone writes a
// million, most on the day before's.
struct DayText {
    std::int64_t days = std::numeric_limits<std::int64_t>::min();
    CalendarDate date;
    std::array<char, 24> text{}; // the date as WriteIsoDate writes it, and a NUL
};
const DayText& DayTextOf(std::int64_t days);

// The clock of a UTC reading `inDay` seconds and `nanoseconds` into its day,
// HH:MM:SS with `decimals` digits of the second, written at p (room for 19);
// `time` gets its hour, minute and second as ParseTime reads them from that
// text, its texts left as they are. Returns the text's end.
char* PutUtcClock(char* p, int inDay, std::int64_t nanoseconds, int decimals, Time& time);

// `at` as civil time in `zone` with its offset, as
// YYYY-MM-DDTHH:MM:SS[.fraction]+HH:MM ("Z" for UTC).
void AppendInZone(std::string& out, const Instant& at, const Zone& zone);

// An offset east of UTC as +HH:MM (+HH:MM:SS for one of odd seconds), Z when 0
// and `zulu`.
void AppendOffset(std::string& out, int seconds, bool zulu);

} // namespace vantoril::astro
