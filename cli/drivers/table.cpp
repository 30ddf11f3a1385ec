// SPDX-License-Identifier: MIT
#include "cli/drivers/table.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"
#include "cli/drivers/answer.h"
#include "cli/drivers/end_of_run.h"
#include "cli/drivers/parallel.h"
#include "cli/io/output.h"
#include "cli/options/failure.h"
#include "cli/options/values.h"
#include "cli/print/numbers.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cstring>
#include <span>
#include <stdexcept>
#include <string>

namespace vantoril::cli {

using astro::Quoted;

namespace {

// Nanoseconds over the whole range of years (10^4 years is 3 x 10^20 ns).
__extension__ using Wide = __int128;

constexpr std::int64_t kSecondNs = 1'000'000'000;

// An instant of --from or --to: one ISO text, or DATE TIME as one argument.
Wide ReadEnd(const char* option, std::string_view text, const Context& c, int& decimals)
{
    astro::Instant at;
    astro::InstantTexts texts;
    const auto blank = text.find(' ');
    try {
        if (blank == std::string_view::npos) {
            const std::string_view midnight = astro::IsOneFieldInstant(text) ? std::string_view() : "00:00:00";
            astro::ReadInstant(text, midnight, c.zone, c.options.fold, at, texts);
        } else {
            astro::ReadInstant(text.substr(0, blank), text.substr(blank + 1), c.zone, c.options.fold, at, texts);
        }
    } catch (const astro::InputError& e) {
        throw UsageError(std::string(option) + ": " + e.what());
    } catch (const astro::CalculationError& e) {
        throw astro::CalculationError(std::string(option) + ": " + e.what());
    }
    if (at.date.year < 0 || at.date.year > 9999) {
        throw astro::CalculationError(std::string(option) + " " + Quoted(text) + ": a table takes years 0000 to 9999");
    }
    if (at.time.second >= 60) {
        throw astro::CalculationError(std::string(option) + " " + Quoted(text) +
                                      ": a table steps in seconds of the system clock, which has no leap second");
    }
    const std::string_view seconds = at.time.secondText;
    const auto point = seconds.find('.');
    std::int64_t fraction = 0;
    int digits = 0;
    if (point != std::string_view::npos) {
        for (const char ch : seconds.substr(point + 1)) {
            fraction = fraction * 10 + (ch - '0');
            ++digits;
        }
    }
    for (int d = digits; d < 9; ++d) fraction *= 10;
    decimals = std::max(decimals, digits);
    return Wide(astro::UtcSeconds(at)) * kSecondNs + fraction;
}

// The rows of a table: the first one's instant, the step, the decimals.
struct TableRows {
    std::uint64_t run = 0; // one number a table, never seen before in the process
    Wide from = 0;
    std::int64_t step = 0;        // nanoseconds
    std::int64_t stepSeconds = 0; // and as whole seconds and the nanoseconds beyond
    std::int64_t stepNanoseconds = 0;
    std::int64_t count = 0;
    int decimals = 0;
    // A plain table: text in UTC of the iau2006 sidereal time alone. Its rows
    // are written here (AnswerPlainRun), without the query, answer and
    // printer every mode shares, which cost as much as the model; the bytes
    // are the text printer's.
    bool plain = false;
};

// Rows a run holds at most.
constexpr std::int64_t kRunRows = 16;

// Rows as the source hands them on: a run of them by their numbers, which
// the thread answering it turns into instants and writes as text, so that
// this runs on every processor and not under the source's lock.
struct RowRun {
    const TableRows* rows;
    std::int64_t first;
    std::int64_t count;
};

// The runs as "lines" of a RowRun's bytes, in a buffer that is reused from
// block to block: a block of 16,384 rows, in 16 chunks of 1,024, so that
// each of the 16 threads at most that answer lines has one. A block's text
// is held until it is written: at half a megabyte the chunks' texts stay
// few pages, each of which costs the system a fault the first time it is
// touched (blocks four times as large took 2.2 MB more and 1.1 times as
// long).
class TableSource final : public LineSource {
public:
    explicit TableSource(const TableRows& rows) : rows_(rows) {}

    bool Next(std::string_view& line, LineKind& kind, bool mayRead) override
    {
        if (next_ == rows_.count) return false;
        if (used_ == kBlock) {
            if (!mayRead) return false;
            used_ = 0; // every line of the last block has been answered
        }
        const std::int64_t count = std::min(kRunRows, rows_.count - next_);
        buffer_[used_] = {&rows_, next_, count};
        next_ += count;
        line = std::string_view(reinterpret_cast<const char*>(&buffer_[used_++]), sizeof(RowRun));
        kind = LineKind::Text;
        return true;
    }

    [[nodiscard]] std::size_t ChunkLines() const override { return kBlock / 16; }

private:
    static constexpr std::size_t kBlock = 1024;

    const TableRows& rows_;
    std::int64_t next_ = 0;
    std::array<RowRun, kBlock> buffer_{};
    std::size_t used_ = 0;
};

// The instant of a row, seconds from 1970 and nanoseconds: the row before's
// and a step where the thread answered it, else from the first row's.
void RowInstant(const TableRows& rows, std::int64_t index, std::int64_t& seconds, std::int64_t& nanoseconds)
{
    thread_local struct {
        std::uint64_t run = 0;
        std::int64_t index = -2;
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
    } last;
    if (last.run == rows.run && index == last.index + 1) {
        last.seconds += rows.stepSeconds;
        last.nanoseconds += rows.stepNanoseconds;
        if (last.nanoseconds >= kSecondNs) {
            last.nanoseconds -= kSecondNs;
            ++last.seconds;
        }
    } else {
        const Wide at = rows.from + Wide(index) * rows.step;
        Wide whole = at / kSecondNs;
        if (at % kSecondNs < 0) --whole;
        last.seconds = static_cast<std::int64_t>(whole);
        last.nanoseconds = static_cast<std::int64_t>(at - whole * kSecondNs);
        last.run = rows.run;
    }
    last.index = index;
    seconds = last.seconds;
    nanoseconds = last.nanoseconds;
}

// One row, its end included; false when it is an error line.
bool AnswerTableRow(const Context& c, const TableRows& rows, std::int64_t index, std::string& out, unsigned& cautions)
{
    const std::size_t mark = out.size();
    bool ok = true;
    try {
        std::int64_t seconds = 0;
        std::int64_t nanoseconds = 0;
        RowInstant(rows, index, seconds, nanoseconds);
        astro::InstantTexts texts;
        astro::Query q;
        astro::WriteUtcInstant(seconds, nanoseconds, rows.decimals, texts, q);
        q.longitude = c.KnownLongitude();
        q.ra = c.options.ra;
        q.dec = c.options.dec;
        AnswerRow(c, q, texts, out, cautions);
    } catch (const std::runtime_error& e) { // the core's errors and RunTimeError
        out.resize(mark);
        c.printer->Error(e.what(), out);
        ok = false;
    }
    c.printer->EndLine(out);
    return ok;
}

// The rows of a run of a plain table, stage by stage: every row's UTC text
// and time scales, then every row's sidereal time, then the run's text in
// one piece. The processor overlaps the rows' long chains of arithmetic,
// which one row after another it cannot. False, with nothing written, where
// a row has no answer: the run is then answered row by row, which words the
// error.
bool AnswerPlainRun(const Context& c, const RowRun& run, std::string& out, unsigned& cautions)
{
    struct Row {
        std::array<char, 32> utc{}; // YYYY-MM-DDTHH:MM:SS[.fraction]Z and a blank
        std::size_t utcSize = 0;
        astro::Ut1Detail ut1;
        astro::TimeScales scales;
        double hours = 0;
    };
    std::array<Row, kRunRows> slots;
    const auto rows = std::span<Row>(slots).first(static_cast<std::size_t>(run.count));
    double east = 0;
    try {
        east = c.KnownLongitude().east;
        std::int64_t index = run.first;
        for (Row& row : rows) {
            std::int64_t seconds = 0;
            std::int64_t nanoseconds = 0;
            RowInstant(*run.rows, index++, seconds, nanoseconds);
            const std::int64_t days = astro::DayOfSecond(seconds);
            const astro::DayText& day = astro::DayTextOf(days);
            const astro::CalendarDate date = day.date;
            std::memcpy(row.utc.data(), day.text.data(), 10);
            char* p = row.utc.data() + 10;
            *p++ = 'T';
            astro::Time time;
            p = astro::PutUtcClock(p, static_cast<int>(seconds - days * 86400), nanoseconds, run.rows->decimals, time);
            *p++ = 'Z';
            *p++ = ' ';
            row.utcSize = static_cast<std::size_t>(p - row.utc.data());
            // The table's years are 0000 to 9999, and its dates real: the
            // model's own checks have nothing to refuse.
            row.scales = astro::FromUtc(date, time, c.scales, &row.ut1);
        }
    } catch (const std::runtime_error&) {
        return false;
    }
    const bool apparent = c.model == astro::Model::Iau2006Apparent;
    for (Row& row : rows) row.hours = astro::Iau2006LstAt(row.scales, east, apparent);
    constexpr std::size_t kRowRoom = 32 + kClockRoom; // the UTC text, the clock, the end
    std::array<char, kRunRows * kRowRoom> text{};
    char* p = text.data();
    const int decimals = c.printer->settings().decimals;
    astro::SiderealAnswer a;
    for (const Row& row : rows) {
        std::memcpy(p, row.utc.data(), row.utc.size()); // whole: a fixed size copies in two moves
        p += row.utcSize;
        p = PutClock(p, row.hours, decimals, false);
        *p++ = '\n';
        a.ut1 = row.ut1;
        cautions |= astro::RunCautions(a, c.scales);
    }
    out.append(text.data(), p);
    return true;
}

bool AnswerRowRun(const Context& c, std::string_view line, LineKind /*kind*/, std::string& out, unsigned& cautions)
{
    RowRun run{};
    std::memcpy(&run, line.data(), sizeof run);
    if (run.rows->plain && AnswerPlainRun(c, run, out, cautions)) return true;
    bool ok = true;
    for (std::int64_t index = run.first; index < run.first + run.count; ++index) {
        ok = AnswerTableRow(c, *run.rows, index, out, cautions) && ok;
    }
    return ok;
}

// The table's first instant, step and rows, with the decimals the rows show.
TableRows RowsOf(const Context& c)
{
    const Options& o = c.options;
    static std::atomic<std::uint64_t> runs{0};
    TableRows r;
    r.run = ++runs;
    // The options hold --from and --step for a table; an empty text is refused.
    const std::string_view fromText = o.from.value_or(std::string_view{});
    const Duration step = o.step.value_or(Duration{});
    r.step = step.nanoseconds;
    r.stepSeconds = r.step / kSecondNs;
    r.stepNanoseconds = r.step % kSecondNs;
    r.decimals = step.decimals;
    r.from = ReadEnd("--from", fromText, c, r.decimals);
    const PrintSettings& shown = c.printer->settings();
    r.plain = shown.format == Format::Text && !shown.Civil() && shown.show.empty() && !o.ra && !o.dec &&
              c.model != astro::Model::Classic;
    if (o.count) {
        r.count = *o.count;
        return r;
    }
    const std::string_view toText = o.to.value_or(std::string_view{});
    const Wide to = ReadEnd("--to", toText, c, r.decimals);
    if (to < r.from) throw UsageError("--to " + Quoted(toText) + " is before --from " + Quoted(fromText));
    const Wide n = (to - r.from) / r.step + 1;
    if (n > kMaxRangeRows) {
        throw UsageError("--from " + Quoted(fromText) + " --to " + Quoted(toText) + " --step " +
                         Quoted(o.stepText.value_or(std::string_view{})) + " gives " +
                         std::to_string(static_cast<long long>(std::min<Wide>(n, kMaxCount))) + " rows, more than " +
                         std::to_string(kMaxRangeRows) + "; a longer table takes --count");
    }
    r.count = static_cast<std::int64_t>(n);
    return r;
}

} // namespace

int RunTable(const Context& c, int output, int errors)
{
    TableRows rows;
    try {
        rows = RowsOf(c);
    } catch (const std::runtime_error&) {
        return FailureStatus(errors);
    }
    // Rows end with the year 9999: beyond it no model is asked.
    const Wide end = Wide(astro::DaysFromCivil(10000, 1, 1) * 86400) * kSecondNs;
    const Wide reachable = rows.from < end ? (end - 1 - rows.from) / rows.step + 1 : 0;
    const bool cut = rows.count > reachable;
    if (cut) rows.count = static_cast<std::int64_t>(reachable);
    Output out(output);
    c.printer->Begin(out.buffer());
    TableSource source(rows);
    const RunTally tally = AnswerAll(c, source, AnswerRowRun, out);
    std::string failure;
    if (cut) failure = "the table stops after " + std::to_string(rows.count) + " rows, at the end of the year 9999";
    return FinishRun(c, out, tally, errors, failure);
}

} // namespace vantoril::cli
