// SPDX-License-Identifier: MIT
// The readers of places and zone names on arbitrary bytes, chosen by the
// first byte (modulo 6): the user's places file (0), a tz database's zone
// table (1), a places file checked against a tzdata.zi (2: the index, a NUL,
// the file), a POSIX TZ string as TZ holds it (3), a tzdata.zi (4), a name
// folded for comparison (5).
//
// Properties:
//  - nothing escapes the places readers: a bad line is a problem, never a
//    throw; every problem names the file and a line of it, and says why;
//  - no more places and problems than lines;
//  - every place has a name and a longitude that reads back, and a zone
//    only where the zone is written as one (and, checked, the index has);
//  - a TZ string is read or refused with InputError; once read, its
//    offsets stay within a day, its spans of a year follow one another
//    with the offset that instant has, and every civil time reads back:
//    one reading is the offset of its UTC instant, a gap none, an overlap
//    two;
//  - tzdata.zi: every name listed leads to a zone, a zone to itself, and
//    a link to a zone;
//  - a folded name has no blanks, '_' or capitals, and folds to itself.

#include "astro/base/errors.h"
#include "astro/observer/longitude.h"
#include "astro/observer/places.h"
#include "astro/time/posix_tz.h"
#include "astro/time/zones.h"
#include "fuzz/fuzz_support.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include <unistd.h>

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

void FuzzPlacesFile(std::string_view bytes, const vantoril::astro::ZoneIndex& zones = {})
{
    std::vector<std::string> problems;
    const auto places = vantoril::astro::ReadPlacesFile(bytes, "fuzz", problems, zones);
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
        Check(place.zone.empty() || zones.empty() || place.zone == "UTC" || zones.ZoneOf(place.zone).has_value(),
              "a place's zone is one the index has", bytes);
    }
}

void FuzzCheckedPlacesFile(std::string_view bytes)
{
    const std::size_t split = std::min(bytes.find('\0'), bytes.size());
    FuzzPlacesFile(bytes.substr(std::min(split + 1, bytes.size())),
                   vantoril::astro::ZoneIndex::Parse(bytes.substr(0, split)));
}

// An empty folder: TZ's text can only be a POSIX TZ string there.
const std::string& EmptyZoneFolder()
{
    static const std::string folder = [] {
        // Under TMPDIR, which the fuzzing script removes: libFuzzer may end
        // the process without running exit handlers.
        const char* tmp = std::getenv("TMPDIR");
        std::string name = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/vantoril-fuzz-zones-XXXXXX";
        if (::mkdtemp(name.data()) == nullptr) return std::string("/nonexistent");
        std::atexit([] { ::rmdir(EmptyZoneFolder().c_str()); }); // empty: nothing else to remove
        return name;
    }();
    return folder;
}

void FuzzTzString(std::string_view bytes)
{
    using vantoril::astro::LocalOffsets;
    const std::string tz(bytes.substr(0, std::min(bytes.find('\0'), bytes.size())));
    bool read = false;
    try {
        const auto rule = vantoril::astro::PosixTz::Parse(tz);
        read = true;
        for (const std::int64_t year : {std::int64_t{1}, std::int64_t{2024}, std::int64_t{9999}}) {
            const auto spans = rule.Spans(year, year);
            Check(!spans.empty(), "a year has a span", bytes);
            for (std::size_t i = 0; i < spans.size(); ++i) {
                Check(std::abs(spans[i].offset) < 26 * 3600, "an offset stays within a day", bytes);
                Check(rule.OffsetAt(spans[i].begin) == spans[i].offset, "a span's offset is its instant's", bytes);
                if (i == 0) continue;
                Check(spans[i].begin > spans[i - 1].begin && spans[i].offset != spans[i - 1].offset,
                      "spans follow one another with a change", bytes);
                Check(rule.OffsetAt(spans[i].begin - 1) == spans[i - 1].offset, "a span ends where the next begins",
                      bytes);
            }
        }
    } catch (const vantoril::astro::InputError&) {
        if (!read) return;
    }
    if (!read || tz.empty() || tz.front() == ':' || tz.front() == '/') return;
    ::setenv("TZ", tz.c_str(), 1);
    const auto zone = vantoril::astro::Zone::Find("local", EmptyZoneFolder());
    ::unsetenv("TZ");
    for (const std::int64_t local :
         {std::int64_t{-62135596800}, std::int64_t{1711846800}, std::int64_t{1730000000}, std::int64_t{253402300000}}) {
        for (std::int64_t t = local; t < local + std::int64_t{3} * 86400; t += 1799) {
            const LocalOffsets o = zone.OffsetsOfLocal(t);
            const bool before = zone.OffsetAt(t - o.before) == o.before;
            const bool after = zone.OffsetAt(t - o.after) == o.after;
            Check(o.kind != LocalOffsets::Unique || before, "a civil time reads back", bytes);
            Check(o.kind != LocalOffsets::Overlap || (before && after && o.before != o.after),
                  "an overlap reads back twice", bytes);
            Check(o.kind != LocalOffsets::Gap || (!before && !after), "a gap reads back never", bytes);
        }
    }
}

void FuzzZoneIndex(std::string_view bytes)
{
    const auto index = vantoril::astro::ZoneIndex::Parse(bytes);
    for (const std::string& name : index.Names()) {
        const auto zone = index.ZoneOf(name);
        Check(zone.has_value(), "a listed name leads to a zone", bytes);
        Check(index.ZoneOf(*zone) == zone, "a zone is its own zone", bytes);
    }
    for (const auto& [name, zone] : index.Links()) {
        Check(index.ZoneOf(name) == zone, "a link leads to its zone", bytes);
    }
}

void FuzzFoldedName(std::string_view bytes)
{
    const std::string folded = vantoril::astro::FoldedName(bytes);
    Check(std::none_of(folded.begin(), folded.end(),
                       [](char c) { return c == ' ' || c == '\t' || c == '_' || (c >= 'A' && c <= 'Z'); }),
          "a folded name has no blanks, '_' or capitals", bytes);
    Check(vantoril::astro::FoldedName(folded) == folded, "a folded name folds to itself", bytes);
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
    switch (data[0] % 6) {
    case 0:
        FuzzPlacesFile(bytes);
        break;
    case 1:
        FuzzZoneTable(bytes);
        break;
    case 2:
        FuzzCheckedPlacesFile(bytes);
        break;
    case 3:
        FuzzTzString(bytes);
        break;
    case 4:
        FuzzZoneIndex(bytes);
        break;
    default:
        FuzzFoldedName(bytes);
        break;
    }
    return 0;
}
