#include "shell/win32/tray_menu_win32.h"

#include <shellapi.h>

#include "platform/win32/text.h"

namespace vellumar::win32 {

namespace {

UINT CommandIdOf(std::size_t position) {
    return static_cast<UINT>(position + 1);
}

}  // namespace

TrayMenuForm::~TrayMenuForm() {
    Unload();
}

void TrayMenuForm::Load() {
    if (Handle())
        return;
    WindowClassSpec window_class{kFormMenuClass};
    // Never shown; as a tool window it would not get a taskbar button even
    // if something showed it.
    Create(window_class, WS_EX_TOOLWINDOW, Widen(kFormMenuCaption).c_str(), WS_POPUP, 0, 0, 0, 0,
           nullptr);
    UniqueMenu bar(::CreateMenu());
    UniqueMenu popup(::CreatePopupMenu());
    if (!bar || !popup)
        return;
    for (std::size_t i = 0; i < kTrayMenuItems.size(); ++i) {
        const TrayMenuItemSpec& spec_item = kTrayMenuItems[i];
        if (IsSeparator(spec_item)) {
            ::AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr);
        } else {
            ::AppendMenuW(popup.Get(), MF_STRING, CommandIdOf(i), Widen(spec_item.caption).c_str());
        }
    }
    // Once appended, the popup belongs to the bar, which destroys it with
    // itself; until then (and when the append fails) it is popup's own.
    if (!::AppendMenuW(bar.Get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.Get()),
                       Widen(kTrayMenuEntryCaption).c_str())) {
        return;
    }
    (void)popup.Release();
    menu_ = std::move(bar);
}

bool TrayMenuForm::Shown() {
    return Handle() && ::IsWindowVisible(Handle());
}

void TrayMenuForm::SetForeground() {
    if (Handle())
        ::SetForegroundWindow(Handle());
}

void TrayMenuForm::PopupAtCursor() {
    if (!Handle() || !menu_)
        return;
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::TrackPopupMenuEx(PopupMenu(), TPM_LEFTALIGN | TPM_TOPALIGN, cursor.x, cursor.y, Handle(),
                       nullptr);
    // Without a message after it, a popup menu opened from a notification
    // icon does not close when the user clicks elsewhere the next time.
    ::PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TrayMenuForm::Unload() {
    if (HWND window = Handle())
        ::DestroyWindow(window);
    menu_.Reset();
}

LRESULT TrayMenuForm::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_COMMAND && HIWORD(wparam) == 0) {
        const UINT id = LOWORD(wparam);
        if (id >= 1 && id <= kTrayMenuItems.size() && !IsSeparator(kTrayMenuItems[id - 1])) {
            if (onItem)
                onItem(kTrayMenuItems[id - 1].item);
            return 0;
        }
    }
    return Window::HandleMessage(message, wparam, lparam);
}

void ShellWebPages::Open(const std::string& url) {
    ::ShellExecuteW(owner_ ? owner_() : nullptr, L"open", Widen(url).c_str(), nullptr, nullptr,
                    SW_SHOWNORMAL);
}

}  // namespace vellumar::win32
