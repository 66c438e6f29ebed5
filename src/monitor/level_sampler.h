#pragma once
// ModuleCpuMonitorSupport: the level sampler behind the CpuMonitor graph.
// It measures the CPU usage (on the NT family from two samples of the idle
// time and the system clock, on the 9x family from the kernel's counter in
// the dynamic-data registry branch), the memory figures and the space of one
// disk volume, each into a SystemLevels record.
//
// One sampler serves the whole process: the previous CPU sample it keeps is
// shared by every caller, so each CPU reading measures the time since the
// previous successful one by anybody. Calling order: IsWindowsNT once,
// InitCpuUsage with its result, then any number of samples, and StopCpuUsage
// at the end. Routines that fill a record write only their own fields and
// stop at the first failing step, leaving the rest as the record held it.

#include <cstdint>
#include <string>

#include "monitor/fixed_decimal.h"
#include "platform/level_sources.h"
#include "platform/session.h"

namespace vellumar {

// One sample of all levels. Memory quantities are 64-bit byte counts, so
// machines with more than 2 GB report them without wrapping.
struct SystemLevels {
    float CPULoadPercent = 0;  // -1 when the measurement failed
    float MemoryLoadPercent = 0;
    std::int64_t PhysicalMemoryTotal = 0;
    std::int64_t PhysicalMemoryAvailable = 0;
    float PhysicalMemoryAvailablePercent = 0;  // the share in use
    std::int64_t PageFileTotal = 0;
    std::int64_t PageFileAvailable = 0;
    float PageFileAvailablePercent = 0;  // the share in use
    std::int64_t VirtualMemoryTotal = 0;
    std::int64_t VirtualMemoryAvailable = 0;
    float VirtualMemoryAvailablePercent = 0;  // the share in use
    FixedDecimal HDTotalBytes;
    FixedDecimal HDTotalFreeBytes;
    FixedDecimal HDAvailableFreeBytes;
    FixedDecimal HDTotalBytesUsed;
    float HDAvailablePercent = 0;  // the free share
};

struct LevelSources {
    CpuCounters& cpu;
    DynDataRegistry& registry;
    MemoryCounters& memory;
    VolumeSpace& volumes;
    MessageBoxes& boxes;
    std::string message_title;
};

class ModuleCpuMonitorSupport {
  public:
    static constexpr float kFailed = -1.0f;

    explicit ModuleCpuMonitorSupport(LevelSources sources) : sources_(std::move(sources)) {}
    ModuleCpuMonitorSupport(const ModuleCpuMonitorSupport&) = delete;
    ModuleCpuMonitorSupport& operator=(const ModuleCpuMonitorSupport&) = delete;

    [[nodiscard]] bool IsWindowsNT();
    void InitCpuUsage(bool is_nt);
    // CPU usage in percent since the previous sample, a whole number, or -1.
    [[nodiscard]] float GetCpuUsage(bool is_nt);
    void StopCpuUsage(bool is_nt);
    // Fields 2 to 11 of the record.
    void GetMemoryLevels(SystemLevels& levels);
    // Fields 12 to 16 of the record; zeros when the volume cannot be read.
    void GetDiskLevels(const std::string& root_path, SystemLevels& levels);
    [[nodiscard]] std::string GetWindowsDir();

    [[nodiscard]] std::int64_t PrevIdleTime() const { return prev_idle_time_; }
    [[nodiscard]] std::int64_t PrevSystemTime() const { return prev_system_time_; }

  private:
    float GetCpuUsageNT();
    float GetCpuUsage9x();

    LevelSources sources_;
    std::int64_t prev_idle_time_ = 0;    // 100-ns units
    std::int64_t prev_system_time_ = 0;  // 100-ns units
    DynDataRegistry::Key stat_data_key_ = 0;
    bool stat_data_open_ = false;
    bool registry_failure_shown_ = false;
};

// The CPU usage for an idle-time and a clock-time difference on
// `processor_count` processors: 100 - 100 x idle / time / processors + 0.5,
// rounded to four places and then to a whole number, halves to even. A zero
// time difference takes the idle difference itself as the ratio, in units of
// 10 000. Nothing when the figures leave the fixed-point range.
[[nodiscard]] std::optional<std::int64_t> CpuUsageFromDeltas(std::int64_t idle_delta_100ns,
                                                             std::int64_t time_delta_100ns,
                                                             int processor_count);

}  // namespace vellumar
