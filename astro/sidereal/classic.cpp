// SPDX-License-Identifier: MIT
#include "astro/sidereal/classic.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "runtime/conversions.h"

#include <string>

namespace vantoril::astro {

ClassicText ClassicLst(const Query& q, double& lstHours)
{
    if (q.time.second >= 60) {
        throw CalculationError("time " + Quoted(q.time.secondText) + ": the classic model takes seconds below 60");
    }
    // The parsed values are what LenientNumber gives for the same texts (both
    // read plain decimals correctly rounded) and StrictSingle for the small
    // whole numbers of the lists; reading each text once more through them
    // would cost most of a batch line.
    WorkingValues v;
    // What the change procedures store as the boxes are filled in.
    v.LngD = q.longitude.degrees;
    v.LngM = q.longitude.minutes;
    v.LngS = q.longitude.seconds;
    v.Minute = StoreSingle(q.time.minute);
    v.Second = StoreSingle(q.time.second);
    // The compute command, reads and runs interleaved as it does them. A year
    // of more digits than a long long holds goes through the box's reader.
    v.Year = StoreSingle(q.date.year >= 0 ? static_cast<double>(q.date.year) : LenientNumber(q.date.yearText));
    v.Month = static_cast<float>(q.date.month);
    ComputeLstStep1(v);
    v.Day = static_cast<float>(q.date.day);
    v.EWSign = q.longitude.west ? -1 : 1;
    ComputeLstSteps2To5(v);
    v.Hour = static_cast<float>(q.time.hour);
    ComputeLstSteps6To16(v);
    ClassicText text;
    text.size = static_cast<std::size_t>(FormatLst(v, text.chars.data()) - text.chars.data());
    lstHours = v.LST;
    return text;
}

std::int64_t ClockSeconds(std::string_view text)
{
    std::int64_t seconds = 0;
    std::int64_t field = 0;
    for (const char c : text) {
        if (c == ':') {
            seconds = (seconds + field) * 60;
            field = 0;
        } else {
            field = field * 10 + (c - '0');
        }
    }
    return seconds + field;
}

} // namespace vantoril::astro
