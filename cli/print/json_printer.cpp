// SPDX-License-Identifier: MIT
// --format json: JSON Lines, an object per answer, {"error": ...} per line
// that failed, null per blank or # line. Each object carries its own
// warning.
#include "astro/time/time_scales.h"
#include "cli/print/instant_text.h"
#include "cli/print/json_text.h"
#include "cli/print/numbers.h"
#include "cli/print/printers.h"

namespace vantoril::cli {

namespace {

class JsonPrinter final : public Printer {
public:
    using Printer::Printer;

    void Result(const astro::Query& q, const astro::SiderealAnswer& a, double haHours, std::string& out) const override
    {
        out += "{\"utc\":\"";
        AppendNormalisedUtc(out, q);
        out += "\",\"utc_text\":\"";
        AppendTypedDateTime(out, q, ' ');
        out += "\",\"longitude\":";
        AppendJsonString(out, q.longitude.text);
        out += ",\"longitude_deg\":";
        AppendShortest(out, q.longitude.east);
        AppendModel(out, a);
        out += ",\"lst\":\"";
        AppendLst(out, a);
        out += "\",\"lst_hours\":";
        AppendShortest(out, a.lstHours);
        if (a.set) {
            for (const Quantity quantity : settings().show) {
                const std::string_view name = kQuantityNames[static_cast<std::size_t>(quantity)];
                out.append(",\"").append(name).append("\":\"");
                AppendClock(out, AngleOf(*a.set, quantity), settings().decimals, IsSigned(quantity));
                out.append("\",\"").append(name).append("_hours\":");
                AppendShortest(out, AngleOf(*a.set, quantity));
            }
        }
        if (q.ra) {
            out += ",\"ra\":\"";
            out.append(q.ra->text);
            out += "\",\"ra_hours\":";
            AppendShortest(out, q.ra->hours);
            AppendDeclination(out, q.dec);
            out += ",\"hour_angle\":\"";
            AppendClock(out, haHours, settings().decimals, true);
            out += "\",\"hour_angle_hours\":";
            AppendShortest(out, HourAngleAsShown(haHours, settings().decimals));
        }
        if (settings().Civil()) {
            out += ",\"local\":\"";
            astro::AppendInZone(out, q, *settings().zone);
            out += "\",\"zone\":";
            AppendJsonString(out, settings().zone->name());
        }
        AppendPlace(out, q.longitude);
        AppendWarning(out, a.ut1.cautions);
        out += '}';
    }

    void Error(std::string_view reason, std::string& out) const override
    {
        out += "{\"error\":";
        AppendJsonString(out, reason);
        out += '}';
    }

    void Blank(std::string& out) const override { out += "null"; }

    void DayInstant(const astro::DaySearch& s, const astro::PrintedInstant& p, const astro::SiderealAnswer& a,
                    std::string& out) const override;
    void DayNone(const astro::DaySearch& s, const astro::DayResult& r, std::string& out) const override;

    [[nodiscard]] bool ShowsDaySidereal() const override { return true; }
    [[nodiscard]] bool CarriesCautions() const override { return true; }

private:
    // The members naming the model, its kind and its UT1 - UTC.
    void AppendModel(std::string& out, const astro::SiderealAnswer& a) const
    {
        const astro::ModelInfo& model = astro::InfoOf(settings().model);
        if (settings().model == astro::Model::Classic) {
            out += ",\"model\":\"classic\"";
            return;
        }
        out.append(",\"model\":\"").append(model.name).append("\",\"kind\":\"").append(model.kind);
        out += "\",\"dut1\":";
        AppendShortest(out, a.ut1.dut1);
        if (a.ut1.dut1Source != nullptr) {
            out += ",\"dut1_source\":\"";
            out += a.ut1.dut1Source;
            out += "\",\"eop_file\":";
            AppendJsonString(out, settings().scales->eop->name());
        }
    }

    static void AppendDeclination(std::string& out, const std::optional<astro::Declination>& dec)
    {
        if (!dec) return;
        out += ",\"dec\":";
        AppendJsonString(out, dec->text);
        out += ",\"dec_deg\":";
        AppendShortest(out, dec->degrees);
    }

    void AppendPlace(std::string& out, const astro::Longitude& longitude) const
    {
        const PlaceShown* place = PlaceAt(longitude);
        if (place == nullptr) return;
        out += ",\"place\":";
        AppendJsonString(out, place->name);
        out += ",\"place_zone\":";
        if (place->zone.empty()) {
            out += "null";
        } else {
            AppendJsonString(out, place->zone);
        }
    }

    void AppendWarning(std::string& out, unsigned cautions) const
    {
        if (cautions == 0) return;
        out += ",\"warning\":";
        AppendJsonString(out, astro::CautionText(cautions, *settings().scales));
    }
};

void JsonPrinter::DayInstant(const astro::DaySearch& s, const astro::PrintedInstant& p, const astro::SiderealAnswer& a,
                             std::string& out) const
{
    const bool lst = s.event == astro::Event::SiderealTime;
    out.append("{\"event\":\"").append(astro::EventName(s.event)).append("\",\"date\":\"");
    astro::AppendUtcDate(out, {s.span.mjd, 0, 0});
    out += "\",\"utc\":\"";
    astro::AppendUtcDate(out, p);
    out += 'T';
    astro::AppendUtcTime(out, p);
    out += "\",\"longitude\":";
    AppendJsonString(out, s.longitude.text);
    out += ",\"longitude_deg\":";
    AppendShortest(out, s.longitude.east);
    AppendModel(out, a);
    out.append(lst ? ",\"target_lst\":\"" : ",\"ra\":\"").append(s.target.text);
    out += lst ? "\",\"target_lst_hours\":" : "\",\"ra_hours\":";
    AppendShortest(out, s.target.hours);
    AppendDeclination(out, s.dec);
    out += ",\"lst\":\"";
    if (settings().model == astro::Model::Classic) {
        out += a.classicText.view();
    } else {
        AppendClock(out, a.lstHours, p.decimals, false);
    }
    out += "\",\"lst_hours\":";
    AppendShortest(out, a.lstHours);
    if (s.zone != nullptr && !s.zone->IsUtc()) {
        const astro::CivilReading local = astro::ReadingIn(*s.zone, p);
        out.append(",\"local\":\"").append(local.texts.date.data()).append("T").append(local.texts.time.data());
        astro::AppendOffset(out, local.offset, false);
        out += "\",\"zone\":";
        AppendJsonString(out, s.zone->name());
    }
    AppendPlace(out, s.longitude);
    AppendWarning(out, a.ut1.cautions);
    out += '}';
}

void JsonPrinter::DayNone(const astro::DaySearch& s, const astro::DayResult& r, std::string& out) const
{
    out.append("{\"event\":\"").append(astro::EventName(s.event)).append("\",\"date\":\"");
    astro::AppendUtcDate(out, {s.span.mjd, 0, 0});
    out += "\",\"utc\":null,\"longitude\":";
    AppendJsonString(out, s.longitude.text);
    const astro::ModelInfo& model = astro::InfoOf(settings().model);
    out.append(",\"model\":\"").append(model.name) += '"';
    if (!model.kind.empty()) out.append(",\"kind\":\"").append(model.kind) += '"';
    out += ",\"note\":";
    AppendJsonString(out, NoneNote(s, r));
    if (!r.nearest.empty()) {
        out += ",\"nearest_utc\":[";
        for (std::size_t i = 0; i < r.nearest.size(); ++i) {
            out += i == 0 ? "\"" : ",\"";
            astro::AppendUtcDate(out, r.nearest[i]);
            out += 'T';
            astro::AppendUtcTime(out, r.nearest[i]);
            out += '"';
        }
        out += ']';
    }
    out += '}';
}

} // namespace

std::unique_ptr<Printer> MakeJsonPrinter(const PrintSettings& settings)
{
    return std::make_unique<JsonPrinter>(settings);
}

} // namespace vantoril::cli
