// SPDX-License-Identifier: MIT
// Civil times asked in time order, as a batch in a zone asks them, read as
// each reads alone: what a thread keeps from the last answer never changes
// the next, across the clocks' changes, the offset tables' edges and a day
// a zone skipped.
#include "astro/time/zones.h"
#include "astro/time/calendar.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <string>
#include <vector>

namespace vantoril::astro {
namespace {

struct Stretch {
    const char* zone;
    int year, month, day; // where it begins, 00:00 civil time
    int days;
};

class InTimeOrder : public ::testing::TestWithParam<Stretch> {};

TEST_P(InTimeOrder, ReadAsEachAlone)
{
    const Stretch s = GetParam();
    const std::int64_t first = DaysFromCivil(s.year, s.month, s.day) * 86400;
    const std::int64_t end = first + std::int64_t{s.days} * 86400;
    constexpr std::int64_t kStep = 7 * 60 + 30;
    const Zone ordered = Zone::Find(s.zone);
    std::vector<LocalOffsets> inOrder;
    for (std::int64_t local = first; local < end; local += kStep) inOrder.push_back(ordered.OffsetsOfLocal(local));
    // Another copy of the zone, asked of a time 40 years off before each
    // one, so that nothing kept from the time before can answer it.
    const Zone alone = Zone::Find(s.zone);
    constexpr std::int64_t kFar = std::int64_t{40} * 365 * 86400;
    std::size_t i = 0;
    for (std::int64_t local = first; local < end; local += kStep, ++i) {
        (void)alone.OffsetsOfLocal(local < 0 ? local + kFar : local - kFar);
        const LocalOffsets single = alone.OffsetsOfLocal(local);
        ASSERT_EQ(inOrder[i].kind, single.kind) << s.zone << " at " << local;
        ASSERT_EQ(inOrder[i].before, single.before) << s.zone << " at " << local;
        ASSERT_EQ(inOrder[i].after, single.after) << s.zone << " at " << local;
    }
}

std::string Label(const ::testing::TestParamInfo<Stretch>& info)
{
    std::string name = info.param.zone;
    for (char& ch : name) {
        if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
    }
    return name + "_" + std::to_string(info.param.year);
}

INSTANTIATE_TEST_SUITE_P(Zones, InTimeOrder,
                         ::testing::Values(
                             // Both changes of a year, and a half-hour one.
                             Stretch{"Europe/Paris", 2024, 3, 1, 250}, Stretch{"Australia/Lord_Howe", 2024, 3, 25, 200},
                             // The day Apia skipped, and a zone whose summer time changes often.
                             Stretch{"Pacific/Apia", 2011, 12, 20, 20}, Stretch{"America/Santiago", 2022, 3, 25, 200},
                             // The first table, from 1800, and the one from 1900.
                             Stretch{"Europe/Paris", 1799, 12, 20, 30}, Stretch{"America/New_York", 1899, 12, 20, 30},
                             // Past the listed changes, where the zone's yearly rule goes on.
                             Stretch{"Europe/Paris", 2037, 3, 20, 30}, Stretch{"Europe/Paris", 2599, 10, 20, 20}),
                         Label);

} // namespace
} // namespace vantoril::astro
