// SPDX-License-Identifier: MIT
#include "cli/drivers/answer.h"

namespace vantoril::cli {

void AnswerQuery(const Context& c, const astro::Query& q, std::string& out, unsigned& cautions)
{
    const astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
    c.printer->Result(q, a, astro::HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

void AnswerRow(const Context& c, const astro::Query& q, const astro::InstantTexts& utc, std::string& out,
               unsigned& cautions)
{
    const astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
    c.printer->TableRow(q, utc, a, astro::HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

} // namespace vantoril::cli
