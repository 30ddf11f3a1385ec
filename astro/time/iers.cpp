// SPDX-License-Identifier: MIT
#include "astro/time/iers.h"

#include "astro/base/chars.h"
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"

#include <erfa.h>

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace vantoril::astro {

namespace {

constexpr std::size_t kFinalsUt1End = 68; // the Bulletin A UT1-UTC ends in column 68
// A file whose first lines hold no data row is not an IERS table.
constexpr std::size_t kHeaderLinesAtMost = 60;

bool ReadNumber(std::string_view text, double& value)
{
    text = Trim(text);
    if (text.empty()) return false;
    // A table's short fixed-point values without the library: the loading is
    // a batch's serial start. Rounding is symmetric, so the sign comes after.
    const bool negative = text.front() == '-';
    if (ReadFastDecimal(text.substr(negative ? 1 : 0), value)) {
        if (negative) value = -value;
        return true;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size() && std::isfinite(value);
}

bool ReadWhole(std::string_view text, long long& value)
{
    text = Trim(text);
    if (text.empty()) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The MJD of a real date; none for anything else (every number is some
// day's MJD, -1 included).
std::optional<long long> RealMjd(long long year, long long month, long long day)
{
    // A year past int would wrap into a real one and pass the check.
    if (year < -4799 || year > 1000000 || month < 1 || month > 12 || day < 1 || day > 31) return std::nullopt;
    if (!IsRealDate(year, static_cast<int>(month), static_cast<int>(day))) return std::nullopt;
    return MjdOf(year, static_cast<int>(month), static_cast<int>(day));
}

// An MJD column read as a number is a whole day, and one that fits a day
// count: "1e99" reads as a number too.
bool WholeMjd(double mjd, long long& day)
{
    if (!(std::fabs(mjd) < 1e9) || mjd != std::floor(mjd)) return false;
    day = static_cast<long long>(mjd);
    return true;
}

// Whether a column holds a whole fixed-point number: [sign] digits, a point
// and exactly `decimals` digits, as the files' Fortran formats write them; a
// value cut short (-0.0209 for -0.0209506) is not.
bool HasDecimals(std::string_view text, std::size_t decimals)
{
    text = Trim(text);
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
    const std::size_t point = text.find('.');
    return point != std::string_view::npos && point > 0 && AllDigits(text.substr(0, point)) &&
           text.size() - point - 1 == decimals && AllDigits(text.substr(point + 1));
}

// The blank-separated fields of a line, counted in one pass; the first N
// kept.
template <std::size_t N>
std::size_t Fields(std::string_view line, std::array<std::string_view, N>& fields)
{
    std::size_t n = 0;
    for (std::size_t at = 0; at < line.size();) {
        while (at < line.size() && IsBlank(line[at])) ++at;
        const std::size_t start = at;
        while (at < line.size() && !IsBlank(line[at])) ++at;
        if (at == start) break;
        if (n < N) fields[n] = line.substr(start, at - start);
        ++n;
    }
    return n;
}

enum class Form { Unknown, Finals, C04, C04New };

// One daily value, as read.
struct Row {
    long long mjd = 0;
    CalendarDate date; // mjd's, as the row writes it
    double ut1MinusUtc = 0;
    bool predicted = false;
    bool empty = false;      // a finals row past the end of the predictions
    std::size_t columns = 0; // of a C04 row
};

class Reader {
public:
    Reader(std::string_view name, std::size_t line) : name_(name), line_(line) {}

    [[noreturn]] void Refuse(const std::string& reason) const
    {
        throw InputError(std::string(name_) + " line " + std::to_string(line_) + ": " + reason);
    }

    // A finals2000A.all / finals.all row: I2 year, month, day, F8.2 MJD in
    // columns 8-15, the I/P flag in 58 and UT1-UTC in 59-68.
    Row Finals(std::string_view line) const
    {
        Row r;
        if (line.size() < kFinalsUt1End) {
            // Rows past the predictions may have their blank columns cut off.
            if (Trim(line.substr(std::min<std::size_t>(16, line.size()))).empty()) {
                r.empty = true;
                return r;
            }
            Refuse("truncated: a finals row has UT1-UTC in columns 59-68, the line ends at column " +
                   std::to_string(line.size()));
        }
        long long yy = 0;
        long long month = 0;
        long long day = 0;
        double mjd = 0;
        if (!ReadWhole(line.substr(0, 2), yy) || !ReadWhole(line.substr(2, 2), month) ||
            !ReadWhole(line.substr(4, 2), day) || !ReadNumber(line.substr(7, 8), mjd)) {
            Refuse("expected the date in columns 1-6 and the MJD in columns 8-15 (finals2000A format)");
        }
        const bool whole = WholeMjd(mjd, r.mjd);
        const long long year = yy + (r.mjd <= 51543 ? 1900 : 2000);
        if (!whole || RealMjd(year, month, day) != std::optional(r.mjd)) {
            Refuse("the MJD in columns 8-15 is not the date in columns 1-6");
        }
        r.date = {year, static_cast<int>(month), static_cast<int>(day)};
        if (!HasDecimals(line.substr(7, 8), 2)) Refuse("the MJD in columns 8-15 is not whole (F8.2)");
        const char flag = line[57];
        const std::string_view value = line.substr(58, 10);
        if (flag == ' ' && Trim(value).empty()) {
            r.empty = true;
            return r;
        }
        if (flag != 'I' && flag != 'P') Refuse("expected I or P in column 58 (Bulletin A UT1-UTC flag)");
        if (!ReadNumber(value, r.ut1MinusUtc)) Refuse("expected UT1-UTC in seconds in columns 59-68");
        if (!HasDecimals(value, 7)) {
            Refuse("UT1-UTC in columns 59-68 is not whole: expected seconds to 7 decimals (F10.7), found " +
                   Quoted(Trim(value)));
        }
        r.predicted = flag == 'P';
        return r;
    }

    // An EOP C04 row: YYYY MM DD MJD x y UT1-UTC ..., or in the newer form
    // YYYY MM DD HH MJD x y UT1-UTC ....
    Row C04(std::string_view line, bool newer) const
    {
        std::array<std::string_view, 8> f{};
        const std::size_t n = Fields(line, f);
        const std::size_t at = newer ? 4 : 3;
        Row r;
        r.columns = n;
        long long year = 0;
        long long month = 0;
        long long day = 0;
        long long hour = 0;
        double mjd = 0;
        if (n < at + 4 || !ReadWhole(f[0], year) || !ReadWhole(f[1], month) || !ReadWhole(f[2], day) ||
            (newer && !ReadWhole(f[3], hour)) || !ReadNumber(f[at], mjd) || !ReadNumber(f[at + 3], r.ut1MinusUtc)) {
            Refuse(newer ? "expected YR MM DD HH MJD x y UT1-UTC ... (EOP C04)"
                         : "expected YEAR MONTH DAY MJD x y UT1-UTC ... (EOP C04)");
        }
        if (hour != 0 || !WholeMjd(mjd, r.mjd) || RealMjd(year, month, day) != std::optional(r.mjd)) {
            Refuse("the MJD is not the date's at 0h");
        }
        r.date = {year, static_cast<int>(month), static_cast<int>(day)};
        if (!HasDecimals(f[at + 3], 7)) {
            Refuse("UT1-UTC is not whole: expected seconds to 7 decimals, found " + Quoted(f[at + 3]));
        }
        return r;
    }

private:
    std::string_view name_;
    std::size_t line_;
};

// Which form a line is a data row of, if any.
Form RowForm(std::string_view line)
{
    if (line.size() >= kFinalsUt1End && line[6] == ' ' && line[12] == '.' && line[15] == ' ') return Form::Finals;
    std::array<std::string_view, 6> f{};
    if (Fields(line, f) < 6) return Form::Unknown;
    long long year = 0;
    long long month = 0;
    long long day = 0;
    long long fourth = 0;
    double fifth = 0;
    if (!ReadWhole(f[0], year) || !ReadWhole(f[1], month) || !ReadWhole(f[2], day) || year < 1900 || year > 2200) {
        return Form::Unknown;
    }
    const std::optional<long long> mjd = RealMjd(year, month, day);
    if (!mjd) return Form::Unknown;
    if (ReadWhole(f[3], fourth) && fourth == *mjd) return Form::C04;
    if (ReadNumber(f[4], fifth) && fifth == static_cast<double>(*mjd)) return Form::C04New;
    return Form::Unknown;
}

} // namespace

// The table built line by line, so that a file need not be held whole.
struct EopTable::Parser {
    EopTable table;
    Form form = Form::Unknown;
    bool ended = false; // past the last finals value
    std::size_t number = 0;
    std::size_t columns = 0; // of a C04 table's rows
    int datYear = 0;         // TAI - UTC of this month, for the rows of it
    int datMonth = 0;
    double dat = 0;

    void Line(std::string_view line)
    {
        ++number;
        const Reader reader(table.name_, number);
        if (form == Form::Unknown) {
            if (Trim(line).empty() || line.front() == '#') return;
            form = RowForm(line);
            if (form == Form::Unknown) {
                if (number > kHeaderLinesAtMost) {
                    reader.Refuse("not an IERS finals2000A or EOP C04 table (no data row in its first lines)");
                }
                return; // the classic C04 header
            }
        }
        if (Trim(line).empty() || (form == Form::C04New && line.front() == '#')) return;
        const Row row = form == Form::Finals ? reader.Finals(line) : reader.C04(line, form == Form::C04New);
        if (form != Form::Finals) {
            // Every row of a C04 table has all its columns: fewer is a row cut short.
            const std::size_t n = row.columns;
            if (columns == 0) columns = n;
            if (n != columns) {
                reader.Refuse("cut short: " + std::to_string(n) + " columns, the table's rows have " +
                              std::to_string(columns));
            }
        }
        if (row.empty) {
            ended = true;
            return;
        }
        if (ended) reader.Refuse("a UT1-UTC value after rows without one");
        const long long expected = table.firstMjd_ + static_cast<long long>(table.ut1MinusTai_.size());
        if (table.ut1MinusTai_.empty()) {
            // Room for 358 years of days at once: grown by doubling, the
            // vector's copies touched twice its pages, each a fault the
            // first time (half the loading's faults); room not filled is
            // never touched.
            table.ut1MinusTai_.reserve(std::size_t{1} << 17);
            table.firstMjd_ = row.mjd;
        } else if (row.mjd != expected) {
            reader.Refuse("expected the day after the previous row (MJD " + std::to_string(expected) + "), found MJD " +
                          std::to_string(row.mjd));
        }
        if (std::fabs(row.ut1MinusUtc) > 1.0) reader.Refuse("UT1-UTC beyond 1 s");
        const CalendarDate& date = row.date;
        const auto y = static_cast<int>(date.year);
        // From 1972 TAI - UTC changes only on the first of a month; before,
        // UTC drifted day by day.
        if (y < 1972 || y != datYear || date.month != datMonth) {
            eraDat(y, date.month, date.day, 0.0, &dat);
            datYear = y;
            datMonth = date.month;
        }
        if (row.predicted && table.firstPredicted_ < 0) table.firstPredicted_ = row.mjd;
        if (!row.predicted && table.firstPredicted_ >= 0) reader.Refuse("a final value after predicted ones");
        table.ut1MinusTai_.push_back(row.ut1MinusUtc - dat);
        table.format_ = form == Form::Finals ? "finals2000A" : (form == Form::C04 ? "EOP C04" : "EOP 20 C04");
    }

    EopTable Finish()
    {
        if (table.ut1MinusTai_.size() < 2) {
            throw InputError(table.name_ + " line " + std::to_string(number) +
                             ": not an IERS finals2000A or EOP C04 table (fewer than two daily values)");
        }
        return std::move(table);
    }
};

EopTable EopTable::Read(std::string_view text, std::string name)
{
    Parser parser;
    parser.table.name_ = std::move(name);
    std::string_view line;
    while (NextLine(text, line)) parser.Line(line);
    return parser.Finish();
}

bool EopTable::ReadFile(const DataFiles& files, const std::string& path, std::size_t maxBytes, EopTable& table,
                        int& error)
{
    Parser parser;
    parser.table.name_ = path;
    const auto line = [&parser](std::string_view text) { parser.Line(text); };
    if (!files.ForEachLine(path, maxBytes, line, error)) return false;
    table = parser.Finish();
    return true;
}

bool EopTable::Ut1MinusTai(double mjd, double& seconds, bool& predicted) const
{
    const double at = mjd - static_cast<double>(firstMjd_);
    const double last = static_cast<double>(ut1MinusTai_.size() - 1);
    const bool inside = at >= 0 && at <= last; // false for NaN too
    if (!inside) return false;
    const auto i = std::min(static_cast<std::size_t>(at), ut1MinusTai_.size() - 2);
    const double fraction = at - static_cast<double>(i);
    seconds = ut1MinusTai_[i] + (ut1MinusTai_[i + 1] - ut1MinusTai_[i]) * fraction;
    const long long upper = firstMjd_ + static_cast<long long>(i) + (fraction > 0 ? 1 : 0);
    predicted = firstPredicted_ >= 0 && upper >= firstPredicted_;
    return true;
}

std::string EopTable::SpanText() const
{
    return IsoDateOfMjd(firstMjd_) + " to " + IsoDateOfMjd(firstMjd_ + static_cast<long long>(ut1MinusTai_.size()) - 1);
}

std::string EopTable::Describe() const
{
    std::string text = name_ + " (" + format_ + ", " + SpanText();
    if (firstPredicted_ >= 0) text += ", predicted from " + IsoDateOfMjd(firstPredicted_);
    return text + ")";
}

} // namespace vantoril::astro
