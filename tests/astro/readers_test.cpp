// SPDX-License-Identifier: MIT
// The readers of what people type: longitudes, dates, times, right
// ascensions, decimal numbers, and the quoting of values in messages.
#include "astro/base/decimal.h"
#include "astro/base/errors.h"
#include "astro/base/quoted.h"
#include "astro/observer/declination.h"
#include "astro/observer/longitude.h"
#include "astro/observer/right_ascension.h"
#include "astro/time/date_time.h"
#include "astro/time/instant.h"
#include "runtime/conversions.h"
#include "tests/param_name.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vantoril::astro {
namespace {

struct LongitudeCase {
    const char* text;
    const char* degrees;
    const char* minutes;
    const char* seconds;
    bool west;
    double east;
};

class LongitudeForms : public ::testing::TestWithParam<LongitudeCase> {};

TEST_P(LongitudeForms, SplitIntoTheWindowsFields)
{
    const auto& c = GetParam();
    const Longitude l = ParseLongitude(c.text);
    EXPECT_EQ(l.degreesText, c.degrees);
    EXPECT_EQ(l.minutesText, c.minutes);
    EXPECT_EQ(l.secondsText, c.seconds);
    EXPECT_EQ(l.west, c.west);
    EXPECT_DOUBLE_EQ(l.east, c.east);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LongitudeForms,
    ::testing::Values(LongitudeCase{"79d51m0sW", "79", "51", "0", true, -(79 + 51 / 60.0)},
                      LongitudeCase{"79d51mW", "79", "51", "", true, -(79 + 51 / 60.0)},
                      LongitudeCase{"79D51M30S e", "79", "51", "30", false, 79 + 51 / 60.0 + 30 / 3600.0},
                      LongitudeCase{"79d", "79", "", "", false, 79},
                      LongitudeCase{"79:51:00W", "79", "51", "00", true, -(79 + 51 / 60.0)},
                      LongitudeCase{"79:51w", "79", "51", "", true, -(79 + 51 / 60.0)},
                      LongitudeCase{"79 51 0 W", "79", "51", "0", true, -(79 + 51 / 60.0)},
                      LongitudeCase{" 79\t51  30.5 ", "79", "51", "30.5", false, 79 + 51 / 60.0 + 30.5 / 3600.0},
                      LongitudeCase{"-79.85", "79.85", "", "", true, -79.85},
                      LongitudeCase{"+79.85", "79.85", "", "", false, 79.85},
                      LongitudeCase{"79.85W", "79.85", "", "", true, -79.85},
                      LongitudeCase{"79.85", "79.85", "", "", false, 79.85}, LongitudeCase{"-0", "0", "", "", true, 0},
                      LongitudeCase{"180W", "180", "", "", true, -180},
                      LongitudeCase{"-79d51m", "79", "51", "", true, -(79 + 51 / 60.0)}),
    [](const ::testing::TestParamInfo<LongitudeCase>& p) { return ParamName(p.param.text); });

TEST(Longitude, RejectsWhatIsNoLongitudeNamingTheValue)
{
    for (const char* text :
         {"",         "W",        "-",      "79x",      "x79",       "1e5",         "nan",
          "inf",      "79..5",    ".5",     "5.",       "79d51m0s1", "79:51:00:00", "79 51 0 0",
          "--79",     "-79W",     "+79E",   "79WW",     "79d51s",    "79:51d",      "181",
          "180.0001", "180d0m1s", "79d60m", "79:51:60", "79 0 61",   "0x10",        "1234567890123456789012345"}) {
        try {
            (void)ParseLongitude(text);
            ADD_FAILURE() << "accepted \"" << text << '"';
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("longitude \""), std::string::npos) << e.what();
        }
    }
}

TEST(Date, ReadsYearMonthDayAndLetsTheDayRunOn)
{
    const Date d = ParseDate("2002-02-30");
    EXPECT_EQ(d.year, 2002);
    EXPECT_EQ(d.month, 2);
    EXPECT_EQ(d.day, 30);
    EXPECT_EQ(ParseDate("0000-01-01").year, 0);
    EXPECT_EQ(ParseDate("3276800-03-01").year, 3276800);
    EXPECT_EQ(ParseDate("0000000000000000000012345-06-07").year, 12345);
    EXPECT_EQ(ParseDate("1234567890123456789-06-07").year, -1); // too long for a number, kept as text
    for (const char* text : {"", "2002", "2002-1-01", "02-01-01", "2002-01-1", "2002/01/01", "2002-01-01x",
                             "-2002-01-01", "2002-13-01", "2002-00-10", "2002-01-00", "2002-01-32", "２００２-01-01"}) {
        EXPECT_THROW((void)ParseDate(text), InputError) << text;
    }
}

TEST(Time, ReadsFractionalAndLeapSeconds)
{
    const Time t = ParseTime("7:05:09.25");
    EXPECT_EQ(t.hour, 7);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.second, 9.25);
    EXPECT_EQ(t.secondText, "09.25");
    EXPECT_EQ(ParseTime("23:59:60.999").second, 60.999);
    for (const char* text : {"", "12:00", "12:00:0", "12:0:00", "24:00:00", "12:60:00", "12:00:61", "12:00:00.",
                             "12:00:00.1234567890", "123:00:00", "12:00:00 ", "-1:00:00", "12:00:0a"}) {
        EXPECT_THROW((void)ParseTime(text), InputError) << text;
    }
}

TEST(RightAscension, EveryFormBelowTwentyFourHours)
{
    const double m42 = 5 + 35 / 60.0 + 17.3 / 3600;
    const std::pair<const char*, double> accepted[] = {
        {"05:35:17.3", m42}, {"5h35m17.3s", m42},    {"5H35M17.3", m42}, {"5h35.5m", 5 + 35.5 / 60},
        {"5.588h", 5.588},   {"83.82d", 83.82 / 15}, {"0h", 0},          {"359.999d", 359.999 / 15},
    };
    for (const auto& [text, hours] : accepted) EXPECT_NEAR(ParseRightAscension(text).hours, hours, 1e-12) << text;
    for (const char* text :
         {"24:00:00", "12:00:60", "24h", "5h60m", "5.5h3m", "360d", "h", "5x", "-5h", "5h35m17.3sx"}) {
        EXPECT_THROW((void)ParseRightAscension(text), InputError) << text;
    }
}

TEST(Declination, EveryFormFromSouthToNorthPole)
{
    const double m42 = -(5 + 23 / 60.0 + 28 / 3600.0);
    const std::pair<const char*, double> accepted[] = {
        {"-05:23:28", m42},
        {"-5d23m28s", m42},
        {"-5d23m28", m42},
        {"-5.391", -5.391},
        {"+89:15:50.8", 89 + 15 / 60.0 + 50.8 / 3600},
        {"89d15.5m", 89 + 15.5 / 60},
        {"90", 90},
        {"-00:30", -0.5},
    };
    for (const auto& [text, degrees] : accepted) EXPECT_NEAR(ParseDeclination(text).degrees, degrees, 1e-12) << text;
    for (const char* text : {"90.0001", "-91", "10:60", "5.5d3m", "--5", "5x", "", "+", "5d60m"}) {
        EXPECT_THROW((void)ParseDeclination(text), InputError) << text;
    }
}

TEST(PlainDecimal, GivesExactlyWhatTheWindowsReaderGives)
{
    std::mt19937_64 rng(7);
    std::uniform_int_distribution<int> length(1, 20), digit(0, 9);
    for (int i = 0; i < 20000; ++i) {
        std::string text;
        for (int n = length(rng); n > 0; --n) text += static_cast<char>('0' + digit(rng));
        if (i % 4 != 0) text.insert(1 + static_cast<std::size_t>(digit(rng)) % text.size(), ".");
        if (text.back() == '.') text += '5';
        const auto value = PlainDecimal(text);
        ASSERT_TRUE(value.has_value()) << text;
        EXPECT_EQ(*value, LenientNumber(text)) << text;
        if (const auto fast = FastDecimal(text)) {
            EXPECT_EQ(*fast, *value) << text;
        }
    }
}

// Longitude parts of any length, judged by what they say, not by their double.
TEST(Longitude, LongPartsAreReadByTheirValue)
{
    EXPECT_EQ(ParseLongitude("179.99999999999999999999999").east, 180.0);
    EXPECT_LT(ParseLongitude("79d59.99999999999999999999999m").minutes, 60.0);
    EXPECT_LT(ParseLongitude("79:59:59.99999999999999999999999").seconds, 60.0);
    EXPECT_EQ(ParseLongitude("0000000000000000000000000000079.5W").east, -79.5);
    for (const char* text :
         {"180.00000000000000000000001", "79d60.000000000000000000001m", "79:00:60.0000000000000000000000001"}) {
        try {
            (void)ParseLongitude(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const InputError& e) {
            EXPECT_NE(std::string(e.what()).find("at most 180 degrees"), std::string::npos) << e.what();
        }
    }
}

TEST(Quoted, EchoesOnlyPrintableAsciiAndCutsLongValues)
{
    EXPECT_EQ(Quoted(std::string_view("a\0\xff\"b", 5)), "\"a\\x00\\xff\\x22b\"");
    EXPECT_EQ(Quoted(std::string(100, 'x')), '"' + std::string(40, 'x') + "...\"");
    // UTF-8 text as it is, counted in characters; what shows nothing escaped.
    EXPECT_EQ(Quoted("S\xc3\xa3o Paulo"), "\"S\xc3\xa3o Paulo\"");
    EXPECT_EQ(Quoted("a\xe2\x80\x8b\xc3\x28\xc2\x85"), "\"a\\xe2\\x80\\x8b\\xc3(\\xc2\\x85\"");
    std::string accents;
    for (int i = 0; i < 50; ++i) accents += "\xc3\xa9";
    EXPECT_EQ(Quoted(accents), '"' + accents.substr(0, 80) + "...\"");
}

// Instants in every form the readers take, each as the UTC instant it
// names, or refused with its reason.
TEST(Instants, EveryFormNamesItsUtcInstant)
{
    const std::pair<const char*, const char*> cases[] = {
        {"JD2460000.5", "2023-02-25T00:00:00"},
        {"MJD60000.25", "2023-02-25T06:00:00"},
        {"mjd60000.75", "2023-02-25T18:00:00"},
        {"JD2457754.4999942130", "2016-12-31T23:59:60.499997413"}, // the leap second's day counts 86,401 s
        {"@1700000000", "2023-11-14T22:13:20"},
        {"@1700000000.5", "2023-11-14T22:13:20.5"},
        {"@-1", "1969-12-31T23:59:59"},
        {"@-0.25", "1969-12-31T23:59:59.75"},
        {"2024-03-20T21:00+00:09:21", "2024-03-20T20:50:39"},
        {"2024-03-20T21:00-00:00:01", "2024-03-20T21:00:01"},
        {"2024-02-29T12:00Z", "2024-02-29T12:00:00"},
        {"2024-02-30T12:00Z", "2024-02 has 29 days"},
        {"2023-04-31T00:00", "2023-04 has 30 days"},
        {"2024-03-20 21:00+00:09:60", "minutes and seconds below 60"},
        {"JD2460000.5x", "expected JD or MJD"},
        {"@999999999999", "outside the years 0000 to 9999"},
        {"MJD-700000", "outside the years 0000 to 9999"},
    };
    for (const auto& [text, expected] : cases) {
        Instant at;
        InstantTexts texts;
        try {
            const std::string_view typed = text;
            const auto blank = typed.find(' ');
            ReadInstant(typed.substr(0, blank), blank == std::string_view::npos ? "" : typed.substr(blank + 1), Zone(),
                        Fold::Refuse, at, texts);
            const std::string utc = std::string(at.date.yearText) + "-" + std::string(at.date.monthText) + "-" +
                                    std::string(at.date.dayText) + "T" + std::string(at.time.hourText) + ":" +
                                    std::string(at.time.minuteText) + ":" + std::string(at.time.secondText);
            EXPECT_EQ(utc, expected) << text;
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << text << ": " << e.what();
        }
    }
    // DATE TIME keeps counting on past the month's end, as the window does.
    Instant at;
    InstantTexts texts;
    ReadInstant("2024-02-30", "12:00", Zone(), Fold::Refuse, at, texts);
    EXPECT_EQ(at.date.day, 30);
}

} // namespace
} // namespace vantoril::astro
