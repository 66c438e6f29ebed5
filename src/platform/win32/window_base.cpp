#include "platform/win32/window_base.h"

#include <commctrl.h>

namespace vellumar::win32 {

namespace {
constexpr UINT_PTR kSubclassId = 0x564C4D;  // one subclass of ours per control
constexpr wchar_t kControlProperty[] = L"Vellumar.Control";
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
        HWND hwnd = hwnd_;
        hwnd_ = nullptr;
        ::RemoveWindowSubclass(hwnd, &SubclassedControl::SubclassProc, kSubclassId);
        ::RemovePropW(hwnd, kControlProperty);
        ::DestroyWindow(hwnd);
    }
}

SubclassedControl* SubclassedControl::FromHandle(HWND hwnd) {
    return static_cast<SubclassedControl*>(::GetPropW(hwnd, kControlProperty));
}

bool SubclassedControl::Create(const wchar_t* system_class, DWORD ex_style, const wchar_t* text,
                               DWORD style, int x, int y, int width, int height, HWND parent,
                               int id) {
    hwnd_ = ::CreateWindowExW(ex_style, system_class, text, style, x, y, width, height, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                              ::GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_)
        return false;
    ::SetPropW(hwnd_, kControlProperty, this);
    ::SetWindowSubclass(hwnd_, &SubclassedControl::SubclassProc, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(this));
    return true;
}

LRESULT SubclassedControl::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    return CallControlProc(message, wparam, lparam);
}

LRESULT SubclassedControl::CallControlProc(UINT message, WPARAM wparam, LPARAM lparam) {
    return ::DefSubclassProc(hwnd_, message, wparam, lparam);
}

LRESULT CALLBACK SubclassedControl::SubclassProc(HWND hwnd, UINT message, WPARAM wparam,
                                                 LPARAM lparam, UINT_PTR, DWORD_PTR ref) {
    auto* self = reinterpret_cast<SubclassedControl*>(ref);
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(hwnd, &SubclassedControl::SubclassProc, kSubclassId);
        ::RemovePropW(hwnd, kControlProperty);
        if (self)
            self->hwnd_ = nullptr;
        return ::DefSubclassProc(hwnd, message, wparam, lparam);
    }
    if (!self || !self->hwnd_)
        return ::DefSubclassProc(hwnd, message, wparam, lparam);
    return self->HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
