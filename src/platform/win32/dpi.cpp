#include "platform/win32/dpi.h"

#include "controls/controls.h"

namespace vellumar::win32 {

namespace {

using DpiOfWindow = UINT(WINAPI*)(HWND);
using DpiOfSystem = UINT(WINAPI*)();

// Looked up at run time: the functions exist from Windows 10 version 1607.
template <typename Function>
Function User32Function(const char* name) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
               : nullptr;
}

int Sane(UINT dpi) {
    return dpi >= 48 && dpi <= 960 ? static_cast<int>(dpi) : kStandardDpi;
}

}  // namespace

int SystemDpi() {
    static const auto system_dpi = User32Function<DpiOfSystem>("GetDpiForSystem");
    if (system_dpi)
        return Sane(system_dpi());
    HDC screen = ::GetDC(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen, LOGPIXELSY) : kStandardDpi;
    if (screen)
        ::ReleaseDC(nullptr, screen);
    return Sane(static_cast<UINT>(dpi));
}

namespace {
constexpr wchar_t kLayoutDpiProperty[] = L"Vellumar.LayoutDpi";
// Windows are laid out on the GUI thread only.
unsigned layout_dpi_changes = 1;

int RecordedLayoutDpi(HWND hwnd) {
    const HWND top = ::GetAncestor(hwnd, GA_ROOT);
    return static_cast<int>(
        reinterpret_cast<INT_PTR>(::GetPropW(top ? top : hwnd, kLayoutDpiProperty)));
}
}  // namespace

void SetLayoutDpi(HWND top_level, int dpi) {
    ++layout_dpi_changes;
    if (dpi > 0) {
        ::SetPropW(top_level, kLayoutDpiProperty,
                   reinterpret_cast<HANDLE>(static_cast<INT_PTR>(dpi)));
    } else {
        ::RemovePropW(top_level, kLayoutDpiProperty);
    }
}

int LayoutDpi(HWND hwnd) {
    const int recorded = RecordedLayoutDpi(hwnd);
    return recorded > 0 ? recorded : WindowDpi(hwnd);
}

int LayoutDpiCache::Get(HWND hwnd) {
    if (read_at_ != layout_dpi_changes) {
        recorded_ = RecordedLayoutDpi(hwnd);
        read_at_ = layout_dpi_changes;
    }
    return recorded_ > 0 ? recorded_ : WindowDpi(hwnd);
}

int SystemMetricAt(int index, int dpi) {
    using MetricForDpi = int(WINAPI*)(int, UINT);
    static const auto metric_for_dpi = User32Function<MetricForDpi>("GetSystemMetricsForDpi");
    if (metric_for_dpi)
        return metric_for_dpi(index, static_cast<UINT>(dpi));
    return ::MulDiv(::GetSystemMetrics(index), dpi, SystemDpi());
}

int WindowDpi(HWND hwnd) {
    static const auto window_dpi = User32Function<DpiOfWindow>("GetDpiForWindow");
    if (hwnd && window_dpi) {
        const UINT dpi = window_dpi(hwnd);
        if (dpi != 0)
            return Sane(dpi);
    }
    return SystemDpi();
}

}  // namespace vellumar::win32
