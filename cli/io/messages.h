// SPDX-License-Identifier: MIT
#pragma once

#include <string_view>

// The program's messages on standard error, and the status each kind of
// failure ends the run with.

namespace vantoril::cli {

// "vantoril-lst: <message>" on a line of its own.
void Complain(int errors, std::string_view message);
// The message, a pointer to --help, and the usage status.
int UsageFailure(int errors, std::string_view message);
// The message and the failure status: an answer could not be given.
int AnswerFailure(int errors, std::string_view message);
// Why the output could not be written, and the failure status.
int OutputFailure(int errors, int error);

} // namespace vantoril::cli
