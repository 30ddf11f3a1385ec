// SPDX-License-Identifier: MIT
#pragma once

#include "cli/options/options.h"

#include <span>
#include <string_view>
#include <vector>

namespace vantoril::cli {

// The arguments after the program name, scanned over the option table and
// checked as a whole. Throws UsageError. The views point into args, which
// must outlive the result.
Options ParseOptions(std::span<const std::string_view> args);

// The checks of the options as a whole, and the arguments that are not
// options (LONGITUDE, DATE, TIME) put where the mode takes them
// (checks.cpp). Throws UsageError.
void CheckOptions(Options& o, const std::vector<std::string_view>& positional);

} // namespace vantoril::cli
