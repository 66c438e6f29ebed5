#pragma once
// ModuleSubClass: the message hook on the main window. Installed as the
// last startup steps but one (the message id of "TaskbarCreated" first, then
// the hook, then the icon), it sees every message of the main window before
// the window's own procedure and acts on three:
//   - the icon's double click with the left button (callback message 2025,
//     lParam WM_LBUTTONDBLCLK): shows the main window and restores it;
//   - the icon's right button press (2025, WM_RBUTTONDOWN): opens the tray
//     menu (shell/tray_menu.h);
//   - the shell's "TaskbarCreated" broadcast: adds the icon again.
// Each of them returns 0 and goes no further. The two icon actions run only
// while no form of the program is shown (the tray menu's window, the main
// window, the CPU-limit dialog); otherwise the notification is swallowed.
// Every other message goes on, unchanged, to the previous procedure.
//
// The Win32 layer (shell/win32/window_hook_win32.h) installs the hook with
// the pointer-sized window-procedure call and restores the previous
// procedure at shutdown; this class holds the decisions, so they are tested
// without a window.

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace vellumar {

// lParam values of the icon's callback message that the hook acts on.
inline constexpr std::intptr_t kTrayLeftDoubleClick = 0x203;  // WM_LBUTTONDBLCLK
inline constexpr std::intptr_t kTrayRightButtonDown = 0x204;  // WM_RBUTTONDOWN

enum class HookDecision {
    PassOn,       // to the previous window procedure, unchanged
    Restore,      // restore action, result 0
    OpenMenu,     // menu action, result 0
    AddTrayIcon,  // re-add the icon, result 0
    Swallow,      // an icon action while a form is shown: nothing, result 0
};

// The decision table. `taskbar_created` is the registered message id (0 when
// registering failed, which then matches no message); `any_form_shown` is
// asked only for the two icon actions.
HookDecision DecideHook(unsigned message, std::intptr_t lparam, unsigned taskbar_created,
                        const std::function<bool()>& any_form_shown);

// What the hook's actions do; the program wires them to the main window, the
// tray menu and the icon.
struct HookActions {
    std::function<void()> restore;
    std::function<void()> open_menu;
    std::function<void()> add_tray_icon;
};

class ModuleSubClass {
  public:
    explicit ModuleSubClass(HookActions actions);

    // MsgTaskbarCreated, from RegisterWindowMessage("TaskbarCreated").
    void SetTaskbarCreatedMessage(unsigned id) { msg_taskbar_created_ = id; }
    unsigned MsgTaskbarCreated() const { return msg_taskbar_created_; }
    // A form whose visibility closes the icon's gate while it is shown.
    void AddGateForm(std::function<bool()> shown);
    bool AnyGateFormShown() const;

    // The hook for one message: the result to return when the hook handled
    // it, or nothing when the message goes on to the previous procedure.
    std::optional<std::intptr_t> WindowProc(unsigned message, std::uintptr_t wparam,
                                            std::intptr_t lparam);

  private:
    HookActions actions_;
    unsigned msg_taskbar_created_ = 0;
    std::vector<std::function<bool()>> gate_forms_;
};

}  // namespace vellumar
