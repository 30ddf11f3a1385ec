// SPDX-License-Identifier: MIT
#include "astro/time/zones.h"

#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/time/calendar.h"
#include "astro/time/offset_spans.h"
#include "astro/time/posix_tz.h"

#include <absl/time/civil_time.h>
#include <absl/time/time.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <system_error>

namespace vantoril::astro {

namespace {

constexpr std::int64_t kDay = 86400;
// The offsets are kept in tables from 1800 to 10000, a century a block, each
// made when first needed. Before 1800 (and where a zone's rule takes over
// from its listed changes, when that happens before 10000) they are asked
// of the zone itself.
constexpr std::int64_t kTableBegin = -5364662400; // 1800-01-01
constexpr std::int64_t kTableEnd = 253402300800;  // 10000-01-01
constexpr std::int64_t kBlock = 3155695200;       // 36524.25 days
constexpr std::int64_t kMargin = 3 * kDay;
// A zone file is a few kB.
constexpr std::size_t kMaxZoneFileBytes = 1U << 20;

const absl::CivilSecond kEpoch(1970, 1, 1, 0, 0, 0);

// Whether the zone file ends with a rule of yearly changes (a TZ string
// with a comma): the library then carries the changes on for 400 years past
// the listed ones, and repeats those; without one the last offset stays.
bool HasYearlyRule(const std::string& path)
{
    std::string text;
    if (!ReadZoneData(path, kMaxZoneFileBytes, text)) return true; // then ask the library for each later year
    if (text.size() < 6 || text.compare(0, 4, "TZif") != 0 || text[4] == '\0') return false; // no rule in version 1
    if (text.back() != '\n') return true;
    const std::size_t start = text.rfind('\n', text.size() - 2);
    return start != std::string::npos && text.find(',', start) != std::string::npos;
}

} // namespace

class Zone::Rules {
public:
    explicit Rules(std::int64_t tableEnd)
        : tableEnd_(tableEnd), blocks_(std::make_unique<Block[]>(static_cast<std::size_t>(BlockCount(tableEnd))))
    {
    }
    virtual ~Rules() = default;
    Rules(const Rules&) = delete;
    Rules& operator=(const Rules&) = delete;
    Rules(Rules&&) = delete;
    Rules& operator=(Rules&&) = delete;

    [[nodiscard]] int OffsetAt(std::int64_t utc) const
    {
        const std::vector<OffsetSpan>* spans = Table(utc);
        return spans != nullptr ? (*spans)[SpanAt(*spans, utc)].offset : OffsetOutside(utc);
    }

    [[nodiscard]] LocalOffsets OffsetsOfLocal(std::int64_t local) const
    {
        // A civil time two days and more inside a span has its offset alone:
        // every other offset (26 h at most either way) still reads it into
        // that span. Each thread keeps the last such stretch of civil time;
        // lines in time order mostly fall in it.
        thread_local struct {
            std::uint64_t rules = 0; // the serial of the rules it is of
            std::int64_t from = 0;
            std::int64_t to = 0;
            int offset = 0;
        } inside;
        if (inside.rules == serial_ && local >= inside.from && local < inside.to) {
            return {LocalOffsets::Unique, inside.offset, inside.offset};
        }
        const std::vector<OffsetSpan>* spans = Table(local);
        if (spans == nullptr) return OffsetsOfLocalOutside(local);
        const LocalOffsets found = OffsetsInSpans(*spans, local);
        if (found.kind == LocalOffsets::Unique) {
            const std::size_t i = SpanAt(*spans, local - found.before);
            inside = {serial_, (*spans)[i].begin + found.before + 2 * kMaxZoneOffset,
                      (*spans)[i + 1].begin + found.before - 2 * kMaxZoneOffset, found.before};
        }
        return found;
    }

protected:
    // The spans from `from` (the first beginning there) to before `to`.
    [[nodiscard]] virtual std::vector<OffsetSpan> SpansBetween(std::int64_t from, std::int64_t to) const = 0;
    // Outside the tables.
    [[nodiscard]] virtual int OffsetOutside(std::int64_t utc) const = 0;
    [[nodiscard]] virtual LocalOffsets OffsetsOfLocalOutside(std::int64_t local) const = 0;

private:
    struct Block {
        std::once_flag made;
        std::vector<OffsetSpan> spans; // the last one ends the block
    };

    static std::int64_t BlockCount(std::int64_t end)
    {
        return end <= kTableBegin ? 0 : (std::min(end, kTableEnd) - kTableBegin + kBlock - 1) / kBlock;
    }

    // The block whose spans answer for `at` and a day and more either side;
    // none outside the tables. Lines of a batch are answered on several
    // threads: each block is made once, by the first that needs it.
    [[nodiscard]] const std::vector<OffsetSpan>* Table(std::int64_t at) const
    {
        if (at < kTableBegin || at >= std::min(tableEnd_, kTableEnd) - kMargin) return nullptr;
        const std::int64_t index = (at - kTableBegin) / kBlock;
        Block& block = blocks_[static_cast<std::size_t>(index)];
        std::call_once(block.made, [&] {
            const std::int64_t begin = kTableBegin + index * kBlock;
            const std::int64_t end = std::min(begin + kBlock + kMargin, tableEnd_);
            block.spans = SpansBetween(begin - kMargin, end);
            block.spans.push_back({end, block.spans.back().offset});
        });
        return &block.spans;
    }

    std::int64_t tableEnd_;
    std::unique_ptr<Block[]> blocks_;
    // Never the same for two rules, even at the same address in turn.
    const std::uint64_t serial_ = [] {
        static std::atomic<std::uint64_t> made{0};
        return ++made;
    }();
};

namespace {

// A zone file, through Abseil: its listed changes, then its rule.
class FileRules final : public Zone::Rules {
public:
    FileRules(const absl::TimeZone& zone, bool yearlyRule) : Rules(TableEnd(zone, yearlyRule)), zone_(zone) {}

private:
    // With a yearly rule the library lists its changes for 400 years after
    // the last one in the file, and then repeats them: the tables stop
    // where its list does. Without one the last offset stays for good.
    static std::int64_t TableEnd(const absl::TimeZone& zone, bool yearlyRule)
    {
        absl::TimeZone::CivilTransition last;
        if (!yearlyRule || !zone.PrevTransition(absl::InfiniteFuture(), &last)) return kTableEnd;
        return (last.from - kEpoch) - kMaxZoneOffset;
    }

    [[nodiscard]] std::vector<OffsetSpan> SpansBetween(std::int64_t from, std::int64_t to) const override
    {
        std::vector<OffsetSpan> spans{{from, OffsetOutside(from)}};
        absl::Time after = absl::FromUnixSeconds(from);
        absl::TimeZone::CivilTransition change;
        while (zone_.NextTransition(after, &change)) {
            // The change's civil time read in the offset before it.
            const std::int64_t at = (change.from - kEpoch) - spans.back().offset;
            if (at >= to || at <= absl::ToUnixSeconds(after)) break;
            const int offset = OffsetOutside(at);
            if (offset != spans.back().offset) spans.push_back({at, offset});
            after = absl::FromUnixSeconds(at);
        }
        return spans;
    }

    [[nodiscard]] int OffsetOutside(std::int64_t utc) const override
    {
        return zone_.At(absl::FromUnixSeconds(utc)).offset;
    }

    [[nodiscard]] LocalOffsets OffsetsOfLocalOutside(std::int64_t local) const override
    {
        const absl::TimeZone::TimeInfo info = zone_.At(kEpoch + local);
        const auto before = static_cast<int>(local - absl::ToUnixSeconds(info.pre));
        const auto after = static_cast<int>(local - absl::ToUnixSeconds(info.post));
        switch (info.kind) {
        case absl::TimeZone::TimeInfo::SKIPPED:
            return {LocalOffsets::Gap, before, after};
        case absl::TimeZone::TimeInfo::REPEATED:
            return {LocalOffsets::Overlap, before, after};
        default:
            return {LocalOffsets::Unique, before, before};
        }
    }

    absl::TimeZone zone_;
};

// A POSIX TZ string's rule, the same every year.
class StringRules final : public Zone::Rules {
public:
    explicit StringRules(const PosixTz& rule) : Rules(kTableEnd), rule_(rule) {}

private:
    static std::int64_t YearOf(std::int64_t utc)
    {
        return CivilFromDays(utc >= 0 ? utc / kDay : -((-utc + kDay - 1) / kDay)).year;
    }

    [[nodiscard]] std::vector<OffsetSpan> SpansBetween(std::int64_t from, std::int64_t to) const override
    {
        std::vector<OffsetSpan> spans = rule_.Spans(YearOf(from), YearOf(to));
        const std::size_t first = SpanAt(spans, from);
        spans.erase(spans.begin(), spans.begin() + static_cast<std::ptrdiff_t>(first));
        spans.front().begin = from;
        spans.erase(std::find_if(spans.begin() + 1, spans.end(), [&](const OffsetSpan& s) { return s.begin >= to; }),
                    spans.end());
        return spans;
    }

    [[nodiscard]] int OffsetOutside(std::int64_t utc) const override { return rule_.OffsetAt(utc); }

    [[nodiscard]] LocalOffsets OffsetsOfLocalOutside(std::int64_t local) const override
    {
        const std::int64_t year = YearOf(local);
        std::vector<OffsetSpan> spans = rule_.Spans(year - 1, year + 1);
        spans.push_back({(DaysFromCivil(year + 2, 1, 1)) * kDay, spans.back().offset});
        return OffsetsInSpans(spans, local);
    }

    PosixTz rule_;
};

} // namespace

namespace {

// The zone file of `name`: a zone or a link of the index, or else a zone
// file of that name in `folder` (as Debian's localtime, a link to the
// system's zone).
std::shared_ptr<const Zone::Rules> ZoneFile(std::string_view name, std::string_view folder, const ZoneIndex& index)
{
    std::optional<std::string> zone = index.ZoneOf(name);
    if (!zone && LooksLikeZoneName(name)) zone = std::string(name);
    if (!zone) return nullptr;
    const std::string path = std::string(folder) + "/" + *zone;
    absl::TimeZone tz;
    if (!absl::LoadTimeZone(path, &tz)) return nullptr;
    return std::make_shared<FileRules>(tz, HasYearlyRule(path));
}

// A path under `folder`, as the part within it ("Asia/Tokyo").
std::optional<std::string> InFolder(std::string_view path, std::string_view folder)
{
    const std::filesystem::path normal = std::filesystem::path(path).lexically_normal();
    const std::filesystem::path relative = normal.lexically_relative(std::filesystem::path(folder).lexically_normal());
    if (relative.empty() || *relative.begin() == ".." || *relative.begin() == ".") return std::nullopt;
    return relative.generic_string();
}

// What /etc/localtime is a link to, or else what /etc/timezone names.
std::string SystemZoneName()
{
    std::error_code ec;
    const std::string target = std::filesystem::read_symlink("/etc/localtime", ec).generic_string();
    if (!ec) {
        const std::size_t at = target.find("zoneinfo/");
        if (at != std::string::npos) return target.substr(at + 9);
    }
    std::string text;
    if (!ReadZoneData("/etc/timezone", 4096, text)) return {};
    text.resize(std::min(text.find('\n'), text.size()));
    while (!text.empty() && IsZoneBlank(text.back())) text.pop_back();
    return text;
}

// A zone's rules and the name it is shown by.
struct Found {
    std::shared_ptr<const Zone::Rules> rules;
    std::string name;
};

// The system's own zone, for "local" without TZ.
Found SystemZone(std::string_view folder, const ZoneIndex& index)
{
    const std::string system = SystemZoneName();
    Found found{system.empty() ? nullptr : ZoneFile(system, folder, index), system};
    if (found.rules == nullptr) {
        throw InputError("local: the system's zone " +
                         (system.empty() ? std::string("(/etc/localtime)") : Quoted(system)) + " is not in " +
                         std::string(folder));
    }
    return found;
}

// A zone file by its path (TZ=/usr/share/zoneinfo/Asia/Tokyo, or
// TZ=:/etc/localtime), shown by its name in the database where the path
// leads into it.
Found ZoneAtPath(std::string_view tz, std::string_view folder, const ZoneIndex& index)
{
    const std::string path(tz);
    std::error_code ec;
    const std::filesystem::path target = std::filesystem::canonical(path, ec);
    auto inFolder = InFolder(tz, folder);
    if (!inFolder && !ec) inFolder = InFolder(target.generic_string(), folder);
    Found found{inFolder ? ZoneFile(*inFolder, folder, index) : nullptr, inFolder.value_or(path)};
    absl::TimeZone file;
    if (found.rules == nullptr && absl::LoadTimeZone(path, &file)) {
        found.rules = std::make_shared<FileRules>(file, HasYearlyRule(path));
    }
    if (found.rules == nullptr) throw InputError("local: TZ " + Quoted(tz) + " is not a zone file");
    return found;
}

// "local": TZ as the C library reads it; unset, the system's zone.
Found LocalZone(std::string_view folder, const ZoneIndex& index)
{
    const char* variable = std::getenv("TZ");
    if (variable == nullptr) return SystemZone(folder, index);
    std::string_view tz = variable;
    if (!tz.empty() && tz.front() == ':') tz.remove_prefix(1);
    if (tz.empty()) return {nullptr, "UTC"}; // set but empty: UTC, as for the C library
    if (tz.front() == '/') return ZoneAtPath(tz, folder, index);
    const std::string tzName = IsUtcName(tz) ? std::string("UTC") : std::string(tz);
    Found found{ZoneFile(tzName, folder, index), tzName};
    if (found.rules != nullptr) return found;
    try {
        return {std::make_shared<StringRules>(PosixTz::Parse(tz)), std::string(tz)};
    } catch (const InputError& e) {
        const bool looksLikeRule = tz.find_first_of("0123456789<,") != std::string_view::npos;
        throw InputError("local: TZ " + Quoted(tz) + " is neither a zone in " + std::string(folder) +
                         " nor a POSIX TZ string such as CET-1CEST,M3.5.0,M10.5.0/3" +
                         (looksLikeRule ? std::string(" (") + e.what() + ")" : std::string()));
    }
}

} // namespace

Zone Zone::Find(std::string_view name, std::string_view folder)
{
    Zone z;
    if (IsUtcName(name)) return z;
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(folder), ec)) {
        throw MissingData("no time zone database in " + std::string(folder) + ": install the " +
                          std::string(kZonePackage) + " package");
    }
    const ZoneIndex index = ZoneIndex::Read(folder);
    Found found;
    if (name == "local") {
        found = LocalZone(folder, index);
    } else {
        found = {ZoneFile(name, folder, index), std::string(name)};
        if (found.rules == nullptr) {
            throw InputError(Quoted(name) + ": no such zone in " + std::string(folder) +
                             "; expected an IANA name such as Europe/Paris, UTC or local");
        }
    }
    z.rules_ = std::move(found.rules);
    z.name_ = std::move(found.name);
    return z;
}

LocalOffsets Zone::OffsetsOfLocal(std::int64_t local) const
{
    if (rules_ == nullptr) return {};
    return rules_->OffsetsOfLocal(local);
}

int Zone::OffsetAt(std::int64_t utc) const
{
    if (rules_ == nullptr) return 0;
    return rules_->OffsetAt(utc);
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

} // namespace vantoril::astro
