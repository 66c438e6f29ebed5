#include "shell/win32/window_hook_win32.h"

#include <utility>
#include <vector>

namespace vellumar::win32 {

namespace {
// The hook object of each hooked window, so the one static procedure serves
// any window. Kept in the process, not as a window property: under Wine a
// property read is a round trip to the window server, for every message. A
// window gets its messages on the thread that made it.
thread_local std::vector<std::pair<HWND, Win32WindowHook*>> hooked;

Win32WindowHook* HookOf(HWND hwnd) {
    for (const auto& [window, hook] : hooked) {
        if (window == hwnd)
            return hook;
    }
    return nullptr;
}

void Forget(HWND hwnd) {
    std::erase_if(hooked, [hwnd](const auto& entry) { return entry.first == hwnd; });
}
}  // namespace

Win32WindowHook::~Win32WindowHook() {
    Remove();
}

void Win32WindowHook::Install(HWND window) {
    if (window_ || !window)
        return;
    window_ = window;
    hooked.emplace_back(window, this);
    old_window_proc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowHook::WindowProc)));
}

void Win32WindowHook::Remove() {
    if (!window_)
        return;
    HWND window = window_;
    window_ = nullptr;
    Forget(window);
    if (!::IsWindow(window))
        return;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_window_proc_));
}

LRESULT CALLBACK Win32WindowHook::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    Win32WindowHook* self = HookOf(hwnd);
    if (!self || !self->old_window_proc_)
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    const WNDPROC previous = self->old_window_proc_;
    if (message == WM_NCDESTROY) {
        // The window dies with the hook still on: forget it, so nothing later
        // touches a handle that may be reused.
        Forget(hwnd);
        self->window_ = nullptr;
        return ::CallWindowProcW(previous, hwnd, message, wparam, lparam);
    }
    if (const auto result = self->hook_.WindowProc(message, static_cast<std::uintptr_t>(wparam),
                                                   static_cast<std::intptr_t>(lparam))) {
        return static_cast<LRESULT>(*result);
    }
    return ::CallWindowProcW(previous, hwnd, message, wparam, lparam);
}

}  // namespace vellumar::win32
