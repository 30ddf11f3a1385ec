// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/posix_tz.h"
#include "astro/time/zones.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// A zone's offsets as spans of UTC (posix_tz.h), searched.

namespace vantoril::astro {

// No zone's offset reaches this; a civil time's UTC readings lie within it.
inline constexpr std::int64_t kMaxZoneOffset = std::int64_t{26} * 3600;

// The span holding the UTC second `utc` (the first for one before them all).
std::size_t SpanAt(const std::vector<OffsetSpan>& spans, std::int64_t utc);

// The offsets of a civil time from spans that cover its UTC readings (every
// local - offset), the last span only ending the one before it.
LocalOffsets OffsetsInSpans(const std::vector<OffsetSpan>& spans, std::int64_t local);

} // namespace vantoril::astro
