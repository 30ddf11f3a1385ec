// SPDX-License-Identifier: MIT
#pragma once

#include "astro/observer/right_ascension.h"
#include "cli/options/options.h"

#include <cstdint>
#include <string_view>

// The readers of option values that are the command line's own (the core
// reads instants, longitudes and right ascensions). Each throws UsageError
// naming its option.

namespace vantoril::cli {

// A --from/--to range may give at most this many rows (a step typed too
// small is caught before it runs for hours); --count has no such limit.
inline constexpr std::int64_t kMaxRangeRows = 100'000'000;
// --count's own ceiling, far beyond any table that could be written out.
inline constexpr std::int64_t kMaxCount = 1'000'000'000'000'000;

// --dut1's value: seconds from -0.9 to 0.9 as 0.3, -.25, 5. or 3e-1, of any
// length, judged by their exact decimal value.
double ParseDut1(std::string_view text);

// --step: 30s, 10m, 1h, 1d or plain seconds (1.5), above zero.
Duration ParseDuration(std::string_view text);

// --count: a whole number of rows from 1 to kMaxCount.
std::int64_t ParseCount(std::string_view text);

// --transit's and --when's value: a right ascension or sidereal time, or "-"
// for one on each batch line (`perLine`).
astro::RightAscension ParseTarget(std::string_view option, std::string_view value, bool& perLine);

} // namespace vantoril::cli
