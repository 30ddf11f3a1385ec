// SPDX-License-Identifier: MIT
#include "cli/drivers/single.h"

#include "cli/drivers/answer.h"
#include "cli/drivers/end_of_run.h"
#include "cli/io/output.h"
#include "cli/options/failure.h"

#include <ctime>
#include <stdexcept>

namespace vantoril::cli {

namespace {

// The system clock's reading as texts to the microsecond, so that "now" goes
// through the same readers as a typed instant.
astro::InstantTexts Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    astro::InstantTexts texts;
    astro::WriteUtcTexts(now.tv_sec, now.tv_nsec, 6, texts);
    return texts;
}

// The query of the command line. Throws the readers' errors.
astro::Query QueryOf(const Context& c, const astro::InstantTexts& now, astro::InstantTexts& texts)
{
    const Options& o = c.options;
    astro::Query q;
    // The options were refused without a longitude; an empty one is refused here too.
    q.longitude = o.place ? c.KnownLongitude() : astro::ParseLongitude(o.longitude.value_or(std::string_view{}));
    q.ra = o.ra;
    q.dec = o.dec;
    if (o.date) {
        const std::string_view midnight = astro::IsOneFieldInstant(*o.date) ? std::string_view() : "00:00:00";
        astro::ReadInstant(*o.date, o.time.value_or(midnight), c.zone, o.fold, q, texts);
    } else {
        q.date = astro::ParseDate(now.Date());
        q.time = astro::ParseTime(now.Time());
    }
    return q;
}

} // namespace

int RunSingle(const Context& c, int output, int errors)
{
    const astro::InstantTexts now = Now();
    astro::Query q;
    astro::InstantTexts texts;
    try {
        q = QueryOf(c, now, texts);
    } catch (const std::runtime_error&) {
        return FailureStatus(errors);
    }
    Output out(output);
    c.printer->Begin(out.buffer());
    RunTally tally;
    try {
        AnswerQuery(c, q, out.buffer(), tally.cautions);
    } catch (const std::runtime_error&) {
        return FailureStatus(errors);
    }
    c.printer->EndLine(out.buffer());
    return FinishRun(c, out, tally, errors);
}

} // namespace vantoril::cli
