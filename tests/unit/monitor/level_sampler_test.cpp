#include <gtest/gtest.h>

#include "fakes/fake_levels.h"
#include "monitor/level_sampler.h"

namespace vellumar {
namespace {

using testing::FakeLevelSources;

TEST(FixedDecimalTest, ConvertsHalvesToEvenOnTheExactValue) {
    struct Case {
        double value;
        std::int64_t raw;
    };
    const Case cases[] = {
        {0.00005, 1},                                         // the double lies just above the half
        {0.00015, 1},                                         // just below it
        {-0.00025, -3},  {0.00035, 3},      {1.0 / 32, 312},  // exact ties (312.5, 937.5): to even
        {3.0 / 32, 938}, {-1.0 / 32, -312}, {1e14, 1000000000000000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(FixedDecimal::FromDouble(c.value));
        EXPECT_EQ(FixedDecimal::FromDouble(c.value)->Raw(), c.raw);
    }
    EXPECT_FALSE(FixedDecimal::FromDouble(1e15));
    EXPECT_FALSE(FixedDecimal::FromDouble(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(FixedDecimal::FromRaw(INT64_MAX).Plus(FixedDecimal::FromRaw(1)));

    const std::pair<std::int64_t, std::int64_t> integers[] = {
        {425000, 42}, {435000, 44}, {415001, 42}, {-25000, -2}, {-35000, -4}, {4999, 0}};
    for (const auto& [raw, whole] : integers)
        EXPECT_EQ(FixedDecimal::FromRaw(raw).RoundToInteger(), whole) << raw;
}

TEST(LevelSamplerTest, CpuUsageFromIdleAndClockDifferences) {
    struct Case {
        std::int64_t idle_delta, time_delta;
        int processors;
        std::int64_t usage;
    };
    const Case cases[] = {
        {15'000'000, 10'000'000, 2, 26},    // 25.5 -> 26
        {10'000'000, 10'000'000, 1, 0},     // 0.5 -> 0
        {0, 10'000'000, 1, 100},            // 100.5 -> 100
        {0, 0, 1, 100},                     // no time, no idle: ratio 0
        {10'000, 0, 1, 0},                  // no time: the idle count / 10 000 is the ratio
        {5'770'000, 10'000'000, 1, 43},     // 42.3 + 0.5
        {5'810'000, 10'000'000, 1, 42},     // 41.9 + 0.5
        {5'800'000, 10'000'000, 1, 42},     // 42.0 + 0.5
        {5'900'000, 10'000'000, 1, 42},     // 41.0 + 0.5
        {-20'000'000, 10'000'000, 1, 300},  // not clamped
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.idle_delta);
        EXPECT_EQ(CpuUsageFromDeltas(c.idle_delta, c.time_delta, c.processors), c.usage);
    }
}

TEST(LevelSamplerTest, NtSamplesMeasureFromTheLastGoodOne) {
    FakeLevelSources f;
    f.cpu.processors = 2;
    f.cpu.Advance(1'000'000'000, 500'000'000);
    ASSERT_TRUE(f.sampler.IsWindowsNT());
    f.sampler.InitCpuUsage(true);
    EXPECT_EQ(f.sampler.PrevSystemTime(), 1'000'000'000);

    f.cpu.Advance(10'000'000, 15'000'000);
    EXPECT_EQ(f.sampler.GetCpuUsage(true), 26.0f);

    // A failing query of any kind gives -1 and leaves the previous sample.
    for (NtStatus* status : {&f.cpu.basic_status, &f.cpu.time_status, &f.cpu.performance_status}) {
        f.cpu.Advance(10'000'000, 0);
        *status = static_cast<NtStatus>(0xC0000004);
        EXPECT_EQ(f.sampler.GetCpuUsage(true), -1.0f);
        *status = 0;
        EXPECT_EQ(f.sampler.PrevSystemTime(), 1'010'000'000);
    }
    // The next good one spans all three intervals: 30 ms, 0 idle.
    EXPECT_EQ(f.sampler.GetCpuUsage(true), 100.0f);
    EXPECT_EQ(f.sampler.PrevSystemTime(), 1'040'000'000);
}

TEST(LevelSamplerTest, CounterOf9xFamilyAndItsFailureShownOnce) {
    FakeLevelSources f;
    f.cpu.platform_id = 1;
    ASSERT_FALSE(f.sampler.IsWindowsNT());
    f.sampler.InitCpuUsage(false);
    f.registry.counter = 300;
    EXPECT_EQ(f.sampler.GetCpuUsage(false), 44.0f);

    f.registry.counter_readable = false;
    EXPECT_EQ(f.sampler.GetCpuUsage(false), -1.0f);
    EXPECT_EQ(f.sampler.GetCpuUsage(false), -1.0f);
    EXPECT_EQ(f.log.calls, std::vector<std::string>{"message Vellumar: Unable to Query Registry!"});

    f.sampler.StopCpuUsage(false);
    const std::vector<std::string> expected = {
        "open PerfStats\\StartStat",
        "query PerfStats\\StartStat KERNEL\\CPUUsage",
        "close PerfStats\\StartStat",
        "open PerfStats\\StatData",
        "query PerfStats\\StatData KERNEL\\CPUUsage",
        "query PerfStats\\StatData KERNEL\\CPUUsage",
        "query PerfStats\\StatData KERNEL\\CPUUsage",
        "close PerfStats\\StatData",
        "open PerfStats\\StopStat",
        "query PerfStats\\StopStat KERNEL\\CPUUsage",
        "close PerfStats\\StopStat",
    };
    EXPECT_EQ(f.registry.calls, expected);
}

TEST(LevelSamplerTest, MemoryLevelsIn64BitAndNoPageFile) {
    FakeLevelSources f;
    constexpr std::uint64_t kGiB = 1ull << 30;
    f.memory.status = {37, 16 * kGiB, 4 * kGiB, 0, 0, 128 * 1024 * kGiB, 96 * 1024 * kGiB};
    SystemLevels levels;
    levels.PageFileAvailablePercent = 11;
    levels.VirtualMemoryAvailablePercent = 12;
    f.sampler.GetMemoryLevels(levels);
    EXPECT_EQ(levels.MemoryLoadPercent, 37.0f);
    EXPECT_EQ(levels.PhysicalMemoryTotal, static_cast<std::int64_t>(16 * kGiB));
    EXPECT_EQ(levels.PhysicalMemoryAvailablePercent, 75.0f);
    // No page file: that share fails, and the virtual one after it is not written.
    EXPECT_EQ(levels.PageFileAvailablePercent, 11.0f);
    EXPECT_EQ(levels.VirtualMemoryAvailablePercent, 12.0f);

    f.memory.status.total_page_file_bytes = 8 * kGiB;
    f.memory.status.avail_page_file_bytes = 6 * kGiB;
    f.sampler.GetMemoryLevels(levels);
    EXPECT_EQ(levels.PageFileAvailablePercent, 25.0f);
    EXPECT_EQ(levels.VirtualMemoryAvailablePercent, 25.0f);
}

TEST(LevelSamplerTest, DiskLevelsWithEitherQuery) {
    struct Case {
        bool extended;
        const char* root;
        std::int64_t total, free, available, used;
        float percent;
    };
    const Case cases[] = {
        {true, "C:\\", 1'000'000, 250'000, 200'000, 800'000, 20.0f},
        {false, "C:\\", 1'000'000, 250'000, 250'000, 750'000, 25.0f},
        {true, "Q:\\", 0, 0, 0, 0, 0.0f},  // no such root
        {false, "Q:\\", 0, 0, 0, 0, 0.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.root) + (c.extended ? " extended" : " clusters"));
        FakeLevelSources f;
        f.volumes.extended = c.extended;
        f.volumes.volumes["C:\\"] = {1'000'000, 250'000, 200'000, 2, 500};
        SystemLevels levels;
        levels.HDTotalBytes = FixedDecimal::FromRaw(77);
        levels.HDAvailablePercent = 77;
        f.sampler.GetDiskLevels(c.root, levels);
        EXPECT_EQ(levels.HDTotalBytes, *FixedDecimal::FromInteger(c.total));
        EXPECT_EQ(levels.HDTotalFreeBytes, *FixedDecimal::FromInteger(c.free));
        EXPECT_EQ(levels.HDAvailableFreeBytes, *FixedDecimal::FromInteger(c.available));
        EXPECT_EQ(levels.HDTotalBytesUsed, *FixedDecimal::FromInteger(c.used));
        EXPECT_EQ(levels.HDAvailablePercent, c.percent);
    }
}

}  // namespace
}  // namespace vellumar
