// What scripts/bench.sh measures from outside a program, the way a user's
// other programs see it:
//
//   bench_probe start EXE CLASS     starts EXE, polls every 2 ms until a
//                                   visible window of CLASS appears and
//                                   prints the milliseconds it took
//   bench_probe show|hide CLASS     shows or hides that window
//   bench_probe hold                keeps a hidden window open until asked
//                                   to end like the program: the virtual
//                                   desktop's process, which Wine ends when
//                                   no window is left, then stays between
//                                   two measured starts instead of being
//                                   started again inside the next one
//   bench_probe stop CLASS          asks the program to end
//                                   (Vellumar.ExitRequest) and waits for it
//   bench_probe release CLASS N     starts N idle processes, presses
//                                   "release memory now" and prints the
//                                   longest WM_NULL answer time, polled every
//                                   5 ms, until the release's message box shows
//                                   (and, apart, while the page was shown)
//
// Figures only: it fails only when it cannot find what it drives.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <utility>
#include <vector>

namespace {

double NowMs() {
    LARGE_INTEGER frequency{};
    LARGE_INTEGER now{};
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

HWND VisibleWindow(const wchar_t* class_name) {
    HWND hwnd = ::FindWindowW(class_name, nullptr);
    return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

struct ChildSearch {
    const wchar_t* text;
    HWND found;
};

HWND FindChildByText(HWND parent, const wchar_t* text) {
    ChildSearch search{text, nullptr};
    ::EnumChildWindows(
        parent,
        [](HWND child, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<ChildSearch*>(param);
            wchar_t buffer[128] = {};
            ::GetWindowTextW(child, buffer, 128);
            if (std::wcscmp(buffer, s->text) == 0 && ::IsWindowVisible(child)) {
                s->found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

struct BoxSearch {
    DWORD pid;
    HWND found;
};

HWND MessageBoxOf(DWORD pid) {
    BoxSearch search{pid, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<BoxSearch*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            wchar_t name[32] = {};
            ::GetClassNameW(hwnd, name, 32);
            if (owner == s->pid && std::wcscmp(name, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

void Click(HWND window) {
    RECT r{};
    ::GetClientRect(window, &r);
    const LPARAM at = MAKELPARAM(r.right / 2, r.bottom / 2);
    ::SendMessageW(window, WM_MOUSEMOVE, 0, at);
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(window, WM_LBUTTONUP, 0, at);
}

int Start(const wchar_t* exe, const wchar_t* class_name) {
    std::wstring command = std::wstring(L"\"") + exe + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    const double start = NowMs();
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return 1;
    while (!VisibleWindow(class_name)) {
        if (NowMs() - start > 60000)
            return 1;
        ::Sleep(2);
    }
    std::printf("%.1f\n", NowMs() - start);
    ::CloseHandle(info.hProcess);
    ::CloseHandle(info.hThread);
    return 0;
}

int Stop(const wchar_t* class_name) {
    HWND hwnd = ::FindWindowW(class_name, nullptr);
    if (!hwnd)
        return 1;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
    ::PostMessageW(hwnd, ::RegisterWindowMessageW(L"Vellumar.ExitRequest"), 0, 0);
    if (process) {
        ::WaitForSingleObject(process, 30000);
        ::CloseHandle(process);
    }
    return 0;
}

int Release(const wchar_t* class_name, int extra) {
    HWND main = VisibleWindow(class_name);
    if (!main)
        return 1;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(main, &pid);
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::vector<PROCESS_INFORMATION> children;
    for (int i = 0; i < extra; ++i) {
        std::wstring command = std::wstring(L"\"") + self + L"\" idle";
        STARTUPINFOW startup{};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info{};
        if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                             &startup, &info))
            children.push_back(info);
    }
    for (PROCESS_INFORMATION& child : children) ::WaitForInputIdle(child.hProcess, 10000);
    ::Sleep(2000);  // let the children settle into their sleep

    // The page is shown and painted first (its windows are made when it is
    // first shown), so that its first paint is not counted as the release's.
    double longest = 0;
    auto poll = [&] {
        const double before = NowMs();
        DWORD_PTR result = 0;
        ::SendMessageTimeoutW(main, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result);
        longest = std::max(longest, NowMs() - before);
        ::Sleep(5);
    };
    if (HWND page = FindChildByText(main, L"Intelligent release memory"))
        Click(page);
    for (const double shown = NowMs(); NowMs() - shown < 1000;) poll();
    const double page_longest = std::exchange(longest, 0.0);
    HWND button = FindChildByText(main, L"release memory now");
    if (!button)
        return 1;
    ::PostMessageW(button, BM_CLICK, 0, 0);
    const double start = NowMs();
    HWND box = nullptr;
    while (!(box = MessageBoxOf(pid)) && NowMs() - start < 120000) poll();
    std::printf("%.1f ms (showing the page before: %.1f ms)\n", longest, page_longest);
    if (box)
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    for (PROCESS_INFORMATION& child : children) {
        ::TerminateProcess(child.hProcess, 0);
        ::CloseHandle(child.hProcess);
        ::CloseHandle(child.hThread);
    }
    return box ? 0 : 1;
}

constexpr wchar_t kHoldClass[] = L"BenchProbeHold";

int Hold() {
    static UINT exit_request = ::RegisterWindowMessageW(L"Vellumar.ExitRequest");
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = [](HWND hwnd, UINT message, WPARAM wparam,
                                  LPARAM lparam) -> LRESULT {
        if (message == exit_request || message == WM_DESTROY) {
            ::PostQuitMessage(0);
            return 0;
        }
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    };
    window_class.hInstance = ::GetModuleHandleW(nullptr);
    window_class.lpszClassName = kHoldClass;
    ::RegisterClassW(&window_class);
    if (!::CreateWindowExW(0, kHoldClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                           window_class.hInstance, nullptr))
        return 1;
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring verb = argc > 1 ? argv[1] : L"";
    if (verb == L"idle") {
        ::Sleep(600000);
        return 0;
    }
    if (verb == L"hold")
        return Hold();
    if (verb == L"start" && argc == 4)
        return Start(argv[2], argv[3]);
    if ((verb == L"show" || verb == L"hide") && argc == 3) {
        HWND hwnd = ::FindWindowW(argv[2], nullptr);
        if (!hwnd)
            return 1;
        ::ShowWindow(hwnd, verb == L"show" ? SW_SHOW : SW_HIDE);
        return 0;
    }
    if (verb == L"stop" && argc == 3)
        return Stop(argv[2]);
    if (verb == L"release" && argc == 4)
        return Release(argv[2], _wtoi(argv[3]));
    std::fprintf(stderr,
                 "usage: bench_probe start EXE CLASS | show|hide CLASS | hold | stop CLASS | "
                 "release CLASS N\n");
    return 2;
}
