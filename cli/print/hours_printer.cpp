// SPDX-License-Identifier: MIT
// --format hours: sidereal times and hour angles as decimal hours, four
// places more than a second's decimals.
#include "cli/print/line_printer.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

#include <array>
#include <cstdio>

namespace vantoril::cli {

namespace {

class HoursPrinter final : public LinePrinter {
public:
    using LinePrinter::LinePrinter;

    void Result(const astro::Query& q, const astro::SiderealAnswer& a, double haHours, std::string& out) const override
    {
        if (a.set) {
            for (const Quantity quantity : settings().show) {
                if (quantity != settings().show.front()) out += ' ';
                out.append(kQuantityNames[static_cast<std::size_t>(quantity)]) += '=';
                AppendHours(out, AngleOf(*a.set, quantity), settings().decimals + 4, IsSigned(quantity));
            }
        } else {
            AppendHours(out, a.lstHours, settings().decimals + 4, false);
        }
        if (q.ra) {
            out += ' ';
            AppendHours(out, haHours, settings().decimals + 4, true);
        }
    }

    // The date and the hours since 0h of the day shown: the civil one in a zone.
    void DayInstant(const astro::DaySearch& s, const astro::PrintedInstant& p, const astro::SiderealAnswer& /*a*/,
                    std::string& out) const override
    {
        const std::int64_t unit = astro::UnitsPerSecond(p.decimals);
        std::int64_t units = p.units;
        if (s.zone != nullptr && !s.zone->IsUtc()) {
            const astro::CivilReading local = astro::ReadingIn(*s.zone, p);
            out += local.texts.date.data();
            const std::int64_t second = (local.local % 86400 + 86400) % 86400;
            units = second * unit + p.units % unit;
        } else {
            astro::AppendUtcDate(out, p);
        }
        std::array<char, 40> text{};
        const double hours = static_cast<double>(units) / static_cast<double>(unit) / 3600;
        std::snprintf(text.data(), text.size(), " %.*f", p.decimals + 4, hours);
        out += text.data();
    }
};

} // namespace

std::unique_ptr<Printer> MakeHoursPrinter(const PrintSettings& settings)
{
    return std::make_unique<HoursPrinter>(settings);
}

} // namespace vantoril::cli
