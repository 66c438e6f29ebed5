#include "controls/win32/command_button_window.h"

#include <cmath>
#include <utility>

#include "controls/win32/command_accessible.h"
#include "platform/win32/dpi.h"
#include "platform/win32/handles.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

std::int16_t ShiftState() {
    std::int16_t shift = 0;
    if (::GetKeyState(VK_SHIFT) < 0)
        shift |= command_input::kShiftMask;
    if (::GetKeyState(VK_CONTROL) < 0)
        shift |= command_input::kCtrlMask;
    if (::GetKeyState(VK_MENU) < 0)
        shift |= command_input::kAltMask;
    return shift;
}

std::int16_t ButtonsHeld(WPARAM wparam) {
    std::int16_t buttons = 0;
    if (wparam & MK_LBUTTON)
        buttons |= command_input::kLeftButton;
    if (wparam & MK_RBUTTON)
        buttons |= command_input::kRightButton;
    if (wparam & MK_MBUTTON)
        buttons |= command_input::kMiddleButton;
    return buttons;
}

// Client coordinates of a mouse message: signed, since a captured pointer
// may be left of or above the window.
int XPx(LPARAM lparam) {
    return static_cast<short>(LOWORD(lparam));
}
int YPx(LPARAM lparam) {
    return static_cast<short>(HIWORD(lparam));
}
float XOf(LPARAM lparam) {
    return static_cast<float>(XPx(lparam));
}
float YOf(LPARAM lparam) {
    return static_cast<float>(YPx(lparam));
}

}  // namespace

CommandButtonWindow::CommandButtonWindow(HWND parent, int x, int y, int width, int height,
                                         const PropertyBag& stored, TimerService& timers,
                                         std::string instance_name, int control_id)
    : model_(*this, timers, std::move(instance_name)) {
    // Owner-drawn keeps the button class from painting a face of its own; the
    // subclass paints everything, so the parent never has to draw it.
    const std::wstring text = Widen(model_.Caption());
    if (!Create(L"BUTTON", 0, text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_OWNERDRAW, x, y,
                width, height, parent, control_id)) {
        return;
    }
    model_.ReadProperties(stored);
    // The creation-time WM_SIZE reached the button class before the subclass.
    RECT client{};
    ::GetClientRect(Handle(), &client);
    surface_.Resize(client.right, client.bottom);
    model_.OnResize();
}

CommandButtonWindow::CommandButtonWindow(HWND parent, const CommandInstance& instance, int x, int y,
                                         TimerService& timers, int control_id)
    : CommandButtonWindow(parent, x, y, instance.width_px, instance.height_px,
                          StoredCommandProperties(instance), timers, std::string(instance.name),
                          control_id) {}

// The window goes while the model and the picture still exist: the messages
// of its destruction (focus loss among them) may still paint.
CommandButtonWindow::~CommandButtonWindow() {
    if (Handle())
        ::DestroyWindow(Handle());
}

// ---- Messages ------------------------------------------------------------------

LRESULT CommandButtonWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_PRINTCLIENT:
            ::BitBlt(reinterpret_cast<HDC>(wparam), 0, 0, surface_.Width(), surface_.Height(),
                     surface_.Dc(), 0, 0, SRCCOPY);
            return 0;
        case WM_ERASEBKGND:
            return 1;
        // A move to another display scale resizes the window: the caption's
        // font follows the scale before the face is drawn again.
        case WM_SIZE:
            surface_.Resize(LOWORD(lparam), HIWORD(lparam));
            if (Dpi() != font_dpi_)
                ApplyFont(model_.Font());
            model_.OnResize();
            return 0;

        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_RBUTTONUP:
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
        case WM_MBUTTONUP:
            return OnMouseButton(message, lparam);
        case WM_MOUSEMOVE:
            model_.OnMouseMove(ButtonsHeld(wparam), ShiftState(), XOf(lparam), YOf(lparam));
            return 0;
        case WM_CAPTURECHANGED:
            click_armed_ = false;
            return 0;

        default:
            return HandleKeyMessage(message, wparam, lparam);
    }
}

// Keys, the dialog manager's button messages and assistive tools' default
// action.
LRESULT CommandButtonWindow::HandleKeyMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_KEYDOWN:
            model_.OnKeyDown(static_cast<std::int16_t>(wparam), ShiftState());
            return 0;
        case WM_KEYUP:
            model_.OnKeyUp(static_cast<std::int16_t>(wparam), ShiftState());
            return 0;
        case WM_CHAR:
            model_.OnKeyPress(static_cast<std::int16_t>(wparam));
            return 0;
        case WM_SYSCHAR:
            // The model lower-cases the typed key as it did the caption's.
            if (model_.IsAccessKey(static_cast<char32_t>(LOWORD(wparam)))) {
                model_.OnAccessKeyPress();
                return 0;
            }
            return CallControlProc(message, wparam, lparam);
        // The dialog manager's mnemonic and assistive tools' default action
        // both arrive here.
        case BM_CLICK:
            model_.OnAccessKeyPress();
            return 0;
        case WM_GETDLGCODE:
            return DLGC_BUTTON | DLGC_WANTARROWS |
                   (model_.DisplayAsDefault() ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
        // The dialog manager marks its default push button this way; the
        // style itself stays owner-drawn.
        case BM_SETSTYLE:
            model_.SetDisplayAsDefault((wparam & BS_TYPEMASK) == BS_DEFPUSHBUTTON);
            return 0;
        case BM_SETSTATE:
        case BM_SETCHECK:
            return 0;
        default:
            return HandleStateMessage(message, wparam, lparam);
    }
}

// Focus, enabled state, caption and the accessible object.
LRESULT CommandButtonWindow::HandleStateMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    const HWND hwnd = Handle();
    switch (message) {
        case WM_SETFOCUS:
            model_.OnGotFocus();
            return 0;
        case WM_KILLFOCUS:
            if (::GetCapture() == hwnd)
                ::ReleaseCapture();
            model_.OnLostFocus();
            return 0;
        case WM_ENABLE:
            if ((wparam != 0) != model_.Enabled())
                model_.SetEnabled(wparam != 0);
            return 0;
        case WM_SETTEXT:
            model_.SetCaption(Narrow(reinterpret_cast<const wchar_t*>(lparam)));
            return TRUE;
        case WM_UPDATEUISTATE:
            return ::DefWindowProcW(hwnd, message, wparam, lparam);
        case WM_GETOBJECT:
            if (static_cast<LONG>(lparam) == OBJID_CLIENT) {
                if (const LRESULT result = CommandAccessibleResult(hwnd, wparam))
                    return result;
            }
            return CallControlProc(message, wparam, lparam);
        default:
            return CallControlProc(message, wparam, lparam);
    }
}

// A click is a left press and release both on the window; the release
// completes it only while the pointer is still inside. A double click's
// second press is a press again (and its release clicks nothing).
LRESULT CommandButtonWindow::OnMouseButton(UINT message, LPARAM lparam) {
    const HWND hwnd = Handle();
    const std::int16_t shift = ShiftState();
    const float x = XOf(lparam);
    const float y = YOf(lparam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            if (::GetFocus() != hwnd)
                ::SetFocus(hwnd);
            ::SetCapture(hwnd);
            click_armed_ = message == WM_LBUTTONDOWN;
            if (message == WM_LBUTTONDOWN) {
                model_.OnMouseDown(command_input::kLeftButton, shift, x, y);
            } else {
                model_.OnDoubleClick();
            }
            return 0;
        case WM_LBUTTONUP: {
            const bool armed = click_armed_;
            click_armed_ = false;
            if (::GetCapture() == hwnd)
                ::ReleaseCapture();
            RECT client{};
            ::GetClientRect(hwnd, &client);
            const POINT at{XPx(lparam), YPx(lparam)};
            const bool inside = ::PtInRect(&client, at) != FALSE;
            model_.OnMouseUp(command_input::kLeftButton, shift, x, y);
            // Last: a Click handler may close the form and destroy this object.
            if (armed && inside)
                model_.OnClick();
            return 0;
        }
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
            model_.OnMouseDown(command_input::kRightButton, shift, x, y);
            return 0;
        case WM_RBUTTONUP:
            model_.OnMouseUp(command_input::kRightButton, shift, x, y);
            return 0;
        case WM_MBUTTONDOWN:
        case WM_MBUTTONDBLCLK:
            model_.OnMouseDown(command_input::kMiddleButton, shift, x, y);
            return 0;
        case WM_MBUTTONUP:
            model_.OnMouseUp(command_input::kMiddleButton, shift, x, y);
            return 0;
        default:
            return 0;
    }
}

void CommandButtonWindow::OnPaint() {
    PaintDc paint(Handle());
    const RECT& area = paint.Area();
    ::BitBlt(paint.Get(), area.left, area.top, area.right - area.left, area.bottom - area.top,
             surface_.Dc(), area.left, area.top, SRCCOPY);
}

// ---- CommandHost --------------------------------------------------------------

void CommandButtonWindow::SurfaceChanged() {
    if (Handle())
        ::InvalidateRect(Handle(), nullptr, FALSE);
}

void CommandButtonWindow::Refresh() {
    if (Handle())
        ::UpdateWindow(Handle());
}

SizePx CommandButtonWindow::ClientSize() const {
    RECT client{};
    if (Handle())
        ::GetClientRect(Handle(), &client);
    return {client.right, client.bottom};
}

void CommandButtonWindow::SetWindowEnabled(bool enabled) {
    if (Handle())
        ::EnableWindow(Handle(), enabled ? TRUE : FALSE);
}

// The surface keeps the font; the window is told of it so that WM_GETFONT
// answers, without letting the button class redraw.
void CommandButtonWindow::SetWindowFont(const FontSpec& font) {
    ApplyFont(font);
}

void CommandButtonWindow::ApplyFont(const FontSpec& font) {
    font_dpi_ = Dpi();
    surface_.SetFont(font, font_dpi_);
    if (Handle())
        CallControlProc(WM_SETFONT, reinterpret_cast<WPARAM>(surface_.Font()), FALSE);
}

FontSpec CommandButtonWindow::WindowFont() const {
    HFONT font =
        Handle() ? reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0)) : nullptr;
    return FontSpecOf(font, font_dpi_);
}

// The container's fonts are made for the scale it is laid out at.
FontSpec CommandButtonWindow::AmbientFont() const {
    const HWND parent = Handle() ? ::GetParent(Handle()) : nullptr;
    HFONT font =
        parent ? reinterpret_cast<HFONT>(::SendMessageW(parent, WM_GETFONT, 0, 0)) : nullptr;
    return FontSpecOf(font, parent ? LayoutDpi(parent) : kStandardDpi);
}

int CommandButtonWindow::Dpi() const {
    return Handle() ? LayoutDpi(Handle()) : kStandardDpi;
}

// The window owns the region once SetWindowRgn accepts it.
void CommandButtonWindow::SetWindowRegion(const WindowShape& shape) {
    if (!Handle())
        return;
    UniqueRegion region(::CreateRectRgn(0, 0, shape.width, shape.height));
    if (!region)
        return;
    for (const Rect& cut : shape.cutouts) {
        UniqueRegion piece(::CreateRectRgn(cut.left, cut.top, cut.right, cut.bottom));
        if (piece)
            ::CombineRgn(region.Get(), region.Get(), piece.Get(), RGN_DIFF);
    }
    if (::SetWindowRgn(Handle(), region.Get(), TRUE))
        (void)region.Release();
}

// Set past the button class, which would paint a face of its own.
void CommandButtonWindow::SetWindowCaption(std::string_view caption) {
    if (!Handle())
        return;
    const std::wstring text = Widen(caption);
    ::DefWindowProcW(Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

PointPx CommandButtonWindow::CursorClientPosition() const {
    POINT p{};
    if (!::GetCursorPos(&p) || !Handle())
        return {-1, -1};
    ::ScreenToClient(Handle(), &p);
    return {p.x, p.y};
}

// Focus moves among the tab stops of the button's own container, whatever
// window happens to be active.
void CommandButtonWindow::MoveFocus(bool forward) {
    const HWND hwnd = Handle();
    const HWND container = hwnd ? ::GetParent(hwnd) : nullptr;
    if (!container)
        return;
    // A dialog moves its own focus, keeping its default push button right.
    wchar_t class_name[8] = {};
    ::GetClassNameW(container, class_name, 8);
    if (lstrcmpW(class_name, L"#32770") == 0) {
        ::SendMessageW(container, WM_NEXTDLGCTL, forward ? 0 : 1, FALSE);
        return;
    }
    const HWND next = ::GetNextDlgTabItem(container, hwnd, forward ? FALSE : TRUE);
    if (next && next != hwnd)
        ::SetFocus(next);
}

ColorRef CommandButtonWindow::SystemColor(SystemColorIndex index) const {
    int platform_index = COLOR_BTNFACE;
    switch (index) {
        case SystemColorIndex::kBtnFace:
            platform_index = COLOR_BTNFACE;
            break;
        case SystemColorIndex::kBtnText:
            platform_index = COLOR_BTNTEXT;
            break;
        case SystemColorIndex::kBtnShadow:
            platform_index = COLOR_BTNSHADOW;
            break;
        case SystemColorIndex::k3DLight:
            platform_index = COLOR_3DLIGHT;
            break;
        case SystemColorIndex::k3DDkShadow:
            platform_index = COLOR_3DDKSHADOW;
            break;
        case SystemColorIndex::kBtnHighlight:
            platform_index = COLOR_BTNHIGHLIGHT;
            break;
    }
    return static_cast<ColorRef>(::GetSysColor(platform_index));
}

std::uintptr_t CommandButtonWindow::WindowHandle() const {
    return reinterpret_cast<std::uintptr_t>(Handle());
}

}  // namespace vellumar::win32
