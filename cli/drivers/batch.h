// SPDX-License-Identifier: MIT
#pragma once

#include "cli/io/line_reader.h"
#include "cli/options/context.h"

#include <string>
#include <string_view>

// --batch: one output line for each line of input, in order.

namespace vantoril::cli {

// Appends the output line of one input line, its end included: the result,
// an error line, or for a blank or # line an empty line (null in JSON).
// False when it is an error line.
bool AnswerLine(const Context& c, std::string_view line, LineKind kind, std::string& out, unsigned& cautions);

int RunBatch(const Context& c, int input, int output, int errors);

} // namespace vantoril::cli
