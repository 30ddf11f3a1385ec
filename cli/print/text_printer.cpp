// SPDX-License-Identifier: MIT
// --format text: sidereal times and hour angles as h:mm:ss.
#include "cli/print/line_printer.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

namespace vantoril::cli {

namespace {

class TextPrinter final : public LinePrinter {
public:
    using LinePrinter::LinePrinter;

    void Result(const astro::Query& q, const astro::SiderealAnswer& a, double haHours, std::string& out) const override
    {
        AppendLst(out, a);
        if (q.ra) {
            out += ' ';
            AppendClock(out, haHours, settings().decimals, true);
        }
    }

    void DayInstant(const astro::DaySearch& s, const astro::PrintedInstant& p, const astro::SiderealAnswer& /*a*/,
                    std::string& out) const override
    {
        AppendFoundInstant(out, s, p);
    }
};

} // namespace

std::unique_ptr<Printer> MakeTextPrinter(const PrintSettings& settings)
{
    return std::make_unique<TextPrinter>(settings);
}

} // namespace vantoril::cli
