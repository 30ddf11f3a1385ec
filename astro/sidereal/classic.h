// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/query.h"
#include "engine/sidereal.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The classic model: the window's own calculation (engine/), text for text.

namespace vantoril::astro {

// The text the window shows for a classic result, h:m:s, kept without
// allocating: a batch makes a million of them.
struct ClassicText {
    std::array<char, kLstTextSize> chars{};
    std::size_t size = 0;
    [[nodiscard]] std::string_view view() const { return {chars.data(), size}; }
};

// The same texts through the same conversions in the order of the window's
// change procedures and its compute command. Returns the text the window
// would show; lstHours receives the unrounded sidereal time in hours.
// Throws RunTimeError as the window would report it, CalculationError for
// a second of 60 or more.
ClassicText ClassicLst(const Query& q, double& lstHours);

// The whole seconds of the window's h:m:s text.
std::int64_t ClockSeconds(std::string_view text);

} // namespace vantoril::astro
