// SPDX-License-Identifier: MIT
#include "astro/observer/declination.h"

#include "astro/base/chars.h"
#include "astro/base/quoted.h"
#include "astro/observer/sexagesimal.h"

namespace vantoril::astro {

Declination ParseDeclination(std::string_view text)
{
    std::string_view body = text;
    bool south = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        south = body.front() == '-';
        body.remove_prefix(1);
    }
    double degrees = 0;
    const bool lettered = FindIf(body, [](char c) { return (c | 0x20) == 'd'; }) < body.size();
    if (!ReadSexagesimal(body, {'d', 'm', 's'}, !lettered, 0, degrees) || degrees > 90) {
        ThrowExpected("declination", text, kDeclinationForms);
    }
    return {text, south ? -degrees : degrees};
}

} // namespace vantoril::astro
