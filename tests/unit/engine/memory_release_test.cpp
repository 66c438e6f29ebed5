#include "engine/memory_release.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"
#include "fakes/fake_system.h"

namespace vellumar {
namespace {

using testing::CallLog;
using testing::FakeClock;
using testing::FakeMemoryStatus;
using testing::FakeProcesses;
using testing::FakePump;
using testing::FakeSession;

TEST(MemoryFigures, TruncateToWholeMegabytesAndRoundThePercentageHalfToEven) {
    const auto f = ComputeMemoryFigures(1023ull << 20, 611ull << 20);
    EXPECT_EQ(f.total_mb, 1023);
    EXPECT_EQ(f.used_mb, 412);
    EXPECT_EQ(f.available_mb, 611);
    EXPECT_EQ(f.used_percent, 40);
    EXPECT_EQ(ComputeMemoryFigures((1ull << 20) - 1, 0).total_mb, 0);
    // 1/8 = 12.5% rounds to 12, 3/8 = 37.5% to 38.
    EXPECT_EQ(ComputeMemoryFigures(8ull << 20, 7ull << 20).used_percent, 12);
    EXPECT_EQ(ComputeMemoryFigures(8ull << 20, 5ull << 20).used_percent, 38);
}

TEST(MemoryFigures, UseTheWholeRangeOfLargeMachinesAndNeverDivideByZero) {
    // 64 GB with 16 GB free: beyond any 32-bit count.
    const auto f = ComputeMemoryFigures(64ull << 30, 16ull << 30);
    EXPECT_EQ(f.total_mb, 65536);
    EXPECT_EQ(f.used_mb, 49152);
    EXPECT_EQ(f.used_percent, 75);
    EXPECT_EQ(ComputeMemoryFigures(0, 0).used_percent, 0);
}

TEST(IntervalSeconds, LooksUpExactTexts) {
    EXPECT_EQ(IntervalSeconds("1 minute"), 60);
    EXPECT_EQ(IntervalSeconds("3 minute"), 180);
    EXPECT_EQ(IntervalSeconds("5 minute"), 300);
    EXPECT_EQ(IntervalSeconds("10 minute"), 600);
    EXPECT_EQ(IntervalSeconds(""), 0);
    EXPECT_EQ(IntervalSeconds("1 Minute"), 0);
}

class MemoryReleasing : public ::testing::Test {
  protected:
    CallLog log;
    FakeSession boxes{log};
    FakeProcesses processes;
    FakeMemoryStatus memory;
    FakePump pump;
    FakeClock clock;
    Label all{"LabelMemoryAll", {}, "0 MB", {}};
    Label used{"LabelMemoryUsed", {}, "0 MB", {}};
    Label left{"LabelMemoryLeft", {}, "0 MB", {}};
    Label percent{"LabelMemoryUsedPercent", {}, "30%", {}};
    Label state{"LabelStateMemoryState", {}, "0", {}};
    ListView memory_log{
        "ListViewMemoryLog", {}, {}, {{"NO.", 600}, {"Time", 1440}, {"Event", 3600}}};
    CheckBox enable{"CheckEnableAutoFreeMemory", {}, "Automatic release memory", {}};
    ComboList interval{"ComboInterval", {}, {}};
    MemoryRelease release{processes,
                          memory,
                          pump,
                          clock,
                          boxes,
                          "Vellumar",
                          {all, used, left, percent, state, memory_log, enable, interval}};

    void SetUp() override {
        for (const char* item : {"1 minute", "3 minute", "5 minute", "10 minute"})
            interval.AddItem(item);
        interval.SelectIndex(0);
        memory.SetMb(1023, 611);
        processes.snapshot = {4, 8, 12};
    }
    // Each trim frees `mb` megabytes.
    void FreeingPerTrim(std::int64_t mb) {
        processes.on_trim = [this, mb](ProcessId) {
            memory.available = static_cast<std::uint64_t>(
                static_cast<std::int64_t>(memory.available) + (mb << 20));
        };
    }
};

TEST_F(MemoryReleasing, TheButtonTrimsEveryProcessYieldingAroundEachAndReports) {
    FreeingPerTrim(5);
    release.CommandFreeMemory_Click();
    EXPECT_EQ(processes.trimmed, (std::vector<ProcessId>{4, 8, 12}));
    EXPECT_EQ(pump.yields, 6);
    EXPECT_EQ(log.calls,
              std::vector<std::string>{"information Vellumar: Success! 15 MB memory released."});
    ASSERT_EQ(memory_log.RowCount(), 1);
    EXPECT_EQ(memory_log.Row(0),
              (std::vector<std::string>{"1", "12:34:56", "15 MB memory released."}));
}

TEST_F(MemoryReleasing, NothingFreedOrMoreUsedIsReportedAsComputed) {
    release.CommandFreeMemory_Click();
    FreeingPerTrim(-1);
    release.AutoFreeMemory();
    EXPECT_EQ(log.calls.size(), 1u);  // the automatic release shows no message
    EXPECT_EQ(memory_log.Row(0)[2], "0 MB memory released.");
    EXPECT_EQ(memory_log.Row(1),
              (std::vector<std::string>{"2", "12:34:56", "-3 MB memory released."}));
}

TEST_F(MemoryReleasing, TheLogKeepsTheNewestRowsWithTheirNumbers) {
    for (int i = 0; i <= kMemoryLogRowCap; ++i) release.AutoFreeMemory();
    ASSERT_EQ(memory_log.RowCount(), kMemoryLogRowCap);
    EXPECT_EQ(memory_log.Row(0)[0], "2");
    EXPECT_EQ(memory_log.Row(kMemoryLogRowCap - 1)[0], "1001");
}

TEST_F(MemoryReleasing, AFailedSnapshotTrimsNothing) {
    processes.snapshot.clear();
    release.AutoFreeMemory();
    EXPECT_TRUE(processes.trimmed.empty());
    EXPECT_EQ(memory_log.Row(0)[2], "0 MB memory released.");
}

TEST_F(MemoryReleasing, APressDuringAnAutomaticReleaseRunsInsideIt) {
    FreeingPerTrim(1);
    bool pressed = false;
    pump.on_yield = [&] {
        if (!pressed) {
            pressed = true;
            release.CommandFreeMemory_Click();
        }
    };
    release.AutoFreeMemory();
    ASSERT_EQ(memory_log.RowCount(), 2);
    EXPECT_EQ(memory_log.Row(0),
              (std::vector<std::string>{"1", "12:34:56", "3 MB memory released."}));
    // The outer amount includes the inner one's.
    EXPECT_EQ(memory_log.Row(1),
              (std::vector<std::string>{"2", "12:34:56", "6 MB memory released."}));
}

TEST_F(MemoryReleasing, ExitDuringTheWalkStopsItAtOnceWithoutMessageOrLog) {
    for (const int quit_at_yield : {1, 4}) {
        processes.trimmed.clear();
        pump.yields = 0;
        pump.quitting = false;
        pump.on_yield = [&] { pump.quitting = pump.quitting || pump.yields == quit_at_yield; };
        release.CommandFreeMemory_Click();
        release.AutoFreeMemory();
        EXPECT_EQ(processes.trimmed.size(), quit_at_yield == 1 ? 0U : 2U);
        EXPECT_EQ(pump.yields, quit_at_yield + 1);  // the second walk yields once, then stops
    }
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(memory_log.RowCount(), 0);
}

TEST_F(MemoryReleasing, ExitWhileTheSnapshotIsTakenStopsBeforeTheFirstProcess) {
    processes.snapshot = {11, 12};
    processes.yield_during_snapshot = true;
    pump.on_yield = [&] { pump.quitting = true; };
    release.CommandFreeMemory_Click();
    EXPECT_TRUE(processes.trimmed.empty());
    EXPECT_EQ(pump.yields, 2);  // while the snapshot is taken, then before the first process
    EXPECT_TRUE(log.calls.empty());
    EXPECT_EQ(memory_log.RowCount(), 0);
}

TEST_F(MemoryReleasing, TheTimerReleasesEvery59TicksAfterTheFirstAndKeepsCountingWhenOff) {
    enable.SetValue(1);
    std::vector<int> release_ticks;
    for (int tick = 1; tick <= 200; ++tick) {
        const int rows = memory_log.RowCount();
        release.TimerMemory_Timer();
        if (memory_log.RowCount() > rows)
            release_ticks.push_back(tick);
    }
    EXPECT_EQ(release_ticks, (std::vector<int>{60, 119, 178}));

    enable.SetValue(0);
    for (int i = 0; i < 100; ++i) release.TimerMemory_Timer();
    EXPECT_EQ(release.AutoFreeSeconds(), 23 + 100);
    // Ticking the box past the interval releases at the next tick.
    enable.SetValue(1);
    release.TimerMemory_Timer();
    EXPECT_EQ(memory_log.RowCount(), 4);
    EXPECT_EQ(release.AutoFreeSeconds(), 1);
}

TEST_F(MemoryReleasing, AnIntervalNotInTheTableReleasesEveryTick) {
    enable.SetValue(1);
    ComboList other{"ComboInterval", {}, {}};
    MemoryRelease every_tick{processes,
                             memory,
                             pump,
                             clock,
                             boxes,
                             "Vellumar",
                             {all, used, left, percent, state, memory_log, enable, other}};
    for (int i = 0; i < 3; ++i) every_tick.TimerMemory_Timer();
    EXPECT_EQ(memory_log.RowCount(), 3);
}

TEST_F(MemoryReleasing, ShowMemoryStateWritesBothPagesOnlyWhenTheFiguresChange) {
    release.ShowMemoryState();
    EXPECT_EQ(all.Text(), "1023 MB");
    EXPECT_EQ(used.Text(), "412 MB");
    EXPECT_EQ(left.Text(), "611 MB");
    EXPECT_EQ(percent.Text(), "40%");
    EXPECT_EQ(state.Text(), "40%");

    // An unchanged reading leaves the labels alone.
    all.SetText("touched");
    release.ShowMemoryState();
    EXPECT_EQ(all.Text(), "touched");
    memory.SetMb(1023, 600);
    release.ShowMemoryState();
    EXPECT_EQ(all.Text(), "1023 MB");
    EXPECT_EQ(used.Text(), "423 MB");

    memory.total = 0;
    memory.available = 0;
    release.ShowMemoryState();
    EXPECT_EQ(percent.Text(), "0%");
}

}  // namespace
}  // namespace vellumar
