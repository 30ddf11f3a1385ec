// SPDX-License-Identifier: MIT
#include "astro/time/zones.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"

#include <date/date.h>
#include <date/tz.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <stdexcept>
#include <system_error>

namespace vantoril::astro {

namespace {

using Seconds = std::chrono::seconds;

// The table's reach: 1800-01-01 to 2400-01-01 UTC.
constexpr std::int64_t kTableBegin = -5364662400;
constexpr std::int64_t kTableEnd = 13569465600;

// The compiled zone files list changes of offset until 2037, after which the
// library keeps the last offset: summer time would end for good. Where the
// zone's last years follow one rule, it is carried on to the table's end.
constexpr int kLastListedYear = 2037;
constexpr int kRuleYears = 8; // 2030-2037: every weekday shift of a date
constexpr std::int64_t kDay = 86400;

int UtcYear(std::int64_t utc)
{
    const date::sys_days day{date::days{utc >= 0 ? utc / kDay : (utc - (kDay - 1)) / kDay}};
    return static_cast<int>(date::year_month_day{day}.year());
}

std::int64_t DaysFromEpoch(date::sys_days day) { return static_cast<std::int64_t>(day.time_since_epoch().count()); }

// One change of offset a year, as zic's rules write it: in a month, on the
// first weekday on or after a day (0: on the last such weekday), at a wall
// clock time in the offset before the change.
struct YearlyChange {
    unsigned month = 0;
    unsigned weekday = 0;
    unsigned on_or_after = 0;
    std::int64_t wall_seconds = 0; // of the day, in the offset before
    int before = 0;
    int after = 0;

    [[nodiscard]] std::int64_t UtcIn(int year) const
    {
        const date::year y{year};
        const date::month m{month};
        const date::weekday w{weekday};
        date::sys_days day;
        if (on_or_after == 0) {
            day = date::sys_days(date::year_month_weekday_last{y, m, date::weekday_last{w}});
        } else {
            day = date::sys_days(date::year_month_day{y, m, date::day{on_or_after}});
            day += w - date::weekday{day};
        }
        return DaysFromEpoch(day) * kDay + wall_seconds - before;
    }
};

// The rule one change follows in every listed year, if any does.
std::optional<YearlyChange> RuleOf(const std::vector<std::array<std::int64_t, 3>>& changes)
{
    // changes: {utc, offset before, offset after}, one per year.
    YearlyChange rule;
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto [utc, before, after] = changes[i];
        const std::int64_t wall = utc + before;
        const std::int64_t days = wall >= 0 ? wall / kDay : (wall - (kDay - 1)) / kDay;
        const date::sys_days day{date::days{days}};
        const date::year_month_day ymd{day};
        const YearlyChange seen{
            static_cast<unsigned>(ymd.month()), date::weekday{day}.c_encoding(), 0, wall - days * kDay,
            static_cast<int>(before),           static_cast<int>(after)};
        if (i == 0) {
            rule = seen;
        } else if (seen.month != rule.month || seen.weekday != rule.weekday || seen.wall_seconds != rule.wall_seconds ||
                   seen.before != rule.before || seen.after != rule.after) {
            return std::nullopt;
        }
    }
    const int first_year = kLastListedYear - static_cast<int>(changes.size()) + 1;
    const auto fits = [&](const YearlyChange& candidate) {
        for (std::size_t i = 0; i < changes.size(); ++i) {
            if (candidate.UtcIn(first_year + static_cast<int>(i)) != changes[i][0]) return false;
        }
        return true;
    };
    for (unsigned d = 1; d <= 28; ++d) {
        rule.on_or_after = d;
        if (fits(rule)) return rule;
    }
    rule.on_or_after = 0;
    if (fits(rule)) return rule;
    return std::nullopt;
}

} // namespace

std::vector<std::string> ZoneNames(std::string_view folder)
{
    std::vector<std::string> names;
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(folder), ec)) return names;
    try {
        for (const date::time_zone& zone : date::get_tzdb().zones) names.emplace_back(zone.name());
    } catch (const std::runtime_error&) {
        return {};
    }
    std::sort(names.begin(), names.end());
    names.erase(std::unique(names.begin(), names.end()), names.end());
    return names;
}

Zone Zone::Find(std::string_view name, std::string_view folder)
{
    Zone z;
    if (name == "UTC") return z;
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(folder), ec)) {
        throw MissingData("no time zone database in " + std::string(folder) + ": install the " +
                          std::string(kZonePackage) + " package");
    }
    std::string wanted(name);
    if (name == "local") {
        // As the C library does: TZ first, then the system's setting.
        const char* tz = std::getenv("TZ");
        wanted = tz != nullptr ? tz : "";
        if (!wanted.empty() && wanted.front() == ':') wanted.erase(0, 1);
    }
    try {
        z.zone_ = wanted.empty() ? date::current_zone() : date::locate_zone(wanted);
    } catch (const std::runtime_error&) {
        if (name == "local") {
            throw InputError("local: the system's zone " +
                             (wanted.empty() ? std::string("(/etc/localtime)") : Quoted(wanted)) + " is not in " +
                             std::string(folder));
        }
        throw InputError(Quoted(name) + ": no such zone in " + std::string(folder) +
                         "; expected an IANA name such as Europe/Paris, UTC or local");
    }
    z.name_ = z.zone_->name();
    z.Tabulate();
    return z;
}

void Zone::Tabulate()
{
    for (std::int64_t at = kTableBegin; at < kTableEnd;) {
        const auto info = zone_->get_info(date::sys_seconds(Seconds(at)));
        spans_.push_back({at, static_cast<int>(info.offset.count())});
        at = info.end.time_since_epoch().count();
    }
    CarryRulesOn();
    spans_.push_back({kTableEnd, spans_.back().offset});
}

void Zone::CarryRulesOn()
{
    // Two changes a year in each of the last listed years, and none after.
    const int first_year = kLastListedYear - kRuleYears + 1;
    std::size_t first = spans_.size();
    while (first > 1 && UtcYear(spans_[first - 1].begin) >= first_year) --first;
    if (first == spans_.size() || UtcYear(spans_.back().begin) != kLastListedYear) return;
    if (spans_.size() - first != 2 * static_cast<std::size_t>(kRuleYears)) return;
    std::array<std::vector<std::array<std::int64_t, 3>>, 2> changes;
    for (std::size_t i = first; i < spans_.size(); ++i) {
        const std::size_t k = (i - first) % 2;
        if (UtcYear(spans_[i].begin) != first_year + static_cast<int>((i - first) / 2)) return;
        changes.at(k).push_back({spans_[i].begin, spans_[i - 1].offset, spans_[i].offset});
    }
    const auto one = RuleOf(changes[0]);
    const auto two = RuleOf(changes[1]);
    if (!one || !two) return;
    for (int year = kLastListedYear + 1;; ++year) {
        for (const YearlyChange* rule : {&*one, &*two}) {
            const std::int64_t at = rule->UtcIn(year);
            if (at >= kTableEnd) return;
            spans_.push_back({at, rule->after});
        }
    }
}

bool Zone::Tabulated(std::int64_t utc) const
{
    // A day's margin: civil times are looked up around their UTC reading.
    return utc >= kTableBegin + 2 * kDay && utc < kTableEnd - 2 * kDay;
}

std::size_t Zone::SpanAt(std::int64_t utc) const
{
    const auto after =
        std::upper_bound(spans_.begin(), spans_.end(), utc, [](std::int64_t t, const Span& s) { return t < s.begin; });
    return static_cast<std::size_t>(after - spans_.begin()) - 1;
}

LocalOffsets Zone::OffsetsOfLocal(std::int64_t local) const
{
    if (zone_ == nullptr) return {};
    if (!Tabulated(local)) {
        const auto info = zone_->get_info(date::local_seconds(Seconds(local)));
        const auto before = static_cast<int>(info.first.offset.count());
        if (info.result == date::local_info::unique) return {LocalOffsets::Unique, before, before};
        const auto after = static_cast<int>(info.second.offset.count());
        return {info.result == date::local_info::nonexistent ? LocalOffsets::Gap : LocalOffsets::Overlap, before,
                after};
    }
    // Offsets stay within a day of UTC, so the spans that can hold this
    // civil time are the ones near its UTC reading: each whose UTC range
    // has local - offset in it is a reading; none is a gap, two an overlap.
    const std::size_t at = SpanAt(local);
    const std::size_t first = at > 2 ? at - 2 : 0;
    const std::size_t last = std::min(at + 2, spans_.size() - 2);
    LocalOffsets found{LocalOffsets::Gap, 0, 0};
    int readings = 0;
    for (std::size_t i = first; i <= last; ++i) {
        const std::int64_t utc = local - spans_[i].offset;
        if (utc >= spans_[i].begin && utc < spans_[i + 1].begin) {
            (readings == 0 ? found.before : found.after) = spans_[i].offset;
            ++readings;
        } else if (readings == 0 && utc >= spans_[i + 1].begin) {
            // Past this span's end in its own offset: if the next span does
            // not hold it either, it fell between them.
            found.before = spans_[i].offset;
            found.after = spans_[i + 1].offset;
        }
    }
    if (readings == 1) return {LocalOffsets::Unique, found.before, found.before};
    if (readings == 2) found.kind = LocalOffsets::Overlap;
    return found;
}

std::int64_t Zone::FirstUtcAtOrAfter(std::int64_t local) const
{
    const LocalOffsets offsets = OffsetsOfLocal(local);
    if (offsets.kind != LocalOffsets::Gap) return local - offsets.before;
    // In a gap the clocks jumped over `local`: the change itself, found
    // between the UTC readings of the offsets either side.
    std::int64_t below = local - offsets.after;
    std::int64_t above = local - offsets.before;
    while (above - below > 1) {
        const std::int64_t mid = below + (above - below) / 2;
        (mid + OffsetAt(mid) >= local ? above : below) = mid;
    }
    return above;
}

int Zone::OffsetAt(std::int64_t utc) const
{
    if (zone_ == nullptr) return 0;
    if (!Tabulated(utc)) return static_cast<int>(zone_->get_info(date::sys_seconds(Seconds(utc))).offset.count());
    return spans_[SpanAt(utc)].offset;
}

} // namespace vantoril::astro
