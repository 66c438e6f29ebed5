#pragma once
// FormMenu's window on Win32: a hidden top-level window (class "FormMenu",
// caption "Vellumar") that owns the menu m_Menu, whose submenu is the popup.
// TrackPopupMenuEx sends the chosen item to this window as WM_COMMAND, with
// the item's position (1 to 10) as its command id, and onItem takes it on.

#include <windows.h>

#include <functional>

#include "platform/win32/handles.h"
#include "platform/win32/window_base.h"
#include "shell/tray_menu.h"

namespace vellumar::win32 {

inline constexpr wchar_t kFormMenuClass[] = L"FormMenu";

class TrayMenuForm : public Window, public TrayMenuWindow {
  public:
    TrayMenuForm() = default;
    ~TrayMenuForm() override;

    std::function<void(TrayMenuItem)> onItem;

    void Load() override;
    bool Shown() override;
    void SetForeground() override;
    void PopupAtCursor() override;
    void Unload() override;

    // The submenu of m_Menu that pops up; null while not loaded.
    HMENU PopupMenu() const { return menu_ ? ::GetSubMenu(menu_.Get(), 0) : nullptr; }

  private:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    UniqueMenu menu_;  // m_Menu; destroying it destroys its submenu
};

// Opens web pages with the user's browser (ShellExecuteW "open").
class ShellWebPages : public WebPages {
  public:
    explicit ShellWebPages(std::function<HWND()> owner) : owner_(std::move(owner)) {}
    void Open(const std::string& url) override;

  private:
    std::function<HWND()> owner_;
};

}  // namespace vellumar::win32
