// SPDX-License-Identifier: MIT
#include "cli/transit.h"

#include "cli/eop.h"
#include "cli/instants.h"
#include "cli/lst.h"
#include "cli/site.h"

#include <erfa.h>
#include <erfam.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace vantoril::cli {

namespace {

constexpr double kDay = 86400;
constexpr long long kMjd1970 = 40587;

// Into [-12, +12) hours.
double Reduced(double hours)
{
    double r = std::fmod(hours + 12.0, 24.0);
    if (r < 0) r += 24.0;
    return r - 12.0;
}

struct CivilDate {
    int year = 0, month = 0, day = 0;
};

long long MjdOf(int year, int month, int day)
{
    // eraCal2jd's formula; a day past the month's end simply counts on.
    const long my = (month - 14) / 12;
    const long iypmy = year + my;
    return (1461L * (iypmy + 4800L)) / 4L + (367L * (month - 2 - 12 * my)) / 12L -
           (3L * ((iypmy + 4900L) / 100L)) / 4L + day - 2432076L;
}

CivilDate DateOf(long long mjd)
{
    CivilDate d;
    double fraction = 0;
    eraJd2cal(ERFA_DJM0, static_cast<double>(mjd), &d.year, &d.month, &d.day, &fraction);
    return d;
}

// UTC seconds in the day: 86400 and a leap second, or more or less before
// 1972, when UTC also stepped by fractions of a second.
double DayLength(long long mjd, bool withLeapSeconds)
{
    if (!withLeapSeconds) return kDay;
    const CivilDate d = DateOf(mjd);
    const CivilDate next = DateOf(mjd + 1);
    double dat0 = 0;
    double dat12 = 0;
    double dat24 = 0;
    eraDat(d.year, d.month, d.day, 0.0, &dat0);
    eraDat(d.year, d.month, d.day, 0.5, &dat12);
    eraDat(next.year, next.month, next.day, 0.0, &dat24);
    const double leap = dat24 - (dat0 + 2.0 * (dat12 - dat0));
    return kDay + std::round(leap * 1e6) / 1e6;
}

// A point of UTC as a day and the seconds since its 0h.
struct UtcPoint {
    long long mjd;
    double seconds;
};

// `t` seconds after 0h of `mjd`, counted on through the days' lengths.
UtcPoint PointAt(long long mjd, double t, bool withLeapSeconds)
{
    while (t < 0) t += DayLength(--mjd, withLeapSeconds);
    for (double length = DayLength(mjd, withLeapSeconds); t >= length; length = DayLength(mjd, withLeapSeconds)) {
        t -= length;
        ++mjd;
    }
    return {mjd, t};
}

Query QueryAt(const UtcPoint& p, const CivilDate& d, const Longitude& longitude)
{
    Query q;
    q.date.year = d.year;
    q.date.month = d.month;
    q.date.day = d.day;
    // The last minute holds a leap second, when the day has one.
    if (p.seconds >= kDay - 60) {
        q.time.hour = 23;
        q.time.minute = 59;
        q.time.second = p.seconds - (kDay - 60);
    } else {
        const auto whole = static_cast<int>(p.seconds);
        q.time.hour = whole / 3600;
        q.time.minute = whole / 60 % 60;
        q.time.second = p.seconds - 60.0 * (60.0 * q.time.hour + q.time.minute);
    }
    q.longitude = longitude;
    return q;
}

Query QueryAt(const UtcPoint& p, const Longitude& longitude) { return QueryAt(p, DateOf(p.mjd), longitude); }

double TargetHours(const DaySearch& s)
{
    const double h = s.target.hours + (s.event == Event::LowerTransit ? 12.0 : 0.0);
    return h >= 24.0 ? h - 24.0 : h;
}

const char* EventName(Event e)
{
    switch (e) {
    case Event::Transit:
        return "transit";
    case Event::LowerTransit:
        return "lower_transit";
    case Event::SiderealTime:
        return "sidereal_time";
    }
    return "";
}

// An instant as printed: whole units of 10^-decimals s since 0h of its day.
struct Printed {
    long long mjd = 0;
    std::int64_t units = 0;
    int decimals = 0;
};

Printed Rounded(long long mjd, double t, int decimals, bool withLeapSeconds)
{
    static constexpr std::array<double, 7> kScale = {1, 10, 100, 1e3, 1e4, 1e5, 1e6};
    const double scale = kScale[static_cast<std::size_t>(decimals)];
    const UtcPoint p = PointAt(mjd, t, withLeapSeconds);
    Printed r{p.mjd, std::llround(p.seconds * scale), decimals};
    // Rounding may reach the end of the day: 0h of the next.
    if (static_cast<double>(r.units) >= DayLength(p.mjd, withLeapSeconds) * scale) {
        r.units -= std::llround(DayLength(p.mjd, withLeapSeconds) * scale);
        ++r.mjd;
    }
    return r;
}

std::int64_t UnitsPerSecond(int decimals)
{
    std::int64_t unit = 1;
    for (int i = 0; i < decimals; ++i) unit *= 10;
    return unit;
}

// The printed instant exactly as the readers would take its text back.
Query QueryOf(const Printed& p, const Longitude& longitude)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    const std::int64_t whole = p.units / unit;
    Query q = QueryAt({p.mjd, 0}, longitude);
    q.time.hour = whole >= 86340 ? 23 : static_cast<int>(whole / 3600);
    q.time.minute = whole >= 86340 ? 59 : static_cast<int>(whole / 60 % 60);
    q.time.second =
        static_cast<double>(p.units - (60 * (60 * static_cast<std::int64_t>(q.time.hour) + q.time.minute)) * unit) /
        static_cast<double>(unit);
    return q;
}

// The printed instant as civil time in a zone, and the zone's offset then.
struct InZone {
    InstantTexts texts;
    int offset = 0;
    std::int64_t local = 0; // whole seconds from 1970 of the civil reading
};

InZone ReadingIn(const Zone& zone, const Printed& p)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    // Civil readings here have no :60: a leap second reads as the second before it.
    const std::int64_t whole = std::min<std::int64_t>(p.units / unit, 86399);
    const std::int64_t utc = (p.mjd - kMjd1970) * 86400 + whole;
    InZone r;
    r.offset = zone.OffsetAt(utc);
    r.local = utc + r.offset;
    WriteUtcTexts(r.local, p.units % unit * (1000000000 / unit), p.decimals, r.texts);
    return r;
}

void AppendDate(std::string& out, long long mjd)
{
    const CivilDate d = DateOf(mjd);
    std::array<char, 16> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02d-%02d", d.year, d.month, d.day);
    out += text.data();
}

void AppendTime(std::string& out, const Printed& p, const Query& q)
{
    const std::int64_t unit = UnitsPerSecond(p.decimals);
    const std::int64_t inMinute = p.units - (60 * (60 * static_cast<std::int64_t>(q.time.hour) + q.time.minute)) * unit;
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02lld", q.time.hour, q.time.minute,
                  static_cast<long long>(inMinute / unit));
    out += text.data();
    if (p.decimals > 0) {
        out += '.';
        for (std::int64_t digit = unit / 10; digit > 0; digit /= 10) {
            out += static_cast<char>('0' + inMinute % unit / digit % 10);
        }
    }
}

// The classic model: the whole second whose text is the target's, the one
// before it showing another; near each crossing of the unrounded time.
struct ClassicFound {
    bool found = false;
    double second = 0;
};

ClassicFound ClassicSecond(long long mjd, double approx, std::int64_t targetSeconds, const Longitude& longitude)
{
    auto shows = [&](double t) {
        double hours = 0;
        const Query q = QueryAt(PointAt(mjd, t, false), longitude);
        return ClockSeconds(ClassicLst(q, hours).view());
    };
    const double first = std::floor(approx) - 4;
    std::int64_t before = shows(first - 1);
    for (double t = first; t <= first + 8; ++t) {
        const std::int64_t now = shows(t);
        if (now == targetSeconds && before != targetSeconds) return {true, t};
        before = now;
    }
    return {};
}

// `searched`: what the search's last evaluation noted, within a microsecond of
// the printed instant; text and hours show no sidereal time, so they take
// its notes instead of evaluating the model once more.
void AppendInstant(const Options& o, const DaySearch& s, const Printed& p, const Iau2006Detail& searched,
                   std::string& out)
{
    const Query q = QueryOf(p, s.longitude);
    double lstHours = 0;
    ClassicText classicText;
    Iau2006Detail detail;
    const bool json = o.format == Format::Json;
    const bool civil = s.zone != nullptr && !s.zone->IsUtc();
    const InZone local = civil ? ReadingIn(*s.zone, p) : InZone{};
    if (!json) {
        detail = searched;
    } else if (o.model == Model::Classic) {
        classicText = ClassicLst(q, lstHours);
    } else {
        lstHours = Iau2006Lst(q, o, detail);
    }
    switch (o.format) {
    case Format::Text:
        if (civil) {
            out.append(local.texts.date.data()).append(" ").append(local.texts.time.data());
            AppendOffset(out, local.offset, false);
            break;
        }
        AppendDate(out, p.mjd);
        out += ' ';
        AppendTime(out, p, q);
        break;
    case Format::Hours: {
        const std::int64_t unit = UnitsPerSecond(p.decimals);
        // The hours since 0h of the day shown: the civil one in a zone.
        std::int64_t units = p.units;
        if (civil) {
            out += local.texts.date.data();
            const std::int64_t second = (local.local % 86400 + 86400) % 86400;
            units = second * unit + p.units % unit;
        } else {
            AppendDate(out, p.mjd);
        }
        std::array<char, 40> text{};
        const double hours = static_cast<double>(units) / static_cast<double>(unit) / 3600;
        std::snprintf(text.data(), text.size(), " %.*f", p.decimals + 4, hours);
        out += text.data();
        break;
    }
    case Format::Json:
        out += "{\"event\":\"";
        out += EventName(s.event);
        out += "\",\"date\":\"";
        AppendDate(out, s.span.mjd);
        out += "\",\"utc\":\"";
        AppendDate(out, p.mjd);
        out += 'T';
        AppendTime(out, p, q);
        out += "\",\"longitude\":";
        AppendJsonString(out, s.longitude.text);
        out += ",\"longitude_deg\":";
        AppendShortest(out, s.longitude.east);
        if (o.model == Model::Classic) {
            out += ",\"model\":\"classic\"";
        } else {
            AppendIau2006Members(out, o, detail);
        }
        out += s.event == Event::SiderealTime ? ",\"target_lst\":\"" : ",\"ra\":\"";
        out += s.target.text;
        out += s.event == Event::SiderealTime ? "\",\"target_lst_hours\":" : "\",\"ra_hours\":";
        AppendShortest(out, s.target.hours);
        out += ",\"lst\":\"";
        if (o.model == Model::Classic) {
            out += classicText.view();
        } else {
            AppendClock(out, lstHours, p.decimals, false);
        }
        out += "\",\"lst_hours\":";
        AppendShortest(out, lstHours);
        if (civil) {
            out.append(",\"local\":\"").append(local.texts.date.data()).append("T").append(local.texts.time.data());
            AppendOffset(out, local.offset, false);
            out += "\",\"zone\":";
            AppendJsonString(out, s.zone->name());
        }
        AppendPlaceJson(o, out);
        AppendWarningMember(out, detail.cautions, o);
        out += '}';
        break;
    case Format::Csv: // refused with --transit and --when by the arguments
        break;
    }
    if (!json) {
        const bool found =
            detail.dut1Source != nullptr && !o.eopTable->named && (detail.cautions & kOutsideEopSpan) == 0;
        NoteCautions(detail.cautions | (found ? kFoundEopUsed : 0U));
    }
}

void AppendNone(const Options& o, const DaySearch& s, std::string& out)
{
    std::string note = "the window's whole seconds skip ";
    AppendClock(note, TargetHours(s), 0, false);
    note += " on ";
    AppendDate(note, s.span.mjd);
    if (o.format != Format::Json) {
        out += "none: " + note;
        return;
    }
    out += "{\"event\":\"";
    out += EventName(s.event);
    out += "\",\"date\":\"";
    AppendDate(out, s.span.mjd);
    out += "\",\"utc\":null,\"longitude\":";
    AppendJsonString(out, s.longitude.text);
    out += ",\"model\":\"classic\",\"note\":";
    AppendJsonString(out, note);
    out += '}';
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

} // namespace

std::vector<double> FindSiderealCrossings(double begin, double end, double targetHours,
                                          const std::function<double(double)>& lstAt)
{
    std::vector<double> found;
    const double secondsPerTurn = 24 * 3600 / kSiderealPerSolar;
    // The first crossing at or after `begin` by the mean rate, and those a
    // sidereal day apart; one before and one after as well, for a rate that
    // the day's start misjudges.
    double ahead = std::fmod(targetHours - lstAt(begin), 24.0);
    if (ahead < 0) ahead += 24.0;
    const double first = begin + ahead * 3600 / kSiderealPerSolar;
    for (double guess = first - secondsPerTurn; guess < end + secondsPerTurn / 2; guess += secondsPerTurn) {
        if (guess < begin - 600 || guess > end + 600) continue;
        double t = guess;
        // Newton's steps with the mean rate as the slope. The true rate
        // differs from it by under 2e-7 (the equation of the equinoxes,
        // UT1 - UTC from a table), so a step below a millisecond leaves an
        // error below a nanosecond: no further step to confirm it.
        for (int i = 0; i < 8; ++i) {
            const double step = Reduced(targetHours - lstAt(t)) * 3600 / kSiderealPerSolar;
            t += step;
            if (std::fabs(step) < 1e-3) break;
        }
        if (t >= begin && t < end && (found.empty() || t - found.back() > 1)) found.push_back(t);
    }
    return found;
}

UtcSpan UtcDay(const Date& date, bool withLeapSeconds)
{
    if (date.year < 0 || date.year > 9999) {
        throw InputError("date year " + Quoted(date.yearText) + ": the day search takes years 0000 to 9999");
    }
    const long long mjd = MjdOf(static_cast<int>(date.year), date.month, date.day);
    return {mjd, 0, DayLength(mjd, withLeapSeconds)};
}

UtcSpan CivilDay(const Date& date, const Zone& zone, bool withLeapSeconds)
{
    UtcSpan span = UtcDay(date, withLeapSeconds);
    if (zone.IsUtc()) return span;
    const double length = span.end;
    const std::int64_t midnight = (span.mjd - kMjd1970) * 86400;
    // A UTC second as seconds from 0h UTC of the date, counting the leap
    // seconds of the days either side (a civil day reaches into both).
    auto from = [&](std::int64_t utc) {
        const auto t = static_cast<double>(utc - midnight);
        if (t < 0) return t + kDay - DayLength(span.mjd - 1, withLeapSeconds);
        if (t >= kDay) return t - kDay + length;
        return t;
    };
    // The date's 0h read as civil time, and the next day's.
    span.begin = from(zone.FirstUtcAtOrAfter(midnight));
    span.end = from(zone.FirstUtcAtOrAfter(midnight + 86400));
    return span;
}

Event EventOf(const Options& o)
{
    if (o.when) return Event::SiderealTime;
    return o.lower ? Event::LowerTransit : Event::Transit;
}

void AppendDayAnswers(const Options& o, const DaySearch& s, std::string& out)
{
    const bool classic = o.model == Model::Classic;
    const double target = TargetHours(s);
    // The search stays near the day: its date and length are worked out once.
    const CivilDate date = DateOf(s.span.mjd);
    const double length = DayLength(s.span.mjd, !classic);
    Iau2006Detail detail;
    auto lstAt = [&](double t) {
        const Query q = t >= 0 && t < length ? QueryAt({s.span.mjd, t}, date, s.longitude)
                                             : QueryAt(PointAt(s.span.mjd, t, !classic), s.longitude);
        if (classic) {
            double hours = 0;
            (void)ClassicLst(q, hours);
            return hours;
        }
        detail = {};
        return Iau2006Lst(q, o, detail);
    };
    const std::vector<double> crossings = FindSiderealCrossings(s.span.begin, s.span.end, target, lstAt);
    bool any = false;
    for (const double t : crossings) {
        Printed p;
        if (classic) {
            std::string targetText;
            AppendClock(targetText, target, 0, false);
            const ClassicFound c = ClassicSecond(s.span.mjd, t, ClockSeconds(targetText), s.longitude);
            if (!c.found || c.second < s.span.begin || c.second >= s.span.end) continue;
            p = Rounded(s.span.mjd, c.second, 0, false);
        } else {
            p = Rounded(s.span.mjd, t, o.precision >= 0 ? o.precision : 6, true);
        }
        if (any) out += '\n';
        AppendInstant(o, s, p, detail, out);
        any = true;
    }
    if (!any) AppendNone(o, s, out);
}

bool AppendDayLine(const Options& o, std::string_view line, std::string& out)
{
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return false;
    const char* form = o.when ? "expected DATE LONGITUDE [LST], found " : "expected DATE LONGITUDE [RA], found ";
    std::size_t split = 0;
    while (split < trimmed.size() && trimmed[split] != ' ' && trimmed[split] != '\t') ++split;
    const std::string_view rest = Trim(trimmed.substr(split));
    if (rest.empty()) throw InputError(form + Quoted(trimmed));
    // As in the instants' lines: a last field with colons, not the only one, is the target.
    std::size_t lastStart = rest.size();
    while (lastStart > 0 && rest[lastStart - 1] != ' ' && rest[lastStart - 1] != '\t') --lastStart;
    const std::string_view last = rest.substr(lastStart);
    const bool hasTarget = lastStart > 0 && last.find(':') != std::string_view::npos;
    if (!hasTarget && o.targetPerLine) throw InputError(form + Quoted(trimmed));
    DaySearch s;
    s.event = EventOf(o);
    s.zone = &ZoneOf(o);
    s.span = CivilDay(ParseDate(trimmed.substr(0, split)), *s.zone, o.model == Model::Iau2006);
    s.longitude = ParseLongitude(hasTarget ? Trim(rest.substr(0, lastStart)) : rest);
    if (hasTarget) {
        try {
            s.target = ParseRightAscension(last);
        } catch (const InputError&) {
            throw InputError(std::string(o.when ? "sidereal time " : "right ascension ") + Quoted(last) +
                             ": expected HH:MM:SS[.s], below 24 hours");
        }
    } else {
        s.target = o.when ? *o.when : *o.transit;
    }
    AppendDayAnswers(o, s, out);
    return true;
}

} // namespace vantoril::cli
