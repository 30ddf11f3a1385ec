// SPDX-License-Identifier: MIT
#include "cli/print/printer.h"

#include "astro/search/found_instant.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

#include <array>
#include <cmath>

namespace vantoril::cli {

double Printer::AngleOf(const astro::SiderealSet& set, Quantity quantity)
{
    switch (quantity) {
    case Quantity::Gmst:
        return set.gmst;
    case Quantity::Gast:
        return set.gast;
    case Quantity::Lmst:
        return set.lmst;
    case Quantity::Last:
        return set.last;
    case Quantity::Eqeq:
        return set.eqeq;
    case Quantity::Era:
        break;
    }
    return set.era;
}

void Printer::AppendLst(std::string& out, const astro::SiderealAnswer& a) const
{
    if (settings_.model == astro::Model::Classic) {
        out += a.classicText.view();
    } else {
        AppendClock(out, a.lstHours, settings_.decimals, false);
    }
}

void Printer::AppendFoundInstant(std::string& out, const astro::DaySearch& s, const astro::PrintedInstant& p)
{
    if (s.zone != nullptr && !s.zone->IsUtc()) {
        const astro::CivilReading local = astro::ReadingIn(*s.zone, p);
        out.append(local.texts.date.data()).append(" ").append(local.texts.time.data());
        astro::AppendOffset(out, local.offset, false);
        return;
    }
    astro::AppendUtcDate(out, p);
    out += ' ';
    astro::AppendUtcTime(out, p);
}

std::string Printer::NoneNote(const astro::DaySearch& s, const astro::DayResult& r) const
{
    std::string note;
    if (r.none == astro::NoInstant::WholeSeconds) {
        note = "the window's whole seconds skip ";
        AppendClock(note, astro::TargetHours(s), 0, false);
        note += " on ";
        astro::AppendUtcDate(note, {s.span.mjd, 0, 0});
        return note;
    }
    note = "the civil day ";
    astro::AppendUtcDate(note, {s.span.mjd, 0, 0});
    note += " in " + (s.zone != nullptr ? s.zone->name() : std::string("UTC")) + " is ";
    AppendShortest(note, std::round((s.span.end - s.span.begin) / 36) / 100);
    note += " hours long and ";
    static constexpr std::array<const char*, 3> kEvents = {"the transit of ", "the lower transit of ",
                                                           "the sidereal time "};
    note.append(kEvents[static_cast<std::size_t>(s.event)]).append(s.target.text);
    note += " falls outside it";
    for (std::size_t i = 0; i < r.nearest.size(); ++i) {
        note += i == 0 ? ": nearest at " : " and ";
        AppendFoundInstant(note, s, r.nearest[i]);
    }
    return note;
}

std::unique_ptr<Printer> MakePrinter(const PrintSettings& settings)
{
    switch (settings.format) {
    case Format::Hours:
        return MakeHoursPrinter(settings);
    case Format::Json:
        return MakeJsonPrinter(settings);
    case Format::Csv:
        return MakeCsvPrinter(settings);
    case Format::Text:
        break;
    }
    return MakeTextPrinter(settings);
}

} // namespace vantoril::cli
