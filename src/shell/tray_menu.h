#pragma once
// FormMenu: the hidden form that carries the notification icon's popup menu,
// and the program's shutdown.
//
// The menu has ten items: the six pages of the main window, a separator,
// "Home Page", a separator and "Exit". A page item shows the main window and
// selects its page; "Home Page" opens the product's home page in the user's
// browser; "Exit" runs ProgramShutdown, which is also what the end of the
// user's session runs, so the program never leaves an icon behind.
//
// The hook (shell/window_hook.h) opens the menu on the icon's right button.
// The Win32 layer (shell/win32/tray_menu_win32.h) is FormMenu's window: it
// owns the menu, pops it up and turns the chosen item into m_Click.

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/product.h"
#include "shell/tray_main_window.h"

namespace vellumar {

enum class TrayMenuItem { State, Process, CPU, Memory, Setting, About, S1, HomePage, S2, Exit };

struct TrayMenuItemSpec {
    TrayMenuItem item;
    std::string_view name;
    std::string_view caption;  // "-" for a separator
};

// The items of the popup menu, top to bottom.
inline constexpr std::array<TrayMenuItemSpec, 10> kTrayMenuItems = {{
    {TrayMenuItem::State, "m_State", "State"},
    {TrayMenuItem::Process, "m_Process", "More process priority"},
    {TrayMenuItem::CPU, "m_CPU", "Process CPU usage limit"},
    {TrayMenuItem::Memory, "m_Memory", "Intelligent release memory"},
    {TrayMenuItem::Setting, "m_Setting", "Setting"},
    {TrayMenuItem::About, "m_About", "About"},
    {TrayMenuItem::S1, "m_S1", "-"},
    {TrayMenuItem::HomePage, "m_HomePage", "Home Page"},
    {TrayMenuItem::S2, "m_S2", "-"},
    {TrayMenuItem::Exit, "m_Exit", "Exit"},
}};
// The caption of FormMenu's window and of the menu entry that holds the items.
inline constexpr std::string_view kFormMenuCaption = kProgramName;
inline constexpr std::string_view kTrayMenuEntryCaption = "m_Menu";

// The caption of `item`. The window's page items carry the captions of their
// menu items.
constexpr std::string_view TrayCaption(TrayMenuItem item) {
    for (const auto& entry : kTrayMenuItems) {
        if (entry.item == item)
            return entry.caption;
    }
    return {};
}

constexpr bool IsSeparator(const TrayMenuItemSpec& entry) {
    return entry.caption == "-";
}
// The page a page item selects, or nothing for the other items.
std::optional<TrayPage> PageOfItem(TrayMenuItem item);

// FormMenu's window on the platform.
class TrayMenuWindow {
  public:
    virtual ~TrayMenuWindow() = default;
    // Creates the window and its menu when they do not exist yet.
    virtual void Load() = 0;
    virtual bool Shown() = 0;
    virtual void SetForeground() = 0;
    // Pops the menu up at the cursor; a chosen item comes back, later, as
    // FormMenu::m_Click.
    virtual void PopupAtCursor() = 0;
    // Destroys the window and its menu; nothing when not loaded.
    virtual void Unload() = 0;
};

// The user's browser.
class WebPages {
  public:
    virtual ~WebPages() = default;
    virtual void Open(const std::string& url) = 0;
};

// The program's end, in this order: delete the notification icon, restore
// the main window's previous procedure, unload FormMenu, the CPU-limit dialog
// and last the main window, whose end ends the message loop. It runs once:
// a second request (the session ending while Exit runs) finds it done.
class ProgramShutdown {
  public:
    struct Steps {
        std::function<void()> delete_tray_icon;
        std::function<void()> remove_window_hook;
        std::function<void()> unload_form_menu;
        std::function<void()> unload_cpu_limit_dialog;
        std::function<void()> unload_main_window;
        // Runs first: closes an open menu and the program's modal boxes.
        std::function<void()> end_modal_loops;
    };

    explicit ProgramShutdown(Steps steps);
    void Run();
    bool HasRun() const { return has_run_; }

  private:
    Steps steps_;
    bool has_run_ = false;
};

class FormMenu {
  public:
    // `show_main_window` shows the main window (modeless) as it was.
    FormMenu(TrayMainWindow& form, std::function<void()> show_main_window, TrayMenuWindow& window,
             WebPages& web, ProgramShutdown& shutdown);

    bool Shown() { return window_.Shown(); }
    // The hook's menu action: FormMenu's window to the front, then the menu.
    void ShowPopup();
    // A chosen item.
    void m_Click(TrayMenuItem item);

  private:
    TrayMainWindow& form_;
    std::function<void()> show_main_window_;
    TrayMenuWindow& window_;
    WebPages& web_;
    ProgramShutdown& shutdown_;
};

}  // namespace vellumar
