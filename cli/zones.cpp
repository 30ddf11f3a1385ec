// SPDX-License-Identifier: MIT
#include "cli/zones.h"

#include "cli/parsers.h"

#include <date/tz.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <system_error>

namespace vantoril::cli {

namespace {

using Seconds = std::chrono::seconds;

// The table's reach: 1800-01-01 to 2400-01-01 UTC.
constexpr std::int64_t kTableBegin = -5364662400;
constexpr std::int64_t kTableEnd = 13569465600;

} // namespace

Zone Zone::Find(std::string_view name, std::string_view folder)
{
    Zone z;
    if (name == "UTC") return z;
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(folder), ec)) {
        throw MissingDatabase("no time zone database in " + std::string(folder) + ": install the " +
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
            throw UsageError("--tz local: the system's zone " +
                             (wanted.empty() ? std::string("(/etc/localtime)") : Quoted(wanted)) + " is not in " +
                             std::string(folder));
        }
        throw UsageError("--tz " + Quoted(name) + ": no such zone in " + std::string(folder) +
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
    spans_.push_back({kTableEnd, spans_.back().offset});
}

bool Zone::Tabulated(std::int64_t utc) const
{
    // A day's margin: civil times are looked up around their UTC reading.
    return utc >= kTableBegin + 2 * 86400 && utc < kTableEnd - 2 * 86400;
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

int Zone::OffsetAt(std::int64_t utc) const
{
    if (zone_ == nullptr) return 0;
    if (!Tabulated(utc)) return static_cast<int>(zone_->get_info(date::sys_seconds(Seconds(utc))).offset.count());
    return spans_[SpanAt(utc)].offset;
}

} // namespace vantoril::cli
