// SPDX-License-Identifier: MIT
#include "runtime/conversions.h"
#include "runtime/run_time_error.h"
#include "tests/param_name.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace vantoril {
namespace {

std::optional<ErrorKind> ErrorOf(auto&& call)
{
    try {
        call();
    } catch (const RunTimeError& e) {
        return e.kind();
    }
    return std::nullopt;
}

std::u16string Wide(std::string_view ascii) { return {ascii.begin(), ascii.end()}; }

struct LenientCase {
    const char* text;
    double expected;
};

class LenientNumberTest : public ::testing::TestWithParam<LenientCase> {};

TEST_P(LenientNumberTest, ReadsTheNumericPrefix)
{
    const auto& c = GetParam();
    EXPECT_EQ(LenientNumber(std::string_view(c.text)), c.expected) << '"' << c.text << '"';
    // The UTF-16 entry point reads the same.
    const std::string narrow(c.text);
    const std::u16string wide(narrow.begin(), narrow.end());
    EXPECT_EQ(LenientNumber(std::u16string_view(wide)), c.expected) << '"' << c.text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Texts, LenientNumberTest,
    ::testing::Values(LenientCase{"", 0}, LenientCase{" ", 0}, LenientCase{"abc", 0}, LenientCase{"-", 0},
                      LenientCase{".", 0}, LenientCase{"e5", 0}, LenientCase{"--5", 0}, LenientCase{"79", 79},
                      LenientCase{" 79", 79}, LenientCase{"79 ", 79}, LenientCase{" 1 2\t3\n4", 1234},
                      LenientCase{"- 5", -5}, LenientCase{"+5", 5}, LenientCase{"1 . 5", 1.5}, LenientCase{"-.5", -0.5},
                      LenientCase{"5.", 5}, LenientCase{"1.2.3", 1.2}, LenientCase{"12ab", 12},
                      LenientCase{"59.5", 59.5}, LenientCase{"1e2", 100}, LenientCase{"1E+2", 100},
                      LenientCase{"25e-1", 2.5}, LenientCase{"1 e 2", 100}, LenientCase{"1e", 1}, LenientCase{"1e+", 1},
                      LenientCase{"1ex", 1}, LenientCase{"1\r2", 1}, LenientCase{"0.1", 0.1}, LenientCase{"1e-400", 0},
                      LenientCase{"&HFF", 255}, LenientCase{"&hff", 255}, LenientCase{"& H 1 0", 16},
                      LenientCase{"&O17", 15}, LenientCase{"&o777x", 511}, LenientCase{"&O8", 0}, LenientCase{"&", 0},
                      LenientCase{"&X1", 0}, LenientCase{"&H", 0}, LenientCase{"&H1FFFFFFFFFFFFF", 9007199254740991.0}),
    [](const ::testing::TestParamInfo<LenientCase>& p) { return ParamName(p.param.text); });

TEST(LenientNumber, LetterOutsideAsciiStopsTheNumber)
{
    EXPECT_EQ(LenientNumber(std::u16string_view(u"12\u00b0 30")), 12);
    EXPECT_EQ(LenientNumber(std::u16string_view(u"\u00a012")), 0); // a no-break space is no blank
}

TEST(LenientNumber, OverflowsOnlyBeyondTheDoubleRange)
{
    const std::string digits400 = std::string(1, '1') + std::string(399, '0');
    EXPECT_EQ(ErrorOf([&] { LenientNumber(std::string_view(digits400)); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { LenientNumber(std::string_view("1e309")); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { LenientNumber(std::string_view("-1e309")); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { LenientNumber(std::string_view("&H1" + std::string(256, '0'))); }), ErrorKind::Overflow);
    EXPECT_EQ(LenientNumber(std::string_view("1.7976931348623157e308")), DBL_MAX);
    const std::string digits300 = std::string(1, '9') + std::string(299, '9');
    EXPECT_EQ(LenientNumber(std::string_view(digits300)), 1e300);
}

struct StrictCase {
    const char* text;
    float expected;
    char point = '.'; // the user's decimal separator
};

class StrictSingleTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictSingleTest, ReadsWholeText)
{
    const StrictCase& c = GetParam();
    EXPECT_EQ(StrictSingle(std::string_view(c.text), c.point), c.expected) << c.text;
    EXPECT_EQ(StrictSingle(std::u16string_view(Wide(c.text)), c.point), c.expected) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Numbers, StrictSingleTest,
                         ::testing::Values(StrictCase{"01", 1}, StrictCase{" 00", 0}, StrictCase{"12 ", 12},
                                           StrictCase{" 7 ", 7}, StrictCase{"-3", -3}, StrictCase{"+4", 4},
                                           StrictCase{"2.5", 2.5f}, StrictCase{".5", 0.5f}, StrictCase{"1e3", 1000},
                                           StrictCase{"0.1", 0.1f}, StrictCase{"3.4028234e38", FLT_MAX},
                                           StrictCase{"1,5", 1.5f, ','}, StrictCase{" 1,5 ", 1.5f, ','},
                                           StrictCase{"-0,25e1", -2.5f, ','}, StrictCase{"23", 23, ','}),
                         [](const ::testing::TestParamInfo<StrictCase>& p) {
                             return ParamName(p.param.text) + (p.param.point == ',' ? "_DecimalComma" : "");
                         });

TEST(StrictSingle, RejectsWhatIsNotOneNumber)
{
    const std::pair<const char*, char> cases[] = {
        {"", '.'},
        {" ", '.'},
        {"1x", '.'},
        {"x1", '.'},
        {"1 2", '.'},
        {"1..2", '.'},
        {".", '.'},
        {"-", '.'},
        {"e5", '.'},
        {"1e", '.'},
        {"nan", '.'},
        {"inf", '.'},
        {"0x10", '.'},
        {"&H10", '.'},
        {"1,5", '.'},
        {"\t", '.'},
        // Under a decimal comma the full stop is neither separator nor grouping.
        {"1.5", ','},
        {"1.000", ','},
        {"1,,5", ','},
        {",", ','}};
    for (const auto& c : cases) {
        EXPECT_EQ(ErrorOf([&c] { StrictSingle(std::string_view(c.first), c.second); }), ErrorKind::TypeMismatch)
            << '"' << c.first << "\" with " << c.second;
    }
}

TEST(StrictSingle, ReadsTheSeparatorOfTheNamedLocale)
{
    EXPECT_EQ(DecimalSeparatorOf("C"), '.');
    EXPECT_EQ(DecimalSeparatorOf("no_SUCH.locale"), '.');
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(DecimalSeparatorOf("de_DE.UTF-8"), ',');
}

TEST(StrictSingle, OverflowsBeyondTheSingleRange)
{
    EXPECT_EQ(ErrorOf([] { StrictSingle(std::string_view("1e39"), '.'); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { StrictSingle(std::string_view("-3.5e38"), '.'); }), ErrorKind::Overflow);
    EXPECT_EQ(ErrorOf([] { StrictSingle(std::u16string_view(u"9" + std::u16string(60, u'0'))); }), ErrorKind::Overflow);
}

TEST(Conversions, IgnoreTheProcessLocale)
{
    // Qt switches LC_NUMERIC about; the process locale must not change how
    // "1.5" reads or how 0.5 is written.
    const char* comma = nullptr;
    for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "de_DE", "ru_RU.UTF-8"}) {
        if (std::setlocale(LC_NUMERIC, name) != nullptr) {
            comma = name;
            break;
        }
    }
    if (comma == nullptr) GTEST_SKIP() << "no locale with a decimal comma installed";
    EXPECT_EQ(LenientNumber(std::string_view("1.5")), 1.5);
    EXPECT_EQ(StrictSingle(std::string_view("2.5"), '.'), 2.5f);
    EXPECT_EQ(NumberText(0.5), "0.5");
    std::setlocale(LC_NUMERIC, "C");
}

TEST(StoreSingle, RoundsToNearestAndSaturatesToInfinity)
{
    EXPECT_EQ(StoreSingle(0.1), 0.1f);
    EXPECT_EQ(StoreSingle(1e39), HUGE_VALF);
    EXPECT_EQ(StoreSingle(-1e39), -HUGE_VALF);
    EXPECT_EQ(StoreSingle(DBL_MAX), HUGE_VALF);
    const double halfUlpAboveMax = static_cast<double>(FLT_MAX) + std::ldexp(1.0, 103);
    EXPECT_EQ(StoreSingle(std::nextafter(halfUlpAboveMax, 0.0)), FLT_MAX);
    EXPECT_EQ(StoreSingle(halfUlpAboveMax), HUGE_VALF); // the tie goes to even, which is infinity
    EXPECT_EQ(StoreSingle(HUGE_VAL), HUGE_VALF);
    EXPECT_TRUE(std::isnan(StoreSingle(std::numeric_limits<double>::quiet_NaN())));
}

TEST(FloorToInt16, FloorsAndRangeChecks)
{
    struct Case {
        double x;
        int expected;
    };
    for (const Case& c : {Case{2.5, 2}, Case{-2.5, -3}, Case{-0.0, 0}, Case{32767.99, 32767}, Case{-32768.0, -32768},
                          Case{-305.83, -306}}) {
        EXPECT_EQ(FloorToInt16(c.x), c.expected) << c.x;
    }
    for (double bad : {32768.0, -32768.5, 1e300, HUGE_VAL, -HUGE_VAL, std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_EQ(ErrorOf([&] { FloorToInt16(bad); }), ErrorKind::Overflow) << bad;
    }
}

TEST(FloorInt, KeepsTheWidth)
{
    EXPECT_EQ(FloorInt(-0.5f), -1.0f);
    EXPECT_EQ(FloorInt(59.9999f), 59.0f);
    EXPECT_EQ(FloorInt(-1e-300), -1.0);
}

struct TextCase {
    double value;
    const char* asDouble;
    const char* asSingle;
};

class NumberTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(NumberTextTest, WritesBareDecimalText)
{
    const auto& c = GetParam();
    EXPECT_EQ(NumberText(c.value), c.asDouble);
    EXPECT_EQ(NumberText(static_cast<float>(c.value)), c.asSingle);
}

INSTANTIATE_TEST_SUITE_P(
    Values, NumberTextTest,
    ::testing::Values(TextCase{0, "0", "0"}, TextCase{-0.0, "0", "0"}, TextCase{7, "7", "7"}, TextCase{-5, "-5", "-5"},
                      TextCase{59, "59", "59"}, TextCase{1234567, "1234567", "1234567"},
                      TextCase{12345678, "12345678", "1.234568E+07"},
                      TextCase{123456789012345, "123456789012345", "1.234568E+14"}, TextCase{1e15, "1E+15", "1E+15"},
                      TextCase{0.5, "0.5", "0.5"}, TextCase{-2.25, "-2.25", "-2.25"},
                      TextCase{0.0001, "0.0001", "0.0001"}, TextCase{0.00001, "1E-05", "1E-05"},
                      TextCase{0.1, "0.1", "0.1"}, TextCase{1e100, "1E+100", "Infinity"},
                      TextCase{9999999.5, "9999999.5", "1E+07"}),
    [](const ::testing::TestParamInfo<TextCase>& p) {
        char text[32];
        const auto end = std::to_chars(text, text + sizeof text, p.param.value).ptr; // -0 stays apart from 0
        return ParamName({text, end});
    });

TEST(NumberText, WholeNumbersAreBare)
{
    EXPECT_EQ(NumberText(59), "59");
    EXPECT_EQ(NumberText(std::int16_t{-32768}), "-32768");
}

TEST(StringOrder, IsBinaryAndPrefixesSortFirst)
{
    EXPECT_TRUE(StrEqual(u"E", u"E"));
    EXPECT_FALSE(StrEqual(u"E", u"e"));
    EXPECT_FALSE(StrEqual(u"E", u"E "));
    EXPECT_TRUE(StrLess(u"9", u"90"));
    EXPECT_TRUE(StrLess(u"/", u"0"));
    EXPECT_TRUE(StrGreater(u":", u"90"));
    EXPECT_TRUE(StrGreater(u"\u00e9", u"z"));
    EXPECT_FALSE(StrLess(u"0", u"0"));
}

TEST(AnsiCodePage, DigitTestLetsExactlyTheTenDigitsThrough)
{
    // The key filter's test: a character passes unless it sorts before "0" or after "90".
    int passed = 0;
    for (int code = 0; code < 256; ++code) {
        const std::u16string s = CharOfAnsiCode(static_cast<std::uint8_t>(code));
        if (!(StrLess(s, u"0") || StrGreater(s, u"90"))) {
            ++passed;
            EXPECT_TRUE(code >= '0' && code <= '9') << code;
        }
    }
    EXPECT_EQ(passed, 10);
}

TEST(AnsiCodePage, MapsWindows1252BothWays)
{
    struct Case {
        std::uint8_t code;
        char16_t ch;
    };
    for (const Case& c : {Case{'A', u'A'}, Case{8, 8}, Case{0x80, 0x20AC}, Case{0x9F, 0x0178}, Case{0x81, 0x0081},
                          Case{0xA0, 0x00A0}, Case{0xE9, 0x00E9}, Case{0xFF, 0x00FF}}) {
        EXPECT_EQ(CharOfAnsiCode(c.code), std::u16string(1, c.ch));
        EXPECT_EQ(AnsiCodeOfChar(c.ch), c.code);
    }
    EXPECT_EQ(AnsiCodeOfChar(U'\u0410'), '?'); // Cyrillic A
    EXPECT_EQ(AnsiCodeOfChar(U'\U0001F600'), '?');
    for (int code = 0; code < 256; ++code) {
        EXPECT_EQ(AnsiCodeOfChar(CharOfAnsiCode(static_cast<std::uint8_t>(code))[0]), code);
    }
}

} // namespace
} // namespace vantoril
