// SPDX-License-Identifier: MIT
#include "app/exit_watchdog.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;

enum class Teardown { Returns, Hangs };

struct Case {
    const char* name;
    Teardown teardown;
    int status;
};

// What the parent sees of a child that arms the watchdog and then either
// ends normally or hangs as a deadlocked teardown would.
TEST(ExitWatchdog, TheProcessEndsWithTheEventLoopsStatus)
{
    const Case cases[] = {
        {"teardown returns: the normal exit, not delayed by the grace", Teardown::Returns, 3},
        {"teardown hangs: ended after the grace", Teardown::Hangs, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = std::chrono::steady_clock::now();
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            vantoril::EndAfterGrace(c.status, c.teardown == Teardown::Hangs ? 100ms : 5s);
            if (c.teardown == Teardown::Hangs) {
                for (;;) {
                    pause();
                }
            }
            std::exit(c.status);
        }
        int raw = 0;
        ASSERT_EQ(waitpid(child, &raw, 0), child);
        ASSERT_TRUE(WIFEXITED(raw));
        EXPECT_EQ(WEXITSTATUS(raw), c.status);
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    }
}

} // namespace
