#pragma once
// The one window base of the program. A Window object owns its HWND: it
// registers its class once, passes `this` through lpCreateParams, keeps it
// in GWLP_USERDATA from WM_NCCREATE on, and dispatches every message to the
// virtual HandleMessage. The destructor destroys a window that still exists.
//
// SubclassedControl does the same for a child of a system class (BUTTON,
// STATIC, COMBOBOX): it creates the control and subclasses it, so the
// control keeps its system role for screen readers while the program sees
// its messages first.

#include <windows.h>

namespace vellumar::win32 {

struct WindowClassSpec {
    const wchar_t* name;
    UINT style = 0;
    HCURSOR cursor = nullptr;  // nullptr: the arrow
    HICON icon = nullptr;
    HICON small_icon = nullptr;
    HBRUSH background = nullptr;
};

class Window {
  public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND Handle() const { return hwnd_; }
    // The Window object of an HWND created through this base, or nullptr.
    static Window* FromHandle(HWND hwnd);

  protected:
    bool Create(const WindowClassSpec& window_class, DWORD ex_style, const wchar_t* title,
                DWORD style, int x, int y, int width, int height, HWND parent,
                HMENU menu_or_id = nullptr);
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    // Called after WM_NCDESTROY; the HWND is gone.
    virtual void OnDestroyed() {}

  private:
    static void RegisterOnce(const WindowClassSpec& window_class);
    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    HWND hwnd_ = nullptr;
};

class SubclassedControl {
  public:
    SubclassedControl() = default;
    virtual ~SubclassedControl();
    SubclassedControl(const SubclassedControl&) = delete;
    SubclassedControl& operator=(const SubclassedControl&) = delete;

    HWND Handle() const { return hwnd_; }
    static SubclassedControl* FromHandle(HWND hwnd);

  protected:
    bool Create(const wchar_t* system_class, DWORD ex_style, const wchar_t* text, DWORD style,
                int x, int y, int width, int height, HWND parent, int id);
    // Default: the control's own procedure.
    virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT CallControlProc(UINT message, WPARAM wparam, LPARAM lparam);

  private:
    static LRESULT CallOriginalProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
    HWND hwnd_ = nullptr;
    WNDPROC control_proc_ = nullptr;  // the system class's own procedure
};

}  // namespace vellumar::win32
