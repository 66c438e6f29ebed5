#include "platform/win32/dpi.h"

#include "platform/display_scale.h"
#include "platform/win32/window_table.h"

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
// Windows are laid out on the GUI thread only; each top-level window's scale
// is asked for whenever a child window is made or laid out.
unsigned layout_dpi_changes = 1;
WindowTable<int> layout_dpis;

int RecordedLayoutDpi(HWND hwnd) {
    const HWND top = ::GetAncestor(hwnd, GA_ROOT);
    const int* dpi = layout_dpis.Find(top ? top : hwnd);
    return dpi ? *dpi : 0;
}
}  // namespace

void SetLayoutDpi(HWND top_level, int dpi) {
    ++layout_dpi_changes;
    if (dpi > 0) {
        layout_dpis.Set(top_level, dpi);
    } else {
        layout_dpis.Erase(top_level);
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
