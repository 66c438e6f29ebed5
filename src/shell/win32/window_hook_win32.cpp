#include "shell/win32/window_hook_win32.h"

#include "platform/win32/window_table.h"

namespace vellumar::win32 {

namespace {
// The hook object of each hooked window, so the one static procedure serves
// any window; looked up for every message. A window gets its messages on the
// thread that made it.
thread_local WindowTable<Win32WindowHook*> hooked;

Win32WindowHook* HookOf(HWND hwnd) {
    Win32WindowHook** hook = hooked.Find(hwnd);
    return hook ? *hook : nullptr;
}
}  // namespace

Win32WindowHook::~Win32WindowHook() {
    Remove();
}

void Win32WindowHook::Install(HWND window) {
    if (window_ || !window)
        return;
    window_ = window;
    hooked.Set(window, this);
    old_window_proc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowHook::WindowProc)));
}

void Win32WindowHook::Remove() {
    if (!window_)
        return;
    HWND window = window_;
    window_ = nullptr;
    hooked.Erase(window);
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
        hooked.Erase(hwnd);
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
