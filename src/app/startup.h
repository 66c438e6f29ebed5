#pragma once
// The first steps of the program's start: the single-instance check, before
// anything is created, and the load of the main window. What follows them
// is listed in app/program_lifecycle.h.

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

// Centres the window, enables the debug privilege, hides the advertisement
// line, sets the tray frame to 1, lays out the chrome with the State page
// selected, fills the two lists, reads and applies the seven settings and
// runs one tick of TimerProcess, in that order.
void LoadMainWindow(MainWindow& form, Privileges& privileges);

}  // namespace vellumar
