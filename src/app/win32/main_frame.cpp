#include "app/win32/main_frame.h"

#include <windowsx.h>

#include <cmath>
#include <utility>

#include "app/artwork.h"
#include "app/window_pictures.h"
#include "platform/win32/dpi.h"
#include "platform/win32/modal_loops.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

MouseButton ButtonOf(UINT message) {
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONUP:
            return MouseButton::Left;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
            return MouseButton::Right;
        default:
            return MouseButton::Middle;
    }
}

MouseButton HeldButtons(WPARAM keys) {
    int held = 0;
    if (keys & MK_LBUTTON)
        held |= static_cast<int>(MouseButton::Left);
    if (keys & MK_RBUTTON)
        held |= static_cast<int>(MouseButton::Right);
    if (keys & MK_MBUTTON)
        held |= static_cast<int>(MouseButton::Middle);
    return static_cast<MouseButton>(held);
}

}  // namespace

MainFrame::MainFrame(MainWindow& form, TimerService& timers, ModuleCpuMonitorSupport& sampler)
    : form_(form),
      context_(ProgramViewContext(
          fonts_, timers, [this](int id) { return Picture(id); }, sampler)) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    big_icon_.Reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                    ::GetSystemMetrics(SM_CXICON),
                                                    ::GetSystemMetrics(SM_CYICON), 0)));
    small_icon_.Reset(static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                      ::GetSystemMetrics(SM_CXSMICON),
                                                      ::GetSystemMetrics(SM_CYSMICON), 0)));
    WindowClassSpec window_class{kMainWindowClass};
    window_class.style = CS_DBLCLKS;
    window_class.icon = big_icon_.Get();
    window_class.small_icon = small_icon_.Get();
    // A popup without caption or border; the system menu and minimise box
    // give the taskbar button its minimise, restore and close commands.
    Create(window_class, WS_EX_APPWINDOW, Widen(kProgramTitle).c_str(),
           WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, CW_USEDEFAULT, CW_USEDEFAULT,
           TwipsToPixels(kWindowWidthTwips), TwipsToPixels(kWindowHeightTwips), nullptr);
    ScaleTo(WindowDpi(Handle()));
    exit_request_message_ = ::RegisterWindowMessageW(kExitRequestMessage);
    // Let the request through from a less privileged process too (an
    // installer run by the user while the program runs elevated).
    ::ChangeWindowMessageFilterEx(Handle(), exit_request_message_, MSGFLT_ALLOW, nullptr);

    // The list runs from bottom to top. A new child window goes below its
    // siblings, so making them from the end of the list stacks them so
    // without moving any afterwards.
    const std::vector<Control*>& controls = form_.WindowControls();
    children_.resize(controls.size());
    for (std::size_t i = controls.size(); i-- > 0;) {
        children_[i] =
            CreateChildWindow(*controls[i], Handle(), *this, context_, static_cast<int>(i) + 1);
    }
    form_.AttachHost(this);
}

MainFrame::~MainFrame() {
    form_.AttachHost(nullptr);
    children_.clear();
}

void MainFrame::ScaleTo(int dpi, const RECT* suggested) {
    SetLayoutDpi(Handle(), dpi);
    // Windows keep the fonts of the old scale until each has its new one.
    const FontCache retired = std::exchange(fonts_, FontCache(dpi));
    // Skin and pictures are drawn for this scale, the size of the client
    // area and of each picture's place, and only ever copied opaquely: 24
    // bits are enough.
    skin_ = RunLengthPicture(artwork::Skin(dpi));
    for (int id = 0; id < kPictureCount; ++id) {
        pictures_[static_cast<std::size_t>(id)] = OpaqueBitmapFromPixels(WindowPicture(id, dpi));
    }
    // The runs and bitmaps hold all the window needs: no second copy of the
    // skin.
    artwork::ForgetSkin();
    // Borderless: the window is its client area. A move to a monitor of
    // another scale suggests where it goes; its size is its own.
    ::SetWindowPos(Handle(), nullptr, suggested ? suggested->left : 0,
                   suggested ? suggested->top : 0, TwipsToPixelsAt(kWindowWidthTwips, dpi),
                   TwipsToPixelsAt(kWindowHeightTwips, dpi),
                   (suggested ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
    for (const auto& child : children_) child->Relayout();
    // At start the icons come once the window is up (ShowAfterLoad).
    if (icons_shown_)
        window_icons_.ShowOn(Handle(), dpi);
    ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
}

HBITMAP MainFrame::Picture(int id) const {
    if (id < 0 || id >= kPictureCount)
        return nullptr;
    return pictures_[static_cast<std::size_t>(id)].Get();
}

void MainFrame::ShowAfterLoad() {
    if (show_after_load_) {
        ::ShowWindow(Handle(), SW_SHOW);
        ::UpdateWindow(Handle());
    }
    // The title-bar and taskbar icons are not needed to show the window:
    // drawn and handed to the system once it is on screen.
    if (!icons_shown_) {
        icons_shown_ = true;
        window_icons_.ShowOn(Handle(), fonts_.Dpi());
    }
}

void MainFrame::HideWindow() {
    show_after_load_ = false;
    ::ShowWindow(Handle(), SW_HIDE);
}

bool MainFrame::WindowShown() {
    return ::IsWindowVisible(Handle()) != FALSE;
}

void MainFrame::SetTopmost(bool topmost) {
    ::SetWindowPos(Handle(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE);
}

void MainFrame::RequestMinimise() {
    ::SendMessageW(Handle(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void MainFrame::BeginCaptionDrag() {
    ::ReleaseCapture();
    ::SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void MainFrame::MoveWindowTwips(double left, double top) {
    const double pixels_per_twip = static_cast<double>(fonts_.Dpi()) / kTwipsPerInch;
    ::SetWindowPos(Handle(), nullptr, static_cast<int>(std::lround(left * pixels_per_twip)),
                   static_cast<int>(std::lround(top * pixels_per_twip)), 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainFrame::ScreenSizeTwips(double& width, double& height) {
    width = PixelsToTwipsAt(::GetSystemMetrics(SM_CXSCREEN), fonts_.Dpi());
    height = PixelsToTwipsAt(::GetSystemMetrics(SM_CYSCREEN), fonts_.Dpi());
}

void MainFrame::PaintBackground(HDC dc, const RECT& area) {
    skin_painter_.Paint(dc, 0, 0, skin_, area);
    for (Control* control : form_.WindowControls()) {
        auto* image = dynamic_cast<Image*>(control);
        if (!image || !image->Visible())
            continue;
        const RECT r = PixelRect(image->Bounds(), fonts_.Dpi());
        RECT overlap{};
        if (!::IntersectRect(&overlap, &r, &area))
            continue;
        BlitBitmap(dc, overlap.left - area.left, overlap.top - area.top,
                   overlap.right - overlap.left, overlap.bottom - overlap.top,
                   Picture(image->Picture()), overlap.left - r.left, overlap.top - r.top);
    }
}

void MainFrame::Paint() {
    PaintDc paint(Handle());
    const RECT& area = paint.Area();
    skin_painter_.Paint(paint.Get(), area.left, area.top, skin_, area);
}

Image* MainFrame::ImageAt(POINT pt) const {
    const auto& controls = form_.WindowControls();
    for (auto it = controls.rbegin(); it != controls.rend(); ++it) {
        auto* image = dynamic_cast<Image*>(*it);
        if (!image || !image->Visible())
            continue;
        const RECT r = PixelRect(image->Bounds(), fonts_.Dpi());
        if (::PtInRect(&r, pt))
            return image;
    }
    return nullptr;
}

void MainFrame::OnButtonDown(MouseButton button, POINT pt) {
    Image* image = captured_ ? captured_ : ImageAt(pt);
    if (!image)
        return;
    captured_ = image;
    held_buttons_ |= static_cast<int>(button);
    ::SetCapture(Handle());
    if (image->onMouseDown)
        image->onMouseDown(button);
}

void MainFrame::OnButtonUp(MouseButton button, POINT pt) {
    Image* image = captured_;
    if (!image)
        return;
    held_buttons_ &= ~static_cast<int>(button);
    if (held_buttons_ == 0) {
        captured_ = nullptr;
        ::ReleaseCapture();
    }
    if (image->onMouseUp)
        image->onMouseUp(button);
    const RECT r = PixelRect(image->Bounds(), fonts_.Dpi());
    if (button == MouseButton::Left && ::PtInRect(&r, pt) && image->onClick)
        image->onClick();
}

void MainFrame::OnMouseMove(WPARAM keys, POINT pt) {
    Image* image = captured_ ? captured_ : ImageAt(pt);
    if (image) {
        if (image->onMouseMove)
            image->onMouseMove(HeldButtons(keys));
    } else {
        form_.Form_MouseMove();
    }
}

namespace {

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK) ||
           message == WM_CAPTURECHANGED;
}

}  // namespace

// The pointer over the window: the images are hit-tested here like
// windowless pictures.
LRESULT MainFrame::HandleMouseMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    const POINT pt{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
            OnButtonDown(ButtonOf(message == WM_LBUTTONDBLCLK   ? WM_LBUTTONDOWN
                                  : message == WM_RBUTTONDBLCLK ? WM_RBUTTONDOWN
                                  : message == WM_MBUTTONDBLCLK ? WM_MBUTTONDOWN
                                                                : message),
                         pt);
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            OnButtonUp(ButtonOf(message), pt);
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove(wparam, pt);
            return 0;
        case WM_CAPTURECHANGED:
            if (reinterpret_cast<HWND>(lparam) != Handle()) {
                captured_ = nullptr;
                held_buttons_ = 0;
            }
            return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

LRESULT MainFrame::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (IsMouseMessage(message))
        return HandleMouseMessage(message, wparam, lparam);
    if (message == exit_request_message_ && message != 0) {
        if (onExitRequest)
            onExitRequest();
        return 0;
    }
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_COMMAND:
            RouteToChild(message, wparam, lparam);
            return 0;
        case WM_CLOSE:
            form_.Form_PlatformClose();
            return 0;
        case WM_QUERYENDSESSION:
            // The session may end once every program has answered: no menu
            // or box of ours may outlive the answer.
            EndModalLoops();
            return TRUE;
        case WM_ENDSESSION:
            if (wparam && onEndSession)
                onEndSession();
            return 0;
        case WM_DPICHANGED:
            icons_shown_ = true;
            ScaleTo(HIWORD(wparam), reinterpret_cast<const RECT*>(lparam));
            return 0;
        case WM_DESTROY:
            SetLayoutDpi(Handle(), 0);
            ::PostQuitMessage(0);
            return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

}  // namespace vellumar::win32
