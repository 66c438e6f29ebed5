#pragma once
// The system counters the level sampler (monitor/level_sampler.h) reads: the
// kernel's idle and clock times and processor count, the Windows 9x CPU
// counter in the dynamic-data registry branch, the memory status and the
// space of a disk volume. Each call returns what the platform gave, with its
// own success marker; the sampler decides what a failure means.

#include <cstdint>
#include <string>

namespace vellumar {

// Status of a kernel information query: 0 is success.
using NtStatus = std::int32_t;

class CpuCounters {
  public:
    virtual ~CpuCounters() = default;
    // The platform id of the running system (2 for the NT family, 0 when the
    // version query fails).
    virtual std::uint32_t PlatformId() = 0;
    virtual NtStatus QueryProcessorCount(int& processor_count) = 0;
    // The system clock in 100-ns units.
    virtual NtStatus QuerySystemTime(std::int64_t& system_time_100ns) = 0;
    // The idle time of all processors together, in 100-ns units.
    virtual NtStatus QueryIdleTime(std::int64_t& idle_time_100ns) = 0;
};

// The dynamic-data registry branch of the Windows 9x family.
class DynDataRegistry {
  public:
    using Key = std::uintptr_t;
    static constexpr std::uint32_t kKeyAllAccess = 0xF003F;
    static constexpr std::uint32_t kKeyRead = 0x20019;

    virtual ~DynDataRegistry() = default;
    // 0 on success, and the key in `key`; a platform error code otherwise.
    virtual long OpenKey(const std::string& path, std::uint32_t access, Key& key) = 0;
    virtual long QueryDword(Key key, const std::string& value_name, std::uint32_t& value) = 0;
    virtual void CloseKey(Key key) = 0;
};

// The memory status in 64-bit byte counts; all zero when the query fails.
struct MemoryStatusBytes {
    std::uint32_t load_percent = 0;
    std::uint64_t total_phys_bytes = 0;
    std::uint64_t avail_phys_bytes = 0;
    std::uint64_t total_page_file_bytes = 0;
    std::uint64_t avail_page_file_bytes = 0;
    std::uint64_t total_virtual_bytes = 0;
    std::uint64_t avail_virtual_bytes = 0;
};

class MemoryCounters {
  public:
    virtual ~MemoryCounters() = default;
    virtual MemoryStatusBytes QueryMemoryStatus() = 0;
};

class VolumeSpace {
  public:
    virtual ~VolumeSpace() = default;
    // Whether the system has the extended (64-bit) free-space query.
    virtual bool HasExtendedQuery() = 0;
    virtual bool QueryExtended(const std::string& root, std::uint64_t& available_bytes,
                               std::uint64_t& total_bytes, std::uint64_t& free_bytes) = 0;
    // The cluster-based query of older systems.
    virtual bool QueryClusters(const std::string& root, std::uint32_t& sectors_per_cluster,
                               std::uint32_t& bytes_per_sector, std::uint32_t& free_clusters,
                               std::uint32_t& total_clusters) = 0;
    // The Windows directory as UTF-8; empty when the query fails.
    virtual std::string WindowsDirectory() = 0;
};

}  // namespace vellumar
