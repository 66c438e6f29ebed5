#include "platform/win32/icon_metrics.h"

#include <windows.h>

#include "platform/win32/dpi.h"

namespace vellumar::win32 {

namespace {

using MetricForDpi = int(WINAPI*)(int, UINT);

// Windows 10 version 1607 and later; looked up at run time.
MetricForDpi SystemMetricsForDpi() {
    static const auto function = [] {
        HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
        return user32 ? reinterpret_cast<MetricForDpi>(reinterpret_cast<void*>(
                            ::GetProcAddress(user32, "GetSystemMetricsForDpi")))
                      : nullptr;
    }();
    return function;
}

int IconPixels(int metric, int dpi, int pixels96) {
    if (const MetricForDpi for_dpi = SystemMetricsForDpi()) {
        const int pixels = for_dpi(metric, static_cast<UINT>(dpi));
        if (pixels > 0)
            return pixels;
    }
    const int system_pixels = ::GetSystemMetrics(metric);
    if (system_pixels <= 0)
        return ::MulDiv(pixels96, dpi, 96);
    return ::MulDiv(system_pixels, dpi, SystemDpi());
}

}  // namespace

int SmallIconPixels(int dpi) {
    return IconPixels(SM_CXSMICON, dpi, 16);
}

int LargeIconPixels(int dpi) {
    return IconPixels(SM_CXICON, dpi, 32);
}

}  // namespace vellumar::win32
