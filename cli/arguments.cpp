// SPDX-License-Identifier: MIT
#include "cli/arguments.h"

#include "cli/instants.h"
#include "cli/table.h"

#include <string>
#include <vector>

namespace vantoril::cli {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// --transit's and --when's value: a right ascension or sidereal time, or "-"
// for one on each batch line.
RightAscension TargetValue(std::string_view option, std::string_view v, bool& perLine)
{
    if (v == "-") {
        perLine = true;
        return {v, 0};
    }
    try {
        return ParseRightAscension(v);
    } catch (const InputError&) {
        throw UsageError(std::string(option) + " " + Quoted(v) + ": expected HH:MM:SS[.s], below 24 hours, or -");
    }
}

// The checks of the block of options that seek instants.
void CheckInstantOptions(const Options& o, bool modelGiven, std::size_t positional)
{
    const char* seeking = o.transit ? "--transit" : "--when";
    if (o.transit && o.when) throw UsageError("--transit and --when cannot be combined");
    if (o.lower && !o.transit) throw UsageError("--lower needs --transit");
    if (o.eop && o.model != Model::Iau2006) {
        throw UsageError(std::string("--eop needs --model iau2006") +
                         (modelGiven ? "" : " (the default model is classic)"));
    }
    if (o.eop && o.dut1Given) throw UsageError("--eop and --dut1 cannot be combined");
    if (!o.SeeksInstants()) return;
    if (o.ra) throw UsageError(std::string("--ra cannot be combined with ") + seeking);
    if (o.format == Format::Csv) throw UsageError(std::string(seeking) + " prints text, hours or json, not csv");
    if (o.watch) throw UsageError(std::string("--watch cannot be combined with ") + seeking);
    if (o.targetPerLine && !o.batch) throw UsageError(std::string(seeking) + " -: a value on each line needs --batch");
    if (o.batch) return;
    // --place gives the longitude: the DATE comes first.
    const std::size_t dateAt = o.place ? 0 : 1;
    if (positional <= dateAt) {
        throw UsageError(std::string(seeking) + (o.place ? " needs a DATE" : " needs a DATE after the LONGITUDE"));
    }
    if (positional > dateAt + 1) throw UsageError(std::string(seeking) + " takes a DATE, not a TIME");
}

} // namespace

const std::string_view kHelp = R"(Usage: vantoril-lst [OPTIONS] LONGITUDE [DATE [TIME]]
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
             accepted wherever DATE TIME is

Options:
  --model classic|iau2006  classic: the window's calculation, to the second (default);
                           iau2006: ERFA's IAU 2006 Greenwich mean sidereal time
  --apparent               apparent sidereal time, IAU 2006/2000A (with iau2006)
  --dut1 SECONDS           UT1 - UTC, -0.9 to 0.9, as 0.3, -.25 or 3e-1 (with iau2006;
                           default 0)
  --precision N            decimals of a second, 0 to 6 (default 3 for iau2006, 0 for
                           classic, whose sidereal time is always the window's text)
  --ra HH:MM:SS[.s]        also print the hour angle LST - RA, in [-12 h, +12 h)
  --format text|hours|json|csv
                           sidereal time as h:mm:ss, as decimal hours, JSON Lines (an
                           object per result, {"error": ...} per failed line, null per
                           blank or # line), or CSV (RFC 4180: a header, a row per answer)
  --tz ZONE|local|UTC|place  read DATE TIME without an offset as civil time in this zone of
                           the system's tz database (/usr/share/zoneinfo), and show each
                           instant in it; place: the zone of --place (default UTC)
  --fold earlier|later     a civil time the clocks skip or repeat is refused, naming both
                           UTC instants, unless this chooses one
  --place NAME             the longitude (and zone) of a place: first from the user's
                           places file (~/.config/vantoril-lst/places: NAME LONGITUDE [ZONE]
                           a line), then from the tz database's zone1970.tab ("Paris")
  --from INSTANT --step DURATION (--to INSTANT | --count N)
                           a table: a row per step (30s, 10m, 1h, 1d or seconds), --to
                           included where a step lands on it; at most 100,000,000 rows
                           for --to, none for --count
  --watch                  a live clock: each reading at the instant it begins, until
                           interrupted (ends by the signal that stops it)
  --batch                  read "DATE TIME LONGITUDE [RA]" lines (or "INSTANT LONGITUDE
                           [RA]"; LONGITUDE left out with --place) from standard input and
                           write one line for each: the result or "error: <reason>"
  --transit HH:MM:SS[.s]   every instant of the UTC day DATE (the civil day in --tz) when
                           this right ascension culminates (hour angle 0): one or two, to
                           the microsecond with iau2006, to the window's whole second
                           with classic
  --lower                  with --transit: lower culminations (hour angle 12 h)
  --when HH:MM:SS[.s]      every instant of DATE, as for --transit, when the sidereal time is
                           this
                           With --batch, both read "DATE LONGITUDE [RA or LST]" lines, one
                           output line per instant; "-" as the value: one on each line
  --eop FILE|none          UT1 - UTC from an IERS table (finals2000A.all, finals.all, EOP
                           C04), linear between its days; an instant outside it is an
                           error. Without --eop or --dut1 a table the user put in
                           ~/.local/share/vantoril-lst/ is used and named; none: UT1 = UTC
  --help, --version        --version names the leap-second and IERS tables in use

Exit status: 0 every result given, 1 a line or the calculation failed, 2 usage error.

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
)";

double ParseDut1(std::string_view text)
{
    const auto value = ReadExactDecimal(text, true);
    if (!value) {
        throw UsageError("--dut1 " + Quoted(text) +
                         ": expected seconds as a decimal number (0.3, -.25, 3e-1) from -0.9 to 0.9");
    }
    // Exactly, not after rounding to a double: 0.9 and a digit 1 twenty places
    // further on are both 0.9 as doubles.
    static const ExactDecimal kLimit = ReadExactDecimal("0.9", false).value_or(ExactDecimal{});
    if (CompareMagnitude(*value, kLimit) > 0) {
        throw UsageError("--dut1 " + Quoted(text) + ": out of range, expected seconds from -0.9 to 0.9");
    }
    return value->value;
}

Options ParseOptions(std::span<const std::string_view> args)
{
    Options o;
    bool modelGiven = false;
    bool dut1Given = false;
    std::vector<std::string_view> positional;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const bool looksNumeric = arg.size() > 1 && arg[0] == '-' && (IsDigit(arg[1]) || arg[1] == '.');
        if (optionsEnd || arg.empty() || arg[0] != '-' || arg == "-" || looksNumeric) {
            positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnd = true;
            continue;
        }
        const auto eq = arg.find('=');
        const std::string_view name = arg.substr(0, eq);
        std::optional<std::string_view> inlineValue;
        if (eq != std::string_view::npos) inlineValue = arg.substr(eq + 1);
        auto value = [&]() -> std::string_view {
            if (inlineValue) return *inlineValue;
            if (i + 1 >= args.size()) throw UsageError(std::string(name) + " needs a value");
            return args[++i];
        };
        auto flag = [&](bool& target) {
            if (inlineValue) throw UsageError(std::string(name) + " takes no value");
            target = true;
        };
        if (name == "--model") {
            const std::string_view v = value();
            if (v == "classic") {
                o.model = Model::Classic;
            } else if (v == "iau2006") {
                o.model = Model::Iau2006;
            } else {
                throw UsageError("--model " + Quoted(v) + ": expected classic or iau2006");
            }
            modelGiven = true;
        } else if (name == "--format") {
            const std::string_view v = value();
            if (v == "text") {
                o.format = Format::Text;
            } else if (v == "hours") {
                o.format = Format::Hours;
            } else if (v == "json") {
                o.format = Format::Json;
            } else if (v == "csv") {
                o.format = Format::Csv;
            } else {
                throw UsageError("--format " + Quoted(v) + ": expected text, hours or json (or csv)");
            }
        } else if (name == "--precision") {
            const std::string_view v = value();
            if (v.size() != 1 || v[0] < '0' || v[0] > '6') {
                throw UsageError("--precision " + Quoted(v) + ": expected a whole number from 0 to 6");
            }
            o.precision = v[0] - '0';
        } else if (name == "--dut1") {
            o.dut1 = ParseDut1(value());
            dut1Given = true;
            o.dut1Given = true;
        } else if (name == "--ra") {
            const std::string_view v = value();
            try {
                o.ra = ParseRightAscension(v);
            } catch (const InputError& e) {
                throw UsageError(std::string("--ra: ") + e.what());
            }
        } else if (name == "--tz") {
            o.tz = value();
            if (o.tz->empty()) throw UsageError("--tz \"\": expected a zone name such as Europe/Paris, UTC or local");
        } else if (name == "--fold") {
            const std::string_view v = value();
            if (v == "earlier") {
                o.fold = Fold::Earlier;
            } else if (v == "later") {
                o.fold = Fold::Later;
            } else {
                throw UsageError("--fold " + Quoted(v) + ": expected earlier or later");
            }
        } else if (name == "--place") {
            o.place = value();
        } else if (name == "--from") {
            o.from = value();
        } else if (name == "--to") {
            o.to = value();
        } else if (name == "--step") {
            o.step = value();
            (void)ParseDuration(*o.step);
        } else if (name == "--count") {
            o.count = value();
            (void)ParseCount(*o.count);
        } else if (name == "--transit") {
            o.transit = TargetValue(name, value(), o.targetPerLine);
        } else if (name == "--when") {
            o.when = TargetValue(name, value(), o.targetPerLine);
        } else if (name == "--lower") {
            flag(o.lower);
        } else if (name == "--eop") {
            o.eop = value();
            if (o.eop->empty()) throw UsageError("--eop needs a file name, or none");
        } else if (name == "--apparent") {
            flag(o.apparent);
        } else if (name == "--batch") {
            flag(o.batch);
        } else if (name == "--watch") {
            flag(o.watch);
        } else if (name == "--help" || name == "-h") {
            flag(o.help);
        } else if (name == "--version") {
            flag(o.version);
        } else {
            throw UsageError("unknown option " + Quoted(arg));
        }
    }
    if (o.help || o.version) return o;

    if ((o.apparent || dut1Given) && o.model != Model::Iau2006) {
        throw UsageError(std::string(o.apparent ? "--apparent" : "--dut1") + " needs --model iau2006" +
                         (modelGiven ? "" : " (the default model is classic)"));
    }
    if (o.batch && o.watch) throw UsageError("--batch and --watch cannot be combined");
    if (o.tz == "place" && !o.place) throw UsageError("--tz place needs --place NAME");
    if (o.watch && o.format == Format::Csv) throw UsageError("--watch shows text, hours or json, not csv");
    if ((o.to || o.step || o.count) && !o.from) throw UsageError("--to, --step and --count make a table with --from");
    if (o.from) {
        if (o.batch || o.watch) throw UsageError("a table (--from) cannot be combined with --batch or --watch");
        if (!o.step) throw UsageError("--from needs --step DURATION (30s, 10m, 1h, 1d)");
        if (o.to.has_value() == o.count.has_value()) throw UsageError("--from needs either --to INSTANT or --count N");
        if (positional.empty() && !o.place) throw UsageError("missing LONGITUDE (or --place NAME)");
        if (positional.size() > (o.place ? 0U : 1U)) {
            throw UsageError("a table takes its instants from --from; unexpected argument " +
                             Quoted(positional[o.place ? 0 : 1]));
        }
        if (o.SeeksInstants()) throw UsageError("a table (--from) cannot be combined with --transit or --when");
        CheckInstantOptions(o, modelGiven, positional.size());
        if (!o.place) o.longitude = positional[0];
        return o;
    }
    CheckInstantOptions(o, modelGiven, positional.size());
    if (o.batch) {
        if (!positional.empty()) {
            throw UsageError("--batch reads DATE TIME LONGITUDE lines from standard input; unexpected argument " +
                             Quoted(positional.front()));
        }
        return o;
    }
    if (o.place) {
        // The place gives the longitude: DATE [TIME] follow at once.
        if (positional.size() > 2) throw UsageError("unexpected argument " + Quoted(positional[2]));
        if (o.watch && !positional.empty()) {
            throw UsageError("--watch shows the time now; unexpected DATE " + Quoted(positional[0]));
        }
        if (!positional.empty()) o.date = positional[0];
        if (positional.size() > 1) o.time = positional[1];
        if (o.date && o.time && IsIsoInstant(*o.date)) {
            throw UsageError("unexpected argument " + Quoted(*o.time) + " after the instant " + Quoted(*o.date) +
                             ": give DATE TIME or one YYYY-MM-DDTHH:MM[:SS]");
        }
        return o;
    }
    if (positional.empty()) throw UsageError("missing LONGITUDE");
    if (positional.size() > 3) {
        throw UsageError("unexpected argument " + Quoted(positional[3]) +
                         " (a longitude with blanks is one argument: quote it)");
    }
    if (o.watch && positional.size() > 1) {
        throw UsageError("--watch shows the time now; unexpected DATE " + Quoted(positional[1]));
    }
    o.longitude = positional[0];
    if (positional.size() > 1) o.date = positional[1];
    if (positional.size() > 2) o.time = positional[2];
    if (o.date && o.time && IsIsoInstant(*o.date)) {
        throw UsageError("unexpected argument " + Quoted(*o.time) + " after the instant " + Quoted(*o.date) +
                         ": give DATE TIME or one YYYY-MM-DDTHH:MM[:SS]");
    }
    return o;
}

} // namespace vantoril::cli
