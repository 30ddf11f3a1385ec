// SPDX-License-Identifier: MIT
#include "cli/table.h"

#include "cli/batch.h"
#include "cli/csv.h"
#include "cli/instants.h"
#include "cli/output.h"
#include "cli/program.h"
#include "cli/site.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace vantoril::cli {

namespace {

// Nanoseconds over the whole range of years (10^4 years is 3 x 10^20 ns).
__extension__ using Wide = __int128;

constexpr std::int64_t kNanosecond = 1;
constexpr std::int64_t kSecondNs = 1'000'000'000 * kNanosecond;
// A step of more than a century is a typo too.
constexpr std::int64_t kMaxStepNs = 100LL * 366 * 86400 * kSecondNs;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

[[noreturn]] void BadStep(std::string_view text, const char* why)
{
    throw UsageError("--step " + Quoted(text) + ": " + why);
}

// An instant of --from or --to: one ISO text, or DATE TIME as one argument.
Wide ReadEnd(const char* option, std::string_view text, const Options& o, int& decimals)
{
    Query q;
    InstantTexts texts;
    const auto blank = text.find(' ');
    try {
        if (blank == std::string_view::npos) {
            ReadInstant(text, IsIsoInstant(text) ? std::string_view() : "00:00:00", ZoneOf(o), o.fold, q, texts);
        } else {
            ReadInstant(text.substr(0, blank), text.substr(blank + 1), ZoneOf(o), o.fold, q, texts);
        }
    } catch (const InputError& e) {
        throw UsageError(std::string(option) + ": " + e.what());
    }
    if (q.date.year < 0 || q.date.year > 9999) {
        throw UsageError(std::string(option) + " " + Quoted(text) + ": a table takes years 0000 to 9999");
    }
    if (q.time.second >= 60) {
        throw UsageError(std::string(option) + " " + Quoted(text) +
                         ": a table steps in seconds of the system clock, "
                         "which has no leap second");
    }
    const std::string_view seconds = q.time.secondText;
    const auto point = seconds.find('.');
    std::int64_t fraction = 0;
    int digits = 0;
    if (point != std::string_view::npos) {
        for (const char c : seconds.substr(point + 1)) {
            fraction = fraction * 10 + (c - '0');
            ++digits;
        }
    }
    for (int d = digits; d < 9; ++d) fraction *= 10;
    decimals = std::max(decimals, digits);
    return Wide(UtcSeconds(q)) * kSecondNs + fraction;
}

// A row as the source hands it on: its instant, which the thread answering
// the row writes as text, so that this runs on every processor and not
// under the source's lock.
struct RowInstant {
    Wide nanoseconds;
    int decimals;
};

// The rows' instants as "lines" of a RowInstant's bytes, in a buffer that is
// reused from block to block.
class TableSource final : public LineSource {
public:
    TableSource(Wide from, std::int64_t step, std::int64_t rows, int decimals)
        : next_(from), step_(step), left_(rows), decimals_(decimals)
    {
        buffer_.reserve(kBlock);
    }

    bool Next(std::string_view& line, LineKind& kind, bool mayRead) override
    {
        if (left_ == 0) return false;
        if (buffer_.size() + sizeof(RowInstant) > buffer_.capacity()) {
            if (!mayRead) return false;
            buffer_.clear(); // every line of the last block has been answered
        }
        const std::size_t start = buffer_.size();
        const RowInstant row{next_, decimals_};
        buffer_.append(reinterpret_cast<const char*>(&row), sizeof row);
        line = std::string_view(buffer_).substr(start);
        kind = LineKind::Text;
        next_ += step_;
        --left_;
        return true;
    }

private:
    static constexpr std::size_t kBlock = 1 << 18;

    Wide next_;
    std::int64_t step_;
    std::int64_t left_;
    int decimals_;
    std::string buffer_;
};

bool AnswerRow(const Options& o, std::string_view line, LineKind /*kind*/, std::string& out)
{
    const std::size_t mark = out.size();
    bool ok = true;
    try {
        RowInstant row{};
        std::memcpy(&row, line.data(), sizeof row);
        Wide seconds = row.nanoseconds / kSecondNs;
        Wide nanoseconds = row.nanoseconds % kSecondNs;
        if (nanoseconds < 0) {
            nanoseconds += kSecondNs;
            --seconds;
        }
        InstantTexts texts;
        WriteUtcTexts(static_cast<std::int64_t>(seconds), static_cast<std::int64_t>(nanoseconds), row.decimals, texts);
        Query q;
        ReadWrittenInstant(texts.Date(), texts.Time(), q);
        q.longitude = o.site->KnownLongitude();
        q.ra = o.ra;
        if (o.format == Format::Text || o.format == Format::Hours) {
            if (o.site->zone.IsUtc()) {
                out.append(texts.Date()).append(1, 'T').append(texts.Time()).append(1, 'Z');
            } else {
                AppendInZone(out, q, o.site->zone);
            }
            out += ' ';
        }
        AppendResult(o, q, out);
    } catch (const std::runtime_error& e) { // InputError or RunTimeError
        out.resize(mark);
        AppendError(o, e.what(), out);
        ok = false;
    }
    if (o.format == Format::Csv) out += '\r';
    out += '\n';
    return ok;
}

} // namespace

Duration ParseDuration(std::string_view text)
{
    constexpr const char* kForms = "expected a step above zero such as 30s, 10m, 1h, 1d or seconds (90, 0.5)";
    std::int64_t unit = kSecondNs;
    std::string_view number = text;
    if (!number.empty() && !IsDigit(number.back())) {
        switch (number.back()) {
        case 's':
            unit = kSecondNs;
            break;
        case 'm':
            unit = 60 * kSecondNs;
            break;
        case 'h':
            unit = 3600 * kSecondNs;
            break;
        case 'd':
            unit = 86400 * kSecondNs;
            break;
        default:
            BadStep(text, kForms);
        }
        number.remove_suffix(1);
    }
    const auto point = number.find('.');
    const std::string_view whole = number.substr(0, point);
    const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
    if (whole.empty() && fraction.empty()) BadStep(text, kForms);
    if (point != std::string_view::npos && fraction.empty()) BadStep(text, kForms);
    if (!std::all_of(whole.begin(), whole.end(), IsDigit) || !std::all_of(fraction.begin(), fraction.end(), IsDigit)) {
        BadStep(text, kForms);
    }
    Wide ns = 0;
    for (const char c : whole) {
        ns = ns * 10 + (c - '0');
        if (ns * unit > kMaxStepNs) BadStep(text, "at most 100 years");
    }
    ns *= unit;
    // Each fraction digit is a tenth of the one before; below a nanosecond
    // they must be zero.
    Wide scale = unit;
    for (const char c : fraction) {
        if (scale % 10 != 0 && c != '0') BadStep(text, "steps are whole nanoseconds");
        scale /= 10;
        ns += (c - '0') * scale;
    }
    if (ns <= 0) BadStep(text, "the step must be above zero");
    Duration d;
    d.nanoseconds = static_cast<std::int64_t>(ns);
    for (std::int64_t rest = d.nanoseconds % kSecondNs; rest != 0; rest = (rest * 10) % kSecondNs) ++d.decimals;
    return d;
}

std::int64_t ParseCount(std::string_view text)
{
    std::int64_t n = 0;
    for (const char c : text) {
        if (!IsDigit(c) || n > kMaxCount / 10) {
            n = -1;
            break;
        }
        n = n * 10 + (c - '0');
    }
    if (text.empty() || n < 1 || n > kMaxCount) {
        throw UsageError("--count " + Quoted(text) + ": expected a whole number of rows from 1 to " +
                         std::to_string(kMaxCount));
    }
    return n;
}

int RunTable(const Options& o, int output, int errors)
{
    std::int64_t rows = 0;
    Wide from = 0;
    Duration step;
    int decimals = 0;
    try {
        // The arguments hold --from and --step for a table; an empty text is refused.
        const std::string_view fromText = o.from.value_or(std::string_view{});
        const std::string_view stepText = o.step.value_or(std::string_view{});
        step = ParseDuration(stepText);
        decimals = step.decimals;
        from = ReadEnd("--from", fromText, o, decimals);
        if (o.count) {
            rows = ParseCount(*o.count);
        } else {
            const std::string_view toText = o.to.value_or(std::string_view{});
            const Wide to = ReadEnd("--to", toText, o, decimals);
            if (to < from) throw UsageError("--to " + Quoted(toText) + " is before --from " + Quoted(fromText));
            const Wide n = (to - from) / step.nanoseconds + 1;
            if (n > kMaxRangeRows) {
                throw UsageError(
                    "--from " + Quoted(fromText) + " --to " + Quoted(toText) + " --step " + Quoted(stepText) +
                    " gives " + std::to_string(static_cast<long long>(std::min<Wide>(n, kMaxCount))) +
                    " rows, more than " + std::to_string(kMaxRangeRows) + "; a longer table takes --count");
            }
            rows = static_cast<std::int64_t>(n);
        }
    } catch (const UsageError& e) {
        return UsageFailure(errors, e.what());
    }
    // Rows end with the year 9999: beyond it no model is asked.
    const Wide end = Wide(DaysFromCivil(10000, 1, 1) * 86400) * kSecondNs;
    const Wide reachable = from < end ? (end - 1 - from) / step.nanoseconds + 1 : 0;
    const bool cut = rows > reachable;
    if (cut) rows = static_cast<std::int64_t>(reachable);
    Output out(output);
    if (o.format == Format::Csv) out.buffer() += kCsvHeader;
    TableSource source(from, step.nanoseconds, rows, decimals);
    const bool anyFailed = AnswerAll(o, source, AnswerRow, out);
    if (!out.Flush()) return OutputFailure(errors, out.error());
    if (cut) {
        Complain(errors, "the table stops after " + std::to_string(rows) + " rows, at the end of the year 9999");
        return kExitFailed;
    }
    return anyFailed ? kExitFailed : kExitOk;
}

} // namespace vantoril::cli
