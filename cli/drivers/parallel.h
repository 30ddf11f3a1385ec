// SPDX-License-Identifier: MIT
#pragma once

#include "cli/drivers/end_of_run.h"
#include "cli/io/line_reader.h"
#include "cli/io/output.h"
#include "cli/options/context.h"

#include <cstddef>
#include <span>
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
    // Lines a thread takes at a time when the lines are answered on several.
    [[nodiscard]] virtual std::size_t ChunkLines() const { return 256; }
};

// Appends the output line of one line of a source, its end included, and
// adds the cautions met to `cautions`; false when it is an error line.
using AnswerFunction = bool (*)(const Context& c, std::string_view line, LineKind kind, std::string& out,
                                unsigned& cautions);

// Every line of `source` answered by `answer` into `out`, in order, flushed
// block by block.
RunTally AnswerAll(const Context& c, LineSource& source, AnswerFunction answer, Output& out);

// A line as a source handed it on.
struct SourceLine {
    std::string_view text;
    LineKind kind = LineKind::Text;
};
// Lines a run holds at most.
inline constexpr std::size_t kRunLines = 16;
// Appends the output lines of a run of lines in order, as AnswerFunction
// does for one; false when any is an error line.
using AnswerRunFunction = bool (*)(const Context& c, std::span<const SourceLine> lines, std::string& out,
                                   unsigned& cautions);
// The same as AnswerAll, the lines handed to `answer` in runs of up to
// kRunLines: it can then work on several lines at each step.
RunTally AnswerAllInRuns(const Context& c, LineSource& source, AnswerRunFunction answer, Output& out);

} // namespace vantoril::cli
