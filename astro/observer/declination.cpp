// SPDX-License-Identifier: MIT
#include "astro/observer/declination.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/quoted.h"

#include <array>

namespace vantoril::astro {

namespace {

// Degrees, minutes and seconds split by colons or by the letters d, m, s.
bool ReadParts(std::string_view body, double& degrees)
{
    const bool lettered = FindIf(body, [](char c) { return (c | 0x20) == 'd'; }) < body.size();
    static constexpr std::array<char, 3> kLetters = {'d', 'm', 's'};
    static constexpr std::array<double, 3> kUnits = {1, 60, 3600};
    degrees = 0;
    std::size_t part = 0;
    while (!body.empty() && part < 3) {
        const char letter = kLetters[part];
        const std::size_t at =
            lettered ? FindIf(body, [letter](char c) { return (c | 0x20) == letter; }) : FindChar(body, ':');
        const std::string_view digits = body.substr(0, at);
        const bool last = at >= body.size() - 1;
        double value = 0;
        if (!ReadPlainDecimal(digits, value) || (!last && !AllDigits(digits))) return false;
        if (part > 0 && Beyond(digits, value, 60, true)) return false;
        degrees += value / kUnits[part];
        body.remove_prefix(std::min(at + 1, body.size()));
        ++part;
    }
    return body.empty() && part > 0;
}

} // namespace

Declination ParseDeclination(std::string_view text)
{
    std::string_view body = text;
    bool south = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        south = body.front() == '-';
        body.remove_prefix(1);
    }
    double degrees = 0;
    if (!ReadParts(body, degrees) || degrees > 90) ThrowExpected("declination", text, kDeclinationForms);
    return {text, south ? -degrees : degrees};
}

} // namespace vantoril::astro
