// SPDX-License-Identifier: MIT
#include "cli/options/context.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/data_paths.h"
#include "astro/observer/places.h"
#include "cli/io/exit_status.h"
#include "cli/io/file_text.h"
#include "cli/io/messages.h"
#include "cli/options/failure.h"

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace vantoril::cli {

using astro::Quoted;

namespace {

// The IERS table of this run: --eop FILE, or the first file of the default
// places. Throws InputError for a named file that cannot be used; a found
// one that cannot is passed over with a warning.
std::optional<astro::EopTable> LoadEop(const Options& o, int errors, bool& named)
{
    std::vector<std::string> places;
    named = o.eop.has_value();
    if (named) {
        if (*o.eop == "none") return std::nullopt;
        places.emplace_back(*o.eop);
    } else {
        places = astro::DefaultEopPlaces();
    }
    const SystemFiles files;
    for (const std::string& place : places) {
        try {
            astro::EopTable table;
            int error = 0;
            if (!astro::EopTable::ReadFile(files, place, 256U << 20, table, error)) {
                if (named) throw astro::InputError(Quoted(place) + ": " + std::strerror(error));
                if (error != ENOENT) Complain(errors, "warning: " + Quoted(place) + ": " + std::strerror(error));
                continue;
            }
            return table;
        } catch (const astro::InputError& e) {
            if (named) throw;
            Complain(errors, std::string("warning: ") + e.what() + "; not used");
        }
    }
    return std::nullopt;
}

// --place, and the zone of --tz (or of the place).
void FindSite(const Options& o, Context& c, int errors)
{
    if (o.place) {
        std::vector<std::string> problems;
        astro::Place place;
        // The places file's bad lines are said whether or not the name is found.
        try {
            place = astro::FindPlace(*o.place, astro::PlacesFilePath(), astro::kZoneFolder, SystemFiles(), problems);
        } catch (const astro::InputError& e) {
            for (const std::string& problem : problems) Complain(errors, problem);
            throw UsageError(std::string("--place ") + e.what());
        } catch (const astro::MissingData&) {
            for (const std::string& problem : problems) Complain(errors, problem);
            throw;
        }
        for (const std::string& problem : problems) Complain(errors, problem);
        c.place = PlaceShown{place.name, place.zone, place.longitude};
        c.longitudeText = place.longitude;
        c.longitude = astro::ParseLongitude(c.longitudeText);
    }
    try {
        if (o.tz == "place") {
            if (!c.place) throw UsageError("--tz place needs --place NAME");
            if (c.place->zone.empty()) {
                throw UsageError("--tz place: the place " + Quoted(c.place->name) + " has no zone in the places file");
            }
            c.zone = astro::Zone::Find(c.place->zone);
        } else if (o.tz) {
            c.zone = astro::Zone::Find(*o.tz);
        }
    } catch (const astro::InputError& e) {
        throw UsageError(std::string("--tz ") + e.what());
    }
}

void SetPrinter(Context& c)
{
    const Options& o = c.options;
    c.print.format = o.format;
    c.print.model = c.model;
    c.print.decimals = o.Decimals();
    c.print.zone = &c.zone;
    c.print.place = c.place ? &*c.place : nullptr;
    c.print.scales = &c.scales;
    c.print.catalogue = o.dec.has_value();
    c.print.show = o.show;
    c.printer = MakePrinter(c.print);
}

} // namespace

const astro::Longitude& Context::KnownLongitude() const
{
    if (!longitude) throw astro::InputError("no longitude for the place");
    return *longitude;
}

void LoadTables(Context& c, int errors)
{
    const astro::LeapSecondsSource source = astro::LeapSecondsPath();
    std::string warning;
    c.leap = astro::InstallLeapSeconds(source.path, source.chosen, SystemFiles(), warning);
    if (!warning.empty()) Complain(errors, "warning: " + warning);
    c.scales.leap = &c.leap;
    c.scales.dut1 = c.options.dut1.value_or(0);
    if (c.options.dut1) return;
    bool named = true;
    c.eop = LoadEop(c.options, errors, named);
    c.scales.eop = c.eop ? &*c.eop : nullptr;
    c.scales.eopNamed = named;
}

std::unique_ptr<Context> BuildContext(const Options& o, int errors, int& status)
{
    auto c = std::make_unique<Context>();
    c->options = o;
    c->model = o.Model();
    // The classic model uses neither leap seconds nor UT1.
    if (astro::InfoOf(c->model).timeScales) {
        try {
            LoadTables(*c, errors);
        } catch (const astro::InputError& e) {
            status = AnswerFailure(errors, std::string("--eop: ") + e.what());
            return nullptr;
        }
    }
    try {
        FindSite(o, *c, errors);
        // A table's longitude, read once for all its rows.
        if (o.from && !o.place) {
            c->longitudeText = o.longitude.value_or(std::string_view{});
            c->longitude = astro::ParseLongitude(c->longitudeText);
        }
    } catch (const std::runtime_error&) {
        status = FailureStatus(errors);
        return nullptr;
    }
    SetPrinter(*c);
    return c;
}

} // namespace vantoril::cli
