// SPDX-License-Identifier: MIT
#pragma once

#include "astro/time/instant.h"

#include <string>

namespace vantoril::cli {

// The instant as YYYY-MM-DDTHH:MM:SS[.f] with a day past its month's end
// counted on into the next month: the instant the calculation used.
void AppendNormalisedUtc(std::string& out, const astro::Instant& at);

// The date and time as typed, `between` them.
void AppendTypedDateTime(std::string& out, const astro::Instant& at, char between);

} // namespace vantoril::cli
