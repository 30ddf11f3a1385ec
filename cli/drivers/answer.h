// SPDX-License-Identifier: MIT
#pragma once

#include "astro/sidereal/query.h"
#include "astro/time/instant.h"
#include "cli/options/context.h"

#include <string>

// One query answered by the run's model and printed by its printer: the
// step every mode shares.

namespace vantoril::cli {

// Appends the result line for q (without its end). Throws what the model
// throws; out is then unchanged. The answer's cautions are added to
// `cautions`.
void AnswerQuery(const Context& c, const astro::Query& q, std::string& out, unsigned& cautions);

// The second half of that, for an answer already worked out: its line and
// its cautions.
void PrintAnswer(const Context& c, const astro::Query& q, const astro::SiderealAnswer& a, std::string& out,
                 unsigned& cautions);

// The same as a table's row, `utc` holding the row's instant as text.
void AnswerRow(const Context& c, const astro::Query& q, const astro::InstantTexts& utc, std::string& out,
               unsigned& cautions);

} // namespace vantoril::cli
