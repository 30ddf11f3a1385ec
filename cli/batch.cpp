// SPDX-License-Identifier: MIT
#include "cli/batch.h"

#include "cli/lst.h"
#include "cli/output.h"
#include "cli/program.h"

#include <algorithm>
#include <barrier>
#include <cstring>
#include <thread>
#include <vector>

#include <sched.h>

namespace vantoril::cli {

void AppendError(const Options& o, std::string_view reason, std::string& out)
{
    if (o.format == Format::Json) {
        out += "{\"error\":";
        AppendJsonString(out, reason);
        out += '}';
    } else {
        out.append("error: ").append(reason);
    }
}

bool AnswerLine(const Options& o, std::string_view line, LineKind kind, std::string& out)
{
    const std::size_t mark = out.size();
    bool ok = true;
    try {
        if (kind == LineKind::TooLong) {
            throw InputError("line longer than " + std::to_string(LineReader::kMaxLine) + " bytes");
        }
        const BatchLine fields = kind == LineKind::Text ? SplitBatchLine(line) : BatchLine{};
        if (fields.empty) {
            // Blank in text, so a file of results lines up with its input;
            // JSON Lines have no blank line, so there it is null.
            if (o.format == Format::Json) out += "null";
        } else {
            // Built in place, read in this order (a braced list is evaluated
            // left to right): a Query cleared first and then assigned cost
            // a few percent of a line.
            const Query q{ParseDate(fields.date), ParseTime(fields.time), ParseLongitude(fields.longitude),
                          fields.ra.empty() ? o.ra : std::optional(ParseRightAscension(fields.ra))};
            AppendResult(o, q, out);
        }
    } catch (const std::runtime_error& e) { // InputError or RunTimeError
        out.resize(mark);
        AppendError(o, e.what(), out);
        ok = false;
    }
    out += '\n';
    return ok;
}

namespace {

// Processors this process may run on.
unsigned Processors()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return static_cast<unsigned>(std::clamp(CPU_COUNT(&set), 1, 16));
}

// The lines already in the reader's buffer are cut into one slice per
// thread; each answers its slice into a text of its own, and the texts are
// written in order. The threads are started once and meet at two barriers
// per block: the lines stay valid meanwhile, as nothing is read until the
// block is answered.
class ParallelAnswers {
public:
    ParallelAnswers(const Options& o, unsigned threads) : o_(o), slices_(threads), start_(threads), done_(threads)
    {
        for (unsigned n = 1; n < threads; ++n) workers_.emplace_back([this, n] { Work(n); });
    }

    ParallelAnswers(const ParallelAnswers&) = delete;
    ParallelAnswers& operator=(const ParallelAnswers&) = delete;

    ~ParallelAnswers()
    {
        quit_ = true;
        start_.arrive_and_wait();
        for (auto& worker : workers_) worker.join();
    }

    // Returns whether any line failed.
    bool Run(LineReader& reader, Output& out)
    {
        bool anyFailed = false;
        while (!out.failed()) {
            lines_.clear();
            std::string_view line;
            LineKind kind = LineKind::Text;
            while (reader.Next(line, kind, lines_.empty())) lines_.push_back({line, kind});
            if (lines_.empty()) break;
            // A few lines are not worth waking the threads for.
            active_ = lines_.size() >= 256 ? static_cast<unsigned>(slices_.size()) : 1;
            start_.arrive_and_wait();
            Answer(0);
            done_.arrive_and_wait();
            for (unsigned n = 0; n < active_; ++n) {
                out.buffer() += slices_[n].answers;
                anyFailed = anyFailed || slices_[n].failed;
            }
            out.Flush();
        }
        return anyFailed;
    }

private:
    struct Line {
        std::string_view text;
        LineKind kind;
    };
    // Each slice's text on cache lines of its own: the threads append to them
    // line by line, and shared lines would bounce between the processors.
    struct alignas(64) Slice {
        std::string answers;
        bool failed = false;
    };

    void Work(unsigned n)
    {
        for (;;) {
            start_.arrive_and_wait();
            if (quit_) return;
            Answer(n);
            done_.arrive_and_wait();
        }
    }

    void Answer(unsigned n)
    {
        Slice& mine = slices_[n];
        mine.answers.clear();
        mine.failed = false;
        if (n >= active_) return;
        const std::size_t first = lines_.size() * n / active_;
        const std::size_t last = lines_.size() * (n + 1) / active_;
        for (std::size_t i = first; i < last; ++i) {
            if (!AnswerLine(o_, lines_[i].text, lines_[i].kind, mine.answers)) mine.failed = true;
        }
    }

    const Options& o_;
    std::vector<Line> lines_;
    std::vector<Slice> slices_;
    unsigned active_ = 1;
    bool quit_ = false; // written before a barrier, read after it
    std::barrier<> start_;
    std::barrier<> done_;
    std::vector<std::thread> workers_;
};

} // namespace

int RunBatch(const Options& o, int input, int output, int errors)
{
    LineReader reader(input);
    Output out(output);
    bool anyFailed = false;
    const unsigned threads = Processors();
    if (threads > 1) {
        ParallelAnswers answers(o, threads);
        anyFailed = answers.Run(reader, out);
    } else {
        std::string_view line;
        LineKind kind = LineKind::Text;
        while (!out.failed() && reader.Next(line, kind)) {
            if (!AnswerLine(o, line, kind, out.buffer())) anyFailed = true;
            out.FlushIfFull();
        }
    }
    if (!out.Flush()) return OutputFailure(errors, out.error());
    if (reader.error() != 0) {
        Complain(errors, std::string("cannot read the input: ") + std::strerror(reader.error()));
        return kExitFailed;
    }
    return anyFailed ? kExitFailed : kExitOk;
}

} // namespace vantoril::cli
