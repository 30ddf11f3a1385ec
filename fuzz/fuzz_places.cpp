// SPDX-License-Identifier: MIT
// The readers of places on arbitrary bytes: the user's places file (first
// byte even) or a tz database's zone table (odd).
//
// Properties:
//  - nothing escapes either reader: a bad line is a problem, never a throw;
//  - every problem names the file and a line of it, and says why;
//  - no more places and problems than lines;
//  - every place has a name and a longitude that reads back, and a zone
//    only where the zone is written as one.

#include "astro/base/errors.h"
#include "astro/observer/longitude.h"
#include "astro/observer/places.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace {

using vantoril::fuzz::Check;

std::size_t LineCount(std::string_view text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) +
           (text.empty() || text.back() == '\n' ? 0 : 1);
}

void CheckLongitude(const std::string& text, std::string_view bytes)
{
    try {
        const double east = vantoril::astro::ParseLongitude(text).east;
        Check(std::abs(east) <= 180, "a place's longitude is within 180 degrees", bytes);
    } catch (const vantoril::astro::InputError&) {
        Check(false, "a place's longitude reads back", bytes);
    }
}

void FuzzPlacesFile(std::string_view bytes)
{
    std::vector<std::string> problems;
    const auto places = vantoril::astro::ReadPlacesFile(bytes, "fuzz", problems);
    const std::size_t lines = LineCount(bytes);
    Check(places.size() + problems.size() <= lines, "at most one place or problem a line", bytes);
    for (const std::string& p : problems) {
        // "fuzz:LINE: why"
        Check(p.rfind("fuzz:", 0) == 0, "a problem names the file", bytes);
        const std::size_t colon = p.find(": ", 5);
        Check(colon != std::string::npos && colon > 5 && colon + 2 < p.size(), "a problem says why", bytes);
        const std::string digits = p.substr(5, colon - 5);
        Check(std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
                  digits.size() < 20 && std::stoull(digits) >= 1 && std::stoull(digits) <= lines,
              "a problem names a line of the file", bytes);
    }
    for (const auto& place : places) {
        Check(!place.name.empty(), "a place has a name", bytes);
        CheckLongitude(place.longitude, bytes);
        Check(place.zone.empty() || place.zone == "UTC" || place.zone.find('/') != std::string::npos,
              "a zone is written as one", bytes);
    }
}

void FuzzZoneTable(std::string_view bytes)
{
    const auto places = vantoril::astro::ReadZoneTable(bytes);
    Check(places.size() <= LineCount(bytes), "at most one zone a line", bytes);
    for (const auto& place : places) {
        Check(!place.zone.empty(), "a zone table's place has its zone", bytes);
        CheckLongitude(place.longitude, bytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    vantoril::fuzz::UseDecimalCommaLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    if (data[0] % 2 == 0) {
        FuzzPlacesFile(bytes);
    } else {
        FuzzZoneTable(bytes);
    }
    return 0;
}
