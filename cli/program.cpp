// SPDX-License-Identifier: MIT
#include "cli/program.h"

#include "cli/arguments.h"
#include "cli/batch.h"
#include "cli/csv.h"
#include "cli/instants.h"
#include "cli/lst.h"
#include "cli/output.h"
#include "cli/parsers.h"
#include "cli/places.h"
#include "cli/site.h"
#include "cli/table.h"
#include "cli/watch.h"
#include "runtime/run_time_error.h"

#include <erfaextra.h>

#include <cstdio>
#include <ctime>
#include <string>
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

int RunSingle(const Options& o, int output, int errors)
{
    const ClockText now = Now();
    const Site* site = o.site;
    Query q;
    InstantTexts texts;
    try {
        // The arguments were refused without a longitude; an empty one is refused here too.
        q.longitude = o.place ? *site->longitude : ParseLongitude(o.longitude.value_or(std::string_view{}));
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
    return kExitOk;
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
    if (o.help || o.version) {
        Output out(output);
        if (o.help) {
            out.buffer() = kHelp;
        } else {
            out.buffer().append("vantoril-lst " VANTORIL_VERSION " (ERFA ").append(eraVersion()).append(")\n");
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
            site.longitudeText = *o.longitude;
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
