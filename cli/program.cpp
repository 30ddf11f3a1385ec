// SPDX-License-Identifier: MIT
#include "cli/program.h"

#include "cli/lst.h"
#include "cli/parsers.h"
#include "runtime/run_time_error.h"

#include <erfaextra.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <sched.h>
#include <unistd.h>

#ifndef VANTORIL_VERSION
#define VANTORIL_VERSION "1.00"
#endif

namespace vantoril::cli {

namespace {

constexpr std::string_view kName = "vantoril-lst";

constexpr std::string_view kHelp = R"(Usage: vantoril-lst [OPTIONS] LONGITUDE [DATE [TIME]]
       vantoril-lst --batch [OPTIONS] < instants
Local sidereal time at a longitude, for an instant in UTC (now when no DATE is given).

  LONGITUDE  79d51m0sW, 79:51:00W, "79 51 0 W" (one argument), -79.85 or 79.85W;
             a bare number is degrees east
  DATE       YYYY-MM-DD (a day past the month's end counts on into the next month)
  TIME       HH:MM:SS, seconds may be fractional (default 00:00:00)

Options:
  --model classic|iau2006  classic: the window's calculation, to the second (default);
                           iau2006: ERFA's IAU 2006 Greenwich mean sidereal time
  --apparent               apparent sidereal time, IAU 2006/2000A (with iau2006)
  --dut1 SECONDS           UT1 - UTC, -0.9 to 0.9 (with iau2006; default 0)
  --precision N            decimals of a second, 0 to 6 (default 3 for iau2006, 0 for
                           classic, whose sidereal time is always the window's text)
  --ra HH:MM:SS[.s]        also print the hour angle LST - RA, in [-12 h, +12 h)
  --format text|hours|json sidereal time as h:mm:ss, as decimal hours, or a JSON object
  --watch                  print the sidereal time now, once a second, until interrupted
  --batch                  read "DATE TIME LONGITUDE [RA]" lines from standard input and
                           write one line for each: the result or "error: <reason>"
  --help, --version

Exit status: 0 every result given, 1 a line or the calculation failed, 2 usage error.

Examples:
  vantoril-lst 79d51mW 2002-01-01 00:00:00          prints 1:22:30
  vantoril-lst --model iau2006 -- -79.85             now, to the millisecond
  vantoril-lst --ra 05:35:17.3 --model iau2006 -79.85 2024-03-20 21:00:00
  vantoril-lst --watch --model iau2006 --precision 0 2.35E
  printf '2002-01-01 00:00:00 79d51mW\n' | vantoril-lst --batch --format json
)";

// Buffered writes straight to a descriptor: no stdio locking, no flush per line.
class Output {
public:
    explicit Output(int fd) : fd_(fd) { buffer_.reserve(kChunk + 8192); }

    std::string& buffer() { return buffer_; }

    void FlushIfFull()
    {
        if (buffer_.size() >= kChunk) Flush();
    }

    bool Flush()
    {
        std::size_t done = 0;
        while (done < buffer_.size() && !failed_) {
            const ssize_t n = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
            if (n > 0) {
                done += static_cast<std::size_t>(n);
            } else if (n < 0 && errno != EINTR) {
                failed_ = true;
                error_ = errno;
            }
        }
        buffer_.clear();
        return !failed_;
    }

    [[nodiscard]] bool failed() const { return failed_; }
    [[nodiscard]] int error() const { return error_; }

private:
    static constexpr std::size_t kChunk = 1 << 16;
    int fd_;
    std::string buffer_;
    bool failed_ = false;
    int error_ = 0;
};

// Lines of a descriptor, read in large blocks. A line longer than kMaxLine
// is skipped to its end and reported as too long, so memory stays bounded.
class LineReader {
public:
    static constexpr std::size_t kMaxLine = 4096;

    explicit LineReader(int fd) : fd_(fd), buffer_(new char[kBlock]) {}

    // False at the end of the input, and, when mayRead is false, where the
    // next line is not in the buffer yet: lines returned since the last read
    // stay valid until the next call that may read. The line excludes its
    // "\n" (and a "\r" before it); tooLong reports a skipped over-long line.
    bool Next(std::string_view& line, bool& tooLong, bool mayRead = true)
    {
        tooLong = false;
        bool skipping = false;
        for (;;) {
            const char* start = buffer_.get() + begin_;
            const auto* newline = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
            if (newline != nullptr) {
                const auto length = static_cast<std::size_t>(newline - start);
                begin_ += length + 1;
                if (skipping || length > kMaxLine) {
                    tooLong = true;
                    line = {};
                } else {
                    line = {start, length};
                    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
                }
                return true;
            }
            if (!mayRead && !atEnd_) return false;
            if (end_ - begin_ > kMaxLine) {
                skipping = true;
                begin_ = end_;
            }
            if (atEnd_) {
                if (begin_ == end_ && !skipping) return false;
                line = skipping ? std::string_view{} : std::string_view{start, end_ - begin_};
                tooLong = skipping;
                begin_ = end_;
                return true;
            }
            Fill();
        }
    }

    [[nodiscard]] int error() const { return error_; }

private:
    static constexpr std::size_t kBlock = 1 << 18;

    void Fill()
    {
        if (begin_ > 0) {
            std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
            end_ -= begin_;
            begin_ = 0;
        }
        for (;;) {
            const ssize_t n = ::read(fd_, buffer_.get() + end_, kBlock - end_);
            if (n > 0) {
                end_ += static_cast<std::size_t>(n);
                return;
            }
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) error_ = errno;
            atEnd_ = true;
            return;
        }
    }

    int fd_;
    std::unique_ptr<char[]> buffer_; // not zeroed: only what read() wrote is looked at
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool atEnd_ = false;
    int error_ = 0;
};

void WriteAll(int fd, std::string_view text)
{
    while (!text.empty()) {
        const ssize_t n = ::write(fd, text.data(), text.size());
        if (n > 0) {
            text.remove_prefix(static_cast<std::size_t>(n));
        } else if (n < 0 && errno != EINTR) {
            return;
        }
    }
}

void Complain(int errors, std::string_view message)
{
    std::string line(kName);
    line.append(": ").append(message).append("\n");
    WriteAll(errors, line);
}

int UsageFailure(int errors, std::string_view message)
{
    Complain(errors, message);
    WriteAll(errors, "Try 'vantoril-lst --help' for more information.\n");
    return kExitUsage;
}

int OutputFailure(int errors, int error)
{
    Complain(errors, std::string("cannot write the output: ") + std::strerror(error));
    return kExitFailed;
}

// The texts of a clock reading, so "now" goes through the same readers as a
// typed instant.
struct ClockText {
    char date[32];
    char time[32];
};

ClockText Now()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm utc{};
    gmtime_r(&now.tv_sec, &utc);
    ClockText text{};
    std::snprintf(text.date, sizeof text.date, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    std::snprintf(text.time, sizeof text.time, "%02d:%02d:%02d.%06ld", utc.tm_hour, utc.tm_min, utc.tm_sec,
                  now.tv_nsec / 1000);
    return text;
}

// Appends the output line of one batch line, newline included; false when
// it is an error line.
bool AnswerLine(const Options& o, std::string_view line, bool tooLong, std::string& buffer)
{
    const std::size_t mark = buffer.size();
    bool ok = true;
    try {
        if (tooLong) throw InputError("line longer than " + std::to_string(LineReader::kMaxLine) + " bytes");
        const BatchLine fields = SplitBatchLine(line);
        if (!fields.empty) {
            Query q;
            q.date = ParseDate(fields.date);
            q.time = ParseTime(fields.time);
            q.longitude = ParseLongitude(fields.longitude);
            if (!fields.ra.empty()) {
                q.ra = ParseRightAscension(fields.ra);
            } else {
                q.ra = o.ra;
            }
            AppendResult(o, q, buffer);
        }
    } catch (const std::runtime_error& e) { // InputError or RunTimeError
        buffer.resize(mark);
        buffer.append("error: ").append(e.what());
        ok = false;
    }
    buffer += '\n';
    return ok;
}

// Processors this process may run on.
unsigned Processors()
{
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) != 0) return 1;
    return static_cast<unsigned>(std::clamp(CPU_COUNT(&set), 1, 16));
}

// The lines already in the reader's buffer are cut into one slice per
// thread; each thread answers its slice into a text of its own, and the texts
// are written in order. The lines stay valid meanwhile: nothing is read until
// the block is answered. Returns whether any line failed.
bool AnswerInParallel(const Options& o, LineReader& reader, Output& out, unsigned threads)
{
    struct Line {
        std::string_view text;
        bool tooLong;
    };
    // Each slice's text on cache lines of its own: the threads append to them
    // line by line, and shared lines would bounce between the processors.
    struct alignas(64) Slice {
        std::string answers;
        bool failed = false;
    };
    std::vector<Line> lines;
    std::vector<Slice> slice(threads);
    bool anyFailed = false;
    while (!out.failed()) {
        lines.clear();
        std::string_view line;
        bool tooLong = false;
        while (reader.Next(line, tooLong, lines.empty())) lines.push_back({line, tooLong});
        if (lines.empty()) break;
        // A few lines are not worth starting threads for.
        const unsigned slices = lines.size() >= 256 ? threads : 1;
        auto answer = [&](unsigned n) {
            Slice& mine = slice[n];
            mine.answers.clear();
            mine.failed = false;
            const std::size_t first = lines.size() * n / slices;
            const std::size_t last = lines.size() * (n + 1) / slices;
            for (std::size_t i = first; i < last; ++i) {
                if (!AnswerLine(o, lines[i].text, lines[i].tooLong, mine.answers)) mine.failed = true;
            }
        };
        std::vector<std::thread> workers;
        for (unsigned n = 1; n < slices; ++n) workers.emplace_back(answer, n);
        answer(0);
        for (auto& worker : workers) worker.join();
        for (unsigned n = 0; n < slices; ++n) {
            out.buffer() += slice[n].answers;
            anyFailed = anyFailed || slice[n].failed;
        }
        out.Flush();
    }
    return anyFailed;
}

int RunBatch(const Options& o, int input, int output, int errors)
{
    LineReader reader(input);
    Output out(output);
    bool anyFailed = false;
    const unsigned threads = Processors();
    if (threads > 1) {
        anyFailed = AnswerInParallel(o, reader, out, threads);
    } else {
        std::string_view line;
        bool tooLong = false;
        while (!out.failed() && reader.Next(line, tooLong)) {
            if (!AnswerLine(o, line, tooLong, out.buffer())) anyFailed = true;
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

volatile std::sig_atomic_t stopWatching = 0;

extern "C" void StopWatching(int /*signal*/) { stopWatching = 1; }

int RunWatch(const Options& o, Query q, int output, int errors)
{
    struct sigaction action = {};
    action.sa_handler = StopWatching; // no SA_RESTART: the sleep ends at once
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    stopWatching = 0;

    const bool terminal = ::isatty(output) == 1;
    Output out(output);
    while (stopWatching == 0) {
        const ClockText now = Now();
        q.date = ParseDate(now.date);
        q.time = ParseTime(now.time);
        std::string& buffer = out.buffer();
        if (terminal) buffer += '\r';
        try {
            AppendResult(o, q, buffer);
        } catch (const std::runtime_error& e) {
            buffer.append("error: ").append(e.what());
        }
        // On a terminal the line is rewritten in place; \033[K clears what a
        // longer earlier reading left behind.
        buffer += terminal ? "\033[K" : "\n";
        if (!out.Flush()) return OutputFailure(errors, out.error());
        timespec next{};
        clock_gettime(CLOCK_REALTIME, &next);
        next.tv_sec += 1;
        next.tv_nsec = 0;
        while (stopWatching == 0 && clock_nanosleep(CLOCK_REALTIME, TIMER_ABSTIME, &next, nullptr) == EINTR) {}
    }
    if (terminal) WriteAll(output, "\n");
    return kExitOk;
}

int RunSingle(const Options& o, int output, int errors)
{
    const ClockText now = Now();
    Query q;
    try {
        q.longitude = ParseLongitude(*o.longitude);
        q.ra = o.ra;
        if (o.watch) return RunWatch(o, q, output, errors);
        q.date = ParseDate(o.date.value_or(std::string_view(now.date)));
        q.time = ParseTime(o.time.value_or(o.date ? std::string_view("00:00:00") : std::string_view(now.time)));
    } catch (const InputError& e) {
        return UsageFailure(errors, e.what());
    }
    Output out(output);
    try {
        AppendResult(o, q, out.buffer());
    } catch (const InputError& e) {
        return UsageFailure(errors, e.what());
    } catch (const RunTimeError& e) {
        Complain(errors, e.what());
        return kExitFailed;
    }
    out.buffer() += '\n';
    if (!out.Flush()) return OutputFailure(errors, out.error());
    return kExitOk;
}

} // namespace

int RunProgram(std::span<const std::string_view> args, int input, int output, int errors)
{
    Options o;
    try {
        o = ParseOptions(args);
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    }
    if (o.help || o.version) {
        Output out(output);
        if (o.help) {
            out.buffer() = kHelp;
        } else {
            out.buffer().append(kName).append(" " VANTORIL_VERSION " (ERFA ").append(eraVersion()).append(")\n");
        }
        return out.Flush() ? kExitOk : OutputFailure(errors, out.error());
    }
    if (o.batch) return RunBatch(o, input, output, errors);
    return RunSingle(o, output, errors);
}

} // namespace vantoril::cli
