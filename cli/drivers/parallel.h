// SPDX-License-Identifier: MIT
#pragma once

#include "cli/drivers/end_of_run.h"
#include "cli/io/line_reader.h"
#include "cli/io/output.h"
#include "cli/options/context.h"

#include <string>
#include <string_view>

// Answering many lines on every processor the process may use, in order.

namespace vantoril::cli {

// Lines to answer: LineReader's, or a table's instants.
class LineSource {
public:
    virtual ~LineSource() = default;
    // As LineReader::Next: false at the end, and (when mayRead is false)
    // where the next line is not at hand yet; lines returned stay valid
    // until the next call that may read.
    virtual bool Next(std::string_view& line, LineKind& kind, bool mayRead) = 0;
};

// Appends the output line of one line of a source, its end included, and
// adds the cautions met to `cautions`; false when it is an error line.
using AnswerFunction = bool (*)(const Context& c, std::string_view line, LineKind kind, std::string& out,
                                unsigned& cautions);

// Every line of `source` answered by `answer` into `out`, in order, flushed
// block by block.
RunTally AnswerAll(const Context& c, LineSource& source, AnswerFunction answer, Output& out);

} // namespace vantoril::cli
