// SPDX-License-Identifier: MIT
// Zones and places by the names people type: old names of the tz database,
// UTC in any case, every form of TZ, names with case and accents; and the
// places file's names given twice and zones it names wrongly.
#include "astro/base/data_files.h"
#include "astro/base/errors.h"
#include "astro/observer/places.h"
#include "astro/time/zones.h"

#include <gtest/gtest.h>

#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace vantoril::astro {
namespace {

constexpr std::int64_t kJuly2024 = 1719792000;    // 2024-07-01T00:00Z
constexpr std::int64_t kJanuary2024 = 1704067200; // 2024-01-01T00:00Z

// Files by their paths, from texts given, else (with `disk`) from the disk.
class Files final : public DataFiles {
public:
    std::map<std::string, std::string> texts;
    bool disk = false;

    bool ReadText(const std::string& path, std::size_t, std::string& text, int& error) const override
    {
        if (const auto found = texts.find(path); found != texts.end()) {
            text = found->second;
            return true;
        }
        std::ifstream file(path, std::ios::binary);
        if (!disk || !file) {
            error = ENOENT;
            return false;
        }
        std::ostringstream all;
        all << file.rdbuf();
        text = all.str();
        return true;
    }
    bool ForEachLine(const std::string& path, std::size_t maxBytes, const std::function<void(std::string_view)>& each,
                     int& error) const override
    {
        std::string text;
        if (!ReadText(path, maxBytes, text, error)) return false;
        std::string_view rest = text;
        std::string_view line;
        while (NextLine(rest, line)) each(line);
        return true;
    }
};

// A folder of the test's own, removed when the tests end.
struct TempFolder {
    std::filesystem::path path;
    explicit TempFolder(const std::string& pattern) : path(Made(pattern)) {}
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder()
    {
        std::error_code ec;
        if (!path.empty()) std::filesystem::remove_all(path, ec);
    }

    static std::filesystem::path Made(const std::string& pattern)
    {
        std::vector<char> name(pattern.begin(), pattern.end());
        name.push_back('\0');
        const char* made = ::mkdtemp(name.data());
        return made ? std::filesystem::path(made) : std::filesystem::path();
    }
};

// A database holding Europe/Kyiv and, in tzdata.zi only, its old name: as
// Debian 13 installs the old names without tzdata-legacy.
std::string LinkOnlyFolder()
{
    static const TempFolder temp("/tmp/vantoril-zoneinfo-XXXXXX");
    static const std::string folder = [] {
        const std::filesystem::path& root = temp.path;
        std::filesystem::create_directories(root / "Europe");
        std::filesystem::copy_file(std::string(kZoneFolder) + "/Europe/Kyiv", root / "Europe/Kyiv");
        std::ofstream(root / "tzdata.zi") << "# version test\nZ Europe/Kyiv 2:2:4 - LMT 1880\n2 E EE%sT\n"
                                             "L Europe/Kyiv Europe/Kiev\nL Europe/Kiev Europe/Kyyiv\n";
        return root.string();
    }();
    return folder;
}

// Outside the database, as /etc/localtime is: a link to Asia/Tokyo's zone
// file (shown by that name) and a copy of it (shown by its path), as TZ
// texts with the C library's leading colon.
const char* Outside(bool link)
{
    static const TempFolder temp("/tmp/vantoril-localtime-XXXXXX");
    static const std::array<std::string, 2> tz = [] {
        const std::filesystem::path& root = temp.path;
        const std::string tokyo = std::string(kZoneFolder) + "/Asia/Tokyo";
        std::filesystem::create_symlink(tokyo, root / "localtime");
        std::filesystem::copy_file(tokyo, root / "copy");
        return std::array<std::string, 2>{":" + (root / "localtime").string(), ":" + (root / "copy").string()};
    }();
    return tz[link ? 0 : 1].c_str();
}

// TZ set (or unset, for none) for a while, then as it was.
class TzSet {
public:
    explicit TzSet(const char* tz) : TzSet(tz, std::getenv("TZ")) {}
    TzSet(const char* tz, const char* old) : had_(old != nullptr), old_(old != nullptr ? old : "")
    {
        tz != nullptr ? ::setenv("TZ", tz, 1) : ::unsetenv("TZ");
        ::tzset();
    }
    ~TzSet()
    {
        had_ ? ::setenv("TZ", old_.c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }
    TzSet(const TzSet&) = delete;
    TzSet& operator=(const TzSet&) = delete;

private:
    bool had_;
    std::string old_;
};

struct Named {
    const char* name;   // for --tz, or "local"
    const char* tz;     // TZ for local; nullptr: unset
    std::string folder; // the database
    const char* shown;  // the zone's name; "" for UTC itself; nullptr: refused
    int july;           // offsets at 2024-07-01T00:00Z and 2024-01-01T00:00Z
    int january;
};

class ZoneNames : public ::testing::TestWithParam<Named> {};

TEST_P(ZoneNames, FindTheirZone)
{
    const Named& c = GetParam();
    std::optional<Zone> zone;
    std::string refused;
    try {
        const TzSet set(c.tz);
        zone = Zone::Find(c.name, c.folder);
    } catch (const InputError& e) {
        refused = e.what();
    }
    if (c.shown == nullptr) {
        EXPECT_FALSE(zone) << "found " << zone->name();
        return;
    }
    ASSERT_TRUE(zone) << refused;
    EXPECT_EQ(zone->IsUtc() ? "" : zone->name(), c.shown);
    EXPECT_EQ(zone->OffsetAt(kJuly2024), c.july);
    EXPECT_EQ(zone->OffsetAt(kJanuary2024), c.january);
}

const std::string kSystem(kZoneFolder);

std::string Asked(const Named& c) { return std::string(c.name) + (c.tz != nullptr ? c.tz : ""); }

// A test's name from the name it asks for.
template <class Case>
std::string Label(const ::testing::TestParamInfo<Case>& info)
{
    std::string label = std::to_string(info.index) + "_";
    for (const char c : Asked(info.param)) {
        label += std::isalnum(static_cast<unsigned char>(c)) != 0 ? c : '_';
    }
    return label;
}

INSTANTIATE_TEST_SUITE_P(
    Names, ZoneNames,
    ::testing::Values(
        Named{"Asia/Calcutta", nullptr, kSystem, "Asia/Calcutta", 19800, 19800},
        Named{"US/Eastern", nullptr, kSystem, "US/Eastern", -14400, -18000},
        Named{"Europe/Kiev", nullptr, LinkOnlyFolder(), "Europe/Kiev", 10800, 7200},
        Named{"Europe/Kyyiv", nullptr, LinkOnlyFolder(), "Europe/Kyyiv", 10800, 7200}, // a link to a link
        Named{"Europe/Paris", nullptr, LinkOnlyFolder(), nullptr, 0, 0}, Named{"utc", nullptr, kSystem, "", 0, 0},
        Named{"uTc", nullptr, "/nonexistent", "", 0, 0}, Named{"europe/paris", nullptr, kSystem, nullptr, 0, 0},
        Named{"../zoneinfo/Europe/Paris", nullptr, kSystem, nullptr, 0, 0},
        Named{"/usr/share/zoneinfo/Europe/Paris", nullptr, kSystem, nullptr, 0, 0},
        Named{"local", "Asia/Tokyo", kSystem, "Asia/Tokyo", 32400, 32400},
        Named{"local", ":Asia/Tokyo", kSystem, "Asia/Tokyo", 32400, 32400},
        Named{"local", "/usr/share/zoneinfo/Asia/Tokyo", kSystem, "Asia/Tokyo", 32400, 32400},
        Named{"local", ":/usr/share/zoneinfo/../zoneinfo/Asia/Tokyo", kSystem, "Asia/Tokyo", 32400, 32400},
        Named{"local", "Europe/Kiev", LinkOnlyFolder(), "Europe/Kiev", 10800, 7200},
        Named{"local", "UTC", kSystem, "UTC", 0, 0}, Named{"local", "utc", kSystem, "UTC", 0, 0},
        Named{"local", "CET-1CEST,M3.5.0,M10.5.0/3", kSystem, "CET-1CEST,M3.5.0,M10.5.0/3", 7200, 3600},
        Named{"local", "<+0330>-3:30", kSystem, "<+0330>-3:30", 12600, 12600},
        Named{"local", "AEST-10AEDT,M10.1.0,M4.1.0/3", kSystem, "AEST-10AEDT,M10.1.0,M4.1.0/3", 36000, 39600},
        Named{"local", Outside(true), kSystem, "Asia/Tokyo", 32400, 32400},
        Named{"local", Outside(false), kSystem, Outside(false) + 1, 32400, 32400},
        Named{"local", "", kSystem, "", 0, 0}, Named{"local", ":", kSystem, "", 0, 0},
        Named{"local", "/etc/passwd", kSystem, nullptr, 0, 0},
        Named{"local", "/usr/share/zoneinfo/zone.tab", kSystem, nullptr, 0, 0},
        Named{"local", "CET-1CEST,M3.5.0", kSystem, nullptr, 0, 0}, Named{"local", "CET-1CEST", kSystem, nullptr, 0, 0},
        Named{"local", "Mars/Olympus", kSystem, nullptr, 0, 0},
        Named{"local", "EST5EDT,M3.2.0/168,M11.1.0", kSystem, nullptr, 0, 0}),
    Label<Named>);

// A POSIX TZ string's offsets are the C library's, every quarter hour of
// years near and far, through rules with hours past 24 and below 0, on both
// sides of the equator.
TEST(ZoneNames, TzStringsAsTheCLibraryReadsThem)
{
    for (const char* tz :
         {"CET-1CEST,M3.5.0,M10.5.0/3", "EET-2EEST,M4.5.5/0,M10.5.4/24", "EET-2EEST,M3.4.4/50,M10.4.4/50",
          "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", "<+1245>-12:45<+1345>,M9.5.0/2:45,M4.1.0/3:45",
          "NST3:30NDT,J60/2,300/-2:30", "<-03>3<-02>,M9.1.6/24,M4.1.6/24", "IST-5:30"}) {
        const TzSet set(tz);
        const Zone zone = Zone::Find("local");
        int differ = 0;
        // (Before 1971 the C library puts every year's changes in 1970.)
        for (const int year : {1999, 2024, 2600, 9998}) {
            // On the quarter hours, where each of these rules changes.
            const std::int64_t first = (year - 1970) * std::int64_t{31556952} / 900 * 900;
            for (std::int64_t t = first; t < first + 31556952 && differ < 3; t += 900) {
                const std::time_t utc = t;
                std::tm civil{};
                ASSERT_NE(::localtime_r(&utc, &civil), nullptr);
                if (zone.OffsetAt(t) != civil.tm_gmtoff) {
                    ADD_FAILURE() << tz << " at " << t << ": " << zone.OffsetAt(t) << " != " << civil.tm_gmtoff;
                    ++differ;
                }
                // Each civil time reads back to the instant it was.
                const std::int64_t local = t + civil.tm_gmtoff;
                const LocalOffsets offsets = zone.OffsetsOfLocal(local);
                EXPECT_TRUE(offsets.before == civil.tm_gmtoff ||
                            (offsets.kind == LocalOffsets::Overlap && offsets.after == civil.tm_gmtoff))
                    << tz << " at " << t;
            }
        }
    }
}

struct PlaceAsked {
    const char* name;
    const char* zone;    // the place's zone; nullptr: refused
    const char* message; // in the refusal, or in the notes for one found
};

std::string Asked(const PlaceAsked& c) { return c.name; }

class PlaceNames : public ::testing::TestWithParam<PlaceAsked> {};

// The system's zone tables and a places file of the user's.
TEST_P(PlaceNames, FindTheirPlace)
{
    const PlaceAsked& c = GetParam();
    Files files;
    files.disk = true;
    files.texts["/home/places"] =
        "Home 2.35E Europe/Paris\n"
        "Tokyo_Office 139.7E Asia/Tokyo\n"
        "home 10E\n"
        "Lab 5E Mars/Olympus\n"
        "Old_Office 30.5E Europe/Kiev\n"
        "Zürich 8.54E Europe/Zurich\n"
        "ZURICH 8.5E\n"
        "Z\xc3\xbcrich_Nord 8.55E\n";
    std::vector<std::string> problems;
    std::string said;
    try {
        const Place p = FindPlace(c.name, "/home/places", kZoneFolder, files, problems);
        EXPECT_EQ(p.zone, c.zone == nullptr ? "(refused)" : c.zone) << c.name;
    } catch (const InputError& e) {
        EXPECT_EQ(c.zone, nullptr) << c.name << ": " << e.what();
        said = e.what();
    }
    for (const std::string& problem : problems) said += "\n" + problem;
    EXPECT_NE(said.find(c.message), std::string::npos) << said;
    // The zone the places file gets wrong is said whatever the name asked.
    EXPECT_NE(said.find("/home/places:4: zone \"Mars/Olympus\": no such zone in /usr/share/zoneinfo"),
              std::string::npos)
        << said;
}

INSTANTIATE_TEST_SUITE_P(
    Names, PlaceNames,
    ::testing::Values(PlaceAsked{"Home", nullptr,
                                 "\"Home\": the places file gives that name 2 times, at /home/places:1 and "
                                 "/home/places:3; keep one"},
                      PlaceAsked{"HOME", nullptr, "at /home/places:1 and /home/places:3"},
                      PlaceAsked{"zurich", nullptr, "at /home/places:6 and /home/places:7"},
                      PlaceAsked{"ZÜRICH NORD", "", ""}, PlaceAsked{"tokyo office", "Asia/Tokyo", ""},
                      PlaceAsked{"Old Office", "Europe/Kiev", ""}, PlaceAsked{"Lab", nullptr, "no such place"},
                      PlaceAsked{"São Paulo", "America/Sao_Paulo", ""},
                      PlaceAsked{"sao_paulo", "America/Sao_Paulo", ""},
                      PlaceAsked{"SA\xcc\x83O PAULO", "America/Sao_Paulo", ""}, // a combining tilde
                      PlaceAsked{"Kiev", "Europe/Kiev",
                                 "\"Kiev\" is an old name of the zone Europe/Kyiv, whose place is used"},
                      PlaceAsked{"asia/calcutta", "Asia/Calcutta", "the longitude of Kolkata"},
                      PlaceAsked{"US/Eastern", "US/Eastern", "the longitude of New York"},
                      PlaceAsked{"Indianapolis", "America/Indiana/Indianapolis", ""},
                      PlaceAsked{"America/Indianapolis", "America/Indianapolis", "old name"}),
    Label<PlaceAsked>);

} // namespace
} // namespace vantoril::astro
