// SPDX-License-Identifier: MIT
#pragma once

#include "cli/arguments.h"
#include "cli/line_reader.h"
#include "cli/output.h"

#include <string>
#include <string_view>

namespace vantoril::cli {

// Appends the output line of one input line, newline included: the result,
// an error line, or for a blank or # line an empty line (null in JSON).
// False when it is an error line.
bool AnswerLine(const Options& o, std::string_view line, LineKind kind, std::string& out);

// Appends the error line for `reason` in the options' format, no newline.
void AppendError(const Options& o, std::string_view reason, std::string& out);

// Lines to answer: LineReader's, or a table's instants.
class LineSource {
public:
    virtual ~LineSource() = default;
    // As LineReader::Next: false at the end, and (when mayRead is false)
    // where the next line is not at hand yet; lines returned stay valid
    // until the next call that may read.
    virtual bool Next(std::string_view& line, LineKind& kind, bool mayRead) = 0;
};

// Appends the output line of one line of a source, newline included; false
// when it is an error line.
using AnswerFunction = bool (*)(const Options& o, std::string_view line, LineKind kind, std::string& out);

// Every line of `source` answered by `answer` into `out`, in order, on the
// processors this process may use, flushed block by block. Returns whether
// any line failed.
bool AnswerAll(const Options& o, LineSource& source, AnswerFunction answer, Output& out);

// --batch: one output line for each line of input, in order.
int RunBatch(const Options& o, int input, int output, int errors);

} // namespace vantoril::cli
