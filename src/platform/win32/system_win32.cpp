#include "platform/win32/system_win32.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <random>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {
HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}
}  // namespace

WindowHandle Win32Desktop::ForegroundWindow() {
    return reinterpret_cast<WindowHandle>(::GetForegroundWindow());
}

std::string Win32Desktop::WindowTitle(WindowHandle window, int max_chars) {
    if (window == 0 || max_chars <= 0)
        return {};
    std::wstring title(static_cast<std::size_t>(max_chars) + 1, L'\0');
    const int length = ::GetWindowTextW(ToHwnd(window), title.data(), max_chars + 1);
    title.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
    return Narrow(title);
}

ProcessId Win32Desktop::WindowProcess(WindowHandle window) {
    DWORD process = 0;
    if (window != 0)
        ::GetWindowThreadProcessId(ToHwnd(window), &process);
    return process;
}

ProcessId Win32Processes::CurrentProcess() {
    return ::GetCurrentProcessId();
}

std::uint32_t Win32Processes::ApplyPriorityClass(ProcessId process, std::uint32_t priority_class) {
    UniqueHandle handle(
        ::OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_SET_INFORMATION, FALSE, process));
    if (handle) {
        ::SetPriorityClass(handle.Get(), priority_class);
    } else {
        handle.Reset(::OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, process));
    }
    return handle ? ::GetPriorityClass(handle.Get()) : 0;
}

std::vector<ProcessId> Win32Processes::Snapshot() {
    std::vector<ProcessId> processes;
    UniqueHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return processes;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        processes.push_back(entry.th32ProcessID);
    }
    return processes;
}

bool Win32Processes::TrimWorkingSet(ProcessId process) {
    UniqueHandle handle(::OpenProcess(PROCESS_SET_QUOTA, FALSE, process));
    if (!handle)
        return false;
    return ::SetProcessWorkingSetSize(handle.Get(), static_cast<SIZE_T>(-1),
                                      static_cast<SIZE_T>(-1)) != FALSE;
}

bool Win32MemoryStatus::PhysicalMemory(std::uint64_t& total_bytes, std::uint64_t& available_bytes) {
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof(status);
    if (!::GlobalMemoryStatusEx(&status))
        return false;
    total_bytes = status.ullTotalPhys;
    available_bytes = status.ullAvailPhys;
    return true;
}

std::string Win32Clock::TimeOfDayText() {
    wchar_t text[64] = {};
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, nullptr, nullptr, text, 64) == 0)
        return {};
    return Narrow(text);
}

void Win32MessagePump::ProcessPendingEvents() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            // The program is ending: leave the quit for the main loop.
            quitting_ = true;
            ::PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

double ClockSeededRandom::NextUniform() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::mt19937 generator(static_cast<std::uint32_t>(counter.QuadPart));
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace vellumar::win32
