// SPDX-License-Identifier: MIT
// The command line's own readers: the options as a whole, --dut1's exact
// value, and the fields of a batch line.
#include "astro/base/errors.h"
#include "cli/drivers/batch_line.h"
#include "cli/options/parse.h"
#include "cli/options/values.h"
#include "tests/param_name.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantoril::cli {
namespace {

using astro::InputError;

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
        OptionCase{{"79", "51", "0", "W"}, "quote it"},
        OptionCase{{"--dec", "-5:23:28", "--ra", "5:35:17", "0"}, "--dec needs --model iau2006"},
        OptionCase{{"--model", "iau2006", "--dec", "-5:23:28", "0"}, "--dec goes with --ra or --transit"},
        OptionCase{{"--model", "iau2006", "--dec", "-5:23:28", "--when", "6:00", "0", "2024-01-01"},
                   "--dec cannot be combined with --when"},
        OptionCase{{"--model", "iau2006", "--dec", "-", "--ra", "5:35", "0"}, "a value on each line needs --batch"},
        OptionCase{{"--model", "iau2006", "--dec", "95", "--ra", "5:35", "0"}, "declination \"95\""},
        OptionCase{{"--fold", "later", "0"}, "--fold needs --tz"},
        OptionCase{{"--show", "all", "0"}, "--show needs --model iau2006"},
        OptionCase{{"--model", "iau2006", "--show", "gmst,,era", "0"}, "expected all or a comma list"},
        OptionCase{{"--model", "iau2006", "--show", "era", "--watch", "0"}, "--show cannot be combined with --watch"},
        OptionCase{{"--from", "2024-01-01", "--to", "2024-01-02", "--count", "3", "--step", "1h", "0"},
                   "--to and --count cannot be combined"},
        OptionCase{{"--place", "Paris", "-79.85", "2024-01-01"}, "--place gives the longitude"},
        OptionCase{{"-x"}, "unknown option \"-x\""}),
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
        SplitCase{"2002-01-01 00:00:00 79:51:00", "2002-01-01", "00:00:00", "79:51:00", ""},
        SplitCase{"2002-01-01 00:00:00 79 51 0 W 5h35m", "2002-01-01", "00:00:00", "79 51 0 W", "5h35m"},
        SplitCase{"2002-01-01T00:00Z 79d51mW 83.82d", "2002-01-01T00:00Z", "", "79d51mW", "83.82d"},
        SplitCase{"JD2460000.5 0 5.588h", "JD2460000.5", "", "0", "5.588h"},
        SplitCase{"2002-01-01 00:00:00 79d", "2002-01-01", "00:00:00", "79d", ""}),
    [](const ::testing::TestParamInfo<SplitCase>& p) { return ParamName(p.param.line); });

TEST(BatchLine, BlankAndCommentLinesHaveNoFieldsShortLinesAreErrors)
{
    for (const char* line : {"", "   ", "\t", "# a comment", "  # 2002-01-01 00:00:00 0"}) {
        EXPECT_TRUE(SplitBatchLine(line).empty) << line;
    }
    EXPECT_THROW((void)SplitBatchLine("2002-01-01 00:00:00"), InputError);
    // A catalogue place (--dec) ends the line as RA DEC, after a longitude of any form.
    const BatchLine star = SplitBatchLine("2024-01-01 00:00 79 51 0 W 05:35:17 -5.39", false, true);
    EXPECT_EQ(star.longitude, "79 51 0 W");
    EXPECT_EQ(star.ra, "05:35:17");
    EXPECT_EQ(star.dec, "-5.39");
    EXPECT_EQ(SplitBatchLine("2024-01-01 00:00 0 -5.39", false, true).longitude, "0 -5.39");
    EXPECT_THROW((void)SplitBatchLine("garbage"), InputError);
}

} // namespace
} // namespace vantoril::cli
