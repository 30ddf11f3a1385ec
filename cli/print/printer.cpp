// SPDX-License-Identifier: MIT
#include "cli/print/printer.h"

#include "astro/search/found_instant.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

namespace vantoril::cli {

void Printer::AppendLst(std::string& out, const astro::SiderealAnswer& a) const
{
    if (settings_.model == astro::Model::Classic) {
        out += a.classicText.view();
    } else {
        AppendClock(out, a.lstHours, settings_.decimals, false);
    }
}

std::string Printer::NoneNote(const astro::DaySearch& s)
{
    std::string note = "the window's whole seconds skip ";
    AppendClock(note, astro::TargetHours(s), 0, false);
    note += " on ";
    astro::AppendUtcDate(note, {s.span.mjd, 0, 0});
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
