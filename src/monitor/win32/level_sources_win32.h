#pragma once
// The level sampler's counters on Win32. The program builds one sampler over
// them, which every CpuMonitor window shares (its previous CPU sample is
// process-wide by nature: each reading measures from the last one).

#include "monitor/level_sampler.h"
#include "platform/level_sources.h"

namespace vellumar::win32 {

// Kernel figures through NtQuerySystemInformation, with the structures of
// the build's own word size.
class Win32CpuCounters : public CpuCounters {
  public:
    std::uint32_t PlatformId() override;
    NtStatus QueryProcessorCount(int& processor_count) override;
    NtStatus QuerySystemTime(std::int64_t& system_time_100ns) override;
    NtStatus QueryIdleTime(std::int64_t& idle_time_100ns) override;
};

// HKEY_DYN_DATA, which exists on the 9x family only.
class Win32DynDataRegistry : public DynDataRegistry {
  public:
    long OpenKey(const std::string& path, std::uint32_t access, Key& key) override;
    long QueryDword(Key key, const std::string& value_name, std::uint32_t& value) override;
    void CloseKey(Key key) override;
};

// GlobalMemoryStatusEx: 64-bit counts, right on machines beyond 4 GB.
class Win32MemoryCounters : public MemoryCounters {
  public:
    MemoryStatusBytes QueryMemoryStatus() override;
};

class Win32VolumeSpace : public VolumeSpace {
  public:
    bool HasExtendedQuery() override;
    bool QueryExtended(const std::string& root, std::uint64_t& available_bytes,
                       std::uint64_t& total_bytes, std::uint64_t& free_bytes) override;
    bool QueryClusters(const std::string& root, std::uint32_t& sectors_per_cluster,
                       std::uint32_t& bytes_per_sector, std::uint32_t& free_clusters,
                       std::uint32_t& total_clusters) override;
    std::string WindowsDirectory() override;
};

}  // namespace vellumar::win32
