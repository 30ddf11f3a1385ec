// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string_view>

namespace vantoril::astro {

// Up to three parts, whole units, sixtieths and 3600ths, split by the three
// `letters` (5h35m17.3s, -5d23m28s; the last letter may be left out) or, with
// `colons`, by colons (05:35:17.3): only the last part written may have
// decimals; the parts after the first are below 60, the first below
// `firstLimit` (none when 0). Into `value`, in whole units; false for any
// other text.
bool ReadSexagesimal(std::string_view text, const std::array<char, 3>& letters, bool colons, double firstLimit,
                     double& value);

} // namespace vantoril::astro
