// SPDX-License-Identifier: MIT
#include "engine/sidereal.h"
#include "runtime/run_time_error.h"
#include "tests/param_name.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <optional>
#include <regex>
#include <string>

namespace vantoril {
namespace {

struct Instant {
    float year, month, day, hour, minute = 0, second = 0;
    double lngD = 0, lngM = 0, lngS = 0, ewSign = 1;
};

WorkingValues Filled(const Instant& at)
{
    WorkingValues v;
    v.Year = at.year;
    v.Month = at.month;
    v.Day = at.day;
    v.Hour = at.hour;
    v.Minute = at.minute;
    v.Second = at.second;
    v.LngD = at.lngD;
    v.LngM = at.lngM;
    v.LngS = at.lngS;
    v.EWSign = at.ewSign;
    return v;
}

std::optional<ErrorKind> ErrorOf(WorkingValues& v)
{
    try {
        ComputeLst(v);
    } catch (const RunTimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

struct TextCase {
    const char* name;
    Instant at;
    const char* text;
};

class ShownTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(ShownTextTest, MatchesTheClockReading)
{
    WorkingValues v = Filled(GetParam().at);
    ComputeLst(v);
    EXPECT_EQ(FormatLst(v), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Instants, ShownTextTest,
    ::testing::Values(TextCase{"DefaultInstant", {2002, 1, 1, 0}, "6:41:54"},
                      TextCase{"WestOfGreenwich", {2002, 1, 1, 0, 0, 0, 79, 51, 0, -1}, "1:22:30"},
                      // The gain pushes the sum past 24 h: reduced again, never "24:1:43".
                      TextCase{"WrapsPastMidnight", {2002, 10, 6, 23}, "0:1:43"},
                      // Rounded seconds carry into the minutes, never "13:46:60".
                      TextCase{"SecondsCarry", {2002, 1, 2, 7}, "13:47:0"},
                      // LstMin rounds to 60.0 in single precision, never "5:60:0".
                      TextCase{"MinutesCarry", {1989, 2, 25, 19, 57, 15, 4, 57, 52, -1}, "6:0:0"},
                      // Depends on every store into a single being rounded before the next step reads it.
                      TextCase{"SingleStoresCount", {1944, 7, 6, 5, 33, 7, 126, 44, 18, 1}, "8:56:23"},
                      TextCase{"DayCountsOnIntoNextMonth", {2001, 2, 29, 0}, "10:35:28"},
                      TextCase{"SameAsFirstOfMarch", {2001, 3, 1, 0}, "10:35:28"},
                      TextCase{"NegativeMonthTerm", {2002, -20, 1, 0}, "12:34:42"},
                      TextCase{"NegativeHourStaysOnTheClock", {2002, 1, 1, -30}, "0:36:58"},
                      TextCase{"TwelveDigitMinute", {2002, 1, 1, 0, 123456789012.0f}, "4:1:2"}),
    [](const ::testing::TestParamInfo<TextCase>& p) { return std::string(p.param.name); });

TEST(ComputeLst, WritesTheIntermediateValues)
{
    WorkingValues v = Filled({2002, 1, 1, 0});
    ComputeLst(v);
    EXPECT_EQ(v.JanFeb, 1);
    EXPECT_EQ(v.Century, 20);
    EXPECT_EQ(v.YearDays, 730850);
    EXPECT_EQ(v.MonthDays, 336);
    EXPECT_EQ(v.JD0, 2452275.5);
    EXPECT_DOUBLE_EQ(v.T, 1.02);
    EXPECT_NEAR(v.LST, 6.698366, 1e-6);
    EXPECT_EQ(v.LstHr, 6);
    EXPECT_FLOAT_EQ(v.LstMin, 41.90196f);
}

TEST(ComputeLst, JulianDateOfGregorianDates)
{
    struct Case {
        float year, month, day;
        double jd0;
    };
    for (const Case& c : {Case{2000, 1, 1, 2451544.5}, Case{1, 1, 1, 1721425.5}, Case{1582, 10, 15, 2299160.5},
                          Case{1900, 3, 1, 2415079.5}, Case{1600, 2, 29, 2305506.5}}) {
        WorkingValues v = Filled({c.year, c.month, c.day, 0});
        ComputeLst(v);
        EXPECT_EQ(v.JD0, c.jd0) << c.year << '-' << c.month << '-' << c.day;
    }
}

TEST(ComputeLst, JanFebCoversMonthsUpToTwo)
{
    for (float month : {-5.0f, 1.0f, 2.0f, 2.5f, 3.0f, 12.0f}) {
        WorkingValues v;
        v.Month = month;
        ComputeLstStep1(v);
        EXPECT_EQ(v.JanFeb, month <= 2 ? 1 : 0) << month;
    }
}

struct LimitCase {
    float year, month;
    bool overflows;
    int monthDays; // checked when it passes: a negative month term is floored, then raised by one
};

class SixteenBitLimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(SixteenBitLimitTest, OverflowExactlyBeyondTheRange)
{
    const auto& c = GetParam();
    WorkingValues v = Filled({c.year, c.month, 1, 0});
    const auto error = ErrorOf(v);
    if (c.overflows) {
        EXPECT_EQ(error, ErrorKind::Overflow);
    } else {
        EXPECT_EQ(error, std::nullopt);
        if (c.monthDays != 0) {
            EXPECT_EQ(v.MonthDays, c.monthDays);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(YearAndMonth, SixteenBitLimitTest,
                         ::testing::Values(LimitCase{3276799, 3, false, 0}, LimitCase{3276800, 3, true, 0},
                                           LimitCase{3276799, 12, false, 0}, LimitCase{3276800, 12, true, 0},
                                           LimitCase{3276800, 1, false, 0}, LimitCase{3276801, 1, true, 0},
                                           LimitCase{3276800, 2, false, 0}, LimitCase{3276801, 2, true, 0},
                                           LimitCase{-3276700, 3, false, 0}, LimitCase{-3276801, 3, true, 0},
                                           LimitCase{2002, 1073, false, 32754}, LimitCase{2002, 1074, true, 0},
                                           LimitCase{2002, -1081, false, -32754}, LimitCase{2002, -1082, true, 0},
                                           LimitCase{2002, -20, false, -305}),
                         [](const ::testing::TestParamInfo<LimitCase>& p) {
                             return "Year" + ParamName(std::to_string(static_cast<long>(p.param.year))) + "_Month" +
                                    ParamName(std::to_string(static_cast<long>(p.param.month)));
                         });

TEST(ComputeLst, HugeYearIsTheOverflowErrorNotAFault)
{
    WorkingValues v = Filled({HUGE_VALF, 3, 1, 0}); // 1e39 typed into the year box
    EXPECT_EQ(ErrorOf(v), ErrorKind::Overflow);
}

TEST(ComputeLst, InfiniteMinuteFaultsWhereInfinityMeetsItsFloor)
{
    for (bool second : {false, true}) {
        WorkingValues v = Filled({2002, 1, 1, 0});
        (second ? v.Second : v.Minute) = HUGE_VALF;
        v.LST = 12.5;
        EXPECT_EQ(ErrorOf(v), ErrorKind::ArithmeticFault);
        // Steps up to the sidereal days ran on infinity; LST was never written.
        EXPECT_TRUE(std::isinf(v.UT));
        EXPECT_TRUE(std::isinf(v.SiderealDays));
        EXPECT_EQ(v.LST, 12.5);
    }
}

TEST(ComputeLst, OverflowingLongitudeFaults)
{
    WorkingValues v = Filled({2002, 1, 1, 0, 0, 0, 1.7e308, 1e308 * 60, 0, 1});
    EXPECT_EQ(ErrorOf(v), ErrorKind::ArithmeticFault);
    // Longitude near the top of the range overflows when turned into hours.
    WorkingValues w = Filled({2002, 1, 1, 0, 0, 0, 1e307, 0, 0, 1});
    EXPECT_EQ(ErrorOf(w), ErrorKind::ArithmeticFault);
    EXPECT_EQ(w.Longitude, 1e307);
}

TEST(ComputeLst, OppositeInfinitiesAreInvalid)
{
    WorkingValues v = Filled({2002, 1, 1, 0, HUGE_VALF, -HUGE_VALF});
    EXPECT_EQ(ErrorOf(v), ErrorKind::ArithmeticFault);
}

TEST(ComputeLst, RunsInThreePartsLikeTheWhole)
{
    WorkingValues whole = Filled({1944, 7, 6, 5, 33, 7, 126, 44, 18, 1});
    WorkingValues parts = whole;
    ComputeLst(whole);
    ComputeLstStep1(parts);
    ComputeLstSteps2To5(parts);
    ComputeLstSteps6To16(parts);
    EXPECT_EQ(FormatLst(parts), FormatLst(whole));
    EXPECT_EQ(parts.LST, whole.LST);
}

TEST(ComputeLst, TinyNegativeSumStaysBelowTwentyFourHours)
{
    // The sum comes out a hair below zero; adding 24 back must not give 24.
    WorkingValues v = Filled({2002, 1, 1, -3, 8, 0, 302, 38, 32.055301852845737, 1});
    ComputeLst(v);
    EXPECT_GE(v.LST, 0);
    EXPECT_LT(v.LST, 24);
    EXPECT_EQ(FormatLst(v), "0:0:0");
}

TEST(ComputeLst, RepeatedRunsDoNotAccumulate)
{
    WorkingValues v = Filled({2002, 1, 1, 0});
    ComputeLst(v);
    const std::string first = FormatLst(v);
    ComputeLst(v);
    EXPECT_EQ(FormatLst(v), first);
}

TEST(FormatLst, IsAlwaysAClockReading)
{
    const std::regex clock(R"(([0-9]|1[0-9]|2[0-3]):([0-9]|[1-5][0-9]):([0-9]|[1-5][0-9]))");
    // Sweep a year hour by hour at several longitudes; every text must be a real time.
    for (double lng : {0.0, 79.85, 179.99}) {
        for (int hour = 0; hour < 24 * 366; hour += 7) {
            WorkingValues v = Filled({2024, 1, 1.0f + static_cast<float>(hour / 24), static_cast<float>(hour % 24), 59,
                                      59.5f, lng, 0, 0, -1});
            ComputeLst(v);
            ASSERT_TRUE(std::regex_match(FormatLst(v), clock)) << FormatLst(v);
        }
    }
}

TEST(FormatLst, CarriesRoundedSecondsThroughMidnight)
{
    WorkingValues v;
    EXPECT_EQ(FormatLst(v), "0:0:0"); // a record never computed
    v.LstHr = 23;
    v.LstMin = 59;
    v.LstSec = 59.6f;
    EXPECT_EQ(FormatLst(v), "0:0:0");
    v.LstMin = 60; // the single rounding of 59.9999999
    v.LstSec = 0;
    EXPECT_EQ(FormatLst(v), "0:0:0");
    v.LstHr = 5;
    EXPECT_EQ(FormatLst(v), "6:0:0");
}

TEST(FormatLst, WritesOneOrTwoDigitsAFieldIntoItsBuffer)
{
    struct Case {
        float hr, min, sec;
        const char* text;
    };
    for (const Case& c : {Case{0, 0, 0, "0:0:0"}, Case{9, 9, 9.4f, "9:9:9"}, Case{10, 10, 10, "10:10:10"},
                          Case{23, 59, 59.4f, "23:59:59"}, Case{1, 0, 59, "1:0:59"}, Case{20, 5, 30, "20:5:30"},
                          Case{9, 59, 59.5f, "10:0:0"}, Case{0, 9.5f, 30, "0:9:30"}}) {
        WorkingValues v;
        v.LstHr = c.hr;
        v.LstMin = c.min;
        v.LstSec = c.sec;
        EXPECT_EQ(FormatLst(v), c.text);
        // The buffer form writes the same text and nothing past it.
        std::array<char, kLstTextSize + 4> buffer{};
        buffer.fill('#');
        char* const end = FormatLst(v, buffer.data());
        EXPECT_EQ(std::string(buffer.data(), end), c.text);
        EXPECT_LE(end - buffer.data(), kLstTextSize);
        EXPECT_EQ(std::string(end, buffer.data() + buffer.size()).find_first_not_of('#'), std::string::npos) << c.text;
    }
}

TEST(FormatLst, NonFiniteFieldsFault)
{
    WorkingValues v;
    v.LstHr = HUGE_VALF;
    EXPECT_THROW(FormatLst(v), RunTimeError);
}

} // namespace
} // namespace vantoril
