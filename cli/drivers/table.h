// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/context.h"

// Tables: --from INSTANT --step DURATION, --to INSTANT or --count N rows.

namespace vantoril::cli {

int RunTable(const Context& c, int output, int errors);

} // namespace vantoril::cli
