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
        if (a.set) {
            // name=h:mm:ss.fff for each angle asked for.
            for (const Quantity quantity : settings().show) {
                if (quantity != settings().show.front()) out += ' ';
                out.append(kQuantityNames[static_cast<std::size_t>(quantity)]) += '=';
                AppendClock(out, AngleOf(*a.set, quantity), settings().decimals, IsSigned(quantity));
            }
        } else {
            AppendLst(out, a);
        }
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
