// SPDX-License-Identifier: MIT
#pragma once

#include "astro/search/day_search.h"
#include "astro/search/found_instant.h"
#include "astro/sidereal/models.h"
#include "astro/sidereal/query.h"
#include "astro/time/instant.h"
#include "cli/print/settings.h"

#include <memory>
#include <string>
#include <string_view>

// What a run prints, one printer per --format behind one interface. The
// drivers hand it answers and never write a result's text themselves. Each
// call appends one line without its end; EndLine ends it.

namespace vantoril::cli {

class Printer {
public:
    explicit Printer(const PrintSettings& settings) : settings_(settings) {}
    virtual ~Printer() = default;
    Printer(const Printer&) = delete;
    Printer& operator=(const Printer&) = delete;

    // What comes before the first line (CSV's header).
    virtual void Begin(std::string& /*out*/) const {}
    // The answer for a query; haHours is its hour angle when it has a right
    // ascension.
    virtual void Result(const astro::Query& q, const astro::SiderealAnswer& a, double haHours,
                        std::string& out) const = 0;
    // A table's row: the result, led by the row's instant where the format
    // has no field of its own for it. `utc` holds its UTC texts.
    virtual void TableRow(const astro::Query& q, const astro::InstantTexts& /*utc*/, const astro::SiderealAnswer& a,
                          double haHours, std::string& out) const
    {
        Result(q, a, haHours, out);
    }
    // A line that could not be answered.
    virtual void Error(std::string_view reason, std::string& out) const = 0;
    // A blank or # line of a batch, kept so that the output lines up with it.
    virtual void Blank(std::string& out) const = 0;
    virtual void EndLine(std::string& out) const { out += '\n'; }
    // An instant the day search found, and the answer at it (worked out only
    // when ShowsDaySidereal; else its cautions alone).
    virtual void DayInstant(const astro::DaySearch& s, const astro::PrintedInstant& p, const astro::SiderealAnswer& a,
                            std::string& out) const = 0;
    // A day without the instant sought, and why.
    virtual void DayNone(const astro::DaySearch& s, const astro::DayResult& r, std::string& out) const = 0;
    [[nodiscard]] virtual bool ShowsDaySidereal() const { return false; }
    // Whether each line carries its own cautions, so that the end of the run
    // does not repeat them.
    [[nodiscard]] virtual bool CarriesCautions() const { return false; }

    [[nodiscard]] const PrintSettings& settings() const { return settings_; }
    // The place of --place where an answer is for its longitude; none where
    // a batch line gave a longitude of its own.
    [[nodiscard]] const PlaceShown* PlaceAt(const astro::Longitude& longitude) const
    {
        const PlaceShown* place = settings_.place;
        return place != nullptr && longitude.text == place->longitude ? place : nullptr;
    }

protected:
    // A quantity of --show, in hours; the equation of the equinoxes is the
    // one that has a sign.
    static double AngleOf(const astro::SiderealSet& set, Quantity quantity);
    static bool IsSigned(Quantity quantity) { return quantity == Quantity::Eqeq; }
    // The sidereal time as h:mm:ss: the window's text for the classic model.
    void AppendLst(std::string& out, const astro::SiderealAnswer& a) const;
    // Why the day has none: "the window's whole seconds skip H:MM:SS on
    // DATE", or that a civil day shorter than a sidereal day falls between
    // two, with the nearest instants either side.
    [[nodiscard]] std::string NoneNote(const astro::DaySearch& s, const astro::DayResult& r) const;
    // A found instant as text: in the day's zone with its offset, or in UTC.
    static void AppendFoundInstant(std::string& out, const astro::DaySearch& s, const astro::PrintedInstant& p);

private:
    PrintSettings settings_;
};

std::unique_ptr<Printer> MakePrinter(const PrintSettings& settings);

} // namespace vantoril::cli
