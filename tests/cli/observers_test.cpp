// SPDX-License-Identifier: MIT
// Instants as people write them, zones, places, tables and CSV: each form
// against the plain UTC command that must give the same answer, and each
// refusal against the message it must give.
#include "tests/cli/program_run.h"

#include "astro/base/errors.h"
#include "astro/observer/places.h"
#include "astro/time/zones.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace vantoril::cli::testing {
namespace {

using namespace vantoril::astro;

// A places file of the user's, with a bad line among good ones, in a folder
// of the process's own that goes with it.
void UsePlacesFile()
{
    static const struct Home {
        std::string path;
        Home()
        {
            char folder[] = "/tmp/vantoril-places-XXXXXX";
            if (::mkdtemp(folder) == nullptr) return;
            path = folder;
            std::filesystem::create_directory(path + "/vantoril-lst");
            std::ofstream(path + "/vantoril-lst/places")
                << "# observatories\nLowell 111d39m53sW America/Phoenix\nBroken 200E\nHome_Site 2 21 0 E  # no zone\n"
                   "Paris 2.3372E Europe/Paris\n";
        }
        ~Home()
        {
            std::error_code ec;
            if (!path.empty()) std::filesystem::remove_all(path, ec);
        }
        Home(const Home&) = delete;
        Home& operator=(const Home&) = delete;
    } kHome;
    ::setenv("XDG_CONFIG_HOME", kHome.path.empty() ? "/nonexistent" : kHome.path.c_str(), 1);
}

const std::vector<std::string> kFine = {"--model", "iau2006", "--precision", "6"};

std::vector<std::string> With(std::vector<std::string> args, const std::vector<std::string>& more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

struct Same {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> plain; // the same question in plain UTC
    std::string input = {};
    std::string plainInput = {};
};

class SameAnswer : public ::testing::TestWithParam<Same> {};

TEST_P(SameAnswer, AsThePlainUtcQuestion)
{
    const auto& c = GetParam();
    UsePlacesFile();
    const Outcome r = RunWith(With(kFine, c.args), c.input);
    const Outcome plain = RunWith(With(kFine, c.plain), c.plainInput);
    EXPECT_EQ(plain.status, 0) << plain.err;
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, plain.out);
    EXPECT_FALSE(r.out.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Forms, SameAnswer,
    ::testing::Values(
        Same{"IsoZulu", {"0", "2024-03-20T21:00:00Z"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"IsoNoSeconds", {"0", "2024-03-20T21:00"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"IsoColonOffset", {"0", "2024-03-20T22:00:00+01:00"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"IsoBasicOffsetWest", {"0", "2024-03-20T16:30-0430"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"TimeWithOffset", {"0", "2024-03-20", "22:00:00.25+01:00"}, {"0", "2024-03-20", "21:00:00.25"}},
        Same{"HourMinute", {"0", "2024-03-20", "21:00"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"OffsetCrossesLeapDay", {"0", "2024-03-01T00:30+01:00"}, {"0", "2024-02-29", "23:30:00"}},
        Same{"LeapSecondWithOffset", {"0", "2017-01-01T00:59:60.5+01:00"}, {"0", "2016-12-31", "23:59:60.5"}},
        Same{"RightAscensionHourMinute", {"--ra", "05:35", "0", "2024-03-20"}, {"--ra", "05:35:00", "0", "2024-03-20"}},
        Same{"BatchIsoAndOffsets",
             {"--batch"},
             {"--batch"},
             "2024-03-20T21:00Z 0\n2024-03-20 22:00+01:00 0 12:00\n2024-03-20T21:00 79:51W 5:00\n",
             "2024-03-20 21:00:00 0\n2024-03-20 21:00:00 0 12:00:00\n2024-03-20 21:00:00 79:51W 5:00:00\n"},
        // Civil time in a zone: one of an hour, one of a half hour, one of
        // the southern hemisphere in its summer and in its winter.
        Same{"Paris", {"--tz", "Europe/Paris", "0", "2024-03-20", "22:00"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"Kolkata", {"--tz", "Asia/Kolkata", "0", "2024-03-21T02:30"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"SantiagoSummer",
             {"--tz", "America/Santiago", "0", "2024-01-15", "18:00"},
             {"0", "2024-01-15", "21:00:00"}},
        Same{"SantiagoWinter",
             {"--tz", "America/Santiago", "0", "2024-07-15", "17:00"},
             {"0", "2024-07-15", "21:00:00"}},
        Same{
            "OffsetOverridesZone", {"--tz", "Asia/Kolkata", "0", "2024-03-20T21:00Z"}, {"0", "2024-03-20", "21:00:00"}},
        Same{"GapEarlier",
             {"--tz", "Europe/Paris", "--fold", "earlier", "0", "2024-03-31T02:30"},
             {"0", "2024-03-31", "00:30:00"}},
        Same{"GapLater",
             {"--tz", "Europe/Paris", "--fold", "later", "0", "2024-03-31T02:30"},
             {"0", "2024-03-31", "01:30:00"}},
        Same{"OverlapLater",
             {"--tz", "Europe/Paris", "--fold", "later", "0", "2024-10-27T02:30"},
             {"0", "2024-10-27", "01:30:00"}},
        Same{"BatchInZone",
             {"--batch", "--tz", "America/Santiago"},
             {"--batch"},
             "2024-01-15 18:00 0\n2024-07-15T17:00 0\n",
             "2024-01-15 21:00:00 0\n2024-07-15 21:00:00 0\n"},
        // Places: the tz table's, the user's (first), in a batch, a table, a zone.
        Same{"TablePlace", {"--place", "new_york", "2024-03-20"}, {"074d00m23sW", "2024-03-20"}},
        Same{"WholeZoneName", {"--place", "America/New York", "2024-03-20"}, {"074d00m23sW", "2024-03-20"}},
        Same{"UsersPlaceFirst", {"--place", "PARIS", "2024-03-20"}, {"2.3372E", "2024-03-20"}},
        Same{"PlaceWithBlanks", {"--place", "home site", "2024-03-20"}, {"2 21 0 E", "2024-03-20"}},
        Same{"PlacesZone",
             {"--place", "lowell", "--tz", "place", "2024-03-20T14:00"},
             {"111d39m53sW", "2024-03-20", "21:00"}},
        Same{"PlaceInBatch",
             {"--batch", "--place", "Lowell"},
             {"--batch"},
             "2024-03-20T21:00Z\n2024-03-20 21:00 5:00\n2024-03-20 21:00 0\n",
             "2024-03-20 21:00:00 111d39m53sW\n2024-03-20 21:00:00 111d39m53sW 5:00:00\n2024-03-20 21:00:00 0\n"},
        Same{"PlaceInTable",
             {"--format", "hours", "--place", "Lowell", "--from", "2024-03-20T21:00", "--count", "1", "--step", "1h"},
             {"--format", "hours", "--from", "2024-03-20T21:00", "--count", "1", "--step", "1h", "111d39m53sW"}},
        // A table's rows are the batch's answers for its instants.
        Same{"TableAsBatch",
             {"--format", "json", "--ra", "5:00", "--from", "2024-03-20T21:00", "--count", "3", "--step", "90m",
              "79:51W"},
             {"--batch", "--format", "json", "--ra", "5:00"},
             "",
             "2024-03-20 21:00:00 79:51W\n2024-03-20 22:30:00 79:51W\n2024-03-21 00:00:00 79:51W\n"}),
    [](const ::testing::TestParamInfo<Same>& p) { return std::string(p.param.name); });

struct Table {
    const char* name;
    std::vector<std::string> args;
    std::size_t rows;
    const char* first; // first and last row, whole
    const char* last;
};

class Tables : public ::testing::TestWithParam<Table> {};

TEST_P(Tables, HaveTheirRows)
{
    const auto& c = GetParam();
    const Outcome r = RunWith(c.args);
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), c.rows) << r.out;
    EXPECT_EQ(lines.front(), c.first);
    EXPECT_EQ(lines.back(), c.last);
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, Tables,
    ::testing::Values(
        Table{"LandsOnTo",
              {"--from", "2024-03-20T21:00", "--to", "2024-03-20T22:00", "--step", "20m", "0"},
              4,
              "2024-03-20T21:00:00Z 8:55:31",
              "2024-03-20T22:00:00Z 9:55:41"},
        Table{"StopsShortOfTo",
              {"--from", "2024-03-20T21:00", "--to", "2024-03-20T22:00", "--step", "1500", "0"},
              3,
              "2024-03-20T21:00:00Z 8:55:31",
              "2024-03-20T21:50:00Z 9:45:40"},
        Table{"OneRow",
              {"--from", "2024-03-20T21:00", "--to", "2024-03-20T21:00", "--step", "1d", "0"},
              1,
              "2024-03-20T21:00:00Z 8:55:31",
              "2024-03-20T21:00:00Z 8:55:31"},
        Table{"FractionalStep",
              {"--model", "iau2006", "--format", "hours", "--from", "2024-03-20T21:00", "--count", "3", "--step",
               "0.25s", "0"},
              3,
              "2024-03-20T21:00:00.00Z 8.9254133",
              "2024-03-20T21:00:00.50Z 8.9255525"},
        // Steps in UTC across the spring change, rows shown in the zone.
        Table{"InZone",
              {"--tz", "Europe/Paris", "--from", "2024-03-31 01:30", "--count", "2", "--step", "1h", "0"},
              2,
              "2024-03-31T01:30:00+01:00 13:5:31",
              "2024-03-31T03:30:00+02:00 14:5:41"},
        Table{"Csv",
              {"--format", "csv", "--from", "2024-03-20T21:00", "--count", "2", "--step", "1h", "0"},
              3,
              "utc,local,zone,place,longitude,longitude_deg,model,kind,dut1,lst,lst_hours,ra,ra_hours,hour_angle,"
              "hour_angle_hours,dut1_source,warning,error\r",
              "2024-03-20T22:00:00Z,,,,0,0,classic,,,9:55:41,9.92810585489404,,,,,,,\r"}),
    [](const ::testing::TestParamInfo<Table>& p) { return std::string(p.param.name); });

struct Says {
    const char* name;
    std::vector<std::string> args;
    int status;
    const char* text; // part of standard output (status 0) or of standard error
    std::string input = {};
};

class Message : public ::testing::TestWithParam<Says> {};

TEST_P(Message, SaysWhatItShould)
{
    const auto& c = GetParam();
    UsePlacesFile();
    const Outcome r = RunWith(c.args, c.input);
    EXPECT_EQ(r.status, c.status) << r.out << r.err;
    EXPECT_NE((r.out + r.err).find(c.text), std::string::npos) << r.out << r.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Message,
    ::testing::Values(
        Says{
            "BadOffset", {"0", "2024-03-20T21:00+1:00"}, 2, "expected DATE [TIME] as YYYY-MM-DD HH:MM[:SS[.fraction]]"},
        Says{"OffsetOutOfRange", {"0", "2024-03-20", "21:00+24:00"}, 2, "hours below 24, minutes and seconds below 60"},
        Says{"HourOnly", {"0", "2024-03-20T21"}, 2, "or one YYYY-MM-DDTHH:MM[:SS[.fraction]]"},
        Says{"BadClock", {"0", "2024-03-20", "21"}, 2, "time \"21\": expected HH:MM or HH:MM:SS"},
        Says{"TimeAfterIso", {"0", "2024-03-20T21:00", "21:00"}, 2, "give DATE TIME or one YYYY-MM-DDTHH:MM[:SS]"},
        Says{"OffsetLeavesYears", {"0", "0000-01-01T00:30+01:00"}, 1, "falls outside the years 0000 to 9999"},
        Says{"Gap",
             {"--tz", "Europe/Paris", "0", "2024-03-31", "02:30"},
             1,
             "does not exist (the clocks skip it); it would be 2024-03-31T00:30:00Z or 2024-03-31T01:30:00Z"},
        Says{"Overlap",
             {"--tz", "Europe/Paris", "0", "2024-10-27T02:30:15.5"},
             1,
             "happens twice; it would be 2024-10-27T00:30:15.5Z or 2024-10-27T01:30:15.5Z"},
        Says{"SouthernGap",
             {"--tz", "America/Santiago", "0", "2024-09-08T00:30"},
             1,
             "it would be 2024-09-08T03:30:00Z or 2024-09-08T04:30:00Z"},
        Says{"UnknownZone", {"--tz", "Mars/Olympus", "0"}, 2, "no such zone in /usr/share/zoneinfo"},
        Says{"BadFold", {"--fold", "both", "0"}, 2, "--fold \"both\": expected earlier or later"},
        Says{"JsonInZone",
             {"--tz", "Asia/Kolkata", "--format", "json", "0", "2024-03-21T02:30:00.5"},
             0,
             "\"utc\":\"2024-03-20T21:00:00.5\",\"utc_text\":\"2024-03-20 21:00:00.5\""},
        Says{"JsonLocal",
             {"--tz", "Asia/Kolkata", "--format", "json", "0", "2024-03-20T21:00Z"},
             0,
             "\"local\":\"2024-03-21T02:30:00+05:30\",\"zone\":\"Asia/Kolkata\"}"},
        Says{"ZeroStep",
             {"--from", "2024-03-20", "--count", "2", "--step", "0s", "0"},
             2,
             "the step must be above zero"},
        Says{"BadStep", {"--from", "2024-03-20", "--count", "2", "--step", "1w", "0"}, 2, "--step \"1w\": expected"},
        Says{"TooManyRows",
             {"--from", "1900-01-01", "--to", "2100-01-01", "--step", "1s", "0"},
             2,
             "gives 6311433601 rows, more than 100000000; a longer table takes --count"},
        Says{
            "ToBeforeFrom", {"--from", "2024-03-20", "--to", "2024-03-19", "--step", "1h", "0"}, 2, "is before --from"},
        Says{"NeitherToNorCount", {"--from", "2024-03-20", "--step", "1h", "0"}, 2, "either --to INSTANT or --count N"},
        Says{"BadCount", {"--from", "2024-03-20", "--step", "1h", "--count", "0", "0"}, 2, "--count \"0\": expected"},
        Says{"TableEndsWithTheYear9999",
             {"--from", "9999-12-31T23:59", "--count", "5", "--step", "30s", "0"},
             1,
             "stops after 2 rows, at the end of the year 9999"},
        Says{"PlaceInJson",
             {"--place", "Lowell", "--tz", "place", "--format", "json", "2024-03-20T14:00"},
             0,
             "\"local\":\"2024-03-20T14:00:00-07:00\",\"zone\":\"America/Phoenix\",\"place\":\"Lowell\","
             "\"place_zone\":\"America/Phoenix\"}"},
        Says{"BadPlacesLineNamed", {"--place", "Lowell", "2024-03-20"}, 0, "places:3: longitude \"200E\": at most 180"},
        Says{"NoSuchPlace",
             {"--place", "Lowel", "2024-03-20"},
             2,
             "no such place; the closest are Lowell (America/Phoenix)"},
        Says{"PlaceWithoutZone", {"--place", "Home Site", "--tz", "place"}, 2, "has no zone in the places file"},
        Says{"BatchGapIsALine",
             {"--batch", "--tz", "Europe/Paris"},
             1,
             "6:41:54\nerror: \"2024-03-31 02:30\" in Europe/Paris: that civil time does not exist",
             "2002-01-01T01:00 0\n2024-03-31 02:30 0\n"}),
    [](const ::testing::TestParamInfo<Says>& p) { return std::string(p.param.name); });

TEST(Tables, StreamTheirRows)
{
    // A table of a million million rows: its first row comes at once.
    FILE* table = ::popen(VANTORIL_LST " --from 2024-01-01 --count 1000000000000 --step 1s 0", "r");
    ASSERT_NE(table, nullptr);
    char first[64] = {};
    ASSERT_NE(std::fgets(first, sizeof first, table), nullptr);
    EXPECT_STREQ(first, "2024-01-01T00:00:00Z 6:40:36\n");
    ::pclose(table); // the table ends by SIGPIPE
}

// A table of several blocks, each answered by all the threads: every row in
// its place, once.
TEST(Tables, RowsOfManyBlocksComeInOrder)
{
    const Outcome r = RunWith({"--model", "iau2006", "--from", "2024-01-01", "--count", "40000", "--step", "1s", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 40000U);
    for (int i = 0; i < 40000; ++i) {
        char utc[32];
        std::snprintf(utc, sizeof utc, "2024-01-01T%02d:%02d:%02dZ ", i / 3600, i / 60 % 60, i % 60);
        ASSERT_EQ(lines[static_cast<std::size_t>(i)].rfind(utc, 0), 0U) << lines[static_cast<std::size_t>(i)];
    }
}

// A damaged zone table's line gives no place, rather than a longitude the
// program then refuses.
TEST(ZoneTable, KeepsOnlyLongitudesThatExist)
{
    const auto places = ReadZoneTable(
        "FR\t+4852+00220\tEurope/Paris\n"
        "US\t+404251-0740023\tAmerica/New_York\tEastern\n"
        "XX\t+4852+40023\tPast/OneEighty\n"
        "XX\t+4852+00260\tBad/Minutes\n"
        "XX\t+4852-1800001\tBad/Seconds\n"
        "XX\t+4852+1800000\tDate/Line\n");
    std::vector<std::string> found;
    found.reserve(places.size());
    for (const auto& p : places) found.push_back(p.zone + " " + p.longitude);
    EXPECT_EQ(found, (std::vector<std::string>{"Europe/Paris 002d20m00sE", "America/New_York 074d00m23sW",
                                               "Date/Line 180d00m00sE"}));
}

TEST(Zones, TheDatabaseIsNeededOnlyForAZone)
{
    EXPECT_TRUE(Zone::Find("UTC", "/nonexistent").IsUtc());
    try {
        (void)Zone::Find("Europe/Paris", "/nonexistent");
        ADD_FAILURE() << "found a zone without a database";
    } catch (const MissingData& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent: install the tzdata package"), std::string::npos)
            << e.what();
    }
    ::setenv("TZ", "America/Santiago", 1);
    EXPECT_EQ(Zone::Find("local").name(), "America/Santiago");
    ::unsetenv("TZ");
}

} // namespace
} // namespace vantoril::cli::testing
