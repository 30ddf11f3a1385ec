// SPDX-License-Identifier: MIT
// --format csv: RFC 4180, a header and a row of fixed columns per answer,
// ended by CRLF; a column that does not apply to a row is empty.
#include "astro/time/time_scales.h"
#include "cli/print/csv_field.h"
#include "cli/print/instant_text.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

namespace vantoril::cli {

namespace {

class CsvPrinter final : public Printer {
public:
    using Printer::Printer;

    // A catalogue place's declination and the angles of --show in columns
    // of their own, before the error's.
    void Begin(std::string& out) const override
    {
        const std::string_view header = kCsvHeader;
        out.append(header.substr(0, header.rfind("error")));
        if (settings().catalogue) out += "dec,dec_deg,";
        for (const Quantity quantity : settings().show) {
            const std::string_view name = kQuantityNames[static_cast<std::size_t>(quantity)];
            out.append(name).append(",").append(name).append("_hours,");
        }
        out += "error\r\n";
    }

    // The columns of kCsvHeader but the error's, each followed by its comma.
    void Result(const astro::Query& q, const astro::SiderealAnswer& a, double haHours, std::string& out) const override
    {
        AppendNormalisedUtc(out, q);
        out += "Z,";
        if (settings().Civil()) {
            astro::AppendInZone(out, q, *settings().zone);
            out += ',';
            AppendCsvField(out, settings().zone->name());
        } else {
            out += ',';
        }
        out += ',';
        if (const PlaceShown* place = PlaceAt(q.longitude)) AppendCsvField(out, place->name);
        out += ',';
        AppendCsvField(out, q.longitude.text);
        out += ',';
        AppendShortest(out, q.longitude.east);
        AppendModel(out, a);
        out += ',';
        AppendShortest(out, a.lstHours);
        out += ',';
        AppendHourAngle(out, q, haHours);
        out += ',';
        if (a.ut1.dut1Source != nullptr) out += a.ut1.dut1Source;
        out += ',';
        if (a.ut1.cautions != 0) AppendCsvField(out, astro::CautionText(a.ut1.cautions, *settings().scales));
        out += ',';
        if (settings().catalogue) {
            if (q.dec) {
                AppendCsvField(out, q.dec->text);
                out += ',';
                AppendShortest(out, q.dec->degrees);
            } else {
                out += ',';
            }
            out += ',';
        }
        for (const Quantity quantity : settings().show) {
            if (a.set) {
                AppendClock(out, AngleOf(*a.set, quantity), settings().decimals, IsSigned(quantity));
                out += ',';
                AppendShortest(out, AngleOf(*a.set, quantity));
            } else {
                out += ',';
            }
            out += ',';
        }
    }

    void Error(std::string_view reason, std::string& out) const override
    {
        out.append(ExtraColumns(), ',');
        AppendCsvError(out, reason);
    }
    void Blank(std::string& out) const override { out.append(kCsvColumnsBeforeError + ExtraColumns(), ','); }
    void EndLine(std::string& out) const override { out += "\r\n"; }

    // Day searches print text, hours or JSON: the options refuse CSV for them.
    void DayInstant(const astro::DaySearch& /*s*/, const astro::PrintedInstant& /*p*/,
                    const astro::SiderealAnswer& /*a*/, std::string& /*out*/) const override
    {
    }
    void DayNone(const astro::DaySearch& /*s*/, const astro::DayResult& /*r*/, std::string& /*out*/) const override {}

private:
    [[nodiscard]] std::size_t ExtraColumns() const
    {
        return (settings().catalogue ? 2 : 0) + 2 * settings().show.size();
    }

    // model, kind, dut1 and lst.
    void AppendModel(std::string& out, const astro::SiderealAnswer& a) const
    {
        if (settings().model == astro::Model::Classic) {
            out += ",classic,,,";
            out += a.classicText.view();
            return;
        }
        const astro::ModelInfo& model = astro::InfoOf(settings().model);
        out.append(",").append(model.name).append(",").append(model.kind).append(",");
        AppendShortest(out, a.ut1.dut1);
        out += ',';
        AppendClock(out, a.lstHours, settings().decimals, false);
    }

    // ra, ra_hours, hour_angle and hour_angle_hours.
    void AppendHourAngle(std::string& out, const astro::Query& q, double haHours) const
    {
        if (!q.ra) {
            out += ",,,";
            return;
        }
        AppendCsvField(out, q.ra->text);
        out += ',';
        AppendShortest(out, q.ra->hours);
        out += ',';
        AppendClock(out, haHours, settings().decimals, true);
        out += ',';
        AppendShortest(out, HourAngleAsShown(haHours, settings().decimals));
    }
};

} // namespace

std::unique_ptr<Printer> MakeCsvPrinter(const PrintSettings& settings)
{
    return std::make_unique<CsvPrinter>(settings);
}

} // namespace vantoril::cli
