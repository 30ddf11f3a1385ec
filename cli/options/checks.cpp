// SPDX-License-Identifier: MIT
// The options as a whole: which go together, and where the arguments that
// are not options go in each mode.
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/longitude.h"
#include "astro/time/instant.h"
#include "cli/options/parse.h"

#include <string>

namespace vantoril::cli {

namespace {

using astro::Quoted;

std::string DefaultModelNote(const Options& o) { return o.modelGiven ? "" : " (the default model is classic)"; }

bool ReadsAsDate(std::string_view text)
{
    try {
        (void)astro::ParseDate(text);
        return true;
    } catch (const astro::InputError&) {
        return false;
    }
}

// A longitude typed beside --place, which gives one: named as such rather
// than misread as the DATE after it.
void CheckNoLongitude(const std::vector<std::string_view>& positional)
{
    if (positional.empty() || astro::IsOneFieldInstant(positional[0])) return;
    if (ReadsAsDate(positional[0])) return;
    try {
        (void)astro::ParseLongitude(positional[0]);
    } catch (const astro::InputError&) {
        return;
    }
    throw UsageError("--place gives the longitude; unexpected LONGITUDE " + Quoted(positional[0]));
}

void CheckModel(const Options& o)
{
    if ((o.apparent || o.dut1) && o.modelName != ModelName::Iau2006) {
        throw UsageError(std::string(o.apparent ? "--apparent" : "--dut1") + " needs --model iau2006" +
                         DefaultModelNote(o));
    }
}

// --dec makes the right ascension a catalogue place's: iau2006, and an RA
// to go with it.
void CheckCatalogue(const Options& o)
{
    if (!o.dec) return;
    if (o.modelName != ModelName::Iau2006) throw UsageError("--dec needs --model iau2006" + DefaultModelNote(o));
    if (o.when) throw UsageError("--dec cannot be combined with --when: a sidereal time has no declination");
    if (o.decPerLine && !o.batch) throw UsageError("--dec -: a value on each line needs --batch");
    if (o.targetPerLine && !o.decPerLine) {
        throw UsageError("--transit -: each line gives its RA; with a catalogue place give --dec - too");
    }
    if (!o.ra && !o.transit && !o.batch) {
        throw UsageError("--dec goes with --ra or --transit: the right ascension of the same catalogue place");
    }
}

void CheckShow(const Options& o)
{
    if (o.show.empty()) return;
    if (o.modelName != ModelName::Iau2006) throw UsageError("--show needs --model iau2006" + DefaultModelNote(o));
    if (o.SeeksInstants()) throw UsageError("--show prints the angles of an instant; not with --transit or --when");
    if (o.watch) throw UsageError("--show cannot be combined with --watch");
}

void CheckModes(const Options& o)
{
    if (o.batch && o.watch) throw UsageError("--batch and --watch cannot be combined");
    if (o.tz == "place" && !o.place) throw UsageError("--tz place needs --place NAME");
    // Only a civil time read in a zone can fall in a gap or an overlap.
    if (o.foldGiven && !o.tz)
        throw UsageError("--fold needs --tz: it chooses between the readings of a zone's civil time");
    if (o.watch && o.format == Format::Csv) throw UsageError("--watch shows text, hours or json, not csv");
    if ((o.to || o.step || o.count) && !o.from) throw UsageError("--to, --step and --count make a table with --from");
}

// The checks of the block of options that seek instants.
void CheckInstantOptions(const Options& o, const std::vector<std::string_view>& arguments)
{
    const std::size_t positional = arguments.size();
    const char* seeking = o.transit ? "--transit" : "--when";
    if (o.transit && o.when) throw UsageError("--transit and --when cannot be combined");
    if (o.lower && !o.transit) throw UsageError("--lower needs --transit");
    if (o.eop && o.modelName != ModelName::Iau2006) {
        throw UsageError("--eop needs --model iau2006" + DefaultModelNote(o));
    }
    if (o.eop && o.dut1) throw UsageError("--eop and --dut1 cannot be combined");
    if (!o.SeeksInstants()) return;
    if (o.ra) throw UsageError(std::string("--ra cannot be combined with ") + seeking);
    if (o.format == Format::Csv) throw UsageError(std::string(seeking) + " prints text, hours or json, not csv");
    if (o.watch) throw UsageError(std::string("--watch cannot be combined with ") + seeking);
    if (o.targetPerLine && !o.batch) throw UsageError(std::string(seeking) + " -: a value on each line needs --batch");
    if (o.batch) return;
    // --place gives the longitude: the DATE comes first.
    if (o.place) CheckNoLongitude(arguments);
    const std::size_t dateAt = o.place ? 0 : 1;
    if (positional <= dateAt) {
        throw UsageError(std::string(seeking) + (o.place ? " needs a DATE" : " needs a DATE after the LONGITUDE"));
    }
    if (positional > dateAt + 1) throw UsageError(std::string(seeking) + " takes a DATE, not a TIME");
}

void CheckTable(Options& o, const std::vector<std::string_view>& positional)
{
    if (o.batch || o.watch) throw UsageError("a table (--from) cannot be combined with --batch or --watch");
    if (!o.step) throw UsageError("--from needs --step DURATION (30s, 10m, 1h, 1d)");
    if (o.to && o.count)
        throw UsageError("--to and --count cannot be combined: a table ends at one or has the other's rows");
    if (!o.to && !o.count) throw UsageError("--from needs either --to INSTANT or --count N");
    if (positional.empty() && !o.place) throw UsageError("missing LONGITUDE (or --place NAME)");
    if (positional.size() > (o.place ? 0U : 1U)) {
        throw UsageError("a table takes its instants from --from; unexpected argument " +
                         Quoted(positional[o.place ? 0 : 1]));
    }
    if (o.SeeksInstants()) throw UsageError("a table (--from) cannot be combined with --transit or --when");
    CheckInstantOptions(o, positional);
    if (!o.place) o.longitude = positional[0];
}

void CheckNoTimeAfterIso(const Options& o)
{
    if (o.date && o.time && astro::IsOneFieldInstant(*o.date)) {
        throw UsageError("unexpected argument " + Quoted(*o.time) + " after the instant " + Quoted(*o.date) +
                         ": give DATE TIME or one YYYY-MM-DDTHH:MM[:SS]");
    }
}

// The place gives the longitude: DATE [TIME] follow at once.
void PlaceWithPlace(Options& o, const std::vector<std::string_view>& positional)
{
    CheckNoLongitude(positional);
    if (positional.size() > 2) throw UsageError("unexpected argument " + Quoted(positional[2]));
    if (o.watch && !positional.empty()) {
        throw UsageError("--watch shows the time now; unexpected DATE " + Quoted(positional[0]));
    }
    if (!positional.empty()) o.date = positional[0];
    if (positional.size() > 1) o.time = positional[1];
    CheckNoTimeAfterIso(o);
}

void PlaceWithLongitude(Options& o, const std::vector<std::string_view>& positional)
{
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
    CheckNoTimeAfterIso(o);
}

} // namespace

void CheckOptions(Options& o, const std::vector<std::string_view>& positional)
{
    CheckModel(o);
    CheckCatalogue(o);
    CheckShow(o);
    CheckModes(o);
    if (o.from) return CheckTable(o, positional);
    CheckInstantOptions(o, positional);
    if (o.batch) {
        if (!positional.empty()) {
            throw UsageError("--batch reads DATE TIME LONGITUDE lines from standard input; unexpected argument " +
                             Quoted(positional.front()));
        }
        return;
    }
    if (o.place) return PlaceWithPlace(o, positional);
    PlaceWithLongitude(o, positional);
}

} // namespace vantoril::cli
