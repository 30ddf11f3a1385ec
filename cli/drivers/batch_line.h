// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The fields of a batch line. A blank line or a # comment has none.

namespace vantoril::cli {

struct BatchLine {
    bool empty = true;
    std::string_view date, time, longitude, ra, dec; // ra, dec (and with a place, longitude) empty when absent
};

// "DATE TIME LONGITUDE [RA]" (the date and time may be one ISO 8601 field,
// the time then empty). With `longitudeOptional` (a place is given) the
// longitude may be left out, and a last field with colons is always the
// right ascension. Throws astro::InputError for a line of data not so.
// With `catalogue` (--dec) the line may end with RA DEC, a catalogue place.
BatchLine SplitBatchLine(std::string_view line, bool longitudeOptional = false, bool catalogue = false);

// "DATE LONGITUDE [TARGET]", a day search's line; `target` empty when
// absent. `form` names the fields for the message of a line not so. With
// `longitudeOptional` (a place is given) the longitude may be left out.
struct DayLine {
    bool empty = true;
    std::string_view date, longitude, target, dec;
};
DayLine SplitDayLine(std::string_view line, bool targetRequired, const char* form, bool catalogue = false,
                     bool longitudeOptional = false);

} // namespace vantoril::cli
