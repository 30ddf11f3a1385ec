// SPDX-License-Identifier: MIT
#include "cli/lst.h"

#include "cli/csv.h"
#include "cli/eop.h"
#include "cli/instants.h"
#include "cli/leap_seconds.h"
#include "cli/output.h"
#include "cli/site.h"
#include "engine/sidereal.h"
#include "runtime/conversions.h"

#include <erfa.h>
#include <erfam.h>

#include <array>
#include <atomic>
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

} // namespace

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

namespace {

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

struct CalendarDay {
    int year;
    int month;
    int day;

    // The day `count` days later (count small); After(0) turns a day past
    // the month's end into the date it counts on to.
    [[nodiscard]] CalendarDay After(int count) const;
};

int DaysInMonth(int year, int month)
{
    static constexpr std::array<int, 12> kDays = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[static_cast<std::size_t>(month - 1)];
}

CalendarDay CalendarDay::After(int count) const
{
    CalendarDay next{year, month, day + count};
    while (next.day > DaysInMonth(next.year, next.month)) {
        next.day -= DaysInMonth(next.year, next.month);
        if (++next.month > 12) {
            next.month = 1;
            ++next.year;
        }
    }
    return next;
}

// UT1 and TT of a UTC instant as two-part Julian dates sharing the whole day
// jd0: ERFA's eraDtf2d, eraUtctai, eraUtcut1 and eraTaitt, worked out once
// for the day instead of from the Julian date again in each of them (which
// was half the cost of an iau2006 batch line). TAI - UTC is read at 0h, at
// 12h (the drift of a pre-1972 day) and at 0h of the next day (a leap second).
struct TimeScales {
    double jd0;
    double ut1;
    double tt;
};

// What an instant's time scales were worked out with, beyond UT1 - UTC given.
struct TimeScaleSources {
    const EopTable* eop = nullptr;
    Iau2006Detail* detail = nullptr;
};

// A second of 60 or more in a minute that is not that long: which day, and
// whether (and by how much) it ends with a leap.
InputError SecondBeyondMinute(const CalendarDay& day, const Time& time, double leap)
{
    std::string dayText;
    AppendInt(dayText, day.year, 4);
    dayText += '-';
    AppendInt(dayText, day.month, 2);
    dayText += '-';
    AppendInt(dayText, day.day, 2);
    std::string message =
        "time " +
        Quoted(std::string(time.hourText) + ":" + std::string(time.minuteText) + ":" + std::string(time.secondText)) +
        ": ";
    // The table's leaps are whole seconds or a few milliseconds.
    const double leapRounded = std::round(leap * 1e6) / 1e6;
    if (time.hour != 23 || time.minute != 59) {
        message += "only the last minute of a day (23:59) can have a leap second; seconds below 60";
    } else if (leapRounded == 0) {
        message += dayText + " has no leap second; seconds below 60";
    } else {
        std::string length;
        AppendNumber(length, 60 + leapRounded);
        std::string by;
        AppendNumber(by, leapRounded);
        message += "the last minute of " + dayText + " has a leap of " + by + " s; seconds below " + length;
    }
    return InputError(message);
}

TimeScales FromUtc(const CalendarDay& day, const Time& time, double dut1, TimeScaleSources sources = {})
{
    double dat0 = 0;
    double dat12 = 0;
    double dat24 = 0;
    double mjd0 = 0;
    double mjd = 0;
    // The years reaching here (0 to 9999) are all valid for ERFA's calendar;
    // before 1960 TAI - UTC is 0 and the status only says "dubious".
    const int status = eraDat(day.year, day.month, day.day, 0.0, &dat0);
    // UTC drifted against TAI only before 1972, and a leap second ends a day
    // only at 23:59: elsewhere the other two readings equal the first.
    dat12 = dat24 = dat0;
    if (day.year < 1972) eraDat(day.year, day.month, day.day, 0.5, &dat12);
    if (time.hour == 23 && time.minute == 59) {
        const CalendarDay next = day.After(1);
        eraDat(next.year, next.month, next.day, 0.0, &dat24);
    }
    // eraCal2jd's integer formula for a day already checked.
    const long my = (day.month - 14) / 12;
    const long iypmy = day.year + my;
    mjd0 = ERFA_DJM0;
    const long days = (1461L * (iypmy + 4800L)) / 4L + (367L * (day.month - 2 - 12 * my)) / 12L -
                      (3L * ((iypmy + 4900L) / 100L)) / 4L + day.day - 2432076L; // whole days: integer division
    mjd = static_cast<double>(days);
    const double drift = 2.0 * (dat12 - dat0);
    const double leap = dat24 - (dat0 + drift);
    const double secondsInMinute = time.hour == 23 && time.minute == 59 ? 60.0 + leap : 60.0;
    if (time.second >= secondsInMinute) throw SecondBeyondMinute(day, time, leap);
    const double seconds = 60.0 * (60.0 * time.hour + time.minute) + time.second;
    const double tai = seconds / ERFA_DAYSEC * ((ERFA_DAYSEC + drift) / ERFA_DAYSEC) + dat0 / ERFA_DAYSEC;
    if (sources.detail == nullptr)
        return {mjd0 + mjd, tai + (dut1 - dat0) / ERFA_DAYSEC, tai + ERFA_TTMTAI / ERFA_DAYSEC};
    Iau2006Detail& detail = *sources.detail;
    const double utcMjd = mjd + seconds / ERFA_DAYSEC;
    const LeapTableInUse& table = LeapTable();
    if (day.year < 1960) {
        detail.cautions |= kBefore1960;
    } else if (table.expiresMjd > 0 && utcMjd >= table.expiresMjd) {
        detail.cautions |= kAfterLeapTableExpiry;
    } else if (status == 1 && table.expiresMjd == 0) {
        detail.cautions |= kErfaDubiousYear; // ERFA's own table, and no expiry to go by
    }
    detail.dut1 = dut1;
    if (sources.eop != nullptr) {
        double ut1MinusTai = 0;
        bool predicted = false;
        const double taiMinusUtc = tai * ERFA_DAYSEC - seconds;
        if (sources.eop->Ut1MinusTai(utcMjd, ut1MinusTai, predicted)) {
            // To a tenth of a nanosecond: the tables give a tenth of a microsecond,
            // and the result then shows no rounding noise.
            detail.dut1 = std::round((ut1MinusTai + taiMinusUtc) * 1e10) / 1e10;
            detail.dut1Source = predicted ? "predicted" : "final";
        } else if (sources.eop->named) {
            throw InputError("UT1-UTC: " + sources.eop->name() + " covers " + sources.eop->SpanText() +
                             ", not this instant");
        } else {
            detail.dut1 = 0;
            detail.dut1Source = "none";
            detail.cautions |= kOutsideEopSpan;
        }
    }
    return {mjd0 + mjd, tai + (detail.dut1 - dat0) / ERFA_DAYSEC, tai + ERFA_TTMTAI / ERFA_DAYSEC};
}

} // namespace

void AppendClock(std::string& out, double hours, int decimals, bool signedHours)
{
    const std::int64_t unit = kPowersOfTen[static_cast<std::size_t>(decimals)];
    const std::int64_t day = 86400 * unit;
    std::int64_t total = std::llround(hours * 3600.0 * static_cast<double>(unit)) % day;
    if (total < 0) total += day;
    if (signedHours && total >= day / 2) total -= day; // rounding may have reached +12 h
    // Written into a small buffer and appended once: a batch line's result
    // is mostly this text.
    std::array<char, 24> text{};
    char* p = text.data();
    if (signedHours) *p++ = total < 0 ? '-' : '+';
    const std::int64_t magnitude = total < 0 ? -total : total;
    const auto seconds = static_cast<int>(magnitude / unit);
    const int h = seconds / 3600;
    if (h >= 10) *p++ = static_cast<char>('0' + h / 10);
    *p++ = static_cast<char>('0' + h % 10);
    for (const int field : {seconds / 60 % 60, seconds % 60}) {
        *p++ = ':';
        *p++ = static_cast<char>('0' + field / 10);
        *p++ = static_cast<char>('0' + field % 10);
    }
    if (decimals > 0) {
        *p++ = '.';
        std::int64_t fraction = magnitude % unit;
        for (int i = decimals; i > 0; --i) {
            p[i - 1] = static_cast<char>('0' + fraction % 10);
            fraction /= 10;
        }
        p += decimals;
    }
    out.append(text.data(), p);
}

void AppendNormalisedUtc(std::string& out, const Query& q)
{
    // The year as text, so that one of any length counts on too; whether it
    // is a leap year shows in its last four digits.
    std::string year(q.date.yearText.substr(std::min(q.date.yearText.find_first_not_of('0'), q.date.yearText.size())));
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    const int lastFour = std::stoi(year.substr(year.size() - 4));
    int month = q.date.month;
    int day = q.date.day;
    const int length = DaysInMonth(lastFour, month);
    if (day > length) { // a day runs on by less than a month, and December has 31
        day -= length;
        ++month;
    }
    out += year;
    out += '-';
    AppendInt(out, month, 2);
    out += '-';
    AppendInt(out, day, 2);
    out += 'T';
    AppendInt(out, q.time.hour, 2);
    out.append(":").append(q.time.minuteText).append(":").append(q.time.secondText);
}

double HourAngle(double lstHours, double raHours)
{
    double ha = std::fmod(lstHours - raHours + 12.0, 24.0);
    if (ha < 0) ha += 24.0;
    return ha - 12.0;
}

ClassicText ClassicLst(const Query& q, double& lstHours)
{
    if (q.time.second >= 60) {
        throw InputError(Join("time ", Quoted(q.time.secondText), ": the classic model takes seconds below 60"));
    }
    // The parsed values are what LenientNumber gives for the same texts (both
    // read plain decimals correctly rounded) and StrictSingle for the small
    // whole numbers of the lists; reading each text once more through them
    // would cost most of a batch line.
    WorkingValues v;
    // What the change procedures store as the boxes are filled in.
    v.LngD = q.longitude.degrees;
    v.LngM = q.longitude.minutes;
    v.LngS = q.longitude.seconds;
    v.Minute = StoreSingle(q.time.minute);
    v.Second = StoreSingle(q.time.second);
    // The compute command, reads and runs interleaved as it does them. A year
    // of more digits than a long long holds goes through the box's reader.
    v.Year = StoreSingle(q.date.year >= 0 ? static_cast<double>(q.date.year) : LenientNumber(q.date.yearText));
    v.Month = static_cast<float>(q.date.month);
    ComputeLstStep1(v);
    v.Day = static_cast<float>(q.date.day);
    v.EWSign = q.longitude.west ? -1 : 1;
    ComputeLstSteps2To5(v);
    v.Hour = static_cast<float>(q.time.hour);
    ComputeLstSteps6To16(v);
    ClassicText text;
    text.size = static_cast<std::size_t>(FormatLst(v, text.chars.data()) - text.chars.data());
    lstHours = v.LST;
    return text;
}

double ReduceTurns(double angle)
{
    // fmod is exact but a slow library call; a - n * 2pi in one fused step
    // is exact too when n is right, which the two corrections make sure of.
    const double n = std::floor(angle / ERFA_D2PI);
    double r = std::fma(-n, ERFA_D2PI, angle);
    if (r < 0) {
        r += ERFA_D2PI;
    } else if (r >= ERFA_D2PI) {
        r -= ERFA_D2PI;
    }
    return r;
}

double Gmst06(double jd0, double ut1, double tt)
{
    // eraEra00 with its two parts ordered (the day's fraction is the smaller)
    // and the fraction of jd0, which ends in .5, known.
    const double t = ut1 + (jd0 - ERFA_DJ00);
    const double f = (ut1 >= 0 && ut1 < 1 ? ut1 : std::fmod(ut1, 1.0)) + 0.5;
    const double era = ReduceTurns(ERFA_D2PI * (f + 0.7790572732640 + 0.00273781191135448 * t));
    // eraGmst06: the precession polynomial in TT, operation for operation.
    const double c = ((jd0 - ERFA_DJ00) + tt) / ERFA_DJC;
    return ReduceTurns(
        era + (0.014506 +
               (4612.156534 + (1.3915817 + (-0.00000044 + (-0.000029956 + (-0.0000000368) * c) * c) * c) * c) * c) *
                  ERFA_DAS2R);
}

namespace {

double Iau2006LstFrom(const Query& q, bool apparent, double dut1, TimeScaleSources sources)
{
    if (q.date.year < 0 || q.date.year > 9999) {
        throw InputError(Join("date year ", Quoted(q.date.yearText), ": the iau2006 model takes years 0000 to 9999"));
    }
    // A day past the month's end counts on, as in the window.
    const CalendarDay day = CalendarDay{static_cast<int>(q.date.year), q.date.month, q.date.day}.After(0);
    const TimeScales t = FromUtc(day, q.time, dut1, sources);
    // A plan often lists several targets or places at one instant: the
    // previous line's Greenwich time is kept for the next.
    thread_local struct {
        TimeScales t{};
        bool apparent = false;
        double greenwich = -1;
    } last;
    if (last.greenwich < 0 || last.apparent != apparent || last.t.jd0 != t.jd0 || last.t.ut1 != t.ut1 ||
        last.t.tt != t.tt) {
        last = {t, apparent, apparent ? eraGst06a(t.jd0, t.ut1, t.jd0, t.tt) : Gmst06(t.jd0, t.ut1, t.tt)};
    }
    const double greenwich = last.greenwich;
    // Both angles are reduced already, so one turn at most brings the sum back.
    double angle = greenwich + q.longitude.east * ERFA_DD2R;
    if (angle < 0) {
        angle += ERFA_D2PI;
    } else if (angle >= ERFA_D2PI) {
        angle -= ERFA_D2PI;
    }
    const double hours = angle * (12.0 / ERFA_DPI);
    return hours < 24.0 ? hours : 0.0;
}

std::atomic<unsigned> notedCautions{0};

} // namespace

double Iau2006Lst(const Query& q, bool apparent, double dut1) { return Iau2006LstFrom(q, apparent, dut1, {}); }

double Iau2006Lst(const Query& q, const Options& o, Iau2006Detail& detail)
{
    return Iau2006LstFrom(q, o.apparent, o.dut1, {o.eopTable, &detail});
}

void AppendShortest(std::string& out, double x) { AppendNumber(out, x); }

void NoteCautions(unsigned cautions)
{
    // Most lines have none: no shared write for them.
    if (cautions != 0) notedCautions.fetch_or(cautions, std::memory_order_relaxed);
}

unsigned TakeNotedCautions() { return notedCautions.exchange(0); }

void WarnNotedCautions(const Options& o, int errors)
{
    const unsigned cautions = TakeNotedCautions();
    if (o.format == Format::Json) return;
    for (unsigned bit = 1; bit <= kFoundEopUsed; bit <<= 1) {
        if ((cautions & bit) != 0) {
            Complain(errors, (bit == kFoundEopUsed ? "note: " : "warning: ") + CautionText(bit, o));
        }
    }
}

std::string CautionText(unsigned cautions, const Options& o)
{
    std::string text;
    auto add = [&](const std::string& part) { text.append(text.empty() ? "" : "; ").append(part); };
    if ((cautions & kBefore1960) != 0) add("before 1960 UTC is not tied to TAI: TT-UTC taken as 32.184 s");
    if ((cautions & kAfterLeapTableExpiry) != 0) {
        add("after " + LeapTable().expiresText +
            ", when the leap-second table expires: a leap second announced since is not counted");
    }
    if ((cautions & kErfaDubiousYear) != 0) {
        add("beyond the years ERFA's leap-second table is sure for: a later leap second is not counted");
    }
    if ((cautions & kOutsideEopSpan) != 0 && o.eopTable != nullptr) {
        add("UT1-UTC taken as 0: " + o.eopTable->name() + " covers " + o.eopTable->SpanText());
    }
    if ((cautions & kFoundEopUsed) != 0 && o.eopTable != nullptr) {
        add("UT1-UTC from " + o.eopTable->name() + ", found in the default places (--eop none for 0)");
    }
    return text;
}

void AppendIau2006Members(std::string& out, const Options& o, const Iau2006Detail& detail)
{
    out += ",\"model\":\"iau2006\",\"kind\":\"";
    out += o.apparent ? "apparent" : "mean";
    out += "\",\"dut1\":";
    AppendNumber(out, detail.dut1);
    if (detail.dut1Source != nullptr) {
        out += ",\"dut1_source\":\"";
        out += detail.dut1Source;
        out += "\",\"eop_file\":";
        AppendJsonString(out, o.eopTable->name());
    }
}

void AppendWarningMember(std::string& out, unsigned cautions, const Options& o)
{
    if (cautions == 0) return;
    out += ",\"warning\":";
    AppendJsonString(out, CautionText(cautions, o));
}

std::int64_t ClockSeconds(std::string_view text)
{
    std::int64_t seconds = 0;
    std::int64_t field = 0;
    for (const char c : text) {
        if (c == ':') {
            seconds = (seconds + field) * 60;
            field = 0;
        } else {
            field = field * 10 + (c - '0');
        }
    }
    return seconds + field;
}

namespace {

// The columns of kCsvHeader but the error's, each followed by its comma.
void AppendCsvResult(const Options& o, const Query& q, const ClassicText& classicText, const Iau2006Detail& detail,
                     double lstHours, double haHours, std::string& out)
{
    const int decimals = o.Decimals();
    AppendNormalisedUtc(out, q);
    out += 'Z';
    out += ',';
    if (o.site != nullptr && !o.site->zone.IsUtc()) {
        AppendInZone(out, q, o.site->zone);
        out += ',';
        AppendCsvField(out, o.site->zone.name());
    } else {
        out += ',';
    }
    out += ',';
    if (o.site != nullptr) AppendCsvField(out, o.site->placeName);
    out += ',';
    AppendCsvField(out, q.longitude.text);
    out += ',';
    AppendNumber(out, q.longitude.east);
    if (o.model == Model::Classic) {
        out += ",classic,,,";
        out += classicText.view();
    } else {
        out += ",iau2006,";
        out += o.apparent ? "apparent" : "mean";
        out += ',';
        AppendNumber(out, detail.dut1);
        out += ',';
        AppendClock(out, lstHours, decimals, false);
    }
    out += ',';
    AppendNumber(out, lstHours);
    out += ',';
    if (q.ra) {
        AppendCsvField(out, q.ra->text);
        out += ',';
        AppendNumber(out, q.ra->hours);
        out += ',';
        AppendClock(out, haHours, decimals, true);
        out += ',';
        AppendNumber(out, haHours);
    } else {
        out += ",,,";
    }
    out += ',';
    if (detail.dut1Source != nullptr) out += detail.dut1Source;
    out += ',';
    if (detail.cautions != 0) AppendCsvField(out, CautionText(detail.cautions, o));
    out += ',';
}

} // namespace

void AppendResult(const Options& o, const Query& q, std::string& out, Shown* shown)
{
    double lstHours = 0;
    ClassicText classicText;
    Iau2006Detail detail;
    if (o.model == Model::Classic) {
        classicText = ClassicLst(q, lstHours);
    } else {
        lstHours = Iau2006Lst(q, o, detail);
    }
    const int decimals = o.Decimals();
    double haHours = q.ra ? HourAngle(lstHours, q.ra->hours) : 0.0;
    if (shown != nullptr) {
        // Steps per hour of what is shown, and of the hour angle.
        const auto scale = static_cast<double>(kPowersOfTen[static_cast<std::size_t>(decimals)]);
        const double haSteps = o.format == Format::Hours ? scale * 1e4 : scale * 3600;
        shown->lstHours = lstHours;
        if (o.format != Format::Hours && o.model == Model::Classic) {
            shown->steps = ClockSeconds(classicText.view());
            shown->stepHours = 1.0 / 3600;
        } else {
            // Rounded exactly as AppendClock and AppendHours round.
            // and reduced as they reduce: just before 24 h the clock shows 0:00:00.
            const std::int64_t perDay = std::llround(24 * haSteps);
            shown->steps = (o.format == Format::Hours ? std::llround(lstHours * haSteps)
                                                      : std::llround(lstHours * 3600.0 * scale)) %
                           perDay;
            shown->stepHours = 1.0 / haSteps;
        }
        if (q.ra) {
            const double shownHours = static_cast<double>(shown->steps) * shown->stepHours;
            haHours = HourAngle(shownHours, static_cast<double>(std::llround(q.ra->hours * haSteps)) / haSteps);
        }
    }

    switch (o.format) {
    case Format::Text:
        if (o.model == Model::Classic) {
            out += classicText.view();
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
        AppendNormalisedUtc(out, q);
        out += "\",\"utc_text\":\"";
        AppendDateTime(out, q, ' ');
        out += "\",\"longitude\":";
        AppendJsonString(out, q.longitude.text);
        out += ",\"longitude_deg\":";
        AppendNumber(out, q.longitude.east);
        if (o.model == Model::Classic) {
            out += ",\"model\":\"classic\",\"lst\":\"";
            out += classicText.view();
        } else {
            AppendIau2006Members(out, o, detail);
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
        AppendSiteJson(o, q, out);
        AppendWarningMember(out, detail.cautions, o);
        out += '}';
        break;
    case Format::Csv:
        AppendCsvResult(o, q, classicText, detail, lstHours, haHours, out);
        break;
    }
    if (o.format != Format::Json) {
        const bool found =
            detail.dut1Source != nullptr && !o.eopTable->named && (detail.cautions & kOutsideEopSpan) == 0;
        NoteCautions(detail.cautions | (found ? kFoundEopUsed : 0U));
    }
}

} // namespace vantoril::cli
