// SPDX-License-Identifier: MIT
// The live clock: on a simulated clock, every reading once and on time; as a
// process, how it ends on a signal and what it sends to terminals.
#include "cli/drivers/watch.h"
#include "cli/options/context.h"
#include "cli/options/parse.h"
#include "tests/param_name.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <poll.h>
#include <pty.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace vantoril::cli {
namespace {

using namespace vantoril::astro;

// The run's context for the arguments, as the program builds it.
std::unique_ptr<Context> ContextOf(const std::vector<std::string_view>& args)
{
    int status = 0;
    auto c = BuildContext(ParseOptions(args), 2, status);
    EXPECT_NE(c, nullptr);
    return c;
}

constexpr ClockTime kMillisecond = 1'000'000;

// Wakes exactly when asked, or `latency` later, and stops at `end`.
class FakeClock : public WatchClock {
public:
    FakeClock(ClockTime start, ClockTime end, ClockTime latency = 0) : now_(start), end_(end), latency_(latency) {}

    ClockTime Now() override { return now_; }

    bool SleepUntil(ClockTime instant) override
    {
        ++sleeps;
        if (instant >= end_) return false;
        now_ = std::max(now_, instant) + latency_;
        if (jumpAt != 0 && now_ >= jumpAt) {
            now_ += jumpBy;
            jumpAt = 0;
        }
        return true;
    }

    ClockTime jumpAt = 0;
    ClockTime jumpBy = 0;
    long sleeps = 0;

private:
    ClockTime now_;
    ClockTime end_;
    ClockTime latency_;
};

struct Seen {
    ClockTime at;
    std::string line;
};

std::vector<Seen> WatchOn(const Context& c, const Query& place, FakeClock& clock)
{
    std::vector<Seen> lines;
    const auto show = [&](std::string_view line) {
        lines.push_back({clock.Now(), std::string(line)});
        return true;
    };
    Watch(c, place, clock, show);
    return lines;
}

// The line a single answer gives for the instant, written as a user would.
std::string LineAt(const Context& c, const Query& place, ClockTime t)
{
    const auto seconds = static_cast<std::time_t>(t / kSecond);
    tm utc{};
    gmtime_r(&seconds, &utc);
    char date[32];
    char time[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday);
    std::snprintf(time, sizeof time, "%02d:%02d:%02d.%09lld", utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<long long>(t % kSecond));
    Query q = place;
    q.date = ParseDate(date);
    q.time = ParseTime(time);
    std::string line;
    const SiderealAnswer a = Evaluate(c.model, q, c.scales);
    const Shown shown = ShownOf(c.print, a);
    c.printer->Result(q, a, q.ra ? ShownHourAngle(c.print, shown, q.ra->hours) : 0.0, line);
    return line;
}

// Steps of a clock text ("h:mm:ss.ff", "-0:01:02") or of decimal hours.
long long Steps(std::string_view text, int decimals, bool hours)
{
    const bool negative = !text.empty() && text[0] == '-';
    if (!text.empty() && (text[0] == '-' || text[0] == '+')) text.remove_prefix(1);
    double value = 0;
    if (hours) {
        value = std::stod(std::string(text)) * std::pow(10.0, decimals + 4);
    } else {
        double field = 0;
        for (std::size_t at = 0;;) {
            const std::size_t colon = text.find(':', at);
            field = std::stod(std::string(text.substr(at, colon - at)));
            if (colon == std::string_view::npos) break;
            value = (value + field) * 60;
            at = colon + 1;
        }
        value = (value + field) * std::pow(10.0, decimals);
    }
    return std::llround(negative ? -value : value);
}

struct DayCase {
    const char* name;
    std::vector<std::string_view> args; // options and the longitude
    ClockTime length;
    ClockTime latency;
};

class WatchDay : public ::testing::TestWithParam<DayCase> {};

// Each line shows the reading after the one before (the hour angle too), at
// the instant that reading begins or less than 1 ms after it.
TEST_P(WatchDay, ShowsEveryReadingOnceWithinAMillisecondOfItsStart)
{
    const auto& c = GetParam();
    const auto run = ContextOf(c.args);
    const Options& o = run->options;
    Query place;
    place.longitude = ParseLongitude(*o.longitude);
    place.ra = o.ra;
    const bool hours = o.format == Format::Hours;
    const int decimals = o.Decimals();
    const long long perDay =
        hours ? 24LL * std::llround(std::pow(10.0, decimals + 4)) : 86400LL * std::llround(std::pow(10.0, decimals));
    // 2024-03-20 20:59:59.987654321 UTC
    const ClockTime start = 1710968399LL * kSecond + 987'654'321;
    FakeClock clock(start, start + c.length, c.latency);
    const auto lines = WatchOn(*run, place, clock);
    ASSERT_GT(lines.size(), 2u);
    const double expected = static_cast<double>(c.length) / kSecond * 1.0027379 / (hours ? 3600 : 1) *
                            std::pow(10.0, hours ? decimals + 4 : decimals);
    EXPECT_NEAR(static_cast<double>(lines.size()), expected, 2.0);
    EXPECT_EQ(clock.sleeps, static_cast<long>(lines.size())); // no busy loop
    auto field = [](const std::string& line, int n) {
        std::size_t at = 0;
        for (int i = 0; i < n; ++i) at = line.find(' ', at) + 1;
        return std::string_view(line).substr(at, line.find(' ', at) - at);
    };
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto& [at, line] = lines[i];
        const std::string& before = lines[i - 1].line;
        const long long step = Steps(field(line, 0), decimals, hours) - Steps(field(before, 0), decimals, hours);
        ASSERT_EQ((step % perDay + perDay) % perDay, 1) << before << " then " << line;
        if (o.ra) {
            const long long ha = Steps(field(line, 1), decimals, hours) - Steps(field(before, 1), decimals, hours);
            ASSERT_EQ((ha % perDay + perDay) % perDay, 1) << before << " then " << line;
        }
        ASSERT_EQ(LineAt(*run, place, at), line);
        ASSERT_EQ(LineAt(*run, place, at - kMillisecond), before) << line;
    }
}

INSTANTIATE_TEST_SUITE_P(
    SimulatedClock, WatchDay,
    ::testing::Values(
        DayCase{"ClassicDay", {"0"}, 86400 * kSecond, 0},
        DayCase{"ClassicDayHourAngle", {"--ra", "05:35:17", "79d51mW"}, 86400 * kSecond, 0},
        DayCase{"Iau2006DayPrecision0HourAngle",
                {"--model", "iau2006", "--precision", "0", "--ra", "05:35:17.3", "2.35E"},
                86400 * kSecond,
                0},
        DayCase{"Iau2006DayPrecision1", {"--model", "iau2006", "--precision", "1", "-79.85"}, 86400 * kSecond, 0},
        DayCase{"Iau2006Precision2WokenLate",
                {"--model", "iau2006", "--precision", "2", "--dut1", "-0.3", "0"},
                600 * kSecond,
                300'000},
        DayCase{
            "ApparentPrecision1", {"--model", "iau2006", "--apparent", "--precision", "1", "120W"}, 120 * kSecond, 0},
        DayCase{"HoursPrecision0",
                {"--model", "iau2006", "--format", "hours", "--precision", "0", "0"},
                3600 * kSecond,
                0}),
    [](const ::testing::TestParamInfo<DayCase>& p) { return std::string(p.param.name); });

TEST(Watch, FinerReadingsRedrawTenTimesASecondOnTheTenth)
{
    const auto run = ContextOf(std::vector<std::string_view>{"--model", "iau2006", "--precision", "3", "0"});
    Query place;
    place.longitude = ParseLongitude("0");
    const ClockTime start = 1710968399LL * kSecond + 987'654'321;
    FakeClock clock(start, start + 20 * kSecond);
    const auto lines = WatchOn(*run, place, clock);
    ASSERT_EQ(lines.size(), 201u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].at % kFixedRedraw, 0);
        EXPECT_EQ(lines[i].line, LineAt(*run, place, lines[i].at));
    }
}

// Woken late, but before the reading it was to show has ended: that reading
// is still the one of the moment, and none is skipped.
TEST(Watch, AWakeLateWithinAStepSkipsNothing)
{
    const auto run = ContextOf(std::vector<std::string_view>{"--model", "iau2006", "--precision", "0", "0"});
    Query place;
    place.longitude = ParseLongitude("0");
    const ClockTime start = 1710968399LL * kSecond;
    FakeClock clock(start, start + 600 * kSecond, 900 * kMillisecond);
    const auto lines = WatchOn(*run, place, clock);
    ASSERT_GT(lines.size(), 590u);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const long long step = Steps(lines[i].line, 0, false) - Steps(lines[i - 1].line, 0, false);
        ASSERT_EQ((step + 86400) % 86400, 1) << lines[i - 1].line << " then " << lines[i].line;
        ASSERT_EQ(LineAt(*run, place, lines[i].at), lines[i].line);
    }
}

TEST(Watch, AClockSetForwardOrBackStartsAgainFromNow)
{
    const auto run = ContextOf(std::vector<std::string_view>{"--model", "iau2006", "--precision", "0", "0"});
    Query place;
    place.longitude = ParseLongitude("0");
    const ClockTime start = 1710968399LL * kSecond;
    for (const ClockTime jump : {3600 * kSecond, -3600 * kSecond}) {
        FakeClock clock(start, start + 30 * kSecond);
        clock.jumpAt = start + 10 * kSecond;
        clock.jumpBy = jump;
        const auto lines = WatchOn(*run, place, clock);
        ASSERT_GT(lines.size(), 10u);
        for (const auto& [at, line] : lines) ASSERT_EQ(LineAt(*run, place, at), line);
        if (jump < 0) {
            EXPECT_GT(lines.size(), 3600u); // it goes on over the hour given back
        }
    }
}

// The program as a process: standard output a pipe or a terminal.
struct Child {
    pid_t pid = -1;
    int fd = -1; // its standard output, read here
};

Child Start(const std::vector<const char*>& args, const char* term, bool terminal, unsigned short columns = 80)
{
    Child child;
    int theirs = -1;
    if (terminal) {
        winsize size{};
        size.ws_row = 24;
        size.ws_col = columns;
        if (openpty(&child.fd, &theirs, nullptr, nullptr, &size) != 0) return child;
    } else {
        int pipeFds[2];
        if (pipe(pipeFds) != 0) return child;
        child.fd = pipeFds[0];
        theirs = pipeFds[1];
    }
    child.pid = fork();
    if (child.pid == 0) {
        dup2(theirs, 1);
        ::close(theirs);
        ::close(child.fd);
        if (term != nullptr) {
            setenv("TERM", term, 1);
        } else {
            unsetenv("TERM");
        }
        std::vector<char*> argv;
        argv.push_back(const_cast<char*>(VANTORIL_LST));
        for (const char* a : args) argv.push_back(const_cast<char*>(a));
        argv.push_back(nullptr);
        execv(VANTORIL_LST, argv.data());
        _exit(127);
    }
    ::close(theirs);
    return child;
}

// Reads until `enough` says so or 5 s pass; false on the time-out.
template <typename Enough>
bool ReadUntil(int fd, std::string& out, Enough enough)
{
    for (int waited = 0; !enough(out); ++waited) {
        pollfd p{fd, POLLIN, 0};
        if (waited > 50 || poll(&p, 1, 100) < 0) return false;
        if (p.revents == 0) continue;
        char buf[4096];
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n <= 0) return enough(out);
        out.append(buf, static_cast<std::size_t>(n));
    }
    return true;
}

// The rest of the output and the way the child ended.
int Finish(Child& child, std::string& out)
{
    ReadUntil(child.fd, out, [](const std::string&) { return false; });
    int status = 0;
    waitpid(child.pid, &status, 0);
    ::close(child.fd);
    return status;
}

std::size_t Count(const std::string& text, std::string_view what)
{
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class WatchSignals : public ::testing::TestWithParam<int> {};

// Ends by the signal, so a shell sees 128 + its number and a script stops.
TEST_P(WatchSignals, EndByTheSignalAfterWholeLines)
{
    Child child = Start({"--watch", "--model", "iau2006", "--precision", "3", "0"}, "xterm", false);
    ASSERT_GT(child.pid, 0);
    std::string out;
    ASSERT_TRUE(ReadUntil(child.fd, out, [](const std::string& s) { return Count(s, "\n") >= 2; })) << out;
    kill(child.pid, GetParam());
    const int status = Finish(child, out);
    ASSERT_TRUE(WIFSIGNALED(status)) << status;
    EXPECT_EQ(WTERMSIG(status), GetParam());
    EXPECT_EQ(out.back(), '\n');
    EXPECT_EQ(out.find('\033'), std::string::npos); // a pipe gets no escape sequences
}

INSTANTIATE_TEST_SUITE_P(Signals, WatchSignals, ::testing::Values(SIGINT, SIGTERM, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& p) { return std::string(sigabbrev_np(p.param)); });

// A line longer than a 20-column terminal is cut to 19 columns, so no redraw
// wraps and leaves its first part behind; on SIGINT the line is ended.
TEST(WatchTerminal, RedrawsCutToTheWidthAndEndsTheLine)
{
    Child child =
        Start({"--watch", "--model", "iau2006", "--precision", "6", "--ra", "05:35:17.3", "0"}, "xterm", true, 20);
    ASSERT_GT(child.pid, 0);
    std::string out;
    ASSERT_TRUE(ReadUntil(child.fd, out, [](const std::string& s) { return Count(s, "\033[K") >= 3; })) << out;
    kill(child.pid, SIGINT);
    const int status = Finish(child, out);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT) << status;
    std::size_t redraws = 0;
    for (auto at = out.find('\r'); at != std::string::npos; at = out.find('\r', at + 1)) {
        const auto end = out.find("\033[K", at);
        if (end == std::string::npos) break;
        EXPECT_EQ(end - at - 1, 19u) << out.substr(at, end - at);
        ++redraws;
    }
    EXPECT_GE(redraws, 3u);
    EXPECT_EQ(out.substr(out.size() - 5), "\033[K\r\n") << out; // the terminal turns "\n" into "\r\n"
}

TEST(WatchTerminal, DumbTerminalGetsLinesWithoutEscapes)
{
    for (const char* term : {"dumb", static_cast<const char*>(nullptr)}) {
        Child child = Start({"--watch", "--model", "iau2006", "--precision", "3", "0"}, term, true);
        ASSERT_GT(child.pid, 0);
        std::string out;
        ASSERT_TRUE(ReadUntil(child.fd, out, [](const std::string& s) { return Count(s, "\n") >= 2; })) << out;
        kill(child.pid, SIGTERM);
        Finish(child, out);
        EXPECT_EQ(out.find('\033'), std::string::npos) << out;
        EXPECT_EQ(out.rfind("\r\n"), out.size() - 2) << out;
    }
}

} // namespace
} // namespace vantoril::cli
