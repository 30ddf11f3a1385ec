// SPDX-License-Identifier: MIT
#pragma once

#include "astro/search/day_search.h"
#include "cli/options/context.h"

#include <string>
#include <string_view>

// --transit and --when: the instants of a day when a right ascension
// culminates or a sidereal time comes.

namespace vantoril::cli {

// The event the options ask for.
astro::Event EventOf(const Options& o);

// Appends a line for each instant found, "\n" between them and none after;
// for a day without one, a line that says so. Throws what the search
// throws.
void AnswerDaySearch(const Context& c, const astro::DaySearch& s, std::string& out, unsigned& cautions);

// A batch line "DATE LONGITUDE [TARGET]" answered as above; a blank or #
// line has no fields (false).
bool AnswerDayLine(const Context& c, std::string_view line, std::string& out, unsigned& cautions);

// The day of the command line.
int RunDay(const Context& c, int output, int errors);

} // namespace vantoril::cli
