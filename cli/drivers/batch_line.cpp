// SPDX-License-Identifier: MIT
#include "cli/drivers/batch_line.h"

#include "astro/base/chars.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/right_ascension.h"
#include "astro/time/instant.h"

#include <array>
#include <string>

namespace vantoril::cli {

using astro::FindBlank;
using astro::Trim;

namespace {

// The start of the last blank-separated field of a trimmed text.
std::size_t LastFieldStart(std::string_view text)
{
    std::size_t start = text.size();
    while (start > 0 && !astro::IsBlank(text[start - 1])) --start;
    return start;
}

// A catalogue place at the end of `rest`: RA DEC, the RA written as one, and
// what comes before them.
bool SplitCatalogue(std::string_view rest, bool longitudeOptional, std::string_view& before, std::string_view& ra,
                    std::string_view& dec)
{
    const std::size_t decStart = LastFieldStart(rest);
    if (decStart == 0) return false;
    const std::string_view head = Trim(rest.substr(0, decStart));
    const std::size_t raStart = LastFieldStart(head);
    if ((raStart == 0 && !longitudeOptional) || !astro::LooksLikeRightAscension(head.substr(raStart), raStart == 0)) {
        return false;
    }
    before = Trim(head.substr(0, raStart));
    ra = head.substr(raStart);
    dec = rest.substr(decStart);
    return true;
}

// What a character is to SplitPlainLine: part of a field (0), a blank (1),
// or what could make the first field one instant (ISO, JD, MJD, Unix time)
// or the line a comment (2), which the general reader decides.
constexpr std::array<unsigned char, 256> kPlainKinds = [] {
    std::array<unsigned char, 256> kinds{};
    kinds[' '] = kinds['\t'] = 1;
    for (const unsigned char c : {'T', 't', '@', '#', 'J', 'j', 'M', 'm'}) kinds[c] = 2;
    return kinds;
}();

// The line nearly every batch has, "DATE TIME LONGITUDE" split by single
// blanks, in one pass; false for any other (the general reader takes it).
bool SplitPlainLine(std::string_view line, BatchLine& out)
{
    std::array<std::size_t, 2> blank{};
    std::size_t blanks = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const unsigned char kind = kPlainKinds[static_cast<unsigned char>(line[i])];
        if (kind == 0) continue;
        if (kind == 2) return false;
        if (blanks == 2 || i == 0 || astro::IsBlank(line[i - 1])) return false;
        blank[blanks++] = i;
    }
    // The third field is then the longitude alone: a right ascension
    // needs a longitude before it.
    if (blanks != 2 || blank[1] + 1 >= line.size()) return false;
    out.empty = false;
    out.date = line.substr(0, blank[0]);
    out.time = line.substr(blank[0] + 1, blank[1] - blank[0] - 1);
    out.longitude = line.substr(blank[1] + 1);
    return true;
}

} // namespace

BatchLine SplitBatchLine(std::string_view line, bool longitudeOptional, bool catalogue)
{
    BatchLine out;
    if (!longitudeOptional && !catalogue && SplitPlainLine(line, out)) return out;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return out;
    out.empty = false;

    // Fields are separated by blanks; the longitude may itself hold blanks.
    // An instant is DATE TIME or one ISO 8601 field (it has a T).
    std::array<std::string_view, 2> head{};
    std::string_view rest = trimmed;
    const std::string_view first = rest.substr(0, FindBlank(rest));
    const bool iso = astro::IsOneFieldInstant(first);
    for (std::size_t n = 0; n < (iso ? 1U : 2U); ++n) {
        head[n] = rest.substr(0, FindBlank(rest));
        rest = Trim(rest.substr(head[n].size()));
        if (rest.empty() && (!longitudeOptional || n + 1 != (iso ? 1U : 2U))) {
            throw astro::InputError(std::string(iso ? "expected YYYY-MM-DDTHH:MM[:SS] LONGITUDE [RA]"
                                                    : "expected DATE TIME LONGITUDE [RA]") +
                                    ", found " + astro::Quoted(trimmed));
        }
    }
    out.date = head[0];
    out.time = head[1];
    if (catalogue && SplitCatalogue(rest, longitudeOptional, out.longitude, out.ra, out.dec)) return out;
    // What follows the time (all of the rest: the line is trimmed) is the
    // longitude, then a right ascension when the last field is written as
    // one and is not the longitude's only field.
    const std::size_t lastStart = LastFieldStart(rest);
    const std::string_view last = rest.substr(lastStart);
    if ((lastStart > 0 || longitudeOptional) && astro::LooksLikeRightAscension(last, lastStart == 0)) {
        out.ra = last;
        out.longitude = Trim(rest.substr(0, lastStart));
    } else {
        out.longitude = rest;
    }
    return out;
}

DayLine SplitDayLine(std::string_view line, bool targetRequired, const char* form, bool catalogue,
                     bool longitudeOptional)
{
    DayLine out;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return out;
    out.empty = false;
    const std::size_t split = FindBlank(trimmed);
    out.date = trimmed.substr(0, split);
    const std::string_view rest = Trim(trimmed.substr(split));
    if (rest.empty()) {
        if (longitudeOptional && !targetRequired) return out;
        throw astro::InputError(form + astro::Quoted(trimmed));
    }
    if (catalogue && SplitCatalogue(rest, longitudeOptional, out.longitude, out.target, out.dec)) return out;
    // As in the instants' lines: a last field written as a right ascension,
    // not the only one (or, with a place, even the only one), is the target.
    const std::size_t lastStart = LastFieldStart(rest);
    const std::string_view last = rest.substr(lastStart);
    const bool hasTarget = (lastStart > 0 || longitudeOptional) && astro::LooksLikeRightAscension(last, lastStart == 0);
    if (!hasTarget && targetRequired) throw astro::InputError(form + astro::Quoted(trimmed));
    out.longitude = hasTarget ? Trim(rest.substr(0, lastStart)) : rest;
    if (hasTarget) out.target = last;
    return out;
}

} // namespace vantoril::cli
