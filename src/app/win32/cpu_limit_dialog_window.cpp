#include "app/win32/cpu_limit_dialog_window.h"

#include <string>
#include <utility>

#include "app/command_instances.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/dpi.h"
#include "platform/win32/modal_loops.h"
#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

// Control ids: the dialog manager sends IDOK for Enter when no default
// button is set, and IDCANCEL for Esc and the close box.
constexpr int kIdModify = 3;
constexpr int kIdFree = 4;
constexpr int kFirstOtherId = 100;

int IdOf(const FormSetProcessCpuPercent& form, const Control* control) {
    if (control == &form.CommandOK)
        return IDOK;
    if (control == &form.CommandCancel)
        return IDCANCEL;
    if (control == &form.CommandModify)
        return kIdModify;
    if (control == &form.CommandFree)
        return kIdFree;
    return 0;
}

// An empty in-memory dialog template with the caption; the children are
// created from the portable form once the dialog exists.
std::vector<WORD> DialogTemplate(const std::wstring& caption) {
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD), 0);
    auto* header = reinterpret_cast<DLGTEMPLATE*>(words.data());
    header->style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    words.push_back(0);  // no menu
    words.push_back(0);  // the standard dialog class
    words.insert(words.end(), caption.begin(), caption.end());
    words.push_back(0);
    return words;
}

}  // namespace

CpuLimitDialogWindow::CpuLimitDialogWindow(FormSetProcessCpuPercent& form,
                                           std::function<HWND()> owner, TimerService& timers)
    : form_(form),
      owner_(std::move(owner)),
      context_{fonts_, timers, [](int) { return static_cast<HBITMAP>(nullptr); },
               FindCommandInstance} {
    form_.AttachHost(this);
}

CpuLimitDialogWindow::~CpuLimitDialogWindow() {
    form_.AttachHost(nullptr);
    if (hwnd_)
        ::DestroyWindow(hwnd_);
}

void CpuLimitDialogWindow::ShowModal() {
    if (hwnd_)
        return;
    UseCommonControls();
    const std::vector<WORD> dialog = DialogTemplate(Widen(kCpuLimitDialogCaption));
    const ScopedFocusReturn focus;  // back to Limit or the list afterwards
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                              reinterpret_cast<const DLGTEMPLATE*>(dialog.data()), owner_(),
                              &CpuLimitDialogWindow::DialogProc, reinterpret_cast<LPARAM>(this));
}

void CpuLimitDialogWindow::Close() {
    if (hwnd_)
        ::EndDialog(hwnd_, 0);
}

void CpuLimitDialogWindow::PaintBackground(HDC dc, const RECT& area) {
    RECT r{0, 0, area.right - area.left, area.bottom - area.top};
    ::FillRect(dc, &r, ::GetSysColorBrush(COLOR_BTNFACE));
}

INT_PTR CALLBACK CpuLimitDialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wparam,
                                                  LPARAM lparam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<CpuLimitDialogWindow*>(lparam);
        ::SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
        self->hwnd_ = hwnd;
        self->OnInitDialog();
        return TRUE;  // the focus goes to the first tab stop, the slider
    }
    auto* self = reinterpret_cast<CpuLimitDialogWindow*>(::GetWindowLongPtrW(hwnd, DWLP_USER));
    if (!self)
        return FALSE;
    if (message == WM_NCDESTROY) {
        self->hwnd_ = nullptr;
        return FALSE;
    }
    return self->HandleMessage(message, wparam, lparam);
}

// The outer size of the dialog whose client area is the form's at `dpi`,
// with the frame the window has now: the system has already made it for
// the scale when it announces a change, and draws it at its own scale where
// it cannot scale it per window.
SIZE CpuLimitDialogWindow::FrameSize(int dpi) const {
    RECT window{};
    RECT client{};
    ::GetWindowRect(hwnd_, &window);
    ::GetClientRect(hwnd_, &client);
    return SIZE{TwipsToPixelsAt(kCpuLimitDialogWidthTwips, dpi) + (window.right - window.left) -
                    client.right,
                TwipsToPixelsAt(kCpuLimitDialogHeightTwips, dpi) + (window.bottom - window.top) -
                    client.bottom};
}

// The scale the children are laid out at and the fonts made for it; the
// fonts of the old scale stay until every child has its new one.
void CpuLimitDialogWindow::UseScale(int dpi) {
    SetLayoutDpi(hwnd_, dpi);
    const FontCache retired = std::exchange(fonts_, FontCache(dpi));
    for (const auto& child : children_) child->Relayout();
    ::RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void CpuLimitDialogWindow::OnInitDialog() {
    // Laid out at the scale of the main window it opens over, centred on it.
    const HWND owner = ::GetWindow(hwnd_, GW_OWNER);
    const int dpi = owner ? LayoutDpi(owner) : WindowDpi(hwnd_);
    SetLayoutDpi(hwnd_, dpi);
    fonts_ = FontCache(dpi);
    const SIZE size = FrameSize(dpi);
    RECT centre_on{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (owner && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &centre_on);
    ::SetWindowPos(hwnd_, nullptr, (centre_on.left + centre_on.right - size.cx) / 2,
                   (centre_on.top + centre_on.bottom - size.cy) / 2, size.cx, size.cy,
                   SWP_NOZORDER | SWP_NOACTIVATE);

    int other_id = kFirstOtherId;
    for (Control* control : form_.Controls()) {
        const int id = IdOf(form_, control);
        if (auto window = CreateChildWindow(*control, hwnd_, *this, context_, id ? id : other_id++))
            children_.push_back(std::move(window));
    }
    ::SendMessageW(hwnd_, DM_SETDEFID, static_cast<WPARAM>(IdOf(form_, form_.DefaultButton())), 0);
    if (onShown)
        onShown(hwnd_);
}

void CpuLimitDialogWindow::OnCommand(int id) {
    PushButton* button = nullptr;
    if (id == IDOK) {
        button = form_.DefaultButton();
    } else if (id == IDCANCEL) {
        button = form_.CancelButton();
    } else if (id == kIdModify) {
        button = &form_.CommandModify;
    } else if (id == kIdFree) {
        button = &form_.CommandFree;
    }
    // A hidden button is never pressed, by Enter, Esc or otherwise.
    if (button && button->Visible())
        button->UserClick();
}

INT_PTR CpuLimitDialogWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wparam));
            return TRUE;
        case WM_HSCROLL:
            RouteToChild(message, wparam, lparam);
            return TRUE;
        case WM_CLOSE:
            // The close box leaves the table as it is, in either mode.
            form_.Unload();
            return TRUE;
        // Moved to a monitor of another scale: the client area keeps its
        // size in twips at the suggested place.
        case WM_DPICHANGED: {
            const int dpi = HIWORD(wparam);
            const auto* suggested = reinterpret_cast<const RECT*>(lparam);
            const SIZE size = FrameSize(dpi);
            ::SetWindowPos(hwnd_, nullptr, suggested ? suggested->left : 0,
                           suggested ? suggested->top : 0, size.cx, size.cy,
                           (suggested ? 0 : SWP_NOMOVE) | SWP_NOZORDER | SWP_NOACTIVATE);
            UseScale(dpi);
            return TRUE;
        }
        case WM_DESTROY:
            children_.clear();
            SetLayoutDpi(hwnd_, 0);
            return FALSE;
    }
    return FALSE;
}

}  // namespace vellumar::win32
