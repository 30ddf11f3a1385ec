// SPDX-License-Identifier: MIT
#include "cli/options/option_table.h"

#include "cli/options/setters.h"

#include <array>

namespace vantoril::cli {

namespace {

constexpr std::string_view kAnswer = "cli/drivers/answer.cpp";
constexpr std::string_view kContext = "cli/options/context.cpp";
constexpr std::string_view kPrint = "cli/print/printer.cpp";
constexpr std::string_view kTable = "cli/drivers/table.cpp";
constexpr std::string_view kDay = "cli/drivers/day.cpp";

const std::array kOptions = {
    OptionEntry{"--model", "", ValueKind::Choice, "classic iau2006", "sidereal model",
                R"(  --model classic|iau2006  classic: the window's calculation, to the second (default);
                           iau2006: ERFA's IAU 2006 Greenwich mean sidereal time
)",
                "astro/sidereal/models.cpp", false, set::Model},
    OptionEntry{"--apparent", "", ValueKind::None, "", "apparent sidereal time (with iau2006)",
                R"(  --apparent               apparent sidereal time, IAU 2006/2000A (with iau2006)
)",
                "astro/sidereal/models.cpp", false, set::Apparent},
    OptionEntry{"--dut1", "", ValueKind::Text, "", "UT1 - UTC in seconds (with iau2006)",
                R"(  --dut1 SECONDS           UT1 - UTC, -0.9 to 0.9, as 0.3, -.25 or 3e-1 (with iau2006;
                           default 0)
)",
                "astro/time/time_scales.cpp", false, set::Dut1},
    OptionEntry{"--precision", "", ValueKind::Choice, "0 1 2 3 4 5 6", "decimals of a second",
                R"(  --precision N            decimals of a second, 0 to 6 (default 3 for iau2006, 0 for
                           classic, whose sidereal time is always the window's text)
)",
                kPrint, false, set::Precision},
    OptionEntry{"--ra", "", ValueKind::Text, "", "also print the hour angle of this right ascension",
                R"(  --ra RA                  also print the hour angle LST - RA, in [-12 h, +12 h); RA as
                           HH:MM:SS[.s], 5h35m17.3s, 5.588h or 83.82d: of date (the
                           equinox of the instant) unless --dec makes it a catalogue's
)",
                kAnswer, false, set::Ra},
    OptionEntry{"--dec", "", ValueKind::Text, "",
                "with --ra or --transit: a catalogue place (ICRS) of this declination",
                R"(  --dec +-DD:MM:SS[.s]     with --ra or --transit (and their RA): the ICRS (J2000) catalogue
                           place of a star; its hour angle and transit are those of its
                           apparent place (precession, nutation, aberration), iau2006
)",
                "astro/sidereal/catalogue.cpp", false, set::Dec},
    OptionEntry{"--show", "", ValueKind::Choice, "all gmst gast lmst last eqeq era", "the sidereal angles to print",
                R"(  --show all|LIST          with iau2006: print these in place of the one sidereal time, in
                           the order given: a comma list of gmst, gast (Greenwich mean and
                           apparent), lmst, last (local), eqeq (the equation of the
                           equinoxes), era (the Earth rotation angle), all in hours
)",
                "cli/print/printer.cpp", false, set::Show},
    OptionEntry{"--format", "", ValueKind::Choice, "text hours json csv", "output format",
                R"(  --format text|hours|json|csv
                           sidereal time as h:mm:ss, as decimal hours, JSON Lines (an
                           object per result, {"error": ...} per failed line, null per
                           blank or # line), or CSV (RFC 4180: a header, a row per answer)
)",
                kPrint, false, set::Format},
    OptionEntry{"--tz", "", ValueKind::Zone, "", "read and show instants in this zone",
                R"(  --tz ZONE|local|UTC|place  read DATE TIME without an offset as civil time in this zone of
                           the system's tz database (/usr/share/zoneinfo, old names such as
                           US/Eastern too), and show each instant in it, for any year;
                           local: the zone TZ names (a zone, a file or a rule such as
                           EST5EDT,M3.2.0,M11.1.0); place: the zone of --place (default UTC)
)",
                "astro/time/zones.cpp", false, set::Tz},
    OptionEntry{"--fold", "", ValueKind::Choice, "earlier later", "which reading of a civil time the clocks repeat",
                R"(  --fold earlier|later     a civil time the clocks skip or repeat is refused, naming both
                           UTC instants, unless this chooses one
)",
                "astro/time/instant.cpp", false, set::Fold},
    OptionEntry{"--place", "", ValueKind::Place, "", "the longitude (and zone) of a place",
                R"(  --place NAME             the longitude (and zone) of a place: first from the user's
                           places file (~/.config/vantoril-lst/places: NAME LONGITUDE [ZONE]
                           a line), then from the tz database's zone1970.tab ("Paris",
                           "sao paulo": case and accents do not matter)
)",
                "astro/observer/places.cpp", false, set::Place},
    OptionEntry{"--from", "", ValueKind::Text, "", "a table's first instant",
                R"(  --from INSTANT --step DURATION (--to INSTANT | --count N)
                           a table: a row per step (30s, 10m, 1h, 1d or seconds), --to
                           included where a step lands on it; at most 100,000,000 rows
                           for --to, none for --count
)",
                kTable, false, set::From},
    OptionEntry{"--to", "", ValueKind::Text, "", "a table's last instant", "", kTable, false, set::To},
    OptionEntry{"--step", "", ValueKind::Text, "", "a table's step (30s, 10m, 1h, 1d)", "", kTable, false, set::Step},
    OptionEntry{"--count", "", ValueKind::Text, "", "a table's number of rows", "", kTable, false, set::Count},
    OptionEntry{"--watch", "", ValueKind::None, "", "a live clock",
                R"(  --watch                  a live clock: each reading at the instant it begins, until
                           interrupted (ends by the signal that stops it)
)",
                "cli/drivers/watch.cpp", false, set::Watch},
    OptionEntry{"--batch", "", ValueKind::None, "", "answer the lines of standard input",
                R"(  --batch                  read "DATE TIME LONGITUDE [RA]" lines (or "INSTANT LONGITUDE
                           [RA]"; LONGITUDE left out with --place) from standard input and
                           write one line for each: the result or "error: <reason>"
)",
                "cli/drivers/batch.cpp", false, set::Batch},
    OptionEntry{"--transit", "", ValueKind::Text, "", "when a right ascension culminates on DATE",
                R"(  --transit HH:MM:SS[.s]   every instant of the UTC day DATE (the civil day in --tz) when
                           this right ascension culminates (hour angle 0): one or two, to
                           the microsecond with iau2006, to the window's whole second
                           with classic
)",
                kDay, false, set::Transit},
    OptionEntry{"--lower", "", ValueKind::None, "", "lower culminations (with --transit)",
                R"(  --lower                  with --transit: lower culminations (hour angle 12 h)
)",
                kDay, false, set::Lower},
    OptionEntry{"--when", "", ValueKind::Text, "", "when the sidereal time is this on DATE",
                R"(  --when HH:MM:SS[.s]      every instant of DATE, as for --transit, when the sidereal time is
                           this
                           With --batch, both read "DATE LONGITUDE [RA or LST]" lines, one
                           output line per instant; "-" as the value: one on each line
)",
                kDay, false, set::When},
    OptionEntry{"--eop", "", ValueKind::File, "", "UT1 - UTC from an IERS table, or none",
                R"(  --eop FILE|none          UT1 - UTC from an IERS table (finals2000A.all, finals.all, EOP
                           C04), linear between its days; an instant outside it is an
                           error. Without --eop or --dut1 a table the user put in
                           ~/.local/share/vantoril-lst/ is used and named; none: UT1 = UTC
)",
                kContext, false, set::Eop},
    OptionEntry{"--help", "-h", ValueKind::None, "", "this help",
                R"(  --help, --version        --version names the leap-second and IERS tables in use
)",
                "cli/options/help.cpp", false, set::Help},
    OptionEntry{"--version", "", ValueKind::None, "", "the version and the tables in use", "", "cli/drivers/info.cpp",
                false, set::Version},
    OptionEntry{"--completion", "", ValueKind::Choice, "bash zsh fish", "a completion script for a shell", "",
                "cli/options/completions.cpp", true, set::Completion},
    OptionEntry{"--complete", "", ValueKind::Choice, "tz place", "the names --tz or --place takes", "",
                "cli/drivers/info.cpp", true, set::Complete},
};

} // namespace

std::span<const OptionEntry> OptionTable() { return kOptions; }

const OptionEntry* FindOption(std::string_view name)
{
    for (const OptionEntry& entry : kOptions) {
        if (entry.name == name || (!entry.alias.empty() && entry.alias == name)) return &entry;
    }
    return nullptr;
}

} // namespace vantoril::cli
