// SPDX-License-Identifier: MIT
#include "cli/batch.h"

#include "cli/csv.h"
#include "cli/instants.h"
#include "cli/lst.h"
#include "cli/output.h"
#include "cli/program.h"
#include "cli/site.h"
#include "cli/transit.h"

#include <algorithm>
#include <barrier>
#include <cstring>
#include <memory>
#include <mutex>
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
    } else if (o.format == Format::Csv) {
        AppendCsvError(out, reason);
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
        if (o.SeeksInstants()) {
            if ((kind != LineKind::Text || !AppendDayLine(o, line, out)) && o.format == Format::Json) out += "null";
            out += '\n';
            return true;
        }
        const bool placed = o.site != nullptr && !o.site->placeName.empty();
        const BatchLine fields = kind == LineKind::Text ? SplitBatchLine(line, placed) : BatchLine{};
        if (fields.empty) {
            // Blank in text, so a file of results lines up with its input;
            // JSON Lines have no blank line, so there it is null.
            if (o.format == Format::Json) out += "null";
            if (o.format == Format::Csv) out.append(kCsvColumnsBeforeError, ',');
        } else {
            // Read in this order, so a line's first fault is the one named.
            Query q;
            InstantTexts texts;
            ReadInstant(fields.date, fields.time, ZoneOf(o), o.fold, q, texts);
            q.longitude = placed && fields.longitude.empty() ? *o.site->longitude : ParseLongitude(fields.longitude);
            q.ra = fields.ra.empty() ? o.ra : std::optional(ParseRightAscension(fields.ra));
            AppendResult(o, q, out);
        }
    } catch (const std::runtime_error& e) { // InputError or RunTimeError
        out.resize(mark);
        AppendError(o, e.what(), out);
        ok = false;
    }
    if (o.format == Format::Csv) out += '\r';
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

// The lines already in the reader's buffer are answered in chunks: each
// thread takes the next chunk of lines from the reader, under a lock, and
// answers it into the chunk's own text; the texts are written in order once
// the buffer's lines are all answered. So the splitting into lines runs on
// every thread beside the answering, and a thread the system holds up
// takes fewer chunks instead of keeping the others waiting. The threads
// are started once and meet at two barriers per block: the lines stay valid
// meanwhile, as nothing is read until the block is answered.
class ParallelAnswers {
public:
    ParallelAnswers(const Options& o, AnswerFunction answer, unsigned threads)
        : o_(o), answer_(answer), start_(threads), done_(threads)
    {
        for (unsigned n = 1; n < threads; ++n) workers_.emplace_back([this] { Work(); });
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
    bool Run(LineSource& reader, Output& out)
    {
        reader_ = &reader;
        bool anyFailed = false;
        while (!out.failed()) {
            taken_ = 0;
            drained_ = false;
            // Only the block's first line may read.
            Chunk* first = Take(true);
            if (first == nullptr) break;
            // A few lines are not worth waking the threads for.
            const bool together = !drained_;
            if (together) start_.arrive_and_wait();
            AnswerChunk(*first);
            if (together) {
                AnswerRest();
                done_.arrive_and_wait();
            }
            for (std::size_t n = 0; n < taken_; ++n) {
                out.buffer() += chunks_[n]->answers;
                anyFailed = anyFailed || chunks_[n]->failed;
            }
            out.Flush();
        }
        return anyFailed;
    }

private:
    static constexpr std::size_t kChunkLines = 256;

    struct Line {
        std::string_view text;
        LineKind kind;
    };
    // Each chunk's text on cache lines of its own: the threads append to them
    // line by line, and shared lines would bounce between the processors.
    struct alignas(64) Chunk {
        std::vector<Line> lines;
        std::string answers;
        bool failed = false;
    };

    // The next chunk of the block's lines, in order; null when the buffer
    // has no line left.
    Chunk* Take(bool mayRead)
    {
        const std::lock_guard lock(readerLock_);
        if (drained_) return nullptr;
        if (taken_ == chunks_.size()) chunks_.push_back(std::make_unique<Chunk>());
        Chunk& chunk = *chunks_[taken_];
        chunk.lines.clear();
        std::string_view line;
        LineKind kind = LineKind::Text;
        while (chunk.lines.size() < kChunkLines && reader_->Next(line, kind, mayRead && chunk.lines.empty())) {
            chunk.lines.push_back({line, kind});
        }
        if (chunk.lines.size() < kChunkLines) drained_ = true;
        if (chunk.lines.empty()) return nullptr;
        ++taken_;
        return &chunk;
    }

    void AnswerChunk(Chunk& chunk) const
    {
        chunk.answers.clear();
        chunk.failed = false;
        for (const Line& line : chunk.lines) {
            if (!answer_(o_, line.text, line.kind, chunk.answers)) chunk.failed = true;
        }
    }

    void AnswerRest()
    {
        while (Chunk* chunk = Take(false)) AnswerChunk(*chunk);
    }

    void Work()
    {
        for (;;) {
            start_.arrive_and_wait();
            if (quit_) return;
            AnswerRest();
            done_.arrive_and_wait();
        }
    }

    const Options& o_;
    AnswerFunction answer_;
    LineSource* reader_ = nullptr;
    // While the threads answer, the lock guards the reader and the three
    // members after it; between the barriers only Run touches them.
    std::mutex readerLock_;
    std::vector<std::unique_ptr<Chunk>> chunks_; // reused from block to block
    std::size_t taken_ = 0;
    bool drained_ = false; // the buffer has no line left
    bool quit_ = false;    // written before a barrier, read after it
    std::barrier<> start_;
    std::barrier<> done_;
    std::vector<std::thread> workers_;
};

} // namespace

bool AnswerAll(const Options& o, LineSource& source, AnswerFunction answer, Output& out)
{
    bool anyFailed = false;
    const unsigned threads = Processors();
    if (threads > 1) {
        ParallelAnswers answers(o, answer, threads);
        anyFailed = answers.Run(source, out);
    } else {
        std::string_view line;
        LineKind kind = LineKind::Text;
        while (!out.failed() && source.Next(line, kind, true)) {
            if (!answer(o, line, kind, out.buffer())) anyFailed = true;
            out.FlushIfFull();
        }
    }
    return anyFailed;
}

namespace {

class ReaderSource final : public LineSource {
public:
    explicit ReaderSource(LineReader& reader) : reader_(reader) {}
    bool Next(std::string_view& line, LineKind& kind, bool mayRead) override
    {
        return reader_.Next(line, kind, mayRead);
    }

private:
    LineReader& reader_;
};

} // namespace

int RunBatch(const Options& o, int input, int output, int errors)
{
    LineReader reader(input);
    Output out(output);
    if (o.format == Format::Csv) out.buffer() += kCsvHeader;
    ReaderSource source(reader);
    const bool anyFailed = AnswerAll(o, source, AnswerLine, out);
    if (!out.Flush()) return OutputFailure(errors, out.error());
    WarnNotedCautions(o, errors);
    if (reader.error() != 0) {
        Complain(errors, std::string("cannot read the input: ") + std::strerror(reader.error()));
        return kExitFailed;
    }
    return anyFailed ? kExitFailed : kExitOk;
}

} // namespace vantoril::cli
