#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "fakes/fake_levels.h"
#include "monitor/cpu_monitor.h"
#include "unit/controls/command_test_support.h"

namespace vellumar {
namespace {

using testing::FakeLevelSources;
using testing::ManualTimerService;
using testing::RasterMonitorHost;
using testing::RecordingSurface;

// A monitor loaded from saved properties, so it samples on its timer.
struct MonitorRig {
    // `width` and `height` are the inner area's pixels at `dpi`; the control
    // is as wide in twips as at the standard scale.
    MonitorRig(int width, int height, PropertyBag stored = {}, int dpi = kStandardDpi)
        : host(width, height, width * kTwipsPerInch / dpi), monitor(host, timers, sources.sampler) {
        host.dpi = dpi;
        sources.cpu.processors = 1;
        monitor.ReadProperties(stored);
    }
    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            sources.cpu.Advance(10'000'000, 5'000'000);
            timers.Fire(monitor.Timer1());
        }
    }
    std::vector<int> GridColumns() const {
        std::vector<int> xs;
        for (const auto& l : recording.lines) {
            if (l.color == monitor.DisplayGridColor() && l.x1 == l.x2)
                xs.push_back(l.x1);
        }
        return xs;
    }

    FakeLevelSources sources;
    ManualTimerService timers;
    RasterMonitorHost host;
    RecordingSurface recording;
    CpuMonitor monitor;
};

TEST(CpuMonitorTest, GridOn400By61ScrollsAndWraps) {
    MonitorRig rig(400, 61);
    rig.host.drawing = &rig.recording;
    rig.monitor.SetCPUMonitorDisplayed(false);  // grid lines only from here on
    rig.recording = {};
    rig.monitor.Redraw();
    std::vector<int> expected;
    for (int x = 0; x <= 396; x += 36) expected.push_back(x);
    EXPECT_EQ(rig.GridColumns(), expected);
    std::vector<int> rows;
    for (const auto& l : rig.recording.lines) {
        if (l.y1 == l.y2) {
            EXPECT_EQ(l.x1, 0);
            EXPECT_EQ(l.x2, 400);
            rows.push_back(l.y1);
        }
    }
    EXPECT_EQ(rows, (std::vector<int>{0, 10, 20, 30, 40, 50, 60}));
    ASSERT_EQ(rig.recording.frames.size(), 1u);
    EXPECT_EQ(rig.recording.frames[0].first, (Rect{0, 0, 400, 61}));

    rig.monitor.SetMemoryLoadDisplayed(false);
    rig.monitor.SetPageFileDisplayed(false);
    rig.monitor.SetVirtualMemoryDisplayed(false);
    rig.monitor.SetHDMonitorDisplayed(false);
    rig.recording = {};
    rig.Tick(5);
    EXPECT_EQ(rig.monitor.GridOffset(), -5);
    rig.recording = {};
    rig.monitor.Redraw();
    EXPECT_EQ(rig.GridColumns().front(), -5);
    EXPECT_EQ(rig.GridColumns()[1], 31);
    EXPECT_EQ(rig.GridColumns().back(), 391);

    rig.Tick(393);  // offset -398
    EXPECT_EQ(rig.monitor.GridOffset(), -398);
    rig.recording = {};
    rig.Tick();  // draws from -399, then wraps
    EXPECT_EQ(rig.GridColumns().front(), -399);
    EXPECT_EQ(rig.monitor.GridOffset(), 0);
    EXPECT_EQ(rig.monitor.Reset(), 0);
}

TEST(CpuMonitorTest, HistoryShiftsInPlaceOn100Pixels) {
    MonitorRig rig(100, 40);
    EXPECT_EQ(rig.monitor.LevelHistory().size(), 101u);
    EXPECT_EQ(rig.monitor.LastEmptyIndex(), 99);
    std::vector<LevelsReport> updates;
    rig.monitor.Events().Update = [&](const LevelsReport& r) { updates.push_back(r); };

    rig.sources.memory.status = {42, 1000, 250, 1000, 500, 1000, 900};
    rig.Tick();
    EXPECT_EQ(rig.monitor.LastEmptyIndex(), 98);
    EXPECT_EQ(rig.monitor.LevelHistory()[99].MemoryLoadPercent, 42.0f);
    EXPECT_EQ(rig.monitor.LevelHistory()[98].MemoryLoadPercent, 0.0f);
    ASSERT_EQ(updates.size(), 1u);
    EXPECT_EQ(updates[0].CPULoadPercent, 50);
    EXPECT_EQ(updates[0].MemoryLoadPercent, 42);
    EXPECT_EQ(updates[0].levels.PhysicalMemoryAvailablePercent, 75.0f);

    rig.sources.memory.status.load_percent = 43;
    const LevelsReport extra = rig.monitor.GetCurrentSystemLevels();  // one more column
    EXPECT_EQ(extra.MemoryLoadPercent, 43);
    EXPECT_EQ(rig.monitor.LevelHistory()[98].MemoryLoadPercent, 42.0f);
    EXPECT_EQ(rig.monitor.LastEmptyIndex(), 97);
    EXPECT_EQ(rig.monitor.GridOffset(), -1);

    rig.Tick(98);
    EXPECT_EQ(rig.monitor.LastEmptyIndex(), 0);
    rig.Tick();
    EXPECT_EQ(rig.monitor.LastEmptyIndex(), 0);

    // Paused while disabled: nothing moves and Update is not raised.
    rig.monitor.SetEnabled(false);
    const auto before = updates.size();
    rig.Tick(3);
    EXPECT_EQ(updates.size(), before);
    EXPECT_EQ(rig.monitor.GridOffset(), -100 % 99);
}

// Out of sight the graph only samples; the picture it draws when next
// needed is the one it would have shown all along.
TEST(CpuMonitorTest, UnseenTicksSampleAndDrawTheSamePictureLater) {
    MonitorRig seen(120, 40, CpuMonitorStateProperties());
    MonitorRig unseen(120, 40, CpuMonitorStateProperties());
    unseen.host.showing = false;
    const PixelBuffer before = unseen.host.pixels;
    const int refreshes = unseen.host.refreshes;
    for (int tick = 0; tick < 30; ++tick) {
        for (MonitorRig* rig : {&seen, &unseen}) {
            rig->sources.memory.status = {
                static_cast<std::uint32_t>(tick * 3), 1000, 400, 1000, 700, 1000, 300};
            rig->Tick();
        }
    }
    EXPECT_EQ(unseen.monitor.LastEmptyIndex(), seen.monitor.LastEmptyIndex());
    EXPECT_EQ(unseen.host.refreshes, refreshes);
    EXPECT_EQ(unseen.host.pixels.pixels, before.pixels);
    unseen.monitor.UpdatePicture();
    EXPECT_EQ(unseen.host.pixels.pixels, seen.host.pixels.pixels);
}

TEST(CpuMonitorTest, SeriesStylesFromTheFirstTicks) {
    struct Case {
        std::int32_t style;
        int lines_after_two_ticks;
        int dots_after_two_ticks;
    };
    for (const Case c : {Case{0, 1, 0}, Case{1, 0, 1}, Case{2, 1, 0}, Case{3, 0, 0}}) {
        SCOPED_TRACE(c.style);
        PropertyBag stored;
        stored.Set("DisplayGrid", false);
        stored.Set("DiagramStyle", c.style);
        for (const char* flag : {"PageFileDisplayed", "VirtualMemoryDisplayed",
                                 "HDMonitorDisplayed", "MemoryLoadDisplayed"}) {
            stored.Set(flag, false);
        }
        MonitorRig rig(400, 61, stored);
        rig.host.drawing = &rig.recording;
        rig.Tick();
        EXPECT_TRUE(rig.recording.lines.empty());
        EXPECT_EQ(rig.recording.dots, 0);
        rig.recording = {};
        rig.sources.cpu.Advance(10'000'000, 5'000'000);  // 50 %
        rig.timers.Fire(rig.monitor.Timer1());
        EXPECT_EQ(static_cast<int>(rig.recording.lines.size()), c.lines_after_two_ticks);
        EXPECT_EQ(rig.recording.dots, c.dots_after_two_ticks);
        if (c.style == 0) {  // from the older sample to the newest, y(50 %) = 30
            const auto& l = rig.recording.lines[0];
            EXPECT_EQ(std::vector<int>({l.x1, l.y1, l.x2, l.y2}),
                      std::vector<int>({398, 30, 399, 30}));
        }
        if (c.style == 2) {
            const auto& l = rig.recording.lines[0];
            EXPECT_EQ(std::vector<int>({l.x1, l.y1, l.x2, l.y2}),
                      std::vector<int>({398, 30, 398, 61}));
        }
    }
}

TEST(CpuMonitorTest, TwiceTheScaleKeepsTheGeometry) {
    PropertyBag stored;
    for (const char* flag : {"PageFileDisplayed", "VirtualMemoryDisplayed", "HDMonitorDisplayed"})
        stored.Set(flag, false);
    MonitorRig one(400, 61, stored), two(800, 122, stored, 192);
    for (MonitorRig* rig : {&one, &two}) {
        rig->host.drawing = &rig->recording;
        for (std::uint32_t load : {10u, 35u, 50u, 80u, 95u}) {
            rig->sources.memory.status.load_percent = load;
            rig->Tick();
        }
        rig->recording = {};
        rig->monitor.Redraw();
    }
    using Ends = std::array<int, 4>;
    auto lines_of = [](const MonitorRig& rig, ColorRef color) {
        std::vector<Ends> ends;
        for (const auto& l : rig.recording.lines) {
            if (l.color == color)
                ends.push_back({l.x1, l.y1, l.x2, l.y2});
        }
        return ends;
    };
    // The grid: every line at its doubled place, two pixels thick, across
    // the whole surface.
    std::vector<Ends> grid;
    for (const auto& [x1, y1, x2, y2] : lines_of(one, CpuMonitor::kDefaultGridColor)) {
        for (int d : {0, 1})
            grid.push_back(x1 == x2 ? Ends{2 * x1 + d, 0, 2 * x1 + d, 122}
                                    : Ends{0, 2 * y1 + d, 800, 2 * y1 + d});
    }
    EXPECT_EQ(lines_of(two, CpuMonitor::kDefaultGridColor), grid);
    // A series: the same samples at doubled columns and the same relative
    // heights; the 2 x 2 stroke draws its polyline four times, first there.
    for (ColorRef color :
         {TraitsOf(Series::Cpu).default_color, TraitsOf(Series::MemoryLoad).default_color}) {
        const auto small = lines_of(one, color);
        const auto large = lines_of(two, color);
        ASSERT_EQ(small.size(), 4u);
        ASSERT_EQ(large.size(), 4 * small.size());
        for (std::size_t i = 0; i < small.size(); ++i) {
            for (std::size_t k = 0; k < 4; ++k)
                EXPECT_NEAR(large[i][k], 2 * small[i][k], k % 2) << i;
        }
    }
    ASSERT_EQ(two.recording.frames.size(), 2u);
    EXPECT_EQ(two.recording.frames[1].first, (Rect{1, 1, 799, 121}));
}

TEST(CpuMonitorTest, AnotherScaleKeepsTheSamplesAtTheRightEdge) {
    MonitorRig rig(100, 40);
    for (std::uint32_t load : {20u, 30u, 40u}) {
        rig.sources.memory.status.load_percent = load;
        rig.Tick();
    }
    // 151 pixels at 144 dpi are 100.67 columns: the newest column is 100.
    for (const auto& [dpi, width, newest] : {std::tuple{144, 151, 100}, std::tuple{96, 100, 99}}) {
        rig.host.dpi = dpi;
        rig.host.size = {width, 40};
        rig.monitor.OnResize();
        for (int back : {0, 1, 2, 3})
            EXPECT_EQ(rig.monitor.LevelHistory()[static_cast<std::size_t>(newest - back)]
                          .MemoryLoadPercent,
                      back < 3 ? 40.0f - 10 * back : 0.0f);
        EXPECT_EQ(rig.monitor.LastEmptyIndex(), newest - 3);
    }
}

TEST(CpuMonitorTest, HDDriveLetterNormalisation) {
    const std::pair<const char*, const char*> cases[] = {
        {"e", "e"}, {"", "e"}, {"e:", "E:\\"}, {"e:\\data", "E:\\"}, {"d:\\temp", "D:\\"}};
    MonitorRig rig(50, 20);
    for (const auto& [text, stored] : cases) {
        rig.monitor.SetHDDriveLetter(text);
        EXPECT_EQ(rig.monitor.HDDriveLetter(), stored) << text;
    }
    EXPECT_EQ(rig.host.changed.size(), 4u);  // the empty text marks nothing
    rig.Tick();
    EXPECT_EQ(rig.sources.volumes.queried.back(), "D:\\");
}

TEST(CpuMonitorTest, FormatFilesizeWithEitherSeparators) {
    MonitorRig rig(50, 20);
    struct Case {
        double value;
        const char* point;
        const char* comma;
    };
    const Case cases[] = {
        {1000, "1,000 B", "1.000 B"},
        {1024, "1,024 B", "1.024 B"},
        {1536, "2 K", "2 K"},
        {5 * 1048576.0, "5.00 MB", "5,00 MB"},
        {3 * 1073741824.0, "3.00 GB", "3,00 GB"},
        {1048576, "1.00 MB", "1,00 MB"},
        {2500 * 1073741824.0, "2,500.00 GB", "2.500,00 GB"},
    };
    for (const Case& c : cases) {
        rig.host.separators = {",", "."};
        EXPECT_EQ(rig.monitor.FormatFilesize(c.value), c.point);
        rig.host.separators = {".", ","};
        EXPECT_EQ(rig.monitor.FormatFilesize(c.value), c.comma);
    }
}

TEST(CpuMonitorTest, SavesOnlyWhatDiffersInItsOrder) {
    FakeLevelSources sources;
    ManualTimerService timers;
    RasterMonitorHost host(50, 20);
    {
        CpuMonitor fresh(host, timers, sources.sampler);
        fresh.InitProperties();
        EXPECT_EQ(fresh.HDDriveLetter(), "D:\\");
        EXPECT_FALSE(timers.IsRunning(fresh.Timer1()));
        PropertyBag bag;
        fresh.WriteProperties(bag);
        EXPECT_EQ(bag.Keys(), std::vector<std::string>{"HDDriveLetter"});
    }
    CpuMonitor state(host, timers, sources.sampler);
    state.ReadProperties(CpuMonitorStateProperties());
    EXPECT_EQ(host.appearance, 0);
    EXPECT_EQ(state.BackColor(), Rgb(64, 64, 64));
    EXPECT_TRUE(timers.IsRunning(state.Timer1()));
    EXPECT_EQ(state.Timer1().IntervalMs(), 1000);
    state.SetMemoryLoadColor(Rgb(1, 2, 3));
    state.SetUpdateInterval(0);  // stops the ticks
    EXPECT_FALSE(timers.IsRunning(state.Timer1()));
    PropertyBag bag;
    state.WriteProperties(bag);
    EXPECT_EQ(bag.Keys(),
              (std::vector<std::string>{"BackColor", "Appearance", "MemoryColor",
                                        "DisplayGridColor", "UpdateInterval", "HDDriveLetter"}));
    EXPECT_EQ(CpuMonitorDescription("MemoryLoadColor").back(), ' ');
}

TEST(CpuMonitorTest, StopsTheCounterWhenDestroyed) {
    FakeLevelSources sources;
    sources.cpu.platform_id = 1;
    ManualTimerService timers;
    RasterMonitorHost host(50, 20);
    {
        CpuMonitor monitor(host, timers, sources.sampler);
        monitor.ReadProperties({});
    }
    EXPECT_EQ(sources.registry.calls.back(), "close PerfStats\\StopStat");
}

}  // namespace
}  // namespace vellumar
