// SPDX-License-Identifier: MIT
// A long seeded random session against the real window: keys of every kind,
// pastes, combo changes, focus moves and clicks (monkey/random_input), with
// the window's promises checked after every single event (monkey/oracle). A
// failure prints the seed, the event number and the events leading to it, so
// the session can be replayed (monkey/driver).
//
//   VANTORIL_MONKEY_EVENTS=2000000 VANTORIL_MONKEY_SEED=random ./window_monkey_test
#include "monkey/driver.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <cstdio>

namespace vantoril::testing::monkey {
namespace {

// QTest warns for every key no widget accepted (F-keys, Escape in a list...)
// and the offscreen platform for every list it cannot grab the keyboard or
// raise for; in a session of this length that is noise.
QtMessageHandler previousHandler = nullptr;
void QuietKeyWarnings(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (type == QtWarningMsg && (message.contains(QLatin1String("not accepted by receiving widget")) ||
                                 message.startsWith(QLatin1String("This plugin does not support")))) {
        return;
    }
    previousHandler(type, context, message);
}

TEST(WindowMonkey, RandomSessionKeepsEveryPromise)
{
    const long events = EventCount();
    const std::uint64_t seed = Seed();
    std::printf("monkey: seed %llu, %ld events\n", static_cast<unsigned long long>(seed), events);
    std::fflush(stdout);
    previousHandler = qInstallMessageHandler(QuietKeyWarnings);

    Monkey monkey(seed);
    ASSERT_TRUE(QTest::qWaitForWindowActive(monkey.harness().window.get()));
    QElapsedTimer timer;
    timer.start();
    const bool kept = monkey.Run(events);
    const double seconds = static_cast<double>(timer.elapsed()) / 1000.0;
    qInstallMessageHandler(previousHandler);

    monkey.PrintTally();
    std::printf("monkey: seed %llu, %ld events in %.1f s\n", static_cast<unsigned long long>(seed), monkey.EventsRun(),
                seconds);
    EXPECT_TRUE(kept) << monkey.failure;
}

} // namespace
} // namespace vantoril::testing::monkey
