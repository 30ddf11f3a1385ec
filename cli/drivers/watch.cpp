// SPDX-License-Identifier: MIT
#include "cli/drivers/watch.h"

#include "astro/base/errors.h"
#include "cli/io/exit_status.h"
#include "cli/io/messages.h"
#include "cli/io/output.h"

#include <array>
#include <cmath>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace vantoril::cli {

namespace {

// Sidereal seconds in a second of UT (the mean rate; enough for a first
// guess at the next reading, which is then checked).
constexpr double kSiderealRate = 1.002737909350795;

constexpr std::int64_t kMicrosecond = 1000;
constexpr std::int64_t kMillisecond = 1000 * kMicrosecond;

bool Follows(const Reading& r) { return r.ok && r.shown.stepHours * 3600 >= kFinestFollowedStepSeconds; }

// How long one step of the shown reading lasts in UTC, rounded up.
ClockTime StepDuration(const Reading& r)
{
    return static_cast<ClockTime>(std::ceil(r.shown.stepHours * 3600 / kSiderealRate * 1e9));
}

ClockTime FloorTo(ClockTime t, ClockTime unit) { return t - ((t % unit) + unit) % unit; }

} // namespace

Reading ReadingAt(const Context& c, const astro::Query& place, ClockTime instant)
{
    // The instant's texts, read as a typed instant would be.
    const ClockTime nanoseconds = instant - FloorTo(instant, kSecond);
    astro::InstantTexts texts;
    astro::WriteUtcTexts((instant - nanoseconds) / kSecond, nanoseconds, 9, texts);
    Reading r;
    astro::Query q = place;
    try {
        q.date = astro::ParseDate(texts.Date());
        q.time = astro::ParseTime(texts.Time());
        const astro::SiderealAnswer a = astro::Evaluate(c.model, q, c.scales);
        r.shown = ShownOf(c.print, a);
        const double haHours = a.catalogueHourAngle ? *a.catalogueHourAngle
                               : q.ra               ? ShownHourAngle(c.print, r.shown, q.ra->hours)
                                                    : 0.0;
        c.printer->Result(q, a, haHours, r.line);
        r.ok = true;
    } catch (const std::runtime_error& e) { // the core's errors and RunTimeError
        r.line.clear();
        r.why = e.what();
        c.printer->Error(r.why, r.line);
    }
    return r;
}

ClockTime NextReadingBegins(const Context& c, const astro::Query& place, ClockTime after, const Reading& reading)
{
    if (!reading.ok) return FloorTo(after, kSecond) + kSecond;
    if (!Follows(reading)) return FloorTo(after, kFixedRedraw) + kFixedRedraw;
    auto changed = [&](ClockTime t) {
        const Reading r = ReadingAt(c, place, t);
        return !r.ok || r.shown.steps != reading.shown.steps;
    };
    // A shown value is rounded: the next one begins half a step past this one.
    const double stepsPerDay = 24 / reading.shown.stepHours;
    const double now = reading.shown.lstHours / reading.shown.stepHours;
    const double toGo = std::remainder(static_cast<double>(reading.shown.steps) + 0.5 - now, stepsPerDay);
    const ClockTime step = StepDuration(reading);
    const ClockTime guess =
        after + std::max<ClockTime>(1, static_cast<ClockTime>(std::ceil(toGo * static_cast<double>(step))));
    if (guess - after <= step + kMicrosecond && changed(guess) && !changed(guess - kMicrosecond)) return guess;
    // Where the guess fails (the window's single-precision arithmetic), look
    // for the change between `after` and a little over one step on.
    ClockTime lo = after;
    ClockTime hi = after + step + step / 16 + kMicrosecond;
    if (!changed(hi)) return hi; // not reached for a clock that runs
    while (hi - lo > kMicrosecond) {
        const ClockTime mid = lo + (hi - lo) / 2;
        (changed(mid) ? hi : lo) = mid;
    }
    return hi;
}

void Watch(const Context& c, const astro::Query& place, WatchClock& clock,
           const std::function<bool(std::string_view line)>& show)
{
    ClockTime shownAt = clock.Now();
    Reading reading = ReadingAt(c, place, shownAt);
    if (!show(reading.line)) return;
    for (;;) {
        // The next reading is ready before its instant, to be shown at once.
        const ClockTime next = NextReadingBegins(c, place, shownAt, reading);
        Reading upcoming = ReadingAt(c, place, next);
        if (!clock.SleepUntil(next)) return;
        const ClockTime now = clock.Now();
        // Woken after the upcoming reading has already ended (a loaded or
        // suspended machine, a clock set forward) or before it begins (a
        // clock set back): start again from now. Otherwise it is still the
        // reading of the moment, however late.
        const ClockTime tolerance = Follows(reading) ? StepDuration(reading) : kFixedRedraw;
        if (now < next || now - next >= tolerance) {
            shownAt = now;
            upcoming = ReadingAt(c, place, now);
        } else {
            shownAt = next;
        }
        reading = std::move(upcoming);
        if (!show(reading.line)) return;
    }
}

namespace {

volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void CatchSignal(int signal) { caughtSignal = signal; }

bool Stopping() { return caughtSignal != 0; }

constexpr std::array<int, 3> kStopSignals = {SIGINT, SIGTERM, SIGHUP};

// The system clock. The stop signals are blocked except while sleeping or
// writing, so that one arriving between a check and a sleep is not missed.
class SystemClock : public WatchClock {
public:
    SystemClock()
    {
        caughtSignal = 0;
        sigset_t stops;
        sigemptyset(&stops);
        for (const int s : kStopSignals) sigaddset(&stops, s);
        sigprocmask(SIG_BLOCK, &stops, &open_);
        for (const int s : kStopSignals) sigdelset(&open_, s);
        for (std::size_t i = 0; i < kStopSignals.size(); ++i) {
            struct sigaction action = {};
            action.sa_handler = CatchSignal; // no SA_RESTART: sleeps and writes end at once
            sigemptyset(&action.sa_mask);
            sigaction(kStopSignals[i], nullptr, &previous_[i]);
            // A signal ignored by whoever started us (nohup, a background job) stays ignored.
            if (previous_[i].sa_handler != SIG_IGN) sigaction(kStopSignals[i], &action, nullptr);
        }
        sigprocmask(SIG_SETMASK, nullptr, &blocked_);
    }

    SystemClock(const SystemClock&) = delete;
    SystemClock& operator=(const SystemClock&) = delete;

    ~SystemClock() override
    {
        for (std::size_t i = 0; i < kStopSignals.size(); ++i) sigaction(kStopSignals[i], &previous_[i], nullptr);
        sigset_t stops;
        sigemptyset(&stops);
        for (const int s : kStopSignals) sigaddset(&stops, s);
        sigprocmask(SIG_UNBLOCK, &stops, nullptr);
    }

    ClockTime Now() override
    {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        return static_cast<ClockTime>(now.tv_sec) * kSecond + now.tv_nsec;
    }

    bool SleepUntil(ClockTime instant) override
    {
        for (;;) {
            if (Stopping()) return false;
            const ClockTime left = instant - Now();
            if (left <= 0) return true;
            // The kernel lets a ppoll time-out run late by 0.1 % of its length
            // (1 ms in a second): a long wait stops 10 ms short, and a short
            // one, late by some microseconds at most, covers the rest.
            const ClockTime part = left > 20 * kMillisecond ? left - 10 * kMillisecond : left;
            const timespec wait{static_cast<std::time_t>(part / kSecond), static_cast<long>(part % kSecond)};
            ppoll(nullptr, 0, &wait, &open_);
        }
    }

    // Writes with the stop signals let through, so that a stalled reader
    // cannot keep a stopped watch alive.
    bool Write(Output& out)
    {
        sigprocmask(SIG_SETMASK, &open_, nullptr);
        const bool ok = out.Flush(Stopping);
        sigprocmask(SIG_SETMASK, &blocked_, nullptr);
        return ok;
    }

private:
    sigset_t open_{};
    sigset_t blocked_{};
    std::array<struct sigaction, 3> previous_{};
};

// Whether the line can be redrawn in place: a terminal that knows "\033[K".
bool Redraws(const Options& o, int output)
{
    if (o.format == Format::Json || ::isatty(output) != 1) return false; // JSON Lines stay lines
    const char* term = std::getenv("TERM");
    return term != nullptr && *term != '\0' && std::strcmp(term, "dumb") != 0;
}

// Columns of the terminal, 0 when unknown.
std::size_t Columns(int output)
{
    winsize size{};
    if (::ioctl(output, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

} // namespace

int RunWatch(const Context& c, int output, int errors)
{
    const Options& o = c.options;
    astro::Query place;
    try {
        // The options were refused without a longitude; an empty one is refused here too.
        place.longitude =
            o.place ? c.KnownLongitude() : astro::ParseLongitude(o.longitude.value_or(std::string_view{}));
    } catch (const astro::InputError& e) {
        return UsageFailure(errors, e.what());
    }
    place.ra = o.ra;
    place.dec = o.dec;
    const bool redraw = Redraws(o, output);
    Output out(output);
    int status = kExitOk;
    {
        SystemClock clock;
        const auto show = [&](std::string_view line) {
            std::string& buffer = out.buffer();
            if (redraw) {
                // Cut to the width: a line that wrapped would leave its first
                // part behind at every redraw. The last column stays free, as
                // some terminals wrap on writing it.
                const std::size_t columns = Columns(output);
                if (columns > 1 && line.size() > columns - 1) line = line.substr(0, columns - 1);
                buffer += '\r';
                buffer += line;
                buffer += "\033[K";
            } else {
                buffer += line;
                buffer += '\n';
            }
            if (clock.Write(out)) return true;
            if (!Stopping()) status = OutputFailure(errors, out.error());
            return false;
        };
        // A reading that cannot be given now (an instant outside the IERS
        // table, say) fails the run as a single answer would, rather than
        // printing an error line every second.
        const Reading first = ReadingAt(c, place, clock.Now());
        if (!first.ok) return AnswerFailure(errors, first.why);
        Watch(c, place, clock, show);
        if (redraw) {
            out.buffer().push_back('\n'); // the prompt on a line of its own, the last reading kept
            out.Flush();
        }
    }
    if (caughtSignal != 0) {
        const int signal = caughtSignal;
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return 128 + signal; // not reached: the signal's default ends the program
    }
    return status;
}

} // namespace vantoril::cli
