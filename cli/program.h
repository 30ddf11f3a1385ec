// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

namespace vantoril::cli {

// Exit statuses: every result given; some line or the calculation failed (or
// the output could not be written); the command line was wrong.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

// The whole of vantoril-lst: args are the arguments after the program name;
// input, output and errors are file descriptors (0, 1 and 2 in the program).
int RunProgram(std::span<const std::string_view> args, int input, int output, int errors);

} // namespace vantoril::cli
