// SPDX-License-Identifier: MIT
#include "cli/drivers/answer.h"

namespace vantoril::cli {

namespace {

astro::SiderealAnswer Answer(const Context& c, const astro::Query& q)
{
    astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
    if (!c.options.show.empty()) a.set = astro::Iau2006Set(q, c.scales, nullptr);
    return a;
}

} // namespace

void PrintAnswer(const Context& c, const astro::Query& q, const astro::SiderealAnswer& a, std::string& out,
                 unsigned& cautions)
{
    c.printer->Result(q, a, astro::HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

void AnswerQuery(const Context& c, const astro::Query& q, std::string& out, unsigned& cautions)
{
    PrintAnswer(c, q, Answer(c, q), out, cautions);
}

void AnswerRow(const Context& c, const astro::Query& q, const astro::InstantTexts& utc, std::string& out,
               unsigned& cautions)
{
    const astro::SiderealAnswer a = Answer(c, q);
    c.printer->TableRow(q, utc, a, astro::HourAngleOf(q, a), out);
    cautions |= astro::RunCautions(a, c.scales);
}

} // namespace vantoril::cli
