// SPDX-License-Identifier: MIT
#include "cli/parsers.h"
#include "cli/arguments.h"
#include "param_name.h"
#include "runtime/conversions.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace vantoril::cli {
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

TEST(RightAscension, IsBelowTwentyFourHours)
{
    EXPECT_DOUBLE_EQ(ParseRightAscension("05:35:17.3").hours, 5 + 35 / 60.0 + 17.3 / 3600);
    EXPECT_THROW((void)ParseRightAscension("24:00:00"), InputError);
    EXPECT_THROW((void)ParseRightAscension("12:00:60"), InputError);
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

struct OptionCase {
    std::vector<std::string_view> args;
    const char* error; // nullptr: accepted
};

// The arguments as one text, for the test's name.
std::string Joined(const std::vector<std::string_view>& args)
{
    std::string text;
    for (const auto arg : args) text.append(text.empty() ? "" : " ").append(arg);
    return text;
}

class OptionRules : public ::testing::TestWithParam<OptionCase> {};

TEST_P(OptionRules, AcceptOrNameTheProblem)
{
    const auto& c = GetParam();
    if (c.error == nullptr) {
        EXPECT_NO_THROW((void)ParseOptions(c.args));
        return;
    }
    try {
        (void)ParseOptions(c.args);
        ADD_FAILURE() << "accepted; expected: " << c.error;
    } catch (const UsageError& e) {
        EXPECT_NE(std::string(e.what()).find(c.error), std::string::npos) << e.what();
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, OptionRules,
    ::testing::Values(
        OptionCase{{"79d51mW"}, nullptr}, OptionCase{{"-79.85", "2002-01-01", "00:00:00"}, nullptr},
        OptionCase{{"--", "-79.85"}, nullptr},
        OptionCase{{"--model=iau2006", "--apparent", "--dut1", "-0.3", "--precision=6", "--ra", "1:00:00", "0"},
                   nullptr},
        OptionCase{{"--batch", "--format", "json"}, nullptr}, OptionCase{{"--watch", "0"}, nullptr},
        OptionCase{{"--help", "--bogus=1"}, "unknown option \"--bogus=1\""}, OptionCase{{}, "missing LONGITUDE"},
        OptionCase{{"--model", "fast", "0"}, "expected classic or iau2006"},
        OptionCase{{"--format", "xml", "0"}, "expected text, hours or json"},
        OptionCase{{"--precision", "7", "0"}, "from 0 to 6"}, OptionCase{{"--precision", "-1", "0"}, "from 0 to 6"},
        OptionCase{{"--model", "iau2006", "--dut1", "1", "0"}, "-0.9 to 0.9"},
        OptionCase{{"--model", "iau2006", "--dut1", "0.3s", "0"}, "-0.9 to 0.9"},
        OptionCase{{"--apparent", "0"}, "--apparent needs --model iau2006"},
        OptionCase{{"--dut1", "0.1", "0"}, "--dut1 needs --model iau2006"},
        OptionCase{{"--ra", "25:00:00", "0"}, "right ascension \"25:00:00\""},
        OptionCase{{"--ra"}, "--ra needs a value"}, OptionCase{{"--batch=yes"}, "takes no value"},
        OptionCase{{"--batch", "0"}, "unexpected argument \"0\""},
        OptionCase{{"--batch", "--watch"}, "cannot be combined"},
        OptionCase{{"--watch", "0", "2002-01-01"}, "--watch shows the time now"},
        OptionCase{{"79", "51", "0", "W"}, "quote it"}, OptionCase{{"-x"}, "unknown option \"-x\""}),
    [](const ::testing::TestParamInfo<OptionCase>& p) { return ParamName(Joined(p.param.args)); });

// --dut1 by its exact value: forms with a bare point or an exponent, and
// texts of any length, whose double may sit on the limit.
TEST(Dut1, AcceptedFormsAndTheirValues)
{
    const std::pair<const char*, double> accepted[] = {{"0.3", 0.3},
                                                       {".5", 0.5},
                                                       {"-.5", -0.5},
                                                       {"+.25", 0.25},
                                                       {"5.e-1", 0.5},
                                                       {"1e-1", 0.1},
                                                       {"3E-1", 0.3},
                                                       {"-0.9", -0.9},
                                                       {"9e-1", 0.9},
                                                       {"0", 0},
                                                       {"-0", 0},
                                                       {"1e-999999999999", 0},
                                                       {"0.5000000000000000000000", 0.5},
                                                       {"0.89999999999999999999999", 0.9},
                                                       {"0.0000000000000000000009e21", 0.9},
                                                       {"000000000000000000000000000000.1", 0.1}};
    for (const auto& [text, value] : accepted) {
        EXPECT_EQ(ParseDut1(text), value) << text;
    }
    const std::pair<const char*, const char*> refused[] = {{"0.9000000000000000000001", "out of range"},
                                                           {"-0.90000000000000000000000001", "out of range"},
                                                           {"1", "out of range"},
                                                           {"1e0", "out of range"},
                                                           {"1e999999999999", "out of range"},
                                                           {"abc", "expected seconds as a decimal number"},
                                                           {"e1", "decimal number"},
                                                           {".", "decimal number"},
                                                           {"-", "decimal number"},
                                                           {"1e", "decimal number"},
                                                           {"1.2.3", "decimal number"},
                                                           {"--0.1", "decimal number"},
                                                           {"0x1", "decimal number"},
                                                           {" 0.1", "decimal number"},
                                                           {"0.1s", "decimal number"},
                                                           {"inf", "decimal number"},
                                                           {"nan", "decimal number"},
                                                           {"", "decimal number"}};
    for (const auto& [text, message] : refused) {
        try {
            (void)ParseDut1(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(message), std::string::npos) << e.what();
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

struct SplitCase {
    const char* line;
    const char* date;
    const char* time;
    const char* longitude;
    const char* ra;
};

class BatchLines : public ::testing::TestWithParam<SplitCase> {};

TEST_P(BatchLines, SplitIntoFields)
{
    const auto& c = GetParam();
    const BatchLine b = SplitBatchLine(c.line);
    ASSERT_FALSE(b.empty);
    EXPECT_EQ(b.date, c.date);
    EXPECT_EQ(b.time, c.time);
    EXPECT_EQ(b.longitude, c.longitude);
    EXPECT_EQ(b.ra, c.ra);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, BatchLines,
    ::testing::Values(
        SplitCase{"2002-01-01 00:00:00 79d51mW", "2002-01-01", "00:00:00", "79d51mW", ""},
        SplitCase{"  2002-01-01\t00:00:00  79 51 0 W  ", "2002-01-01", "00:00:00", "79 51 0 W", ""},
        SplitCase{"2002-01-01 00:00:00 79:51:00W 12:00:00", "2002-01-01", "00:00:00", "79:51:00W", "12:00:00"},
        SplitCase{"2002-01-01 00:00:00 79 51 0 W 5:00:00.5", "2002-01-01", "00:00:00", "79 51 0 W", "5:00:00.5"},
        SplitCase{"2002-01-01 00:00:00 79:51:00", "2002-01-01", "00:00:00", "79:51:00", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& p) { return ParamName(p.param.line); });

TEST(BatchLine, BlankAndCommentLinesHaveNoFieldsShortLinesAreErrors)
{
    for (const char* line : {"", "   ", "\t", "# a comment", "  # 2002-01-01 00:00:00 0"}) {
        EXPECT_TRUE(SplitBatchLine(line).empty) << line;
    }
    EXPECT_THROW((void)SplitBatchLine("2002-01-01 00:00:00"), InputError);
    EXPECT_THROW((void)SplitBatchLine("garbage"), InputError);
}

TEST(Quoted, EchoesOnlyPrintableAsciiAndCutsLongValues)
{
    EXPECT_EQ(Quoted(std::string_view("a\0\xff\"b", 5)), "\"a\\x00\\xff\\x22b\"");
    EXPECT_EQ(Quoted(std::string(100, 'x')), '"' + std::string(40, 'x') + "...\"");
}

} // namespace
} // namespace vantoril::cli
