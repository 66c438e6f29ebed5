// The graph window and the Win32 sampler against the real (Wine) API.
#include <gtest/gtest.h>
#include <windows.h>

#include "controls/software_raster.h"
#include "controls/win32/gdi_surface.h"
#include "fakes/fake_levels.h"
#include "fakes/fake_platform.h"
#include "fakes/fake_timers.h"
#include "monitor/win32/cpu_monitor_window.h"
#include "monitor/win32/level_sources_win32.h"
#include "wine_support.h"

namespace vellumar::win32 {
namespace {

using testing::GdiObjectCount;
using testing::PumpMessages;
using testing::ScreenPixels;
using testing::TestContainer;
using vellumar::testing::FakeLevelSources;
using vellumar::testing::RasterMonitorHost;

// The State page's graph: 417 x 57 pixels with a flat single border.
constexpr int kWidthPx = 417;
constexpr int kHeightPx = 57;

// Steers fake sources to the levels of one tick of a varied, repeatable
// history: steep and flat stretches, failed CPU samples, all five series.
void SetLevels(FakeLevelSources& s, int tick) {
    const int wave = (tick * 37) % 101;
    s.cpu.performance_status = tick % 17 == 5 ? static_cast<NtStatus>(0xC0000001) : 0;
    s.cpu.Advance(10'000'000, (100 - wave) * 100'000);
    s.memory.status = {static_cast<std::uint32_t>((tick * 13) % 101),        1000,
                       static_cast<std::uint64_t>(1000 - (tick * 7) % 1001), 1000,
                       static_cast<std::uint64_t>(tick % 2 ? 100 : 900),     1000,
                       static_cast<std::uint64_t>((tick * 29) % 1001)};
    s.volumes.volumes["C:\\"] = {1000, 500, static_cast<std::uint64_t>((tick * 11) % 1001)};
}

// Pixels of a 32-bit picture that differ from the raster's, colour only.
int Mismatches(const std::uint32_t* bits, const PixelBuffer& expected, const char* what) {
    int mismatches = 0;
    for (int y = 0; y < expected.height; ++y) {
        for (int x = 0; x < expected.width; ++x) {
            const std::uint32_t want = BitsOf(expected.At(x, y)) & 0xFFFFFFu;
            const std::uint32_t got = bits[y * expected.width + x] & 0xFFFFFFu;
            if (want != got && mismatches++ < 3)
                ADD_FAILURE() << what << " at " << x << "," << y << std::hex << ": GDI " << got
                              << ", raster " << want;
        }
    }
    return mismatches;
}

// The State page's graph in a window and the same graph drawn in software,
// fed the same levels.
struct GraphPair {
    explicit GraphPair(bool shown)
        : container(shown, 500, 120),
          window(container.Handle(), 10, 10, kWidthPx, kHeightPx, CpuMonitorStateProperties(),
                 timers, gdi_sources.sampler, "CpuMonitorState"),
          host(kWidthPx - 2, kHeightPx - 2, kWidthPx * kTwipsPerPixel),
          raster(host, timers, raster_sources.sampler) {
        raster.ReadProperties(CpuMonitorStateProperties());
    }
    void Tick(int tick) {
        SetLevels(gdi_sources, tick);
        SetLevels(raster_sources, tick);
        window.Model().Timer1_Timer();
        raster.Timer1_Timer();
    }

    TestContainer container;
    vellumar::testing::IdleTimerService timers;
    FakeLevelSources gdi_sources;
    FakeLevelSources raster_sources;
    CpuMonitorWindow window;
    RasterMonitorHost host;
    CpuMonitor raster;
};

TEST(CpuMonitorWindowTest, GdiPictureEqualsSoftwareRaster) {
    GraphPair graphs(true);
    ASSERT_EQ(graphs.window.Picture().Width(), kWidthPx - 2);
    ASSERT_EQ(graphs.window.Picture().Height(), kHeightPx - 2);
    int tick = 0;
    for (const std::int32_t style : {0, 1, 2}) {
        graphs.window.Model().SetDiagramStyle(style);
        graphs.raster.SetDiagramStyle(style);
        for (int i = 0; i < 160; ++i) graphs.Tick(tick++);
        ::GdiFlush();
        EXPECT_EQ(Mismatches(graphs.window.Picture().Bits(), graphs.host.pixels, "style"), 0)
            << "style " << style;
    }
}

// Ticks while the graph cannot be seen still show on screen once it can.
TEST(CpuMonitorWindowTest, ShowsTheTicksItMissedWhileHidden) {
    GraphPair graphs(false);
    for (int tick = 0; tick < 40; ++tick) graphs.Tick(tick);
    ::ShowWindow(graphs.container.Handle(), SW_SHOWNA);
    PumpMessages();
    const auto shot = ScreenPixels(graphs.window.Handle());
    ASSERT_EQ(shot.size(), graphs.host.pixels.pixels.size());
    EXPECT_EQ(Mismatches(shot.data(), graphs.host.pixels, "shown"), 0);
}

// Slanted lines in every direction, ties included, land on the same pixels.
TEST(CpuMonitorWindowTest, SlantedLinesMatchGdiInEveryDirection) {
    constexpr int kSize = 41;
    GdiSurface gdi;
    ASSERT_TRUE(gdi.Resize(kSize, kSize));
    PixelBuffer pixels(kSize, kSize);
    SoftwareRaster raster(pixels);
    for (int dx = -12; dx <= 12; ++dx) {
        for (int dy = -12; dy <= 12; ++dy) {
            const ColorRef color =
                Rgb(static_cast<std::uint8_t>(dx + 128), 0, static_cast<std::uint8_t>(dy + 128));
            gdi.DrawLine(20, 20, 20 + dx * 2, 20 + dy, color);
            raster.DrawLine(20, 20, 20 + dx * 2, 20 + dy, color);
            gdi.DrawLine(20 - dx, 20 - dy * 2, 20, 20, color);
            raster.DrawLine(20 - dx, 20 - dy * 2, 20, 20, color);
        }
    }
    ::GdiFlush();
    int mismatches = 0;
    for (int i = 0; i < kSize * kSize; ++i)
        mismatches += (gdi.Bits()[i] & 0xFFFFFFu) != (BitsOf(pixels.pixels[i]) & 0xFFFFFFu);
    EXPECT_EQ(mismatches, 0);
}

TEST(CpuMonitorWindowTest, GdiObjectsStayFlatOver10000Cycles) {
    TestContainer container(true, 500, 120);
    vellumar::testing::IdleTimerService timers;
    FakeLevelSources sources;
    CpuMonitorWindow window(container.Handle(), 10, 10, kWidthPx, kHeightPx,
                            CpuMonitorStateProperties(), timers, sources.sampler,
                            "CpuMonitorState");
    for (int tick = 0; tick < 50; ++tick) {
        SetLevels(sources, tick);
        window.Model().Timer1_Timer();
    }
    PumpMessages();
    const int before = GdiObjectCount();
    for (int tick = 0; tick < 10'000; ++tick) {
        SetLevels(sources, tick);
        window.Model().Timer1_Timer();
        if (tick % 500 == 0)
            PumpMessages();
    }
    PumpMessages();
    EXPECT_EQ(GdiObjectCount(), before);
    wchar_t text[32]{};
    ::GetWindowTextW(window.Handle(), text, 32);
    EXPECT_STREQ(text, L"CpuMonitorState");
}

TEST(CpuMonitorWindowTest, RealSamplerGivesPlausibleLevels) {
    Win32CpuCounters cpu_counters;
    Win32DynDataRegistry dyn_data;
    Win32MemoryCounters memory_counters;
    Win32VolumeSpace volumes;
    vellumar::testing::CallLog log;
    vellumar::testing::FakeSession boxes{log};
    ModuleCpuMonitorSupport sampler(
        LevelSources{cpu_counters, dyn_data, memory_counters, volumes, boxes, "Vellumar"});
    const bool is_nt = sampler.IsWindowsNT();
    ASSERT_TRUE(is_nt);
    sampler.InitCpuUsage(is_nt);
    // The kernel counts idle time in coarse steps: over a second or more the
    // reading is a share; retry a few times in case one interval jitters.
    float cpu = -1;
    for (int attempt = 0; attempt < 3 && !(cpu >= 0 && cpu <= 100); ++attempt) {
        const ULONGLONG start = ::GetTickCount64();
        while (::GetTickCount64() - start < 1000)
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        cpu = sampler.GetCpuUsage(is_nt);
    }
    EXPECT_GE(cpu, 0.0f);
    EXPECT_LE(cpu, 100.0f);

    SystemLevels levels;
    sampler.GetMemoryLevels(levels);
    EXPECT_GT(levels.PhysicalMemoryTotal, 0);
    EXPECT_GT(levels.MemoryLoadPercent, 0.0f);
    EXPECT_LE(levels.MemoryLoadPercent, 100.0f);
    sampler.GetDiskLevels("C:\\", levels);
    EXPECT_GT(levels.HDTotalBytes.Raw(), 0);
    EXPECT_GT(levels.HDAvailablePercent, 0.0f);
    EXPECT_LE(levels.HDAvailablePercent, 100.0f);
    EXPECT_EQ(sampler.GetWindowsDir().substr(1, 2), ":\\");
}

}  // namespace
}  // namespace vellumar::win32
