// The floor the benchmarks measure vellumar.exe against: an empty Win32
// program with a borderless window of the main window's size and the same
// seven timers, each doing nothing. Whatever vellumar.exe costs beyond this
// program is its own code and data.
//
// It ends on the registered message Vellumar.ExitRequest, like the program.
//
// With VELLUMAR_FLOOR_TRAY set it also keeps a notification icon and changes
// its picture on the 990 ms timer, as the program's animation does: the
// reference for what that animation alone costs under the platform.

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

namespace {

constexpr int kTimerIntervalsMs[] = {900, 1100, 1000, 20, 100, 990, 3000};
constexpr int kWidth = 11790 / 15;
constexpr int kHeight = 8355 / 15;
constexpr UINT_PTR kTrayTimerId = 6;
UINT g_exit_request = 0;
HICON g_tray_frames[2] = {};

void NotifyTray(HWND hwnd, DWORD operation, int frame) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_APP;
    data.hIcon = g_tray_frames[frame % 2];
    ::lstrcpynW(data.szTip, L"Floor", 64);
    ::Shell_NotifyIconW(operation, &data);
}

LRESULT CALLBACK FloorProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == g_exit_request && g_exit_request != 0) {
        ::DestroyWindow(hwnd);
        return 0;
    }
    switch (message) {
        case WM_TIMER:
            if (wparam == kTrayTimerId && g_tray_frames[0]) {
                static int frame = 0;
                NotifyTray(hwnd, NIM_MODIFY, ++frame);
            }
            return 0;
        case WM_DESTROY:
            if (g_tray_frames[0])
                NotifyTray(hwnd, NIM_DELETE, 0);
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, message, wparam, lparam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    g_exit_request = ::RegisterWindowMessageW(L"Vellumar.ExitRequest");
    WNDCLASSW window_class{};
    window_class.lpfnWndProc = FloorProc;
    window_class.hInstance = instance;
    window_class.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    window_class.lpszClassName = L"FloorWindow";
    ::RegisterClassW(&window_class);
    HWND hwnd = ::CreateWindowExW(
        WS_EX_APPWINDOW, L"FloorWindow", L"Floor", WS_POPUP | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, kWidth, kHeight, nullptr, nullptr, instance, nullptr);
    if (!hwnd)
        return 1;
    UINT_PTR id = 1;
    for (int interval_ms : kTimerIntervalsMs)
        ::SetTimer(hwnd, id++, static_cast<UINT>(interval_ms), nullptr);
    if (::GetEnvironmentVariableW(L"VELLUMAR_FLOOR_TRAY", nullptr, 0) > 0) {
        for (int i = 0; i < 2; ++i) {
            g_tray_frames[i] = static_cast<HICON>(::LoadImageW(
                nullptr, MAKEINTRESOURCEW(i == 0 ? 32512 : 32516), IMAGE_ICON, 16, 16, LR_SHARED));
        }
        NotifyTray(hwnd, NIM_ADD, 0);
    }
    ::ShowWindow(hwnd, SW_SHOW);
    ::UpdateWindow(hwnd);
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
