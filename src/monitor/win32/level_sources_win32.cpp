#include "monitor/win32/level_sources_win32.h"

#include <windows.h>
#include <winternl.h>

#include "platform/win32/platform_win32.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

constexpr auto kSystemBasicInformation = static_cast<SYSTEM_INFORMATION_CLASS>(0);
constexpr auto kSystemPerformanceInformation = static_cast<SYSTEM_INFORMATION_CLASS>(2);
constexpr auto kSystemTimeOfDayInformation = static_cast<SYSTEM_INFORMATION_CLASS>(3);

// The performance record grows with the system's version and the query
// wants room for the whole of it; the idle time is its first member.
struct alignas(8) PerformanceBuffer {
    std::int64_t idle_time;
    unsigned char rest[1016];
};

HKEY KeyOf(DynDataRegistry::Key key) {
    return reinterpret_cast<HKEY>(key);
}

}  // namespace

std::uint32_t Win32CpuCounters::PlatformId() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    ::GetVersionExW(&info);
#pragma GCC diagnostic pop
    return info.dwPlatformId;
}

NtStatus Win32CpuCounters::QueryProcessorCount(int& processor_count) {
    SYSTEM_BASIC_INFORMATION basic{};
    const NTSTATUS status =
        ::NtQuerySystemInformation(kSystemBasicInformation, &basic, sizeof(basic), nullptr);
    if (status == 0)
        processor_count = static_cast<unsigned char>(basic.NumberOfProcessors);
    return status;
}

NtStatus Win32CpuCounters::QuerySystemTime(std::int64_t& system_time_100ns) {
    SYSTEM_TIMEOFDAY_INFORMATION time_of_day{};
    const NTSTATUS status = ::NtQuerySystemInformation(kSystemTimeOfDayInformation, &time_of_day,
                                                       sizeof(time_of_day), nullptr);
    if (status == 0)
        system_time_100ns = time_of_day.CurrentTime.QuadPart;
    return status;
}

NtStatus Win32CpuCounters::QueryIdleTime(std::int64_t& idle_time_100ns) {
    PerformanceBuffer performance{};
    ULONG length = 0;
    const NTSTATUS status = ::NtQuerySystemInformation(kSystemPerformanceInformation, &performance,
                                                       sizeof(performance), &length);
    if (status == 0)
        idle_time_100ns = performance.idle_time;
    return status;
}

long Win32DynDataRegistry::OpenKey(const std::string& path, std::uint32_t access, Key& key) {
    HKEY opened = nullptr;
    const LSTATUS result = ::RegOpenKeyExW(HKEY_DYN_DATA, Widen(path).c_str(), 0, access, &opened);
    if (result == ERROR_SUCCESS)
        key = reinterpret_cast<Key>(opened);
    return result;
}

long Win32DynDataRegistry::QueryDword(Key key, const std::string& value_name,
                                      std::uint32_t& value) {
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LSTATUS result = ::RegQueryValueExW(KeyOf(key), Widen(value_name).c_str(), nullptr, &type,
                                              reinterpret_cast<BYTE*>(&data), &size);
    if (result == ERROR_SUCCESS)
        value = data;
    return result;
}

void Win32DynDataRegistry::CloseKey(Key key) {
    ::RegCloseKey(KeyOf(key));
}

MemoryStatusBytes Win32MemoryCounters::QueryMemoryStatus() {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status))
        return {};
    return {status.dwMemoryLoad,     status.ullTotalPhys,     status.ullAvailPhys,
            status.ullTotalPageFile, status.ullAvailPageFile, status.ullTotalVirtual,
            status.ullAvailVirtual};
}

bool Win32VolumeSpace::HasExtendedQuery() {
    // Looked up afresh each time, as the sampler's callers expect.
    const HMODULE kernel = ::GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr && ::GetProcAddress(kernel, "GetDiskFreeSpaceExW") != nullptr;
}

bool Win32VolumeSpace::QueryExtended(const std::string& root, std::uint64_t& available_bytes,
                                     std::uint64_t& total_bytes, std::uint64_t& free_bytes) {
    ULARGE_INTEGER available{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER free{};
    if (!::GetDiskFreeSpaceExW(Widen(root).c_str(), &available, &total, &free))
        return false;
    available_bytes = available.QuadPart;
    total_bytes = total.QuadPart;
    free_bytes = free.QuadPart;
    return true;
}

bool Win32VolumeSpace::QueryClusters(const std::string& root, std::uint32_t& sectors_per_cluster,
                                     std::uint32_t& bytes_per_sector, std::uint32_t& free_clusters,
                                     std::uint32_t& total_clusters) {
    DWORD spc = 0, bps = 0, free = 0, total = 0;
    if (!::GetDiskFreeSpaceW(Widen(root).c_str(), &spc, &bps, &free, &total))
        return false;
    sectors_per_cluster = spc;
    bytes_per_sector = bps;
    free_clusters = free;
    total_clusters = total;
    return true;
}

std::string Win32VolumeSpace::WindowsDirectory() {
    wchar_t buffer[MAX_PATH + 1]{};
    const UINT length = ::GetWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH)
        return {};
    return Narrow(std::wstring_view(buffer, length));
}

}  // namespace vellumar::win32
