// SPDX-License-Identifier: MIT
#include "cli/instants.h"

#include <algorithm>
#include <cstdio>

namespace vantoril::cli {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int TwoDigits(std::string_view s) { return (s[0] - '0') * 10 + (s[1] - '0'); }

// By hand rather than find_first_of, which calls memchr for every character
// of the text: a batch reads these a million times.
std::size_t FindT(std::string_view text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == 'T' || text[i] == 't') return i;
    }
    return std::string_view::npos;
}

std::size_t FindLastSign(std::string_view text)
{
    for (std::size_t i = text.size(); i > 0; --i) {
        if (text[i - 1] == '+' || text[i - 1] == '-') return i - 1;
    }
    return std::string_view::npos;
}

// Z, +HH:MM or +HHMM (or -) at the end of a clock text: its offset east of
// UTC in seconds, the clock text left before it.
bool SplitOffset(std::string_view& clock, int& seconds)
{
    if (!clock.empty() && (clock.back() == 'Z' || clock.back() == 'z')) {
        clock.remove_suffix(1);
        seconds = 0;
        return true;
    }
    const auto sign = FindLastSign(clock);
    if (sign == std::string_view::npos) return false;
    std::string_view offset = clock.substr(sign + 1);
    const bool colon = offset.size() == 5 && offset[2] == ':';
    if (!colon && offset.size() != 4)
        throw InputError("offset " + Quoted(clock.substr(sign)) + ": expected Z, +HH:MM or +HHMM (or -)");
    const std::string_view hours = offset.substr(0, 2);
    const std::string_view minutes = offset.substr(colon ? 3 : 2, 2);
    if (!IsDigit(hours[0]) || !IsDigit(hours[1]) || !IsDigit(minutes[0]) || !IsDigit(minutes[1]) ||
        TwoDigits(hours) > 23 || TwoDigits(minutes) > 59) {
        throw InputError("offset " + Quoted(clock.substr(sign)) +
                         ": expected Z, +HH:MM or +HHMM (or -), hours below 24, minutes below 60");
    }
    seconds = (TwoDigits(hours) * 60 + TwoDigits(minutes)) * 60 * (clock[sign] == '-' ? -1 : 1);
    clock = clock.substr(0, sign);
    return true;
}

// The seconds text's fraction, point included ("" for none).
std::string_view Fraction(const Time& t)
{
    return t.secondText.substr(std::min(t.secondText.find('.'), t.secondText.size()));
}

int WholeSecond(const Time& t) { return static_cast<int>(t.second); }

// Seconds from 1970 of a civil reading, a second of 60 as 59.
std::int64_t Seconds(const Date& d, const Time& t)
{
    return DaysFromCivil(d.year, d.month, d.day) * 86400 + static_cast<std::int64_t>(t.hour) * 3600 +
           static_cast<std::int64_t>(t.minute) * 60 + std::min(WholeSecond(t), 59);
}

// A reading `at` (seconds from 1970) as date and time texts; `second60`
// writes its :59 as the leap second :60.
bool WriteReading(std::int64_t at, bool second60, std::string_view fraction, InstantTexts& texts)
{
    const std::int64_t days = at >= 0 ? at / 86400 : -((-at + 86399) / 86400);
    const auto seconds = static_cast<int>(at - days * 86400);
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilFromDays(days, year, month, day);
    if (year < 0 || year > 9999) return false;
    // By hand, not by snprintf: a batch in a zone writes a million of them.
    auto put = [](char* p, int value, int digits) {
        for (int i = digits - 1; i >= 0; --i, value /= 10) p[i] = static_cast<char>('0' + value % 10);
        return p + digits;
    };
    char* d = put(texts.date.data(), static_cast<int>(year), 4);
    *d++ = '-';
    d = put(d, month, 2);
    *d++ = '-';
    *put(d, day, 2) = '\0';
    char* t = put(texts.time.data(), seconds / 3600, 2);
    *t++ = ':';
    t = put(t, seconds / 60 % 60, 2);
    *t++ = ':';
    t = put(t, second60 ? 60 : seconds % 60, 2);
    // The fraction is at most 9 digits and a point (ParseTime's limit).
    t = std::copy(fraction.begin(),
                  fraction.begin() + std::min<std::ptrdiff_t>(static_cast<std::ptrdiff_t>(fraction.size()), 12), t);
    *t = '\0';
    texts.timeSize = static_cast<std::size_t>(t - texts.time.data());
    return true;
}

std::string Candidate(std::int64_t utc, std::string_view fraction)
{
    InstantTexts texts;
    if (!WriteReading(utc, false, fraction, texts)) return "(out of range)";
    return std::string(texts.date.data()) + 'T' + texts.time.data() + 'Z';
}

} // namespace

std::int64_t DaysFromCivil(std::int64_t year, int month, int day)
{
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(std::int64_t days, std::int64_t& year, int& month, int& day)
{
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = yoe + era * 400 + (month <= 2 ? 1 : 0);
}

bool IsIsoInstant(std::string_view text) { return FindT(text) != std::string_view::npos; }

void ReadInstant(std::string_view date, std::string_view time, const Zone& zone, Fold fold, Query& q,
                 InstantTexts& texts)
{
    std::string_view clock = time;
    const bool iso = IsIsoInstant(date);
    // The instant as typed, for messages.
    auto whole = [typed = date, time, iso] {
        return iso ? std::string(typed) : std::string(typed) + ' ' + std::string(time);
    };
    if (iso) {
        const auto t = FindT(date);
        clock = date.substr(t + 1);
        date = date.substr(0, t);
    }
    int offset = 0;
    bool offsetGiven = false;
    try {
        offsetGiven = SplitOffset(clock, offset);
        q.date = ParseDate(date);
        q.time = ParseClock(clock);
    } catch (const InputError& e) {
        // A misshapen ISO text is named whole, with its forms; a value out of
        // range keeps its own reason.
        if (iso && std::string_view(e.what()).find(": expected ") != std::string_view::npos) {
            throw InputError("instant " + Quoted(whole()) + ": expected " + kInstantForms);
        }
        throw;
    }
    if (!offsetGiven && zone.IsUtc()) return;
    if (q.date.year < 0 || q.date.year > 9999) {
        throw InputError("date year " + Quoted(q.date.yearText) + ": an offset or a zone takes years 0000 to 9999");
    }
    const std::int64_t local = Seconds(q.date, q.time);
    const std::string_view fraction = Fraction(q.time);
    if (!offsetGiven) {
        const LocalOffsets offsets = zone.OffsetsOfLocal(local);
        offset = offsets.before;
        if (offsets.kind != LocalOffsets::Unique) {
            const std::int64_t a = local - offsets.before;
            const std::int64_t b = local - offsets.after;
            if (fold == Fold::Refuse) {
                throw InputError(Quoted(whole()) + " in " + zone.name() +
                                 (offsets.kind == LocalOffsets::Gap
                                      ? ": that civil time does not exist (the clocks skip it); "
                                      : ": that civil time happens twice; ") +
                                 "it would be " + Candidate(std::min(a, b), fraction) + " or " +
                                 Candidate(std::max(a, b), fraction) + " (--fold earlier or --fold later takes one)");
            }
            offset = static_cast<int>(local - (fold == Fold::Earlier ? std::min(a, b) : std::max(a, b)));
        }
    }
    const bool leap = q.time.second >= 60;
    if (leap && offset % 60 != 0) {
        throw InputError("time " + Quoted(clock) + ": a leap second needs an offset of whole minutes");
    }
    if (!WriteReading(local - offset, leap, fraction, texts)) {
        throw InputError("instant " + Quoted(whole()) + ": in UTC it falls outside the years 0000 to 9999");
    }
    // An offset of whole minutes leaves the seconds' text, and so their
    // value, as they were: not read again.
    const double second = q.time.second;
    const bool sameSecond = offset % 60 == 0;
    ReadWrittenInstant(texts.Date(), sameSecond ? texts.Time().substr(0, 8) : texts.Time(), q);
    if (sameSecond) {
        q.time.secondText = texts.Time().substr(6);
        q.time.second = second;
    }
}

void ReadWrittenInstant(std::string_view date, std::string_view time, Query& q)
{
    q.date.yearText = date.substr(0, 4);
    q.date.monthText = date.substr(5, 2);
    q.date.dayText = date.substr(8, 2);
    q.date.year = SmallNumber(q.date.yearText);
    q.date.month = SmallNumber(q.date.monthText);
    q.date.day = SmallNumber(q.date.dayText);
    if (time.size() > 8) {
        q.time = ParseTime(time);
        return;
    }
    q.time.hourText = time.substr(0, 2);
    q.time.minuteText = time.substr(3, 2);
    q.time.secondText = time.substr(6, 2);
    q.time.hour = SmallNumber(q.time.hourText);
    q.time.minute = SmallNumber(q.time.minuteText);
    q.time.second = SmallNumber(q.time.secondText);
}

void WriteUtcTexts(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts)
{
    std::array<char, 10> fraction{'.'};
    for (int i = 9; i > 0; --i, nanoseconds /= 10)
        fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + nanoseconds % 10);
    WriteReading(seconds, false,
                 std::string_view(fraction.data(), decimals > 0 ? static_cast<std::size_t>(decimals) + 1 : 0), texts);
}

std::int64_t UtcSeconds(const Query& q) { return Seconds(q.date, q.time); }

void AppendOffset(std::string& out, int seconds, bool zulu)
{
    if (seconds == 0 && zulu) {
        out += 'Z';
        return;
    }
    const int magnitude = seconds < 0 ? -seconds : seconds;
    std::array<char, 16> text{};
    const int n = magnitude % 60 != 0
                      ? std::snprintf(text.data(), text.size(), "%c%02d:%02d:%02d", seconds < 0 ? '-' : '+',
                                      magnitude / 3600, magnitude / 60 % 60, magnitude % 60)
                      : std::snprintf(text.data(), text.size(), "%c%02d:%02d", seconds < 0 ? '-' : '+',
                                      magnitude / 3600, magnitude / 60 % 60);
    out.append(text.data(), static_cast<std::size_t>(n));
}

void AppendInZone(std::string& out, const Query& q, const Zone& zone)
{
    const std::int64_t utc = UtcSeconds(q);
    const int offset = zone.OffsetAt(utc);
    InstantTexts texts;
    if (q.date.year < 0 || q.date.year > 9999 ||
        !WriteReading(utc + offset, q.time.second >= 60 && offset % 60 == 0, Fraction(q.time), texts)) {
        out += "(out of range)";
        return;
    }
    out.append(texts.Date()).append(1, 'T').append(texts.Time());
    AppendOffset(out, offset, zone.IsUtc());
}

} // namespace vantoril::cli
