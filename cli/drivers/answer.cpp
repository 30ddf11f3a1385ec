// SPDX-License-Identifier: MIT
#include "cli/drivers/answer.h"

namespace vantoril::cli {

namespace {

double HourAngleOf(const astro::Query& q, const astro::SiderealAnswer& a)
{
    return q.ra ? astro::HourAngle(a.lstHours, q.ra->hours) : 0.0;
}

} // namespace

void AnswerQuery(const Context& c, const astro::Query& q, std::string& out, unsigned& cautions)
{
    const astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
    c.printer->Result(q, a, HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

void AnswerRow(const Context& c, const astro::Query& q, const astro::InstantTexts& utc, std::string& out,
               unsigned& cautions)
{
    const astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
    c.printer->TableRow(q, utc, a, HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

} // namespace vantoril::cli
