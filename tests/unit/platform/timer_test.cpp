#include "platform/timer.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

using vellumar::Timer;
using vellumar::testing::ManualTimerService;

TEST(Timer, RunsOnlyWhileEnabledWithAPositiveInterval) {
    ManualTimerService service;
    int ticks = 0;
    Timer timer(service, 100, true, [&] { ++ticks; });
    EXPECT_TRUE(service.IsRunning(timer));
    service.Fire(timer);
    EXPECT_EQ(ticks, 1);

    timer.SetEnabled(false);
    service.Fire(timer);
    EXPECT_EQ(ticks, 1);

    timer.SetEnabled(true);
    timer.SetIntervalMs(0);
    EXPECT_FALSE(service.IsRunning(timer));
    timer.SetIntervalMs(50);
    EXPECT_TRUE(service.IsRunning(timer));
}

TEST(Timer, StopsWhenDestroyedAndTicksByHandEvenWhenDisabled) {
    ManualTimerService service;
    int ticks = 0;
    {
        Timer timer(service, 900, false, [&] { ++ticks; });
        EXPECT_FALSE(service.IsRunning(timer));
        timer.Tick();  // startup's immediate tick does not depend on the flag
        EXPECT_EQ(ticks, 1);
        timer.SetEnabled(true);
    }
    // A destroyed timer leaves nothing scheduled behind.
    EXPECT_EQ(service.RunningCount(), 0u);
}
