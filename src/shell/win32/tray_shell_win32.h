#pragma once
// The desktop integration of the running program, put together: the frame
// icons, the notification area, ModuleTrayIcon with the main window's
// animation timer, the hook on the main window, FormMenu with its window,
// and the shutdown that Exit and the end of the session run.
//
// The program creates one TrayShell after its main window, runs
// RegisterTaskbarCreated, InstallWindowHook and AddTrayIcon in that order as
// it starts, and Shutdown as it stops (which does nothing when Exit ran it).

#include <windows.h>

#include <functional>

#include "shell/tray_icon.h"
#include "shell/tray_main_window.h"
#include "shell/tray_menu.h"
#include "shell/win32/tray_icon_win32.h"
#include "shell/win32/tray_menu_win32.h"
#include "shell/win32/window_hook_win32.h"
#include "shell/window_hook.h"

namespace vellumar::win32 {

class TrayShell {
  public:
    // `main_window` gives the main window's handle, null once it is gone;
    // the shutdown runs `unload_cpu_limit_dialog` before it ends the main
    // window.
    TrayShell(TrayMainWindow& form, std::function<HWND()> main_window,
              std::function<void()> unload_cpu_limit_dialog);
    TrayShell(const TrayShell&) = delete;
    TrayShell& operator=(const TrayShell&) = delete;

    // The startup steps of the desktop integration.
    void RegisterTaskbarCreated();
    void InstallWindowHook() { window_hook_.Install(main_window_()); }
    void AddTrayIcon() { tray_icon_.AddTrayIcon(); }
    void Shutdown() { shutdown_.Run(); }
    // Whether FormMenu's window is on screen.
    bool MenuShown() { return form_menu_.Shown(); }
    // Another form whose visibility closes the icon's gate while it shows.
    void AddGateForm(std::function<bool()> shown) { hook_.AddGateForm(std::move(shown)); }

  private:
    void ShowMainWindow();

    TrayMainWindow& form_;
    std::function<HWND()> main_window_;
    std::function<void()> unload_cpu_limit_dialog_;
    TrayFrameIconSet frame_icons_;
    ShellNotificationArea notification_area_;
    ModuleTrayIcon tray_icon_;
    TrayMenuForm menu_window_;
    ShellWebPages web_pages_;
    ModuleSubClass hook_;
    Win32WindowHook window_hook_;
    ProgramShutdown shutdown_;
    FormMenu form_menu_;
};

}  // namespace vellumar::win32
