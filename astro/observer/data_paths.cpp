// SPDX-License-Identifier: MIT
#include "astro/observer/data_paths.h"

#include <cstdlib>
#include <string_view>

namespace vantoril::astro {

std::string PlacesFilePath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && *config == '/') return std::string(config) + "/vantoril-lst/places";
    const char* home = std::getenv("HOME");
    if (home != nullptr && *home != '\0') return std::string(home) + "/.config/vantoril-lst/places";
    return {};
}

LeapSecondsSource LeapSecondsPath()
{
    const char* chosen = std::getenv("VANTORIL_LEAP_SECONDS");
    if (chosen != nullptr) return {chosen, true};
    return {"/usr/share/zoneinfo/leap-seconds.list", false};
}

std::vector<std::string> DefaultEopPlaces()
{
    if (const char* chosen = std::getenv("VANTORIL_LST_EOP")) {
        if (std::string_view(chosen) == "none" || chosen[0] == '\0') return {};
        return {chosen};
    }
    std::vector<std::string> places;
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    std::string folder;
    if (data != nullptr && data[0] == '/') {
        folder = data;
    } else if (home != nullptr && home[0] == '/') {
        folder = std::string(home) + "/.local/share";
    }
    if (!folder.empty()) {
        for (const char* file : {"finals2000A.all", "finals.all", "eopc04.1962-now", "eopc04_IAU2000.62-now"}) {
            places.push_back(folder + "/vantoril-lst/" + file);
        }
    }
    return places;
}

std::vector<std::string> PackagedEopTables()
{
    // Debian's astropy: python3-astropy-iers-data (Debian 13), and the C04
    // table python3-astropy itself carries (Debian 12).
    return {"/usr/lib/python3/dist-packages/astropy_iers_data/data/finals2000A.all",
            "/usr/lib/python3/dist-packages/astropy_iers_data/data/eopc04.1962-now",
            "/usr/lib/python3/dist-packages/astropy/utils/iers/data/eopc04_IAU2000.62-now"};
}

} // namespace vantoril::astro
