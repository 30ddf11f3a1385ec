// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/models.h"
#include "astro/time/time_scales.h"
#include "astro/time/zones.h"
#include "cli/print/format.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vantoril::cli {

// The sidereal angles --show prints, in the order given.
enum class Quantity { Gmst, Gast, Lmst, Last, Eqeq, Era };
inline constexpr std::array<std::string_view, 6> kQuantityNames = {"gmst", "gast", "lmst", "last", "eqeq", "era"};

// The place of --place as the results name it.
struct PlaceShown {
    std::string name;      // as found
    std::string zone;      // "" when the places file gives none
    std::string longitude; // its longitude's text
};

// What every printer needs to know of the run.
struct PrintSettings {
    Format format = Format::Text;
    astro::Model model = astro::Model::Classic;
    int decimals = 0;                                // of a second, for sidereal times and hour angles
    const astro::Zone* zone = nullptr;               // instants also shown in it; null or UTC: not
    const PlaceShown* place = nullptr;               // null without --place
    const astro::TimeScaleContext* scales = nullptr; // for the cautions' texts and the IERS file's name
    bool catalogue = false;                          // right ascensions with declinations (--dec)
    std::vector<Quantity> show;                      // --show: these in place of the one sidereal time

    [[nodiscard]] bool Civil() const { return zone != nullptr && !zone->IsUtc(); }
};

} // namespace vantoril::cli
