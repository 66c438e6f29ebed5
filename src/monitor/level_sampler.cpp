#include "monitor/level_sampler.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace vellumar {

namespace {

constexpr std::uint32_t kPlatformNT = 2;
constexpr char kStartStatPath[] = "PerfStats\\StartStat";
constexpr char kStatDataPath[] = "PerfStats\\StatData";
constexpr char kStopStatPath[] = "PerfStats\\StopStat";
constexpr char kCpuUsageValue[] = "KERNEL\\CPUUsage";
constexpr char kRegistryFailureText[] = "Unable to Query Registry!";

// (1 - available / total) x 100 as the record keeps it; false for a zero
// total, where the division fails and the routine stops.
bool ShareInUse(std::uint64_t available, std::uint64_t total, float& percent) {
    if (total == 0)
        return false;
    percent = static_cast<float>(
        (1.0 - static_cast<double>(available) / static_cast<double>(total)) * 100.0);
    return true;
}

// part / whole x 100, as a 32-bit float rounded to four places; 0 when the
// whole is zero.
float PercentOf(FixedDecimal part, FixedDecimal whole) {
    if (whole.Raw() == 0)
        return 0;
    const double percent = part.ToDouble() / whole.ToDouble() * 100.0;
    const auto rounded = FixedDecimal::FromDouble(static_cast<float>(percent));
    return rounded ? static_cast<float>(rounded->ToDouble()) : 0;
}

}  // namespace

std::optional<std::int64_t> CpuUsageFromDeltas(std::int64_t idle_delta_100ns,
                                               std::int64_t time_delta_100ns, int processor_count) {
    if (processor_count <= 0)
        return std::nullopt;
    std::optional<FixedDecimal> ratio;
    if (time_delta_100ns != 0) {
        ratio = FixedDecimal::FromDouble(static_cast<double>(idle_delta_100ns) /
                                         static_cast<double>(time_delta_100ns));
    } else {
        ratio = FixedDecimal::FromRaw(idle_delta_100ns);
    }
    if (!ratio)
        return std::nullopt;
    const auto hundred_ratio = ratio->Times(100);  // exact at four places
    if (!hundred_ratio)
        return std::nullopt;
    const double usage = 100.0 - hundred_ratio->ToDouble() / processor_count + 0.5;
    const auto four_places = FixedDecimal::FromDouble(usage);
    if (!four_places)
        return std::nullopt;
    return four_places->RoundToInteger();
}

bool ModuleCpuMonitorSupport::IsWindowsNT() {
    return sources_.cpu.PlatformId() == kPlatformNT;
}

void ModuleCpuMonitorSupport::InitCpuUsage(bool is_nt) {
    if (is_nt) {
        std::int64_t system_time = 0;
        std::int64_t idle_time = 0;
        if (sources_.cpu.QuerySystemTime(system_time) != 0)
            return;
        if (sources_.cpu.QueryIdleTime(idle_time) != 0)
            return;
        prev_idle_time_ = idle_time;
        prev_system_time_ = system_time;
        return;
    }
    // Reading the value under StartStat starts the kernel's counter.
    DynDataRegistry& registry = sources_.registry;
    DynDataRegistry::Key start_key = 0;
    if (registry.OpenKey(kStartStatPath, DynDataRegistry::kKeyAllAccess, start_key) != 0)
        return;
    std::uint32_t ignored = 0;
    (void)registry.QueryDword(start_key, kCpuUsageValue, ignored);
    registry.CloseKey(start_key);
    stat_data_open_ =
        registry.OpenKey(kStatDataPath, DynDataRegistry::kKeyRead, stat_data_key_) == 0;
}

float ModuleCpuMonitorSupport::GetCpuUsage(bool is_nt) {
    return is_nt ? GetCpuUsageNT() : GetCpuUsage9x();
}

float ModuleCpuMonitorSupport::GetCpuUsageNT() {
    int processors = 0;
    std::int64_t system_time = 0;
    std::int64_t idle_time = 0;
    CpuCounters& cpu = sources_.cpu;
    if (cpu.QueryProcessorCount(processors) != 0 || cpu.QuerySystemTime(system_time) != 0 ||
        cpu.QueryIdleTime(idle_time) != 0) {
        return kFailed;
    }
    // Wrapping differences, as the 64-bit registers of the platform give them.
    const auto idle_delta = static_cast<std::int64_t>(static_cast<std::uint64_t>(idle_time) -
                                                      static_cast<std::uint64_t>(prev_idle_time_));
    const auto time_delta = static_cast<std::int64_t>(
        static_cast<std::uint64_t>(system_time) - static_cast<std::uint64_t>(prev_system_time_));
    const auto usage = CpuUsageFromDeltas(idle_delta, time_delta, processors);
    if (!usage)
        return kFailed;
    prev_idle_time_ = idle_time;
    prev_system_time_ = system_time;
    return static_cast<float>(*usage);
}

float ModuleCpuMonitorSupport::GetCpuUsage9x() {
    std::uint32_t value = 0;
    if (stat_data_open_ &&
        sources_.registry.QueryDword(stat_data_key_, kCpuUsageValue, value) == 0) {
        return static_cast<float>(value & 0xFFu);
    }
    // A counter that cannot be read says so once; a message every sample
    // would stack modal boxes faster than the user can close them.
    if (!registry_failure_shown_) {
        registry_failure_shown_ = true;
        sources_.boxes.ShowMessage(sources_.message_title, kRegistryFailureText);
    }
    return kFailed;
}

void ModuleCpuMonitorSupport::StopCpuUsage(bool is_nt) {
    if (is_nt)
        return;
    DynDataRegistry& registry = sources_.registry;
    if (stat_data_open_) {
        registry.CloseKey(stat_data_key_);
        stat_data_open_ = false;
    }
    DynDataRegistry::Key stop_key = 0;
    if (registry.OpenKey(kStopStatPath, DynDataRegistry::kKeyAllAccess, stop_key) != 0)
        return;
    std::uint32_t ignored = 0;
    (void)registry.QueryDword(stop_key, kCpuUsageValue, ignored);
    registry.CloseKey(stop_key);
}

void ModuleCpuMonitorSupport::GetMemoryLevels(SystemLevels& levels) {
    const MemoryStatusBytes status = sources_.memory.QueryMemoryStatus();
    auto bytes = [](std::uint64_t count) {
        return static_cast<std::int64_t>(std::min<std::uint64_t>(
            count, static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())));
    };
    levels.MemoryLoadPercent = static_cast<float>(status.load_percent);
    levels.PhysicalMemoryAvailable = bytes(status.avail_phys_bytes);
    levels.PageFileAvailable = bytes(status.avail_page_file_bytes);
    levels.VirtualMemoryAvailable = bytes(status.avail_virtual_bytes);
    levels.PhysicalMemoryTotal = bytes(status.total_phys_bytes);
    levels.PageFileTotal = bytes(status.total_page_file_bytes);
    levels.VirtualMemoryTotal = bytes(status.total_virtual_bytes);
    // The first zero total ends the routine: later shares keep their values.
    if (!ShareInUse(status.avail_phys_bytes, status.total_phys_bytes,
                    levels.PhysicalMemoryAvailablePercent) ||
        !ShareInUse(status.avail_page_file_bytes, status.total_page_file_bytes,
                    levels.PageFileAvailablePercent)) {
        return;
    }
    ShareInUse(status.avail_virtual_bytes, status.total_virtual_bytes,
               levels.VirtualMemoryAvailablePercent);
}

void ModuleCpuMonitorSupport::GetDiskLevels(const std::string& root_path, SystemLevels& levels) {
    FixedDecimal total;
    FixedDecimal free;
    FixedDecimal available;
    FixedDecimal used;
    float percent = 0;
    VolumeSpace& volumes = sources_.volumes;
    if (volumes.HasExtendedQuery()) {
        std::uint64_t available_bytes = 0;
        std::uint64_t total_bytes = 0;
        std::uint64_t free_bytes = 0;
        if (volumes.QueryExtended(root_path, available_bytes, total_bytes, free_bytes)) {
            const auto t = FixedDecimal::FromUnsigned(total_bytes);
            const auto f = FixedDecimal::FromUnsigned(free_bytes);
            const auto a = FixedDecimal::FromUnsigned(available_bytes);
            if (t && f && a) {
                total = *t;
                free = *f;
                available = *a;
                used = total.Minus(available).value_or(FixedDecimal{});
                percent = PercentOf(available, total);
            }
        }
    } else {
        std::uint32_t sectors = 0;
        std::uint32_t sector_bytes = 0;
        std::uint32_t free_clusters = 0;
        std::uint32_t total_clusters = 0;
        if (volumes.QueryClusters(root_path, sectors, sector_bytes, free_clusters,
                                  total_clusters)) {
            // Each figure on its own: one that overflows stays 0.
            const std::int64_t cluster_bytes = std::int64_t{sectors} * sector_bytes;
            if (const auto cluster = FixedDecimal::FromInteger(cluster_bytes)) {
                total = cluster->Times(total_clusters).value_or(FixedDecimal{});
                free = cluster->Times(free_clusters).value_or(FixedDecimal{});
            }
            used = total.Minus(free).value_or(FixedDecimal{});
            percent = PercentOf(free, total);
            available = free;
        }
    }
    levels.HDTotalBytes = total;
    levels.HDTotalFreeBytes = free;
    levels.HDTotalBytesUsed = used;
    levels.HDAvailableFreeBytes = available;
    levels.HDAvailablePercent = percent;
}

std::string ModuleCpuMonitorSupport::GetWindowsDir() {
    return sources_.volumes.WindowsDirectory();
}

}  // namespace vellumar
