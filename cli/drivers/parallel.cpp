// SPDX-License-Identifier: MIT
#include "cli/drivers/parallel.h"

#include <algorithm>
#include <array>
#include <barrier>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include <sched.h>

namespace vantoril::cli {

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
// meanwhile, as nothing is read until the block is answered. `answer`
// takes up to `most` lines at a time, as AnswerOnOne's.
template <typename Answer>
class ParallelAnswers {
public:
    ParallelAnswers(const Answer& answer, std::size_t most, unsigned threads)
        : answer_(answer), most_(most), start_(threads), done_(threads)
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

    RunTally Run(LineSource& reader, Output& out)
    {
        reader_ = &reader;
        RunTally tally;
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
            texts_.clear();
            for (std::size_t n = 0; n < taken_; ++n) {
                texts_.emplace_back(chunks_[n]->answers);
                tally.anyFailed = tally.anyFailed || chunks_[n]->failed;
                tally.cautions |= chunks_[n]->cautions;
            }
            out.Write(texts_);
        }
        return tally;
    }

private:
    // Each chunk's text on cache lines of its own: the threads append to them
    // line by line, and shared lines would bounce between the processors.
    struct alignas(64) Chunk {
        std::vector<SourceLine> lines;
        std::string answers;
        bool failed = false;
        unsigned cautions = 0;
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
        const std::size_t most = reader_->ChunkLines();
        while (chunk.lines.size() < most && reader_->Next(line, kind, mayRead && chunk.lines.empty())) {
            chunk.lines.push_back({line, kind});
        }
        if (chunk.lines.size() < most) drained_ = true;
        if (chunk.lines.empty()) return nullptr;
        ++taken_;
        return &chunk;
    }

    void AnswerChunk(Chunk& chunk) const
    {
        chunk.answers.clear();
        chunk.failed = false;
        chunk.cautions = 0;
        const std::span<const SourceLine> lines(chunk.lines);
        for (std::size_t at = 0; at < lines.size(); at += most_) {
            const auto run = lines.subspan(at, std::min(most_, lines.size() - at));
            if (!answer_(run, chunk.answers, chunk.cautions)) chunk.failed = true;
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

    const Answer& answer_;
    std::size_t most_;
    LineSource* reader_ = nullptr;
    // While the threads answer, the lock guards the reader and the three
    // members after it; between the barriers only Run touches them.
    std::mutex readerLock_;
    std::vector<std::unique_ptr<Chunk>> chunks_; // reused from block to block
    std::vector<std::string_view> texts_;        // their answers, to be written
    std::size_t taken_ = 0;
    bool drained_ = false; // the buffer has no line left
    bool quit_ = false;    // written before a barrier, read after it
    std::barrier<> start_;
    std::barrier<> done_;
    std::vector<std::thread> workers_;
};

// The lines on one processor, up to `most` at a time to `answer`. Only a
// call's first line may read: the lines before stay valid so.
template <typename Answer>
RunTally AnswerOnOne(LineSource& source, std::size_t most, const Answer& answer, Output& out)
{
    RunTally tally;
    std::array<SourceLine, kRunLines> run;
    while (!out.failed() && source.Next(run[0].text, run[0].kind, true)) {
        std::size_t n = 1;
        while (n < most && source.Next(run[n].text, run[n].kind, false)) ++n;
        if (!answer(std::span<const SourceLine>(run).first(n), out.buffer(), tally.cautions)) tally.anyFailed = true;
        out.FlushIfFull();
    }
    return tally;
}

// The lines of `source` answered on every processor the process may use.
template <typename Answer>
RunTally AnswerEverywhere(LineSource& source, std::size_t most, const Answer& answer, Output& out)
{
    const unsigned threads = Processors();
    if (threads > 1) {
        ParallelAnswers<Answer> answers(answer, most, threads);
        return answers.Run(source, out);
    }
    return AnswerOnOne(source, most, answer, out);
}

} // namespace

RunTally AnswerAll(const Context& c, LineSource& source, AnswerFunction answer, Output& out)
{
    const auto one = [&](std::span<const SourceLine> lines, std::string& text, unsigned& cautions) {
        return answer(c, lines[0].text, lines[0].kind, text, cautions);
    };
    return AnswerEverywhere(source, 1, one, out);
}

RunTally AnswerAllInRuns(const Context& c, LineSource& source, AnswerRunFunction answer, Output& out)
{
    const auto run = [&](std::span<const SourceLine> lines, std::string& text, unsigned& cautions) {
        return answer(c, lines, text, cautions);
    };
    return AnswerEverywhere(source, kRunLines, run, out);
}

} // namespace vantoril::cli
