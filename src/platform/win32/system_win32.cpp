#include "platform/win32/system_win32.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <tlhelp32.h>

#include <atomic>
#include <random>
#include <set>
#include <thread>

#include "platform/win32/handles.h"
#include "platform/win32/text.h"
#include "platform/win32/window_base.h"

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

std::uint32_t Win32Processes::PriorityClassOf(ProcessId process) {
    UniqueHandle handle(::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process));
    return handle ? ::GetPriorityClass(handle.Get()) : 0;
}

// A snapshot costs about a third of a millisecond per process under Wine,
// too long for the window's thread with a few hundred processes. It is taken
// on a worker thread, which hands it back by posting kSnapshotTaken, naming
// its request, to a message-only window; the waiting thread handles its
// events meanwhile. A release started inside another one waits for its own
// snapshot in a nested loop, which may receive the outer one's message: the
// mailbox keeps every delivered request until its waiter collects it.
constexpr UINT kSnapshotTaken = WM_APP + 1;

class Win32Processes::SnapshotMailbox : public Window {
  public:
    SnapshotMailbox() {
        Create(WindowClassSpec{L"VellumarSnapshotMailbox"}, 0, L"", 0, 0, 0, 0, 0, HWND_MESSAGE);
    }
    // True once, when the request's message has arrived.
    bool Collect(unsigned request) { return delivered_.erase(request) > 0; }

  protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message == kSnapshotTaken) {
            delivered_.insert(static_cast<unsigned>(wparam));
            return 0;
        }
        return Window::HandleMessage(message, wparam, lparam);
    }

  private:
    std::set<unsigned> delivered_;
};

Win32Processes::Win32Processes() = default;
Win32Processes::~Win32Processes() = default;

std::vector<ProcessId> Win32Processes::SnapshotWhileHandlingEvents(MessagePump& pump) {
    if (!mailbox_)
        mailbox_ = std::make_unique<SnapshotMailbox>();
    const HWND mailbox = mailbox_->Handle();
    if (!mailbox)
        return Snapshot();
    const unsigned request = ++last_request_;
    std::vector<ProcessId> processes;
    std::atomic<bool> finished = false;
    std::atomic<bool> posted = false;
    std::thread worker([&] {
        processes = Snapshot();
        posted = ::PostMessageW(mailbox, kSnapshotTaken, request, 0) != FALSE;
        finished = true;
    });
    // Until the message is handled. The short bound on each wait keeps a
    // lost message (a full queue) or a quit left in the queue from stalling
    // or spinning the loop.
    constexpr DWORD kWaitBoundMs = 20;
    while (!mailbox_->Collect(request) && !pump.Quitting() && !(finished && !posted)) {
        ::MsgWaitForMultipleObjectsEx(0, nullptr, kWaitBoundMs, QS_ALLINPUT, 0);
        pump.ProcessPendingEvents();
    }
    // The worker has posted, or is about to: the list is complete after this.
    worker.join();
    return processes;
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
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const std::uint32_t second = (static_cast<std::uint32_t>(now.wDay) << 17) |
                                 (static_cast<std::uint32_t>(now.wHour) << 12) |
                                 (static_cast<std::uint32_t>(now.wMinute) << 6) | now.wSecond;
    if (!text_.empty() && second == formatted_at_)
        return text_;
    wchar_t text[64] = {};
    if (::GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &now, nullptr, text, 64) == 0) {
        text_.clear();
        return {};
    }
    formatted_at_ = second;
    text_ = Narrow(text);
    return text_;
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
    NoteQueueChecked();
}

void Win32MessagePump::ProcessPendingEventsUnlessJustChecked() {
    if (std::chrono::steady_clock::now() - checked_at_ >= kJustChecked)
        ProcessPendingEvents();
}

double ClockSeededRandom::NextUniform() {
    LARGE_INTEGER counter{};
    ::QueryPerformanceCounter(&counter);
    std::mt19937 generator(static_cast<std::uint32_t>(counter.QuadPart));
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace vellumar::win32
