// SPDX-License-Identifier: MIT
#include "tests/cli/program_run.h"

#include "astro/sidereal/iau2006.h"
#include "astro/sidereal/models.h"
#include "astro/time/date_time.h"
#include "cli/print/instant_text.h"
#include "cli/print/json_text.h"
#include "cli/print/numbers.h"
#include "tests/param_name.h"

#include <erfa.h>
#include <erfam.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <thread>

#include <dirent.h>
#include <poll.h>
#include <sched.h>
#include <sys/mman.h>
#include <unistd.h>

namespace vantoril::cli::testing {
namespace {

using namespace vantoril::astro;

struct RunCase {
    std::vector<std::string> args;
    int status;
    const char* out; // exact standard output
    const char* err; // part of standard error; "" for none at all
};

class Runs : public ::testing::TestWithParam<RunCase> {};

TEST_P(Runs, PrintAndExitAsPromised)
{
    const auto& c = GetParam();
    const Outcome r = RunWith(c.args);
    EXPECT_EQ(r.status, c.status);
    EXPECT_EQ(r.out, c.out);
    if (*c.err == '\0') {
        EXPECT_EQ(r.err, "");
    } else {
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, Runs,
    ::testing::Values(
        // The window's own examples, in every longitude form.
        RunCase{{"79d51mW", "2002-01-01", "00:00:00"}, 0, "1:22:30\n", ""},
        RunCase{{"79:51:00W", "2002-01-01"}, 0, "1:22:30\n", ""},
        RunCase{{"79 51 0 W", "2002-01-01", "00:00:00.0"}, 0, "1:22:30\n", ""},
        RunCase{{"0", "2002-01-01"}, 0, "6:41:54\n", ""}, RunCase{{"0", "2002-10-06", "23:00:00"}, 0, "0:1:43\n", ""},
        RunCase{{"4d57m52sW", "1989-02-25", "19:57:15"}, 0, "6:0:0\n", ""},
        RunCase{{"0", "2001-02-29"}, 0, "10:35:28\n", ""}, // counts on into 1 March
        RunCase{{"--ra", "12:00:00", "79d51mW", "2002-01-01"}, 0, "1:22:30 -10:37:30\n", ""},
        RunCase{{"--format", "hours", "--ra", "1:22:30", "79d51mW", "2002-01-01"}, 0, "1.3750 +0.0000\n", ""},
        RunCase{{"--model", "iau2006", "--", "-79.85", "2002-01-01"}, 0, "1:22:30.245\n", ""},
        RunCase{{"--model", "iau2006", "--precision", "0", "0", "2002-01-01", "00:00:00.4"}, 0, "6:41:55\n", ""},
        RunCase{{"--model", "iau2006", "0", "2016-12-31", "23:59:60.5"}, 0, "6:43:21.607\n", ""},
        // Bad values: a usage error naming the value, nothing on standard output.
        RunCase{{"79x", "2002-01-01"}, 2, "", "longitude \"79x\": expected a form like"},
        RunCase{{"0", "2002-13-01"}, 2, "", "the month must be 01 to 12"},
        RunCase{{"0", "2002-01-01", "25:00:00"}, 2, "", "time \"25:00:00\""},
        RunCase{{"0", "2002-01-01", "23:59:60"}, 1, "", "the classic model takes seconds below 60"},
        // A second of 60 names the day and what its last minute holds: no answer (1), not a usage error.
        RunCase{{"--model", "iau2006", "0", "2016-12-30", "23:59:60"}, 1, "", "2016-12-30 has no leap second"},
        RunCase{{"--model", "iau2006", "0", "2015-06-29", "23:59:60"}, 1, "", "2015-06-29 has no leap second"},
        RunCase{{"--model", "iau2006", "0", "2016-11-31", "23:59:60"}, 1, "", "2016-12-01 has no leap second"},
        RunCase{{"--model", "iau2006", "0", "1960-12-31", "23:59:60.05"},
                1,
                "",
                "time \"23:59:60.05\": the last minute of 1960-12-31 has a leap of 0.005 s; seconds below 60.005"},
        RunCase{
            {"--model", "iau2006", "0", "1961-07-31", "23:59:59.96"}, 1, "", "a leap of -0.05 s; seconds below 59.95"},
        RunCase{{"--model", "iau2006", "0", "2016-12-31", "12:00:60"},
                1,
                "",
                "only the last minute of a day (23:59) can have a leap second"},
        RunCase{{"--model", "iau2006", "--precision", "0", "0", "1960-12-31", "23:59:60.004"}, 0, "6:41:38\n", ""},
        RunCase{{"--model", "iau2006", "0", "10000-01-01"}, 1, "", "years 0000 to 9999"},
        RunCase{{"--frobnicate"}, 2, "", "Try 'vantoril-lst --help'"},
        // The window's run-time errors are failures, not usage errors.
        RunCase{{"0", "3276800-03-01"}, 1, "", "Run-time error '6': Overflow"}),
    [](const ::testing::TestParamInfo<RunCase>& p) {
        std::string text;
        for (const auto& arg : p.param.args) text.append(text.empty() ? "" : " ").append(arg);
        return ParamName(text);
    });

TEST(Program, HelpAndVersion)
{
    const Outcome help = RunWith({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: vantoril-lst [OPTIONS] LONGITUDE [DATE [TIME]]"), std::string::npos);
    const Outcome version = RunWith({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out.rfind("vantoril-lst 1.00 (ERFA ", 0), 0u) << version.out;
}

TEST(Program, NowIsTheSystemClock)
{
    const Outcome r = RunWith({"--model", "iau2006", "--format", "hours", "0"});
    ASSERT_EQ(r.status, 0) << r.err;
    const double printed = std::stod(r.out);
    // GMST at 0 h UT plus the day's sidereal fraction, UT1 = UTC.
    const double days = static_cast<double>(std::time(nullptr)) / 86400.0;
    const double expected = eraGmst06(2440587.5, days, 2440587.5, days) * 12 / ERFA_DPI;
    double diff = std::fabs(printed - expected);
    diff = std::min(diff, 24 - diff);
    EXPECT_LT(diff * 3600, 5.0) << r.out;
}

TEST(Batch, OneOutputLinePerInputLineWhateverTheInput)
{
    std::string input = "2002-01-01 00:00:00 79d51mW\n";
    input += "\n";                                         // blank
    input += "# a comment\r\n";                            // comment, CRLF
    input += "garbage\n";                                  // no fields
    input += std::string(1 << 20, '7') + "\n";             // 1 MiB
    input += std::string("2002-01-01\0 00:00:00 0\n", 23); // NUL byte
    input += "2002-01-01 00:00:00 \xff\xfe\xc3\x28\n";     // invalid UTF-8
    input += "2002-01-01 00:00:00 0 12:00:00\r\n";         // right ascension, CRLF
    input += "3276800-03-01 00:00:00 0\n";                 // the window's overflow
    input += "2002-01-01 00:00:00 0";                      // last line without a newline
    const Outcome r = RunWith({"--batch"}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "");
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 10u) << r.out;
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_EQ(lines[0], "1:22:30");
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "error: expected DATE TIME LONGITUDE [RA], found \"garbage\"");
    EXPECT_EQ(lines[4], "error: line longer than 4096 bytes");
    EXPECT_EQ(lines[5], "error: date \"2002-01-01\\x00\": expected YYYY-MM-DD");
    EXPECT_EQ(lines[6].rfind("error: longitude \"\\xff\\xfe\\xc3(\"", 0), 0u) << lines[6];
    EXPECT_EQ(lines[7], "6:41:54 -5:18:06");
    EXPECT_EQ(lines[8], "error: Run-time error '6': Overflow");
    EXPECT_EQ(lines[9], "6:41:54");
}

TEST(Batch, AllGoodIsStatusZeroAndBatchRaOverridesTheOption)
{
    const Outcome r =
        RunWith({"--batch", "--ra", "6:00:00"}, "2002-01-01 00:00:00 0\n2002-01-01 00:00:00 0 18:00:00\n# done\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "6:41:54 +0:41:54\n6:41:54 -11:18:06\n\n");
}

TEST(Batch, JsonCarriesInputsModelAndResult)
{
    const Outcome r = RunWith({"--batch", "--format", "json", "--model", "iau2006", "--apparent", "--dut1", "-0.25"},
                              "2002-01-01 00:00:00 79 51 0 W 12:00:00\n");
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("{\"utc\":\"2002-01-01T00:00:00\",\"utc_text\":\"2002-01-01 00:00:00\",\"longitude\":\"79 51 "
                          "0 W\",\"longitude_deg\":-79.85,"
                          "\"model\":\"iau2006\",\"kind\":\"apparent\",\"dut1\":-0.25,\"lst\":\"1:22:28.986\",",
                          0),
              0u)
        << r.out;
    EXPECT_NE(r.out.find(",\"ra\":\"12:00:00\",\"ra_hours\":12,\"hour_angle\":\"-10:37:31.014\","), std::string::npos)
        << r.out;
}

struct EdgeCase {
    const char* name;
    std::string input;
    const char* out;
};

std::string Padded(std::string line, std::size_t length, char with = ' ')
{
    line.resize(length, with);
    return line;
}

const std::string kLine = "2002-01-01 00:00:00 0";

class InputEdges : public ::testing::TestWithParam<EdgeCase> {};

// One output line per input line at the edges of what a line is.
TEST_P(InputEdges, GiveTheLinesTheyHold)
{
    const Outcome r = RunWith({"--batch"}, GetParam().input);
    EXPECT_EQ(r.out, GetParam().out);
    EXPECT_EQ(r.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Batch, InputEdges,
    ::testing::Values(
        EdgeCase{"ByteOrderMarkBeforeData", "\xEF\xBB\xBF" + kLine + "\n", "6:41:54\n"},
        EdgeCase{"ByteOrderMarkBeforeComment", "\xEF\xBB\xBF# date time longitude\n" + kLine, "\n6:41:54\n"},
        EdgeCase{"ByteOrderMarkAlone", "\xEF\xBB\xBF", ""},
        EdgeCase{"ByteOrderMarkOnlyAtTheStart", kLine + "\n\xEF\xBB\xBF" + kLine + "\n",
                 "6:41:54\nerror: date \"\\xef\\xbb\\xbf2002-01-01\": expected YYYY-MM-DD\n"},
        EdgeCase{"CarriageReturnRunsEndALine", "\r\r\n" + kLine + "\r\r\r\n\r\r", "\n6:41:54\n\n"},
        EdgeCase{"CarriageReturnInsideALine", "2002-01-01\r 00:00:00 0\n",
                 "error: date \"2002-01-01\\x0d\": expected YYYY-MM-DD\n"},
        EdgeCase{"LineOfTheLimitWithLf", Padded(kLine, 4096) + "\n", "6:41:54\n"},
        EdgeCase{"LineOfTheLimitWithCrLf", Padded(kLine, 4096) + "\r\n", "6:41:54\n"},
        EdgeCase{"LineOfTheLimitWithManyCr", Padded(kLine, 4096) + std::string(300000, '\r') + "\n" + kLine,
                 "6:41:54\n6:41:54\n"},
        EdgeCase{"LineOfTheLimitAtTheEnd", Padded(kLine, 4096) + "\r", "6:41:54\n"},
        EdgeCase{"LineOverTheLimitWithCrLf", Padded(kLine, 4097) + "\r\n", "error: line longer than 4096 bytes\n"},
        EdgeCase{"CarriageReturnsInsideALongLine", Padded(kLine, 4000) + std::string(300000, '\r') + "x\n" + kLine,
                 "error: line longer than 4096 bytes\n6:41:54\n"},
        EdgeCase{"LongComment", Padded("# notes", 100000, 'x') + "\n" + kLine, "\n6:41:54\n"},
        EdgeCase{"LongIndentedComment", Padded("", 5000) + Padded("#", 300000, 'x') + "\r\n" + kLine, "\n6:41:54\n"},
        EdgeCase{"LongBlankLine", Padded("", 300000) + "\n" + kLine, "\n6:41:54\n"},
        EdgeCase{"LongCommentAtTheEnd", Padded("#", 5000, 'x'), "\n"},
        EdgeCase{"LongDataLine", Padded(kLine + " ", 5000, '7') + "\n" + kLine,
                 "error: line longer than 4096 bytes\n6:41:54\n"}),
    [](const ::testing::TestParamInfo<EdgeCase>& p) { return std::string(p.param.name); });

// The error's reason, JSON-escaped as the program escapes it.
std::string JsonError(std::string_view reason)
{
    std::string out = "{\"error\":";
    AppendJsonString(out, reason);
    return out + "}";
}

// Names come from the user's files in any encoding; what is printed stays
// one JSON string whatever the bytes.
TEST(Json, StringsOfAnyBytes)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"Paris", "\"Paris\""},
        {"S\xC3\xA3o Paulo \xE2\x82\xAC \xF0\x9F\x94\xAD", "\"S\xC3\xA3o Paulo \xE2\x82\xAC \xF0\x9F\x94\xAD\""},
        {"Bad\xFFName", "\"Bad\\ufffdName\""},           // Latin-1's ÿ
        {"\xC3", "\"\\ufffd\""},                         // a character cut short
        {"\xED\xA0\x80x", "\"\\ufffd\\ufffd\\ufffdx\""}, // a surrogate, not a character
        {"a\"b\\c\x01", "\"a\\\"b\\\\c\\u0001\""},
    };
    for (const auto& [text, json] : cases) {
        std::string out;
        AppendJsonString(out, text);
        EXPECT_EQ(out, json);
    }
}

TEST(Batch, JsonLinesAreOneValueForEveryLine)
{
    const std::string input = "\xEF\xBB\xBF# instants\n2002-02-30 00:00:00 0\n\ngarbage\n2002-01-01 00:00:00 \\\"x\n" +
                              Padded("7", 5000, '7') + "\n2000-02-30 7:05:09.25 79d51mW 12:00:00\r\n";
    const Outcome text = RunWith({"--batch"}, input);
    const Outcome json = RunWith({"--batch", "--format", "json"}, input);
    EXPECT_EQ(json.status, 1);
    const auto texts = Lines(text.out);
    const auto lines = Lines(json.out);
    ASSERT_EQ(lines.size(), 7u) << json.out;
    ASSERT_EQ(texts.size(), 7u) << text.out;
    EXPECT_EQ(lines[0], "null");
    EXPECT_EQ(lines[2], "null");
    for (const std::size_t i : {3u, 4u, 5u}) {
        ASSERT_EQ(texts[i].rfind("error: ", 0), 0u) << texts[i];
        EXPECT_EQ(lines[i], JsonError(texts[i].substr(7)));
    }
    // The instant computed, and the text as typed.
    EXPECT_EQ(lines[1].rfind("{\"utc\":\"2002-03-02T00:00:00\",\"utc_text\":\"2002-02-30 00:00:00\",", 0), 0u)
        << lines[1];
    EXPECT_EQ(lines[6].rfind("{\"utc\":\"2000-03-01T07:05:09.25\",\"utc_text\":\"2000-02-30 7:05:09.25\",", 0), 0u)
        << lines[6];
}

TEST(Json, UtcIsTheInstantTheCalculationUsed)
{
    const std::pair<const char*, const char*> cases[] = {
        {"2002-02-30", "2002-03-02"},
        {"2001-02-29", "2001-03-01"},
        {"2000-02-30", "2000-03-01"},
        {"1900-02-29", "1900-03-01"},
        {"2002-04-31", "2002-05-01"},
        {"2002-12-31", "2002-12-31"},
        {"0002-02-29", "0002-03-01"},
        {"0000-02-29", "0000-02-29"},
        {"00000000012002-02-30", "12002-03-02"},
        {"123456789012345678901234-02-30", "123456789012345678901234-03-02"}};
    for (const auto& [date, utc] : cases) {
        Query q{{ParseDate(date), ParseTime("7:05:09.25")}, ParseLongitude("0"), std::nullopt, std::nullopt};
        std::string out;
        AppendNormalisedUtc(out, q);
        EXPECT_EQ(out, std::string(utc) + "T07:05:09.25") << date;
    }
}

TEST(Batch, ApparentLinesAnsweredInParallelStayInOrder)
{
    // Enough lines for several blocks on every processor, errors among them,
    // and runs of ten lines at one instant (answered from the previous line's time).
    std::string input;
    std::vector<std::string> expected;
    for (int i = 0; i < 1500; ++i) {
        std::string date = "2002-01-1";
        date += std::to_string(i / 10 % 10);
        std::string time = "0";
        time += std::to_string(i / 100 % 10);
        time += ":00:00";
        std::string lng = std::to_string(i % 7 == 0 ? i : i % 180);
        lng += 'W';
        input.append(date).append(" ").append(time).append(" ").append(lng).append("\n");
        std::string line;
        try {
            Query q{{ParseDate(date), ParseTime(time)}, ParseLongitude(lng), {}, {}};
            AppendClock(line, Iau2006Lst(q, true, 0.0), 3, false);
        } catch (const std::runtime_error& e) {
            line = std::string("error: ") + e.what();
        }
        expected.push_back(line);
    }
    const Outcome r = RunWith({"--batch", "--model", "iau2006", "--apparent"}, input);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Lines(r.out), expected);
}

// The iau2006 batch answers its lines in runs, stage by stage: each line,
// whatever its neighbours in the run, answers as it does alone.
TEST(Batch, LinesInRunsAnswerAsEachAlone)
{
    const std::vector<std::string> kinds = {
        "2002-01-01 00:00:00 79d51mW",
        "",
        "# a comment",
        "garbage",
        std::string(5000, '7'),
        "2016-12-31 23:59:60.5 10", // a leap second
        "2017-12-31 23:59:60 0",    // none that day: refused with the time scales
        "10000-01-01 00:00 0",      // past the model's years: likewise
        "2002-01-01 00:00:00 0 12:00:00",
        "2002-01-01T12:00+05:30 -33.5",
        "@1700000000 20",
        "1999-02-30 06:07:08 180",
    };
    std::string input;
    std::vector<std::string> lines;
    for (int round = 0; round < 3; ++round) {
        for (std::size_t k = 0; k < kinds.size(); ++k) {
            // Each round shifts the kinds against the runs' edges.
            lines.push_back(kinds[(k + static_cast<std::size_t>(round) * 5) % kinds.size()]);
            input += lines.back() + "\n";
        }
    }
    const auto check = [&](const char* threads) {
        for (const char* format : {"text", "json", "csv"}) {
            const std::vector<std::string> args = {"--batch", "--model", "iau2006", "--format", format};
            const auto all = Lines(RunWith(args, input).out);
            const std::size_t header = std::string(format) == "csv" ? 1 : 0;
            ASSERT_EQ(all.size(), lines.size() + header) << format;
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const auto alone = Lines(RunWith(args, lines[i] + "\n").out);
                ASSERT_EQ(alone.size(), 1 + header) << format << " " << lines[i];
                EXPECT_EQ(all[i + header], alone[header]) << threads << ", " << format << " line " << i + 1;
            }
        }
    };
    check("every processor");
    // On one processor the runs are gathered without the threads.
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu) {
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    }
    ASSERT_EQ(sched_setaffinity(0, sizeof one, &one), 0);
    check("one processor");
    ASSERT_EQ(sched_setaffinity(0, sizeof all, &all), 0);
}

// A batch fed through a pipe, as by a program that waits for each answer:
// the lines read so far are answered and written before the batch waits for
// more input, in blocks that wake the threads and in blocks that do not.
TEST(Batch, AnswersWhatItHasReadBeforeWaitingForMore)
{
    int in[2];
    int out[2];
    ASSERT_EQ(pipe(in), 0);
    ASSERT_EQ(pipe(out), 0);
    const int err = memfd_create("err", 0);
    int status = -1;
    std::thread batch([&] {
        const std::vector<std::string_view> args = {"--batch"};
        status = RunProgram(args, in[0], out[1], err);
        ::close(out[1]);
    });
    // Output lines read within a generous time; fewer when the batch stalls.
    std::string received;
    const auto readLines = [&](std::size_t wanted) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (static_cast<std::size_t>(std::count(received.begin(), received.end(), '\n')) < wanted &&
               std::chrono::steady_clock::now() < deadline) {
            pollfd ready{out[0], POLLIN, 0};
            if (poll(&ready, 1, 100) <= 0) continue;
            char buf[65536];
            const ssize_t n = ::read(out[0], buf, sizeof buf);
            if (n <= 0) break;
            received.append(buf, static_cast<std::size_t>(n));
        }
        return static_cast<std::size_t>(std::count(received.begin(), received.end(), '\n'));
    };
    const auto send = [&](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "2002-01-01 00:00:00 79d51mW\n";
        ASSERT_EQ(::write(in[1], text.data(), text.size()), static_cast<ssize_t>(text.size()));
    };
    send(1000); // several chunks: the threads answer together
    EXPECT_EQ(readLines(1000), 1000u);
    send(3); // a few lines: answered alone
    EXPECT_EQ(readLines(1003), 1003u);
    ::close(in[1]);
    batch.join();
    EXPECT_EQ(readLines(1003), 1003u);
    EXPECT_EQ(status, 0);
    const auto lines = Lines(received);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "1:22:30"), 1003) << received.substr(0, 200);
    ::close(in[0]);
    ::close(out[0]);
    ::close(err);
}

// The threads of this process now, by id.
std::set<long> Threads()
{
    std::set<long> ids;
    if (DIR* dir = opendir("/proc/self/task")) {
        while (const dirent* entry = readdir(dir)) {
            if (entry->d_name[0] != '.') ids.insert(std::strtol(entry->d_name, nullptr, 10));
        }
        closedir(dir);
    }
    return ids;
}

// A batch of many blocks is answered by one set of threads, not by new
// threads for every block: every thread seen while it runs is counted.
TEST(Batch, WorkerThreadsLastTheWholeInput)
{
    std::string input;
    for (int i = 0; i < 200000; ++i) input += "2002-01-01 00:00:00 " + std::to_string(i % 360 - 180) + "\n";
    const std::set<long> before = Threads();
    std::atomic<bool> done{false};
    std::set<long> seen;
    const auto watch = [&] {
        while (!done) {
            const auto now = Threads();
            seen.insert(now.begin(), now.end());
        }
    };
    std::thread watcher(watch);
    const Outcome r = RunWith({"--batch", "--model", "iau2006"}, input);
    done = true;
    watcher.join();
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(Lines(r.out).size(), 200000u);
    cpu_set_t set;
    CPU_ZERO(&set);
    ASSERT_EQ(sched_getaffinity(0, sizeof set, &set), 0);
    const auto workers = static_cast<std::size_t>(std::min(CPU_COUNT(&set), 16) - 1);
    // Those that were there before, the watcher, and the batch's own workers.
    EXPECT_LE(seen.size(), before.size() + 1 + workers) << seen.size() << " threads seen";
}

TEST(HourAngle, StaysInMinusTwelveToTwelveRoundedOrNot)
{
    std::mt19937_64 rng(12);
    std::uniform_real_distribution<double> hours(0, 24);
    for (int i = 0; i < 20000; ++i) {
        const double lst = hours(rng);
        const double ra = i % 10 == 0 ? lst - 12 + 1e-9 * (i % 3) : hours(rng);
        const double ha = HourAngle(lst, ra);
        ASSERT_GE(ha, -12.0);
        ASSERT_LT(ha, 12.0);
        const double back = std::fmod(ha + ra + 48, 24.0);
        ASSERT_NEAR(std::min(std::fabs(back - lst), 24 - std::fabs(back - lst)), 0, 1e-9);
        std::string text;
        AppendClock(text, ha, i % 7, true);
        ASSERT_TRUE(text[0] == '+' || text[0] == '-') << text;
        ASSERT_FALSE(text.rfind("+12:", 0) == 0) << text;
    }
    std::string text;
    AppendClock(text, 11.9999999, 3, true); // rounds to +12 h, which is -12 h
    EXPECT_EQ(text, "-12:00:00.000");
    // and the number beside it agrees in sign
    EXPECT_DOUBLE_EQ(HourAngleAsShown(11.9999999, 3), 11.9999999 - 24);
    EXPECT_DOUBLE_EQ(HourAngleAsShown(11.9999999, 6), 11.9999999);
    EXPECT_DOUBLE_EQ(HourAngleAsShown(-11.9999999, 3), -11.9999999);
    text.clear();
    AppendClock(text, 23.9999999, 3, false);
    EXPECT_EQ(text, "0:00:00.000");
}

} // namespace
} // namespace vantoril::cli::testing
