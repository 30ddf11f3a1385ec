// SPDX-License-Identifier: MIT
#include "astro/observer/sexagesimal.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"

#include <algorithm>

namespace vantoril::astro {

bool ReadSexagesimal(std::string_view text, const std::array<char, 3>& letters, bool colons, double firstLimit,
                     double& value)
{
    static constexpr std::array<double, 3> kUnits = {1, 60, 3600};
    value = 0;
    std::size_t part = 0;
    while (!text.empty() && part < 3) {
        const char letter = letters[part];
        const std::size_t at =
            colons ? FindChar(text, ':') : FindIf(text, [letter](char c) { return (c | 0x20) == letter; });
        const std::string_view digits = text.substr(0, at);
        const bool last = at >= text.size() - 1;
        double read = 0;
        if (!ReadPlainDecimal(digits, read) || (!last && !AllDigits(digits))) return false;
        const double limit = part == 0 ? firstLimit : 60;
        if (limit > 0 && Beyond(digits, read, limit, true)) return false;
        value += read / kUnits[part];
        text.remove_prefix(std::min(at + 1, text.size()));
        ++part;
    }
    return text.empty() && part > 0;
}

} // namespace vantoril::astro
