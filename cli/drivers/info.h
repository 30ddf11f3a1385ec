// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/options.h"

// What the program tells of itself: --help, --version, the completion
// scripts and the names they complete.

namespace vantoril::cli {

// Answers --help, --version, --completion or --complete, whichever is asked
// (in that order); false when none is.
bool RunInfo(const Options& o, int output, int errors, int& status);

} // namespace vantoril::cli
