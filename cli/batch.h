// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"
#include "cli/line_reader.h"

#include <string>
#include <string_view>

namespace vantoril::cli {

// Appends the output line of one input line, newline included: the result,
// an error line, or for a blank or # line an empty line (null in JSON).
// False when it is an error line.
bool AnswerLine(const Options& o, std::string_view line, LineKind kind, std::string& out);

// Appends the error line for `reason` in the options' format, no newline.
void AppendError(const Options& o, std::string_view reason, std::string& out);

// --batch: one output line for each line of input, in order.
int RunBatch(const Options& o, int input, int output, int errors);

} // namespace vantoril::cli
