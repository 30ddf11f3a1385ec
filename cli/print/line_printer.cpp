// SPDX-License-Identifier: MIT
#include "cli/print/line_printer.h"

namespace vantoril::cli {

void LinePrinter::TableRow(const astro::Query& q, const astro::InstantTexts& utc, const astro::SiderealAnswer& a,
                           double haHours, std::string& out) const
{
    if (settings().Civil()) {
        astro::AppendInZone(out, q, *settings().zone);
    } else {
        out.append(utc.Date()).append(1, 'T').append(utc.Time()).append(1, 'Z');
    }
    out += ' ';
    Result(q, a, haHours, out);
}

void LinePrinter::Error(std::string_view reason, std::string& out) const { out.append("error: ").append(reason); }

void LinePrinter::DayNone(const astro::DaySearch& s, const astro::DayResult& r, std::string& out) const
{
    out += "none: " + NoneNote(s, r);
}

} // namespace vantoril::cli
