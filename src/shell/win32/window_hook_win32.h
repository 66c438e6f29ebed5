#pragma once
// Installs ModuleSubClass on a window: the window's procedure is replaced
// through the pointer-sized GWLP_WNDPROC, the previous one is kept, and every
// message the hook does not handle goes to it through CallWindowProcW.
// Remove (or the destructor) puts the previous procedure back.

#include <windows.h>

#include "shell/window_hook.h"

namespace vellumar::win32 {

class Win32WindowHook {
  public:
    explicit Win32WindowHook(ModuleSubClass& hook) : hook_(hook) {}
    ~Win32WindowHook();
    Win32WindowHook(const Win32WindowHook&) = delete;
    Win32WindowHook& operator=(const Win32WindowHook&) = delete;

    void Install(HWND window);
    void Remove();
    bool Installed() const { return window_ != nullptr; }

  private:
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);

    ModuleSubClass& hook_;
    HWND window_ = nullptr;
    WNDPROC old_window_proc_ = nullptr;
};

}  // namespace vellumar::win32
