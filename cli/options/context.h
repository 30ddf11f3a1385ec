// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/longitude.h"
#include "astro/time/iers.h"
#include "astro/time/leap_seconds.h"
#include "astro/time/time_scales.h"
#include "astro/time/zones.h"
#include "cli/options/options.h"
#include "cli/print/printer.h"
#include "cli/print/settings.h"

#include <memory>
#include <optional>
#include <string>

// What the options name, found once for the whole run: the zone, the place,
// the tables of the time scales, the printer. The drivers work from this.

namespace vantoril::cli {

struct Context {
    Options options;
    astro::Model model = astro::Model::Classic;
    astro::Zone zone; // civil times are read and instants shown in it; UTC by default
    std::optional<PlaceShown> place;
    // The longitude of --place, or of a table, read once; its views point
    // into longitudeText.
    std::string longitudeText;
    std::optional<astro::Longitude> longitude;
    astro::LeapTableInUse leap;
    std::optional<astro::EopTable> eop;
    astro::TimeScaleContext scales;
    PrintSettings print;
    std::unique_ptr<Printer> printer;

    Context() = default;
    Context(const Context&) = delete; // its parts point at each other
    Context& operator=(const Context&) = delete;

    // The longitude read once for the run; an InputError should it be
    // missing.
    [[nodiscard]] const astro::Longitude& KnownLongitude() const;
};

// The context of the options: what they name found, the tables loaded (with
// warnings on `errors` for a table found but unusable). Returns null with
// the exit status in `status` (the message written) when something named
// cannot be found or used.
std::unique_ptr<Context> BuildContext(const Options& o, int errors, int& status);

// The time-scale tables alone (for --version): the leap seconds installed,
// the IERS table found. Throws astro::InputError for a named table that
// cannot be used.
void LoadTables(Context& c, int errors);

} // namespace vantoril::cli
