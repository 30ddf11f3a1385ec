// SPDX-License-Identifier: MIT
#include "astro/observer/longitude.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"

#include <array>
#include <cmath>
#include <string>

namespace vantoril::astro {

namespace {

constexpr const char* kLongitudeForms = "a form like 79d51m0sW, 79:51:00W, \"79 51 0 W\", -79.85 or 79.85W";

// A value below `limit` as written stays below it as a double.
double Below(double value, double limit) { return value < limit ? value : std::nextafter(limit, 0.0); }

using Parts = std::array<std::string_view, 3>;

// 79d, 79d51m, 79d51m0s (the final letter of the last part optional).
bool SplitLettered(std::string_view body, Parts& parts, std::size_t& count)
{
    static constexpr std::array<char, 3> kLetters = {'d', 'm', 's'};
    while (!body.empty() && count < 3) {
        const char letter = kLetters[count];
        const auto at = FindIf(body, [letter](char c) { return (c | 0x20) == letter; });
        if (at == body.size()) {
            if (count == 0) return false;
            parts[count++] = body;
            return true;
        }
        parts[count++] = body.substr(0, at);
        body.remove_prefix(at + 1);
    }
    return body.empty();
}

bool SplitColoned(std::string_view body, Parts& parts, std::size_t& count)
{
    bool found = true;
    while (found && count < 3) {
        auto [head, tail] = SplitAt(body, ':', found);
        parts[count++] = head;
        body = tail;
    }
    return !found;
}

bool SplitBlanked(std::string_view body, Parts& parts, std::size_t& count)
{
    while (!body.empty()) {
        if (count == 3) return false;
        parts[count++] = body.substr(0, FindBlank(body));
        body.remove_prefix(parts[count - 1].size());
        body = Trim(body);
    }
    return true;
}

// Up to three parts of a longitude separated by one of the forms' separators.
bool SplitParts(std::string_view body, std::string_view text, Longitude& out)
{
    Parts parts{};
    std::size_t count = 0;
    auto isLetter = [](char c) { return c == 'd' || c == 'D' || c == 'm' || c == 'M' || c == 's' || c == 'S'; };
    bool split = false;
    if (FindIf(body, isLetter) < body.size()) {
        split = SplitLettered(body, parts, count);
    } else if (FindChar(body, ':') < body.size()) {
        split = SplitColoned(body, parts, count);
    } else {
        split = SplitBlanked(body, parts, count);
    }
    if (!split || count == 0) return false;
    std::array<double, 3> value = {0, 0, 0};
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReadPlainDecimal(parts[i], value[i])) return false;
    }
    if (Beyond(parts[0], value[0], 180, false) || Beyond(parts[1], value[1], 60, true) ||
        Beyond(parts[2], value[2], 60, true)) {
        throw InputError("longitude " + Quoted(text) + ": at most 180 degrees, minutes and seconds below 60");
    }
    out.degrees = value[0];
    out.minutes = Below(value[1], 60);
    out.seconds = Below(value[2], 60);
    out.degreesText = parts[0];
    out.minutesText = parts[1];
    out.secondsText = parts[2];
    out.east = out.degrees + out.minutes / 60 + out.seconds / 3600;
    return true;
}

// The most common form, a decimal number of degrees with its sign (-79.85,
// 2.35): read at once, as the general reader would read it. False for any
// other form.
bool ReadDecimalDegrees(std::string_view text, Longitude& lng)
{
    std::string_view body = text;
    const bool west = !body.empty() && body.front() == '-';
    if (west || (!body.empty() && body.front() == '+')) body.remove_prefix(1);
    double value = 0;
    if (!ReadFastDecimal(body, value) || value > 180) return false;
    lng.text = text;
    lng.degreesText = body;
    lng.degrees = value;
    lng.west = west;
    lng.east = west ? -value : value;
    return true;
}

} // namespace

Longitude ParseLongitude(std::string_view text)
{
    Longitude fast;
    if (ReadDecimalDegrees(text, fast)) return fast;
    std::string_view body = Trim(text);
    Longitude lng;
    lng.text = body;
    bool signed_ = false;
    bool lettered = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        signed_ = true;
        lng.west = body.front() == '-';
        body.remove_prefix(1);
    }
    if (!body.empty()) {
        const char last = body.back();
        if (last == 'E' || last == 'e' || last == 'W' || last == 'w') {
            lettered = true;
            lng.west = last == 'W' || last == 'w';
            body = Trim(body.substr(0, body.size() - 1));
        }
    }
    if (signed_ && lettered) throw InputError("longitude " + Quoted(text) + ": give a sign or E/W, not both");
    if (body.empty() || !SplitParts(body, text, lng)) ThrowExpected("longitude", text, kLongitudeForms);
    if (lng.east > 180) throw InputError("longitude " + Quoted(text) + ": at most 180 degrees");
    if (lng.west) lng.east = -lng.east;
    return lng;
}

} // namespace vantoril::astro
