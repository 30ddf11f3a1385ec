// SPDX-License-Identifier: MIT
#pragma once

#include "cli/io/output.h"
#include "cli/options/context.h"

#include <string_view>

// How every mode ends: the output written out, the cautions met said once
// (unless each line carried its own), and the exit status.

namespace vantoril::cli {

struct RunTally {
    bool anyFailed = false; // some line or answer could not be given
    unsigned cautions = 0;  // met by any answer
};

// Flushes `out` (a failure to write is the run's failure), warns of the
// cautions, says `failure` when there is one, and returns the status.
int FinishRun(const Context& c, Output& out, const RunTally& tally, int errors, std::string_view failure = {});

} // namespace vantoril::cli
