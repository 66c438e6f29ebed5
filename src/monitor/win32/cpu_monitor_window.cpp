#include "monitor/win32/cpu_monitor_window.h"

#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

std::string LocaleText(LCTYPE item, const char* fallback) {
    wchar_t buffer[16]{};
    const int length = ::GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, item, buffer, 16);
    return length > 1 ? Narrow(std::wstring_view(buffer, static_cast<std::size_t>(length - 1)))
                      : std::string(fallback);
}

}  // namespace

CpuMonitorWindow::CpuMonitorWindow(HWND parent, int x, int y, int width, int height,
                                   const PropertyBag& stored, TimerService& timers,
                                   ModuleCpuMonitorSupport& sampler,
                                   const std::string& instance_name, int control_id)
    : appearance_(stored.ReadInt16("Appearance", 1)),
      border_style_(stored.ReadInt16("BorderStyle", 1)),
      model_(*this, timers, sampler) {
    // SS_NOTIFY lets the pointer reach the window (double clicks); the
    // border is the saved one from the start, so the first inner size is the
    // one the history is laid out for.
    if (!Create(L"STATIC", 0, Widen(instance_name).c_str(),
                WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | SS_OWNERDRAW | SS_NOTIFY, x, y, width,
                height, parent, control_id)) {
        return;
    }
    ApplyBorder();
    model_.ReadProperties(stored);
    model_.Redraw();
}

// The window goes while the model and the picture still exist.
CpuMonitorWindow::~CpuMonitorWindow() {
    if (Handle())
        ::DestroyWindow(Handle());
}

LRESULT CpuMonitorWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            model_.UpdatePicture();
            PaintDc paint(Handle());
            const RECT& area = paint.Area();
            ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left,
                     area.bottom - area.top, surface_.Dc(), area.left, area.top, SRCCOPY);
            return 0;
        }
        case WM_PRINTCLIENT:
            model_.UpdatePicture();
            ::BitBlt(reinterpret_cast<HDC>(wparam), 0, 0, surface_.Width(), surface_.Height(),
                     surface_.Dc(), 0, 0, SRCCOPY);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_SIZE:
            SyncPictureSize();
            return 0;
        case WM_LBUTTONDBLCLK:
            model_.OnDoubleClick();
            return 0;
    }
    return SubclassedControl::HandleMessage(message, wparam, lparam);
}

void CpuMonitorWindow::SyncPictureSize() {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    const int dpi = LayoutDpi(Handle());
    if (client.right == surface_.Width() && client.bottom == surface_.Height() && dpi == dpi_)
        return;
    dpi_ = dpi;
    surface_.Resize(client.right, client.bottom);
    model_.OnResize();
}

void CpuMonitorWindow::ApplyBorder() {
    if (!Handle())
        return;
    LONG_PTR style = ::GetWindowLongPtrW(Handle(), GWL_STYLE) & ~static_cast<LONG_PTR>(WS_BORDER);
    LONG_PTR ex_style =
        ::GetWindowLongPtrW(Handle(), GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    if (border_style_ == 1) {
        if (appearance_ == 1) {
            ex_style |= WS_EX_CLIENTEDGE;
        } else {
            style |= WS_BORDER;
        }
    }
    ::SetWindowLongPtrW(Handle(), GWL_STYLE, style);
    ::SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex_style);
    ::SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                   SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SyncPictureSize();
}

// ---- CpuMonitorHost -----------------------------------------------------------

void CpuMonitorWindow::Refresh() {
    if (!Handle())
        return;
    ::InvalidateRect(Handle(), nullptr, FALSE);
    ::UpdateWindow(Handle());
}

bool CpuMonitorWindow::Showing() const {
    return Handle() != nullptr && ::IsWindowVisible(Handle()) != FALSE;
}

int CpuMonitorWindow::WidthTwips() const {
    RECT bounds{};
    if (Handle())
        ::GetWindowRect(Handle(), &bounds);
    return static_cast<int>(PixelsToTwipsAt(bounds.right - bounds.left, Dpi()) + 0.5);
}

void CpuMonitorWindow::SetAppearance(std::int16_t appearance) {
    appearance_ = appearance;
    ApplyBorder();
}

void CpuMonitorWindow::SetBorderStyle(std::int16_t border_style) {
    border_style_ = border_style;
    ApplyBorder();
}

void CpuMonitorWindow::SetSurfaceEnabled(bool enabled) {
    if (Handle())
        ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

bool CpuMonitorWindow::SurfaceEnabled() const {
    return Handle() != nullptr && ::IsWindowEnabled(Handle()) != FALSE;
}

std::uintptr_t CpuMonitorWindow::WindowHandle() const {
    return reinterpret_cast<std::uintptr_t>(Handle());
}

std::uintptr_t CpuMonitorWindow::DeviceContext() const {
    return reinterpret_cast<std::uintptr_t>(surface_.Dc());
}

NumberSeparators CpuMonitorWindow::Separators() const {
    return {LocaleText(LOCALE_STHOUSAND, ","), LocaleText(LOCALE_SDECIMAL, ".")};
}

}  // namespace vellumar::win32
