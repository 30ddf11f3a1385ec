// SPDX-License-Identifier: MIT
#include "cli/drivers/batch.h"

#include "astro/base/errors.h"
#include "cli/drivers/answer.h"
#include "cli/drivers/batch_line.h"
#include "cli/drivers/day.h"
#include "cli/drivers/end_of_run.h"
#include "cli/drivers/parallel.h"
#include "cli/io/output.h"

#include <cstring>

namespace vantoril::cli {

namespace {

// A line of instants: read in this order, so that its first fault is the
// one named.
void AnswerInstantLine(const Context& c, std::string_view line, LineKind kind, std::string& out, unsigned& cautions)
{
    const Options& o = c.options;
    const bool placed = c.place.has_value();
    const BatchLine fields = kind == LineKind::Text ? SplitBatchLine(line, placed, o.dec.has_value()) : BatchLine{};
    if (fields.empty) {
        // Blank in text, so a file of results lines up with its input.
        c.printer->Blank(out);
        return;
    }
    astro::Query q;
    astro::InstantTexts texts;
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
    AnswerQuery(c, q, out, cautions);
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
    const RunTally tally = AnswerAll(c, source, AnswerLine, out);
    std::string failure;
    if (reader.error() != 0) failure = std::string("cannot read the input: ") + std::strerror(reader.error());
    return FinishRun(c, out, tally, errors, failure);
}

} // namespace vantoril::cli
