#include "shell/win32/window_hook_win32.h"

namespace vellumar::win32 {

namespace {
// The hook object of a hooked window, so the one static procedure serves
// any window and needs no global.
constexpr wchar_t kHookProperty[] = L"Vellumar.WindowHook";
}  // namespace

Win32WindowHook::~Win32WindowHook() {
    Remove();
}

void Win32WindowHook::Install(HWND window) {
    if (window_ || !window)
        return;
    window_ = window;
    ::SetPropW(window, kHookProperty, this);
    old_window_proc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowHook::WindowProc)));
}

void Win32WindowHook::Remove() {
    if (!window_)
        return;
    HWND window = window_;
    window_ = nullptr;
    if (!::IsWindow(window))
        return;
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old_window_proc_));
    ::RemovePropW(window, kHookProperty);
}

LRESULT CALLBACK Win32WindowHook::WindowProc(HWND hwnd, UINT message, WPARAM wparam,
                                             LPARAM lparam) {
    auto* self = static_cast<Win32WindowHook*>(::GetPropW(hwnd, kHookProperty));
    if (!self || !self->old_window_proc_)
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    const WNDPROC previous = self->old_window_proc_;
    if (message == WM_NCDESTROY) {
        // The window dies with the hook still on: forget it, so nothing later
        // touches a handle that may be reused.
        ::RemovePropW(hwnd, kHookProperty);
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
