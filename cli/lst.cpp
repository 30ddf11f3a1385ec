#include "cli/lst.h"

#include "engine/sidereal.h"
#include "runtime/conversions.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace vantoril::cli {

namespace {

constexpr std::array<std::int64_t, 11> kPowersOfTen = {
    1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000, 1000000000, 10000000000,
};

void AppendInt(std::string& out, std::int64_t n, int width = 0)
{
    std::array<char, 24> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), n);
    for (auto len = end - buf.data(); len < width; ++len) out += '0';
    out.append(buf.data(), end);
}

// Shortest text that reads back as the same double.
void AppendNumber(std::string& out, double x)
{
    std::array<char, 32> buf{};
    auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), x);
    out.append(buf.data(), end);
}

// Decimal hours with `decimals` places, reduced like AppendClock.
void AppendHours(std::string& out, double hours, int decimals, bool signedHours)
{
    const std::int64_t unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
    const std::int64_t day = 24 * unit;
    std::int64_t total = std::llround(hours * static_cast<double>(unit)) % day;
    if (total < 0) total += day;
    if (signedHours && total >= day / 2) total -= day;
    if (signedHours) out += total < 0 ? '-' : '+';
    const std::int64_t magnitude = total < 0 ? -total : total;
    AppendInt(out, magnitude / unit);
    if (decimals > 0) {
        out += '.';
        AppendInt(out, magnitude % unit, decimals);
    }
}

void AppendJsonString(std::string& out, std::string_view s)
{
    out += '"';
    for (const char c : s) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[(c >> 4) & 15];
            out += "0123456789abcdef"[c & 15];
        } else {
            out += c;
        }
    }
    out += '"';
}

void AppendDateTime(std::string& out, const Query& q, char between)
{
    out.append(q.date.yearText).append("-").append(q.date.monthText).append("-").append(q.date.dayText);
    out += between;
    out.append(q.time.hourText).append(":").append(q.time.minuteText).append(":").append(q.time.secondText);
}

std::string Join(std::string_view a, std::string_view b, std::string_view c)
{
    std::string s(a);
    s.append(b).append(c);
    return s;
}

} // namespace

void AppendClock(std::string& out, double hours, int decimals, bool signedHours)
{
    const std::int64_t unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
    const std::int64_t day = 86400 * unit;
    std::int64_t total = std::llround(hours * 3600.0 * static_cast<double>(unit)) % day;
    if (total < 0) total += day;
    if (signedHours && total >= day / 2) total -= day;  // rounding may have reached +12 h
    if (signedHours) out += total < 0 ? '-' : '+';
    const std::int64_t magnitude = total < 0 ? -total : total;
    const std::int64_t seconds = magnitude / unit;
    AppendInt(out, seconds / 3600);
    out += ':';
    AppendInt(out, seconds / 60 % 60, 2);
    out += ':';
    AppendInt(out, seconds % 60, 2);
    if (decimals > 0) {
        out += '.';
        AppendInt(out, magnitude % unit, decimals);
    }
}

double HourAngle(double lstHours, double raHours)
{
    double ha = std::fmod(lstHours - raHours + 12.0, 24.0);
    if (ha < 0) ha += 24.0;
    return ha - 12.0;
}

std::string ClassicLst(const Query& q, double& lstHours)
{
    if (q.time.second >= 60) {
        throw InputError(Join("time ", Quoted(q.time.secondText), ": the classic model takes seconds below 60"));
    }
    WorkingValues v;
    // What the change procedures store as the boxes are filled in.
    v.LngD = LenientNumber(q.longitude.degreesText);
    v.LngM = LenientNumber(q.longitude.minutesText);
    v.LngS = LenientNumber(q.longitude.secondsText);
    v.Minute = StoreSingle(LenientNumber(q.time.minuteText));
    v.Second = StoreSingle(LenientNumber(q.time.secondText));
    // The compute command, reads and runs interleaved as it does them.
    v.Year = StoreSingle(LenientNumber(q.date.yearText));
    v.Month = StrictSingle(q.date.monthText);
    ComputeLstStep1(v);
    v.Day = StrictSingle(q.date.dayText);
    v.EWSign = q.longitude.west ? -1 : 1;
    ComputeLstSteps2To5(v);
    v.Hour = StrictSingle(q.time.hourText);
    ComputeLstSteps6To16(v);
    std::string text = FormatLst(v);
    lstHours = v.LST;
    return text;
}

double Iau2006Lst(const Query& q, bool apparent, double dut1)
{
    if (q.date.year < 0 || q.date.year > 9999) {
        throw InputError(Join("date year ", Quoted(q.date.yearText), ": the iau2006 model takes years 0000 to 9999"));
    }
    // A day past the month's end counts on, as in the window: day 1 of the
    // month plus the days after it, back to a calendar date.
    double mjd0 = 0;
    double mjd = 0;
    eraCal2jd(static_cast<int>(q.date.year), q.date.month, 1, &mjd0, &mjd);
    int year = 0;
    int month = 0;
    int day = 0;
    double fraction = 0;
    eraJd2cal(mjd0, mjd + (q.date.day - 1), &year, &month, &day, &fraction);

    double utc1 = 0;
    double utc2 = 0;
    const int status = eraDtf2d("UTC", year, month, day, q.time.hour, q.time.minute, q.time.second, &utc1, &utc2);
    if (status < 0 || status >= 2) {
        throw InputError(Join("time ", Quoted(q.time.secondText), " seconds: beyond the end of this UTC day"));
    }
    // UT1 - TAI is UT1 - UTC less TAI - UTC of the instant, which is what
    // eraUtcut1 does; done here so the TAI conversion runs once.
    double tai1 = 0;
    double tai2 = 0;
    double taiMinusUtc = 0;
    if (eraUtctai(utc1, utc2, &tai1, &tai2) < 0 || eraDat(year, month, day, 0.0, &taiMinusUtc) < 0) {
        throw InputError(Join("date ", Quoted(q.date.yearText), ": outside ERFA's calendar"));
    }
    double ut11 = 0;
    double ut12 = 0;
    double tt1 = 0;
    double tt2 = 0;
    eraTaiut1(tai1, tai2, dut1 - taiMinusUtc, &ut11, &ut12);
    eraTaitt(tai1, tai2, &tt1, &tt2);
    const double greenwich = apparent ? eraGst06a(ut11, ut12, tt1, tt2) : eraGmst06(ut11, ut12, tt1, tt2);
    const double hours = eraAnp(greenwich + q.longitude.east * ERFA_DD2R) * (12.0 / ERFA_DPI);
    return hours < 24.0 ? hours : 0.0;
}

void AppendResult(const Options& o, const Query& q, std::string& out)
{
    double lstHours = 0;
    std::string classicText;
    if (o.model == Model::Classic) {
        classicText = ClassicLst(q, lstHours);
    } else {
        lstHours = Iau2006Lst(q, o.apparent, o.dut1);
    }
    const int decimals = o.Decimals();
    const double haHours = q.ra ? HourAngle(lstHours, q.ra->hours) : 0.0;

    switch (o.format) {
    case Format::Text:
        if (o.model == Model::Classic) {
            out += classicText;
        } else {
            AppendClock(out, lstHours, decimals, false);
        }
        if (q.ra) {
            out += ' ';
            AppendClock(out, haHours, decimals, true);
        }
        break;
    case Format::Hours:
        AppendHours(out, lstHours, decimals + 4, false);
        if (q.ra) {
            out += ' ';
            AppendHours(out, haHours, decimals + 4, true);
        }
        break;
    case Format::Json:
        out += "{\"utc\":\"";
        AppendDateTime(out, q, 'T');
        out += "\",\"longitude\":";
        AppendJsonString(out, q.longitude.text);
        out += ",\"longitude_deg\":";
        AppendNumber(out, q.longitude.east);
        if (o.model == Model::Classic) {
            out += ",\"model\":\"classic\",\"lst\":\"";
            out += classicText;
        } else {
            out += ",\"model\":\"iau2006\",\"kind\":\"";
            out += o.apparent ? "apparent" : "mean";
            out += "\",\"dut1\":";
            AppendNumber(out, o.dut1);
            out += ",\"lst\":\"";
            AppendClock(out, lstHours, decimals, false);
        }
        out += "\",\"lst_hours\":";
        AppendNumber(out, lstHours);
        if (q.ra) {
            out += ",\"ra\":\"";
            out.append(q.ra->text);
            out += "\",\"ra_hours\":";
            AppendNumber(out, q.ra->hours);
            out += ",\"hour_angle\":\"";
            AppendClock(out, haHours, decimals, true);
            out += "\",\"hour_angle_hours\":";
            AppendNumber(out, haHours);
        }
        out += '}';
        break;
    }
}

} // namespace vantoril::cli
