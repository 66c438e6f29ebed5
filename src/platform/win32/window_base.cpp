#include "platform/win32/window_base.h"

#include "platform/win32/window_table.h"

namespace vellumar::win32 {

namespace {
// The object and the system class's own procedure of each subclassed window,
// looked up for every message. A window gets its messages on the thread that
// made it, so each thread keeps its own table.
struct Subclass {
    SubclassedControl* control = nullptr;
    WNDPROC original = nullptr;
};
thread_local WindowTable<Subclass> subclassed;
}  // namespace

void Window::RegisterOnce(const WindowClassSpec& window_class) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(instance, window_class.name, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = window_class.style;
    wc.lpfnWndProc = &Window::StaticWindowProc;
    wc.hInstance = instance;
    wc.hCursor = window_class.cursor ? window_class.cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = window_class.icon;
    wc.hIconSm = window_class.small_icon;
    wc.hbrBackground = window_class.background;
    wc.lpszClassName = window_class.name;
    ::RegisterClassExW(&wc);
}

Window::~Window() {
    if (hwnd_) {
        // Detach first so no message reaches a half-destroyed object.
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        ::DestroyWindow(hwnd);
    }
}

Window* Window::FromHandle(HWND hwnd) {
    return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

bool Window::Create(const WindowClassSpec& window_class, DWORD ex_style, const wchar_t* title,
                    DWORD style, int x, int y, int width, int height, HWND parent,
                    HMENU menu_or_id) {
    RegisterOnce(window_class);
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    return ::CreateWindowExW(ex_style, window_class.name, title, style, x, y, width, height, parent,
                             menu_or_id, instance, this) != nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return ::DefWindowProcW(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    Window* self = nullptr;
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        self = static_cast<Window*>(create->lpCreateParams);
        self->hwnd_ = hwnd;
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = FromHandle(hwnd);
    }
    if (!self)
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    if (message == WM_NCDESTROY) {
        const LRESULT result = self->HandleMessage(message, wparam, lparam);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->OnDestroyed();
        return result;
    }
    return self->HandleMessage(message, wparam, lparam);
}

SubclassedControl::~SubclassedControl() {
    if (hwnd_) {
        // Detached first: the window's last messages go to its own procedure.
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        if (Subclass* kept = subclassed.Find(hwnd))
            kept->control = nullptr;
        ::DestroyWindow(hwnd);
    }
}

SubclassedControl* SubclassedControl::FromHandle(HWND hwnd) {
    const Subclass* kept = subclassed.Find(hwnd);
    return kept ? kept->control : nullptr;
}

bool SubclassedControl::Create(const wchar_t* system_class, DWORD ex_style, const wchar_t* text,
                               DWORD style, int x, int y, int width, int height, HWND parent,
                               int id) {
    hwnd_ = ::CreateWindowExW(ex_style, system_class, text, style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    // The control's procedure is kept with the window, so its messages
    // still reach it once this object has let go.
    control_proc_ = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd_, GWLP_WNDPROC));
    subclassed.Set(hwnd_, Subclass{this, control_proc_});
    ::SetWindowLongPtrW(hwnd_, GWLP_WNDPROC,
                        reinterpret_cast<LONG_PTR>(&SubclassedControl::SubclassProc));
    return true;
}

LRESULT SubclassedControl::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return CallControlProc(message, wparam, lparam);
}

LRESULT SubclassedControl::CallControlProc(UINT message, WPARAM wparam, LPARAM lparam) {
    return ::CallWindowProcW(control_proc_, hwnd_, message, wparam, lparam);
}

LRESULT SubclassedControl::CallOriginalProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    const Subclass* kept = subclassed.Find(hwnd);
    const WNDPROC original = kept ? kept->original : nullptr;
    if (!original)
        return ::DefWindowProcW(hwnd, message, wparam, lparam);
    return ::CallWindowProcW(original, hwnd, message, wparam, lparam);
}

LRESULT CALLBACK SubclassedControl::SubclassProc(HWND hwnd, UINT message, WPARAM wparam,
                                                 LPARAM lparam) {
    SubclassedControl* self = FromHandle(hwnd);
    if (message == WM_NCDESTROY) {
        const LRESULT result = CallOriginalProc(hwnd, message, wparam, lparam);
        subclassed.Erase(hwnd);
        if (self)
            self->hwnd_ = nullptr;
        return result;
    }
    if (!self || !self->hwnd_)
        return CallOriginalProc(hwnd, message, wparam, lparam);
    return self->HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
