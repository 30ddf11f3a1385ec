// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace vantoril::cli {

// The completion script for "bash", "zsh" or "fish", made from the option
// table: option names, the values of the options that take one of a few,
// files for --eop, and zone and place names asked of the program itself
// (vantoril-lst --complete tz|place), so that the user's places file counts.
std::string CompletionScript(std::string_view shell);

} // namespace vantoril::cli
