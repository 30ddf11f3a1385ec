// SPDX-License-Identifier: MIT
#include "cli/drivers/day.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "cli/drivers/batch_line.h"
#include "cli/drivers/end_of_run.h"
#include "cli/io/output.h"
#include "cli/options/failure.h"

#include <stdexcept>

namespace vantoril::cli {

astro::Event EventOf(const Options& o)
{
    if (o.when) return astro::Event::SiderealTime;
    return o.lower ? astro::Event::LowerTransit : astro::Event::Transit;
}

void AnswerDaySearch(const Context& c, const astro::DaySearch& s, std::string& out, unsigned& cautions)
{
    const Printer& printer = *c.printer;
    // The iau2006 model's instants to the microsecond unless asked otherwise.
    const int decimals = c.options.precision >= 0 ? c.options.precision : 6;
    const astro::DayResult result = astro::SearchDay(s, c.model, decimals, c.scales);
    bool any = false;
    for (const astro::PrintedInstant& p : result.instants) {
        astro::SiderealAnswer answer;
        if (printer.ShowsDaySidereal()) {
            answer = astro::Evaluate(c.model, astro::QueryOf(p, s.longitude), c.scales);
        } else {
            answer.ut1 = result.searched;
        }
        if (any) out += '\n';
        printer.DayInstant(s, p, answer, out);
        cautions |= astro::RunCautions(answer, c.scales);
        any = true;
    }
    if (!any) printer.DayNone(s, result, out);
}

bool AnswerDayLine(const Context& c, std::string_view line, std::string& out, unsigned& cautions)
{
    const Options& o = c.options;
    const DayLine fields = SplitDayLine(line, o.targetPerLine,
                                        o.when  ? "expected DATE LONGITUDE [LST], found "
                                        : o.dec ? "expected DATE LONGITUDE [RA DEC], found "
                                                : "expected DATE LONGITUDE [RA], found ",
                                        o.dec.has_value(), c.place.has_value());
    if (fields.empty) return false;
    astro::DaySearch s;
    s.event = EventOf(o);
    s.zone = &c.zone;
    s.span = astro::CivilDay(astro::ParseDate(fields.date), c.zone, o.modelName == ModelName::Iau2006);
    s.longitude = c.place && fields.longitude.empty() ? c.KnownLongitude() : astro::ParseLongitude(fields.longitude);
    if (!fields.target.empty()) {
        try {
            s.target = astro::ParseRightAscension(fields.target);
        } catch (const astro::InputError&) {
            throw astro::InputError(std::string(o.when ? "sidereal time " : "right ascension ") +
                                    astro::Quoted(fields.target) + ": expected " + astro::kRightAscensionForms);
        }
    } else if (o.when) {
        s.target = *o.when;
    } else if (o.transit) {
        s.target = *o.transit;
    }
    if (o.dec) {
        if (fields.dec.empty() && (o.decPerLine || !fields.target.empty())) {
            throw astro::InputError("expected DATE LONGITUDE [RA DEC], a catalogue place (--dec)");
        }
        s.dec = fields.dec.empty() ? o.dec : std::optional(astro::ParseDeclination(fields.dec));
    }
    AnswerDaySearch(c, s, out, cautions);
    return true;
}

int RunDay(const Context& c, int output, int errors)
{
    const Options& o = c.options;
    Output out(output);
    RunTally tally;
    try {
        astro::DaySearch search;
        search.event = EventOf(o);
        // The options hold one of --when and --transit for a day search.
        const std::optional<astro::RightAscension>& target = o.when ? o.when : o.transit;
        if (!target) throw astro::InputError("expected --transit or --when");
        search.target = *target;
        search.dec = o.dec;
        search.longitude =
            o.place ? c.KnownLongitude() : astro::ParseLongitude(o.longitude.value_or(std::string_view{}));
        search.zone = &c.zone;
        search.span = astro::CivilDay(astro::ParseDate(o.date.value_or(std::string_view{})), c.zone,
                                      o.modelName == ModelName::Iau2006);
        AnswerDaySearch(c, search, out.buffer(), tally.cautions);
    } catch (const std::runtime_error&) {
        return FailureStatus(errors);
    }
    out.buffer() += '\n';
    return FinishRun(c, out, tally, errors);
}

} // namespace vantoril::cli
