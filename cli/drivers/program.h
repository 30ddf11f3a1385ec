// SPDX-License-Identifier: MIT
#pragma once

#include <span>
#include <string_view>

namespace vantoril::cli {

// The whole of vantoril-lst: args are the arguments after the program name;
// input, output and errors are file descriptors (0, 1 and 2 in the program).
// Returns the exit status (cli/io/exit_status.h).
int RunProgram(std::span<const std::string_view> args, int input, int output, int errors);

} // namespace vantoril::cli
