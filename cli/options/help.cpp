// SPDX-License-Identifier: MIT
#include "cli/options/help.h"

#include "cli/options/option_table.h"

#include <string_view>

namespace vantoril::cli {

namespace {

constexpr std::string_view kUsage = R"(Usage: vantoril-lst [OPTIONS] LONGITUDE [DATE [TIME]]
       vantoril-lst [OPTIONS] LONGITUDE|--place NAME [INSTANT]
       vantoril-lst --transit RA [--lower] | --when LST [OPTIONS] LONGITUDE DATE
       vantoril-lst --from INSTANT --to INSTANT|--count N --step DURATION [OPTIONS] LONGITUDE
       vantoril-lst --batch [OPTIONS] < instants
Local sidereal time at a longitude, for an instant in UTC or in --tz's civil time
(now when no DATE is given).

  LONGITUDE  79d51m0sW, 79:51:00W, "79 51 0 W" (one argument), -79.85 or 79.85W;
             a bare number is degrees east
  DATE       YYYY-MM-DD (a day past the month's end counts on into the next month)
  TIME       HH:MM:SS or HH:MM, seconds may be fractional (default 00:00:00); a Z or
             +HH:MM / -HHMM offset after it says how to read it
  INSTANT    YYYY-MM-DDTHH:MM[:SS[.f]][Z|+HH:MM|-HHMM] as one argument (date -Iseconds),
             or JD2460000.5, MJD60000.25 (UTC) or @1700000000 (Unix seconds);
             accepted wherever DATE TIME is

Options:
)";

constexpr std::string_view kExamples = R"(
Exit status: 0 every answer given; 1 an answer could not be given (a calculation, a data
file or a batch line failed, or the output could not be written); 2 what was typed cannot
be understood.

Examples:
  vantoril-lst 79d51mW 2002-01-01 00:00:00          prints 1:22:30
  vantoril-lst --model iau2006 -- -79.85             now, to the millisecond
  vantoril-lst --ra 05:35:17.3 --model iau2006 -79.85 2024-03-20 21:00:00
  vantoril-lst --watch --model iau2006 --precision 0 2.35E
  printf '2002-01-01 00:00:00 79d51mW\n' | vantoril-lst --batch --format json | jq -c .lst
  vantoril-lst --model iau2006 --transit 05:35:17.3 -- -79.85 2024-03-20
  vantoril-lst --model iau2006 --when 06:00:00 --eop finals2000A.all 2.35E 2024-09-22
  vantoril-lst 0 2024-03-20T21:00:00Z                ISO 8601, as date -Iseconds prints it
  vantoril-lst --tz Europe/Paris 2.35E 2024-03-20 22:00
  vantoril-lst --place Paris --tz place 2024-03-20T22:00
  vantoril-lst --model iau2006 --from 2024-03-20T21:00Z --to 2024-03-21T03:00Z --step 1h 0
  vantoril-lst --batch --format csv < instants.txt > lst.csv
  vantoril-lst --model iau2006 --transit 05:35:17.3 --dec -05:23:28 -- -79.85 2026-12-15
                                                     M42 from its catalogue (ICRS) place
  vantoril-lst --model iau2006 --show all 0 MJD60000.25
)";

} // namespace

std::string HelpText()
{
    std::string text(kUsage);
    for (const OptionEntry& entry : OptionTable()) {
        if (!entry.hidden) text += entry.help;
    }
    text += kExamples;
    return text;
}

} // namespace vantoril::cli
