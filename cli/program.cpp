// SPDX-License-Identifier: MIT
#include "cli/program.h"

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/csv.h"
#include "cli/eop.h"
#include "cli/instants.h"
#include "cli/leap_seconds.h"
#include "cli/lst.h"
#include "cli/output.h"
#include "cli/parsers.h"
#include "cli/places.h"
#include "cli/site.h"
#include "cli/table.h"
#include "cli/transit.h"
#include "cli/watch.h"
#include "runtime/run_time_error.h"

#include <erfaextra.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

#ifndef VANTORIL_VERSION
#define VANTORIL_VERSION "1.00"
#endif

namespace vantoril::cli {

namespace {

// The texts of a clock reading, so "now" goes through the same readers as a
// typed instant.
struct ClockText {
    char date[32];
    char time[32];
};

ClockText Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    ClockText text{};
    std::snprintf(text.date, sizeof text.date, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    std::snprintf(text.time, sizeof text.time, "%02d:%02d:%02d.%06ld", utc.tm_hour, utc.tm_min, utc.tm_sec,
                  now.tv_nsec / 1000);
    return text;
}

int RunDay(const Options& o, int output, int errors)
{
    Output out(output);
    try {
        DaySearch search;
        search.event = EventOf(o);
        // The arguments hold one of --when and --transit for a day search.
        const std::optional<RightAscension>& target = o.when ? o.when : o.transit;
        if (!target) throw InputError("expected --transit or --when");
        search.target = *target;
        search.longitude =
            o.place ? o.site->KnownLongitude() : ParseLongitude(o.longitude.value_or(std::string_view{}));
        search.zone = &ZoneOf(o);
        search.span = CivilDay(ParseDate(o.date.value_or(std::string_view{})), *search.zone, o.model == Model::Iau2006);
        AppendDayAnswers(o, search, out.buffer());
    } catch (const InputError& e) {
        return UsageFailure(errors, e.what());
    } catch (const RunTimeError& e) {
        Complain(errors, e.what());
        return kExitFailed;
    }
    out.buffer() += '\n';
    if (!out.Flush()) return OutputFailure(errors, out.error());
    WarnNotedCautions(o, errors);
    return kExitOk;
}

int RunSingle(const Options& o, int output, int errors)
{
    if (o.SeeksInstants()) return RunDay(o, output, errors);
    const ClockText now = Now();
    const Site* site = o.site;
    Query q;
    InstantTexts texts;
    try {
        // The arguments were refused without a longitude; an empty one is refused here too.
        q.longitude = o.place ? site->KnownLongitude() : ParseLongitude(o.longitude.value_or(std::string_view{}));
        q.ra = o.ra;
        if (o.watch) return RunWatch(o, q, output, errors);
        if (o.date) {
            const std::string_view midnight = IsIsoInstant(*o.date) ? std::string_view() : "00:00:00";
            ReadInstant(*o.date, o.time.value_or(midnight), ZoneOf(o), o.fold, q, texts);
        } else {
            q.date = ParseDate(now.date);
            q.time = ParseTime(now.time);
        }
    } catch (const InputError& e) {
        return UsageFailure(errors, e.what());
    }
    Output out(output);
    if (o.format == Format::Csv) out.buffer() += kCsvHeader;
    try {
        AppendResult(o, q, out.buffer());
    } catch (const InputError& e) {
        return UsageFailure(errors, e.what());
    } catch (const RunTimeError& e) {
        Complain(errors, e.what());
        return kExitFailed;
    }
    out.buffer() += o.format == Format::Csv ? "\r\n" : "\n";
    if (!out.Flush()) return OutputFailure(errors, out.error());
    WarnNotedCautions(o, errors);
    return kExitOk;
}

// The IERS table of this run: --eop FILE, or the first file of the default
// places ($VANTORIL_LST_EOP instead of them when set: a file, or none).
// Throws InputError for a named file that cannot be used; a found one that
// cannot is passed over with a warning.
std::optional<EopTable> LoadEop(const Options& o, int errors)
{
    std::vector<std::string> places;
    bool named = false;
    if (o.eop) {
        if (*o.eop == "none") return std::nullopt;
        places.emplace_back(*o.eop);
        named = true;
    } else if (const char* chosen = std::getenv("VANTORIL_LST_EOP")) {
        if (std::string_view(chosen) != "none" && chosen[0] != '\0') places.emplace_back(chosen);
    } else {
        places = DefaultEopPlaces();
    }
    for (const std::string& place : places) {
        try {
            EopTable table;
            int error = 0;
            if (!EopTable::ReadFile(place, 256U << 20, table, error)) {
                if (named) throw InputError(Quoted(place) + ": " + std::strerror(error));
                if (error != ENOENT) Complain(errors, "warning: " + Quoted(place) + ": " + std::strerror(error));
                continue;
            }
            table.named = named;
            return table;
        } catch (const InputError& e) {
            if (named) throw;
            Complain(errors, std::string("warning: ") + e.what() + "; not used");
        }
    }
    return std::nullopt;
}

} // namespace

int RunProgram(std::span<const std::string_view> args, int input, int output, int errors)
{
    Options o;
    try {
        o = ParseOptions(args);
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    }
    // The classic model uses neither leap seconds nor UT1.
    std::optional<EopTable> eop;
    if (o.version || (o.model == Model::Iau2006 && !o.help)) {
        const std::string leapWarning = InstallLeapSeconds();
        if (!leapWarning.empty()) Complain(errors, "warning: " + leapWarning);
        if (!o.dut1Given) {
            try {
                eop = LoadEop(o, errors);
            } catch (const InputError& e) {
                Complain(errors, std::string("--eop: ") + e.what());
                return kExitFailed;
            }
        }
        if (eop) o.eopTable = &*eop;
    }
    if (o.help || o.version) {
        Output out(output);
        if (o.help) {
            out.buffer() = kHelp;
        } else {
            out.buffer().append("vantoril-lst " VANTORIL_VERSION " (ERFA ").append(eraVersion()).append(")\n");
            out.buffer().append("leap seconds: ").append(LeapTable().description).append("\n");
            out.buffer().append("UT1-UTC (iau2006): ");
            if (eop) {
                out.buffer().append(eop->Describe()).append(eop->named ? "\n" : ", found\n");
            } else {
                out.buffer().append("none found; 0 unless --dut1 or --eop gives it\n");
            }
            for (const std::string& table : PackagedEopTables()) {
                if (access(table.c_str(), R_OK) == 0) {
                    out.buffer().append("IERS table on this system, for --eop: ").append(table).append("\n");
                }
            }
        }
        return out.Flush() ? kExitOk : OutputFailure(errors, out.error());
    }
    Site site;
    try {
        if (o.place) {
            std::vector<std::string> problems;
            const Place place = FindPlace(*o.place, PlacesFilePath(), kZoneFolder, problems);
            for (const std::string& problem : problems) Complain(errors, problem);
            site.placeName = place.name;
            site.placeZone = place.zone;
            site.longitudeText = place.longitude;
            site.longitude = ParseLongitude(site.longitudeText);
        }
        if (o.tz == "place") {
            if (site.placeZone.empty()) {
                throw UsageError("--tz place: the place " + Quoted(site.placeName) + " has no zone in the places file");
            }
            site.zone = Zone::Find(site.placeZone);
        } else if (o.tz) {
            site.zone = Zone::Find(*o.tz);
        }
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    } catch (const MissingDatabase& e) {
        Complain(errors, e.what());
        return kExitFailed;
    }
    if (o.tz || o.place) o.site = &site;
    if (o.from) {
        // The table's longitude, read once for all its rows.
        if (!o.place) {
            site.longitudeText = o.longitude.value_or(std::string_view{});
            try {
                site.longitude = ParseLongitude(site.longitudeText);
            } catch (const InputError& e) {
                return UsageFailure(errors, e.what());
            }
        }
        o.site = &site;
        return RunTable(o, output, errors);
    }
    if (o.batch) return RunBatch(o, input, output, errors);
    return RunSingle(o, output, errors);
}

} // namespace vantoril::cli
