// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/context.h"

namespace vantoril::cli {

// One answer: LONGITUDE (or the place) at DATE [TIME], or now.
int RunSingle(const Context& c, int output, int errors);

} // namespace vantoril::cli
