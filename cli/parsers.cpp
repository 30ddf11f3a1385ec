// SPDX-License-Identifier: MIT
#include "cli/parsers.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <vector>

namespace vantoril::cli {

int SmallNumber(std::string_view digits)
{
    int n = 0;
    for (const char c : digits) n = n * 10 + (c - '0');
    return n;
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool AllDigits(std::string_view s)
{
    for (const char c : s) {
        if (!IsDigit(c)) return false;
    }
    return !s.empty();
}

// Position of the first character of s that pred accepts, or s.size().
template <typename Pred>
std::size_t FindIf(std::string_view s, Pred pred)
{
    std::size_t i = 0;
    while (i < s.size() && !pred(s[i])) ++i;
    return i;
}

// A lambda, not the function itself: a function pointer as predicate is called, not inlined.
std::size_t FindBlank(std::string_view s)
{
    return FindIf(s, [](char c) { return IsBlank(c); });
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Splits at the first occurrence of sep; the second part is empty and
// `found` false when there is none.
std::pair<std::string_view, std::string_view> SplitAt(std::string_view s, char sep, bool& found)
{
    std::size_t at = 0;
    while (at < s.size() && s[at] != sep) ++at; // short texts: a loop beats a memchr call
    found = at < s.size();
    if (!found) return {s, {}};
    return {s.substr(0, at), s.substr(at + 1)};
}

[[noreturn]] void Expected(const char* what, std::string_view text, const char* form)
{
    throw InputError(std::string(what) + ' ' + Quoted(text) + ": expected " + form);
}

constexpr const char* kLongitudeForms = "a form like 79d51m0sW, 79:51:00W, \"79 51 0 W\", -79.85 or 79.85W";

// Whether the plain decimal `text` is above `limit` (or at it, with
// `orEqual`), by its written value: a long text may round to the limit's double.
bool Beyond(std::string_view text, double value, double limit, bool orEqual)
{
    // Up to 15 significant digits a value near these small whole limits
    // rounds to a double of its own side.
    if (text.size() <= 15) return orEqual ? value >= limit : value > limit;
    const auto exact = ReadExactDecimal(text, false);
    const auto bound = ReadExactDecimal(std::to_string(static_cast<int>(limit)), false);
    if (!exact || !bound) return orEqual ? value >= limit : value > limit;
    const int order = CompareMagnitude(*exact, *bound);
    return orEqual ? order >= 0 : order > 0;
}

// FastDecimal and PlainDecimal with the value in an out parameter: through
// std::optional the value and its flag were stored and read back at every
// call, a stall on each of the numbers of a batch line.
inline bool ReadFastDecimal(std::string_view text, double& value)
{
    // Up to 15 digits make an exact integer and 10^k (k <= 22) is exact, so
    // one division rounds correctly: the value every correct reader gives.
    static constexpr std::array<double, 16> kTens = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = text.data();
    const char* const end = p + text.size();
    std::uint64_t mantissa = 0;
    auto digits = [&] {
        const char* start = p;
        for (unsigned d = 0; p < end && (d = static_cast<unsigned char>(*p) - '0') < 10; ++p)
            mantissa = mantissa * 10 + d;
        return p - start;
    };
    const auto whole = digits();
    std::ptrdiff_t decimals = 0;
    if (p < end && *p == '.') {
        ++p;
        decimals = digits();
        if (decimals == 0) return false;
    }
    // Leading zeros beyond 15 digits, rare, go the library's way.
    if (whole == 0 || p != end || whole + decimals > 15) return false;
    // Below 10^15, so the signed conversion is exact (and needs no fix-up for
    // the top bit).
    const auto exact = static_cast<double>(static_cast<std::int64_t>(mantissa));
    value = decimals == 0 ? exact : exact / kTens[static_cast<std::size_t>(decimals)];
    return true;
}

// PlainDecimal's texts of more than 15 digits.
bool ReadLongDecimal(std::string_view text, double& value)
{
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (!AllDigits(whole)) return false;
    if (point != std::string_view::npos && !AllDigits(text.substr(point + 1))) return false;
    double read = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), read);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(read)) return false;
    value = read;
    return true;
}

inline bool ReadPlainDecimal(std::string_view text, double& value)
{
    return ReadFastDecimal(text, value) || ReadLongDecimal(text, value);
}

// A value below `limit` as written stays below it as a double.
double Below(double value, double limit) { return value < limit ? value : std::nextafter(limit, 0.0); }

// Up to three parts of a longitude separated by one of the forms' separators.
bool SplitParts(std::string_view body, std::string_view text, Longitude& out)
{
    std::array<std::string_view, 3> parts{};
    std::size_t count = 0;
    auto isLetter = [](char c) { return c == 'd' || c == 'D' || c == 'm' || c == 'M' || c == 's' || c == 'S'; };
    const bool lettered = FindIf(body, isLetter) < body.size();
    const bool coloned = FindIf(body, [](char c) { return c == ':'; }) < body.size();
    if (lettered) {
        // 79d, 79d51m, 79d51m0s (the final letter of the last part optional).
        static constexpr std::array<char, 3> kLetters = {'d', 'm', 's'};
        while (!body.empty() && count < 3) {
            const char letter = kLetters[count];
            const auto at = FindIf(body, [letter](char c) { return (c | 0x20) == letter; });
            if (at == body.size()) {
                if (count == 0) return false;
                parts[count++] = body;
                body = {};
                break;
            }
            parts[count++] = body.substr(0, at);
            body.remove_prefix(at + 1);
        }
        if (!body.empty()) return false;
    } else if (coloned) {
        bool found = true;
        while (found && count < 3) {
            auto [head, tail] = SplitAt(body, ':', found);
            parts[count++] = head;
            body = tail;
        }
        if (found) return false;
    } else {
        while (!body.empty()) {
            if (count == 3) return false;
            parts[count++] = body.substr(0, FindBlank(body));
            body.remove_prefix(parts[count - 1].size());
            body = Trim(body);
        }
    }
    if (count == 0) return false;
    double value[3] = {0, 0, 0};
    for (std::size_t i = 0; i < count; ++i) {
        if (!ReadPlainDecimal(parts[i], value[i])) return false;
    }
    if (Beyond(parts[0], value[0], 180, false) || Beyond(parts[1], value[1], 60, true) ||
        Beyond(parts[2], value[2], 60, true)) {
        throw InputError("longitude " + Quoted(text) + ": at most 180 degrees, minutes and seconds below 60");
    }
    value[1] = Below(value[1], 60);
    value[2] = Below(value[2], 60);
    out.degrees = value[0];
    out.minutes = value[1];
    out.seconds = value[2];
    out.degreesText = parts[0];
    out.minutesText = parts[1];
    out.secondsText = parts[2];
    out.east = value[0] + value[1] / 60 + value[2] / 3600;
    return true;
}

} // namespace

std::string Quoted(std::string_view value)
{
    constexpr std::size_t kShown = 40;
    std::string out = "\"";
    for (std::size_t i = 0; i < value.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(value[i]);
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += "\\x";
            out += "0123456789abcdef"[c >> 4];
            out += "0123456789abcdef"[c & 15];
        }
    }
    if (value.size() > kShown) out += "...";
    out += '"';
    return out;
}

std::optional<double> FastDecimal(std::string_view text)
{
    double value = 0;
    if (!ReadFastDecimal(text, value)) return std::nullopt;
    return value;
}

std::optional<double> PlainDecimal(std::string_view text)
{
    double value = 0;
    if (!ReadPlainDecimal(text, value)) return std::nullopt;
    return value;
}

std::optional<ExactDecimal> ReadExactDecimal(std::string_view text, bool scientific)
{
    ExactDecimal d;
    std::string_view rest = text;
    if (scientific && !rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
        d.negative = rest.front() == '-';
        rest.remove_prefix(1);
    }
    const std::size_t wholeEnd = FindIf(rest, [](char c) { return !IsDigit(c); });
    const std::string_view whole = rest.substr(0, wholeEnd);
    rest.remove_prefix(wholeEnd);
    std::string_view fraction;
    if (!rest.empty() && rest.front() == '.') {
        rest.remove_prefix(1);
        const std::size_t fractionEnd = FindIf(rest, [](char c) { return !IsDigit(c); });
        fraction = rest.substr(0, fractionEnd);
        rest.remove_prefix(fractionEnd);
    }
    if (whole.empty() && fraction.empty()) return std::nullopt;
    long long exponent = 0;
    if (!rest.empty()) {
        if (!scientific || (rest.front() != 'e' && rest.front() != 'E')) return std::nullopt;
        rest.remove_prefix(1);
        bool negativeExponent = false;
        if (!rest.empty() && (rest.front() == '-' || rest.front() == '+')) {
            negativeExponent = rest.front() == '-';
            rest.remove_prefix(1);
        }
        if (!AllDigits(rest)) return std::nullopt;
        // Beyond a billion the number is zero or huge whatever its digits.
        for (const char c : rest) exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        if (negativeExponent) exponent = -exponent;
    }
    // Significant digits and where the point stands among them.
    std::string_view w = whole.substr(std::min(whole.find_first_not_of('0'), whole.size()));
    d.exponent = static_cast<long long>(w.size()) + exponent;
    d.digits.assign(w);
    if (w.empty()) {
        const std::size_t zeros = std::min(fraction.find_first_not_of('0'), fraction.size());
        d.exponent -= static_cast<long long>(zeros);
        d.digits.assign(fraction.substr(zeros));
    } else {
        d.digits.append(fraction);
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.exponent = 0;
    // from_chars reads every length correctly rounded but takes no '+'.
    const std::string_view number = text.substr(!text.empty() && text.front() == '+' ? 1 : 0);
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), d.value);
    if (ec == std::errc::result_out_of_range) {
        d.value = d.exponent > 0 ? HUGE_VAL : 0.0;
        if (d.negative) d.value = -d.value;
    } else if (ec != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return d;
}

int CompareMagnitude(const ExactDecimal& a, const ExactDecimal& b)
{
    if (a.digits.empty() || b.digits.empty()) return static_cast<int>(!a.digits.empty()) - !b.digits.empty();
    if (a.exponent != b.exponent) return a.exponent < b.exponent ? -1 : 1;
    const int order = a.digits.compare(b.digits);
    return (order > 0) - (order < 0);
}

Date ParseDate(std::string_view text)
{
    constexpr const char* kForm = "YYYY-MM-DD";
    bool found = false;
    auto [year, rest] = SplitAt(text, '-', found);
    auto [month, day] = SplitAt(rest, '-', found);
    if (!found || year.size() < 4 || !AllDigits(year) || month.size() != 2 || !AllDigits(month) || day.size() != 2 ||
        !AllDigits(day)) {
        Expected("date", text, kForm);
    }
    Date d;
    d.yearText = year;
    d.monthText = month;
    d.dayText = day;
    d.year = -1;
    const std::string_view significant = year.substr(std::min(year.find_first_not_of('0'), year.size()));
    if (significant.size() <= 18) {
        d.year = 0;
        for (const char c : significant) d.year = d.year * 10 + (c - '0');
    }
    d.month = SmallNumber(month);
    d.day = SmallNumber(day);
    if (d.month < 1 || d.month > 12) throw InputError("date " + Quoted(text) + ": the month must be 01 to 12");
    if (d.day < 1 || d.day > 31) throw InputError("date " + Quoted(text) + ": the day must be 01 to 31");
    return d;
}

Time ParseTime(std::string_view text)
{
    constexpr const char* kForm = "HH:MM:SS, seconds may have up to 9 decimals";
    bool found = false;
    auto [hour, rest] = SplitAt(text, ':', found);
    auto [minute, second] = SplitAt(rest, ':', found);
    const std::size_t wholeSeconds = FindIf(second, [](char c) { return c == '.'; });
    if (!found || hour.empty() || hour.size() > 2 || !AllDigits(hour) || minute.size() != 2 || !AllDigits(minute) ||
        wholeSeconds != 2 || second.size() > 12) {
        Expected("time", text, kForm);
    }
    double seconds = 0;
    if (!ReadPlainDecimal(second, seconds)) Expected("time", text, kForm);
    Time t;
    t.hourText = hour;
    t.minuteText = minute;
    t.secondText = second;
    t.hour = SmallNumber(hour);
    t.minute = SmallNumber(minute);
    t.second = seconds;
    if (t.hour > 23 || t.minute > 59 || t.second >= 61) {
        throw InputError("time " + Quoted(text) + ": hours 00 to 23, minutes 00 to 59, seconds below 60");
    }
    return t;
}

Time ParseClock(std::string_view text)
{
    constexpr const char* kForm = "HH:MM or HH:MM:SS, seconds may have up to 9 decimals";
    bool found = false;
    auto [hour, minute] = SplitAt(text, ':', found);
    if (found && FindIf(minute, [](char c) { return c == ':'; }) == minute.size()) {
        if (hour.empty() || hour.size() > 2 || !AllDigits(hour) || minute.size() != 2 || !AllDigits(minute)) {
            Expected("time", text, kForm);
        }
        Time t;
        t.hourText = hour;
        t.minuteText = minute;
        t.secondText = "00";
        t.hour = SmallNumber(hour);
        t.minute = SmallNumber(minute);
        if (t.hour > 23 || t.minute > 59) {
            throw InputError("time " + Quoted(text) + ": hours 00 to 23, minutes 00 to 59, seconds below 60");
        }
        return t;
    }
    try {
        return ParseTime(text);
    } catch (const InputError& e) {
        if (std::string_view(e.what()).find(": expected ") != std::string_view::npos) Expected("time", text, kForm);
        throw;
    }
}

Longitude ParseLongitude(std::string_view text)
{
    std::string_view body = Trim(text);
    Longitude lng;
    lng.text = body;
    bool signed_ = false;
    bool lettered = false;
    if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
        signed_ = true;
        lng.west = body.front() == '-';
        body.remove_prefix(1);
    }
    if (!body.empty()) {
        const char last = body.back();
        if (last == 'E' || last == 'e' || last == 'W' || last == 'w') {
            lettered = true;
            lng.west = last == 'W' || last == 'w';
            body = Trim(body.substr(0, body.size() - 1));
        }
    }
    if (signed_ && lettered) {
        throw InputError("longitude " + Quoted(text) + ": give a sign or E/W, not both");
    }
    if (body.empty() || !SplitParts(body, text, lng)) Expected("longitude", text, kLongitudeForms);
    if (lng.east > 180) throw InputError("longitude " + Quoted(text) + ": at most 180 degrees");
    if (lng.west) lng.east = -lng.east;
    return lng;
}

RightAscension ParseRightAscension(std::string_view text)
{
    constexpr const char* kForm = "HH:MM[:SS[.s]], below 24 hours";
    Time t;
    try {
        t = ParseClock(text);
    } catch (const InputError&) {
        Expected("right ascension", text, kForm);
    }
    if (t.second >= 60) Expected("right ascension", text, kForm);
    return {text, t.hour + t.minute / 60.0 + t.second / 3600.0};
}

BatchLine SplitBatchLine(std::string_view line, bool longitudeOptional)
{
    BatchLine out;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == '#') return out;
    out.empty = false;

    // Fields are separated by blanks; the longitude may itself hold blanks.
    // An instant is DATE TIME or one ISO 8601 field (it has a T).
    std::array<std::string_view, 2> head{};
    std::string_view rest = trimmed;
    const std::string_view first = rest.substr(0, FindBlank(rest));
    const bool iso = FindIf(first, [](char c) { return c == 'T' || c == 't'; }) < first.size();
    for (std::size_t n = 0; n < (iso ? 1U : 2U); ++n) {
        head[n] = rest.substr(0, FindBlank(rest));
        rest = Trim(rest.substr(head[n].size()));
        if (rest.empty() && (!longitudeOptional || n + 1 != (iso ? 1U : 2U))) {
            throw InputError(std::string(iso ? "expected YYYY-MM-DDTHH:MM[:SS] LONGITUDE [RA]"
                                             : "expected DATE TIME LONGITUDE [RA]") +
                             ", found " + Quoted(trimmed));
        }
    }
    out.date = head[0];
    out.time = head[1];
    // What follows the time (all of the rest: the line is trimmed) is the
    // longitude, then a right ascension when the last field has colons and
    // is not the longitude's only field.
    const std::string_view tail = rest;
    std::size_t lastStart = tail.size();
    while (lastStart > 0 && !IsBlank(tail[lastStart - 1])) --lastStart;
    const std::string_view last = tail.substr(lastStart);
    if ((lastStart > 0 || longitudeOptional) && FindIf(last, [](char c) { return c == ':'; }) < last.size()) {
        out.ra = last;
        out.longitude = Trim(tail.substr(0, lastStart));
    } else {
        out.longitude = tail;
    }
    return out;
}

} // namespace vantoril::cli
