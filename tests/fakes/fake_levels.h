#pragma once
// Fakes of the system counters the level sampler reads.

#include <map>
#include <string>
#include <vector>

#include "controls/software_raster.h"
#include "fakes/fake_session.h"
#include "monitor/cpu_monitor.h"
#include "monitor/level_sampler.h"
#include "platform/level_sources.h"
#include "platform/session.h"

namespace vellumar::testing {

class FakeCpuCounters : public CpuCounters {
  public:
    std::uint32_t PlatformId() override { return platform_id; }
    NtStatus QueryProcessorCount(int& count) override {
        count = processors;
        return basic_status;
    }
    NtStatus QuerySystemTime(std::int64_t& time) override {
        time = system_time;
        return time_status;
    }
    NtStatus QueryIdleTime(std::int64_t& idle) override {
        idle = idle_time;
        return performance_status;
    }
    // Moves both clocks forward, as one interval of the machine would.
    void Advance(std::int64_t time_delta, std::int64_t idle_delta) {
        system_time += time_delta;
        idle_time += idle_delta;
    }

    std::uint32_t platform_id = 2;
    int processors = 1;
    std::int64_t system_time = 0;
    std::int64_t idle_time = 0;
    NtStatus basic_status = 0;
    NtStatus time_status = 0;
    NtStatus performance_status = 0;
};

class FakeDynData : public DynDataRegistry {
  public:
    long OpenKey(const std::string& path, std::uint32_t, Key& key) override {
        calls.push_back("open " + path);
        if (!openable.count(path))
            return 2;
        key = ++next_key;
        open_paths[key] = path;
        return 0;
    }
    long QueryDword(Key key, const std::string& name, std::uint32_t& value) override {
        calls.push_back("query " + open_paths[key] + " " + name);
        if (!counter_readable)
            return 5;
        value = counter;
        return 0;
    }
    void CloseKey(Key key) override { calls.push_back("close " + open_paths[key]); }

    std::map<std::string, bool> openable{{"PerfStats\\StartStat", true},
                                         {"PerfStats\\StatData", true},
                                         {"PerfStats\\StopStat", true}};
    bool counter_readable = true;
    std::uint32_t counter = 0;
    std::vector<std::string> calls;

  private:
    std::map<Key, std::string> open_paths;
    Key next_key = 0;
};

class FakeMemoryCounters : public MemoryCounters {
  public:
    MemoryStatusBytes QueryMemoryStatus() override { return status; }
    MemoryStatusBytes status;
};

class FakeVolumes : public VolumeSpace {
  public:
    struct Volume {
        std::uint64_t total = 0, free = 0, available = 0;
        std::uint32_t sectors_per_cluster = 1, bytes_per_sector = 1;
    };
    bool HasExtendedQuery() override { return extended; }
    bool QueryExtended(const std::string& root, std::uint64_t& available, std::uint64_t& total,
                       std::uint64_t& free) override {
        queried.push_back(root);
        auto it = volumes.find(root);
        if (it == volumes.end())
            return false;
        available = it->second.available;
        total = it->second.total;
        free = it->second.free;
        return true;
    }
    bool QueryClusters(const std::string& root, std::uint32_t& spc, std::uint32_t& bps,
                       std::uint32_t& free_clusters, std::uint32_t& total_clusters) override {
        queried.push_back(root);
        auto it = volumes.find(root);
        if (it == volumes.end())
            return false;
        const Volume& v = it->second;
        spc = v.sectors_per_cluster;
        bps = v.bytes_per_sector;
        const std::uint64_t cluster = std::uint64_t{spc} * bps;
        free_clusters = static_cast<std::uint32_t>(v.free / cluster);
        total_clusters = static_cast<std::uint32_t>(v.total / cluster);
        return true;
    }
    std::string WindowsDirectory() override { return windows_dir; }

    bool extended = true;
    std::map<std::string, Volume> volumes;
    std::vector<std::string> queried;
    std::string windows_dir = "D:\\WINNT";
};

// Every fake together with a sampler over them.
struct FakeLevelSources {
    FakeCpuCounters cpu;
    FakeDynData registry;
    FakeMemoryCounters memory;
    FakeVolumes volumes;
    CallLog log;
    FakeSession boxes{log};
    ModuleCpuMonitorSupport sampler{
        LevelSources{cpu, registry, memory, volumes, boxes, "Vellumar"}};
};

// A CpuMonitor host over a software raster of the inner area.
class RasterMonitorHost : public CpuMonitorHost {
  public:
    RasterMonitorHost(int width, int height, int width_twips = 0)
        : pixels(width, height),
          raster(pixels),
          size{width, height},
          width_twips(width_twips ? width_twips : width * 15) {}
    DrawingSurface& Surface() override { return *drawing; }
    void Refresh() override { ++refreshes; }
    bool Showing() const override { return showing; }
    SizePx ScaleSize() const override { return size; }
    int WidthTwips() const override { return width_twips; }
    int Dpi() const override { return dpi; }
    void SetAppearance(std::int16_t value) override { appearance = value; }
    std::int16_t Appearance() const override { return appearance; }
    void SetBorderStyle(std::int16_t value) override { border_style = value; }
    std::int16_t BorderStyle() const override { return border_style; }
    void SetSurfaceEnabled(bool value) override { enabled = value; }
    bool SurfaceEnabled() const override { return enabled; }
    std::uintptr_t WindowHandle() const override { return 0x77; }
    std::uintptr_t DeviceContext() const override { return 0x78; }
    NumberSeparators Separators() const override { return separators; }
    void PropertyChanged(std::string_view name) override { changed.emplace_back(name); }

    PixelBuffer pixels;
    SoftwareRaster raster;
    DrawingSurface* drawing = &raster;  // a test may record the calls instead
    SizePx size;
    int width_twips;
    int dpi = kStandardDpi;
    std::int16_t appearance = 1;
    std::int16_t border_style = 1;
    bool enabled = true;
    bool showing = true;
    int refreshes = 0;
    NumberSeparators separators;
    std::vector<std::string> changed;
};

}  // namespace vellumar::testing
