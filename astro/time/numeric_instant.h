// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/date_time.h"

#include <string_view>

// Instants as numbers: a Julian Date or a Modified Julian Date of UTC
// (JD2460000.5, MJD60000.25), as astropy writes them, or seconds of Unix
// time (@1700000000.5), as `date -d @...` takes them.

namespace vantoril::astro {

struct InstantTexts;

// Whether the text is one of these forms (by its prefix: JD, MJD or @).
bool IsNumericInstant(std::string_view text);

// The UTC date and time the number names, written into `texts` (the fraction
// of a second to the nanosecond, trailing zeros dropped) and read back into
// `date` and `time`. A Julian Date's day is UTC's own: on a day with a leap
// second its fraction counts 86,401 seconds, as ERFA's calendar does. Throws
// InputError for a text not in these forms, CalculationError for an instant
// outside the years 0000 to 9999.
void ReadNumericInstant(std::string_view text, Date& date, Time& time, InstantTexts& texts);

} // namespace vantoril::astro
