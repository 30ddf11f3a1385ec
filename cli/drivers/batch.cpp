// SPDX-License-Identifier: MIT
#include "cli/drivers/batch.h"

#include "astro/base/errors.h"
#include "cli/drivers/answer.h"
#include "cli/drivers/batch_line.h"
#include "cli/drivers/day.h"
#include "cli/drivers/end_of_run.h"
#include "cli/drivers/parallel.h"
#include "cli/io/output.h"

#include <array>
#include <cstring>
#include <span>
#include <stdexcept>

namespace vantoril::cli {

namespace {

// The query of a line of instants, read in this order so that its first
// fault is the one named; false for a blank line or a comment. The query's
// texts may be in `texts`, which must outlive it.
bool ReadLineQuery(const Context& c, std::string_view line, LineKind kind, astro::Query& q, astro::InstantTexts& texts)
{
    const Options& o = c.options;
    const bool placed = c.place.has_value();
    const BatchLine fields = kind == LineKind::Text ? SplitBatchLine(line, placed, o.dec.has_value()) : BatchLine{};
    if (fields.empty) return false;
    astro::ReadInstant(fields.date, fields.time, c.zone, o.fold, q, texts);
    q.longitude = placed && fields.longitude.empty() ? c.KnownLongitude() : astro::ParseLongitude(fields.longitude);
    q.ra = fields.ra.empty() ? o.ra : std::optional(astro::ParseRightAscension(fields.ra));
    if (o.dec) {
        // A catalogue place comes whole: RA and DEC from the line, or both from the options.
        if (fields.dec.empty() && (o.decPerLine || !fields.ra.empty())) {
            throw astro::InputError("expected RA DEC at the end of the line, a catalogue place (--dec)");
        }
        q.dec = fields.dec.empty() ? o.dec : std::optional(astro::ParseDeclination(fields.dec));
        if (!q.ra) throw astro::InputError("expected RA DEC at the end of the line, a catalogue place (--dec)");
    }
    return true;
}

void AnswerInstantLine(const Context& c, std::string_view line, LineKind kind, std::string& out, unsigned& cautions)
{
    astro::Query q;
    astro::InstantTexts texts;
    if (ReadLineQuery(c, line, kind, q, texts)) {
        AnswerQuery(c, q, out, cautions);
    } else {
        // Blank in text, so a file of results lines up with its input.
        c.printer->Blank(out);
    }
}

// Whether the batch asks for the iau2006 sidereal time alone (no --show,
// no catalogue place): its lines are then answered in runs.
bool AnswersInRuns(const Context& c)
{
    return !c.options.SeeksInstants() && c.model != astro::Model::Classic && c.options.show.empty() && !c.options.dec;
}

// A run of such a batch's lines, stage by stage: every line read, then
// every line's time scales, then every line's sidereal time, then their
// text. The processor then overlaps the lines' long chains of arithmetic,
// which one line after another it cannot. A line refused on the way is
// worded as AnswerLine words it, from the error caught (not thrown twice: a
// batch may refuse many); a blank line, or one too long, is AnswerLine's.
bool AnswerInstantRun(const Context& c, std::span<const SourceLine> lines, std::string& out, unsigned& cautions)
{
    enum class Stage { Read, Refused, Other };
    struct Line {
        Stage stage = Stage::Other;
        astro::Query q;
        astro::InstantTexts texts; // the query's, where it points into them
        astro::TimeScales scales;
        astro::SiderealAnswer a;
        std::string error;
    };
    std::array<Line, kRunLines> slots;
    const auto run = std::span<Line>(slots).first(lines.size());
    const auto refuse = [](Line& l, const std::runtime_error& e) {
        l.stage = Stage::Refused;
        l.error = e.what();
    };
    for (std::size_t i = 0; i < run.size(); ++i) {
        try {
            if (ReadLineQuery(c, lines[i].text, lines[i].kind, run[i].q, run[i].texts)) {
                run[i].stage = Stage::Read;
            }
        } catch (const std::runtime_error& e) {
            refuse(run[i], e);
        }
    }
    for (Line& l : run) {
        try {
            if (l.stage == Stage::Read) l.scales = astro::Iau2006Scales(l.q, c.scales, &l.a.ut1);
        } catch (const std::runtime_error& e) {
            refuse(l, e);
        }
    }
    // As astro::Evaluate answers without a catalogue place.
    const bool apparent = c.model == astro::Model::Iau2006Apparent;
    for (Line& l : run) {
        if (l.stage == Stage::Read) l.a.lstHours = astro::Iau2006LstAt(l.scales, l.q.longitude.east, apparent);
    }
    bool ok = true;
    for (std::size_t i = 0; i < run.size(); ++i) {
        const Line& l = run[i];
        if (l.stage == Stage::Other) {
            ok = AnswerLine(c, lines[i].text, lines[i].kind, out, cautions) && ok;
            continue;
        }
        if (l.stage == Stage::Read) {
            PrintAnswer(c, l.q, l.a, out, cautions);
        } else {
            c.printer->Error(l.error, out);
            ok = false;
        }
        c.printer->EndLine(out);
    }
    return ok;
}

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

bool AnswerLine(const Context& c, std::string_view line, LineKind kind, std::string& out, unsigned& cautions)
{
    const std::size_t mark = out.size();
    bool ok = true;
    try {
        if (kind == LineKind::TooLong) {
            throw astro::InputError("line longer than " + std::to_string(LineReader::kMaxLine) + " bytes");
        }
        if (c.options.SeeksInstants()) {
            if (kind != LineKind::Text || !AnswerDayLine(c, line, out, cautions)) c.printer->Blank(out);
        } else {
            AnswerInstantLine(c, line, kind, out, cautions);
        }
    } catch (const std::runtime_error& e) { // the core's errors and RunTimeError
        out.resize(mark);
        c.printer->Error(e.what(), out);
        ok = false;
    }
    c.printer->EndLine(out);
    return ok;
}

int RunBatch(const Context& c, int input, int output, int errors)
{
    LineReader reader(input);
    Output out(output);
    c.printer->Begin(out.buffer());
    ReaderSource source(reader);
    const RunTally tally =
        AnswersInRuns(c) ? AnswerAllInRuns(c, source, AnswerInstantRun, out) : AnswerAll(c, source, AnswerLine, out);
    std::string failure;
    if (reader.error() != 0) failure = std::string("cannot read the input: ") + std::strerror(reader.error());
    return FinishRun(c, out, tally, errors, failure);
}

} // namespace vantoril::cli
