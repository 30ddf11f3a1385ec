// SPDX-License-Identifier: MIT
#include "astro/time/offset_spans.h"

#include <algorithm>

namespace vantoril::astro {

std::size_t SpanAt(const std::vector<OffsetSpan>& spans, std::int64_t utc)
{
    // Lines in time order fall in the span found last on this thread, or the
    // next: those are tried first. Only the spans' own times decide.
    thread_local std::size_t last = 0;
    for (std::size_t i = last; i < last + 2 && i + 1 < spans.size(); ++i) {
        if (spans[i].begin <= utc && utc < spans[i + 1].begin) return last = i;
    }
    const auto after = std::upper_bound(spans.begin(), spans.end(), utc,
                                        [](std::int64_t t, const OffsetSpan& s) { return t < s.begin; });
    last = after == spans.begin() ? 0 : static_cast<std::size_t>(after - spans.begin()) - 1;
    return last;
}

LocalOffsets OffsetsInSpans(const std::vector<OffsetSpan>& spans, std::int64_t local)
{
    // Each span whose UTC range holds local - its offset is a reading; none
    // is a gap, two an overlap.
    const std::size_t first = SpanAt(spans, local - kMaxZoneOffset);
    // The spans after it that begin by local + kMaxZoneOffset are few: walked
    // to, not searched for again. The last span only ends the one before.
    std::size_t last = first;
    while (last + 2 < spans.size() && spans[last + 1].begin <= local + kMaxZoneOffset) ++last;
    last = std::min(last, spans.size() - 2);
    LocalOffsets found{LocalOffsets::Gap, 0, 0};
    int readings = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const std::int64_t utc = local - spans[i].offset;
        if (utc >= spans[i].begin && utc < spans[i + 1].begin) {
            if (readings < 2) (readings == 0 ? found.before : found.after) = spans[i].offset;
            ++readings;
        } else if (readings == 0 && utc >= spans[i + 1].begin) {
            // Past this span's end in its own offset: if the next span does
            // not hold it either, it fell between them.
            found.before = spans[i].offset;
            found.after = spans[i + 1].offset;
        }
    }
    if (readings == 1) return {LocalOffsets::Unique, found.before, found.before};
    if (readings >= 2) found.kind = LocalOffsets::Overlap;
    return found;
}

} // namespace vantoril::astro
