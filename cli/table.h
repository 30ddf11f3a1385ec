// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"

#include <cstdint>
#include <string_view>

// Tables: --from INSTANT --to INSTANT --step DURATION, or --count N rows.

namespace vantoril::cli {

// A --from/--to range may give at most this many rows (a step typed too
// small is caught before it runs for hours); --count has no such limit.
inline constexpr std::int64_t kMaxRangeRows = 100'000'000;
// --count's own ceiling, far beyond any table that could be written out.
inline constexpr std::int64_t kMaxCount = 1'000'000'000'000'000;

// A step: 30s, 10m, 1h, 1d or plain seconds (1.5), above zero, in
// nanoseconds; decimals counts the fraction digits rows need to show it.
struct Duration {
    std::int64_t nanoseconds = 0;
    int decimals = 0;
};
// Throws UsageError naming --step.
Duration ParseDuration(std::string_view text);
// A whole number of rows from 1 to kMaxCount. Throws UsageError naming --count.
std::int64_t ParseCount(std::string_view text);

// The table of the options (o.from set; o.site holds the longitude).
int RunTable(const Options& o, int output, int errors);

} // namespace vantoril::cli
