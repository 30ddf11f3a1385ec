// SPDX-License-Identifier: MIT
// The tables behind the iau2006 model's time scales: the system's
// leap-seconds.list and the IERS files of UT1 - UTC.
#include "astro/base/errors.h"
#include "astro/time/iers.h"
#include "astro/time/leap_seconds.h"
#include "cli/io/file_text.h"
#include "tests/cli/program_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

namespace vantoril::cli {
namespace {

using namespace vantoril::astro;

using testing::RunWith;

std::string Fixture(const std::string& name)
{
    std::ifstream in(std::string(VANTORIL_CLI_TEST_DATA) + "/" + name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A file of the text, removed with the object.
class TempFile {
public:
    explicit TempFile(const std::string& text)
    {
        std::string pattern = ::testing::TempDir() + "vantoril-table-XXXXXX";
        const int fd = mkstemp(pattern.data());
        path_ = pattern;
        if (fd >= 0) {
            written_ = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
            ::close(fd);
        }
    }
    ~TempFile() { ::unlink(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    [[nodiscard]] const std::string& path() const
    {
        EXPECT_TRUE(written_) << path_;
        return path_;
    }

private:
    std::string path_;
    bool written_ = false;
};

// An environment variable set for the scope, then unset.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const std::string& value) : name_(name) { setenv(name, value.c_str(), 1); }
    ~ScopedEnv() { unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
};

std::string Repeated(const std::string& line, int times)
{
    std::string text;
    for (int i = 0; i < times; ++i) text += line;
    return text;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The real table expiring at `expires` (NTP seconds), with `extra` steps,
// and the hash of what it then holds, as the IERS computes it: the digits of
// the #$ and #@ values and of each step's first two fields.
std::string TableExpiring(const std::string& expires, const std::string& extra = {})
{
    std::string text = Replaced(Fixture("leap-seconds.list"), "#@\t4023129600", "#@\t" + expires);
    text.resize(std::min(text.size(), text.find("#h")));
    text += extra;
    std::string hashed;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line.rfind("#$", 0) == 0 || line.rfind("#@", 0) == 0 ? line.substr(2) : line);
        std::string first;
        std::string second;
        if (line.empty() || (line[0] == '#' && line.rfind("#$", 0) != 0 && line.rfind("#@", 0) != 0)) continue;
        fields >> first >> second;
        hashed += line[0] == '#' ? first : first + second;
    }
    const std::string hex = Sha1Hex(hashed);
    text += "#h";
    for (std::size_t at = 0; at < hex.size(); at += 8) text += " " + hex.substr(at, 8);
    return text + "\n";
}

TEST(FileText, EveryLineOnceWhereverTheBufferCutsItFromFilesAndPipes)
{
    // Lines longer than the read buffer and CR LF cut between two reads.
    const std::string wide = Repeated("x", 70000);
    struct Case {
        std::string text;
        bool pipe;
        std::size_t limit;
        int error; // 0: read
    };
    const std::vector<Case> cases = {
        {"", false, 10, 0},
        {"a\r\n\nb", false, 5, 0},
        {"a\r\n\nb", false, 4, EFBIG},
        {Repeated("x", 65535) + "\r\n" + wide + "\n" + wide, false, 1 << 20, 0},
        {Repeated("line\n", 9000), true, 45000, 0}, // no size known: counted as read
        {Repeated("line\n", 9000), true, 44999, EFBIG},
    };
    for (const Case& c : cases) {
        const TempFile file(c.text);
        int fds[2] = {-1, -1};
        std::string path = file.path();
        if (c.pipe) {
            ASSERT_EQ(::pipe(fds), 0);
            ASSERT_EQ(::write(fds[1], c.text.data(), c.text.size()), static_cast<ssize_t>(c.text.size()));
            ::close(fds[1]);
            path = "/proc/self/fd/" + std::to_string(fds[0]);
        }
        std::vector<std::string> lines;
        int error = 0;
        const auto keep = [&lines](std::string_view l) { lines.emplace_back(l); };
        const bool read = ForEachFileLine(path, c.limit, keep, error);
        if (c.pipe) ::close(fds[0]);
        EXPECT_EQ(read, c.error == 0) << c.text.size() << " bytes, limit " << c.limit;
        if (!read) {
            EXPECT_EQ(error, c.error);
            continue;
        }
        std::vector<std::string> expected;
        std::string_view rest = c.text;
        std::string_view line;
        while (NextLine(rest, line)) expected.emplace_back(line);
        EXPECT_EQ(lines, expected) << c.text.size() << " bytes";
    }
    int error = 0;
    const auto none = [](std::string_view) {};
    EXPECT_FALSE(ForEachFileLine("/nonexistent/file", 10, none, error));
    EXPECT_EQ(error, ENOENT);
}

TEST(LeapSecondsList, Sha1OfKnownTexts)
{
    EXPECT_EQ(Sha1Hex(""), "da39a3ee5e6b4b0d3255bfef95601890afd80709");
    EXPECT_EQ(Sha1Hex("abc"), "a9993e364706816aba3e25717850c26c9cd0d89d");
    EXPECT_EQ(Sha1Hex(std::string(1000, 'a')), "291e9a6c66994949b57ba5e650361e98fc36b1ba");
}

TEST(LeapSecondsList, ReadsTheRealTableAndRefusesDamagedOnesNamingTheLine)
{
    const std::string real = Fixture("leap-seconds.list");
    const LeapSecondsList list = ReadLeapSecondsList(real, "t");
    ASSERT_EQ(list.steps.size(), 28U);
    EXPECT_EQ(list.steps.back().year, 2017);
    EXPECT_EQ(list.steps.back().taiMinusUtc, 37);
    EXPECT_EQ(list.expires, 4023129600);

    struct Case {
        std::string text;
        const char* message;
    };
    const std::vector<Case> cases = {
        {Replaced(real, "3692217600      37", "3692217600      38"), "t line 120: the hash does not match"},
        {Replaced(real, "2287785600      11", "2272060800      11"), "t line 87: the steps must follow each other"},
        {Replaced(real, "2287785600      11", "2287785601      11"), "t line 87: a step must begin at 0h on the 1st"},
        {Replaced(real, "2287785600      11", "2287785600      10"), "t line 87: TAI-UTC does not change"},
        {Replaced(real, "2303683200      12", "2303683200 x12"), "t line 88: expected NTP-SECONDS TAI-UTC"},
        {Replaced(real, "#@\t4023129600", "#"), "t: no expiry date"},
        {Replaced(real, "#h\ta9bad145", "#h\tzz"), "t line 120: the #h line holds no hash"},
        {real.substr(0, real.find("#h")), "t: no #h line: without its hash the table cannot be checked"},
        {TableExpiring("4023129600"), ""}, // the test's own tables are whole
        {"<html>not found</html>\n", "t line 1: expected NTP-SECONDS"},
        {"", "t: no leap-second steps"},
    };
    for (const Case& c : cases) {
        try {
            (void)ReadLeapSecondsList(c.text, "t");
            EXPECT_STREQ(c.message, "") << "accepted";
        } catch (const InputError& e) {
            EXPECT_STRNE(c.message, "") << e.what();
            EXPECT_EQ(std::string(e.what()).rfind(c.message, 0), 0U) << e.what();
        }
    }
}

TEST(LeapSecondsList, TheSystemTableDecidesLeapsExpiryAndWarnings)
{
    // 2030-01-01 with a step invented for the test, the table expiring 2031-06-28.
    const TempFile future(TableExpiring("4149360000", "4102444800\t38\t# 1 Jan 2030\n"));
    const TempFile expired(TableExpiring("3802291200")); // 2020-06-28
    const TempFile damaged(Replaced(Fixture("leap-seconds.list"), "3692217600      37", "3692217600      38"));
    struct Case {
        const char* name;
        std::string table;
        std::vector<std::string> args;
        int status;
        const char* out; // a part of the output, or "" for none expected
        const char* err; // a part of standard error, or "" for it empty
    };
    const std::vector<Case> cases = {
        {"the invented leap second is a second of its own",
         future.path(),
         {"--model", "iau2006", "--format", "json", "0", "2029-12-31", "23:59:60.5"},
         0,
         "\"lst\":\"6:42:46.",
         ""},
        {"ERFA's own table has no such second",
         "",
         {"--model", "iau2006", "0", "2029-12-31", "23:59:60.5"},
         1,
         "",
         "2029-12-31 has no leap second"},
        {"after the table's expiry: a warning member",
         future.path(),
         {"--model", "iau2006", "--format", "json", "0", "2031-06-28"},
         0,
         "\"warning\":\"after 2031-06-28",
         ""},
        {"an expired table warns once on standard error",
         expired.path(),
         {"--model", "iau2006", "0", "2024-01-01"},
         0,
         "6:40:36.628",
         "warning: after 2020-06-28"},
        // TAI as if a leap second ended the year: that of 2025-01-01 00:00:00.5 by the old table.
        {"after the expiry a month may end with a leap second not in the table",
         expired.path(),
         {"--model", "iau2006", "0", "2024-12-31", "23:59:60.5"},
         0,
         "6:43:36.394",
         "warning: after 2020-06-28"},
        {"but not a day inside the month",
         expired.path(),
         {"--model", "iau2006", "0", "2024-12-30", "23:59:60.5"},
         1,
         "",
         "2024-12-30 has no leap second"},
        {"a damaged table: one warning, ERFA's table kept",
         damaged.path(),
         {"--model", "iau2006", "0", "2024-01-01"},
         0,
         "6:40:36.628",
         "the hash does not match"},
        {"--version names the table and its expiry",
         future.path(),
         {"--version"},
         0,
         "TAI-UTC 38 s since 2030-01-01, expires 2031-06-28",
         ""},
        {"before 1960 warns, in a batch once", "", {"--batch", "--model", "iau2006"}, 0, "\n", "warning: before 1960"},
        {"and in a table",
         "",
         {"--model", "iau2006", "--from", "1950-01-01T00:00Z", "--count", "2", "--step", "1h", "0"},
         0,
         "1950-01-01T01:00:00Z",
         "warning: before 1960"},
    };
    for (const Case& c : cases) {
        const ScopedEnv env("VANTORIL_LEAP_SECONDS", c.table);
        const auto run = RunWith(c.args, "1950-01-01 00:00:00 0\n1951-01-01 00:00:00 0\n");
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.name << ": " << run.out;
        if (std::string(c.err).empty()) {
            EXPECT_EQ(run.err, "") << c.name;
        } else {
            EXPECT_NE(run.err.find(c.err), std::string::npos) << c.name << ": " << run.err;
            EXPECT_EQ(run.err.find(c.err), run.err.rfind(c.err)) << c.name << ": said more than once";
        }
    }
}

// A table given after another is not answered from what was kept of the
// other's days and months.
TEST(LeapSecondsList, ATableIsNotAnsweredFromTheOneBefore)
{
    const TempFile future(TableExpiring("4149360000", "4102444800\t38\t# 1 Jan 2030\n"));
    const auto lstHours = [](const std::string& table) {
        const ScopedEnv env("VANTORIL_LEAP_SECONDS", table);
        const std::string out = RunWith({"--model", "iau2006", "--format", "json", "0", "2030-06-15", "12:00:00"}).out;
        const auto at = out.find("\"lst_hours\":");
        return at == std::string::npos ? out : out.substr(at, out.find_first_of(",}", at) - at);
    };
    const std::string own = lstHours("");
    EXPECT_NE(lstHours(future.path()), own); // TT a second later: the angle's last digits
    EXPECT_EQ(lstHours(""), own);
}

// A finals2000A file written for the test: real Bulletin A values around
// the leap second that ended 2016, the last two days turned into predictions.
std::string TinyFinals()
{
    std::string text = Fixture("finals2000A.excerpt");
    text = Replaced(text, "17 1 1 57754.00 I  0.080504 0.000028  0.263145 0.000028  I",
                    "17 1 1 57754.00 I  0.080504 0.000028  0.263145 0.000028  P");
    return Replaced(text, "17 1 2 57755.00 I  0.080285 0.000029  0.263605 0.000032  I",
                    "17 1 2 57755.00 I  0.080285 0.000029  0.263605 0.000032  P");
}

TEST(EopFiles, Ut1MinusUtcInterpolatedWithTheLeapSecondRemoved)
{
    const TempFile finals(TinyFinals());
    struct Case {
        std::string file;
        const char* date;
        const char* time;
        const char* dut1;   // by hand from the file's daily values
        const char* source; // final or predicted
    };
    const std::string data = VANTORIL_CLI_TEST_DATA;
    const std::vector<Case> cases = {
        {finals.path(), "2016-12-31", "00:00:00", "-0.4077601", "final"},
        // (-0.4077601 + (0.5912821 - 1)) / 2: UT1 - TAI halfway, 36 s added back.
        {finals.path(), "2016-12-31", "12:00:00", "-0.408239", "predicted"},
        {finals.path(), "2017-01-01", "00:00:00", "0.5912821", "predicted"},
        {finals.path(), "2017-01-01", "18:00:00", "0.590451925", "predicted"},
        {finals.path(), "2017-01-02", "00:00:00", "0.5901752", "predicted"},
        // The real lines of the three forms.
        {data + "/eopc04_IAU2000.excerpt", "2016-12-31", "12:00:00", "-0.40822575", "final"},
        {data + "/eopc04.excerpt", "2016-12-31", "12:00:00", "-0.40824135", "final"},
        {data + "/finals2000A.excerpt", "2016-12-30", "06:00:00", "-0.407128525", "final"},
    };
    for (const Case& c : cases) {
        const auto run = RunWith({"--model", "iau2006", "--eop", c.file, "--format", "json", "0", c.date, c.time});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.out.find(std::string("\"dut1\":") + c.dut1 + ",\"dut1_source\":\"" + c.source + "\""),
                  std::string::npos)
            << c.file << " " << c.date << " " << c.time << ": " << run.out;
    }
    // The file moves the sidereal time exactly as --dut1 with the same value.
    const auto fromFile = RunWith({"--model", "iau2006", "--eop", finals.path(), "0", "2016-12-31", "12:00:00"});
    const auto fromOption = RunWith({"--model", "iau2006", "--dut1", "-0.408239", "0", "2016-12-31", "12:00:00"});
    EXPECT_EQ(fromFile.out, fromOption.out);
}

TEST(EopFiles, OutsideTheSpanAnErrorForThatInstantAlone)
{
    const TempFile finals(TinyFinals());
    const auto run = RunWith({"--batch", "--model", "iau2006", "--eop", finals.path()},
                             "2016-12-29 23:59:59 0\n2016-12-30 00:00:00 0\n2017-01-02 00:00:01 0\n");
    EXPECT_EQ(run.status, 1);
    const auto lines = testing::Lines(run.out);
    ASSERT_EQ(lines.size(), 3U);
    EXPECT_EQ(lines[0], "error: UT1-UTC: " + finals.path() + " covers 2016-12-30 to 2017-01-02, not this instant");
    EXPECT_EQ(lines[1].rfind("error", 0), std::string::npos);
    EXPECT_EQ(lines[2].rfind("error: UT1-UTC", 0), 0U);
}

TEST(EopFiles, DamagedFilesRefusedNamingFileAndLine)
{
    const std::string finals = Fixture("finals2000A.excerpt");
    const std::string c04 = Fixture("eopc04_IAU2000.excerpt");
    struct Case {
        std::string text;
        const char* message; // after "NAME line "
    };
    const std::vector<Case> cases = {
        {finals.substr(0, finals.size() - 150), "4: truncated"},
        {Replaced(finals, "161231 57753.00", "161231 57754.00"), "2: the MJD in columns 8-15 is not the date"},
        {Replaced(finals, "  I-0.4077601", "  X-0.4077601"), "2: expected I or P in column 58"},
        {Replaced(finals, "I-0.4077601", "I-0.40x7601"), "2: expected UT1-UTC in seconds in columns 59-68"},
        // Columns cut short, inside a row or at the file's end.
        {Replaced(finals, "I-0.4077601", "I-0.4077   "), "2: UT1-UTC in columns 59-68 is not whole"},
        {Replaced(finals, "161231 57753.00", "161231 57753.0 "), "2: the MJD in columns 8-15 is not whole"},
        {Replaced(c04, "-0.4077492", "-0.4077"), "16: UT1-UTC is not whole"},
        {c04.substr(0, c04.rfind("0.0009173") + 9), "16: cut short: 8 columns, the table's rows have 16"},
        {Replaced(c04, "2016  12  31  57753", "2016  12  31  57754"), "16: the MJD is not the date's at 0h"},
        {Replaced(c04, "2016  12  31  57753", "2016  12  30  57752"), "16: expected the day after the previous row"},
        {Replaced(c04, "2016  12  31  57753", "2016  13  01     -1"), "16: the MJD is not the date's at 0h"}, // no date
        // Numbers past any day count: read, never converted to one.
        {Replaced(c04, "2016  12  31  57753", "2016  12  31  5e43"), "16: the MJD is not the date's at 0h"},
        {Replaced(finals, "161231 57753.00", "161231 1e99    "), "2: the MJD in columns 8-15 is not the date"},
        {Repeated("a header line\n", 70), "61: not an IERS finals2000A or EOP C04 table"},
        {"<html><body>Not Found</body></html>\n", "1: not an IERS finals2000A or EOP C04 table"},
    };
    for (const Case& c : cases) {
        try {
            (void)EopTable::Read(c.text, "f");
            ADD_FAILURE() << "accepted, expected: " << c.message;
        } catch (const InputError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(std::string("f line ") + c.message, 0), 0U) << e.what();
        }
    }
    const TempFile bad(Replaced(finals, "  I-0.4077601", "  X-0.4077601"));
    const auto run = RunWith({"--model", "iau2006", "--eop", bad.path(), "0", "2016-12-31"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "vantoril-lst: --eop: " + bad.path() +
                           " line 2: expected I or P in column 58 (Bulletin A UT1-UTC flag)\n");
}

TEST(EopFiles, AFileFoundIsNamedWhereverItChangesTheResult)
{
    const TempFile finals(TinyFinals());
    const ScopedEnv env("VANTORIL_LST_EOP", finals.path());
    const auto version = RunWith({"--version"});
    EXPECT_NE(version.out.find("UT1-UTC (iau2006): " + finals.path() +
                               " (finals2000A, 2016-12-30 to 2017-01-02, predicted from 2017-01-01), found"),
              std::string::npos)
        << version.out;
    const auto text = RunWith({"--model", "iau2006", "0", "2016-12-31"});
    EXPECT_NE(text.err.find("note: UT1-UTC from " + finals.path() + ", found"), std::string::npos) << text.err;
    // Outside its span a found file gives 0, as before it was found, and says so.
    const auto outside = RunWith({"--model", "iau2006", "--format", "json", "0", "2024-01-01"});
    EXPECT_NE(outside.out.find("\"dut1\":0,\"dut1_source\":\"none\""), std::string::npos) << outside.out;
    EXPECT_NE(outside.out.find("\"warning\":\"UT1-UTC taken as 0"), std::string::npos) << outside.out;
    const auto none = RunWith({"--model", "iau2006", "--eop", "none", "--format", "json", "0", "2016-12-31"});
    EXPECT_EQ(none.out.find("dut1_source"), std::string::npos) << none.out;
    const auto classic = RunWith({"0", "2016-12-31"});
    EXPECT_EQ(classic.err, "");
}

} // namespace
} // namespace vantoril::cli
