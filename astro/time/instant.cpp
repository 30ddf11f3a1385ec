// SPDX-License-Identifier: MIT
#include "astro/time/instant.h"

#include "astro/base/chars.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"
#include "astro/time/numeric_instant.h"

#include <algorithm>
#include <cstdio>
#include <limits>

namespace vantoril::astro {

namespace {

int TwoDigits(std::string_view s) { return (s[0] - '0') * 10 + (s[1] - '0'); }

std::size_t FindT(std::string_view text)
{
    const std::size_t at = FindIf(text, [](char c) { return c == 'T' || c == 't'; });
    return at < text.size() ? at : std::string_view::npos;
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
    // +HH:MM:SS: the offsets of local mean time, as the program prints them.
    const bool withSeconds = offset.size() == 8 && offset[2] == ':' && offset[5] == ':';
    const bool colon = withSeconds || (offset.size() == 5 && offset[2] == ':');
    constexpr std::string_view kForms = ": expected Z, +HH:MM, +HHMM or +HH:MM:SS (or -)";
    if (!colon && offset.size() != 4) throw InputError("offset " + Quoted(clock.substr(sign)) + std::string(kForms));
    const std::string_view hours = offset.substr(0, 2);
    const std::string_view minutes = offset.substr(colon ? 3 : 2, 2);
    const std::string_view secs = withSeconds ? offset.substr(6, 2) : "00";
    if (!AllDigits(hours) || !AllDigits(minutes) || !AllDigits(secs) || TwoDigits(hours) > 23 ||
        TwoDigits(minutes) > 59 || TwoDigits(secs) > 59) {
        throw InputError("offset " + Quoted(clock.substr(sign)) + std::string(kForms) +
                         ", hours below 24, minutes and seconds below 60");
    }
    seconds = ((TwoDigits(hours) * 60 + TwoDigits(minutes)) * 60 + TwoDigits(secs)) * (clock[sign] == '-' ? -1 : 1);
    clock = clock.substr(0, sign);
    return true;
}

// The seconds text's fraction, point included ("" for none).
std::string_view Fraction(const Time& t)
{
    return t.secondText.substr(std::min(t.secondText.find('.'), t.secondText.size()));
}

// Seconds from 1970 of a civil reading, a second of 60 as 59.
std::int64_t Seconds(const Date& d, const Time& t)
{
    return DaysFromCivil(d.year, d.month, d.day) * 86400 + static_cast<std::int64_t>(t.hour) * 3600 +
           static_cast<std::int64_t>(t.minute) * 60 + std::min(static_cast<int>(t.second), 59);
}

char* PutDigits(char* p, int value, int digits)
{
    for (int i = digits - 1; i >= 0; --i, value /= 10) p[i] = static_cast<char>('0' + value % 10);
    return p + digits;
}

} // namespace

const DayText& DayTextOf(std::int64_t days)
{
    thread_local DayText day;
    if (days != day.days) {
        day.days = days;
        day.date = CivilFromDays(days);
        *WriteIsoDate(day.text.data(), day.date.year, day.date.month, day.date.day) = '\0';
    }
    return day;
}

namespace {

// A reading `at` (seconds from 1970) as date and time texts; `second60`
// writes its :59 as the leap second :60.
bool WriteReading(std::int64_t at, bool second60, std::string_view fraction, InstantTexts& texts,
                  CalendarDate* date = nullptr)
{
    const std::int64_t days = DayOfSecond(at);
    const auto seconds = static_cast<int>(at - days * 86400);
    const DayText& day = DayTextOf(days);
    if (day.date.year < 0 || day.date.year > 9999) return false;
    texts.date = day.text;
    if (date != nullptr) *date = day.date;
    char* t = PutTwoDigits(texts.time.data(), seconds / 3600);
    *t++ = ':';
    t = PutTwoDigits(t, seconds / 60 % 60);
    *t++ = ':';
    t = PutTwoDigits(t, second60 ? 60 : seconds % 60);
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

// The instant as typed, for messages.
std::string Typed(std::string_view date, std::string_view time)
{
    return IsIsoInstant(date) ? std::string(date) : std::string(date) + ' ' + std::string(time);
}

// The offset of a civil time in the zone, chosen by `fold` where the clocks
// skip or repeat it; refused naming the instant as typed otherwise.
int OffsetOfCivil(std::int64_t local, std::string_view fraction, const Zone& zone, Fold fold, std::string_view date,
                  std::string_view time)
{
    const LocalOffsets offsets = zone.OffsetsOfLocal(local);
    if (offsets.kind == LocalOffsets::Unique) return offsets.before;
    const std::int64_t a = local - offsets.before;
    const std::int64_t b = local - offsets.after;
    if (fold == Fold::Refuse) {
        throw CalculationError(Quoted(Typed(date, time)) + " in " + zone.name() +
                               (offsets.kind == LocalOffsets::Gap
                                    ? ": that civil time does not exist (the clocks skip it); "
                                    : ": that civil time happens twice; ") +
                               "it would be " + Candidate(std::min(a, b), fraction) + " or " +
                               Candidate(std::max(a, b), fraction) + " (--fold earlier or --fold later takes one)");
    }
    return static_cast<int>(local - (fold == Fold::Earlier ? std::min(a, b) : std::max(a, b)));
}

// The date and the clock of DATE TIME or of one ISO text; the offset, when
// one is written, in `offset`.
bool ReadTexts(std::string_view date, std::string_view time, Instant& at, int& offset)
{
    std::string_view clock = time;
    const bool iso = IsIsoInstant(date);
    const std::string_view typed = date;
    if (iso) {
        const auto t = FindT(date);
        clock = date.substr(t + 1);
        date = date.substr(0, t);
    }
    try {
        const bool offsetGiven = SplitOffset(clock, offset);
        at.date = ParseDate(date);
        at.time = ParseClock(clock);
        if (iso && at.date.year >= 0 && at.date.day > DaysInMonth(at.date.year, at.date.month)) {
            throw InputError("instant " + Quoted(typed) + ": " + std::string(at.date.yearText) + "-" +
                             std::string(at.date.monthText) + " has " +
                             std::to_string(DaysInMonth(at.date.year, at.date.month)) +
                             " days (a day past the month's end counts on only in DATE TIME)");
        }
        return offsetGiven;
    } catch (const InputError& e) {
        // A misshapen ISO text is named whole, with its forms; a value out of
        // range keeps its own reason.
        if (iso && std::string_view(e.what()).find(": expected ") != std::string_view::npos) {
            throw InputError("instant " + Quoted(typed) + ": expected " + kInstantForms);
        }
        throw;
    }
}

} // namespace

bool IsIsoInstant(std::string_view text) { return FindT(text) != std::string_view::npos; }

bool IsOneFieldInstant(std::string_view text) { return IsIsoInstant(text) || IsNumericInstant(text); }

void ReadInstant(std::string_view date, std::string_view time, const Zone& zone, Fold fold, Instant& at,
                 InstantTexts& texts)
{
    // The form nearly every line has (no offset, no other form of instant)
    // is read without looking for the others.
    const bool plain = ReadPlainDateTime(date, time, at.date, at.time);
    if (!plain && IsNumericInstant(date)) {
        if (!time.empty()) {
            throw InputError("instant " + Quoted(date) + ": a number names the whole instant; no TIME after it");
        }
        return ReadNumericInstant(date, at.date, at.time, texts);
    }
    int offset = 0;
    const bool offsetGiven = !plain && ReadTexts(date, time, at, offset);
    if (!offsetGiven && zone.IsUtc()) return;
    if (at.date.year < 0 || at.date.year > 9999) {
        throw CalculationError("date year " + Quoted(at.date.yearText) +
                               ": an offset or a zone takes years 0000 to 9999");
    }
    const std::int64_t local = Seconds(at.date, at.time);
    const std::string_view fraction = Fraction(at.time);
    if (!offsetGiven) offset = OffsetOfCivil(local, fraction, zone, fold, date, time);
    const bool leap = at.time.second >= 60;
    if (leap && offset % 60 != 0) {
        const std::string_view clock = IsIsoInstant(date) ? date.substr(FindT(date) + 1) : time;
        throw CalculationError("time " + Quoted(clock) + ": a leap second needs an offset of whole minutes");
    }
    CalendarDate day;
    if (!WriteReading(local - offset, leap, fraction, texts, &day)) {
        throw CalculationError("instant " + Quoted(Typed(date, time)) +
                               ": in UTC it falls outside the years 0000 to 9999");
    }
    // An offset of whole minutes leaves the seconds' text, and so their
    // value, as they were: only the rest is set, from what was written.
    if (offset % 60 != 0) return ReadWrittenInstant(texts.Date(), texts.Time(), at);
    const char* written = texts.date.data();
    const char* clock = texts.time.data();
    at.date.yearText = std::string_view(written, 4);
    at.date.monthText = std::string_view(written + 5, 2);
    at.date.dayText = std::string_view(written + 8, 2);
    at.date.year = day.year;
    at.date.month = day.month;
    at.date.day = day.day;
    at.time.hourText = std::string_view(clock, 2);
    at.time.minuteText = std::string_view(clock + 3, 2);
    at.time.secondText = std::string_view(clock + 6, texts.timeSize - 6);
    at.time.hour = SmallNumber(at.time.hourText);
    at.time.minute = SmallNumber(at.time.minuteText);
}

void ReadWrittenInstant(std::string_view date, std::string_view time, Instant& at)
{
    at.date.yearText = date.substr(0, 4);
    at.date.monthText = date.substr(5, 2);
    at.date.dayText = date.substr(8, 2);
    at.date.year = SmallNumber(at.date.yearText);
    at.date.month = SmallNumber(at.date.monthText);
    at.date.day = SmallNumber(at.date.dayText);
    if (time.size() > 8) {
        at.time = ParseTime(time);
        return;
    }
    at.time.hourText = time.substr(0, 2);
    at.time.minuteText = time.substr(3, 2);
    at.time.secondText = time.substr(6, 2);
    at.time.hour = SmallNumber(at.time.hourText);
    at.time.minute = SmallNumber(at.time.minuteText);
    at.time.second = SmallNumber(at.time.secondText);
}

void WriteUtcTexts(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts)
{
    std::array<char, 10> fraction{'.'};
    for (int i = 9; i > 0; --i, nanoseconds /= 10)
        fraction[static_cast<std::size_t>(i)] = static_cast<char>('0' + nanoseconds % 10);
    if (!WriteReading(seconds, false,
                      std::string_view(fraction.data(), decimals > 0 ? static_cast<std::size_t>(decimals) + 1 : 0),
                      texts)) {
        throw CalculationError("an instant outside the years 0000 to 9999 cannot be written");
    }
}

char* PutUtcClock(char* p, int inDay, std::int64_t nanoseconds, int decimals, Time& time)
{
    p = PutTwoDigits(p, inDay / 3600);
    *p++ = ':';
    p = PutTwoDigits(p, inDay / 60 % 60);
    *p++ = ':';
    p = PutTwoDigits(p, inDay % 60);
    std::int64_t fraction = 0;
    if (decimals > 0) {
        *p++ = '.';
        std::int64_t unit = 1;
        for (int i = decimals; i < 9; ++i) unit *= 10;
        fraction = nanoseconds / unit;
        p = PutDigits(p, static_cast<int>(fraction), decimals);
    }
    time.hour = inDay / 3600;
    time.minute = inDay / 60 % 60;
    // The value ParseTime reads from the text: whole digits over a power of
    // ten, correctly rounded in one division.
    static constexpr std::array<double, 10> kTens = {1, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7, 1e8, 1e9};
    const double ten = kTens[static_cast<std::size_t>(decimals)];
    const std::int64_t digits = static_cast<std::int64_t>(inDay % 60) * static_cast<std::int64_t>(ten) + fraction;
    // Over 1 the quotient is the number itself, without the division's wait.
    time.second = decimals == 0 ? static_cast<double>(digits) : static_cast<double>(digits) / ten;
    return p;
}

void WriteUtcInstant(std::int64_t seconds, std::int64_t nanoseconds, int decimals, InstantTexts& texts, Instant& at)
{
    const std::int64_t days = DayOfSecond(seconds);
    const DayText& day = DayTextOf(days);
    texts.date = day.text;
    const auto inDay = static_cast<int>(seconds - days * 86400);
    char* t = PutUtcClock(texts.time.data(), inDay, nanoseconds, decimals, at.time);
    *t = '\0';
    texts.timeSize = static_cast<std::size_t>(t - texts.time.data());
    // Views at the fields' fixed places: the texts were just written so.
    const char* date = texts.date.data();
    const char* time = texts.time.data();
    at.date.yearText = std::string_view(date, 4);
    at.date.monthText = std::string_view(date + 5, 2);
    at.date.dayText = std::string_view(date + 8, 2);
    at.date.year = day.date.year;
    at.date.month = day.date.month;
    at.date.day = day.date.day;
    at.time.hourText = std::string_view(time, 2);
    at.time.minuteText = std::string_view(time + 3, 2);
    at.time.secondText = std::string_view(time + 6, texts.timeSize - 6);
}

std::int64_t UtcSeconds(const Instant& at) { return Seconds(at.date, at.time); }

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

void AppendInZone(std::string& out, const Instant& at, const Zone& zone)
{
    const std::int64_t utc = UtcSeconds(at);
    const int offset = zone.OffsetAt(utc);
    InstantTexts texts;
    if (at.date.year < 0 || at.date.year > 9999 ||
        !WriteReading(utc + offset, at.time.second >= 60 && offset % 60 == 0, Fraction(at.time), texts)) {
        out += "(out of range)";
        return;
    }
    out.append(texts.Date()).append(1, 'T').append(texts.Time());
    AppendOffset(out, offset, zone.IsUtc());
}

} // namespace vantoril::astro
