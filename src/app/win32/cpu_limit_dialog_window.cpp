#include "app/win32/cpu_limit_dialog_window.h"

#include <string>

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
    : form_(form), owner_(std::move(owner)), context_{fonts_, timers, [](int) {
                                                          return static_cast<HBITMAP>(nullptr);
                                                      }} {
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
    const std::vector<WORD> dialog = DialogTemplate(Widen(kCpuLimitDialogCaption));
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

void CpuLimitDialogWindow::OnInitDialog() {
    // The client area at its size, centred over the main window.
    RECT frame{0, 0, TwipsToPixels(kCpuLimitDialogWidthTwips),
               TwipsToPixels(kCpuLimitDialogHeightTwips)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrW(hwnd_, GWL_EXSTYLE)));
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    RECT centre_on{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (HWND owner = ::GetWindow(hwnd_, GW_OWNER); owner && ::IsWindowVisible(owner))
        ::GetWindowRect(owner, &centre_on);
    ::SetWindowPos(hwnd_, nullptr, (centre_on.left + centre_on.right - width) / 2,
                   (centre_on.top + centre_on.bottom - height) / 2, width, height,
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
            RouteScroll(lparam);
            return TRUE;
        case WM_CLOSE:
            // The close box leaves the table as it is, in either mode.
            form_.Unload();
            return TRUE;
        case WM_DESTROY:
            children_.clear();
            return FALSE;
    }
    return FALSE;
}

}  // namespace vellumar::win32
