// SPDX-License-Identifier: MIT
#pragma once

#include "cli/print/printer.h"

// What the text and hours formats share: plain lines, "error: " for a line
// that failed, a table's row led by its instant, a found instant by its date.

namespace vantoril::cli {

class LinePrinter : public Printer {
public:
    using Printer::Printer;

    void TableRow(const astro::Query& q, const astro::InstantTexts& utc, const astro::SiderealAnswer& a, double haHours,
                  std::string& out) const override;
    void Error(std::string_view reason, std::string& out) const override;
    void Blank(std::string& /*out*/) const override {}
    void DayNone(const astro::DaySearch& s, const astro::DayResult& r, std::string& out) const override;
};

} // namespace vantoril::cli
