#include "platform/win32/dpi.h"

#include <utility>
#include <vector>

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
// Windows are laid out on the GUI thread only. The scales are kept here, not
// as window properties: under Wine each property read is a round trip to the
// window server, and every child window asks when it is made or laid out.
unsigned layout_dpi_changes = 1;
std::vector<std::pair<HWND, int>> layout_dpis;

int RecordedLayoutDpi(HWND hwnd) {
    const HWND top = ::GetAncestor(hwnd, GA_ROOT);
    const HWND key = top ? top : hwnd;
    for (const auto& [window, dpi] : layout_dpis) {
        if (window == key)
            return dpi;
    }
    return 0;
}
}  // namespace

void SetLayoutDpi(HWND top_level, int dpi) {
    ++layout_dpi_changes;
    std::erase_if(layout_dpis, [top_level](const auto& entry) { return entry.first == top_level; });
    if (dpi > 0)
        layout_dpis.emplace_back(top_level, dpi);
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
