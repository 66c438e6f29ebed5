#pragma once
// The program's start, in order:
//   1. the settings read buffer is prepared (SettingsFile reads into its own);
//   2. single instance: a second instance shows kAlreadyRunningMessage and
//      ends before any window or icon exists (ClaimSingleInstance);
//   3.-15. LoadMainWindow: centre the window, enable the debug privilege,
//      hide the advertisement line, set the tray frame to 1, lay out the
//      chrome with the State page selected, fill the two lists, read and
//      apply the seven settings, run one tick of TimerProcess, then the steps
//      of the other subsystems (CPU-limit slots, process list, taskbar
//      message, window hook, tray icon) through StartupHooks, in that order.
// Afterwards the window is shown unless the Automin setting hid it, and
// everything else is timer ticks and user events on the GUI thread.

#include <functional>
#include <string_view>

#include "app/main_window.h"
#include "platform/session.h"

namespace vellumar {

inline constexpr std::string_view kAlreadyRunningMessage =
    "Vellumar\xE5\xB7\xB2\xE7\xBB\x8F\xE8\xBF\x90\xE8\xA1\x8C\xEF\xBC\x8C\xE8\xAF\xB7\xE5\x8B\xBF"
    "\xE9\x87\x8D\xE5\xA4\x8D\xE5\x8A\xA0\xE8\xBD\xBD\xE3\x80\x82";  // "Vellumar已经运行，请勿重复加载。"

// False when another instance runs: the message has been shown and closed,
// and the caller ends the process without creating anything.
bool ClaimSingleInstance(InstanceLock& lock, MessageBoxes& boxes);

// Startup steps that belong to other subsystems, run in this order after the
// first TimerProcess tick. An empty hook is skipped.
struct StartupHooks {
    std::function<void()> reset_process_limits;
    std::function<void()> refresh_process_list;
    std::function<void()> register_taskbar_created;
    std::function<void()> install_window_hook;
    std::function<void()> add_tray_icon;
};

void LoadMainWindow(MainWindow& form, Privileges& privileges, const StartupHooks& hooks);

}  // namespace vellumar
