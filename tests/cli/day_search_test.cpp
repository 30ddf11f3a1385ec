// SPDX-License-Identifier: MIT
// --transit, --lower and --when: the instants a day holds, checked against
// the program's own sidereal time at (and for the classic model just before)
// each printed instant.
#include "tests/cli/program_run.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace vantoril::cli {
namespace {

using testing::Lines;
using testing::RunWith;

// The value of a JSON member of a flat object, as text.
std::string Member(const std::string& object, const std::string& name)
{
    const auto at = object.find("\"" + name + "\":");
    if (at == std::string::npos) return {};
    auto begin = at + name.size() + 3;
    if (object[begin] == '"') return object.substr(begin + 1, object.find('"', begin + 1) - begin - 1);
    return object.substr(begin, object.find_first_of(",}", begin) - begin);
}

// The instant's LST as the plain LST command gives it, in hours.
double LstAt(const std::vector<std::string>& model, const std::string& longitude, const std::string& utc)
{
    std::vector<std::string> args = model;
    args.insert(args.end(),
                {"--format", "json", "--precision", "6", "--", longitude, utc.substr(0, 10), utc.substr(11)});
    return std::stod(Member(RunWith(args).out, "lst_hours"));
}

std::string ClassicTextAt(const std::string& longitude, const std::string& date, const std::string& time)
{
    const auto run = RunWith({"--", longitude, date, time});
    return run.out.substr(0, run.out.size() - 1);
}

struct DayCase {
    const char* name;
    std::vector<std::string> model; // --model and its kind
    const char* option;             // --transit, --lower or --when
    const char* target;
    const char* longitude;
    const char* date;
    std::size_t instants;
};

class DaySearchTest : public ::testing::TestWithParam<DayCase> {};

TEST_P(DaySearchTest, EveryInstantOfTheDayAndNoOther)
{
    const DayCase& c = GetParam();
    std::vector<std::string> args = c.model;
    std::vector<std::string> option = {c.option};
    if (std::string(c.option) == "--lower")
        option = {"--transit", c.target, "--lower"};
    else
        option.emplace_back(c.target);
    args.insert(args.end(), option.begin(), option.end());
    args.insert(args.end(), {"--format", "json", "--", c.longitude, c.date});
    const auto run = RunWith(args);
    ASSERT_EQ(run.status, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), std::max<std::size_t>(c.instants, 1)) << run.out;
    const double target =
        std::fmod(std::stod(c.target) + std::stod(std::string(c.target).substr(3)) / 60 +
                      std::stod(std::string(c.target).substr(6)) / 3600 + (std::string(c.option) == "--lower" ? 12 : 0),
                  24.0);
    const bool classic = c.model.empty();
    for (std::size_t i = 0; i < c.instants; ++i) {
        const std::string utc = Member(lines[i], "utc");
        EXPECT_EQ(utc.substr(0, 10), c.date) << lines[i];
        if (classic) {
            // The window's text at that second is the target's, and not at the one before.
            std::string text = ClassicTextAt(c.longitude, c.date, utc.substr(11));
            EXPECT_EQ(text, Member(lines[i], "lst"));
            const int second =
                std::stoi(utc.substr(11, 2)) * 3600 + std::stoi(utc.substr(14, 2)) * 60 + std::stoi(utc.substr(17, 2));
            char before[16];
            std::snprintf(before, sizeof before, "%02d:%02d:%02d", (second - 1) / 3600, (second - 1) / 60 % 60,
                          (second - 1) % 60);
            if (second > 0) {
                EXPECT_NE(ClassicTextAt(c.longitude, c.date, before), text) << utc;
            }
        } else {
            double off = std::fabs(LstAt(c.model, c.longitude, utc) - target) * 3600;
            off = std::min(off, 86400 - off);
            EXPECT_LT(off, 1e-6) << lines[i];
        }
    }
    if (c.instants == 0) {
        EXPECT_EQ(Member(lines[0], "utc"), "null") << lines[0];
    }
}

const std::vector<std::string> kMean = {"--model", "iau2006"};
const std::vector<std::string> kApparent = {"--model", "iau2006", "--apparent"};

INSTANTIATE_TEST_SUITE_P(
    Days, DaySearchTest,
    ::testing::Values(DayCase{"MeanTransit", kMean, "--transit", "05:35:17.3", "-79.85", "2024-03-20", 1},
                      DayCase{"MeanTransitTwiceInADay", kMean, "--transit", "06:40:30", "0", "2016-12-31", 2},
                      DayCase{"ApparentLowerTransit", kApparent, "--lower", "18:40:30", "0", "2016-12-31", 2},
                      DayCase{"MeanWhenTwiceInADay", kMean, "--when", "06:41:00", "0", "2016-12-31", 2},
                      DayCase{"MeanWhenOnceEast", kMean, "--when", "23:59:59.5", "179.9", "2100-02-28", 1},
                      DayCase{"ClassicTransit", {}, "--transit", "05:35:17.3", "79d51mW", "2002-01-01", 1},
                      DayCase{"ClassicWhenTwice", {}, "--when", "06:41:00", "0", "2016-12-31", 2},
                      DayCase{"ClassicSkipsThisSecond", {}, "--transit", "00:05:32", "0", "2024-03-20", 0}),
    [](const auto& param) { return std::string(param.param.name); });

// In --tz the day is the civil one (23 to 25 hours): its answers are the
// UTC days' answers whose civil date is the date, each shown in the zone.
TEST(DaySearchCivilDay, TheUtcDaysAnswersOnThatCivilDate)
{
    struct Case {
        const char* zone;
        std::vector<std::string> search; // model, option and target
        const char* longitude;
        const char* date;
        std::vector<std::string> utcDays; // those the civil day reaches into
        std::size_t answers;
    };
    const std::vector<Case> cases = {
        {"Europe/Paris",
         {"--model", "iau2006", "--transit", "05:35"},
         "2.35E",
         "2024-03-20",
         {"2024-03-19", "2024-03-20"},
         1},
        // 23 hours from 01:00, and 25 hours to 24:00 twice
        {"America/Santiago",
         {"--model", "iau2006", "--when", "23:20"},
         "-70.6",
         "2024-09-08",
         {"2024-09-08", "2024-09-09"},
         1},
        {"America/Santiago",
         {"--model", "iau2006", "--when", "11:48"},
         "-70.6",
         "2024-04-06",
         {"2024-04-06", "2024-04-07"},
         2},
        {"Asia/Kolkata", {"--when", "06:41:00"}, "77.2", "2016-12-31", {"2016-12-30", "2016-12-31"}, 1},
        // 14 hours east: most of the civil day is the UTC day before
        {"Pacific/Kiritimati",
         {"--model", "iau2006", "--apparent", "--transit", "18:00", "--lower"},
         "-157.4",
         "2024-06-01",
         {"2024-05-31", "2024-06-01"},
         1},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args = c.search;
        args.insert(args.end(), {"--format", "json", "--tz", c.zone, "--", c.longitude, c.date});
        const auto run = RunWith(args);
        ASSERT_EQ(run.status, 0) << c.zone << run.err;
        std::vector<std::string> expected;
        for (const std::string& day : c.utcDays) {
            std::vector<std::string> utcArgs = c.search;
            utcArgs.insert(utcArgs.end(), {"--format", "json", "--", c.longitude, day});
            for (const auto& line : Lines(RunWith(utcArgs).out)) {
                const std::string utc = Member(line, "utc");
                if (utc == "null") continue;
                const auto local = RunWith({"--format", "json", "--tz", c.zone, "--", "0", utc + "Z"}).out;
                if (Member(local, "local").substr(0, 10) == c.date) expected.push_back(utc);
            }
        }
        const auto lines = Lines(run.out);
        EXPECT_EQ(expected.size(), c.answers) << c.zone;
        ASSERT_EQ(lines.size(), expected.size()) << c.zone << "\n" << run.out;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(Member(lines[i], "utc"), expected[i]) << c.zone;
            EXPECT_EQ(Member(lines[i], "local").substr(0, 10), c.date) << lines[i];
            EXPECT_EQ(Member(lines[i], "zone"), c.zone);
        }
    }
}

TEST(DaySearchOptions, RefusedAsUsageNamingTheOption)
{
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::vector<Case> cases = {
        {{"--transit", "24:00:00", "0", "2024-01-01"}, "--transit \"24:00:00\""},
        {{"--when", "5:61:00", "0", "2024-01-01"}, "--when \"5:61:00\""},
        {{"--transit", "05:00:00", "0"}, "--transit needs a DATE"},
        {{"--when", "05:00:00", "0", "2024-01-01", "12:00:00"}, "--when takes a DATE, not a TIME"},
        {{"--lower", "0", "2024-01-01"}, "--lower needs --transit"},
        {{"--transit", "-", "0", "2024-01-01"}, "needs --batch"},
        {{"--transit", "1:00:00", "--when", "1:00:00", "0", "2024-01-01"}, "cannot be combined"},
        {{"--transit", "1:00:00", "--ra", "1:00:00", "0", "2024-01-01"}, "--ra cannot be combined"},
    };
    for (const Case& c : cases) {
        const auto run = RunWith(c.args);
        EXPECT_EQ(run.status, 2) << c.message;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST(DaySearchBatch, LinesOfDateLongitudeAndTargetEachAnswered)
{
    const auto run = RunWith({"--batch", "--model", "iau2006", "--transit", "-"},
                             "2016-12-31 0 06:40:30\n# comment\n2024-03-20 0\n2024-03-20 79:51:00W 05:35:17.3\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out,
              "2016-12-31 00:01:05.270695\n2016-12-31 23:57:09.361225\n\n"
              "error: expected DATE LONGITUDE [RA], found \"2024-03-20 0\"\n"
              "2024-03-20 22:58:50.290125\n");
}

} // namespace
} // namespace vantoril::cli
